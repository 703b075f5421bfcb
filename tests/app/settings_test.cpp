#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "viewer_fixture.h"

namespace quendra {
namespace {

using testing::ViewerTest;

class SettingsFile : public ::testing::Test {
  protected:
    QString path() const { return dir.filePath(QStringLiteral("quendra/quendra.ini")); }
    void write(const QByteArray& text) {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray read() {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(SettingsFile, MissingFileGivesTheDefaults) {
    const WindowPlacement p = settings::readPlacement(path());
    EXPECT_EQ(p, (WindowPlacement{0, 0, 0, 686, 565}));
}

TEST_F(SettingsFile, RoundTripMakesTheFolderAndReadsBack) {
    const WindowPlacement p{120, -8, 1, 1024, 700};
    ASSERT_TRUE(settings::writePlacement(path(), p));
    EXPECT_EQ(settings::readPlacement(path()), p);
    EXPECT_EQ(read(), QByteArray("[Pos]\nTop=120\nLeft=-8\nStyle=1\nWidth=1024\nHeight=700\n"));
}

TEST_F(SettingsFile, AFileAtTheBoundIsNeverWrittenPastIt) {
    // Another program's section fills the file to the byte; [Pos] would not fit.
    QByteArray text("[Other]\nKey=");
    text += QByteArray(kLargestSettingsFile - text.size() - 1, 'x') + '\n';
    write(text);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(settings::writePlacement(path(), {120, -8, 1, 1024, 700}));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("would grow past 1024 KB"),
              std::string::npos);
    EXPECT_EQ(read(), text);
    EXPECT_EQ(settings::readPlacement(path()), WindowPlacement{});
    EXPECT_EQ(IniFile(path()).leftAloneReason(), QString());
}

TEST_F(SettingsFile, NonNumbersAndMissingKeysGiveTheirDefaults) {
    write("[Pos]\nTop=abc\nLeft= 33 \nStyle=\nWidth=12px\nHeight=99999999999\n");
    const WindowPlacement p = settings::readPlacement(path());
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.left, 33);
    EXPECT_EQ(p.style, 0);
    EXPECT_EQ(p.width, 686);
    EXPECT_EQ(p.height, 565);

    write("[Other]\nTop=5\n");
    EXPECT_EQ(settings::readPlacement(path()), WindowPlacement{});
}

TEST_F(SettingsFile, ASizeOfNothingOrLessGivesTheDefault) {
    write("[Pos]\nTop=-20\nLeft=-30\nWidth=-50\nHeight=0\n");
    const WindowPlacement p = settings::readPlacement(path());
    EXPECT_EQ(p.top, -20); // a window partly off the screen is the user's choice
    EXPECT_EQ(p.left, -30);
    EXPECT_EQ(p.width, 686);
    EXPECT_EQ(p.height, 565);
    write("[Pos]\nWidth=1\nHeight=1\n");
    EXPECT_EQ(settings::readPlacement(path()).width, 1);
}

TEST_F(SettingsFile, SectionAndKeysMatchWithoutRegardToCase) {
    write("[pos]\ntop=7\nWIDTH = 800\n");
    const WindowPlacement p = settings::readPlacement(path());
    EXPECT_EQ(p.top, 7);
    EXPECT_EQ(p.width, 800);
}

TEST_F(SettingsFile, WritingKeepsEverythingElseAsItWas) {
    write("; made by hand\r\n"
          "[Before]\r\n"
          "Path=C:\\pics\\c64\r\n"
          "\r\n"
          "[Pos]\r\n"
          "; keep this\r\n"
          "Width = 1\r\n"
          "Zeta=z\r\n"
          "\r\n"
          "[After]\r\n"
          "b=2\r\n"
          "a=1\r\n");
    ASSERT_TRUE(settings::writePlacement(path(), {10, 20, 0, 700, 500}));
    EXPECT_EQ(read(), QByteArray("; made by hand\r\n"
                                 "[Before]\r\n"
                                 "Path=C:\\pics\\c64\r\n"
                                 "\r\n"
                                 "[Pos]\r\n"
                                 "; keep this\r\n"
                                 "Width =700\r\n"
                                 "Zeta=z\r\n"
                                 "Top=10\r\n"
                                 "Left=20\r\n"
                                 "Style=0\r\n"
                                 "Height=500\r\n"
                                 "\r\n"
                                 "[After]\r\n"
                                 "b=2\r\n"
                                 "a=1\r\n"));
}

TEST_F(SettingsFile, AnotherSectionOnlyGainsPosAtTheEnd) {
    write("[Other]\nx=1");
    ASSERT_TRUE(settings::writePlacement(path(), {}));
    EXPECT_EQ(read(), QByteArray("[Other]\nx=1\n\n[Pos]\nTop=0\nLeft=0\nStyle=0\nWidth=686\n"
                                 "Height=565"));
}

TEST_F(SettingsFile, AFolderThatCannotBeMadeIsReportedAsNotWritten) {
    QFile blocker(dir.filePath(QStringLiteral("quendra")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    EXPECT_FALSE(settings::writePlacement(path(), {}));
    EXPECT_EQ(settings::readPlacement(path()), WindowPlacement{});
}

TEST_F(SettingsFile, EveryByteItDoesNotOwnIsKeptAsItWas) {
    const struct {
        const char* what;
        QByteArray before, after;
    } cases[] = {
        {"Latin-1 text, a value changed in place",
         "[Names]\nWho=M\xfcller\n[Pos]\nTop=1\nLeft=2\nStyle=0\nWidth=686\nHeight=565\n",
         "[Names]\nWho=M\xfcller\n[Pos]\nTop=9\nLeft=2\nStyle=0\nWidth=686\nHeight=565\n"},
        {"a byte-order mark and UTF-8, keys appended", "\xef\xbb\xbf[Pos]\nName=M\xc3\xbcller\n",
         "\xef\xbb\xbf[Pos]\nName=M\xc3\xbcller\nTop=9\nLeft=2\nStyle=0\nWidth=686\n"
         "Height=565\n"},
        {"one CRLF line among LF lines; new lines take the most common ending",
         "[A]\r\nx=1\n\n[Pos]\nTop=1\n",
         "[A]\r\nx=1\n\n[Pos]\nTop=9\nLeft=2\nStyle=0\nWidth=686\nHeight=565\n"},
        {"CRLF mostly, no ending at the end, NUL and stray CR kept",
         QByteArray("[A]\r\nn=a\0b\rc\r\n[Pos]\nTop = 9\r\nLeft=2", 35),
         QByteArray("[A]\r\nn=a\0b\rc\r\n[Pos]\nTop = 9\r\nLeft=2\r\nStyle=0\r\n"
                    "Width=686\r\nHeight=565",
                    67)},
    };
    for (const auto& c : cases) {
        write(c.before);
        ASSERT_TRUE(settings::writePlacement(path(), {9, 2, 0, 686, 565})) << c.what;
        EXPECT_EQ(read(), c.after) << c.what;
    }
    // A file that would not change is not written at all (not even replaced by a copy).
    write("[Pos]\nTop=+9\nLeft= 2\nStyle=0\nWidth=686\nHeight=565");
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
    EXPECT_TRUE(settings::writePlacement(path(), {9, 2, 0, 686, 565}));
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(read(), QByteArray("[Pos]\nTop=+9\nLeft= 2\nStyle=0\nWidth=686\nHeight=565"));
}

// The permissions of every file open in the folder `watchedFolder` names, taken when a write
// to it goes over the size limit: the new file as it is before its first byte.
char watchedFolder[PATH_MAX];
mode_t seenModes[8];
int seenCount = 0;

void noteOpenFiles(int) {
    for (int fd = 3; fd < 1024 && seenCount < 8; ++fd) {
        char self[32] = "/proc/self/fd/";
        char digits[12];
        int n = 0;
        for (int v = fd; v > 0; v /= 10)
            digits[n++] = static_cast<char>('0' + v % 10);
        for (int i = 0; i < n; ++i)
            self[14 + i] = digits[n - 1 - i];
        char target[PATH_MAX];
        const ssize_t length = ::readlink(self, target, sizeof target);
        struct stat st {};
        if (length > 0 && std::strncmp(target, watchedFolder, std::strlen(watchedFolder)) == 0 &&
            ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            seenModes[seenCount++] = st.st_mode & 07777;
        }
    }
}

// A private settings file (mode 600) stays private at every moment, whatever the umask: the
// new file is seen with mode 600 before its first byte, and after the replacement too.
TEST_F(SettingsFile, APrivateFileIsNeverReadableByOthers) {
    write("[Pos]\nTop=1\n");
    const QByteArray name = QFile::encodeName(path());
    ASSERT_EQ(::chmod(name.constData(), 0600), 0);
    const QByteArray folder = QFile::encodeName(QFileInfo(path()).absolutePath()) + "/";
    std::strncpy(watchedFolder, folder.constData(), sizeof watchedFolder - 1);
    const mode_t umaskBefore = ::umask(0);
    struct sigaction noted {};
    struct sigaction before {};
    noted.sa_handler = noteOpenFiles;
    ::sigaction(SIGXFSZ, &noted, &before);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit none{0, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &none);
    seenCount = 0;
    const bool failedWrite = settings::writePlacement(path(), {5, 6, 0, 700, 500});
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::sigaction(SIGXFSZ, &before, nullptr);
    EXPECT_FALSE(failedWrite);
    EXPECT_EQ(read(), QByteArray("[Pos]\nTop=1\n"));
    ASSERT_EQ(seenCount, 1);
    EXPECT_EQ(seenModes[0], 0600u);
    EXPECT_TRUE(settings::writePlacement(path(), {5, 6, 0, 700, 500}));
    ::umask(umaskBefore);
    struct stat after {};
    ASSERT_EQ(::stat(name.constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(settings::readPlacement(path()).top, 5);
}

// A settings file the viewer cannot or must not read: the window opens at once on the
// defaults, the program says why once, and closing the window leaves the file as it was.
TEST_F(ViewerTest, ASettingsFileItMustNotReadIsLeftAloneFromStartToClose) {
    const auto writeFile = [](qint64 size, QFile::Permissions permissions) {
        QFile f(settings::filePath());
        return f.open(QIODevice::WriteOnly) && f.write("[Pos]\nTop=40\nLeft=50\n") > 0 &&
               f.resize(size) && f.setPermissions(permissions);
    };
    const auto name = [] { return QFile::encodeName(settings::filePath()); };
    const struct {
        const char* what;
        std::function<bool()> make;
    } cases[] = {
        {"a FIFO", [&] { return ::mkfifo(name().constData(), 0600) == 0; }},
        {"a folder", [&] { return QDir().mkdir(settings::filePath()); }},
        {"512 MB, sparse",
         [&] { return writeFile(qint64{512} << 20, QFile::ReadOwner | QFile::WriteOwner); }},
        {"one byte over the bound",
         [&] { return writeFile(kLargestSettingsFile + 1, QFile::ReadOwner | QFile::WriteOwner); }},
        {"write-only (mode 200)", [&] { return writeFile(100, QFile::WriteOwner); }},
    };
    int n = 0;
    for (const auto& c : cases) {
        if (std::string(c.what).starts_with("write-only") && ::geteuid() == 0) {
            std::cout << "skipped \"" << c.what << "\": root reads every file\n";
            continue;
        }
        // A file of its own for each case: the program tells of each file once.
        settings::setFilePath(dir.filePath(QStringLiteral("config%1/quendra.ini").arg(++n)));
        QDir().mkpath(QFileInfo(settings::filePath()).absolutePath());
        ASSERT_TRUE(c.make()) << c.what;
        struct stat before {};
        ASSERT_EQ(::stat(name().constData(), &before), 0) << c.what;
        ::testing::internal::CaptureStderr();
        start();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form, 1000)) << c.what;
        EXPECT_EQ(form->pos(), QPoint(0, 0)) << c.what;
        form->close();
        program.reset();
        const std::string said = ::testing::internal::GetCapturedStderr();
        const std::string line = "quendra: the settings file " + name().toStdString() + " ";
        const std::size_t at = said.find(line);
        EXPECT_NE(at, std::string::npos) << c.what << ": " << said;
        EXPECT_EQ(said.find(line, at + 1), std::string::npos) << c.what << ": said twice";
        struct stat after {};
        ASSERT_EQ(::stat(name().constData(), &after), 0) << c.what;
        EXPECT_EQ(std::tuple(after.st_ino, after.st_mode, after.st_size, after.st_blocks,
                             after.st_mtim.tv_sec, after.st_mtim.tv_nsec),
                  std::tuple(before.st_ino, before.st_mode, before.st_size, before.st_blocks,
                             before.st_mtim.tv_sec, before.st_mtim.tv_nsec))
            << c.what;
    }
}

TEST(SettingsPath, LivesInTheUserConfigurationFolderUnlessATestMovesIt) {
    EXPECT_TRUE(settings::filePath().endsWith(QStringLiteral("/quendra/quendra.ini")));
    settings::setFilePath(QStringLiteral("/tmp/elsewhere.ini"));
    EXPECT_EQ(settings::filePath(), QStringLiteral("/tmp/elsewhere.ini"));
    settings::setFilePath({});
    EXPECT_TRUE(settings::filePath().endsWith(QStringLiteral("/quendra/quendra.ini")));
}

} // namespace
} // namespace quendra
