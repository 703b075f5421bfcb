// Sample pictures of NUFLI, MUFLI, UFLI and UIFLI: memories of rings and bars (from the FLI
// pattern) with the sprite pointers set to point inside the picture.
#include <algorithm>

#include "samples/further_pictures.h"

namespace quendra::samples {

namespace {

// FLI pattern bytes laid one after another over `length` bytes after the load address.
ByteVector patternMemory(std::size_t length, std::uint16_t loadAddress, unsigned seed) {
    ByteVector m = zeroFile(length, loadAddress);
    const FliPicture p = fliPattern(seed);
    std::size_t at = 2;
    for (int f = 0; f < 2 && at < length; ++f) {
        for (std::size_t k = 0; k < 8 && at < length; ++k, at += 1024)
            std::copy_n(p.frames[f].screens[k].begin(), std::min<std::size_t>(1024, length - at),
                        m.begin() + static_cast<std::ptrdiff_t>(at));
        const std::size_t n = std::min<std::size_t>(8192, length - std::min(at, length));
        std::copy_n(p.frames[f].bitmap.begin(), n, m.begin() + static_cast<std::ptrdiff_t>(at));
        at += n;
    }
    return m;
}

// NUFLI's sprite pointers: screens of the upper lines (8194 on) name sprites 128 on, those
// of the lower lines (2 on) sprites 0 on, both within the picture.
ByteVector nufli() {
    ByteVector m = patternMemory(23042, 0x2000, 70);
    for (int k = 0; k < 8; ++k)
        for (int i = 1016; i < 1024; ++i)
            m[static_cast<std::size_t>(8194 + 1024 * k + i)] = static_cast<std::uint8_t>(i * 13 % 200);
    for (int k = 0; k < 4; ++k)
        for (int i = 1016; i < 1024; ++i)
            m[static_cast<std::size_t>(2 + 1024 * k + i)] = static_cast<std::uint8_t>(128 + i % 100);
    return m;
}

ByteVector mufli(unsigned seed) {
    ByteVector m = patternMemory(21826, 0x2100, seed);
    for (int k = 0; k < 8; ++k)
        for (int i = 1017; i < 1023; ++i)
            m[static_cast<std::size_t>(7938 + 1024 * k + i)] = static_cast<std::uint8_t>(i * 7 % 200);
    for (int k = 0; k < 4; ++k)
        for (int i = 1017; i < 1023; ++i)
            m[static_cast<std::size_t>(-254 + 1024 * k + i)] = static_cast<std::uint8_t>(140 + i % 100);
    m[4610 + 20] = 0x2A; // some lines' sprites multicolour
    return m;
}

} // namespace

void appendUnderlaySamples(std::vector<FurtherSample>& all) {
    all.push_back({"nufli-nuf.nuf", nufli(), 320, 200});

    // MUFLI interlaced: the first frame as the file begins, the second in two pieces.
    const ByteVector first = mufli(71), second = mufli(72);
    ByteVector mui(44034, 0);
    std::copy(first.begin(), first.end(), mui.begin());
    std::copy(second.begin() + 2, second.begin() + 11266, mui.begin() + 32770);
    std::copy(second.begin() + 11266, second.begin() + 21762, mui.begin() + 22018);
    all.push_back({"mufli-mui.mui", mui, 296, 200});

    ByteVector ufli = patternMemory(16194, 0x4000, 73);
    ufli[4081] = 1;
    ByteVector packed{0x00, 0x40, 0xAF};
    const ByteVector runs = escapeRuns(std::span(ufli).subspan(2), 0xAF, RunCount::zeroIs256);
    packed.insert(packed.end(), runs.begin(), runs.end());
    all.push_back({"ufli-ufl.ufl", packed, 288, 200});

    ByteVector uifImage = patternMemory(32578, 0, 74);
    uifImage.erase(uifImage.begin(), uifImage.begin() + 2);
    ByteVector uif{0x00, 0x40, 0x5A};
    const ByteVector back = escapeRuns(uifImage, 0x5A, RunCount::zeroIs256, true);
    uif.insert(uif.end(), back.begin(), back.end());
    all.push_back({"uifli-uif.uif", uif, 288, 200});
}

} // namespace quendra::samples
