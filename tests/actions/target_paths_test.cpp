#include "actions/target_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace ambrevo {
namespace {

const std::string kDisc = "E:\\menu\\";
const std::string kRoot = "E:\\";
const std::string kShare = "\\\\server\\share\\menu\\";

TEST(TargetPathsTest, TextOperationsApplyTheAuthorsConventions) {
    const struct {
        std::string actual;
        std::string expected;
    } cases[] = {
        // The drive variable: exact case, anywhere, again after a replacement.
        {ExpandCdVariable("/path=%CD%:\\data", kDisc), "/path=E:\\data"},
        {ExpandCdVariable("-drive %CD%", kDisc), "-drive E"},
        {ExpandCdVariable("%CD%%CD%", kDisc), "EE"},
        {ExpandCdVariable("/a %cd% %Cd%", kDisc), "/a %cd% %Cd%"},
        {ExpandCdVariable("readme.txt", kDisc), "readme.txt"},
        {ExpandCdVariable("%CD%:\\x", kShare), "\\:\\x"},
        {ExpandCdVariable("%CD%CD%", "%:\\"), "%"},
        {ExpandCdVariable("%%CD%D%", "C:\\"), "C"},
        {ExpandCdVariable("%CD%", ""), ""},
        // Resolving file targets.
        {ResolveFileTarget("%docs/manual.pdf", kDisc), "E:\\menu\\docs\\manual.pdf"},
        {ResolveFileTarget("\\setup.exe", kDisc), "E:\\setup.exe"},
        {ResolveFileTarget("/setup.exe", kDisc), "E:\\setup.exe"},
        {ResolveFileTarget("%", kDisc), "E:\\menu\\"},
        {ResolveFileTarget("%", kRoot), "E:\\"},
        {ResolveFileTarget("D:/tools/x.exe", kDisc), "D:\\tools\\x.exe"},
        {ResolveFileTarget("http://example.com/a/b.htm", kDisc), "http://example.com/a/b.htm"},
        {ResolveFileTarget("WWW.example.com/x", kDisc), "WWW.example.com/x"},
        {ResolveFileTarget("ftp://host/file", kDisc), "ftp://host/file"},
        {ResolveFileTarget("MailTo:me@example.com?subject=a/b", kDisc),
         "MailTo:me@example.com?subject=a/b"},
        {ResolveFileTarget("%http://example.com/x", kDisc), "E:\\menu\\http:\\\\example.com\\x"},
        {ResolveFileTarget("", kDisc), ""},
        // On a network share the drive is two backslashes; a path below the program stays
        // one full path.
        {ResolveFileTarget("%docs/a.pdf", kShare), "\\\\server\\share\\menu\\docs\\a.pdf"},
        {ResolveFileTarget("\\setup.exe", kShare), "\\\\\\setup.exe"},
        {ProgramDrive(kShare), "\\\\"},
        // A path in double quotes is resolved inside them; only one whole quoted path is.
        {ResolveFileTarget("\"%my tools/v.exe\"", kDisc), "\"E:\\menu\\my tools\\v.exe\""},
        {ResolveFileTarget("\"\\Program Files\\v.exe\"", kDisc), "\"E:\\Program Files\\v.exe\""},
        {ResolveFileTarget("\"%a\" \"b\"", kDisc), "\"%a\" \"b\""},
        {UnquotedPath("\"C:\\Program Files\\v.exe\""), "C:\\Program Files\\v.exe"},
        {UnquotedPath("\"\""), ""},
        {UnquotedPath("\""), "\""},
        {UnquotedPath("\"a\" \"b\""), "\"a\" \"b\""},
        {UnquotedPath("C:\\v.exe \"x\""), "C:\\v.exe \"x\""},
        {ProgramDrive(kDisc), "E:"},
        // Slashes and line breaks change nothing else.
        {SlashesToBackslashes("a/b\\c//d"), "a\\b\\c\\\\d"},
        {PilcrowsToLineBreaks("$Line one\u00B6Line two\u00B6"), "$Line one\rLine two\r"},
        {PilcrowsToLineBreaks("$No break \xE9"), "$No break \xE9"},
        // Quoting parameters.
        {QuoteParameters("readme.txt", "notepad.exe"), "\"readme.txt\""},
        {QuoteParameters("/S", "setup.exe"), "/S"},
        {QuoteParameters("-x", "setup.exe"), "-x"},
        {QuoteParameters("\\q", "setup.exe"), "\\q"},
        {QuoteParameters(" spaced", "setup.exe"), " spaced"},
        {QuoteParameters("readme.txt", "\"C:\\my tools\\view.exe\""), "readme.txt"},
        {QuoteParameters("", "setup.exe"), ""},
        {QuoteParameters("\"quoted\"", "setup.exe"), "\"\"quoted\"\""},
        // The fallback menu.
        {FallbackMenuName("D:\\docs\\manual.pdf"), "pdf.mnu"},
        {FallbackMenuName("archive.tar.gz"), "gz.mnu"},
        {FallbackMenuName("readme"), "eadme.mnu"},
        {FallbackMenuName("name."), ".mnu"},
        {FallbackMenuName(""), ".mnu"},
        // Folder and file-name parts.
        {FolderPart("E:\\docs\\manual.pdf"), "E:\\docs\\"},
        {FileNamePart("E:\\docs\\manual.pdf"), "manual.pdf"},
        {FolderPart("E:manual.pdf"), "E:"},
        {FileNamePart("E:manual.pdf"), "manual.pdf"},
        {FolderPart("manual.pdf"), ""},
        {FileNamePart("manual.pdf"), "manual.pdf"},
        {FileNamePart("E:\\docs\\"), ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].actual, cases[i].expected) << "case " << i;
    }
}

TEST(TargetPathsTest, TargetBelongsToTheFirstClassThatMatches) {
    const struct {
        const char* target;
        bool web;
        bool mail;
        bool menu;
    } cases[] = {
        {"http://example.com", true, false, false},
        {"HTTPS://example.com", true, false, false},
        {"Www.example.com", true, false, false},
        {"fTp://host", true, false, false},
        {"ht", false, false, false},
        {"mailto:me@example.com", false, true, false},
        {"MAILTO:", false, true, false},
        {"mail", false, false, false},
        {"E:\\docs\\manual.pdf", false, false, false},
        {"Second.MNU", false, false, true},
        {".mnu", false, false, true},
        {"menus\\second.mnu", false, false, false},
        {"menus/second.mnu", false, false, false},
        {"www.mnu", true, false, true},
        {"second.mnu ", false, false, false},
        {"\xC9T\xC9.MNU", false, false, true},
        {"", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWebTarget(c.target), c.web) << c.target;
        EXPECT_EQ(IsMailTarget(c.target), c.mail) << c.target;
        EXPECT_EQ(IsFileTarget(c.target), !c.web && !c.mail) << c.target;
        EXPECT_EQ(IsMenuTarget(c.target), c.menu) << c.target;
    }
}

}  // namespace
}  // namespace ambrevo
