// The disc folder on Windows, where std::filesystem of MinGW sees neither junctions nor
// short names: the system's own answers keep both from leading where the rule forbids.

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "backends/win32/system/unique_handle.h"
#include "pack/common/disc_files.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

// The short 8.3 name Windows gives the last part of path; empty when it has none.
std::wstring ShortName(const std::filesystem::path& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    const DWORD length =
        GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    buffer.resize(length);
    const std::wstring name = std::filesystem::path(buffer).filename().wstring();
    return name == path.filename().wstring() ? std::wstring() : name;
}

// Makes link a junction to target, as "mklink /J" does; false when the system cannot.
bool MakeJunction(const std::filesystem::path& link, const std::filesystem::path& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    const win32::UniqueFile folder(
        CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder) return false;
    // The mount point buffer: tag, data length, reserved, then the substitute name
    // ("\??\C:\...") and an empty print name, each ending in a null.
    const std::wstring substitute = L"\\??\\" + std::filesystem::absolute(target).wstring();
    const std::size_t nameBytes = substitute.size() * sizeof(wchar_t);
    const std::size_t dataBytes = 8 + nameBytes + 2 * sizeof(wchar_t);
    std::vector<std::byte> buffer(8 + dataBytes);
    const auto put16 = [&buffer](std::size_t at, std::size_t value) {
        const WORD word = static_cast<WORD>(value);
        std::memcpy(buffer.data() + at, &word, sizeof word);
    };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, sizeof tag);
    put16(4, dataBytes);
    put16(8, 0);                             // substitute name offset
    put16(10, nameBytes);                    // substitute name length
    put16(12, nameBytes + sizeof(wchar_t));  // print name offset
    put16(14, 0);                            // print name length
    std::memcpy(buffer.data() + 16, substitute.data(), nameBytes);
    DWORD returned = 0;
    return DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                           static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr) != 0;
}

TEST(DiscFilesWin32Test, FindDiscFile_JudgesAShortNameByItsLongName) {
    SourceFolder folder;
    folder.Write("disc/.git/config", "secret");
    folder.Write("disc/Long File Name.txt", "published");
    const std::wstring hidden = ShortName(folder.Path("disc/.git"));
    const std::wstring published = ShortName(folder.Path("disc/Long File Name.txt"));
    if (hidden.empty() || published.empty()) GTEST_SKIP() << "this volume keeps no short names";
    const auto utf8 = [](const std::wstring& name) {
        return std::filesystem::path(name).string();  // short names are ASCII
    };
    EXPECT_EQ(FindDiscFile(folder.Path("disc"), utf8(hidden) + "/config").lookup,
              DiscLookup::kRefused);
    const DiscFile found = FindDiscFile(folder.Path("disc"), utf8(published));
    EXPECT_EQ(found.lookup, DiscLookup::kFound);
    EXPECT_EQ(found.file.filename(), "Long File Name.txt");
}

TEST(DiscFilesWin32Test, ListAndFind_DoNotFollowAJunctionOutOfTheFolder) {
    SourceFolder folder;
    folder.Write("disc/readme.txt", "published");
    folder.Write("private/secret.txt", "secret");
    if (!MakeJunction(folder.Path("disc/out"), folder.Path("private"))) {
        GTEST_SKIP() << "this system makes no junctions (error " << GetLastError() << ")";
    }
    const DiscListing listing = ListDiscFiles(folder.Path("disc"));
    EXPECT_EQ(listing.files, std::vector<std::string>{"readme.txt"});
    EXPECT_EQ(FindDiscFile(folder.Path("disc"), "out/secret.txt").lookup, DiscLookup::kRefused);
}

}  // namespace
}  // namespace ambrevo::pack
