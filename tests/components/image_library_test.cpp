// The image library binding: files it writes are standard files of their format (read back
// here through the library and, where Qt reads the format, through Qt as well), colours
// survive exactly, flip and rotate move pixels where they belong, and failures come back
// as a status with a message.
#include "components/image_library.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <array>
#include <csignal>
#include <set>
#include <thread>

#include "decode/palette.h"

namespace quendra::imagelib {
namespace {

QList<QRgb> c64Table() {
    QList<QRgb> t;
    for (const Rgb& c : kC64Palette)
        t.push_back(qRgb(c.r, c.g, c.b));
    return t;
}

// Every C64 colour in a pattern that no flip or turn maps onto itself.
QImage sixteenColours(int w = 37, int h = 23) {
    QImage img(w, h, QImage::Format_Indexed8);
    img.setColorTable(c64Table());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, static_cast<uint>((x * 7 + y * 3 + x * y) % 16));
    }
    return img;
}

QImage manyColours(int w = 40, int h = 30) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
    }
    return img;
}

// Pixel colours as one comparable list, whatever the QImage format.
std::vector<QRgb> colours(const QImage& img) {
    std::vector<QRgb> out;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x)
            out.push_back(img.pixel(x, y) | 0xff000000u);
    }
    return out;
}

std::set<QRgb> distinct(const QImage& img) {
    const auto c = colours(img);
    return {c.begin(), c.end()};
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

unsigned u16le(const QByteArray& b, int at) {
    return static_cast<uchar>(b[at]) | static_cast<uchar>(b[at + 1]) << 8;
}

// An independent reader of the PCX files the library writes: one plane of 8 bits (with
// the 256-colour palette after the data) or of 1 bit (black and white), run-length coded.
QImage decodePcx(const QByteArray& b) {
    if (b.size() < 128 || b[0] != 0x0A || b[2] != 1)
        return {};
    const int bits = static_cast<uchar>(b[3]), planes = static_cast<uchar>(b[65]);
    const int w = static_cast<int>(u16le(b, 8) - u16le(b, 4) + 1);
    const int h = static_cast<int>(u16le(b, 10) - u16le(b, 6) + 1);
    const int perLine = static_cast<int>(u16le(b, 66));
    if (planes != 1 || (bits != 8 && bits != 1))
        return {};
    std::vector<uchar> data;
    int p = 128;
    while (static_cast<int>(data.size()) < perLine * h && p < b.size()) {
        const uchar c = static_cast<uchar>(b[p++]);
        if ((c & 0xC0) == 0xC0 && p < b.size()) {
            data.insert(data.end(), c & 0x3F, static_cast<uchar>(b[p++]));
        } else {
            data.push_back(c);
        }
    }
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (bits == 8) {
                const int i = data[static_cast<std::size_t>(y * perLine + x)];
                const int at = static_cast<int>(b.size()) - 768 + 3 * i;
                img.setPixel(x, y,
                             qRgb(static_cast<uchar>(b[at]), static_cast<uchar>(b[at + 1]),
                                  static_cast<uchar>(b[at + 2])));
            } else {
                const uchar byte = data[static_cast<std::size_t>(y * perLine + x / 8)];
                img.setPixel(x, y, (byte >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            }
        }
    }
    return img;
}

// The value of one tag of a TIFF's first directory (little-endian files, SHORT or LONG).
long tiffTag(const QByteArray& b, unsigned tag) {
    if (b.size() < 8 || b.left(4) != QByteArray("II*\0", 4))
        return -1;
    auto u32 = [&](int at) { return u16le(b, at) | u16le(b, at + 2) << 16; };
    const int ifd = static_cast<int>(u32(4));
    const unsigned count = u16le(b, ifd);
    for (unsigned i = 0; i < count; ++i) {
        const int e = ifd + 2 + 12 * static_cast<int>(i);
        if (u16le(b, e) == tag)
            return u16le(b, e + 2) == 3 ? u16le(b, e + 8) : u32(e + 8);
    }
    return -1;
}

struct Lossless {
    const char* name;
    Status (*write)(const QString&, int, const QImage&);
    Status (*read)(const QString&, int, bool, QImage&);
};

Status writePngPlain(const QString& f, int d, const QImage& i) {
    return writePNG(f, d, false, i);
}
Status writeTiffLzw(const QString& f, int d, const QImage& i) {
    return writeTIFF(f, 5, d, i);
}

const Lossless kLossless[] = {
    {"png", writePngPlain, readPNG}, {"gif", writeGIF, readGIF},      {"bmp", writeBMP, readBMP},
    {"pcx", writePCX, readPCX},      {"tif", writeTiffLzw, readTIFF},
};

class ImageLibraryTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ImageLibraryTest, SixteenColoursSurviveEveryLosslessFormatExactly) {
    for (const QImage& source :
         {sixteenColours(), sixteenColours().convertToFormat(QImage::Format_RGB32)}) {
        for (const Lossless& f : kLossless) {
            SCOPED_TRACE(f.name);
            const QString file = path(QStringLiteral("pic.") + f.name);
            for (int depth : {0, 4, 8, 24}) {
                SCOPED_TRACE(depth);
                const Status w = f.write(file, depth, source);
                ASSERT_TRUE(w.ok()) << w.message.toStdString();
                QImage back;
                const Status r = f.read(file, 0, false, back);
                ASSERT_TRUE(r.ok()) << r.message.toStdString();
                EXPECT_EQ(back.size(), source.size());
                EXPECT_EQ(colours(back), colours(source));
                // Indexed where the picture has at most 256 colours and the depth allows.
                if (depth != 24) {
                    EXPECT_EQ(back.format(), QImage::Format_Indexed8);
                }
            }
        }
    }
}

