#include <windows.h>
#include <shlobj.h>

#include "pack/common/pack_error.h"
#include "pack/start/user_folders.h"

namespace ambrevo::pack {

namespace {

// A known folder's path; empty when Windows has none for this user.
std::filesystem::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

UserFolders ThisUsersFolders() {
    UserFolders folders;
    folders.home = KnownFolder(FOLDERID_Profile);
    if (folders.home.empty()) throw PackError("the user's profile folder is unknown");
    folders.documents = KnownFolder(FOLDERID_Documents);
    if (folders.documents.empty()) folders.documents = folders.home;
    const std::filesystem::path appData = KnownFolder(FOLDERID_RoamingAppData);
    folders.config = (appData.empty() ? folders.home : appData) / "Ambrevo";
    folders.runtime = folders.config;
    return folders;
}

}  // namespace ambrevo::pack
