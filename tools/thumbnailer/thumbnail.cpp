#include "thumbnailer/thumbnail.h"

#include <png.h>
#include <sys/stat.h>

#include <csetjmp>

#include "decode/printable_name.h"
#include "export/atomic_write.h"

namespace quendra::thumbnail {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// The temporaries of thumbnail writes: "<output>.tmp-<process>-<count>" for the extension
// the output has (lower case; a thumbnail service names it .png).
void clearLeftovers(const std::filesystem::path& output) {
    std::string extension = output.extension().string();
    if (extension.size() < 2)
        return;
    extension.erase(0, 1);
    const std::string_view extensions[] = {extension};
    removeStaleTemporaries(output.has_parent_path() ? output.parent_path() : ".", extensions);
}

} // namespace

std::vector<std::uint8_t> encodeRgbPng(const Image& image) {
    std::vector<std::uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        rows[static_cast<std::size_t>(y)] =
            const_cast<png_bytep>(image.data() + image.bytesPerLine() * y);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &file, appendBytes, noFlush);
    // Thumbnails are small and made while a folder is shown: fast compression, and the one
    // filter that suits pictures of few colours in runs.
    png_set_compression_level(png, 3);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

Result writeThumbnail(const std::filesystem::path& input, const std::filesystem::path& output,
                      int maxSide, const C64Colours& colours) {
    // The same file under another name or through a link is still the picture itself.
    struct stat in {
    }, out{};
    if (::stat(input.c_str(), &in) == 0 && ::stat(output.c_str(), &out) == 0 &&
        out.st_dev == in.st_dev && out.st_ino == in.st_ino)
        return {false, "the output would replace the input file"};
    Made made = makeThumbnail(input, maxSide, colours);
    if (made.image.empty())
        return {false, std::move(made.error)};
    const Image& thumbnail = made.image;
    const std::vector<std::uint8_t> png = encodeRgbPng(thumbnail);
    if (png.empty())
        return {false, "the PNG could not be made (out of memory)"};
    clearLeftovers(output);
    // Not flushed to the disk unless it replaces a file: a thumbnail is a cache that the
    // thumbnail service reads back at once and can make again.
    const WriteResult written = writeFileAtomically(output, png, Flush::WhenReplacing);
    if (!written.written)
        return {false, "cannot write " + printableName(output.string()) + ": " + written.error};
    return {true, {}};
}

} // namespace quendra::thumbnail
