#include "pack/package/package_extractor.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/pictures/density_variants.h"
#include "pack/pictures/png_codec.h"
#include "pack/source/menu_source_writer.h"
#include "pack/source/menu_texts.h"
#include "pack/text/text_encoding.h"
#include "pack/text/toml_text.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

// Names that Windows keeps for devices, and the package file's own name.
constexpr std::array<std::string_view, 23> kReservedStems = {
    "package", "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3",
    "com4",    "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2",
    "lpt3",    "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};

// A file name stem for the menu: the entry name without ".mnu", kept to letters, digits,
// "-", "_" and "." of ASCII (any other character becomes one "_"), or "menu" when it has
// no letter or digit of ASCII; unique in the package.
std::string StemFor(const BuiltMenu& menu, std::set<std::string>& used) {
    const std::string name = AsciiLower(DisplayText(menu.name, menu.codePage));
    std::string stem;
    for (std::size_t i = 0; i < name.size();) {
        const std::uint32_t c = NextCodePoint(name, i);
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        stem += plain ? static_cast<char>(c) : '_';
    }
    if (stem.size() >= 4 && stem.ends_with(".mnu")) stem.resize(stem.size() - 4);
    const bool named = std::any_of(stem.begin(), stem.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
    if (!named) stem = "menu";  // a name of other characters only
    if (stem.front() == '.') stem.insert(0, "menu");
    if (std::find(kReservedStems.begin(), kReservedStems.end(), stem) != kReservedStems.end()) {
        stem += "_menu";
    }
    std::string unique = stem;
    for (int n = 2; used.count(unique) != 0; ++n) unique = stem + "-" + std::to_string(n);
    used.insert(unique);
    return unique;
}

int ExtractedVersion(const BuiltMenu& menu) {
    return std::min<int>(menu.menu->header.version, kLatestMenuVersion);
}

// Each text, the name too, must have a source text that builds its bytes again.
void CheckTexts(const BuiltMenu& menu, const std::string& cannot) {
    if (!IsMenuCodePage(menu.codePage)) {
        throw PackError(cannot + "it declares code page " + std::to_string(menu.codePage) +
                        ", which a menu source cannot give");
    }
    std::vector<MenuTextField> texts = MenuTexts(*menu.menu, ExtractedVersion(menu));
    texts.insert(texts.begin(), {"name", &menu.name});
    for (const MenuTextField& field : texts) {
        if (!DecodeText(*field.text, menu.codePage)) {
            throw PackError(cannot + "its " + field.key + " holds bytes that no text of " +
                            CodePageName(menu.codePage) + " builds");
        }
    }
}

void CheckReadable(const BuiltPackage& package) {
    if (!package.densityProblem.empty()) {
        throw PackError("the pictures for high density cannot be extracted: " +
                        package.densityProblem);
    }
    for (const BuiltMenu& menu : package.menus) {
        const std::string cannot =
            "the menu \"" + DisplayText(menu.name, menu.codePage) + "\" cannot be extracted: ";
        if (menu.menu == nullptr || !menu.problem.empty()) throw PackError(cannot + menu.problem);
        CheckTexts(menu, cannot);
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

// Each picture, and beside it its variants for high density ("name@2x.png"). Variants of
// slots that the source names no picture for are reported and left out.
void WritePictures(const std::filesystem::path& folder, const MenuSourceText& source,
                   const std::vector<DensityPicture>& densities,
                   std::vector<std::string>& warnings) {
    std::vector<bool> written(densities.size(), false);
    for (const SourcePicture& picture : source.pictures) {
        const std::filesystem::path path = folder / PathFromUtf8(picture.path);
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        WriteFileBytes(path, EncodePng(*picture.picture));
        for (std::size_t i = 0; i < densities.size(); ++i) {
            const DensityPicture& variant = densities[i];
            if (variant.record != picture.record || variant.set != picture.set ||
                variant.frame != picture.frame) {
                continue;
            }
            WriteFileBytes(VariantPath(path, *DensityOfPercent(variant.percent)),
                           EncodePng(*variant.bitmap));
            written[i] = true;
        }
    }
    for (std::size_t i = 0; i < densities.size(); ++i) {
        if (written[i]) continue;
        const DensityPicture& variant = densities[i];
        warnings.push_back("the picture for " + std::to_string(variant.percent) + " % of record " +
                           std::to_string(variant.record) + ", set " + std::to_string(variant.set) +
                           ", frame " + std::to_string(variant.frame) +
                           " has no picture to stand beside and was left out");
    }
}

// [languages] with each language's menu file; menuFiles are the files of package.menus.
void WriteLanguages(const BuiltPackage& package, const std::vector<std::string>& menuFiles,
                    TomlText& toml, std::ostream& warnings) {
    if (package.languages.empty()) return;
    toml.Table("languages");
    for (const LanguageMenu& language : package.languages) {
        const auto menu =
            std::find_if(package.menus.begin(), package.menus.end(),
                         [&](const BuiltMenu& built) { return built.name == language.entryName; });
        if (menu == package.menus.end()) {
            warnings << "the first menu of language " << language.code << ", \""
                     << DisplayText(language.entryName, kSystemCodePage)
                     << "\", is not in the package and is left out\n";
            continue;
        }
        toml.Utf8Text(language.code,
                      menuFiles[static_cast<std::size_t>(menu - package.menus.begin())]);
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
        const std::string stem = StemFor(built, usedStems);
        const std::string name = DisplayText(built.name, built.codePage);
        const int version = ExtractedVersion(built);
        if (version != built.menu->header.version) {
            warnings << name << ": format version " << static_cast<int>(built.menu->header.version)
                     << " is extracted as version " << version << "\n";
        }
        MenuSourceText source =
            WriteMenuSource(*built.menu, version, built.name, built.codePage, stem);
        WritePictures(folder, source, built.densityPictures, source.warnings);
        for (const std::string& warning : source.warnings) {
            warnings << name << ": " << warning << "\n";
        }
        menuFiles.push_back(stem + ".toml");
        WriteTextFile(folder / PathFromUtf8(menuFiles.back()), source.toml);
    }
    TomlText toml;
    toml.Text("header_text", package.header.text);
    toml.Integer("header_byte", package.header.byte);
    toml.Utf8List("menus", menuFiles);
    WriteLanguages(package, menuFiles, toml, warnings);
    WriteTextFile(folder / "package.toml", toml.Str());
}

}  // namespace ambrevo::pack