TEST_F(ImageLibraryTest, WrittenFilesAreStandardFilesOtherReadersShowTheSame) {
    const QImage source = sixteenColours();
    for (const Lossless& f : kLossless) {
        SCOPED_TRACE(f.name);
        const QString file = path(QStringLiteral("std.") + f.name);
        ASSERT_TRUE(f.write(file, 0, source).ok());
        const QByteArray bytes = fileBytes(file);
        QImage other;
        if (QString(f.name) == "pcx") {
            other = decodePcx(bytes);
        } else if (QString(f.name) == "tif") {
            EXPECT_EQ(tiffTag(bytes, 262), 3); // a palette picture
            EXPECT_EQ(tiffTag(bytes, 258), 4); // four bits a pixel for 16 colours
            continue; // Qt has no TIFF reader; the library's own reader is libtiff
        } else {
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader reader(&buffer);
            EXPECT_EQ(reader.format().toStdString(), std::string(f.name));
            other = reader.read();
            ASSERT_FALSE(other.isNull()) << reader.errorString().toStdString();
        }
        EXPECT_EQ(colours(other), colours(source));
    }
    // PNG: a palette file of four bits a pixel.
    const QByteArray png = fileBytes(path("std.png"));
    EXPECT_EQ(png[24], 4); // IHDR bit depth
    EXPECT_EQ(png[25], 3); // IHDR colour type: palette
}

// Whether a file holds a time stamp where its format keeps one: PNG's tIME chunk, JPEG's
// Exif block, a TIFF DateTime tag. GIF, BMP and PCX have no place for one.
bool holdsTimeStamp(PictureFormat format, const QByteArray& file) {
    switch (format) {
    case PictureFormat::PNG:
        return file.contains("tIME");
    case PictureFormat::JPEG:
        return file.contains("Exif");
    case PictureFormat::TIFF: {
        const bool little = file.startsWith("II");
        const auto number = [&](qsizetype at, int bytes) -> quint32 {
            quint32 value = 0;
            for (int i = 0; i < bytes && at + i < file.size(); ++i) {
                const quint32 byte = static_cast<quint8>(file[at + (little ? bytes - 1 - i : i)]);
                value = value << 8 | byte;
            }
            return value;
        };
        for (quint32 ifd = number(4, 4); ifd != 0 && ifd + 2 <= quint32(file.size());) {
            const quint32 entries = number(ifd, 2);
            for (quint32 e = 0; e < entries; ++e) {
                if (number(ifd + 2 + 12 * e, 2) == 306) // DateTime
                    return true;
            }
            ifd = number(ifd + 2 + 12 * entries, 4);
        }
        return false;
    }
    default:
        return false;
    }
}

