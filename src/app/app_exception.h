// The application object. Every exception that no code handles ends up in Application,
// which swallows it: the command that raised it ends, silently, and the program goes on.
#pragma once

#include <QApplication>

namespace quendra {

// Large pictures (a Pagefox page is 16 MB as shown) get memory of their own from the
// system, which goes back to it when the picture is dropped, instead of staying with the
// allocator. Application's constructor calls it; other programs on the viewer may too.
void giveLargePicturesTheirOwnMemory();

class Application : public QApplication {
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // How many exceptions were swallowed (for tests; nothing is shown or logged).
    static int swallowed();
};

} // namespace quendra
