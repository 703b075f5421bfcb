// The one road of every program: each sample and each real file is read as the same format
// with the same pixels by the viewer's call (openPictureFile) and by the converter (its
// -v line and its PNG), and as the format and pixels it had when this table was made; and
// real files changed as users meet them (another load address, a cut tail, a foreign file
// under a picture's name) are shown as their format or refused with a reason.
#include <gtest/gtest.h>

#include <QImage>

#include "components/image_library.h"
#include "convert/convert.h"
#include "decode/open_picture.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

namespace quendra {
namespace {

namespace fs = std::filesystem;

const fs::path kReal = fs::path(QUENDRA_SOURCE_DIR) / "../shared/real-samples";

struct Shown {
    const char* file; // a sample's name, or a path under ../shared/
    const char* format;
    std::uint64_t digest; // of the RGB pixels and the size
};

// Made before the registry was tidied; a change of pixels or of the format named fails.
const Shown kShown[] = {
    {"koala.koa", "Koala Painter", 0x39f127aabbf2f384ull},
    {"runpaint.rpm", "RunPaint", 0xc5a8f2cf9e1faef8ull},
    {"art-studio-multicolour.ocp", "Art Studio", 0xf5cce50e07125ea6ull},
    {"art-studio-hires.ocp", "Art Studio hires", 0x87ba8314c80c7d74ull},
    {"amica.ami", "Amica Paint", 0xb59bcad50265ce18ull},
    {"koala-compressed.gg", "Koala compressed", 0xeb6ccdf2d8362616ull},
    {"doodle.dd", "Doodle", 0x87ba8314c80c7d74ull},
    {"doodle-compressed.jj", "Doodle compressed", 0xdd70cd42d262708cull},
    {"printfox-screen.bs", "Printfox screen", 0x49243afed14ba354ull},
    {"printfox-large.gb", "Printfox large", 0xa6facab4dbc5f2ceull},
    {"pagefox-page.pg", "Pagefox", 0x81944246a2e92f24ull},
    {"funpainter.fp2", "FunPainter 2", 0xbdb5dc52af20d340ull},
    {"fli-designer.fli", "FLI Designer", 0x8ff5fe9348f56c7eull},
    {"fli-graph.bml", "FLI Graph", 0x46ce1c3e62412ee0ull},
    {"afli.afl", "AFLI", 0x9a9b101b571a192eull},
    {"hires-fli.hfc", "Hires FLI", 0x1cb73bb2ce0cb3b5ull},
    {"bfli.bfli", "BFLI", 0x6ae9a9a3fc475d07ull},
    {"true-paint.mci", "True Paint", 0xe4316e627a558273ull},
    {"drazlace.drl", "Drazlace", 0x2ebd634c342b6f1eull},
    {"gunpaint.gun", "Gunpaint", 0xc5edffa2fb9442a2ull},
    {"ffli.ffli", "FFLI", 0xc01f4ad8bdd51ae6ull},
    {"drazpaint.drp", "Drazpaint", 0x6e0f60542b0d3eaaull},
    {"hires-interlace.hlf", "Hires-Interlace", 0x1d694d580373b02aull},
    {"godot.4bt", "GoDot 4Bit", 0x7f00d575bb0a7e00ull},
    {"godot-clip.clp", "GoDot 4Bit clip", 0x989ae01f4d750c5bull},
    {"art-studio-hires-art.art", "Art Studio hires", 0x87ba8314c80c7d74ull},
    {"interpaint-hires.iph", "Interpaint hires", 0x993d937788db491cull},
    {"interpaint.ipt", "Interpaint multicolour", 0xccf8291aa8e86feaull},
    {"hi-eddi.hed", "Hi-Eddi", 0xdd70cd42d262708cull},
    {"image-system-hires.ish", "Image System hires", 0x6656d1b8e84e2898ull},
    {"hires-bitmap.hbm", "Hires bitmap", 0x65bc81218f6d412cull},
    {"hires-bitmap-inverted.gih", "Hires bitmap, inverted", 0xa79d2505429f829cull},
    {"koala-pc.kla", "Koala Painter (.kla)", 0x324b50f90ed77c44ull},
    {"advanced-art-studio.mpic", "Advanced Art Studio", 0x5663163c1e140e7cull},
    {"blazing-paddles.pi", "Blazing Paddles", 0xfa2340aa98558da2ull},
    {"artist-64.a64", "Artist 64", 0xcc4d98c83fea5042ull},
    {"vidcom-64.vid", "Vidcom 64", 0x06e33f391b306f10ull},
    {"image-system.ism", "Image System multicolour", 0x0ed80ed6f4ac4470ull},
    {"saracen-paint.sar", "Saracen Paint", 0xa3730af50cece4aaull},
    {"paint-magic.pmg", "Paint Magic", 0x7164c700dbcf6068ull},
    {"rainbow-painter.rp", "Rainbow Painter", 0x2f1e30149c24904cull},
    {"hires-manager.him", "Hires Manager", 0xf39d9913b2e4e85dull},
    {"real-samples/64er.ami", "Amica Paint", 0x5cd24c9196960932ull},
    {"real-samples/DDC64_COMPUTER.dd", "Doodle", 0xa62e648e44bb3d5aull},
    {"real-samples/FUCHS1_GB.gb", "Printfox large", 0x0edbb5cf066e3cd8ull},
    {"real-samples/GGFAT.gg", "Koala compressed", 0x182f9bdceda7ff78ull},
    {"real-samples/JJMACROSS.jj", "Doodle compressed", 0x3c4f51d246194c2cull},
    {"real-samples/KATER.fp2", "FunPainter 2", 0xef0ce7d758419762ull},
    {"real-samples/KATZE_BS.bs", "Printfox screen", 0x1d9d7377da65fe1bull},
    {"real-samples/NINJA3.koa", "Koala Painter", 0xd5a2f0b66896c69aull},
    {"real-samples/Valsary_fun.fp2", "FunPainter 2", 0xdcbdaeba8803ab7cull},
    {"real-samples/coaster.rpm", "RunPaint", 0x97ec71546705da00ull},
    {"real-samples/foxi.pg", "Pagefox", 0x65d416fabdab5c34ull},
    {"real-samples/parallax.ocp", "Art Studio", 0x21e8ebd524449bccull},
    {"real-samples/more/ALAPALOOZA.bml", "FLI Graph", 0x1728501c837bab32ull},
    {"real-samples/more/AMBER.hbm", "Hires bitmap", 0xb8b76360e2ddadfeull},
    {"real-samples/more/Cyber30a-x.rp", "Rainbow Painter", 0x77e0812c53e00ae2ull},
    {"real-samples/more/DEMOPIC.hfc", "Hires FLI", 0x75c646bd5c6abadeull},
    {"real-samples/more/GFUCHS.gih", "Hires bitmap, inverted", 0x02b04d16e0ff6193ull},
    {"real-samples/more/Gunpaint.gun", "Gunpaint", 0x857893410d9b572eull},
    {"real-samples/more/Hii-Eddi.hed", "Hi-Eddi", 0x3897b1982bbe765cull},
    {"real-samples/more/INTERPHIRES.iph", "Interpaint hires", 0x8f0e51fcc95d2f9bull},
    {"real-samples/more/NavySeals.mpic", "Advanced Art Studio", 0x28654cd25a6ff078ull},
    {"real-samples/more/PPA3BYI.a64", "Artist 64", 0x2fa8e4d0a8b3aeaaull},
    {"real-samples/more/Samar.ipt", "Interpaint multicolour", 0x18fc34620e812a36ull},
    {"real-samples/more/UNIHORSE.pmg", "Paint Magic", 0xad7f8679d5cbd906ull},
    {"real-samples/more/apo343.vid", "Vidcom 64", 0x01d6878796e048f0ull},
    {"real-samples/more/cpu.fli", "FLI Designer", 0x4c8a2a9f7677ac02ull},
    {"real-samples/more/hands.fli", "FLI Graph", 0xb7e78d156ca5ebc2ull},
    {"real-samples/more/imagesys_test_multi.ism", "Image System multicolour", 0x27b032edc265bf40ull},
    {"real-samples/more/kira.bfli", "BFLI", 0x5bbf12c3232df9e7ull},
    {"real-samples/more/logo.afl", "AFLI", 0x588e2ddaaa7279bdull},
    {"real-samples/more/logo2_packed.him", "Hires Manager", 0xe182a7e439f26351ull},
    {"real-samples/more/madhead.drl", "Drazlace", 0xff7679463b3d0282ull},
    {"real-samples/more/mspixcen.kla", "Koala Painter (.kla)", 0x8b9cc3d9abe90228ull},
    {"real-samples/more/parrot_3aff.ffli", "FFLI", 0x41912c5bab97f802ull},
    {"real-samples/more/ritratto.sar", "Saracen Paint", 0x8fedd281e68636dcull},
    {"real-samples/more/test.mci", "True Paint", 0xbe72e466cfa80e2full},
    {"real-samples/more/tomahawk-fromzx.art", "Art Studio hires", 0x9328926137929dc6ull},
    {"real-samples/more/tyrant_1.drl", "Drazlace", 0x6fb8616faac69614ull},
    {"real-samples/more/worldmap.pi", "Blazing Paddles", 0x8cdcd381015df5e4ull},
};

class Fnv {
  public:
    void add(std::uint8_t b) { h_ = (h_ ^ b) * 1099511628211ull; }
    void add32(int v) {
        for (int i = 0; i < 4; ++i)
            add(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::uint64_t value() const { return h_; }

  private:
    std::uint64_t h_ = 1469598103934665603ull;
};

std::uint64_t digestOf(const Image& rgb) {
    Fnv h;
    h.add32(rgb.width());
    h.add32(rgb.height());
    for (std::size_t i = 0; i < rgb.bytesPerLine() * static_cast<std::size_t>(rgb.height()); ++i)
        h.add(rgb.data()[i]);
    return h.value();
}

std::uint64_t digestOf(const QImage& picture) {
    Fnv h;
    h.add32(picture.width());
    h.add32(picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            h.add(static_cast<std::uint8_t>(qRed(p)));
            h.add(static_cast<std::uint8_t>(qGreen(p)));
            h.add(static_cast<std::uint8_t>(qBlue(p)));
        }
    }
    return h.value();
}

TEST(OneRoad, ViewerAndConverterNameTheSameFormatAndShowTheSamePixels) {
    testing::TempDir dir;
    for (const samples::SampleFile& f : samples::allSampleFiles())
        testing::writeBytes(dir / f.name, f.bytes);
    const bool real = fs::is_directory(kReal);
    if (!real)
        std::cout << "../shared/real-samples is missing: the real files are not checked\n";
    for (const Shown& shown : kShown) {
        const std::string name = shown.file;
        const bool isReal = name.starts_with("real-samples/");
        if (isReal && !real)
            continue;
        SCOPED_TRACE(name);
        const fs::path path = isReal ? kReal / ".." / name : dir / name;
        const OpenedPicture viewer = openPictureFile(path, {});
        ASSERT_TRUE(viewer.accepted()) << viewer.decoded.reason;
        EXPECT_EQ(viewer.format->name, shown.format);
        EXPECT_EQ(digestOf(viewer.decoded.picture.toRgb()), shown.digest);

        const fs::path png = dir / "out.png";
        convert::Options options;
        options.force = true;
        options.verbose = true;
        const convert::Outcome outcome = convert::convertFile(path.string(), png, options);
        ASSERT_TRUE(outcome.converted) << outcome.message;
        EXPECT_TRUE(outcome.message.ends_with(" (" + std::string(shown.format) + ")"))
            << outcome.message;
        QImage back;
        ASSERT_TRUE(imagelib::readPNG(QString::fromStdString(png.string()), 0, false, back).ok());
        EXPECT_EQ(digestOf(back), shown.digest);
    }
}

struct Changed {
    const char* from; // under ../shared/real-samples, or "sample:" and a sample's name
    const char* as;   // the changed file's name
    enum { keep, zeroAddress, cutTo, foreign } change;
    std::size_t length; // cutTo: the bytes kept; foreign: the length
    const char* format; // the format that shows it; empty: refused
};

// A file whose only fault is its load address is its name's format, with a note; a format
// that takes its length alone does not draw it. A cut or foreign file is refused.
const Changed kChanged[] = {
    {"DDC64_COMPUTER.dd", "zero.dd", Changed::zeroAddress, 0, "Doodle"},
    {"DDC64_COMPUTER.dd", "dd.zero", Changed::zeroAddress, 0, "Doodle"},
    {"NINJA3.koa", "zero.koa", Changed::zeroAddress, 0, "Koala Painter"},
    {"NINJA3.koa", "cut.koa", Changed::cutTo, 5000, ""},
    // The run-length formats of the first programs draw what their data does not reach as
    // 0 (their format rules say so, and keep the pictures of files that end early): Koala
    // compressed, Amica Paint, Doodle compressed, Printfox and Pagefox, FunPainter 2, GoDot.
    {"GGFAT.gg", "cut.gg", Changed::cutTo, 2000, "Koala compressed"},
    {"64er.ami", "cut.ami", Changed::cutTo, 2000, "Amica Paint"},
    {"JJMACROSS.jj", "cut.jj", Changed::cutTo, 2000, "Doodle compressed"},
    {"FUCHS1_GB.gb", "cut.gb", Changed::cutTo, 1000, "Printfox large"},
    {"foxi.pg", "cut.pg", Changed::cutTo, 1000, "Pagefox"},
    {"KATER.fp2", "cut.fp2", Changed::cutTo, 5000, "FunPainter 2"},
    {"sample:godot.4bt", "cut.4bt", Changed::cutTo, 2000, "GoDot 4Bit"},
    {"sample:godot-clip.clp", "cut.clp", Changed::cutTo, 500, "GoDot 4Bit clip"},
    {"more/cpu.fli", "cut.fli", Changed::cutTo, 1000, ""},
    {"more/cpu.fli", "cut2.fli", Changed::cutTo, 10000, ""},
    // A plain FLI Graph picture cut short is no packed one, though it would unpack.
    {"more/hands.fli", "cut3.fli", Changed::cutTo, 12000, ""},
    {"more/ALAPALOOZA.bml", "cut.bml", Changed::cutTo, 10485, ""},
    {"more/test.mci", "cut.mci", Changed::cutTo, 18000, ""},
    {"sample:super-hires-sh1.sh1", "cut.sh1", Changed::cutTo, 8863, ""},
    {"more/madhead.drl", "cut.drl", Changed::cutTo, 1000, ""},
    // Doodle's length, but Hi-Eddi's load address: the stronger evidence wins.
    {"more/Hii-Eddi.hed", "menu.dd", Changed::keep, 0, "Hi-Eddi"},
    {"NINJA3.koa", "anim.fli", Changed::foreign, 4002, ""},
    {"NINJA3.koa", "package.rpm", Changed::foreign, 6000, ""},
    {"NINJA3.koa", "notes.txt", Changed::foreign, 640, ""},
};

TEST(OneRoad, OddLoadAddressesCutTailsAndForeignFiles) {
    if (!fs::is_directory(kReal))
        GTEST_SKIP() << "../shared/real-samples is missing";
    testing::TempDir dir;
    for (const Changed& c : kChanged) {
        SCOPED_TRACE(c.as);
        const std::string from = c.from;
        std::string original;
        if (from.starts_with("sample:")) {
            for (const samples::SampleFile& f : samples::allSampleFiles()) {
                if (f.name == from.substr(7))
                    original.assign(f.bytes.begin(), f.bytes.end());
            }
            ASSERT_FALSE(original.empty()) << from;
        } else {
            original = testing::slurp(kReal / c.from);
        }
        std::string bytes = original;
        if (c.change == Changed::zeroAddress) {
            bytes[0] = bytes[1] = 0;
        } else if (c.change == Changed::cutTo) {
            bytes.resize(c.length);
        } else if (c.change == Changed::foreign) {
            // A FLIC animation's header, an RPM package's lead, or text: nothing a C64 wrote.
            bytes.assign(c.length, 'x');
            const std::string head = c.length == 4002 ? std::string("\xA2\x0F\0\0\x11\xAF", 6)
                                                      : std::string("\xED\xAB\xEE\xDB\x03\0", 6);
            bytes.replace(0, head.size(), head);
        }
        testing::writeBytes(dir / c.as, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        const OpenedPicture opened = openPictureFile(dir / c.as, {});
        if (*c.format) {
            ASSERT_TRUE(opened.accepted()) << opened.decoded.reason;
            EXPECT_EQ(opened.format->name, c.format);
            if (c.change != Changed::zeroAddress) {
                EXPECT_EQ(opened.note, "");
                continue;
            }
            EXPECT_NE(opened.note.find("loads at $0000"), std::string::npos) << opened.note;
            std::string fixed = bytes;
            fixed[0] = original[0];
            fixed[1] = original[1];
            testing::writeBytes(dir / "fixed.bin",
                                std::vector<std::uint8_t>(fixed.begin(), fixed.end()));
            const fs::path named = dir / (std::string("fixed") + fs::path(c.from).extension().string());
            fs::rename(dir / "fixed.bin", named);
            EXPECT_EQ(opened.decoded.picture, openPictureFile(named, {}).decoded.picture);
        } else {
            EXPECT_FALSE(opened.accepted()) << (opened.format ? opened.format->name : "");
            EXPECT_TRUE(opened.decoded.reason.starts_with(
                "not a C64 picture (" + std::to_string(bytes.size()) + " bytes"))
                << opened.decoded.reason;
            const auto r = testing::runTool("quendra-convert", {c.as}, dir.path());
            EXPECT_EQ(r.status, 1) << r.err;
        }
    }
}

} // namespace
} // namespace quendra
