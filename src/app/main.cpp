// quendra: the viewer. The first command-line argument, if any, names a picture to show.
#include <QElapsedTimer>

#include "app/app_exception.h"
#include "app/program.h"
#include "app/screenshot.h"
#include "app/termination_signals.h"

int main(int argc, char** argv) {
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
