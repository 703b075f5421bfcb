// Replacing a file while names that look like this process's temporaries are taken (left
// by an earlier, killed process that had the same id); keeping a file that exists. Both
// ways of writing each, so the way without unnamed files is tested where they work.
#include "export/atomic_write.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <iterator>

namespace quendra {
namespace {

namespace fs = std::filesystem;

// The two ways of writing: with an unnamed file where the file system has them, and the way
// without them.
using Write = WriteResult (*)(const fs::path&, std::span<const std::uint8_t>, Flush, Existing,
                              std::optional<mode_t>);
constexpr Write kWays[] = {writeFileAtomically, writeFileByTemporaryName};

// Replacing a file gives the new one a temporary name first, either way.
TEST(AtomicWrite, TakenTemporaryNamesAreSteppedOverAndLeftAlone) {
    const fs::path dir =
        fs::temp_directory_path() / ("quendra-atomic-" + std::to_string(::getpid()));
    for (Write write : kWays) {
        fs::create_directories(dir);
        const fs::path target = dir / "pic.png";
        std::ofstream(target) << "old";
        // The next names this process would use, all taken.
        const std::string next = temporarySibling(target).string();
        const std::string stem = next.substr(0, next.rfind('-') + 1);
        const auto first = static_cast<unsigned>(std::stoul(next.substr(next.rfind('-') + 1)));
        for (unsigned n = first + 1; n <= first + 4; ++n)
            std::ofstream(stem + std::to_string(n)) << "left";
        const std::array<std::uint8_t, 3> bytes = {'n', 'e', 'w'};
        const WriteResult written =
            write(target, bytes, Flush::Always, Existing::Replace, std::nullopt);
        EXPECT_TRUE(written.written) << written.error;
        std::ifstream in(target, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5);
        for (unsigned n = first + 1; n <= first + 4; ++n)
            EXPECT_EQ(fs::file_size(stem + std::to_string(n)), 4u);
        fs::remove_all(dir);
    }
}

TEST(AtomicWrite, KeepingRefusesAnExistingFileAndLeavesNothingBehind) {
    const fs::path dir =
        fs::temp_directory_path() / ("quendra-atomic-keep-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path target = dir / "pic.png";
    const std::array<std::uint8_t, 3> bytes = {'n', 'e', 'w'};
    for (Write write : kWays)
        for (Flush flush : {Flush::Always, Flush::WhenReplacing}) {
            std::ofstream(target) << "old";
            const WriteResult written = write(target, bytes, flush, Existing::Keep, std::nullopt);
            EXPECT_FALSE(written.written);
            EXPECT_EQ(written.errorNumber, EEXIST);
            std::ifstream in(target, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
            EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
            fs::remove(target);
            EXPECT_TRUE(write(target, bytes, flush, Existing::Keep, std::nullopt).written);
            EXPECT_EQ(fs::file_size(target), 3u);
            fs::remove(target);
        }
    fs::remove_all(dir);
}

} // namespace
} // namespace quendra
