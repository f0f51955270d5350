#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// The files of the browser player's page and of the tool's start page, as the web build
// leaves them in one folder.
constexpr auto kSiteFiles =
    std::to_array<std::string_view>({"index.html", "page.css", "page.js", "ambrevo-web.js",
                                     "ambrevo-web.wasm", "start.html", "start.css", "start.js"});
// Of those, the start page's, which only the tool serves: a menu's static page leaves them
// out.
constexpr auto kStartPageFiles =
    std::to_array<std::string_view>({"start.html", "start.css", "start.js"});

// The folder of the page: given (--site), else the environment's AMBREVO_WEB_SITE, else
// this program's own (OwnWebSite). Throws PackError when that folder holds no
// ambrevo-web.wasm, or this program has no page of its own.
std::filesystem::path FindWebSite(const std::optional<std::filesystem::path>& given);

// The page this program comes with, whose folder it returns; throws PackError when it has
// none. The Linux tool's is the folder "page" beside it (the download's), else where this
// build's web build puts it; the Windows tool carries
// the page's files in itself (web_site_win32.cpp) and unpacks them into the user's
// temporary folder (UnpackSite).
std::filesystem::path OwnWebSite();

// One file of the page, as a program carries it.
struct SiteFile {
    std::string_view name;
    std::string_view bytes;
};

// The name of the Windows tool's resource that holds a file of the page: the file's name
// in capitals, with "_" for each character other than a letter or digit
// ("ambrevo-web.wasm": "AMBREVO_WEB_WASM"). cmake/embed_web_site.cmake names them alike.
std::string SiteResourceName(std::string_view name);

// Writes files into a folder of their own below parent, "ambrevo-page-" and a hash of
// their names and bytes, and returns that folder. A folder that an earlier run left there
// with these files whole is used as it is; one that differs is replaced. The files are
// written into a private folder beside it, put in place only when complete, so that
// programs unpacking the same page at once never see each other's halves. Throws PackError
// when the folder cannot be made.
std::filesystem::path UnpackSite(std::span<const SiteFile> files,
                                 const std::filesystem::path& parent);

}  // namespace ambrevo::pack
