#include "startup/program_names.h"

#include <gtest/gtest.h>

#include "startup/first_menu.h"

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

TEST(FirstMenuTest, TakesTheArgumentsFileNamePartOrElseSlotOne) {
    PackageDirectory directory{};
    directory[0].name = "main.mnu";
    directory[1].name = "second.mnu";
    const struct {
        const char* argument;
        const char* name;
    } cases[] = {
        {"", "main.mnu"},
        {"Second.mnu", "Second.mnu"},
        {"D:\\menus\\Second.mnu", "Second.mnu"},
        {"D:Second.mnu", "Second.mnu"},
        {"a:b\\c:d\\e:Third.mnu", "Third.mnu"},
        {"\\\\server\\share\\x.mnu", "x.mnu"},
        {"D:\\menus\\", ""},
        {"my menus/Second.mnu", "my menus/Second.mnu"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseFirstMenuName(c.argument, directory), c.name) << c.argument;
    }
}

}  // namespace
}  // namespace ambrevo
