#include "samples/fli_files.h"

#include <algorithm>
#include <string_view>

#include "decode/formats.h"

namespace quendra::samples {

FliPicture fliPattern(unsigned seed) {
    FliPicture p;
    std::uint32_t random = 0x2545F491u * (seed + 1);
    for (int f = 0; f < 2; ++f) {
        FliLayer& layer = p.frames[f];
        const unsigned s = seed + 5 * static_cast<unsigned>(f);
        for (unsigned k = 0; k < 8; ++k) {
            for (unsigned n = 0; n < 1024; ++n) {
                // Steps of 3 and 5 modulo 16 keep the 8 screens apart at every cell.
                layer.screens[k][n] = static_cast<std::uint8_t>(((n + 3 * k + s) % 16) << 4 |
                                                                (7 * n + 5 * k + 2 + s) % 16);
            }
        }
        for (auto& b : layer.bitmap) {
            random = random * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(random >> 24);
        }
        for (unsigned y = 0; y < 200; ++y)
            layer.backgrounds[y] = static_cast<std::uint8_t>(0x70 | (3 * y + 11 * f + seed) % 16);
    }
    for (unsigned n = 0; n < 1024; ++n)
        p.colour[n] = static_cast<std::uint8_t>(0xF0 | (11 * n + 9 + seed) % 16);
    return p;
}

namespace {

// A file of `size` bytes starting with the load address, the rest 0 until put.
class FileBuilder {
  public:
    FileBuilder(std::uint16_t address, std::size_t size) : bytes_(size, 0) {
        bytes_[0] = static_cast<std::uint8_t>(address & 0xFF);
        bytes_[1] = static_cast<std::uint8_t>(address >> 8);
    }
    template <typename Range>
    FileBuilder& put(std::size_t at, const Range& part, std::size_t count) {
        std::copy_n(std::begin(part), count, bytes_.begin() + static_cast<std::ptrdiff_t>(at));
        return *this;
    }
    FileBuilder& put(std::size_t at, std::string_view text) { return put(at, text, text.size()); }
    FileBuilder& screens(std::size_t at, const FliLayer& layer, std::size_t count = 1000) {
        for (std::size_t k = 0; k < 8; ++k)
            put(at + 1024 * k, layer.screens[k], count);
        return *this;
    }
    FileBuilder& set(std::size_t at, std::uint8_t value) {
        bytes_[at] = value;
        return *this;
    }
    ByteVector take() { return std::move(bytes_); }

