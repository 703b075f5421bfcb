// Placeholder until the GoDot writer's own unit lands; delete this file with it.
#include "export/godot_writer.h"

namespace quendra {
GodotEncoded encodeGodot(const Image&, bool, Progress*) { return {false, "not supported yet", {}}; }
WriteResult writeGodotFile(const std::filesystem::path&, const Image&, bool, Progress*) {
    return {false, "not supported yet"};
}
}  // namespace quendra
