// quendra: the viewer. The first command-line argument, if any, names a picture to show,
// or a folder or a disk image to list; --help and --version print and end, as on every
// desktop.
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>

#include "app/app_exception.h"
#include "app/program.h"
#include "app/screenshot.h"
#include "app/termination_signals.h"

namespace {

// The answer to --help or --version, printed before any window: null for any other start.
const char* informationAsked(int argc, char** argv) {
    if (argc != 2)
        return nullptr;
    if (std::strcmp(argv[1], "--help") == 0) {
        return "Usage: quendra [FILE|FOLDER]\n"
               "Shows Commodore 64 pictures and saves them as PC pictures.\n"
               "FILE is shown at the start in its folder's list; a FOLDER, or a disk or tape\n"
               "image, is listed with its first picture shown. Without either the folder\n"
               "browsed last is listed.\n"
               "\n"
               "  --help     show this text\n"
               "  --version  show the version\n";
    }
    if (std::strcmp(argv[1], "--version") == 0)
        return "quendra " QUENDRA_VERSION "\n";
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (const char* text = informationAsked(argc, argv)) {
        std::fputs(text, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QElapsedTimer sinceStart;
    sinceStart.start();
    quendra::Application app(argc, argv);
    QApplication::setApplicationName(quendra::kProgramName);
    // The main window ends the program, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);

    quendra::Program program(QApplication::arguments().mid(1));
    program.endEventLoopOnRequest();
    quendra::closeOnTerminationSignals(program.mainWindow());
    program.mainWindow()->show();
    program.mainWindow()->activateWindow();
    quendra::arrangeScreenshot(program.mainWindow(), sinceStart);
    return app.exec();
}
