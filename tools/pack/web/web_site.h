#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace ambrevo::pack {

// The files of the browser player's page, as the web build leaves them in one folder.
constexpr std::array<std::string_view, 5> kSiteFiles = {"index.html", "page.js", "page.css",
                                                        "ambrevo-web.js", "ambrevo-web.wasm"};

// The folder of the page: given (--site), else the environment's AMBREVO_WEB_SITE, else
// where this build's web build puts it. Throws PackError when that folder holds no
// ambrevo-web.wasm.
std::filesystem::path FindWebSite(const std::optional<std::filesystem::path>& given);

}  // namespace ambrevo::pack
