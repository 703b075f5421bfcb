#include "export/pcx_encoder.h"

#include "export/used_colours.h"

namespace quendra {

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr int kLongestRun = 63;
constexpr std::uint8_t kRunMark = 0xC0; // a byte with both high bits set counts a run

void put16(std::uint8_t* at, int v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

// One row: runs of 2 to 63 as a count byte and the value; a single byte as itself unless
// it looks like a count byte.
void appendRow(std::vector<std::uint8_t>& out, const std::uint8_t* row, int length) {
    for (int x = 0; x < length;) {
        const std::uint8_t v = row[x];
        int run = 1;
        while (x + run < length && run < kLongestRun && row[x + run] == v)
            ++run;
        if (run > 1 || (v & kRunMark) == kRunMark)
            out.push_back(static_cast<std::uint8_t>(kRunMark | run));
        out.push_back(v);
        x += run;
    }
}

} // namespace

void encodePcx(const IndexedImage& picture, std::vector<std::uint8_t>& out) {
    UsedColours used;
    findUsedColours(picture.indices(), picture.palette(), used);
    const int w = picture.width(), h = picture.height();
    const int lineBytes = (w + 1) / 2 * 2; // even, as the format asks

    out.assign(kHeaderBytes, 0);
    out[0] = 0x0A; // ZSoft
    out[1] = 5;    // version 3.0 and later: a 256-colour palette may follow
    out[2] = 1;    // run-length coded
    out[3] = 8;    // bits per pixel and plane
    put16(&out[8], w - 1);
    put16(&out[10], h - 1);
    for (int i = 0; i < 16 && i < used.count; ++i) {
        out[16 + 3 * i] = used.colours[i].r;
        out[17 + 3 * i] = used.colours[i].g;
        out[18 + 3 * i] = used.colours[i].b;
    }
    out[65] = 1; // planes
    put16(&out[66], lineBytes);
    put16(&out[68], 1); // colour palette

    // Worst case: every byte doubled.
    out.reserve(kHeaderBytes + 2 * static_cast<std::size_t>(lineBytes) * h + 769);
    std::uint8_t line[4096];        // wider than any picture the readers draw
    std::vector<std::uint8_t> wide; // for the rare wider one
    std::uint8_t* slots = line;
    if (static_cast<std::size_t>(lineBytes) > sizeof line) {
        wide.resize(static_cast<std::size_t>(lineBytes));
        slots = wide.data();
    }
    slots[lineBytes - 1] = 0; // padding of an odd width
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = picture.row(y);
        for (int x = 0; x < w; ++x)
            slots[x] = used.slot[in[x]];
        appendRow(out, slots, lineBytes);
    }

    out.push_back(0x0C);
    const std::size_t palette = out.size();
    out.resize(palette + 768, 0);
    for (int i = 0; i < used.count; ++i) {
        out[palette + 3 * i] = used.colours[i].r;
        out[palette + 3 * i + 1] = used.colours[i].g;
        out[palette + 3 * i + 2] = used.colours[i].b;
    }
}

} // namespace quendra
