// Odd things on the window's paths: names that are no picture files, pictures without
// pixels, the largest pages. None of them may hang, crash or show something wrong.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "samples/c64_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using samples::makeKoala;
using samples::testPattern;

// Counts the readers that open a named pipe: a thread waits in opening its write end,
// which returns exactly when a reader opens the other end; the writer then closes, so the
// reader sees the end of the data at once (and is counted before its read returns).
class PipeWatch {
  public:
    explicit PipeWatch(std::string path) : path_(std::move(path)), thread_([this] { run(); }) {}
    ~PipeWatch() {
        done_ = true;
        // A reader of the watch's own lets the waiting open return.
        const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
        thread_.join();
        if (fd >= 0)
            ::close(fd);
    }
    int readersSeen() const { return seen_.load(); }

  private:
    void run() {
        for (;;) {
            const int fd = ::open(path_.c_str(), O_WRONLY); // waits for a reader
            if (done_) {
                if (fd >= 0)
                    ::close(fd);
                return;
            }
            if (fd < 0)
                return;
            ++seen_;
            ::close(fd);
        }
    }
    std::string path_;
    std::atomic<bool> done_{false};
    std::atomic<int> seen_{0};
    std::thread thread_;
};

TEST_F(ViewerTest, ANamedPipeCalledLikeAPictureIsNoFileToShow) {
    start();
    show(write(QStringLiteral("pic.koa"), makeKoala(testPattern())));
    for (const char* name : {"pipe.koa", "pipe.4bt", "pipe.fp2"}) {
        const QString path = QDir(picsFolder()).filePath(QString::fromLatin1(name));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        PipeWatch watch(QFile::encodeName(path).toStdString());
        show(path);
        EXPECT_EQ(watch.readersSeen(), 0) << name << ": the viewer waited for a writer";
        // Named on the line, never shown as a picture.
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: ") + name) << name;
        EXPECT_EQ(shown(), blackTemplate()) << name;
        EXPECT_EQ(form->statusText(), name + QStringLiteral(" is not a plain file."));
        EXPECT_FALSE(pushButton("SaveAs")->isEnabled());
    }

    // Listed and clicked in the folder's list.
    const std::string koalaPipe = QDir(picsFolder()).filePath("pipe.koa").toStdString();
    PipeWatch watch(koalaPipe);
    openPictures();
    clickListItem(QStringLiteral("pipe.koa"));
    EXPECT_EQ(watch.readersSeen(), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: pipe.koa"));
}

TEST_F(ViewerTest, AFolderCalledLikeAPictureIsNoFileToShow) {
    start();
    const QString folder = QDir(picsFolder()).filePath(QStringLiteral("folder.koa"));
    ASSERT_TRUE(QDir().mkpath(folder));
    show(folder);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: folder.koa"));
    EXPECT_EQ(form->statusText(), QStringLiteral("folder.koa is a folder, not a picture."));
    form->showDropped({folder});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: folder.koa"));
    EXPECT_FALSE(form->document()->isShown());
    EXPECT_FALSE(pushButton("SaveAs")->isEnabled());
}

TEST_F(ViewerTest, APictureWithoutPixelsCanBeViewedTurnedAndSaved) {
    start();
    show(write(QStringLiteral("empty.clp"), {'G', 'O', 'D', '1', 0, 0, 4, 0, 0xAD}));
    ASSERT_TRUE(form->document()->isShown());
    QTest::mouseClick(form->pictureView(), Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseClick(form->pictureView(), Qt::LeftButton, {}, QPoint(3, 3));
    form->enlargedView()->hide();
    form->reducedView()->hide();
    pushButton("Turn")->click();
    pushButton("Rotate")->click();
    pushButton("ZoomIn")->click();
    pushButton("OrigSize")->click();

    dialogs::Handler handler = dialogs::setHandler({});
    const QString target = QDir(picsFolder()).filePath(QStringLiteral("out.4BT"));
    handler.saveFileName = [&](QWidget*, const dialogs::SaveRequest&) { return target; };
    dialogs::setHandler(handler);
    radioButton("Godot")->setChecked(true);
    pushButton("SaveAs")->click();
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled());
    EXPECT_TRUE(form->commandStates().fileList);
    for (const Box& box : boxes)
        ADD_FAILURE() << box.text.toStdString();
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Turned back as it was read: the clip four cells wide, with no rows, as it came.
    EXPECT_EQ(file.readAll().toHex(), QByteArray("474f443100000400ad"));

    // The common formats hold no picture without pixels: each says so.
    for (QRadioButton* format : {radioButton("TIF"), radioButton("GIF"), radioButton("BMP"),
                                 radioButton("PCX"), radioButton("PNG"), radioButton("JPG")}) {
        boxes.clear();
        format->setChecked(true);
        pushButton("SaveAs")->click();
        ASSERT_FALSE(boxes.empty()) << format->text().toStdString();
        EXPECT_EQ(boxes.back().text,
                  QStringLiteral("Writing %1 file failed").arg(format->text().toLower()));
    }
}

TEST_F(ViewerTest, AnEmptyNameAndAnEmptyArgumentShowNothing) {
    start({QString()});
    form->onActivated();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra"));
    show(QString());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra"));
    EXPECT_FALSE(pushButton("SaveAs")->isEnabled());
}

// A Pagefox page of 255 x 255 cells (2040 x 2040 pixels) in runs of 256 bytes.
std::vector<std::uint8_t> largestPage() {
    std::vector<std::uint8_t> bytes{'P', 255, 255, 0};
    const std::size_t runs = (255u * 255u * 8u + 255u) / 256u;
    for (std::size_t i = 0; i < runs; ++i) {
        bytes.push_back(0x9B);
        bytes.push_back(0); // 256
        bytes.push_back(i % 3 == 0 ? 0xF0 : 0x00);
    }
    bytes.insert(bytes.end(), 8, 0);
    return bytes;
}

TEST_F(ViewerTest, TheLargestPageCanBeViewedTurnedEnlargedReducedAndSaved) {
    start();
    form->setFirstPaintPending(false);
    show(write(QStringLiteral("large.pg"), largestPage()));
    ASSERT_EQ(shown().size(), QSize(2040, 2040));
    pushButton("Turn")->click();
    EXPECT_EQ(shown().size(), QSize(2040, 2040));
    QTest::mouseClick(form->pictureView(), Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_EQ(form->reducedView()->size(), QSize(1020, 1020));
    QTest::mouseClick(form->pictureView(), Qt::LeftButton, {}, QPoint(3, 3));
    form->reducedView()->hide();
    form->enlargedView()->hide();
    for (int i = 0; i < 9; ++i)
        pushButton("ZoomIn")->click();
    pushButton("OrigSize")->click();

    dialogs::Handler handler = dialogs::setHandler({});
    QString target;
    handler.saveFileName = [&](QWidget*, const dialogs::SaveRequest&) { return target; };
    dialogs::setHandler(handler);
    for (QRadioButton* format : {radioButton("Godot"), radioButton("PNG")}) {
        target = QDir(picsFolder()).filePath(QStringLiteral("large.") + format->text().left(3));
        format->setChecked(true);
        pushButton("SaveAs")->click();
        EXPECT_TRUE(QFileInfo(target).size() > 0) << target.toStdString();
    }
    for (const Box& box : boxes)
        ADD_FAILURE() << box.text.toStdString();
}

} // namespace
} // namespace quendra::testing
