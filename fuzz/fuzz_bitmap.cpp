// The bitmap-family readers beyond Koala, Art Studio and Doodle. The first byte picks the
// reader (its low seven bits) and the palette (its top bit), so one target covers them all;
// every probe sees the same bytes.
#include <cstdlib>

#include "decode/readers.h"
#include "fuzz.h"
#include "samples/bitmap_files.h"

namespace {

struct Reader {
    quendra::Decoded (*decode)(quendra::Bytes, const quendra::DecodeOptions&);
    int (*probe)(quendra::Bytes, std::uint64_t);
};

constexpr Reader kReaders[] = {
    {quendra::decodeArtStudioHires, quendra::probeArtStudioHires},
    {quendra::decodeInterpaintHires, quendra::probeInterpaintHires},
    {quendra::decodeInterpaint, quendra::probeInterpaint},
    {quendra::decodeHiEddi, quendra::probeHiEddi},
    {quendra::decodeImageSystemHires, quendra::probeImageSystemHires},
    {quendra::decodeHiresBitmap, quendra::probeHiresBitmap},
    {quendra::decodeHiresBitmapInverted, quendra::probeHiresBitmapInverted},
    {quendra::decodeKla, quendra::probeKla},
    {quendra::decodeAdvancedArtStudio, quendra::probeAdvancedArtStudio},
    {quendra::decodeBlazingPaddles, quendra::probeBlazingPaddles},
    {quendra::decodeArtist64, quendra::probeArtist64},
    {quendra::decodeVidcom64, quendra::probeVidcom64},
    {quendra::decodeImageSystem, quendra::probeImageSystem},
    {quendra::decodeSaracenPaint, quendra::probeSaracenPaint},
    {quendra::decodePaintMagic, quendra::probePaintMagic},
    {quendra::decodeRainbowPainter, quendra::probeRainbowPainter},
    {quendra::decodeHiresManager, quendra::probeHiresManager},
};
constexpr std::size_t kCount = sizeof(kReaders) / sizeof(kReaders[0]);
constexpr std::size_t kHiresManager = kCount - 1;

// 320 x 200 (Hires Manager 296 x 192) in the 16 C64 colours. The per-pixel look is the
// uninstrumented largestByte(): checked and traced, it cost more than the decoding.
bool wellFormed(const quendra::IndexedImage& picture, bool fli) {
    if (picture.width() != (fli ? 296 : 320) || picture.height() != (fli ? 192 : 200) ||
        picture.palette().size() != 16)
        return false;
    const auto indices = picture.indices();
    return largestByte(indices.data(), indices.size()) < 16;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const quendra::Bytes file(data + 1, size - 1);
    const std::size_t which = (data[0] & 0x7F) % kCount;
    const quendra::Decoded d = kReaders[which].decode(file, {.grey = (data[0] & 0x80) != 0});
    if (d.accepted ? !wellFormed(d.picture, which == kHiresManager) : d.reason.empty())
        std::abort();
    for (const Reader& r : kReaders) {
        const int score = r.probe(file, file.size());
        if (score < 0 || score > 3)
            std::abort();
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    auto add = [&](std::uint8_t reader, const std::vector<std::uint8_t>& file) {
        std::vector<std::uint8_t> s{reader};
        s.insert(s.end(), file.begin(), file.end());
        seeds.push_back(std::move(s));
    };
    using namespace quendra::samples;
    const CellPicture p = testPattern(), q = testPattern(1);
    constexpr std::uint8_t kGrey = 0x80;
    add(0, makeArtStudioHiresLayout(p, 9009, 0x2000));
    add(1 | kGrey, makeArtStudioHiresLayout(q, 9002, 0x4000));
    add(2, makeMulticolourFile(p, kInterpaintLayout));
    add(3, makeHiEddi(p));
    add(4, makeImageSystemHires(q));
    add(5, makeHiresBitmap(p, 8194));
    add(6 | kGrey, makeHiresBitmap(q));
    add(7, makeKoalaCompressed(p));
    add(7, koalaData(q));
    add(8, makeArtStudio(p));
    add(9, makeMulticolourFile(p, kBlazingPaddlesLayout));
    add(10, makeMulticolourFile(q, kArtist64Layout));
    add(11, makeMulticolourFile(p, kVidcom64Layout, 10241));
    add(12, makeMulticolourFile(p, kImageSystemLayout));
    add(13, makeMulticolourFile(q, kSaracenPaintLayout));
    add(14, makePaintMagic(p));
    add(15 | kGrey, makeMulticolourFile(p, kRainbowPainterLayout));
    add(16, makeHiresManager(hiresFliPattern(), false));
    add(16, makeHiresManager(hiresFliPattern(2), true));
    return seeds;
}
