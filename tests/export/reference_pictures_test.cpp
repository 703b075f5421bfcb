// The readers against an independent decoder: every made file of ../shared/reference/further
// and every real file of ../shared/real-samples, read on the one road and drawn in the Pepto
// palette, must give the pixels of the common converter's picture of it (read with the PNG
// reader). FunPainter 2 is drawn by rules of its own (320 wide, its blend table) and is
// checked by eye only.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "decode/open_picture.h"
#include "decode/palettes.h"
#include "export/pc_image_reader.h"
#include "shared_folder.h"

namespace quendra {
namespace {

namespace fs = std::filesystem;

// The first difference between `file` read as a picture and the reference `png`; empty
// when they are the same.
std::string differenceFromReference(const fs::path& file, const fs::path& png) {
    OpenedPicture opened = openPictureFile(file, {});
    if (!opened.accepted())
        return "refused: " + opened.decoded.reason;
    IndexedImage& picture = opened.decoded.picture;
    applyPalette(picture, findPalette("pepto")->colours);
    std::ifstream in(png, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    Image reference;
    if (const std::string why = readPcPicture(bytes, reference); !why.empty())
        return "reference: " + why;
    if (picture.width() != reference.width() || picture.height() != reference.height()) {
        return std::to_string(picture.width()) + " x " + std::to_string(picture.height()) +
               ", not " + std::to_string(reference.width()) + " x " +
               std::to_string(reference.height());
    }
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != reference.pixel(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs";
        }
    }
    return {};
}

// Each file of `folder` that has a reference NAME.png in `references`; how many.
int expectReferencePixels(const fs::path& folder, const fs::path& references) {
    int checked = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const fs::path reference = references / (entry.path().filename().string() + ".png");
        if (!entry.is_regular_file() || !fs::exists(reference) ||
            entry.path().extension() == ".fp2")
            continue;
        EXPECT_EQ(differenceFromReference(entry.path(), reference), "") << entry.path();
        ++checked;
    }
    return checked;
}

TEST(ReferencePictures, EveryMadeFileOfTheFurtherFormats) {
    const fs::path folder = testing::sharedFolder("reference/further");
    QUENDRA_NEED_FOLDER(folder);
    EXPECT_EQ(expectReferencePixels(folder, folder), 122);
}

TEST(ReferencePictures, EveryRealFileButFunPainter) {
    const fs::path folder = testing::sharedFolder("real-samples");
    QUENDRA_NEED_FOLDER(folder);
    const fs::path references = testing::sharedFolder("reference/real");
    EXPECT_EQ(expectReferencePixels(folder, references) +
                  expectReferencePixels(folder / "more", references),
              37);
}

} // namespace
} // namespace quendra
