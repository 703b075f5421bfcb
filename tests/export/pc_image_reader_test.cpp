// The PC pictures read for the C64 writers: damaged and hostile files are refused with a
// reason (never a crash, nor a picture made up of what the file lacks), an animation gives
// its first frame, CMYK JPEGs are turned into RGB.
#include <gtest/gtest.h>

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "export/gif_encoder.h"
#include "export/pc_image_reader.h"
#include "export/png_encoder.h"

namespace quendra {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A picture of two colours in vertical stripes.
IndexedImage stripes(int width, int height) {
    IndexedImage picture(width, height);
    const Rgb colours[] = {{0, 0, 0}, {255, 255, 255}};
    picture.setPalette(colours);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setIndex(x, y, static_cast<std::uint8_t>(x / 4 % 2));
    }
    return picture;
}

// A JPEG of `width` x `height` pixels, each `components` bytes of `pixel`; `setUp` may
// change the compressor's settings after the defaults.
Bytes jpeg(int width, int height, J_COLOR_SPACE space, int components, Bytes pixel,
           const std::function<void(jpeg_compress_struct&)>& setUp = {}) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &data, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (setUp)
        setUp(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    Bytes line;
    for (int x = 0; x < width; ++x)
        line.insert(line.end(), pixel.begin(), pixel.end());
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(data, data + size);
    std::free(data);
    return out;
}

// The offset of a JPEG's first marker `code` (0xFF code), or the end.
std::size_t markerAt(const Bytes& file, std::uint8_t code) {
    for (std::size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == code)
            return i;
    }
    return file.size();
}

// A grey progressive JPEG of 127 scans, each valid: DC, then every AC coefficient alone in
// two steps of successive approximation.
Bytes manyScans() {
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0}, 0, 0, 0, 0});
    for (int ah = 0; ah < 2; ++ah) {
        for (int k = 1; k < 64; ++k)
            script.push_back({1, {0}, k, k, ah, 1 - ah});
    }
    return jpeg(16, 16, JCS_GRAYSCALE, 1, {128}, [&](jpeg_compress_struct& c) {
        c.scan_info = script.data();
        c.num_scans = static_cast<int>(script.size());
    });
}

Bytes withSize(Bytes file, int width, int height) {
    const std::size_t sof = std::min(markerAt(file, 0xC0), markerAt(file, 0xC2));
    file[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    file[sof + 6] = static_cast<std::uint8_t>(height);
    file[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    file[sof + 8] = static_cast<std::uint8_t>(width);
    return file;
}

// A file cut after `keep` of its bytes.
Bytes cut(Bytes file, std::size_t keep) {
    file.resize(keep);
    return file;
}

TEST(PcImageReader, RefusesWhatItCannotReadWithAReason) {
    Bytes gif;
    ASSERT_EQ(encodeGif(stripes(16, 8), gif), "");
    const Bytes png = encodePng(stripes(16, 8));
    const Bytes baseline = jpeg(64, 64, JCS_RGB, 3, {200, 100, 50});
    const Bytes progressive =
        jpeg(64, 64, JCS_RGB, 3, {200, 100, 50}, [](auto& c) { jpeg_simple_progression(&c); });
    const struct {
        const char* what;
        Bytes file;
        std::string reason;
    } cases[] = {
        // A frame without width: giflib fails without an error of its own.
        {"zero-width frame",
         bytesOf(std::string_view("GIF89a\x40\x01\xc8\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x2c"
                                  "\x00\x00\x00\x00\x00\x00\xc8\x00\x00\x02\x02\x4c\x01\x00\x3b",
                                  35)),
         "not a readable GIF file: its first frame is 0 × 200 pixels"},
        {"GIF of a 0 x 0 screen", bytesOf(std::string_view("GIF89a\0\0\0\0\0\0\0;", 14)),
         "not a readable GIF file: its screen is 0 × 0 pixels"},
        {"GIF cut in its pixels", cut(gif, gif.size() - 6),
         "not a readable GIF file: the data ends before the picture is complete"},
        {"PNG cut in its pixels", cut(png, png.size() - 20), "not a readable PNG file"},
        {"JPEG cut in its pixels", cut(baseline, baseline.size() / 2),
         "not a readable JPEG file: the data ends before the picture is complete"},
        {"JPEG header of 8192 x 8192 alone",
         cut(withSize(baseline, 8192, 8192), markerAt(baseline, 0xDA) + 14),
         "not a readable JPEG file: the data ends before the picture is complete"},
        {"progressive JPEG cut", cut(progressive, progressive.size() - 40),
         "not a readable JPEG file: the data ends before the picture is complete"},
        {"progressive JPEG of 8192 x 8192", withSize(progressive, 8192, 8192),
         "not a readable JPEG file: a picture of 8192 × 8192 pixels in this form needs more "
         "than 128 MB to read"},
        {"JPEG of 127 scans", manyScans(),
         "not a readable JPEG file: it has more than 100 scans, more than a real picture has"},
    };
    for (const auto& c : cases) {
        Image out;
        EXPECT_EQ(readPcPicture(c.file, out).substr(0, c.reason.size()), c.reason) << c.what;
    }
}

TEST(PcImageReader, AnAnimationGivesItsFirstFrameOnly) {
    Bytes gif;
    ASSERT_EQ(encodeGif(stripes(16, 8), gif), "");
    // A second frame of 65535 x 65535 pixels whose data never comes: never decoded.
    gif.pop_back(); // the trailer
    for (int b : {0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 8})
        gif.push_back(static_cast<std::uint8_t>(b));
    Image out;
    ASSERT_EQ(readPcPicture(gif, out), "");
    ASSERT_EQ(out.width(), 16);
    EXPECT_EQ(out.pixel(3, 7), (Rgb{0, 0, 0}));
    EXPECT_EQ(out.pixel(4, 7), (Rgb{255, 255, 255}));
}

TEST(PcImageReader, CmykAndYcckJpegsAreTurnedIntoRgb) {
    for (const J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        // Red as Adobe's programs store it (inverted: no cyan ink, full magenta and yellow).
        const Bytes file = jpeg(16, 16, JCS_CMYK, 4, {255, 0, 0, 255},
                                [&](auto& c) { jpeg_set_colorspace(&c, stored); });
        Image out;
        ASSERT_EQ(readPcPicture(file, out), "") << stored;
        const Rgb p = out.pixel(8, 8);
        EXPECT_GT(p.r, 245) << stored;
        EXPECT_LT(p.g, 10) << stored;
        EXPECT_LT(p.b, 10) << stored;
    }
}

} // namespace
} // namespace quendra
