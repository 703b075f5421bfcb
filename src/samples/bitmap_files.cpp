#include "samples/bitmap_files.h"

#include <algorithm>

namespace quendra::samples {

namespace {

void put(ByteVector& file, std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

ByteVector zeros(std::size_t length, std::uint16_t loadAddress) {
    ByteVector f(length, 0);
    f[0] = static_cast<std::uint8_t>(loadAddress & 0xFF);
    f[1] = static_cast<std::uint8_t>(loadAddress >> 8);
    return f;
}

} // namespace

ByteVector makeCellFile(const C64Format& format, const CellPicture& p, std::size_t length,
                        std::uint16_t loadAddress) {
    const CellLayout& layout = format.cells;
    ByteVector f = zeros(length != 0 ? length : layout.lengths[0],
                         loadAddress != 0 ? loadAddress : format.loadAddresses[0]);
    put(f, layout.bitmap, p.bitmap);
    if (layout.screen != kAbsent)
        put(f, layout.screen, p.screen);
    if (layout.colour != kAbsent && layout.oneColour)
        f[layout.colour] = p.colour[0];
    else if (layout.colour != kAbsent)
        put(f, layout.colour, p.colour);
    if (layout.background != kAbsent)
        f[layout.background] = p.background;
    return f;
}

ByteVector makeMulticolourFile(const CellPicture& p, LayoutName format, std::size_t length) {
    return makeCellFile(formatRow(format), p, length);
}

ByteVector makeMulticolourFile(const CellPicture& p, const MulticolourLayout& layout,
                               std::size_t length) {
    ByteVector f = zeros(length != 0 ? length : layout.length, layout.loadAddress);
    put(f, layout.bitmap, p.bitmap);
    put(f, layout.screen, p.screen);
    put(f, layout.colour, p.colour);
    if (layout.background != kNoBackground)
        f[layout.background] = p.background;
    return f;
}

ByteVector makePaintMagic(const CellPicture& p) {
    ByteVector f = makeCellFile(formatRow(FormatId::paintMagic), p);
    // The BASIC line "2001 SYS 2070" that starts the viewer, as real files hold it.
    put(f, 2,
        std::array<std::uint8_t, 12>{0x14, 0x08, 0xD1, 0x07, 0x9E, '2', '0', '7', '0', 0, 0, 0});
    return f;
}

ByteVector makeArtStudioHiresLayout(const CellPicture& p, std::size_t length,
                                    std::uint16_t loadAddress) {
    return makeCellFile(formatRow(FormatId::artStudioHires), p, length, loadAddress);
}

ByteVector makeHiEddi(const CellPicture& p) {
    return makeCellFile(formatRow(FormatId::hiEddi), p);
}

ByteVector makeImageSystemHires(const CellPicture& p) {
    return makeCellFile(formatRow(FormatId::imageSystemHires), p);
}

ByteVector makeHiresBitmap(const CellPicture& p, std::size_t length, std::uint16_t loadAddress) {
    return makeCellFile(formatRow(FormatId::hiresBitmap), p, length, loadAddress);
}

HiresFliPicture hiresFliPattern(unsigned seed) {
    HiresFliPicture p;
    const CellPicture cells = testPattern(seed);
    p.bitmap = cells.bitmap;
    for (unsigned k = 0; k < 8; ++k) {
        for (unsigned n = 0; n < 1000; ++n) {
            const unsigned on = (n + k + seed) % 16, off = (n / 40 + 3 * k + 5) % 16;
            p.screens[k][n] = static_cast<std::uint8_t>(on << 4 | (on == off ? off ^ 8 : off));
        }
    }
    return p;
}

ByteVector packHiresManager(std::span<const std::uint8_t> data) {
    // Tokens in reading order, from the data's end to its start; stored the other way round.
    ByteVector tokens;
    ByteVector literals;
    const auto flush = [&] {
        if (literals.empty())
            return;
        tokens.push_back(static_cast<std::uint8_t>(literals.size() + 1));
        tokens.insert(tokens.end(), literals.begin(), literals.end());
        literals.clear();
    };
    std::size_t i = data.size();
    while (i > 0) {
        const std::uint8_t v = data[i - 1];
        std::size_t run = 1;
        while (run < i && run < 255 && data[i - 1 - run] == v)
            ++run;
        if (run >= 3) {
            flush();
            tokens.insert(tokens.end(), {0, static_cast<std::uint8_t>(run), v});
            i -= run;
        } else {
            literals.push_back(v);
            if (literals.size() == 254)
                flush();
            --i;
        }
    }
    flush();
    return ByteVector(tokens.rbegin(), tokens.rend());
}

ByteVector makeHiresManager(const HiresFliPicture& p, bool packed) {
    ByteVector image = zeros(16385, 0x4000);
    put(image, 2, p.bitmap);
    for (std::size_t k = 0; k < 8; ++k)
        put(image, 8194 + 1024 * k, p.screens[k]);
    image[3] = 0xFF;
    if (!packed)
        return image;
    const ByteVector data = packHiresManager(std::span(image).subspan(322, 16371 - 322 + 1));
    ByteVector f = zeros(18, 0x4000);
    const std::size_t word = 16381 + 18 + data.size();
    f[2] = static_cast<std::uint8_t>(word & 0xFF);
    f[3] = static_cast<std::uint8_t>(word >> 8);
    f[4] = 0xF2;
    f[5] = 0x7F;
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

} // namespace quendra::samples
