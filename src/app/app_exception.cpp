#include "app/app_exception.h"

#include <atomic>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace quendra {

namespace {
std::atomic<int> swallowedCount{0};
} // namespace

void giveLargePicturesTheirOwnMemory() {
#ifdef __GLIBC__
    // A fixed threshold: glibc otherwise raises it after the first large block is freed,
    // and the next page's memory then stays with the heap after the page is gone.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    giveLargePicturesTheirOwnMemory();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ++swallowedCount;
        return false;
    }
}

int Application::swallowed() {
    return swallowedCount.load();
}

} // namespace quendra
