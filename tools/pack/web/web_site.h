#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace ambrevo::pack {

// The files of the browser player's page, as the web build leaves them in one folder.
constexpr auto kSiteFiles = std::to_array<std::string_view>(
    {"index.html", "page.css", "page_host.js", "page_text.js", "page_fetch.js", "page_input.js",
     "page_paint.js", "page_forms.js", "page_dialogs.js", "page_sounds.js", "page_live_reload.js",
     "page_start.js", "page_editor.js", "ambrevo-web.js", "ambrevo-web.wasm"});

// The folder of the page: given (--site), else the environment's AMBREVO_WEB_SITE, else
// where this build's web build puts it. Throws PackError when that folder holds no
// ambrevo-web.wasm.
std::filesystem::path FindWebSite(const std::optional<std::filesystem::path>& given);

}  // namespace ambrevo::pack
