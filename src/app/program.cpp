#include "app/program.h"

#include <QCoreApplication>

namespace quendra {

Program::Program(QStringList arguments)
    : mainWindow_(std::make_unique<MainWindow>(std::move(arguments))),
      enlargedView_(std::make_unique<EnlargedView>(mainWindow_->document())),
      reducedView_(std::make_unique<ReducedView>(mainWindow_->document())), aboutBox_(std::make_unique<AboutBox>()),
      progressWindow_(std::make_unique<ProgressWindow>()) {
    mainWindow_->setSecondaryWindows(enlargedView_.get(), reducedView_.get(), aboutBox_.get(),
                                     progressWindow_.get());
}

void Program::endEventLoopOnRequest() {
    // Not quit(): it closes every window first, and the main window's close writes the
    // settings.
    QObject::connect(mainWindow_.get(), &MainWindow::programEnds, mainWindow_.get(),
                     [] { QCoreApplication::exit(0); });
}

Program::~Program() {
    // The main window first, so that nothing it does on the way out reaches a window
    // that is gone.
    mainWindow_.reset();
}

} // namespace quendra
