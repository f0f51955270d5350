#include "support/message_switches.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

constexpr char kFolder[] = "E:\\disc\\";
constexpr char kErrTxt[] = "E:\\disc\\err.txt";

std::string ConversionError(const std::string& line) {
    try {
        ParseBooleanLine(line);
    } catch (const AppError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ParseBooleanLineTest, ReadsNumbersAsZeroOrNotAndTrueFalseInAnyCase) {
    const struct {
        const char* line;
        bool value;
    } cases[] = {
        {"0", false},     {"1", true},        {"-3", true},      {"+0", false},
        {"0.0", false},   {"000.000", false}, {"0.5", true},     {".5", true},
        {"7.", true},     {" 0\t", false},    {"True", true},    {"TRUE", true},
        {"false", false}, {"fAlSe", false},   {"  true ", true}, {"99999999999999999999999", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseBooleanLine(c.line), c.value) << "line '" << c.line << "'";
    }
}

TEST(ParseBooleanLineTest, RejectsAnythingElseQuotingTheLineAsRead) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"", "'' is not a valid boolean value"},
        {"maybe", "'maybe' is not a valid boolean value"},
        {"1.2.3", "'1.2.3' is not a valid boolean value"},
        {".", "'.' is not a valid boolean value"},
        {"0x1", "'0x1' is not a valid boolean value"},
        {" truex", "' truex' is not a valid boolean value"},
    };
    for (const auto& c : cases) EXPECT_EQ(ConversionError(c.line), c.error);
}

TEST(ReadMessageSwitchesTest, NoErrTxtTurnsBothSwitchesOnWithoutOpeningAnything) {
    testing::FakeFileSystem files;
    MessageSwitches switches{false, false};
    ReadMessageSwitches(files, kFolder, switches);
    EXPECT_TRUE(switches.showFileNotFoundMessage);
    EXPECT_TRUE(switches.showNoViewerMessage);
    EXPECT_TRUE(files.opened.empty());
}

TEST(ReadMessageSwitchesTest, SetsTheSwitchesFromLinesOneAndTwo) {
    const struct {
        const char* contents;
        bool fileNotFound;
        bool noViewer;
    } cases[] = {
        {"0\r\n0\r\n0\r\n", false, false},
        {"false\nTRUE\n1\n", false, true},
        {"1\n0\nFalse", true, false},
        {"1\r\n1\r\n1\r\nanything after line 3", true, true},
    };
    for (const auto& c : cases) {
        testing::FakeFileSystem files;
        files.AddFile(kErrTxt, c.contents);
        MessageSwitches switches;
        ReadMessageSwitches(files, kFolder, switches);
        EXPECT_EQ(switches.showFileNotFoundMessage, c.fileNotFound) << c.contents;
        EXPECT_EQ(switches.showNoViewerMessage, c.noViewer) << c.contents;
        EXPECT_EQ(files.opened, std::vector<std::string>{kErrTxt});
    }
}

TEST(ReadMessageSwitchesTest, BadOrMissingLineThrowsAndKeepsTheSwitchesReadBeforeIt) {
    const struct {
        const char* contents;
        const char* error;
        bool fileNotFound;
        bool noViewer;
    } cases[] = {
        {"0\n0\n", "'' is not a valid boolean value", false, false},
        {"0\nmaybe\n0\n", "'maybe' is not a valid boolean value", false, true},
        {"\n0\n0\n", "'' is not a valid boolean value", true, true},
        {"0\r\n0\r\nno\r\n", "'no' is not a valid boolean value", false, false},
        {"", "'' is not a valid boolean value", true, true},
    };
    for (const auto& c : cases) {
        testing::FakeFileSystem files;
        files.AddFile(kErrTxt, c.contents);
        MessageSwitches switches;
        try {
            ReadMessageSwitches(files, kFolder, switches);
            ADD_FAILURE() << "no error for " << c.contents;
        } catch (const AppError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
        EXPECT_EQ(switches.showFileNotFoundMessage, c.fileNotFound) << c.contents;
        EXPECT_EQ(switches.showNoViewerMessage, c.noViewer) << c.contents;
    }
}

}  // namespace
}  // namespace ambrevo
