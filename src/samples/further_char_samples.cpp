// Sample pictures of the character sets, text screens, sprite sheets and CharPad projects.
#include "decode/character_rom.h"
#include <algorithm>

#include "samples/further_pictures.h"

namespace quendra::samples {

void appendCharSamples(std::vector<FurtherSample>& all) {
    const auto glyphs = standInGlyphs();
    const CellPicture p = testPattern(60);

    ByteVector c64c = zeroFile(1026, 0x2000);
    putBytes(c64c, 2, glyphs);
    all.push_back({"charset-64c.64c", c64c, 256, 32});

    ByteVector g = zeroFile(514, 0x0042);
    putBytes(g, 2, std::span(glyphs).first(512));
    all.push_back({"charset-g.g", g, 256, 16});

    ByteVector zs = zeroFile(1026, 0xF0B0);
    for (std::size_t n = 0; n < 113; ++n)
        putBytes(zs, 3 + 9 * n, std::span(glyphs).subspan(8 * (n % 128), 8));
    all.push_back({"charset-zs.zs", zs, 256, 32});

    // A screen of every code in every colour, codes 128-255 inverted.
    ByteVector pet = zeroFile(2026, 0x0400);
    for (std::size_t n = 0; n < 1000; ++n) {
        pet[2 + n] = static_cast<std::uint8_t>(n);
        pet[1026 + n] = static_cast<std::uint8_t>(1 + n / 40 % 15);
    }
    pet[1003] = 6;
    all.push_back({"petscii-pet.pet", pet, 320, 200});

    ByteVector pdr(2029, 0);
    for (std::size_t n = 0; n < 1000; ++n) {
        pdr[5 + n] = static_cast<std::uint8_t>(n * 7);
        pdr[1029 + n] = static_cast<std::uint8_t>(n % 16);
    }
    pdr[3] = 11;
    all.push_back({"petscii-pdr.pdr", pdr, 320, 200});

    ByteVector pbot(384, 0);
    for (std::size_t n = 0; n < 192; ++n) {
        pbot[n] = static_cast<std::uint8_t>(1 + n % 15);
        pbot[192 + n] = static_cast<std::uint8_t>(n + 64);
    }
    all.push_back({"petscii-pbot.pbot", pbot, 96, 128});

    // Logo Painter: the test pattern's bitmap as its glyphs, every code on the screen.
    ByteVector lp3 = zeroFile(4098, 0x1800);
    for (std::size_t n = 0; n < 2000; ++n)
        lp3[2 + n] = static_cast<std::uint8_t>(n * 3);
    putBytes(lp3, 2050, std::span(p.bitmap).first(2048));
    all.push_back({"logo-lp3.lp3", lp3, 320, 400});

    // SpritePad: 20 sprites, hires and multicolour in turn.
    ByteVector spd{'S', 'P', 'D', 1, 19, 0, 6, 1, 7};
    for (std::size_t n = 0; n < 20; ++n) {
        spd.insert(spd.end(), p.bitmap.begin() + static_cast<std::ptrdiff_t>(63 * n),
                   p.bitmap.begin() + static_cast<std::ptrdiff_t>(63 * n + 63));
        spd.push_back(static_cast<std::uint8_t>((n % 2) << 7 | (2 + n % 14)));
    }
    all.push_back({"sprites-spd.spd", spd, 414, 44});

    ByteVector a = zeroFile(8130, 0x0042);
    putBytes(a, 2, std::span(p.bitmap).first(8128));
    all.push_back({"sprites-a.a", a, 416, 182});

    // CharPad: 16 multicolour characters, 4 tiles of 2 x 2, colour per character, a map of
    // 10 x 6 tiles.
    ByteVector ctm{'C', 'T', 'M', 5, 0, 11, 12, 1, 2, 0b101, 15, 0, 3, 0, 2, 2, 10, 0, 6, 0};
    ctm.insert(ctm.end(), p.bitmap.begin(), p.bitmap.begin() + 128);
    for (int c = 0; c < 16; ++c)
        ctm.push_back(static_cast<std::uint8_t>(c % 8));
    for (int t = 0; t < 4; ++t)
        for (int cell = 0; cell < 4; ++cell)
            ctm.insert(ctm.end(), {static_cast<std::uint8_t>((t * 5 + cell * 3) % 16), 0});
    for (int m = 0; m < 60; ++m)
        ctm.insert(ctm.end(), {static_cast<std::uint8_t>(m * 7 % 4), 0});
    all.push_back({"charpad-ctm.ctm", ctm, 160, 96});
}

} // namespace quendra::samples
