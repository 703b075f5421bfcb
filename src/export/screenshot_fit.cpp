#include "export/screenshot_fit.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quendra {

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 200;

// Whether every scale x scale block of the picture is one colour.
bool blocksOf(const Image& picture, int scale) {
    if (picture.width() % scale != 0 || picture.height() % scale != 0)
        return false;
    const std::size_t line = picture.bytesPerLine();
    const std::uint8_t* data = picture.data();
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* row = data + y * line;
        if (y % scale != 0 && std::memcmp(row, row - line, line) != 0)
            return false;
        if (y % scale != 0)
            continue;
        for (int x = 0; x < picture.width(); x += scale) {
            for (int k = 1; k < scale; ++k) {
                if (std::memcmp(row + 3 * x, row + 3 * (x + k), 3) != 0)
                    return false;
            }
        }
    }
    return true;
}

Image reduced(const Image& picture, int scale) {
    Image out(picture.width() / scale, picture.height() / scale);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, picture.pixel(x * scale, y * scale));
    }
    return out;
}

struct Framing {
    int width, height, left, top;
};
// Where the emulators' usual framings hold the screen.
constexpr std::array<Framing, 3> kFramings{{
    {384, 272, 32, 35},
    {384, 247, 32, 23},
    {403, 284, 41, 42},
}};

// The bounding box of the pixels unlike `border`; false when every pixel is `border`.
bool contentBox(const Image& picture, Rgb border, int& left, int& top, int& right, int& bottom) {
    left = picture.width();
    top = picture.height();
    right = bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == border)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right >= 0;
}

// The window start along one axis: the preferred one if it holds [first, last], else the one
// nearest to it that does.
int windowStart(int preferred, int first, int last, int size, int total) {
    const int lowest = std::max(0, last - size + 1), highest = std::min(first, total - size);
    return std::clamp(preferred, lowest, highest);
}

// The 320 x 200 screen inside a larger frame of one colour into `screen`: what was done, or
// empty when `frame` is no such frame.
std::string cutBorder(const Image& frame, Image& screen) {
    const int w = frame.width(), h = frame.height();
    if (w < kScreenWidth || h < kScreenHeight || (w == kScreenWidth && h == kScreenHeight))
        return {};
    // The border: the colour of the corners, all four alike.
    const Rgb border = frame.pixel(0, 0);
    if (!(frame.pixel(w - 1, 0) == border) || !(frame.pixel(0, h - 1) == border) ||
        !(frame.pixel(w - 1, h - 1) == border))
        return {};
    int left = (w - kScreenWidth) / 2, top = (h - kScreenHeight) / 2;
    for (const Framing& f : kFramings) {
        if (f.width == w && f.height == h) {
            left = f.left;
            top = f.top;
        }
    }
    int first = 0, upper = 0, last = 0, lower = 0;
    if (contentBox(frame, border, first, upper, last, lower)) {
        if (last - first >= kScreenWidth || lower - upper >= kScreenHeight)
            return {};
        left = windowStart(left, first, last, kScreenWidth, w);
        top = windowStart(top, upper, lower, kScreenHeight, h);
    }
    screen.resize(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        std::memcpy(screen.data() + y * screen.bytesPerLine(),
                    frame.data() + (top + y) * frame.bytesPerLine() + 3 * left,
                    screen.bytesPerLine());
    }
    return "the " + std::to_string(w) + " x " + std::to_string(h) + " frame's border cut at " +
           std::to_string(left) + ", " + std::to_string(top);
}

} // namespace

std::string fitScreenshot(const Image& picture, Image& screen) {
    int scale = 1;
    for (int s = 8; s >= 2 && scale == 1; --s) {
        if (picture.width() / s >= kScreenWidth && picture.height() / s >= kScreenHeight &&
            blocksOf(picture, s))
            scale = s;
    }
    if (scale == 1)
        return cutBorder(picture, screen);
    Image smaller = reduced(picture, scale);
    const std::string note = scale == 2 ? "halved" : "reduced to 1/" + std::to_string(scale);
    const std::string cut = cutBorder(smaller, screen);
    if (cut.empty()) {
        screen = std::move(smaller);
        return note;
    }
    return note + "; " + cut;
}

} // namespace quendra
