// The program's windows, created in their order: the main window (which reads the
// settings as it is made), then the enlarged view, the reduced view, the about box and
// the progress window, all hidden. They live until the program ends.
#pragma once

#include <QStringList>
#include <memory>

#include "app/main_window.h"
#include "app/secondary_windows.h"

namespace quendra {

class Program {
  public:
    // `arguments`: the command-line arguments after the program's name.
    explicit Program(QStringList arguments);
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Ends the running event loop when the main window asks the program to end. The loop
    // ends at once, without asking the windows to close (which would run saveState): the
    // menu's "&Close (ALT+F4)" writes no settings; closing the window has written them.
    void endEventLoopOnRequest();

    MainWindow* mainWindow() const { return mainWindow_.get(); }
    EnlargedView* enlargedView() const { return enlargedView_.get(); }
    ReducedView* reducedView() const { return reducedView_.get(); }
    AboutBox* aboutBox() const { return aboutBox_.get(); }
    ProgressWindow* progressWindow() const { return progressWindow_.get(); }

  private:
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<EnlargedView> enlargedView_;
    std::unique_ptr<ReducedView> reducedView_;
    std::unique_ptr<AboutBox> aboutBox_;
    std::unique_ptr<ProgressWindow> progressWindow_;
};

} // namespace quendra
