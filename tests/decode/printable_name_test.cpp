#include "decode/printable_name.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

TEST(PrintableName, EscapesControlsAndInvalidBytesOnly) {
    const struct {
        std::string_view name;
        std::string_view shown;
    } cases[] = {
        {"plain name.koa", "plain name.koa"},
        {"-dash/back\\slash 'q' \"qq\".koa", "-dash/back\\slash 'q' \"qq\".koa"},
        {"M\xc3\xbcller \xe2\x82\xac \xf0\x9f\x98\x80.koa",
         "M\xc3\xbcller \xe2\x82\xac \xf0\x9f\x98\x80.koa"},
        {"two\nlines\r\tend", "two\\nlines\\r\\tend"},
        {"\x1b[2J\x1b]0;owned\x07.koa", "\\x1b[2J\\x1b]0;owned\\x07.koa"},
        {std::string_view("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
        {"M\xfcller.koa", "M\\xfcller.koa"}, // Latin-1
        {"csi\xc2\x9b"
         "2J",
         "csi\\u009b2J"},                           // a C1 control in UTF-8
        {"over\xc0\xaflong", "over\\xc0\\xaflong"}, // overlong "/"
        {"sur\xed\xa0\x80rogate", "sur\\xed\\xa0\\x80rogate"},
        {"cut\xe2\x82", "cut\\xe2\\x82"},
        {"big\xf4\x90\x80\x80", "big\\xf4\\x90\\x80\\x80"},
    };
    for (const auto& c : cases) {
        const std::string shown = printableName(c.name);
        EXPECT_EQ(shown, c.shown) << c.shown;
        EXPECT_EQ(printableName(shown), shown) << "quoting twice changes nothing more";
    }
}

} // namespace
} // namespace quendra
