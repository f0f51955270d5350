#include "backends/win32/services/win32_file_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "backends/win32/system/unique_handle.h"
#include "support/app_error.h"

namespace ambrevo::win32 {
namespace {

// A private folder under the temporary folder, removed with what it holds.
class Win32FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
        folder_ = std::string(temp) + "ambrevo-fs-test-" + std::to_string(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
    }
    void TearDown() override {
        for (const std::string& file : files_) {
            ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(file.c_str());
        }
        ::RemoveDirectoryA((folder_ + "\\sub").c_str());
        for (const std::string& folder : folders_) ::RemoveDirectoryA(folder.c_str());
        ::RemoveDirectoryA(folder_.c_str());
    }

    std::string MakeFolder(const std::string& name) {
        const std::string path = folder_ + "\\" + name;
        EXPECT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << path;
        folders_.push_back(path);
        return path;
    }

    // The attributes as letters: d(irectory), h(idden), s(ystem), r(eparse point).
    static std::string Letters(const FileAttributes& attributes) {
        std::string letters;
        if (attributes.directory) letters += 'd';
        if (attributes.hidden) letters += 'h';
        if (attributes.system) letters += 's';
        if (attributes.reparsePoint) letters += 'r';
        return letters;
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = folder_ + "\\" + name;
        UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        EXPECT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                &written, nullptr));
        files_.push_back(path);
        return path;
    }

    std::string folder_;
    std::vector<std::string> files_;
    std::vector<std::string> folders_;
    Win32FileSystem files;
};

TEST_F(Win32FileSystemTest, ReadsAtAnyOffsetAndStopsAtTheEnd) {
    const std::string path = Write("program.exe", "MZ0123456789");
    auto file = files.OpenForReading(path);
    EXPECT_EQ(file->Size(), 12);

    char buffer[8] = {};
    EXPECT_EQ(file->ReadAt(2, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file->ReadAt(9, buffer, 8), 3u);
    EXPECT_EQ(std::string(buffer, 3), "789");
    EXPECT_EQ(file->ReadAt(12, buffer, 1), 0u);
    EXPECT_EQ(file->ReadAt(-1, buffer, 1), 0u);
}

TEST_F(Win32FileSystemTest, OpensWithoutDenyingOthersReadingOrWriting) {
    const std::string path = Write("shared.exe", "abcdef");
    // Another program already has the file open for writing...
    UniqueFile writer(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    auto file = files.OpenForReading(path);
    // ...and one more may open it for writing while the player reads it.
    UniqueFile second(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(second);
    char byte = 0;
    EXPECT_EQ(file->ReadAt(5, &byte, 1), 1u);
    EXPECT_EQ(byte, 'f');
}

TEST_F(Win32FileSystemTest, MissingFile_ThrowsTheOpenErrorWithTheSystemReason) {
    const std::string path = folder_ + "\\missing.exe";
    try {
        files.OpenForReading(path);
        FAIL() << "no error for a missing file";
    } catch (const AppError& error) {
        const std::string prefix = "Cannot open file \"" + path + "\". ";
        const std::string text = error.what();
        EXPECT_EQ(text.substr(0, prefix.size()), prefix);
        EXPECT_GT(text.size(), prefix.size());  // the system's reason follows
        EXPECT_NE(text.back(), '\n');
    }
}

TEST_F(Win32FileSystemTest, FileExists_CountsFilesOfAnyAttributesButNoFolders) {
    const std::string plain = Write("err.txt", "0\r\n");
    const std::string hidden = Write("setup.ico", "x");
    ASSERT_TRUE(::SetFileAttributesA(
        hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::CreateDirectoryA((folder_ + "\\sub").c_str(), nullptr));

    EXPECT_TRUE(files.FileExists(plain));
    EXPECT_TRUE(files.FileExists(hidden));
    EXPECT_FALSE(files.FileExists(folder_ + "\\sub"));
    EXPECT_FALSE(files.FileExists(folder_ + "\\nothing.txt"));
}

TEST_F(Win32FileSystemTest, ListFolder_GivesEveryEntryWithTheAttributesThatAttributesGives) {
    Write("plain.txt", "a");
    const std::string hidden = Write("hidden.txt", "b");
    const std::string system = Write("system.txt", "c");
    ASSERT_TRUE(::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    MakeFolder("Sub Folder");
    MakeFolder(".cache");

    std::map<std::string, std::string> listed;
    EXPECT_TRUE(files.ListFolder(folder_ + "\\*.*", [&](const FolderEntry& entry) {
        listed[entry.name] = Letters(entry.attributes);
        return true;
    }));
    // A dot name may also count as hidden, as Wine shows Unix dot files.
    EXPECT_EQ(listed[".cache"].substr(0, 1), "d");
    listed.erase(".cache");
    EXPECT_EQ(listed, (std::map<std::string, std::string>{{".", "d"},
                                                          {"..", "d"},
                                                          {"plain.txt", ""},
                                                          {"hidden.txt", "h"},
                                                          {"system.txt", "s"},
                                                          {"Sub Folder", "d"}}));
    for (const auto& [name, letters] : listed) {
        if (name[0] == '.') continue;
        const auto attributes = files.Attributes(folder_ + "\\" + name);
        ASSERT_TRUE(attributes) << name;
        EXPECT_EQ(Letters(*attributes), letters) << name;
    }
    EXPECT_FALSE(files.Attributes(folder_ + "\\nothing.txt"));
}

TEST_F(Win32FileSystemTest, ListFolder_StopsWhenAskedAndFailsWhenNothingCanBeListed) {
    Write("a.txt", "a");
    Write("b.txt", "b");
    int visits = 0;
    EXPECT_TRUE(files.ListFolder(folder_ + "\\*.txt", [&](const FolderEntry&) {
        ++visits;
        return false;
    }));
    EXPECT_EQ(visits, 1);
    const auto count = [&](const FolderEntry&) { return ++visits, true; };
    EXPECT_FALSE(files.ListFolder(folder_ + "\\*.zip", count));
    EXPECT_FALSE(files.ListFolder(folder_ + "\\missing\\*.*", count));
    EXPECT_FALSE(files.ListFolder(folder_ + "\\" + std::string(300, 'x') + "\\*.*", count));
    EXPECT_EQ(visits, 1);
}

}  // namespace
}  // namespace ambrevo::win32
