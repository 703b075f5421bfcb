// The real files and reference pictures beside the repository, in ../shared. A test that
// needs them fails without them under CI (CI=true), where they must be, and is skipped
// elsewhere with a message that says what was not checked.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace quendra::testing {

// `relative` under ../shared, e.g. "real-samples/disks" (for a worktree, under the shared
// folder beside the worktrees' folder when there is none beside it).
inline std::filesystem::path sharedFolder(std::string_view relative) {
    const std::filesystem::path source(QUENDRA_SOURCE_DIR);
    const std::filesystem::path beside = source / ".." / "shared";
    if (!std::filesystem::is_directory(beside) &&
        std::filesystem::is_directory(source / ".." / ".." / "shared"))
        return source / ".." / ".." / "shared" / relative;
    return beside / relative;
}

inline bool underCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true";
}

} // namespace quendra::testing

// Ends the test when `folder` is missing: a failure under CI, a skip elsewhere.
#define QUENDRA_NEED_FOLDER(folder)                                                                \
    do {                                                                                           \
        if (!std::filesystem::is_directory(folder)) {                                              \
            if (::quendra::testing::underCi())                                                     \
                FAIL() << (folder) << " is missing";                                               \
            GTEST_SKIP() << (folder) << " is missing: the files there are not checked";            \
        }                                                                                          \
    } while (false)
