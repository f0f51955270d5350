#include "backends/win32/services/win32_viewer_lookups.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "actions/viewer_detection.h"
#include "backends/win32/services/win32_file_system.h"
#include "backends/win32/services/win32_version_info.h"
#include "backends/win32/system/unique_handle.h"
#include "support/ascii.h"

namespace ambrevo::win32 {
namespace {

// The folder of this test program, where the build puts the fixture programs too.
std::string TestFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1);
}

// A program of the system: in the system folder, or in the Windows folder itself.
std::string SystemProgram(const char* name, bool inWindowsFolder = false) {
    char folder[MAX_PATH] = {};
    if (inWindowsFolder) {
        ::GetWindowsDirectoryA(folder, MAX_PATH);
    } else {
        ::GetSystemDirectoryA(folder, MAX_PATH);
    }
    return std::string(folder) + "\\" + name;
}

std::string ReadAll(const std::string& path) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[64];
    DWORD read = 0;
    if (!file || !::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return "(none)";
    return std::string(buffer, read);
}

// A private folder with documents of an extension registered to be opened by the versioned
// fixture program; the folder and the registration go away afterwards. (Wine's shell does
// not always see classes registered for the current user only, so they go to the machine.)
class Win32ViewerLookupsTest : public ::testing::Test {
protected:
    static constexpr char kExtension[] = ".ambrevoviewertest";
    static constexpr char kClassKey[] = "ambrevoviewertest.document";

    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
        folder_ = std::string(temp) + "ambrevo-viewer-test-" +
                  std::to_string(::GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
        Register(kExtension, kClassKey);
        Register(std::string(kClassKey) + "\\shell\\open\\command",
                 "\"" + versioned_ + "\" \"%1\"");
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kExtension);
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
        for (const char* name :
             {"manual.ambrevoviewertest", "probe.htm", "page.unknownext", "index.htm"}) {
            ::DeleteFileA((folder_ + name).c_str());
        }
        ::RemoveDirectoryA((folder_ + "sub.htm").c_str());
        ::RemoveDirectoryA(folder_.c_str());
    }

    static void Register(const std::string& key, const std::string& value) {
        HKEY handle = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(handle);
    }

    std::string Touch(const char* name) {
        const std::string path = folder_ + name;
        UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(file) << path;
        return path;
    }

    std::string folder_;
    const std::string versioned_ = TestFolder() + "viewer_fixture_versioned.exe";
    Win32ViewerLookups lookups;
};

TEST_F(Win32ViewerLookupsTest, ExecutableFor_GivesTheAssociatedProgramOrNothing) {
    const std::string document = Touch("manual.ambrevoviewertest");
    const std::string unknown = Touch("page.unknownext");
    const struct {
        std::string document;
        std::string folder;
        std::string program;
    } cases[] = {
        {document, "", versioned_},
        {"manual.ambrevoviewertest", folder_, versioned_},
        {versioned_, "", versioned_},  // a program opens itself
        {unknown, "", ""},
        {folder_ + "missing.ambrevoviewertest", "", ""},
        {"manual.ambrevoviewertest", "", ""},  // not in the current folder
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(EqualsIgnoringAsciiCase(lookups.ExecutableFor(c.document, c.folder), c.program))
            << c.document << " in " << c.folder << ": "
            << lookups.ExecutableFor(c.document, c.folder);
    }
}

TEST_F(Win32ViewerLookupsTest, WindowsFolderIsTheSystemsOwn) {
    const std::string folder = lookups.WindowsFolder();
    EXPECT_TRUE(EqualsIgnoringAsciiCase(folder, "C:\\windows")) << folder;
}

