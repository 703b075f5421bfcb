// Replacing a file while names that look like this process's temporaries are taken (left
// by an earlier, killed process that had the same id); keeping a file that exists.
#include "export/atomic_write.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace quendra {
namespace {

namespace fs = std::filesystem;

TEST(AtomicWrite, TakenTemporaryNamesAreSteppedOverAndLeftAlone) {
    const fs::path dir =
        fs::temp_directory_path() / ("quendra-atomic-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path target = dir / "pic.png";
    // The next names this process would use, all taken.
    const std::string next = temporarySibling(target).string();
    const std::string stem = next.substr(0, next.rfind('-') + 1);
    const unsigned first = static_cast<unsigned>(std::stoul(next.substr(next.rfind('-') + 1)));
    for (unsigned n = first + 1; n <= first + 4; ++n)
        std::ofstream(stem + std::to_string(n)) << "left";
    const std::uint8_t bytes[] = {'n', 'e', 'w'};
    const WriteResult written = writeFileAtomically(target, bytes);
    EXPECT_TRUE(written.written) << written.error;
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5);
    fs::remove_all(dir);
}

TEST(AtomicWrite, KeepingRefusesAnExistingFileAndLeavesNothingBehind) {
    const fs::path dir =
        fs::temp_directory_path() / ("quendra-atomic-keep-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path target = dir / "pic.png";
    const std::uint8_t bytes[] = {'n', 'e', 'w'};
    for (Flush flush : {Flush::Always, Flush::WhenReplacing}) {
        std::ofstream(target) << "old";
        const WriteResult written = writeFileAtomically(target, bytes, flush, Existing::Keep);
        EXPECT_FALSE(written.written);
        EXPECT_EQ(written.errorNumber, EEXIST);
        std::ifstream in(target, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
        fs::remove(target);
        EXPECT_TRUE(writeFileAtomically(target, bytes, flush, Existing::Keep).written);
        EXPECT_EQ(fs::file_size(target), 3u);
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace quendra
