#include "export/tiff_encoder.h"

#include <dlfcn.h>
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "export/used_colours.h"

namespace quendra {

namespace {

// The file grows in `bytes`; libtiff seeks back to patch its directory offsets.
struct MemoryFile {
    std::vector<std::uint8_t>& bytes;
    toff_t position = 0;
    std::string error; // the first message libtiff gave
};

tmsize_t readProc(thandle_t h, void* buf, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->position >= f->bytes.size())
        return 0;
    const auto n = std::min<toff_t>(static_cast<toff_t>(size), f->bytes.size() - f->position);
    std::memcpy(buf, f->bytes.data() + f->position, n);
    f->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t h, void* buf, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    const auto end = f->position + static_cast<toff_t>(size);
    if (end > f->bytes.size())
        f->bytes.resize(end);
    std::memcpy(f->bytes.data() + f->position, buf, static_cast<std::size_t>(size));
    f->position = end;
    return size;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = f->position;
    if (whence == SEEK_END)
        base = f->bytes.size();
    f->position = base + offset;
    return f->position;
}

int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t h) {
    return static_cast<MemoryFile*>(h)->bytes.size();
}
int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}
void unmapProc(thandle_t, void*, toff_t) {}

int errorHandler(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    auto* f = static_cast<MemoryFile*>(user);
    if (f->error.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, fmt, ap);
        f->error = std::string(module ? module : "TIFF") + ": " + text;
    }
    return 1; // handled: the process-wide handler stays silent
}

int warningHandler(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// libtiff and the seven libraries it needs are loaded on the first TIFF picture rather than
// when a program starts: a batch of PNG files should not pay for mapping them.
struct TiffLibrary {
    decltype(&TIFFOpenOptionsAlloc) openOptionsAlloc = nullptr;
    decltype(&TIFFOpenOptionsFree) openOptionsFree = nullptr;
    decltype(&TIFFOpenOptionsSetErrorHandlerExtR) setErrorHandler = nullptr;
    decltype(&TIFFOpenOptionsSetWarningHandlerExtR) setWarningHandler = nullptr;
    decltype(&TIFFClientOpenExt) clientOpen = nullptr;
    decltype(&TIFFSetField) setField = nullptr;
    decltype(&TIFFDefaultStripSize) defaultStripSize = nullptr;
    decltype(&TIFFWriteScanline) writeScanline = nullptr;
    decltype(&TIFFClose) close = nullptr;
    std::string error; // why it cannot be used; empty when it can
};

template <typename Function> void find(void* handle, const char* name, Function& f, bool& all) {
    f = reinterpret_cast<Function>(::dlsym(handle, name));
    all &= f != nullptr;
}

const TiffLibrary& tiffLibrary() {
    static const TiffLibrary library = [] {
        TiffLibrary l;
        void* handle = ::dlopen(QUENDRA_LIBTIFF, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = ::dlerror();
            l.error = std::string("TIFF: cannot load " QUENDRA_LIBTIFF) + (why ? ": " : "") +
                      (why ? why : "");
            return l;
        }
        bool all = true;
        find(handle, "TIFFOpenOptionsAlloc", l.openOptionsAlloc, all);
        find(handle, "TIFFOpenOptionsFree", l.openOptionsFree, all);
        find(handle, "TIFFOpenOptionsSetErrorHandlerExtR", l.setErrorHandler, all);
        find(handle, "TIFFOpenOptionsSetWarningHandlerExtR", l.setWarningHandler, all);
        find(handle, "TIFFClientOpenExt", l.clientOpen, all);
        find(handle, "TIFFSetField", l.setField, all);
        find(handle, "TIFFDefaultStripSize", l.defaultStripSize, all);
        find(handle, "TIFFWriteScanline", l.writeScanline, all);
        find(handle, "TIFFClose", l.close, all);
        if (!all)
            l.error = "TIFF: " QUENDRA_LIBTIFF " lacks functions this program needs";
        return l; // the library stays loaded for the process's life
    }();
    return library;
}

bool isWhite(Rgb c) {
    return c == Rgb{255, 255, 255};
}

} // namespace

std::string encodeTiff(const IndexedImage& picture, TiffCompression compression,
                       std::vector<std::uint8_t>& out) {
    UsedColours used;
    findUsedColours(picture.indices(), picture.palette(), used);
    // Black and white only: a bilevel picture.
    const bool bilevel = std::all_of(used.colours.begin(), used.colours.begin() + used.count,
                                     [](Rgb c) { return c == Rgb{} || isWhite(c); });
    if (compression == TiffCompression::CcittRle && !bilevel)
        return "TIFF compression 2 codes black and white pictures only";
    const int bits = bilevel ? 1 : used.count <= 16 ? 4 : 8;
    std::array<std::uint8_t, 256> value{}; // what each picture index is stored as
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t s = used.slot[i];
        value[i] = bilevel ? (isWhite(used.colours[s]) ? 1 : 0) : s;
    }

    out.clear();
    const TiffLibrary& lib = tiffLibrary();
    if (!lib.error.empty())
        return lib.error;
    MemoryFile file{out, 0, {}};
    TIFFOpenOptions* options = lib.openOptionsAlloc();
    lib.setErrorHandler(options, errorHandler, &file);
    lib.setWarningHandler(options, warningHandler, &file);
    TIFF* tif = lib.clientOpen("memory", "w", &file, readProc, writeProc, seekProc, closeProc,
                               sizeProc, mapProc, unmapProc, options);
    lib.openOptionsFree(options);
    if (!tif)
        return file.error.empty() ? "TIFF: cannot start the file" : file.error;

    const int w = picture.width(), h = picture.height();
    lib.setField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(w));
    lib.setField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(h));
    lib.setField(tif, TIFFTAG_COMPRESSION, static_cast<uint16_t>(compression));
    lib.setField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    lib.setField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    lib.setField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    lib.setField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    lib.setField(tif, TIFFTAG_XRESOLUTION, 72.0f);
    lib.setField(tif, TIFFTAG_YRESOLUTION, 72.0f);
    lib.setField(tif, TIFFTAG_ROWSPERSTRIP, lib.defaultStripSize(tif, 0));
    lib.setField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    lib.setField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    std::array<uint16_t, 256> r{}, g{}, b{};
    if (bilevel) {
        lib.setField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    } else {
        lib.setField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        for (int i = 0; i < used.count; ++i) {
            r[i] = static_cast<uint16_t>(used.colours[i].r * 257);
            g[i] = static_cast<uint16_t>(used.colours[i].g * 257);
            b[i] = static_cast<uint16_t>(used.colours[i].b * 257);
        }
        lib.setField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    std::uint8_t line[4096];
    std::vector<std::uint8_t> wide; // for a picture wider than any the readers draw
    std::uint8_t* packed = line;
    if (static_cast<std::size_t>(w) > std::size(line)) {
        wide.resize(static_cast<std::size_t>(w));
        packed = wide.data();
    }
    bool ok = true;
    for (int y = 0; ok && y < h; ++y) {
        packRow(picture.row(y), w, value, bits, packed);
        ok = lib.writeScanline(tif, packed, static_cast<uint32_t>(y), 0) >= 0;
    }
    lib.close(tif);
    if (!ok || !file.error.empty()) {
        out.clear();
        return file.error.empty() ? "TIFF: cannot write the picture" : file.error;
    }
    return {};
}

} // namespace quendra
