// The run-length expander shared by the compressed formats, and the fixtures' compressor.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "decode/rle.h"
#include "samples/c64_files.h"

namespace quendra {
namespace {

using samples::ByteVector;
using samples::compressRuns;

ByteVector expand(const ByteVector& in, std::size_t stop, RunFormat format, std::size_t area = 0) {
    ByteVector out(area ? area : stop + 254, 0);
    out.resize(expandRuns(in, out, stop, format));
    return out;
}

TEST(RunLength, TheTwoByteOrders) {
    EXPECT_EQ(expand({0x01, 0xFE, 0x07, 0x03, 0x02}, 100, kKoalaRuns),
              (ByteVector{0x01, 0x07, 0x07, 0x07, 0x02}));
    EXPECT_EQ(expand({0x01, 0xC2, 0x03, 0x07, 0x02}, 100, kAmicaRuns),
              (ByteVector{0x01, 0x07, 0x07, 0x07, 0x02}));
    // Each format's escape is an ordinary byte to the other.
    EXPECT_EQ(expand({0xC2, 0x03, 0x07}, 100, kKoalaRuns), (ByteVector{0xC2, 0x03, 0x07}));
    EXPECT_EQ(expand({0xFE, 0x07, 0x03}, 100, kAmicaRuns), (ByteVector{0xFE, 0x07, 0x03}));
}

TEST(RunLength, CountZeroWritesNothingAnd255IsTheLongestRun) {
    EXPECT_EQ(expand({0xFE, 0x09, 0x00, 0x05}, 1000, kKoalaRuns), (ByteVector{0x05}));
    EXPECT_EQ(expand({0xFE, 0x09, 0xFF}, 1000, kKoalaRuns), ByteVector(255, 0x09));
    EXPECT_EQ(expand({0xC2, 0x00, 0x09, 0x05}, 1000, kAmicaRuns), (ByteVector{0x05}));
    EXPECT_EQ(expand({0xC2, 0xFF, 0x09}, 1000, kAmicaRuns), ByteVector(255, 0x09));
}

TEST(RunLength, TheLastByteIsAnItemAndACutOffTokenAppendsNothing) {
    EXPECT_EQ(expand({0x01, 0x02}, 100, kKoalaRuns), (ByteVector{0x01, 0x02}));
    EXPECT_EQ(expand({0x01, 0xFE}, 100, kKoalaRuns), (ByteVector{0x01}));
    EXPECT_EQ(expand({0x01, 0xFE, 0x07}, 100, kKoalaRuns), (ByteVector{0x01}));
    EXPECT_EQ(expand({0x01, 0xC2, 0x05}, 100, kAmicaRuns), (ByteVector{0x01}));
    EXPECT_EQ(expand({}, 100, kAmicaRuns), ByteVector{});
}

TEST(RunLength, NoItemStartsOnceStopIsReachedButTheRunCrossingItIsWhole) {
    // Two literals reach the stop of 2: the run after them is not read.
    EXPECT_EQ(expand({0x01, 0x02, 0xFE, 0x07, 0x03}, 2, kKoalaRuns), (ByteVector{0x01, 0x02}));
    // A run that begins below the stop is written whole.
    EXPECT_EQ(expand({0x01, 0xFE, 0x07, 0xFF, 0x09}, 2, kKoalaRuns).size(), 256u);
}

TEST(RunLength, NeverWritesBeyondItsArea) {
    std::array<std::uint8_t, 12> area{};
    const ByteVector in{0xFE, 0x07, 0xFF};
    EXPECT_EQ(expandRuns(in, std::span(area).first(10), 10, kKoalaRuns), 10u);
    EXPECT_EQ(area[9], 0x07);
    EXPECT_EQ(area[10], 0x00);
}

TEST(RunLength, CompressorRoundTripsEveryKindOfData) {
    ByteVector data;
    for (int i = 0; i < 600; ++i)
        data.push_back(0x00); // longer than one run
    for (std::uint8_t v : {0x01, 0x01, 0x01, 0x02, 0x02, 0x03})
        data.push_back(v);
    for (int i = 0; i < 300; ++i)
        data.push_back(0xFE); // escape bytes as data
    for (int i = 0; i < 300; ++i)
        data.push_back(0xC2);
    for (int i = 0; i < 256; ++i)
        data.push_back(static_cast<std::uint8_t>(i));
    data.push_back(0xFE);
    for (RunFormat format : {kKoalaRuns, kAmicaRuns}) {
        const ByteVector packed = compressRuns(data, format);
        EXPECT_LT(packed.size(), data.size());
        EXPECT_EQ(expand(packed, data.size(), format, data.size() + 254), data);
    }
}

} // namespace
} // namespace quendra
