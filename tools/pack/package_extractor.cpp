#include "package_extractor.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <system_error>

#include "file_io.h"
#include "menu_body_writer.h"
#include "menu_source_writer.h"
#include "pack_error.h"
#include "png_codec.h"
#include "support/ascii.h"
#include "text_encoding.h"
#include "toml_text.h"

namespace ambrevo::pack {
namespace {

// Names that Windows keeps for devices, and the package file's own name.
constexpr std::array<std::string_view, 23> kReservedStems = {
    "package", "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3",
    "com4",    "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2",
    "lpt3",    "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};

// A file name stem for the menu: the entry name without ".mnu", kept to letters, digits,
// "-", "_" and ".", unique in the package.
std::string StemFor(const std::string& entryName, std::set<std::string>& used) {
    std::string stem = AsciiLower(entryName);
    if (stem.size() >= 4 && stem.ends_with(".mnu")) stem.resize(stem.size() - 4);
    for (char& c : stem) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!plain) c = '_';
    }
    if (stem.empty() || stem.front() == '.') stem.insert(0, "menu");
    if (std::find(kReservedStems.begin(), kReservedStems.end(), stem) != kReservedStems.end()) {
        stem += "_menu";
    }
    std::string unique = stem;
    for (int n = 2; used.count(unique) != 0; ++n) unique = stem + "-" + std::to_string(n);
    used.insert(unique);
    return unique;
}

void CheckReadable(const BuiltPackage& package) {
    for (const BuiltMenu& menu : package.menus) {
        if (menu.menu == nullptr || !menu.problem.empty()) {
            throw PackError("the menu \"" + AnsiToUtf8(menu.name) +
                            "\" cannot be extracted: " + menu.problem);
        }
    }
}

void PrepareFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::exists(folder, error) && (!std::filesystem::is_directory(folder, error) ||
                                                   !std::filesystem::is_empty(folder, error))) {
        throw PackError("\"" + PathToUtf8(folder) +
                        "\" already exists and is not an empty folder; choose another");
    }
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw PackError("cannot create \"" + PathToUtf8(folder) + "\": " + error.message());
    }
}

void WritePictures(const std::filesystem::path& folder, const MenuSourceText& source) {
    for (const SourcePicture& picture : source.pictures) {
        const std::filesystem::path path = folder / PathFromUtf8(picture.path);
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        WriteFileBytes(path, EncodePng(*picture.picture));
    }
}

}  // namespace

void ExtractPackage(const BuiltPackage& package, const std::filesystem::path& folder,
                    std::ostream& warnings) {
    CheckReadable(package);
    PrepareFolder(folder);
    std::set<std::string> usedStems;
    std::vector<std::string> menuFiles;
    for (const BuiltMenu& built : package.menus) {
        const std::string stem = StemFor(built.name, usedStems);
        int version = built.menu->header.version;
        if (version > kLatestMenuVersion) {
            warnings << AnsiToUtf8(built.name) << ": format version " << version
                     << " is extracted as version " << kLatestMenuVersion << "\n";
            version = kLatestMenuVersion;
        }
        const MenuSourceText source = WriteMenuSource(*built.menu, version, built.name, stem);
        for (const std::string& warning : source.warnings) {
            warnings << AnsiToUtf8(built.name) << ": " << warning << "\n";
        }
        WritePictures(folder, source);
        menuFiles.push_back(stem + ".toml");
        WriteTextFile(folder / PathFromUtf8(menuFiles.back()), source.toml);
    }
    TomlText toml;
    toml.Text("header_text", package.header.text);
    toml.Integer("header_byte", package.header.byte);
    toml.TextList("menus", menuFiles);
    WriteTextFile(folder / "package.toml", toml.Str());
}

}  // namespace ambrevo::pack
