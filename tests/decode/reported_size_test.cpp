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
    int sizeRejections = 0;
    for (const C64Format& format : c64Formats()) {
        const std::vector<std::uint8_t> prefix(format.readLimit, 0);
        const Decoded unknown = decodeAs(format, prefix, {});
        // Formats that take files of any length reject for other reasons.
        if (!unknown.reason.ends_with(" has " + std::to_string(format.readLimit)))
            continue;
        ++sizeRejections;
        const Decoded known = decodeAs(format, prefix, {.fileSize = kTwoGigabytes});
        EXPECT_FALSE(known.accepted) << format.name;
        EXPECT_TRUE(known.reason.ends_with(" has 2147483648")) << known.reason;
    }
    EXPECT_GE(sizeRejections, 6);
}

// A reader reads its facts from one row (formatRow), so the other rows it reads under other
// extensions must state the same lengths, limits and load addresses.
TEST(RowFacts, RowsOfOneReaderStateTheSameFacts) {
    for (const C64Format& a : c64Formats()) {
        for (const C64Format& b : c64Formats()) {
            if (!a.decode || a.decode != b.decode)
                continue;
            EXPECT_TRUE(a.lengths == b.lengths && a.packed == b.packed &&
                        a.packedUpTo == b.packedUpTo && a.lengthsFrom == b.lengthsFrom &&
                        a.lengthsUpTo == b.lengthsUpTo && a.loadAddresses == b.loadAddresses)
                << a.name << " and " << b.name;
        }
    }
}

} // namespace
} // namespace quendra
