// Placeholders until these readers' own units land; delete this file with them.
#include "decode/readers.h"

namespace quendra {
Decoded decodeKoalaCompressed(Bytes, const DecodeOptions&) { return Decoded::reject(" (Koala compressed)", "not supported yet"); }
Decoded decodeArtStudio(Bytes, const DecodeOptions&) { return Decoded::reject(" (Advanced Art Studio)", "not supported yet"); }
Decoded decodeAmica(Bytes, const DecodeOptions&) { return Decoded::reject(" (Amica Paint)", "not supported yet"); }
Decoded decodeDoodle(Bytes, const DecodeOptions&) { return Decoded::reject(" (Doodle HiRes)", "not supported yet"); }
Decoded decodeDoodleCompressed(Bytes, const DecodeOptions&) { return Decoded::reject(" (Doodle HiRes compressed)", "not supported yet"); }
}  // namespace quendra