  private:
    ByteVector bytes_;
};

ByteVector reversed(ByteVector v) {
    std::reverse(v.begin(), v.end());
    return v;
}

ByteVector withPackedData(std::uint16_t address, std::string_view header, std::uint8_t escape,
                          const ByteVector& data) {
    ByteVector f = FileBuilder(address, 2 + header.size() + 1).put(2, header).take();
    f.back() = escape;
    const ByteVector packed = compressRuns(data, {escape, true});
    f.insert(f.end(), packed.begin(), packed.end());
    return f;
}

} // namespace

ByteVector makeFliDesigner(const FliPicture& p, bool padded) {
    const FliLayer& f = p.frames[0];
    return FileBuilder(0x3C00, padded ? 17409 : 17218)
        .put(2, p.colour, 1000)
        .screens(1026, f)
        .put(9218, f.bitmap, 8000)
        .take();
}

ByteVector makeFliGraph(const FliPicture& p) {
    const FliLayer& f = p.frames[0];
    return FileBuilder(0x3B00, 17474)
        .put(2, f.backgrounds, 200)
        .put(258, p.colour, 1000)
        .screens(1282, f)
        .put(9474, f.bitmap, 8000)
        .take();
}

ByteVector fliGraphRuns(const ByteVector& data, std::uint8_t escape) {
    return reversed(compressRuns(reversed(data), {escape, true}));
}

ByteVector makeFliGraphPacked(const FliPicture& p, std::uint8_t escape) {
    const ByteVector plain = makeFliGraph(p);
    ByteVector f{0x00, 0x3B, escape};
    const ByteVector packed = fliGraphRuns(ByteVector(plain.begin() + 2, plain.end()), escape);
    f.insert(f.end(), packed.begin(), packed.end());
    return f;
}

ByteVector makeAfli(const FliPicture& p) {
    const FliLayer& f = p.frames[0];
    return FileBuilder(0x4000, 16385).screens(2, f).put(8194, f.bitmap, 8000).take();
}

ByteVector makeHiresFli(const FliPicture& p) {
    const FliLayer& f = p.frames[0];
    return FileBuilder(0x4000, 16386).put(2, f.bitmap, 8192).screens(8194, f).take();
}

ByteVector makeBfli(const FliPicture& p) {
    return FileBuilder(0x3BFF, 33795)
        .set(2, 'b')
        .put(3, p.colour, 1024)
        .screens(1027, p.frames[0], 1024)
        .put(9219, p.frames[0].bitmap, 8192)
        .screens(17411, p.frames[1], 1024)
        .put(25603, p.frames[1].bitmap, 8192)
        .take();
}

ByteVector makeTruePaint(const FliPicture& p) {
    const FliLayer& a = p.frames[0];
    const FliLayer& b = p.frames[1];
    return FileBuilder(0x9C00, 19434)
        .put(2, a.screens[0], 1000)
        .set(1002, a.backgrounds[0])
        .put(1026, a.bitmap, 8000)
        .put(9218, b.bitmap, 8000)
        .put(17410, b.screens[0], 1000)
        .put(18434, p.colour, 1000)
        .take();
}

ByteVector makeTruePaintPacked(const FliPicture& p) {
    // The unpacker's tables: markers E0..E8 at 129..137 and their kinds at 120..128; the
    // run value of kinds 7 and 11 at 79; the pair values of kind-0 markers at 133 + marker.
    constexpr std::uint8_t kKinds[9] = {25, 23, 17, 7, 11, 0, 0, 42, 0};
    constexpr std::uint8_t kRunValue = 0x00;
    ByteVector f(142, 0xEA);
    f[0] = 0x01;
    f[1] = 0x08;
    f[79] = kRunValue;
    for (int e = 0; e < 9; ++e) {
        f[120 + e] = kKinds[e];
        f[129 + e] = static_cast<std::uint8_t>(0xE0 + e);
    }
    f[138] = 0x11; // marker 5
    f[139] = 0x55; // marker 6
    f[141] = 0xAA; // marker 8
    const auto pairMarker = [](std::uint8_t v) -> int {
        return v == 0x11 ? 0xE5 : v == 0x55 ? 0xE6 : v == 0xAA ? 0xE8 : -1;
    };

    // Tokens in reading order, over the data from its last byte to its first.
    const ByteVector plain = makeTruePaint(p);
    const ByteVector data(plain.rbegin(), plain.rend() - 2);
    ByteVector tokens;
    tokens.reserve(data.size() + data.size() / 2);
    const auto emit = [&tokens](std::initializer_list<std::uint8_t> token) {
        for (std::uint8_t b : token)
            tokens.push_back(b);
    };
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t v = data[i];
        std::size_t run = 1;
        while (i + run < data.size() && run < 257 && data[i + run] == v)
            ++run;
        const auto n = static_cast<std::uint8_t>(run - 2);
        if (run >= 4 && v == kRunValue) {
            emit({0xE3, n});
        } else if (run == 3 && v == kRunValue) {
            emit({0xE4});
        } else if (run >= 4) {
            emit({0xE2, n, v});
        } else if (run == 3) {
            emit({0xE1, v});
        } else if (run == 2 && pairMarker(v) >= 0) {
            emit({static_cast<std::uint8_t>(pairMarker(v))});
        } else {
            // Marker E7 has a kind of no meaning, so it stands for itself.
            run = 1;
            if (v >= 0xE0 && v <= 0xE8 && v != 0xE7)
                emit({0xE0, v});
            else
                emit({v});
        }
        i += run;
    }
    f.insert(f.end(), tokens.rbegin(), tokens.rend()); // stored to be read from the end
    return f;
}

ByteVector drazlaceData(const FliPicture& p, std::uint8_t shift) {
    const FliLayer& a = p.frames[0];
    const ByteVector f = FileBuilder(0x5800, 18242)
                             .put(2, p.colour, 1000)
                             .put(1026, a.screens[0], 1000)
                             .put(2050, a.bitmap, 8000)
                             .set(10050, a.backgrounds[0])
                             .set(10052, shift)
                             .put(10242, p.frames[1].bitmap, 8000)
                             .take();
    return ByteVector(f.begin() + 2, f.end());
}