TEST_F(Win32ViewerLookupsTest, CreateNewFile_MakesOnlyWhatIsNotThere) {
    const std::string probe = folder_ + "probe.htm";
    EXPECT_TRUE(lookups.CreateNewFile(probe, " \r\n"));
    EXPECT_EQ(ReadAll(probe), " \r\n");
    EXPECT_FALSE(lookups.CreateNewFile(probe, "other"));
    EXPECT_EQ(ReadAll(probe), " \r\n");

    ASSERT_TRUE(::CreateDirectoryA((folder_ + "sub.htm").c_str(), nullptr));
    EXPECT_FALSE(lookups.CreateNewFile(folder_ + "sub.htm", "x"));
    EXPECT_FALSE(lookups.CreateNewFile(folder_ + "missing\\probe.htm", "x"));

    EXPECT_TRUE(lookups.RemoveFile(probe));
    EXPECT_EQ(::GetFileAttributesA(probe.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(lookups.RemoveFile(probe));
}

// The viewer check and the browser lookup on the real shell, files and version resources.
TEST_F(Win32ViewerLookupsTest, CheckViewer_ReadsTheAssociatedProgramsNameAndVersion) {
    Touch("manual.ambrevoviewertest");
    Win32FileSystem files;
    Win32VersionInfoReader versions;
    const ProgramInfo program{folder_, "setup.exe", "Ambrevo"};
    ViewerDetection detection(lookups, files, versions, program);
    // The fixture is "Example Viewer 2", file version 7.10.
    const struct {
        const char* name;
        const char* version;
        int mode;
        bool passes;
    } cases[] = {
        {"example", "7.1", 0, true},  {"EXAMPLE", "7.10", 1, true},
        {"Example", "7.9", 1, false}, {"Example Viewer 2", "7", 1, false},
        {"N/A", "0", 0, false},
    };
    for (const auto& c : cases) {
        MenuItem item;
        item.viewerName = c.name;
        item.viewerVersion = c.version;
        item.viewerVersionMode = c.mode;
        std::string target = folder_ + "Manual.AmbrevoViewerTest";
        EXPECT_EQ(detection.CheckViewer(item, target), c.passes) << c.name << " " << c.version;
        EXPECT_EQ(target, "manual.ambrevoviewertest");
    }
}

TEST_F(Win32ViewerLookupsTest, FindDefaultBrowser_LeavesNoProbeFileBehindButKeepsAUsersOwn) {
    Win32FileSystem files;
    Win32VersionInfoReader versions;
    const ProgramInfo program{folder_, "setup.exe", "Ambrevo"};
    ViewerDetection detection(lookups, files, versions, program);
    if (::GetFileAttributesA(kBrowserProbeFile) != INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << kBrowserProbeFile << " is there already";
    }

    const std::string browser = detection.FindDefaultBrowser("www.example.com");
    EXPECT_FALSE(browser.empty());
    EXPECT_EQ(::GetFileAttributesA(kBrowserProbeFile), INVALID_FILE_ATTRIBUTES);

    Touch("index.htm");  // found in the program folder, before any probe file
    EXPECT_EQ(detection.FindDefaultBrowser("www.example.com"), browser);
    ::DeleteFileA((folder_ + "index.htm").c_str());

    ASSERT_TRUE(lookups.CreateNewFile(kBrowserProbeFile, "mine"));
    EXPECT_EQ(detection.FindDefaultBrowser("www.example.com"), browser);
    EXPECT_EQ(ReadAll(kBrowserProbeFile), "mine");
    ::DeleteFileA(kBrowserProbeFile);
}

TEST(Win32VersionInfoReaderTest, ReadsTheFirstLanguagesTextsAndTheFixedFileVersion) {
    Win32VersionInfoReader reader;

    const auto versioned = reader.Read(TestFolder() + "viewer_fixture_versioned.exe");
    ASSERT_TRUE(versioned);
    EXPECT_EQ(versioned->productName, "Example Viewer 2");
    EXPECT_EQ(versioned->fileDescription, "Example document viewer");
    EXPECT_EQ(versioned->productVersion, "2.0");
    EXPECT_EQ(versioned->fixedVersion, (FixedFileVersion{7, 10}));

    const auto untranslated = reader.Read(TestFolder() + "viewer_fixture_untranslated.exe");
    ASSERT_TRUE(untranslated);
    EXPECT_EQ(untranslated->productName, "");
    EXPECT_EQ(untranslated->fixedVersion, (FixedFileVersion{3, 2}));

    EXPECT_FALSE(reader.Read(SystemProgram("notepad.exe")));
    EXPECT_FALSE(reader.Read(TestFolder() + "missing.exe"));

    const auto system = reader.Read(SystemProgram("regedit.exe", true));
    ASSERT_TRUE(system);
    EXPECT_EQ(system->productName, "Wine");
    EXPECT_TRUE(system->fixedVersion);
}

}  // namespace
}  // namespace ambrevo::win32