// No time stamps or other varying parts: a batch converter's output can be compared.
TEST_F(ImageLibraryTest, EncodingIsRepeatable) {
    const PictureFormat formats[] = {PictureFormat::BMP, PictureFormat::JPEG, PictureFormat::GIF,
                                     PictureFormat::PCX, PictureFormat::PNG,  PictureFormat::TIFF};
    std::vector<QByteArray> first;
    for (PictureFormat f : formats) {
        ASSERT_TRUE(encode(f, sixteenColours(), {.quality = 90}, first.emplace_back()).ok());
        EXPECT_FALSE(first.back().isEmpty());
    }
    for (std::size_t i = 0; i < std::size(formats); ++i) {
        EXPECT_FALSE(holdsTimeStamp(formats[i], first[i])) << static_cast<int>(formats[i]);
        QByteArray again;
        ASSERT_TRUE(encode(formats[i], sixteenColours(), {.quality = 90}, again).ok());
        EXPECT_EQ(again, first[i]) << static_cast<int>(formats[i]);
    }
}

TEST_F(ImageLibraryTest, DepthsLimitTheColoursOfTheFile) {
    const QImage rich = manyColours(); // 1200 colours
    for (const Lossless& f : kLossless) {
        SCOPED_TRACE(f.name);
        const QString file = path(QStringLiteral("d.") + f.name);
        QImage back;
        ASSERT_TRUE(f.write(file, 1, rich).ok());
        ASSERT_TRUE(f.read(file, 0, false, back).ok());
        for (QRgb c : distinct(back))
            EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255));
        ASSERT_TRUE(f.write(file, 4, rich).ok());
        ASSERT_TRUE(f.read(file, 0, false, back).ok());
        EXPECT_LE(distinct(back).size(), 16u);
        EXPECT_GT(distinct(back).size(), 8u);
        ASSERT_TRUE(f.write(file, 8, rich).ok());
        ASSERT_TRUE(f.read(file, 0, false, back).ok());
        EXPECT_LE(distinct(back).size(), 256u);
        EXPECT_GT(distinct(back).size(), 128u);
    }
    // True colour where the format has it: every pixel exact.
    for (int depth : {0, 24}) {
        QImage back;
        ASSERT_TRUE(writePNG(path("rich.png"), depth, false, rich).ok());
        ASSERT_TRUE(readPNG(path("rich.png"), 0, false, back).ok());
        EXPECT_EQ(colours(back), colours(rich));
        ASSERT_TRUE(writeBMP(path("rich.bmp"), depth, rich).ok());
        ASSERT_TRUE(readBMP(path("rich.bmp"), 0, false, back).ok());
        EXPECT_EQ(colours(back), colours(rich));
        ASSERT_TRUE(writeTIFF(path("rich.tif"), 32773, depth, rich).ok());
        ASSERT_TRUE(readTIFF(path("rich.tif"), 0, false, back).ok());
        EXPECT_EQ(colours(back), colours(rich));
    }
}

TEST_F(ImageLibraryTest, ReadersDeliverTheAskedDepth) {
    ASSERT_TRUE(writePNG(path("rich.png"), 24, false, manyColours()).ok());
    QImage img;
    ASSERT_TRUE(readPNG(path("rich.png"), 24, false, img).ok());
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    ASSERT_TRUE(readPNG(path("rich.png"), 8, true, img).ok());
    EXPECT_EQ(img.format(), QImage::Format_Indexed8);
    EXPECT_LE(distinct(img).size(), 256u);
    ASSERT_TRUE(readPNG(path("rich.png"), 4, false, img).ok());
    EXPECT_LE(distinct(img).size(), 16u);
    for (bool dither : {false, true}) {
        ASSERT_TRUE(readPNG(path("rich.png"), 1, dither, img).ok());
        for (QRgb c : distinct(img))
            EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255));
    }
    // A 16-colour file asked for 4 bits keeps its colours exactly.
    ASSERT_TRUE(writeGIF(path("c64.gif"), 8, sixteenColours()).ok());
    ASSERT_TRUE(readGIF(path("c64.gif"), 4, true, img).ok());
    EXPECT_EQ(colours(img), colours(sixteenColours()));
}