ByteVector makeDrazlace(const FliPicture& p, std::uint8_t shift) {
    ByteVector f{0x00, 0x58};
    const ByteVector data = drazlaceData(p, shift);
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

ByteVector makeDrazlacePacked(const FliPicture& p, std::uint8_t shift, std::uint8_t escape) {
    return withPackedData(0x5800, "DRAZLACE! 1.0", escape, drazlaceData(p, shift));
}

ByteVector makeGunpaint(const FliPicture& p) {
    const FliLayer& a = p.frames[0];
    const FliLayer& b = p.frames[1];
    return FileBuilder(0x4000, 33603)
        .screens(2, a)
        .put(1002, "GUNPAINT (JZ)   ")
        .put(8194, a.bitmap, 8000)
        .put(16209, a.backgrounds, 177)
        .put(16386, p.colour, 1000)
        .screens(17410, b)
        .put(18410, std::span(a.backgrounds).subspan(177), 20)
        .put(25602, b.bitmap, 8000)
        .take();
}

ByteVector makeFfli(const FliPicture& p) {
    const FliLayer& a = p.frames[0];
    const FliLayer& b = p.frames[1];
    return FileBuilder(0x3AFF, 26115)
        .set(2, 'f')
        .put(3, a.backgrounds, 200)
        .put(259, p.colour, 1000)
        .screens(1283, a)
        .put(9475, a.bitmap, 8192)
        .screens(17667, b)
        .put(25859, b.backgrounds, 200)
        .take();
}

ByteVector drazpaintData(const FliPicture& p) {
    const FliLayer& a = p.frames[0];
    const ByteVector f = FileBuilder(0x5800, 10051)
                             .put(2, p.colour, 1000)
                             .put(1026, a.screens[0], 1000)
                             .put(2050, a.bitmap, 8000)
                             .set(10050, a.backgrounds[0])
                             .take();
    return ByteVector(f.begin() + 2, f.end());
}

ByteVector makeDrazpaint(const FliPicture& p) {
    ByteVector f{0x00, 0x58};
    const ByteVector data = drazpaintData(p);
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

ByteVector makeDrazpaintPacked(const FliPicture& p, std::uint8_t escape) {
    return withPackedData(0x5800, "DRAZPAINT 1.4", escape, drazpaintData(p));
}

ByteVector makeHiresInterlace(const FliPicture& p) {
    return FileBuilder(0x2000, 24578)
        .put(2, p.frames[0].bitmap, 8000)
        .put(9218, p.frames[1].screens[0], 1000)
        .put(10242, p.frames[0].screens[0], 1000)
        .put(16386, p.frames[1].bitmap, 8000)
        .take();
}

ByteVector makeFliFile(const C64Format& format, const FliPicture& p) {
    const FliLayout& layout = format.fli;
    const bool stacked = layout.shows == FliFrames::stacked;
    const std::size_t cells = stacked ? 1024 : 1000, bitmap = stacked ? 8192 : 8000;
    FileBuilder file(format.loadAddresses[0], layout.lengths[0]);
    file.put(format.signatureOffset, format.signature);
    if (layout.colour != kAbsent)
        file.put(layout.colour, p.colour, cells);
    if (layout.background != kAbsent)
        file.set(layout.background, p.frames[0].backgrounds[0]);
    const int frames = layout.shows == FliFrames::one ? 1 : 2;
    for (int f = 0; f < frames; ++f) {
        const FliFrame& at = layout.frames[static_cast<std::size_t>(f)];
        const FliLayer& layer = p.frames[static_cast<std::size_t>(f)];
        file.put(at.bitmap, layer.bitmap, bitmap);
        if (layout.screenPerLine)
            file.screens(at.screens, layer, cells);
        else
            file.put(at.screens, layer.screens[0], cells);
        if (at.backgrounds != kAbsent)
            file.put(at.backgrounds, layer.backgrounds, layer.backgrounds.size());
    }
    return file.take();
}

} // namespace quendra::samples
