// A file far larger than any picture reaches a reader as the first bytes up to its read
// limit; the rejection names the file's own size, not the limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/formats.h"

namespace quendra {
namespace {

TEST(ReportedSize, ARejectionForSizeNamesTheFilesSizeWhereKnown) {
    constexpr std::uint64_t kTwoGigabytes = std::uint64_t{1} << 31;
    for (const ReaderInfo& reader : readerTable()) {
        if (reader.kind == ReaderKind::Godot || reader.kind == ReaderKind::Printfox ||
            reader.kind == ReaderKind::FunPainter) {
            continue; // these take files of any length
        }
        const std::vector<std::uint8_t> prefix(reader.readLimit, 0);
        const Decoded known = reader.decode(prefix, {.fileSize = kTwoGigabytes});
        EXPECT_FALSE(known.accepted) << reader.method;
        EXPECT_TRUE(known.reason.ends_with(" has 2147483648")) << known.reason;
        const Decoded unknown = reader.decode(prefix, {});
        EXPECT_TRUE(unknown.reason.ends_with(" has " + std::to_string(reader.readLimit)))
            << unknown.reason;
    }
}

} // namespace
} // namespace quendra
