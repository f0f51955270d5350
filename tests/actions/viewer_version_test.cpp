#include <gtest/gtest.h>

#include "actions/decimal_number.h"
#include "actions/product_name.h"

namespace ambrevo {
namespace {

TEST(DecimalNumberTest, ComparesExactlyAndRefusesWhatIsNoDecimalNumber) {
    constexpr int kNone = 2;  // not a number
    const struct {
        const char* a;
        const char* b;
        int order;  // -1, 0, 1 or kNone
    } cases[] = {
        {"7.0", "6.0", 1},     {"7.10", "7.9", -1},
        {"7", "7.0", 0},       {"7.", "7", 0},
        {"007.500", "7.5", 0}, {".5", "0.50", 0},
        {"10", "9.99", 1},     {"123456789012345678901.1", "123456789012345678901.09", 1},
        {"0", "0", 0},         {" 6.0 ", "6", 0},
        {"7,0", "7", kNone},   {"", "7", kNone},
        {"7", ".", kNone},     {"1.2.3", "1", kNone},
        {"-1", "0", kNone},    {"1e3", "1000", kNone},
        {"inf", "1", kNone},   {"N/A", "0", kNone},
    };
    for (const auto& c : cases) {
        const auto order = CompareDecimals(c.a, c.b);
        const int got = !order ? kNone : *order < 0 ? -1 : *order > 0 ? 1 : 0;
        EXPECT_EQ(got, c.order) << c.a << " vs " << c.b;
    }
}

TEST(ProductNameTest, NormalisesReaderNamesAndCutsBeforeTheViewerWords) {
    const struct {
        const char* name;
        const char* normal;
    } cases[] = {
        {"Adobe Reader", "Adobe Acrobat"},
        {"Acrobat Reader", "Adobe Acrobat"},
        {"Adobe Acrobat", "Adobe Acrobat"},
        {"ADOBE READER 9", "Adobe Acrobat"},
        {"Adobe Acrobat Reader DC", "Adobe Acrobat"},
        {"Example Viewer 2", "Example"},
        {"Example READER", "Example"},
        {"Tool Version 3 Viewer", "Tool"},
        {"Tool ver 2", "Tool"},
        {"Tool ver", "Tool ver"},
        {"Reader", "Reader"},
        {"Example Viewer", "Example"},
        {"Viewers Choice viewer", "Viewers Choice"},
        {" Spaced  ", " Spaced  "},
        {"Caf\xe9 Viewer", "Caf\xe9"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormaliseProductName(c.name), c.normal) << c.name;
    }
}

TEST(ProductNameTest, SystemProgramsAreKnownByTheirDescription) {
    const struct {
        const char* productName;
        const char* description;
        const char* name;
    } cases[] = {
        {"Microsoft Windows Operating System", "Windows Picture Viewer", "Windows Picture"},
        {"Microsoft Windows Operating System", "", "Microsoft Windows Operating System"},
        {"Microsoft Windows operating system", "Picture Viewer",
         "Microsoft Windows operating system"},
        {"Example Viewer", "Something else", "Example"},
        {"", "Described", ""},
    };
    for (const auto& c : cases) {
        FileVersionInfo info;
        info.productName = c.productName;
        info.fileDescription = c.description;
        EXPECT_EQ(ProductNameOf(info), c.name) << c.productName << " / " << c.description;
    }
}

TEST(ProductNameTest, FileVersionIsMajorDotMinorInDecimal) {
    FileVersionInfo info;
    EXPECT_EQ(FileVersionOf(info), "");
    info.fixedVersion = FixedFileVersion{7, 0};
    EXPECT_EQ(FileVersionOf(info), "7.0");
    info.fixedVersion = FixedFileVersion{65535, 10};
    EXPECT_EQ(FileVersionOf(info), "65535.10");
}

}  // namespace
}  // namespace ambrevo
