// The viewer as a user meets it. Targets: a click on a Koala file in the list to the
// picture painted under 20 ms; start-up (windows created, settings read) to the first
// paint of the picture area under 500 ms; after showing a 2040 x 2040 page (and its
// enlarged and reduced views) and going back to a small picture, the resident memory
// within 5 MB of where it was; holding Down through a folder, each key to the next picture
// painted under 20 ms; a palette switch re-draws a 320 x 200 picture under 10 ms.
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <unistd.h>

#include "app/app_exception.h"
#include "app/browse_controls.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/program.h"
#include "app/secondary_windows.h"
#include "app/settings.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"
#include "samples/c64_files.h"
#include "samples/funpainter_files.h"
#include "samples/printfox_files.h"

namespace {

using namespace quendra;

void writeFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

struct Folder {
    Folder() {
        settings::setFilePath(dir.filePath(QStringLiteral("quendra.ini")));
        writeFile(dir.filePath(QStringLiteral("a.koa")),
                  samples::makeKoala(samples::testPattern(1)));
        writeFile(dir.filePath(QStringLiteral("b.koa")),
                  samples::makeKoala(samples::testPattern(2)));
        // Pagefox's largest page: 255 x 255 cells.
        writeFile(dir.filePath(QStringLiteral("page.pg")),
                  samples::makePagefoxPage(255, 255, samples::printfoxPage(255, 255, 3)));
    }
    ~Folder() { settings::setFilePath({}); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

void waitForFirstPaint(MainWindow* form) {
    for (int i = 0; i < 2000 && form->firstPaintPending(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// A left click as the window system delivers it: press, then release.
void click(QWidget* widget, QPoint at) {
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void BM_ClickKoalaToPainted(benchmark::State& state) {
    Folder folder;
    Program program({});
    MainWindow* form = program.mainWindow();
    form->show();
    waitForFirstPaint(form);
    form->findChild<FolderList*>(QStringLiteral("DirectoryListBox1"))
        ->setDirectory(folder.dir.path());
    FileListView* list = form->findChild<FileListView*>(QStringLiteral("FileList"));
    QCoreApplication::processEvents();
    int row = 0;
    for (auto _ : state) {
        // Rows a.koa and b.koa in turn, so every click shows another file.
        const int target = (row++ % 2 == 0) ? 0 : 1;
        const QPoint at = list->visualRect(list->model()->index(target, 0)).center();
        click(list->viewport(), at);
        form->pictureView()->repaint(); // painted now, not when the event loop gets to it
    }
    state.SetLabel(form->windowTitle().toStdString());
}
BENCHMARK(BM_ClickKoalaToPainted)->Unit(benchmark::kMillisecond);

void BM_StartUpToFirstPaint(benchmark::State& state) {
    Folder folder;
    for (auto _ : state) {
        Program program({folder.path("a.koa")});
        program.mainWindow()->show();
        program.mainWindow()->activateWindow();
        waitForFirstPaint(program.mainWindow());
        if (program.mainWindow()->firstPaintPending())
            state.SkipWithError("no first paint");
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

// A Koala (16 colours) or a FunPainter 2 picture (mixed pairs): the Palette menu's pepto
// and default in turn, each painted at once.
void BM_PaletteSwitchRepaint(benchmark::State& state) {
    Folder folder;
    const bool mixed = state.range(0) == 1;
    const QString path = folder.path(mixed ? "c.fp2" : "a.koa");
    if (mixed)
        writeFile(path, samples::makeFunPainter(samples::funPainterPattern(1), true));
    Program program({});
    MainWindow* form = program.mainWindow();
    form->show();
    waitForFirstPaint(form);
    form->document()->setFileName(path);
    form->showCurrentFile(form);
    QAction* pepto = form->findChild<QAction*>(QStringLiteral("palette-pepto"));
    QAction* own = form->findChild<QAction*>(QStringLiteral("palette-default"));
    // From the menu choice to the picture area's paint; the settings file is written after.
    using Clock = std::chrono::steady_clock;
    Clock::time_point chosen, painted;
    QObject::connect(form->pictureView(), &PictureView::painted, [&] { painted = Clock::now(); });
    int i = 0;
    for (auto _ : state) {
        chosen = Clock::now();
        painted = {};
        (i++ % 2 == 0 ? pepto : own)->trigger();
        if (painted < chosen)
            form->pictureView()->repaint(); // not visible: paint it here
        state.SetIterationTime(std::chrono::duration<double>(painted - chosen).count());
    }
    state.SetLabel(mixed ? "FunPainter 2" : "Koala");
}
BENCHMARK(BM_PaletteSwitchRepaint)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Holding Down in the file list through a folder of 100 Koala pictures (10003 bytes each,
// 320 x 200): one key press to the new picture painted. Argument 1: fit to window in a
// 1280 x 1024 window (every picture drawn at 3:1), 0: the default window at 1:1.
void BM_HoldDownThroughAFolder(benchmark::State& state) {
    QTemporaryDir dir;
    settings::setFilePath(dir.filePath(QStringLiteral("quendra.ini")));
    constexpr int kPictures = 100;
    for (int i = 0; i < kPictures; ++i)
        writeFile(dir.filePath(QStringLiteral("pic%1.koa").arg(i, 3, 10, QChar(u'0'))),
                  samples::makeKoala(samples::testPattern(i)));
    Program program({});
    MainWindow* form = program.mainWindow();
    const bool fit = state.range(0) != 0;
    if (fit)
        form->resize(1280, 1024);
    form->show();
    waitForFirstPaint(form);
    form->findChild<FolderList*>(QStringLiteral("DirectoryListBox1"))->setDirectory(dir.path());
    FileListView* list = form->findChild<FileListView*>(QStringLiteral("FileList"));
    list->setFocus();
    QCoreApplication::processEvents();
    click(list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
    if (fit)
        form->fitToWindow();
    const auto press = [&](Qt::Key key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(list, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(list, &up);
        form->pictureView()->repaint(); // painted now, not when the loop gets to it
    };
    int row = 0;
    for (auto _ : state) {
        if (++row == kPictures) { // back to the top, outside the measured key
            state.PauseTiming();
            press(Qt::Key_Home);
            row = 0;
            state.ResumeTiming();
            continue;
        }
        press(Qt::Key_Down);
    }
    if (form->pictureView()->scale() != (fit ? 3 : 1))
        state.SkipWithError("the picture is not at the expected scale");
    state.SetLabel(form->windowTitle().toStdString());
    settings::setFilePath({});
}
BENCHMARK(BM_HoldDownThroughAFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_MemoryAfterABigPage(benchmark::State& state) {
    Folder folder;
    giveLargePicturesTheirOwnMemory(); // as the program's application object does
    Program program({});
    MainWindow* form = program.mainWindow();
    form->show();
    waitForFirstPaint(form);
    const auto showFile = [&](const char* name) {
        form->document()->setFileName(folder.path(name));
        form->showCurrentFile(form);
        form->pictureView()->repaint();
    };
    // Settle: everything a small picture needs is made once.
    for (int i = 0; i < 3; ++i)
        showFile("a.koa");
    const long before = residentKb();
    long peak = before;
    long after = before;
    for (auto _ : state) {
        showFile("page.pg");
        form->pictureMouseDown(Qt::LeftButton);  // enlarged view
        form->pictureMouseDown(Qt::RightButton); // reduced view
        QCoreApplication::processEvents();
        peak = std::max(peak, residentKb());
        program.enlargedView()->hide();
        program.reducedView()->hide();
        showFile("a.koa");
        QCoreApplication::processEvents();
        after = residentKb();
    }
    state.counters["before_MB"] = static_cast<double>(before) / 1024.0;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
    state.counters["after_MB"] = static_cast<double>(after) / 1024.0;
    state.counters["growth_MB"] = static_cast<double>(after - before) / 1024.0;
}
BENCHMARK(BM_MemoryAfterABigPage)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
