#include "export/gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>

#include "export/used_colours.h"

namespace quendra {

namespace {

int append(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

std::string failure(int error) {
    const char* text = GifErrorString(error);
    return std::string("GIF: ") + (text ? text : "cannot write the picture");
}

} // namespace

std::string encodeGif(const IndexedImage& picture, std::vector<std::uint8_t>& out) {
    UsedColours used;
    findUsedColours(picture.indices(), picture.palette(), used);
    const int bits = std::max(1, GifBitSize(used.count));
    GifColorType colours[256] = {};
    for (int i = 0; i < used.count; ++i)
        colours[i] = {used.colours[i].r, used.colours[i].g, used.colours[i].b};
    ColorMapObject map{};
    map.ColorCount = 1 << bits;
    map.BitsPerPixel = bits;
    map.Colors = colours;

    out.clear();
    int error = 0;
    GifFileType* gif = EGifOpen(&out, append, &error);
    if (!gif)
        return failure(error);
    EGifSetGifVersion(gif, true);
    const int w = picture.width(), h = picture.height();
    // No transparency, no delay: the control block image programs write for a still picture.
    const GifByteType control[4] = {0, 0, 0, 0};
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, &map) == GIF_OK &&
              EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    GifPixelType line[4096];
    std::vector<GifPixelType> wide; // for a picture wider than any the readers draw
    GifPixelType* slots = line;
    if (static_cast<std::size_t>(w) > std::size(line)) {
        wide.resize(static_cast<std::size_t>(w));
        slots = wide.data();
    }
    for (int y = 0; ok && y < h; ++y) {
        const std::uint8_t* in = picture.row(y);
        for (int x = 0; x < w; ++x)
            slots[x] = used.slot[in[x]];
        ok = EGifPutLine(gif, slots, w) == GIF_OK;
    }
    if (!ok)
        error = gif->Error;
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
        ok = false;
        error = closeError;
    }
    if (!ok) {
        out.clear();
        return failure(error);
    }
    return {};
}

} // namespace quendra
