#include "export/pc_image_reader.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>

#include <gif_lib.h>
#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace quendra {

namespace {

bool tooLarge(std::uint64_t width, std::uint64_t height, std::uint64_t maxPixels) {
    return width == 0 || height == 0 || width * height > maxPixels || width > 65535 ||
           height > 65535;
}

// The bound named: "64 megapixels" for the usual one.
std::string sizeProblem(std::uint64_t width, std::uint64_t height, std::uint64_t maxPixels) {
    const std::string size =
        "a picture of " + std::to_string(width) + " × " + std::to_string(height) + " pixels";
    if (width * height <= maxPixels)
        return size + " is wider or taller than the 65535 pixels this program reads";
    return size + " is more than the " + pixelBoundText(maxPixels) + " this program reads";
}

std::string readPng(std::span<const std::uint8_t> bytes, Image& out, std::uint64_t maxPixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return std::string("not a readable PNG file: ") + image.message;
    if (tooLarge(image.width, image.height, maxPixels)) {
        png_image_free(&image);
        return sizeProblem(image.width, image.height, maxPixels);
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

// giflib's words for an error; a read that found no more bytes is a file cut short. Some
// failures set no error, and GifErrorString has no words for that.
std::string gifProblem(int error) {
    if (error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON)
        return "not a readable GIF file: the data ends before the picture is complete";
    const char* words = GifErrorString(error);
    return std::string("not a readable GIF file: ") + (words ? words : "its data is damaged");
}

// The first frame only, read line by line into the logical screen: the frames after it
// (an animation) are never decoded.
std::string readGif(std::span<const std::uint8_t> bytes, Image& out, std::uint64_t maxPixels) {
    GifSource source{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readGifBytes, &error);
    if (!gif)
        return gifProblem(error);
    struct Closer {
        GifFileType* gif;
        ~Closer() { DGifCloseFile(gif, nullptr); }
    } closer{gif};
    if (gif->SWidth == 0 || gif->SHeight == 0) {
        return "not a readable GIF file: its screen is " + std::to_string(gif->SWidth) + " × " +
               std::to_string(gif->SHeight) + " pixels";
    }
    if (tooLarge(gif->SWidth, gif->SHeight, maxPixels))
        return sizeProblem(gif->SWidth, gif->SHeight, maxPixels);
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) != GIF_OK)
            return gifProblem(gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            return "not a readable GIF file: it holds no picture";
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK)
                return gifProblem(gif->Error);
            // The graphics control block before the frame names its transparent colour.
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                DGifExtensionToGCB(block[0], block + 1, &control);
            while (block) {
                if (DGifGetExtensionNext(gif, &block) != GIF_OK)
                    return gifProblem(gif->Error);
            }
            continue;
        }
        if (record == IMAGE_DESC_RECORD_TYPE)
            break;
    }
    if (DGifGetImageDesc(gif) != GIF_OK)
        return gifProblem(gif->Error);
    const GifImageDesc& d = gif->Image;
    if (d.Width <= 0 || d.Height <= 0) {
        return "not a readable GIF file: its first frame is " + std::to_string(d.Width) + " × " +
               std::to_string(d.Height) + " pixels";
    }
    if (tooLarge(d.Width, d.Height, maxPixels))
        return sizeProblem(d.Width, d.Height, maxPixels);
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map)
        return "not a readable GIF file: it has no colour table";
    out.resize(gif->SWidth, gif->SHeight); // black where the frame does not reach
    std::vector<GifPixelType> line(static_cast<std::size_t>(d.Width));
    // An interlaced frame's lines come in four passes: every 8th from 0, from 4, every 4th
    // from 2, every 2nd from 1.
    constexpr int kPassStart[] = {0, 4, 2, 1}, kPassStep[] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int first = d.Interlace ? kPassStart[pass] : 0,
                  step = d.Interlace ? kPassStep[pass] : 1;
        for (int y = first; y < d.Height; y += step) {
            if (DGifGetLine(gif, line.data(), d.Width) != GIF_OK)
                return gifProblem(gif->Error);
            const int ty = d.Top + y;
            if (ty >= gif->SHeight)
                continue;
            for (int x = 0; x < d.Width && d.Left + x < gif->SWidth; ++x) {
                const int index = line[static_cast<std::size_t>(x)];
                if (index == control.TransparentColor || index >= map->ColorCount)
                    continue;
                const GifColorType c = map->Colors[index];
                out.setPixel(d.Left + x, ty, {c.Red, c.Green, c.Blue});
            }
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

std::string readBmp(std::span<const std::uint8_t> b, Image& out, std::uint64_t maxPixels) {
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
    if (width <= 0 ||
        tooLarge(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(rows), maxPixels))
        return width <= 0 ? bad + "no pixels" : sizeProblem(width, rows, maxPixels);
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

// libjpeg's errors end the read by a jump back into readJpeg, with the words in `message`.
// Its warnings pass, except the one that the data ended before the picture was complete
// (libjpeg would draw the rest grey), and its progress calls count the scans.
struct JpegErrors {
    jpeg_error_mgr pub{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    std::string reason;    // ours, when it is not libjpeg's
    bool complete = false; // every pixel line has been read
};

[[noreturn]] void onJpegError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void onJpegMessage(j_common_ptr cinfo, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF && !errors->complete) {
        errors->reason = "the data ends before the picture is complete";
        std::longjmp(errors->jump, 1);
    }
}

void onJpegProgress(j_common_ptr cinfo) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kJpegMaxScans) {
        auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
        errors->reason = "it has more than " + std::to_string(kJpegMaxScans) +
                         " scans, more than a real picture has";
        std::longjmp(errors->jump, 1);
    }
}

