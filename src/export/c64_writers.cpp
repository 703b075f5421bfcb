#include "export/c64_writers.h"

#include <algorithm>
#include <cctype>

#include "export/c64_program.h"

namespace quendra {

namespace {

using Out = std::vector<std::uint8_t>;

void put(Out& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}
void putZeros(Out& out, std::size_t count) {
    out.insert(out.end(), count, 0);
}
void start(Out& out, std::uint16_t loadAddress) {
    out.clear();
    out.push_back(static_cast<std::uint8_t>(loadAddress & 0xFF));
    out.push_back(static_cast<std::uint8_t>(loadAddress >> 8));
}
std::span<const std::uint8_t> screen0(const C64Memories& m) {
    return std::span(m.screens).first(1000);
}

// Bitmap, screen, colour memory, background: Koala's 10001 bytes after the load address.
void koalaData(const C64Memories& m, Out& out) {
    put(out, m.bitmap);
    put(out, screen0(m));
    put(out, m.colour);
    out.push_back(m.background);
}

void koala(const C64Memories& m, std::uint16_t load, Out& out) {
    start(out, load);
    koalaData(m, out);
}

// The load address, then the `bytes` that `data` lays out packed in runs.
void packed(const C64Memories& m, std::uint16_t load, Out& out, RunFormat runs, std::size_t bytes,
            void (*data)(const C64Memories&, Out&)) {
    Out plain;
    plain.reserve(bytes);
    data(m, plain);
    start(out, load);
    packRuns(plain, runs, out);
}

void packedKoala(const C64Memories& m, std::uint16_t load, Out& out, RunFormat runs) {
    packed(m, load, out, runs, 10001, koalaData);
}

void koalaCompressed(const C64Memories& m, std::uint16_t load, Out& out) {
    packedKoala(m, load, out, kKoalaRuns);
}

void amica(const C64Memories& m, std::uint16_t load, Out& out) {
    packedKoala(m, load, out, kAmicaRuns);
    // The end mark real files carry: a run of nothing.
    out.push_back(kAmicaRuns.escape);
    out.push_back(0);
}

// Advanced Art Studio: bitmap, screen, border, background, 14 unused, colour memory.
void artStudioMulticolour(const C64Memories& m, std::uint16_t load, Out& out) {
    start(out, load);
    put(out, m.bitmap);
    put(out, screen0(m));
    out.push_back(0); // border
    out.push_back(m.background);
    putZeros(out, 14);
    put(out, m.colour);
}

// Art Studio hires: bitmap, screen, border, 6 unused.
void artStudioHires(const C64Memories& m, std::uint16_t load, Out& out) {
    start(out, load);
    put(out, m.bitmap);
    put(out, screen0(m));
    putZeros(out, 7);
}

// Doodle's screen page (1024) and bitmap: the 9024 bytes after the load address.
void doodleData(const C64Memories& m, Out& out) {
    put(out, screen0(m));
    putZeros(out, 24);
    put(out, m.bitmap);
}

void doodle(const C64Memories& m, std::uint16_t load, Out& out) {
    start(out, load);
    doodleData(m, out);
    putZeros(out, 192);
}

void doodleCompressed(const C64Memories& m, std::uint16_t load, Out& out) {
    packed(m, load, out, kDoodleRuns, 9024, doodleData);
}

void hiresBitmap(const C64Memories& m, std::uint16_t load, Out& out) {
    start(out, load);
    put(out, m.bitmap);
}

// FLI Designer: colour memory (1024), screens 0..7, bitmap; 17409 bytes, to $7FFF.
void fliDesigner(const C64Memories& m, std::uint16_t load, Out& out) {
    start(out, load);
    put(out, m.colour);
    putZeros(out, 24);
    put(out, m.screens);
    put(out, m.bitmap);
    putZeros(out, 191);
}

// AFLI: screens 0..7, bitmap; 16385 bytes.
void afli(const C64Memories& m, std::uint16_t load, Out& out) {
    start(out, load);
    put(out, m.screens);
    put(out, m.bitmap);
    putZeros(out, 191);
}

constexpr C64Rules kMulticolour{.mode = C64Mode::multicolour};
constexpr C64Rules kHires{.mode = C64Mode::hires};

// The C64 program of a hires picture, for one that is not multicolour.
constexpr C64Writer kHiresProgram{"prg", "", 0, kHires, layOutHiresProgram, &kProgramFormat};

constexpr C64Writer kWriters[] = {
    {"koa", ".koa", 0, kMulticolour, koala},
    {"gg", ".gg", 0, kMulticolour, koalaCompressed},
    {"ocp", ".ocp", 0, kMulticolour, artStudioMulticolour},
    {"art", ".art", 0, kHires, artStudioHires},
    {"dd", ".dd", 1, kHires, doodle}, // $5C00, where Doodle compressed files load as well
    {"jj", ".jj", 0, kHires, doodleCompressed},
    {"ami", ".ami", 0, kMulticolour, amica},
    {"hbm", ".hbm", 0, {.mode = C64Mode::hires, .blackAndWhite = true}, hiresBitmap},
    {"fli", ".fli", 0, {.mode = C64Mode::fli, .fixedBackground = 0}, fliDesigner},
    {"afl", ".afl", 0, {.mode = C64Mode::afli}, afli},
    // Multicolour, else hires; FLI and AFLI would need a displayer timed to the raster line.
    {"prg", "", 0, kMulticolour, layOutMulticolourProgram, &kProgramFormat, &kHiresProgram},
};

} // namespace

std::string_view c64ColourName(int colour) {
    static constexpr std::string_view kNames[16] = {
        "black", "white",  "red",       "cyan",      "purple", "green",
        "blue",  "yellow", "orange",    "brown",     "light red", "dark grey",
        "grey",  "light green", "light blue", "light grey"};
    return kNames[colour & 15];
}

int c64ColourNamed(std::string_view text) {
    if (!text.empty() && text.size() <= 2 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int n = text.size() == 1 ? text[0] - '0' : 10 * (text[0] - '0') + text[1] - '0';
        return n <= 15 ? n : -1;
    }
    for (int c = 0; c < 16; ++c) {
        const std::string_view name = c64ColourName(c);
        bool same = name.size() == text.size();
        for (std::size_t i = 0; same && i < name.size(); ++i) {
            const char t = text[i];
            same = name[i] == ' ' ? (t == ' ' || t == '-' || t == '_')
                                  : std::tolower(static_cast<unsigned char>(t)) == name[i];
        }
        if (same)
            return c;
    }
    return -1;
}

std::span<const C64Writer> c64Writers() {
    return kWriters;
}

const C64Writer* findC64Writer(std::string_view key) {
    for (const C64Writer& w : kWriters) {
        if (w.key == key)
            return &w;
    }
    return nullptr;
}

std::string_view c64WriterKeys() {
    return "koa, gg, ocp, art, dd, jj, ami, hbm, fli, afl, prg";
}

void packRuns(std::span<const std::uint8_t> data, RunFormat format,
              std::vector<std::uint8_t>& out) {
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t value = data[i];
        std::size_t run = 1;
        while (run < 255 && i + run < data.size() && data[i + run] == value)
            ++run;
        if (run >= 4 || value == format.escape) {
            const auto count = static_cast<std::uint8_t>(run);
            out.push_back(format.escape);
            out.push_back(format.countFirst ? count : value);
            out.push_back(format.countFirst ? value : count);
            i += run;
        } else {
            out.push_back(value);
            ++i;
        }
    }
}

} // namespace quendra
