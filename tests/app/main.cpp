// Widget tests run inside the program's own application object (which swallows every
// exception that no code handles) on the offscreen platform.
#include <gtest/gtest.h>

#include "app/app_exception.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quendra::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
