#include "support/name_pattern.h"

#include <gtest/gtest.h>

namespace ambrevo {
namespace {

TEST(NamePatternTest, MatchesAsWindowsListsFolders) {
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.*", "readme", true},
        {"*.*", "", true},
        {"*", "", true},
        {"*.TXT", "read.me.txt", true},
        {"*.txt", "readme.txt.bak", false},
        {"r?ad*", "READ", true},
        {"r?ad", "rad", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"setup.exe", "SETUP.EXE", true},
        {"", "x", false},
        {"**?", "x", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesNamePattern(c.pattern, c.name), c.matches)
            << c.pattern << " against " << c.name;
    }
}

}  // namespace
}  // namespace ambrevo