TEST_F(ImageLibraryTest, TiffCarriesTheAskedCompressionTag) {
    // Black and white, so that every code can store it exactly.
    QImage bw(50, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 50; ++x)
            bw.setPixel(x, y, (x / 3 + y / 2) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    for (int code : {1, 2, 5, 32773}) {
        SCOPED_TRACE(code);
        const QString file = path(QStringLiteral("c%1.tif").arg(code));
        const Status w = writeTIFF(file, code, 0, bw);
        ASSERT_TRUE(w.ok()) << w.message.toStdString();
        EXPECT_EQ(tiffTag(fileBytes(file), 259), code);
        QImage back;
        ASSERT_TRUE(readTIFF(file, 24, false, back).ok());
        EXPECT_EQ(colours(back), colours(bw));
    }
    // CCITT codes only black and white: a coloured picture is written at depth 1.
    ASSERT_TRUE(writeTIFF(path("fax.tif"), 2, 0, sixteenColours()).ok());
    EXPECT_EQ(tiffTag(fileBytes(path("fax.tif")), 258), 1);
    const Status bad = writeTIFF(path("bad.tif"), 3, 0, bw);
    EXPECT_EQ(bad.code, kBadArgument);
    EXPECT_FALSE(bad.message.isEmpty());
    EXPECT_FALSE(QFile::exists(path("bad.tif")));
}

TEST_F(ImageLibraryTest, PngInterlaceFlag) {
    ASSERT_TRUE(writePNG(path("i.png"), 0, true, sixteenColours()).ok());
    ASSERT_TRUE(writePNG(path("n.png"), 0, false, sixteenColours()).ok());
    EXPECT_EQ(fileBytes(path("i.png"))[28], 1); // IHDR interlace method: Adam7
    EXPECT_EQ(fileBytes(path("n.png"))[28], 0);
    QImage back;
    ASSERT_TRUE(readPNG(path("i.png"), 0, false, back).ok());
    EXPECT_EQ(colours(back), colours(sixteenColours()));
}

TEST_F(ImageLibraryTest, JpegQualitySmoothingAndGrey) {
    const QImage pic = sixteenColours(96, 64).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(writeJPEG(path("q90.jpg"), 90, 0, 24, pic).ok());
    ASSERT_TRUE(writeJPEG(path("q10.jpg"), 10, 0, 24, pic).ok());
    ASSERT_TRUE(writeJPEG(path("s100.jpg"), 90, 100, 24, pic).ok());
    ASSERT_TRUE(writeJPEG(path("grey.jpg"), 90, 0, 1, pic).ok());
    EXPECT_LT(fileBytes(path("q10.jpg")).size(), fileBytes(path("q90.jpg")).size());
    EXPECT_NE(fileBytes(path("s100.jpg")), fileBytes(path("q90.jpg")));

    // Qt reads them; quality 90 stays close to the picture, smoothing moves further away.
    auto meanError = [&](const QString& name) {
        const QImage back = QImage(path(name)).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(back.size(), pic.size());
        double sum = 0;
        for (int y = 0; y < pic.height(); ++y) {
            for (int x = 0; x < pic.width(); ++x) {
                const QRgb a = pic.pixel(x, y), b = back.pixel(x, y);
                sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b));
            }
        }
        return sum / (3.0 * pic.width() * pic.height());
    };
    EXPECT_LT(meanError("q90.jpg"), 20.0);
    EXPECT_GT(meanError("s100.jpg"), meanError("q90.jpg"));
    const QImage grey(path("grey.jpg"));
    EXPECT_TRUE(grey.isGrayscale());

    QImage back;
    ASSERT_TRUE(readJPEG(path("q90.jpg"), 0, false, back).ok());
    EXPECT_EQ(back.size(), pic.size());

    for (auto [q, s] : {std::pair{0, 0}, {101, 0}, {50, -1}, {50, 101}}) {
        const Status bad = writeJPEG(path("bad.jpg"), q, s, 24, pic);
        EXPECT_EQ(bad.code, kBadArgument);
        EXPECT_FALSE(bad.message.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path("bad.jpg")));
}

