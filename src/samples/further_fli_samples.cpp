// Sample pictures of the further FLI formats.
#include <algorithm>

#include "samples/further_pictures.h"

namespace quendra::samples {

namespace {

ByteVector concat(ByteVector head, const ByteVector& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// Colour memory, screens and bitmap of frames[0] at the given offsets, in `length` bytes.
ByteVector fliFile(const FliPicture& p, std::size_t length, std::uint16_t loadAddress,
                   std::size_t colour, std::size_t screens, std::size_t bitmap) {
    ByteVector f = zeroFile(length, loadAddress);
    putBytes(f, colour, std::span(p.colour).first(1000));
    putScreens(f, screens, p.frames[0]);
    putBytes(f, bitmap, std::span(p.frames[0].bitmap).first(8000));
    return f;
}

} // namespace

void appendFliSamples(std::vector<FurtherSample>& all) {
    all.push_back({"fli-fd2.fd2", makeFliDesigner(fliPattern(50)), 296, 200});

    // .flm packed: the image without load address, read backwards; the escape ends it.
    const FliPicture flm = fliPattern(51);
    ByteVector flmImage = fliFile(flm, 17282, 0, 2, 1026, 9218);
    flmImage.erase(flmImage.begin(), flmImage.begin() + 2);
    flmImage[17279] = 14;
    ByteVector flmFile =
        concat({0x00, 0x3C}, escapeRuns(flmImage, 0xD7, RunCount::zeroIs256, true));
    flmFile.push_back(0xD7);
    all.push_back({"fli-background-flm.flm", flmFile, 296, 200});

    const FliPicture fed = fliPattern(52);
    ByteVector fedFile = fliFile(fed, 17665, 0x3B00, 258, 1282, 9474);
    putBytes(fedFile, 8, fed.frames[0].backgrounds);
    all.push_back({"fli-table-fed.fed", fedFile, 296, 200});

    ByteVector fbiImage = fliFile(fliPattern(53), 17218, 0, 2, 1026, 9218);
    fbiImage.erase(fbiImage.begin(), fbiImage.begin() + 2);
    all.push_back(
        {"fli-packed-fbi.fbi",
         concat({0x00, 0x3C, 0x9B}, escapeRuns(fbiImage, 0x9B, RunCount::zeroIs256, true)), 296,
         200});

    const FliPicture emc = fliPattern(54);
    ByteVector emcFile = fliFile(emc, 17412, 0x4000, 16386, 2, 8194);
    emcFile[17411] = 9;
    all.push_back({"emc-emc.emc", emcFile, 296, 192});

    const FliPicture hcb = fliPattern(55);
    ByteVector hcbFile = zeroFile(12148, 0x4000);
    putBytes(hcbFile, 2050, std::span(hcb.frames[0].screens[0]).first(1000));
    putBytes(hcbFile, 3074, std::span(hcb.frames[0].screens[4]).first(1000));
    putBytes(hcbFile, 4098, std::span(hcb.frames[0].bitmap).first(8000));
    putBytes(hcbFile, 12098, std::span(hcb.frames[0].backgrounds).first(50));
    all.push_back({"hcb-hcb.hcb", hcbFile, 296, 200});

    // ECI packed (.ecp): escape byte 2, a forward stream of the image after the load address.
    const FliPicture eci = fliPattern(56);
    ByteVector eciImage = zeroFile(32770, 0x4000);
    putBytes(eciImage, 2, std::span(eci.frames[0].bitmap).first(8000));
    putScreens(eciImage, 8194, eci.frames[0]);
    putBytes(eciImage, 16386, std::span(eci.frames[1].bitmap).first(8000));
    putScreens(eciImage, 24578, eci.frames[1]);
    all.push_back({"eci-ecp.ecp",
                   concat({0x00, 0x40, 0xEC}, escapeRuns(std::span(eciImage).subspan(2), 0xEC,
                                                         RunCount::zeroIsNothing)),
                   296, 200});

    ByteVector cfli = zeroFile(8170, 0x4000);
    putScreens(cfli, 2, fliPattern(57).frames[0]);
    all.push_back({"cfli-cfli.cfli", std::move(cfli), 296, 200});

    // FLI Profi: FLI with sprites and their colours over the left 24 pixels.
    const FliPicture fpr = fliPattern(58);
    ByteVector fprFile = fliFile(fpr, 18370, 0x3800, 1154, 2178, 10370);
    putBytes(fprFile, 2, std::span(fpr.frames[1].bitmap).first(640));
    putBytes(fprFile, 642, fpr.frames[0].backgrounds);
    putBytes(fprFile, 898, fpr.frames[1].backgrounds);
    fprFile[1098] = 7;
    fprFile[1099] = 13;
    all.push_back({"fli-profi-fpr.fpr", fprFile, 320, 200});
}

} // namespace quendra::samples
