// The README's list of formats is the registry's: the block under "## Formats" is what
// `quendra-convert --list-formats` prints (regenerate it with that command).
#include <gtest/gtest.h>

#include "convert/options.h"
#include "export/c64_program.h"
#include "tool_runner.h"

namespace quendra {
namespace {

TEST(Readme, ListsTheFormatsOfTheRegistry) {
    const std::string readme =
        testing::slurp(std::filesystem::path(QUENDRA_SOURCE_DIR) / "README.md");
    const std::string start = "<!-- quendra-convert --list-formats -->\n```\n";
    const auto from = readme.find(start);
    ASSERT_NE(from, std::string::npos) << "README.md has no list of formats";
    const auto to = readme.find("```\n", from + start.size());
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(readme.substr(from + start.size(), to - from - start.size()),
              convert::formatListText());
}

// The C64 program's displayer is as large as the README says.
TEST(Readme, GivesTheDisplayersSize) {
    const std::string readme =
        testing::slurp(std::filesystem::path(QUENDRA_SOURCE_DIR) / "README.md");
    const std::string size =
        "With its BASIC line it is " + std::to_string(displayerSize()) + " bytes.";
    EXPECT_NE(readme.find(size), std::string::npos) << size;
}

} // namespace
} // namespace quendra
