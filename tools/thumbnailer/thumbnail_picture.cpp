#include "thumbnailer/thumbnail_picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "decode/disk_image.h"
#include "decode/formats.h"
#include "thumbnailer/contact_sheet.h"

namespace quendra::thumbnail {

namespace {

// How much of source pixel s (of n) falls into target pixel t (of m), in units of
// 1/m of a source pixel: both axes are stretched onto a common length of n * m.
struct Span {
    int first = 0;          // first source pixel touched
    std::vector<int> parts; // overlap with each source pixel from `first` on; they add up to n
};

std::vector<Span> spansFor(int n, int m) {
    std::vector<Span> spans(static_cast<std::size_t>(m));
    for (int t = 0; t < m; ++t) {
        const long long begin = static_cast<long long>(t) * n; // in units of 1/m source pixel
        const long long end = begin + n;
        Span& span = spans[static_cast<std::size_t>(t)];
        span.first = static_cast<int>(begin / m);
        for (long long s = span.first; s * m < end; ++s) {
            const long long lo = std::max(begin, s * m);
            const long long hi = std::min(end, (s + 1) * m);
            span.parts.push_back(static_cast<int>(hi - lo));
        }
    }
    return spans;
}

Image averageDown(const Image& picture, int width, int height) {
    const int w = picture.width(), h = picture.height();
    const std::vector<Span> columns = spansFor(w, width);
    const std::vector<Span> rows = spansFor(h, height);
    // Across first: each source row becomes `width` sums weighted by up to w.
    std::vector<std::uint32_t> across(static_cast<std::size_t>(h) * width * 3);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = picture.data() + picture.bytesPerLine() * y;
        std::uint32_t* out = &across[static_cast<std::size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            const Span& span = columns[static_cast<std::size_t>(x)];
            std::uint32_t r = 0, g = 0, b = 0;
            for (std::size_t k = 0; k < span.parts.size(); ++k) {
                const std::uint8_t* p = in + 3 * (span.first + static_cast<int>(k));
                const auto part = static_cast<std::uint32_t>(span.parts[k]);
                r += p[0] * part;
                g += p[1] * part;
                b += p[2] * part;
            }
            out[3 * x] = r;
            out[3 * x + 1] = g;
            out[3 * x + 2] = b;
        }
    }
    // Then down: each thumbnail pixel's weights add up to w * h.
    Image result(width, height);
    const std::uint64_t total = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
    for (int y = 0; y < height; ++y) {
        const Span& span = rows[static_cast<std::size_t>(y)];
        std::uint8_t* out = result.data() + result.bytesPerLine() * y;
        for (int i = 0; i < width * 3; ++i) {
            std::uint64_t sum = 0;
            for (std::size_t k = 0; k < span.parts.size(); ++k) {
                const std::size_t sourceRow = static_cast<std::size_t>(span.first) + k;
                sum += static_cast<std::uint64_t>(across[sourceRow * width * 3 + i]) *
                       static_cast<std::uint64_t>(span.parts[k]);
            }
            out[i] = static_cast<std::uint8_t>((sum + total / 2) / total);
        }
    }
    return result;
}

Image enlarge(const Image& picture, int factor) {
    Image result(picture.width() * factor, picture.height() * factor);
    for (int y = 0; y < result.height(); ++y) {
        const std::uint8_t* in = picture.data() + picture.bytesPerLine() * (y / factor);
        std::uint8_t* out = result.data() + result.bytesPerLine() * y;
        for (int x = 0; x < result.width(); ++x)
            std::copy_n(in + 3 * (x / factor), 3, out + 3 * x);
    }
    return result;
}

// Why `input` cannot be read as a picture, or empty; `status` is the file's. Only a
// regular file is opened at all, and without waiting, so a FIFO cannot hold the thumbnailer.
std::string openProblem(const std::filesystem::path& input, struct stat& status) {
    const int fd = ::open(input.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    const bool known = ::fstat(fd, &status) == 0;
    const int error = errno;
    ::close(fd);
    if (!known)
        return std::strerror(error);
    if (S_ISDIR(status.st_mode))
        return "is a folder";
    if (!S_ISREG(status.st_mode))
        return "is not a regular file";
    return {};
}

} // namespace

Size fittedSize(int width, int height, int maxSide) {
    if (width <= 0 || height <= 0 || maxSide <= 0)
        return {};
    const int longer = std::max(width, height);
    if (longer <= maxSide) {
        const int factor = maxSide / longer;
        return {width * factor, height * factor};
    }
    // The longer side becomes maxSide; the shorter one is rounded, but never to nothing.
    const auto scaled = [&](int side) {
        const long long v = (static_cast<long long>(side) * maxSide + longer / 2) / longer;
        return static_cast<int>(std::max(1LL, v));
    };
    return {scaled(width), scaled(height)};
}

Image fitInto(const Image& picture, int maxSide) {
    const Size size = fittedSize(picture.width(), picture.height(), maxSide);
    if (size.width == 0)
        return Image(0, 0);
    if (std::max(picture.width(), picture.height()) <= maxSide)
        return enlarge(picture, size.width / picture.width());
    return averageDown(picture, size.width, size.height);
}

Made makeThumbnail(const std::filesystem::path& input, int maxSide, const C64Colours& colours) {
    struct stat in {};
    if (std::string problem = openProblem(input, in); !problem.empty())
        return {Image(0, 0), std::move(problem)};
    if (diskContainerForFile(input)) {
        Sheet sheet = contactSheet(input, maxSide, colours);
        if (sheet.image.empty())
            return {Image(0, 0), sheet.error.empty() ? "the sheet has no pixels" : sheet.error};
        return {std::move(sheet.image), {}};
    }
    DecodeOptions options;
    options.fileSize = static_cast<std::uint64_t>(in.st_size);
    Decoded decoded = decodeFile(input, options);
    if (!decoded.accepted)
        return {Image(0, 0),
                decoded.reason.empty() ? "not a picture Quendra can read" : decoded.reason};
    applyPalette(decoded.picture, colours);
    Image thumbnail = fitInto(decoded.picture.toRgb(), maxSide);
    if (thumbnail.empty())
        return {Image(0, 0), "the picture has no pixels"};
    return {std::move(thumbnail), {}};
}

} // namespace quendra::thumbnail
