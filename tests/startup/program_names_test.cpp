#include "startup/program_names.h"

#include <gtest/gtest.h>

namespace ambrevo {
namespace {

TEST(ProgramNamesTest, SplitsTheProgramPathIntoFolderAndFileName) {
    const struct {
        const char* path;
        const char* folder;
        const char* fileName;
    } cases[] = {
        {"E:\\disc\\Setup.EXE", "E:\\disc\\", "Setup.EXE"},
        {"E:\\Setup.exe", "E:\\", "Setup.exe"},
        {"\\\\server\\share\\menu player.exe", "\\\\server\\share\\", "menu player.exe"},
        {"E:Setup.exe", "E:\\", "Setup.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramFolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(FileNamePart(c.path), c.fileName) << c.path;
    }
}

TEST(ProgramNamesTest, IconFileNameReplacesOnlyTheLastExtension) {
    EXPECT_EQ(IconFileName("Setup.EXE"), "Setup.ico");
    EXPECT_EQ(IconFileName("Setup.ico.exe"), "Setup.ico.ico");
    EXPECT_EQ(IconFileName("SETUP"), "SETUP.ico");
}

}  // namespace
}  // namespace ambrevo
