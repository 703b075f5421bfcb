#include "export/jpeg_encoder.h"

#include <algorithm>

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <array>
#include <csetjmp>

namespace quendra {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
struct ErrorManager {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr, int) {} // warnings are no failures

// The file grows in a vector the caller keeps.
struct VectorDestination {
    jpeg_destination_mgr pub{};
    std::vector<std::uint8_t>* out = nullptr;
};

constexpr std::size_t kStep = 16384;
constexpr int kFullChromaQuality = 90;

void startDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
    d->out->resize(std::max(d->out->capacity(), kStep));
    d->pub.next_output_byte = d->out->data();
    d->pub.free_in_buffer = d->out->size();
}

boolean growDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
    const std::size_t used = d->out->size(); // the buffer was full
    d->out->resize(used * 2);
    d->pub.next_output_byte = d->out->data() + used;
    d->pub.free_in_buffer = d->out->size() - used;
    return TRUE;
}

void finishDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
    d->out->resize(d->out->size() - d->pub.free_in_buffer);
}

} // namespace

struct JpegEncoder::State {
    jpeg_compress_struct cinfo{};
    ErrorManager errors;
    VectorDestination destination;
    bool ready = false;
    std::vector<JSAMPLE> row;

    ~State() {
        if (ready)
            jpeg_destroy_compress(&cinfo);
    }
};

JpegEncoder::JpegEncoder() : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.cinfo.err = jpeg_std_error(&s.errors.pub);
    s.errors.pub.error_exit = onError;
    s.errors.pub.emit_message = onMessage;
    if (setjmp(s.errors.jump))
        return; // out of memory: every encode says so
    jpeg_create_compress(&s.cinfo);
    s.destination.pub.init_destination = startDestination;
    s.destination.pub.empty_output_buffer = growDestination;
    s.destination.pub.term_destination = finishDestination;
    s.cinfo.dest = &s.destination.pub;
    s.ready = true;
}

JpegEncoder::~JpegEncoder() = default;

std::string JpegEncoder::encode(const IndexedImage& picture, int quality, bool grey,
                                std::vector<std::uint8_t>& out, int smoothing) {
    State& s = *state_;
    out.clear();
    if (!s.ready)
        return "JPEG: cannot start the encoder";
    const int w = picture.width(), h = picture.height();
    const int components = grey ? 1 : 3;
    // Every palette entry as the encoder takes it; indices beyond the palette are black.
    std::array<std::array<JSAMPLE, 3>, 256> colour{};
    const auto& palette = picture.palette();
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
        const Rgb c = palette[i];
        if (grey) // Rec. 601 on 16-bit samples, cut to 8 bits, as the image library made it
            colour[i][0] = static_cast<JSAMPLE>(
                static_cast<unsigned>(257 * (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) + 0.5) /
                257u);
        else
            colour[i] = {c.r, c.g, c.b};
    }
    s.destination.out = &out;
    if (setjmp(s.errors.jump)) {
        jpeg_abort_compress(&s.cinfo);
        out.clear();
        return std::string("JPEG: ") + s.errors.message;
    }
    s.row.resize(static_cast<std::size_t>(w) * components);
    jpeg_compress_struct& c = s.cinfo;
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = components;
    c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    c.optimize_coding = TRUE;
    c.smoothing_factor = std::clamp(smoothing, 0, 100);
    // Below quality 90 colour is sampled at half the resolution each way (4:2:0), from 90
    // on at full resolution (4:4:4).
    const int lumaSampling = quality < kFullChromaQuality ? 2 : 1;
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = grey ? 1 : lumaSampling;
    for (int i = 1; i < c.num_components; ++i)
        c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    c.density_unit = 1; // dots an inch
    c.X_density = 72;
    c.Y_density = 72;
    jpeg_start_compress(&c, TRUE);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = picture.row(y);
        JSAMPLE* o = s.row.data();
        for (int x = 0; x < w; ++x) {
            const auto& v = colour[in[x]];
            for (int k = 0; k < components; ++k)
                *o++ = v[k];
        }
        JSAMPROW rows[1] = {s.row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    return {};
}

} // namespace quendra
