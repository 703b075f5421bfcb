// Sample pictures of the character-mode pictures and of the hires pictures under sprite
// layers: memories filled from the test pattern's bitmap and screen, packed where the
// format packs.
#include <algorithm>

#include "samples/further_pictures.h"

namespace quendra::samples {

namespace {

// `length` bytes after the load address from the test pattern's bitmap and screen, over
// and over.
ByteVector patternFile(std::size_t length, unsigned seed, std::uint16_t loadAddress = 0x4000) {
    const CellPicture p = testPattern(seed);
    ByteVector f = zeroFile(length, loadAddress);
    for (std::size_t i = 2; i < length; ++i) {
        const std::size_t k = (i - 2) % 9000;
        f[i] = k < 8000 ? p.bitmap[k] : p.screen[k - 8000];
    }
    return f;
}

// PGC: runs of three or more as 128 + n and the byte, the rest as groups n < 128 of
// literals.
ByteVector pgcRuns(std::span<const std::uint8_t> data) {
    ByteVector out;
    std::size_t literalsAt = 0;
    auto flush = [&](std::size_t end) {
        while (literalsAt < end) {
            const std::size_t n = std::min<std::size_t>(127, end - literalsAt);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(literalsAt),
                       data.begin() + static_cast<std::ptrdiff_t>(literalsAt + n));
            literalsAt += n;
        }
    };
    for (std::size_t i = 0; i < data.size();) {
        std::size_t run = 1;
        while (i + run < data.size() && run < 127 && data[i + run] == data[i])
            ++run;
        if (run >= 3) {
            flush(i);
            out.insert(out.end(), {static_cast<std::uint8_t>(128 + run), data[i]});
            literalsAt = i + run;
        }
        i += run;
    }
    flush(data.size());
    return out;
}

ByteVector concat(ByteVector head, const ByteVector& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

void appendSpriteSamples(std::vector<FurtherSample>& all) {
    ByteVector cle = patternFile(8194, 80);
    cle[8002] = 0x2A, cle[8003] = 7, cle[8004] = 6;
    all.push_back({"charmode-cle.cle", cle, 320, 200});
    ByteVector ile = patternFile(4098, 81);
    ile[4094] = 0, ile[4095] = 2, ile[4096] = 8, ile[4097] = 7;
    all.push_back({"charmode-ile.ile", ile, 320, 48});
    all.push_back({"charmode-mle.mle", patternFile(4098, 82), 320, 56});

    all.push_back({"super-hires-shs.shs", patternFile(14338, 83), 320, 200});
    all.push_back({"super-hires-sh1.sh1", patternFile(14770, 84), 96, 168});
    ByteVector sh2Image = patternFile(8578, 85);
    sh2Image.erase(sh2Image.begin(), sh2Image.begin() + 2);
    all.push_back({"super-hires-sh2.sh2",
                   concat({0xD3}, escapeRuns(sh2Image, 0xD3, RunCount::zeroIsNothing)), 192, 168});
    all.push_back({"super-hires-she.she", patternFile(3250, 86), 96, 88});

    ByteVector shi = patternFile(15355, 87);
    all.push_back({"super-hires-shi.shi",
                   concat({0x00, 0x40, 0x01}, pgcRuns(std::span(shi).subspan(3, 15352))), 96, 200});
    ByteVector esh = patternFile(20454, 88);
    esh[2] = 0;
    all.push_back({"super-hires-esh.esh", esh, 192, 200});

    ByteVector shxImage = patternFile(9170, 89);
    shxImage.erase(shxImage.begin(), shxImage.begin() + 2);
    ByteVector shx = concat({0x00, 0x40}, escapeRuns(shxImage, 0x77, RunCount::zeroIs256, true));
    shx.push_back(0x77);
    all.push_back({"super-hires-shx.shx", shx, 144, 168});

    // XFL: escape byte 2, the image read backwards: screens, bitmap, sprites among them.
    ByteVector xflImage = patternFile(16194, 59);
    xflImage.erase(xflImage.begin(), xflImage.begin() + 2);
    all.push_back(
        {"xfl-xfl.xfl",
         concat({0x00, 0x20, 0xA7}, escapeRuns(xflImage, 0xA7, RunCount::zeroIs256, true)), 192,
         167});

    all.push_back({"super-hires-shf-unpacked.shf", patternFile(15874, 94), 208, 167});
    ByteVector shfImage = patternFile(8172, 90);
    shfImage.erase(shfImage.begin(), shfImage.begin() + 2);
    all.push_back({"super-hires-shf.shf",
                   concat({0x00, 0x40, 0x66}, escapeRuns(shfImage, 0x66, RunCount::zeroIs256)), 96,
                   167});

    // .sif: two frames, each its word (37890 + n), escape and backward data, then 4 colours.
    ByteVector sif;
    for (unsigned f = 0; f < 2; ++f) {
        ByteVector image = patternFile(8178, 91 + f);
        image.erase(image.begin(), image.begin() + 2);
        const ByteVector data = escapeRuns(image, 0x55, RunCount::zeroIs256, true);
        const std::size_t word = 37890 + 1 + data.size();
        sif.insert(sif.end(), {static_cast<std::uint8_t>(word & 0xFF),
                               static_cast<std::uint8_t>(word >> 8), 0x55});
        sif.insert(sif.end(), data.begin(), data.end());
    }
    sif.insert(sif.end(), {2, 7, 5, 14});
    all.push_back({"super-hires-sif.sif", sif, 96, 167});
    all.push_back({"super-hires-interlace-ish.ish", patternFile(30738, 93), 320, 200});
}

} // namespace quendra::samples
