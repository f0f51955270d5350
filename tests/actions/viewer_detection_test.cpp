#include "actions/viewer_detection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "fakes/fake_version_info.h"
#include "fakes/fake_viewer_lookups.h"

namespace ambrevo {
namespace {

using Question = testing::FakeViewerLookups::Question;

constexpr char kReader[] = "C:\\Program Files\\Reader\\reader.exe";
constexpr char kBrowser[] = "C:\\Program Files\\Browser\\browser.exe";

class ViewerDetectionTest : public ::testing::Test {
protected:
    ViewerDetectionTest() {
        files.AddFile(kReader, "MZ");
        files.AddFile(kBrowser, "MZ");
        files.AddFile("E:\\Docs\\Manual.PDF", "%PDF");
        lookups.programs[".pdf"] = kReader;
        lookups.programs[".htm"] = kBrowser;
        SetResource(kBrowser, "Example Browser Version 5", FixedFileVersion{5, 2});
    }

    void SetResource(const std::string& program, const std::string& productName,
                     std::optional<FixedFileVersion> fixed) {
        FileVersionInfo info;
        info.productName = productName;
        info.fixedVersion = fixed;
        versions.resources[program] = info;
    }

    static MenuItem Wants(const char* name, const char* version, int mode) {
        MenuItem item;
        item.checkViewer = 1;
        item.viewerName = name;
        item.viewerVersion = version;
        item.viewerVersionMode = mode;
        return item;
    }

