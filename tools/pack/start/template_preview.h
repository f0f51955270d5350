#pragma once

#include <string>
#include <string_view>

namespace ambrevo::pack {

// A template's first menu as the player shows it when it opens, as PNG bytes with the
// window's shape transparent: the start page shows it beside the template's name. Throws
// PackError for an unknown template.
std::string TemplatePreviewPng(std::string_view name);

}  // namespace ambrevo::pack
