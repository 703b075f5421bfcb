#include "decode/counted.h"
#include "thumbnailer/contact_sheet.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "decode/disk_pictures.h"
#include "thumbnailer/thumbnail_picture.h"

namespace quendra::thumbnail {

namespace {

constexpr Rgb kGround{48, 48, 48};

void place(Image& sheet, const Image& picture, int left, int top, int cell) {
    const int x0 = left + (cell - picture.width()) / 2;
    const int y0 = top + (cell - picture.height()) / 2;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            sheet.setPixel(x0 + x, y0 + y, picture.pixel(x, y));
    }
}

} // namespace

Sheet contactSheet(const std::filesystem::path& path, int maxSide, const C64Colours& colours) {
    Sheet sheet;
    const OpenedDisk opened = readDiskImage(path);
    if (!opened.image) {
        sheet.error = opened.error;
        return sheet;
    }
    std::vector<Image> pictures;
    // Entries that share their data with one tried before (a T64's many names for one file)
    // would only show its picture again: each piece of data is decoded once.
    std::set<std::tuple<std::uint32_t, std::uint64_t, std::vector<std::uint8_t>>> tried;
    for (const DiskEntry& entry : opened.image->entries()) {
        if (!entry.pieces.empty() &&
            !tried.emplace(entry.pieces.front().offset, entry.length, entry.leading).second)
            continue;
        EntryPicture found = decodeEntry(*opened.image, entry, {});
        if (!found.format)
            continue;
        applyPalette(found.decoded.picture, colours);
        pictures.push_back(found.decoded.picture.toRgb());
        if (pictures.size() == kSheetPictures)
            break;
    }
    if (pictures.empty()) {
        sheet.error = "holds no picture among its " +
                      counted(opened.image->entries().size(), "entry", "entries");
        return sheet;
    }
    const int gap = std::max(1, maxSide / 64);
    const int cell = (maxSide - gap) / 2;
    if (pictures.size() == 1 || cell < 1) {
        sheet.image = fitInto(pictures.front(), maxSide);
        return sheet;
    }
    const int rows = pictures.size() > 2 ? 2 : 1;
    sheet.image = Image(maxSide, rows * cell + (rows - 1) * gap);
    for (int y = 0; y < sheet.image.height(); ++y) {
        for (int x = 0; x < sheet.image.width(); ++x)
            sheet.image.setPixel(x, y, kGround);
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const int column = static_cast<int>(i % 2), row = static_cast<int>(i / 2);
        place(sheet.image, fitInto(pictures[i], cell), column * (cell + gap),
              row * (cell + gap), cell);
    }
    return sheet;
}

} // namespace quendra::thumbnail
