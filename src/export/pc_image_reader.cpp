#include "export/pc_image_reader.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace quendra {

namespace {

bool tooLarge(std::uint64_t width, std::uint64_t height) {
    return width == 0 || height == 0 || width * height > kPcPictureMaxPixels ||
           width > 65535 || height > 65535;
}

std::string sizeProblem(std::uint64_t width, std::uint64_t height) {
    return "a picture of " + std::to_string(width) + " × " + std::to_string(height) +
           " pixels is more than this program reads";
}

std::string readPng(std::span<const std::uint8_t> bytes, Image& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return std::string("not a readable PNG file: ") + image.message;
    if (tooLarge(image.width, image.height)) {
        png_image_free(&image);
        return sizeProblem(image.width, image.height);
    }
    image.format = PNG_FORMAT_RGB; // transparency over black
    out.resize(static_cast<int>(image.width), static_cast<int>(image.height));
    const png_color black{0, 0, 0};
    if (!png_image_finish_read(&image, &black, out.data(), static_cast<png_int_32>(out.bytesPerLine()),
                               nullptr))
        return std::string("not a readable PNG file: ") + image.message;
    return {};
}

struct GifSource {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

int readGifBytes(GifFileType* gif, GifByteType* to, int count) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count),
                                                source->bytes.size() - source->at);
    std::memcpy(to, source->bytes.data() + source->at, n);
    source->at += n;
    return static_cast<int>(n);
}

std::string readGif(std::span<const std::uint8_t> bytes, Image& out) {
    GifSource source{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readGifBytes, &error);
    if (!gif)
        return std::string("not a readable GIF file: ") + GifErrorString(error);
    struct Closer {
        GifFileType* gif;
        ~Closer() { DGifCloseFile(gif, nullptr); }
    } closer{gif};
    if (tooLarge(gif->SWidth, gif->SHeight))
        return sizeProblem(gif->SWidth, gif->SHeight);
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1)
        return std::string("not a readable GIF file: ") + GifErrorString(gif->Error);
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    if (!map)
        return "not a readable GIF file: it has no colour table";
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, 0, &control);
    out.resize(gif->SWidth, gif->SHeight); // black where the frame does not reach
    const GifImageDesc& d = frame.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
        for (int x = 0; x < d.Width; ++x) {
            const int tx = d.Left + x, ty = d.Top + y;
            if (tx < 0 || ty < 0 || tx >= gif->SWidth || ty >= gif->SHeight)
                continue;
            const int index = frame.RasterBits[static_cast<std::size_t>(y) * d.Width + x];
            if (index == control.TransparentColor || index >= map->ColorCount)
                continue;
            const GifColorType c = map->Colors[index];
            out.setPixel(tx, ty, {c.Red, c.Green, c.Blue});
        }
    }
    return {};
}

std::uint32_t little(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b[at + i];
    return v;
}

std::string readBmp(std::span<const std::uint8_t> b, Image& out) {
    const std::string bad = "not a BMP file this program reads: ";
    if (b.size() < 54)
        return bad + "too short";
    const std::uint32_t dataAt = little(b, 10, 4), header = little(b, 14, 4);
    if (header < 40 || 14 + std::uint64_t(header) > b.size())
        return bad + "an old or unknown header";
    const auto width = static_cast<std::int32_t>(little(b, 18, 4));
    const auto height = static_cast<std::int32_t>(little(b, 22, 4));
    const int bits = static_cast<int>(little(b, 28, 2));
    const std::uint32_t compression = little(b, 30, 4);
    if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32)))
        return bad + "compressed pixels";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return bad + std::to_string(bits) + " bits a pixel";
    const std::int64_t rows = height < 0 ? -std::int64_t(height) : height;
    if (width <= 0 || tooLarge(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(rows)))
        return width <= 0 ? bad + "no pixels" : sizeProblem(width, rows);
    const std::uint64_t stride = (std::uint64_t(width) * bits + 31) / 32 * 4;
    if (dataAt + stride * rows > b.size())
        return bad + "the pixels run past the end of the file";
    std::uint32_t colours = little(b, 46, 4);
    if (bits <= 8 && colours == 0)
        colours = 1u << bits;
    const std::size_t paletteAt = 14 + header;
    if (bits <= 8 && paletteAt + 4 * std::uint64_t(colours) > b.size())
        return bad + "the colour table runs past the end of the file";
    out.resize(width, static_cast<int>(rows));
    for (std::int64_t r = 0; r < rows; ++r) {
        const std::size_t line = dataAt + static_cast<std::size_t>(stride * r);
        const int y = static_cast<int>(height < 0 ? r : rows - 1 - r);
        for (int x = 0; x < width; ++x) {
            Rgb c;
            if (bits >= 24) {
                const std::size_t p = line + static_cast<std::size_t>(x) * (bits / 8);
                c = {b[p + 2], b[p + 1], b[p]};
            } else {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const int index = (b[line + bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                if (static_cast<std::uint32_t>(index) < colours) {
                    const std::size_t p = paletteAt + 4 * static_cast<std::size_t>(index);
                    c = {b[p + 2], b[p + 1], b[p]};
                }
            }
            out.setPixel(x, y, c);
        }
    }
    return {};
}

struct JpegErrors {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void onJpegError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void onJpegMessage(j_common_ptr, int) {}

std::string readJpeg(std::span<const std::uint8_t> bytes, Image& out) {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = onJpegError;
    errors.pub.emit_message = onJpegMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return std::string("not a readable JPEG file: ") + errors.message;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (tooLarge(cinfo.image_width, cinfo.image_height)) {
        const std::string why = sizeProblem(cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return why;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.resize(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.data() + cinfo.output_scanline * out.bytesPerLine();
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return {};
}

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() &&
           std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

} // namespace

bool isPcPictureName(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == "png" || extension == "gif" || extension == "bmp" || extension == "jpg" ||
           extension == "jpeg";
}

std::string readPcPicture(std::span<const std::uint8_t> bytes, Image& out) {
    if (startsWith(bytes, "\x89PNG"))
        return readPng(bytes, out);
    if (startsWith(bytes, "GIF8"))
        return readGif(bytes, out);
    if (startsWith(bytes, "BM"))
        return readBmp(bytes, out);
    if (startsWith(bytes, "\xFF\xD8\xFF"))
        return readJpeg(bytes, out);
    return "not a PNG, GIF, BMP or JPEG file";
}

} // namespace quendra
