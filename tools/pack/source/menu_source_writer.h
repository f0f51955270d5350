#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "menu/menu_model.h"

namespace ambrevo::pack {

// A picture of an extracted menu and where the menu source names it.
struct SourcePicture {
    std::string path;  // relative to the menu source, with "/"
    std::shared_ptr<const Bitmap> picture;
    int record = 0;  // its slot in the picture table
    int set = 0;
    int frame = 0;
};

// The source of one menu: its TOML text, its pictures, and what the source cannot hold.
struct MenuSourceText {
    std::string toml;
    std::vector<SourcePicture> pictures;
    std::vector<std::string> warnings;  // pictures in slots that no item or window shows
};

// Writes a menu read from a package back as a source that builds the same body and
// declares the same code page (codePage, kSystemCodePage for none): every key is written,
// the entry name only when it differs from stem + ".mnu", "code_page" when the menu
// declares one or its texts are not all ASCII. Pictures are named "<stem>/background.png",
// "<stem>/item001_normal.png", "<stem>/item001_normal_002.png". Throws PackError for a
// text whose bytes no text of the code page builds.
MenuSourceText WriteMenuSource(const MenuDefinition& menu, int version,
                               const std::string& entryName, std::uint32_t codePage,
                               const std::string& stem);

}  // namespace ambrevo::pack
