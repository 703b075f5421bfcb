#include "app/app_exception.h"

#include <atomic>

namespace quendra {

namespace {
std::atomic<int> swallowedCount{0};
} // namespace

AppException::AppException(int& argc, char** argv) : QApplication(argc, argv) {}

bool AppException::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ++swallowedCount;
        return false;
    }
}

int AppException::swallowed() {
    return swallowedCount.load();
}

} // namespace quendra
