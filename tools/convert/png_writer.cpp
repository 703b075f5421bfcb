#include "convert/png_writer.h"

#include <png.h>

#include <array>
#include <csetjmp>

#include "components/image_pixels.h"

namespace quendra::convert {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// The colours the picture uses, each once, in palette order; and where each index went.
struct Compacted {
    std::vector<png_color> palette;
    std::array<std::uint8_t, 256> slot{};
};

Compacted compact(const IndexedImage& picture) {
    std::array<bool, 256> used{};
    for (std::uint8_t i : picture.indices())
        used[i] = true;
    Compacted c;
    const auto& colours = picture.palette();
    for (int i = 0; i < 256; ++i) {
        if (!used[i])
            continue;
        // An index beyond the palette draws black, as everywhere else.
        const Rgb rgb = i < static_cast<int>(colours.size()) ? colours[i] : Rgb{};
        std::size_t k = 0;
        while (k < c.palette.size() && !(c.palette[k].red == rgb.r && c.palette[k].green == rgb.g &&
                                         c.palette[k].blue == rgb.b)) {
            ++k;
        }
        if (k == c.palette.size())
            c.palette.push_back({rgb.r, rgb.g, rgb.b});
        c.slot[i] = static_cast<std::uint8_t>(k);
    }
    if (c.palette.empty())
        c.palette.push_back({0, 0, 0}); // an empty picture
    return c;
}

} // namespace

std::vector<std::uint8_t> encodePng(const IndexedImage& picture, const PngSettings& settings) {
    const Compacted c = compact(picture);
    const int bits = settings.fewestBits ? imagelib::detail::bitsForColours(c.palette.size()) : 8;
    const int w = picture.width(), h = picture.height();
    const std::size_t rowBytes = (static_cast<std::size_t>(w) * bits + 7) / 8;
    std::vector<std::uint8_t> packed(rowBytes * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = picture.row(y);
        std::uint8_t* out = packed.data() + rowBytes * static_cast<std::size_t>(y);
        if (bits == 8) {
            for (int x = 0; x < w; ++x)
                out[x] = c.slot[in[x]];
        } else if (bits == 4) { // the usual case: 16 colours
            int x = 0;
            for (; x + 1 < w; x += 2)
                out[x / 2] = static_cast<std::uint8_t>(c.slot[in[x]] << 4 | c.slot[in[x + 1]]);
            if (x < w)
                out[x / 2] = static_cast<std::uint8_t>(c.slot[in[x]] << 4);
        } else {
            const int perByte = 8 / bits;
            for (int x = 0; x < w; ++x) {
                out[x / perByte] |=
                    static_cast<std::uint8_t>(c.slot[in[x]] << (8 - bits * (x % perByte + 1)));
            }
        }
    }

    std::vector<std::uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[static_cast<std::size_t>(y)] = packed.data() + rowBytes * y;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &file, appendBytes, noFlush);
    png_set_compression_level(png, settings.compressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE,
                   settings.filterRows ? PNG_ALL_FILTERS : PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), bits,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_set_PLTE(png, info, c.palette.data(), static_cast<int>(c.palette.size()));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

} // namespace quendra::convert