// Pixel (x, y) of the result against the source, computed here without the library.
TEST_F(ImageLibraryTest, FlipMirrorsTopToBottomAndRotateTurnsCounterClockwise) {
    for (const QImage& source : {sixteenColours(7, 4), manyColours(7, 4)}) {
        QImage flipped = source;
        ASSERT_TRUE(flip(24, flipped).ok());
        ASSERT_EQ(flipped.size(), source.size());
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(flipped.pixel(x, y), source.pixel(x, 3 - y));
        }

        QImage turned = source;
        ASSERT_TRUE(rotate(24, turned).ok());
        ASSERT_EQ(turned.width(), 4);
        ASSERT_EQ(turned.height(), 7);
        // Counter-clockwise: the top right corner comes to the top left.
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(turned.pixel(x, y), source.pixel(6 - y, x));
        }
        EXPECT_EQ(turned.format() == QImage::Format_Indexed8,
                  source.format() == QImage::Format_Indexed8);
    }
    // Four turns give the picture back.
    QImage img = sixteenColours();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(rotate(8, img).ok());
    EXPECT_EQ(colours(img), colours(sixteenColours()));

    QImage none;
    EXPECT_EQ(flip(24, none).code, kBadArgument);
    EXPECT_EQ(rotate(24, none).code, kBadArgument);
}

TEST_F(ImageLibraryTest, MessagesShowFileNamesWithTheirControlCharactersEscaped) {
    const QString odd = path(QStringLiteral("two\nlines\x1b]0;owned\x07.png"));
    const QString shown = path(QStringLiteral("two\\nlines\\x1b]0;owned\\x07.png"));
    QImage out;
    const Status read = readPNG(odd, 0, false, out);
    EXPECT_TRUE(read.message.startsWith(QStringLiteral("Cannot read ") + shown + u':'))
        << read.message.toStdString();
    const Status written =
        writePNG(path(QStringLiteral("missing/a\tb.png")), 0, false, sixteenColours());
    EXPECT_TRUE(written.message.contains(QStringLiteral("missing/a\\tb.png: ")))
        << written.message.toStdString();
}

TEST_F(ImageLibraryTest, WriteIntoAMissingFolderFailsWithAMessage) {
    const QString file = path("no-such-folder/pic.png");
    const Status s = writePNG(file, 0, false, sixteenColours());
    EXPECT_EQ(s.code, kCannotWrite);
    EXPECT_LE(s.code, 0);
    EXPECT_TRUE(s.message.contains(file)) << s.message.toStdString();
    EXPECT_TRUE(s.message.contains("No such file or directory")) << s.message.toStdString();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(writeGIF(file, 0, sixteenColours()).code, kCannotWrite);
    EXPECT_EQ(writeTIFF(file, 5, 0, sixteenColours()).code, kCannotWrite);
    EXPECT_EQ(writeJPEG(file, 25, 0, 24, sixteenColours()).code, kCannotWrite);
}