// A CMYK pixel as RGB, by the inks' share of white. Adobe's programs (which write the
// Adobe marker) store the inks inverted.
Rgb cmykToRgb(const std::uint8_t* cmyk, bool inverted) {
    auto white = [&](int i) { return inverted ? cmyk[i] : 255 - cmyk[i]; };
    const int k = white(3);
    return {static_cast<std::uint8_t>((white(0) * k + 127) / 255),
            static_cast<std::uint8_t>((white(1) * k + 127) / 255),
            static_cast<std::uint8_t>((white(2) * k + 127) / 255)};
}

std::string readJpeg(std::span<const std::uint8_t> bytes, Image& out, std::uint64_t maxPixels) {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = onJpegError;
    errors.pub.emit_message = onJpegMessage;
    errors.progress.progress_monitor = onJpegProgress;
    std::vector<std::uint8_t> line;
    if (setjmp(errors.jump)) {
        std::string why = errors.reason.empty() ? std::string(errors.message) : errors.reason;
        if (errors.pub.msg_code == JERR_NO_BACKING_STORE && errors.reason.empty()) {
            why = "a picture of " + std::to_string(cinfo.image_width) + " × " +
                  std::to_string(cinfo.image_height) + " pixels in this form needs more than " +
                  std::to_string(kJpegWorkingMemory >> 20) + " MB to read";
        }
        jpeg_destroy_decompress(&cinfo);
        return "not a readable JPEG file: " + why;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &errors.progress;
    // A progressive picture is held whole as coefficients while its scans come in.
    cinfo.mem->max_memory_to_use = static_cast<long>(kJpegWorkingMemory);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (tooLarge(cinfo.image_width, cinfo.image_height, maxPixels)) {
        const std::string why = sizeProblem(cinfo.image_width, cinfo.image_height, maxPixels);
        jpeg_destroy_decompress(&cinfo);
        return why;
    }
    // libjpeg turns CMYK (and YCCK into CMYK) but not into RGB: that is done here.
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    // Line by line through `line`; the picture is made once its first line has come, so
    // that a header of a huge picture with no data behind it costs no picture.
    line.resize(static_cast<std::size_t>(cinfo.output_components) * cinfo.output_width);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW row = line.data();
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (y == 0)
            out.resize(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
        if (!cmyk) {
            std::memcpy(out.data() + y * out.bytesPerLine(), line.data(), out.bytesPerLine());
            continue;
        }
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y,
                         cmykToRgb(&line[4 * static_cast<std::size_t>(x)], cinfo.saw_Adobe_marker));
    }
    // A file whose pixels are all there but whose end marker is missing is read.
    errors.complete = true;
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return {};
}

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() &&
           std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

} // namespace

std::string pixelBoundText(std::uint64_t maxPixels) {
    if (maxPixels >= (1u << 20) && maxPixels % (1u << 20) == 0)
        return std::to_string(maxPixels >> 20) + " megapixels";
    return std::to_string(maxPixels) + " pixels";
}

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

std::string readPcPicture(std::span<const std::uint8_t> bytes, Image& out,
                          std::uint64_t maxPixels) {
    maxPixels = std::min(maxPixels, kPcPictureMaxPixels);
    if (startsWith(bytes, "\x89PNG"))
        return readPng(bytes, out, maxPixels);
    if (startsWith(bytes, "GIF8"))
        return readGif(bytes, out, maxPixels);
    if (startsWith(bytes, "BM"))
        return readBmp(bytes, out, maxPixels);
    if (startsWith(bytes, "\xFF\xD8\xFF"))
        return readJpeg(bytes, out, maxPixels);
    return "not a PNG, GIF, BMP or JPEG file";
}

} // namespace quendra
