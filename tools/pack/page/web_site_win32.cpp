// The Windows tool's own page: the page's files are resources of the program
// (cmake/embed_web_site.cmake), unpacked into the user's temporary folder when used.

#include <windows.h>

#include <string>
#include <system_error>
#include <vector>

#include "pack/common/pack_error.h"
#include "pack/page/web_site.h"

namespace ambrevo::pack {
namespace {

// The page's files among this program's resources; empty when it was built without them.
std::vector<SiteFile> BuiltInFiles() {
    std::vector<SiteFile> files;
    for (const std::string_view name : kSiteFiles) {
        const std::string resource = SiteResourceName(name);
        const std::wstring wide(resource.begin(), resource.end());  // letters, digits and _
        const HRSRC found = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10));  // RCDATA
        const HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
        const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (bytes == nullptr) return {};
        files.push_back({name, {static_cast<const char*>(bytes), SizeofResource(nullptr, found)}});
    }
    return files;
}

}  // namespace

std::filesystem::path OwnWebSite() {
    const std::vector<SiteFile> files = BuiltInFiles();
    if (files.empty()) {
        throw PackError(
            "the browser player's page is not built into this ambrevo-pack (the tool was built "
            "before \"make web\"): give the page's folder with --site DIR, or run \"make web\" "
            "and build the tool again");
    }
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        throw PackError("cannot unpack the browser player's page: no temporary folder (" +
                        error.message() + ")");
    }
    return UnpackSite(files, temporary);
}

}  // namespace ambrevo::pack
