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
    // ends at once, without asking the windows to close (which would run FormClose): the
    // menu's "&Close (ALT+F4)" writes no settings; closing the window has written them.
    void endEventLoopOnRequest();

    TForm1* form1() const { return form1_.get(); }
    TForm2* form2() const { return form2_.get(); }
    TForm3* form3() const { return form3_.get(); }
    TOKBottomDlg* okBottomDlg() const { return okBottomDlg_.get(); }
    TSaving* saving() const { return saving_.get(); }

  private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TOKBottomDlg> okBottomDlg_;
    std::unique_ptr<TSaving> saving_;
};

} // namespace quendra
