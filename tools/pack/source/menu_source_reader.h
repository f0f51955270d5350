#pragma once

#include <toml++/toml.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "pack/common/diagnostics.h"
#include "pack/pictures/picture_cache.h"
#include "pack/writer/density_entry.h"
#include "pack/source/source_defaults.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {

// A target of an item that switches to another menu of the package, where it was written.
struct MenuTargetUse {
    std::string target;  // in the menu's code page, as stored: compared with entry names
    std::string text;    // UTF-8, as written: for messages
    std::int64_t line = 0;
    int item = 0;  // the item's number, from 1
};

// A target that the shell opens (a file, program, folder or address), where it was written.
struct ShellTargetUse {
    std::string text;  // UTF-8, as written
    std::int64_t line = 0;
};

// One menu source read into the model, with what the package-wide checks need.
struct MenuSource {
    std::string fileName;   // as messages show it
    std::string entryName;  // the package entry: in the menu's code page, A-Z lowered
    std::int64_t entryNameLine = 0;
    int version = kDefaultMenuVersion;
    // The code page the package declares for the menu's texts: "code_page", or when the
    // source has none, Windows-1252 for a menu whose texts (name included) are not all
    // ASCII. kSystemCodePage declares none: the texts are Windows-1252, read in the
    // machine's code page.
    std::uint32_t codePage = kSystemCodePage;
    std::int64_t codePageLine = 0;  // of "code_page"; 0 when the source has none
    MenuDefinition menu;
    std::vector<DensityPicture> densityPictures;  // the variants of its pictures, as stored
    std::vector<MenuTargetUse> menuTargets;
    std::vector<ShellTargetUse> shellTargets;
};

// Reads the parsed TOML of one menu (file: where it lies, for the default entry name and
// the pictures beside it). Every problem is reported to file.diagnostics; the result then
// holds what could be read.
MenuSource ReadMenuSource(const toml::table& root, const std::filesystem::path& file,
                          const SourceFile& source, PictureCache& pictures);

// A target that the player treats as a switch to another menu: it ends in ".mnu", has no
// "/" or "\", and is no hidden run ("%NOPROC%"), no-action ("*") or message ("$") target.
bool IsMenuTarget(std::string_view target);

}  // namespace ambrevo::pack
