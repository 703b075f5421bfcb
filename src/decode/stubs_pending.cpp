// Readers still being written; each is replaced by its own unit.
#include "decode/readers.h"

namespace quendra {
#define QUENDRA_PENDING(fn, suffix) \
    Decoded fn(Bytes, const DecodeOptions&) { return Decoded::reject(suffix, "not supported yet"); }
QUENDRA_PENDING(decodeKoalaCompressed, " (Koala compressed)")
QUENDRA_PENDING(decodeArtStudio, " (Advanced Art Studio)")
QUENDRA_PENDING(decodeAmica, " (Amica Paint)")
QUENDRA_PENDING(decodeDoodle, " (Doodle HiRes)")
QUENDRA_PENDING(decodeDoodleCompressed, " (Doodle HiRes compressed)")
QUENDRA_PENDING(decodePrintfox, " (Page-/Printfox)")
QUENDRA_PENDING(decodeFunPainter, " (FunPainter 2 / IFLI)")
QUENDRA_PENDING(decodeGodot, " (4Bit GoDot)")
}  // namespace quendra
