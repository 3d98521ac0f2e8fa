// Tests of the command line: usage, absolute paths, default names and the option scan.
#include "command_line.h"

#include <gtest/gtest.h>

#include "converter.h"
#include "platform.h"
#include "test_support.h"

namespace {

TEST(MakeAbsolutePath, FollowsTheCurrentFolder)
{
    const std::string cwd = platform::currentFolder();
    struct Case {
        const char* input;
        std::string expected;
    } cases[] = {
        {"blinky.uv2", cwd + "\\blinky.uv2"},
        {"out", cwd + "\\out"},
        {".", cwd},
        {"..\\x", cwd + "\\..\\x"},
        {"", cwd + "\\"},
        {"C:\\abs", "C:\\abs"},
        {"\\rooted", "\\rooted"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"D:src", cwd + "\\src"},
        {"D:", cwd + "\\"},
        {"x\\", cwd + "\\x\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(makeAbsolutePath(c.input), c.expected) << c.input;
}

}  // namespace