TEST_F(ImageLibraryTest, FailedWriteKeepsTheExistingFile) {
    const QString file = path("keep.png");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the old file");
    }
    // Files may grow to 64 bytes only: the write fails part-way.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status s = writePNG(file, 0, false, manyColours());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(s.code, kCannotWrite);
    EXPECT_FALSE(s.message.isEmpty());
    EXPECT_EQ(fileBytes(file), QByteArray("the old file"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.png"}); // no leftovers

    // A refused argument writes nothing either.
    EXPECT_EQ(writeBMP(file, 3, sixteenColours()).code, kBadArgument);
    EXPECT_EQ(fileBytes(file), QByteArray("the old file"));
}

TEST_F(ImageLibraryTest, ReadFailuresAreStatusesNotExceptions) {
    QImage img;
    Status s = readPNG(path("missing.png"), 0, false, img);
    EXPECT_EQ(s.code, kCannotRead);
    EXPECT_TRUE(s.message.contains("missing.png"));

    // A BMP named .png is not read as PNG; garbage is no picture of any format.
    ASSERT_TRUE(writeBMP(path("real.bmp"), 0, sixteenColours()).ok());
    QFile::copy(path("real.bmp"), path("fake.png"));
    s = readPNG(path("fake.png"), 0, false, img);
    EXPECT_EQ(s.code, kNotDecodable);
    EXPECT_FALSE(s.message.isEmpty());
    {
        QFile f(path("junk"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3000, '\x5a'));
    }
    for (auto read : {readBMP, readJPEG, readGIF, readPCX, readPNG, readTIFF}) {
        s = read(path("junk"), 0, false, img);
        EXPECT_LE(s.code, 0);
        EXPECT_FALSE(s.message.isEmpty());
    }
    // A truncated PNG.
    QFile::copy(path("real.bmp"), path("whole.bmp"));
    ASSERT_TRUE(writePNG(path("whole.png"), 0, false, manyColours()).ok());
    {
        QFile f(path("cut.png"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(fileBytes(path("whole.png")).left(60));
    }
    EXPECT_LE(readPNG(path("cut.png"), 0, false, img).code, 0);
    EXPECT_EQ(readPNG(path("whole.png"), 7, false, img).code, kBadArgument);
}

// Cut and damaged files of every format: a status every time, a picture whenever it says ok.
TEST_F(ImageLibraryTest, DamagedFilesNeverCrashTheReaders) {
    for (const Lossless& f : kLossless) {
        SCOPED_TRACE(f.name);
        const QString whole = path(QStringLiteral("whole.") + f.name);
        ASSERT_TRUE(f.write(whole, 0, manyColours()).ok());
        const QByteArray bytes = fileBytes(whole);
        for (qsizetype cut : {qsizetype{0}, qsizetype{1}, qsizetype{9}, qsizetype{40},
                              bytes.size() / 2, bytes.size() - 1}) {
            for (bool flipBits : {false, true}) {
                QByteArray damaged = bytes.left(cut);
                if (flipBits) {
                    for (qsizetype i = 7; i < damaged.size(); i += 13)
                        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
                }
                const QString file = path(QStringLiteral("damaged.") + f.name);
                QFile out(file);
                ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
                out.write(damaged);
                out.close();
                QImage img;
                const Status s = f.read(file, 0, false, img);
                if (s.ok()) {
                    EXPECT_FALSE(img.isNull());
                } else {
                    EXPECT_FALSE(s.message.isEmpty());
                }
                ImageInfo info;
                const Status i = imageInfo(file, info);
                EXPECT_TRUE(i.ok() || !i.message.isEmpty());
            }
        }
    }
}

TEST_F(ImageLibraryTest, ImageInfo) {
    ASSERT_TRUE(writeGIF(path("a.gif"), 0, sixteenColours()).ok());
    ImageInfo info;
    ASSERT_TRUE(imageInfo(path("a.gif"), info).ok());
    EXPECT_EQ(info.type, "GIF");
    EXPECT_EQ(info.width, 37);
    EXPECT_EQ(info.height, 23);
    EXPECT_EQ(info.pages, 1);
    EXPECT_FALSE(info.format.isEmpty());

    ASSERT_TRUE(writeTIFF(path("a.tif"), 1, 24, manyColours()).ok());
    ASSERT_TRUE(imageInfo(path("a.tif"), info).ok());
    EXPECT_EQ(info.type, "TIFF");
    EXPECT_EQ(info.width, 40);
    EXPECT_EQ(info.depth, 24);
    EXPECT_EQ(info.colours, 0);

    ASSERT_TRUE(writePCX(path("a.pcx"), 0, sixteenColours()).ok());
    ASSERT_TRUE(imageInfo(path("a.pcx"), info).ok());
    EXPECT_EQ(info.type, "PCX");
    EXPECT_EQ(info.height, 23);

    {
        QFile f(path("text.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    const Status s = imageInfo(path("text.txt"), info);
    EXPECT_EQ(s.code, kNotDecodable);
    EXPECT_FALSE(s.message.isEmpty());
    EXPECT_EQ(imageInfo(path("none.png"), info).code, kCannotRead);
}

TEST_F(ImageLibraryTest, ConcurrentCallsFromManyThreads) {
    const QImage source = sixteenColours();
    std::vector<std::thread> threads;
    std::array<int, 8> good{};
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 6; ++i) {
                const Lossless& f = kLossless[(t + i) % std::size(kLossless)];
                const QString file = path(QStringLiteral("t%1-%2.").arg(t).arg(i) + f.name);
                QImage back, turned = source;
                if (f.write(file, 0, source).ok() && f.read(file, 0, false, back).ok() &&
                    colours(back) == colours(source) && rotate(24, turned).ok() &&
                    turned.width() == source.height()) {
                    ++good[static_cast<std::size_t>(t)];
                }
            }
        });
    }
    for (auto& th : threads)
        th.join();
    for (int g : good)
        EXPECT_EQ(g, 6);
}

} // namespace
} // namespace quendra::imagelib