    testing::FakeFileSystem files;
    testing::FakeViewerLookups lookups{files};
    testing::FakeVersionInfoReader versions;
    ProgramInfo program{"E:\\menu\\", "setup.exe", "Ambrevo"};
    ViewerDetection detection{lookups, files, versions, program};
};

TEST_F(ViewerDetectionTest, CheckViewer_ComparesNameInAnyCaseAndVersionAsDecimal) {
    const std::optional<FixedFileVersion> none;
    const struct {
        const char* productName;  // null: the reader has no version resource
        std::optional<FixedFileVersion> installed;
        const char* name;
        const char* version;
        int mode;
        bool passes;
    } cases[] = {
        {"Adobe Reader", FixedFileVersion{7, 0}, "Adobe Acrobat", "6.0", 1, true},
        {"Adobe Reader", FixedFileVersion{7, 0}, "Adobe Acrobat", "6.0", 0, false},
        {"Acrobat Reader", FixedFileVersion{7, 0}, "adobe acrobat", "7", 0, true},
        {"Adobe Acrobat", FixedFileVersion{7, 0}, "ADOBE ACROBAT", "7.0", 2, true},
        {"Adobe Acrobat", FixedFileVersion{7, 10}, "Adobe Acrobat", "7.9", 1, false},
        {"Adobe Acrobat", FixedFileVersion{7, 10}, "Adobe Acrobat", "7.1", 0, true},
        {"Example Viewer 2", FixedFileVersion{3, 0}, "example", "2.5", 1, true},
        {"Example Viewer 2", FixedFileVersion{3, 0}, "Example Viewer 2", "2.5", 1, false},
        {"Other", FixedFileVersion{9, 0}, "Adobe Acrobat", "6.0", 1, false},
        // A required version that is no decimal number fails, whatever is installed.
        {"Adobe Acrobat", FixedFileVersion{7, 0}, "Adobe Acrobat", "seven", 1, false},
        {"Adobe Acrobat", FixedFileVersion{7, 0}, "Adobe Acrobat", "7,0", 0, false},
        {"Adobe Acrobat", FixedFileVersion{7, 0}, "Adobe Acrobat", "", 1, false},
        // Nothing detected is "N/A" "0".
        {nullptr, none, "N/A", "0", 0, true},
        {nullptr, none, "n/a", "0.0", 0, true},
        {nullptr, none, "Adobe Acrobat", "0", 1, false},
        {"", FixedFileVersion{7, 0}, "N/A", "0", 0, true},
        {"Adobe Acrobat", none, "N/A", "0", 0, true},
        {"Adobe Acrobat", none, "Adobe Acrobat", "0", 1, false},
    };
    for (const auto& c : cases) {
        versions.resources.clear();
        if (c.productName) SetResource(kReader, c.productName, c.installed);
        std::string target = "E:\\Docs\\Manual.PDF";
        EXPECT_EQ(detection.CheckViewer(Wants(c.name, c.version, c.mode), target), c.passes)
            << (c.productName ? c.productName : "(none)") << " / " << c.name << " " << c.version
            << " mode " << c.mode;
        EXPECT_EQ(target, "manual.pdf");
    }
}

TEST_F(ViewerDetectionTest, CheckViewer_AsksTheShellAboutTheLowerCasedFileNameInItsFolder) {
    SetResource(kReader, "Adobe Reader", FixedFileVersion{7, 0});
    files.AddFile("E:\\Docs\\Notes.XYZ", "");
    const struct {
        const char* target;
        const char* name;  // what the caller's target becomes
        std::vector<Question> asked;
        bool noViewer;  // the "N/A" "0" item passes
    } cases[] = {
        {"E:\\Docs\\Manual.PDF", "manual.pdf", {{"manual.pdf", "e:\\docs\\"}}, false},
        {"E:\\Docs\\Notes.XYZ", "notes.xyz", {{"notes.xyz", "e:\\docs\\"}}, true},
        {"E:Manual.pdf", "manual.pdf", {{"manual.pdf", "e:"}}, true},
        {"Manual.pdf", "manual.pdf", {{"manual.pdf", ""}}, true},
        {"", "", {}, true},
        // An address is split at its last colon; "//..." is no web name, so the shell is
        // asked with the scheme as the folder.
        {"HTTP://www.example.com/Guide.pdf",
         "//www.example.com/guide.pdf",
         {{"//www.example.com/guide.pdf", "http:"}},
         true},
        {"E:\\Web\\WWW.example.com", "www.example.com", {}, false},
    };
    for (const auto& c : cases) {
        lookups.asked.clear();
        std::string target = c.target;
        EXPECT_EQ(detection.CheckViewer(Wants("N/A", "0", 0), target), c.noViewer) << c.target;
        EXPECT_EQ(target, c.name) << c.target;
        if (!c.asked.empty() || *c.target == '\0') {
            EXPECT_EQ(lookups.asked, c.asked) << c.target;
        }
    }
}

TEST_F(ViewerDetectionTest, CheckViewer_WebNamesGoToTheDefaultBrowser) {
    files.AddFile("C:\\WINDOWS\\help\\start.htm", "");
    for (const char* target : {"www.example.com", "E:\\ftp.example.com", "E:\\docs\\HTTPD.CONF"}) {
        lookups.asked.clear();
        std::string name = target;
        EXPECT_TRUE(detection.CheckViewer(Wants("example browser", "5.2", 0), name)) << target;
        ASSERT_FALSE(lookups.asked.empty()) << target;
        EXPECT_EQ(lookups.asked.back(), (Question{"C:\\WINDOWS\\help\\start.htm", ""})) << target;
    }
}

TEST_F(ViewerDetectionTest, FindDefaultBrowser_LooksInTheLikelyFoldersInOrder) {
    lookups.windowsFolder = "D:\\WINNT";
    const std::vector<std::string> allFolders = {
        "D:\\WINNT\\*.htm",
        "E:\\menu\\*.htm",
        "D:\\Program Files\\Common Files\\Microsoft Shared\\Stationery\\*.htm",
        "D:\\WINNT\\system\\*.htm",
        "D:\\WINNT\\help\\*.htm",
        "D:\\WINNT\\web\\*.htm",
        "C:\\*.htm",
    };
    files.AddFolder("D:\\WINNT\\web\\folder.htm");
    files.AddFile("D:\\WINNT\\web\\Hidden.HTM", "", FileAttributes{false, true, true});

    EXPECT_EQ(detection.FindDefaultBrowser("www.example.com"), kBrowser);
    EXPECT_EQ(lookups.asked, (std::vector<Question>{{"D:\\WINNT\\web\\Hidden.HTM", ""}}));
    EXPECT_EQ(files.listed, std::vector<std::string>(allFolders.begin(), allFolders.end() - 1));
    EXPECT_TRUE(lookups.created.empty());

    // With an empty probe nothing found counts: every folder is looked in, the shell is
    // asked about the empty name, and the probe file made for it is gone again.
    files.listed.clear();
    lookups.asked.clear();
    EXPECT_EQ(detection.FindDefaultBrowser(""), "");
    EXPECT_EQ(files.listed, allFolders);
    EXPECT_EQ(lookups.asked, (std::vector<Question>{{"", ""}}));
    EXPECT_FALSE(files.FileExists(kBrowserProbeFile));
}

TEST_F(ViewerDetectionTest, FindDefaultBrowser_WindowsFolderDefaultsToCWindows) {
    lookups.windowsFolder = "";
    detection.FindDefaultBrowser("www.example.com");
    ASSERT_EQ(files.listed.size(), 7u);
    EXPECT_EQ(files.listed[0], "C:\\Windows\\*.htm");
    EXPECT_EQ(files.listed[5], "C:\\Windows\\web\\*.htm");
}

TEST_F(ViewerDetectionTest, FindDefaultBrowser_AnExistingProbeSkipsTheSearch) {
    files.AddFile("E:\\menu\\index.htm", "");
    files.AddFolder("E:\\menu\\pages");
    for (const char* probe : {"E:\\menu\\index.htm", "E:\\menu\\pages"}) {
        files.listed.clear();
        lookups.asked.clear();
        detection.FindDefaultBrowser(probe);
        EXPECT_TRUE(files.listed.empty()) << probe;
        EXPECT_EQ(lookups.asked, (std::vector<Question>{{probe, ""}})) << probe;
    }
    EXPECT_EQ(detection.FindDefaultBrowser("E:\\menu\\index.htm"), kBrowser);
    EXPECT_EQ(detection.FindDefaultBrowser("E:\\menu\\pages"), "");
}

TEST_F(ViewerDetectionTest, FindDefaultBrowser_MakesAndDeletesOnlyItsOwnProbeFile) {
    const struct {
        const char* situation;
        bool probeThere;   // a file of the probe's name exists before the lookup
        bool readOnly;     // no file can be made anywhere
        bool rootRefused;  // no file can be made in C:\, as for a standard user
        const char* browser;
        const char* asked;  // the file the shell is asked about
        bool made;
        bool thereAfter;
    } cases[] = {
        {"nothing found", false, false, false, kBrowser, "C:\\qelvosbk.htm", true, false},
        {"the user's probe", true, false, false, kBrowser, "C:\\qelvosbk.htm", false, true},
        {"the user's probe, root refused", true, false, true, kBrowser, "C:\\qelvosbk.htm", false,
         true},
        {"root refused", false, false, true, kBrowser,
         "C:\\Users\\Me\\AppData\\Local\\Temp\\qelvosbk.htm", true, false},
        {"read-only everywhere", false, true, false, "", "www.example.com", false, false},
    };
    for (const auto& c : cases) {
        files.Remove(kBrowserProbeFile);
        if (c.probeThere) files.AddFile(kBrowserProbeFile, "mine");
        lookups.readOnly = c.readOnly;
        lookups.refusedFolder = c.rootRefused ? "C:\\" : "-";
        const std::string temporaryProbe = lookups.temporaryFolder + kBrowserProbeName;
        lookups.created.clear();
        lookups.removed.clear();
        lookups.asked.clear();

        EXPECT_EQ(detection.FindDefaultBrowser("www.example.com"), c.browser) << c.situation;
        EXPECT_EQ(lookups.asked, (std::vector<Question>{{c.asked, ""}})) << c.situation;
        EXPECT_EQ(lookups.created.size(), c.made ? 1u : 0u) << c.situation;
        const std::vector<std::string> removed =
            c.made ? std::vector<std::string>{c.asked} : std::vector<std::string>{};
        EXPECT_EQ(lookups.removed, removed) << c.situation;
        EXPECT_EQ(files.FileExists(kBrowserProbeFile), c.thereAfter) << c.situation;
        EXPECT_FALSE(files.FileExists(temporaryProbe)) << c.situation;
    }
    lookups.readOnly = false;
    lookups.refusedFolder = "-";
    files.Remove(kBrowserProbeFile);
    detection.FindDefaultBrowser("www.example.com");
    EXPECT_EQ(lookups.created,
              (std::vector<testing::FakeViewerLookups::MadeFile>{{"C:\\qelvosbk.htm", " \r\n"}}));
}

}  // namespace
}  // namespace ambrevo
