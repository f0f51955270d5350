#include "pack/source/package_source.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/source/source_table.h"
#include "pack/source/source_warnings.h"
#include "pack/text/text_encoding.h"
#include "pack/text/toml_problems.h"
#include "support/ascii.h"
#include "support/language_codes.h"

namespace ambrevo::pack {
namespace {

// Where the sources are read from: the files, or the texts given in their place.
struct SourceReading {
    PictureCache& pictures;
    Diagnostics& diagnostics;
    const SourceTexts* texts;

    const std::string* TextOf(const std::filesystem::path& path) const {
        if (texts == nullptr) return nullptr;
        const auto text = texts->find(path);
        return text == texts->end() ? nullptr : &text->second;
    }
};

std::optional<toml::table> ParseSource(const std::filesystem::path& path, const SourceFile& file,
                                       const SourceReading& reading) {
    std::string text;
    if (const std::string* given = reading.TextOf(path)) {
        text = *given;
    } else {
        try {
            const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
            text.assign(bytes.begin(), bytes.end());
        } catch (const PackError& failure) {
            file.Report(0, failure.what());
            return std::nullopt;
        }
    }
    try {
        return toml::parse(text, file.name);
    } catch (const toml::parse_error& failure) {
        file.Report(static_cast<std::int64_t>(failure.source().begin.line),
                    TomlProblem(failure.description()));
        return std::nullopt;
    }
}

bool IsPackageFile(const toml::table& root) { return root.contains("menus"); }

bool NamedLikePackageFile(const std::filesystem::path& path) {
    return AsciiLower(PathToUtf8(path.filename())) == "package.toml";
}

// Reads one menu source; false when it could not be read as a menu at all, so that its
// name is unknown.
bool ReadMenu(const std::filesystem::path& path, const toml::table* parsed,
              const SourceReading& reading, PackageSource& package) {
    const SourceFile file{PathToUtf8(path), reading.diagnostics};
    std::optional<toml::table> own;
    if (parsed == nullptr) {
        own = ParseSource(path, file, reading);
        if (!own) return false;
        parsed = &*own;
    }
    if (IsPackageFile(*parsed)) {
        file.Report(LineOf(*parsed->get("menus")),
                    "a package file (with \"menus\") must be the only source");
        return false;
    }
    package.menus.push_back(ReadMenuSource(*parsed, path, file, reading.pictures));
    return true;
}

// The menu files a package file lists, by their canonical paths.
struct ListedMenus {
    std::map<std::filesystem::path, std::int64_t> lines;     // where each was listed first
    std::map<std::filesystem::path, std::size_t> readMenus;  // those read: their menu
};

// [languages]: each ISO 639-1 code with the menu file of "menus" shown first to its users.
// A code that is no code is an error; a file that is not in the package is warned about
// and left out, so that those users see the first menu.
void ReadLanguages(const toml::node& node, const std::filesystem::path& path,
                   const ListedMenus& listed, const SourceReading& reading,
                   PackageSource& package) {
    const SourceFile file{PathToUtf8(path), reading.diagnostics};
    const toml::table* languages = node.as_table();
    if (languages == nullptr) {
        file.Report(LineOf(node),
                    "\"languages\" must be a table of language codes and menu source files");
        return;
    }
    for (const auto& [key, value] : *languages) {
        const std::string code(key.str());
        const std::int64_t line = LineOf(value);
        if (!IsLanguageCode(code)) {
            file.Report(line, "\"" + code +
                                  "\" in \"languages\" is no language code: use the two "
                                  "lower-case letters of ISO 639-1, such as \"de\"");
            continue;
        }
        const std::string where = "\"languages." + code + "\"";
        const auto* name = value.as_string();
        if (name == nullptr || name->get().empty()) {
            file.Report(line, where + " must name a menu source file of \"menus\"");
            continue;
        }
        const std::filesystem::path menu = path.parent_path() / PathFromUtf8(name->get());
        std::error_code error;
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(menu, error);
        if (const auto read = listed.readMenus.find(canonical); read != listed.readMenus.end()) {
            const std::string& entryName = package.menus[read->second].entryName;
            if (!entryName.empty()) package.languages.push_back({code, entryName});
            continue;
        }
        if (listed.lines.count(canonical) > 0) continue;  // listed, and reported as unreadable
        const bool exists =
            reading.TextOf(menu) != nullptr || std::filesystem::is_regular_file(menu, error);
        file.Warn(line,
                  where + ": \"" + name->get() +
                      (exists ? "\" is not listed in \"menus\", so the package does not hold it"
                              : "\" not found") +
                      "; users of this language see the first menu");
    }
}

// Reads the menus a package file lists, then its languages; false when one of the menus
// could not be read.
bool ReadPackageFile(const std::filesystem::path& path, const toml::table& root,
                     const SourceReading& reading, PackageSource& package) {
    const SourceFile file{PathToUtf8(path), reading.diagnostics};
    SourceTable table(root, file);
    table.Text("header_text", package.header.text);
    std::int32_t headerByte = package.header.byte;
    if (table.Integer("header_byte", headerByte, 0, 255)) {
        package.header.byte = static_cast<std::uint8_t>(headerByte);
    }
    const toml::array* menus = table.Array("menus");
    const toml::node* languages = table.Value("languages");
    table.ReportUnknownKeys();
    if (menus == nullptr) return false;
    bool allRead = true;
    ListedMenus listed;
    for (const toml::node& node : *menus) {
        const auto* name = node.as_string();
        if (name == nullptr || name->get().empty()) {
            file.Report(LineOf(node), "\"menus\" must list menu source files");
            allRead = false;
            continue;
        }
        const std::filesystem::path menu = path.parent_path() / PathFromUtf8(name->get());
        std::error_code error;
        if (!reading.TextOf(menu) && !std::filesystem::is_regular_file(menu, error)) {
            file.Report(LineOf(node), "menu source \"" + name->get() + "\" not found");
            allRead = false;
            continue;
        }
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(menu, error);
        const auto [first, added] = listed.lines.emplace(canonical, LineOf(node));
        if (!added) {
            file.Report(LineOf(node), "\"" + name->get() +
                                          "\" is listed in \"menus\" twice, "
                                          "first at line " +
                                          std::to_string(first->second));
            continue;
        }
        if (ReadMenu(menu, nullptr, reading, package)) {
            listed.readMenus.emplace(canonical, package.menus.size() - 1);
        } else {
            allRead = false;
        }
    }
    if (languages != nullptr) ReadLanguages(*languages, path, listed, reading, package);
    return allRead;
}

// A menu that declares a code page needs the table of code pages, one more entry of the
// directory, which holds 100.
void CheckRoomForCodePages(const PackageSource& package, Diagnostics& diagnostics) {
    if (package.menus.size() != static_cast<std::size_t>(kMaxPackageEntries)) return;
    const auto declaring = std::find_if(package.menus.begin(), package.menus.end(),
                                        [](const MenuSource& menu) { return menu.codePage != 0; });
    if (declaring == package.menus.end()) return;
    const std::string why =
        declaring->codePageLine > 0
            ? "it declares " + CodePageName(declaring->codePage) + "; leave out a menu"
            : "its texts are not all ASCII, so it declares Windows-1252; leave out a menu, or "
              "set \"code_page = 0\" to declare none";
    diagnostics.Report(
        declaring->fileName, declaring->codePageLine,
        "a package holds at most " + std::to_string(kMaxPackageEntries) + " entries, and its " +
            std::to_string(package.menus.size()) +
            " menus leave no room for the table of code pages this menu needs: " + why);
}

// The tables of item names, of languages and of pictures for high density need an entry
// each beside the menus (the table of code pages has its own message).
void CheckRoomForTables(const PackageSource& package, const std::string& file,
                        Diagnostics& diagnostics) {
    const auto has = [&](auto predicate) {
        return std::any_of(package.menus.begin(), package.menus.end(), predicate) ? 1u : 0u;
    };
    const std::size_t codePages = has([](const MenuSource& menu) { return menu.codePage != 0; });
    const std::size_t names = has([](const MenuSource& menu) {
        return std::any_of(menu.menu.items.begin(), menu.menu.items.end(),
                           [](const MenuItem& item) { return !item.name.empty(); });
    });
    const std::size_t languages = package.languages.empty() ? 0 : 1;
    const std::size_t densities =
        has([](const MenuSource& menu) { return !menu.densityPictures.empty(); });
    const std::size_t tables = names + languages + densities;
    const std::size_t menus = package.menus.size();
    if (tables == 0 || menus > static_cast<std::size_t>(kMaxPackageMenus) ||
        menus + codePages > static_cast<std::size_t>(kMaxPackageEntries) ||
        menus + codePages + tables <= static_cast<std::size_t>(kMaxPackageEntries)) {
        return;
    }
    diagnostics.Report(file, 0,
                       "a package holds at most " + std::to_string(kMaxPackageEntries) +
                           " entries, and its " + std::to_string(menus) +
                           " menus leave no room for the tables of item names" +
                           (densities == 0 ? " and languages"
                                           : ", languages and pictures for "
                                             "high density") +
                           "; leave out a menu");
}

// allRead: every source could be read as a menu, so every menu name is known. menuAlone:
// the sources are one menu file read without the menus its targets may name.
void CheckPackage(const PackageSource& package, const std::vector<std::filesystem::path>& sources,
                  bool allRead, bool menuAlone, Diagnostics& diagnostics) {
    if (package.menus.empty() && diagnostics.Empty()) {
        diagnostics.Report(PathToUtf8(sources.front()), 0, "the package holds no menu");
    }
    if (package.menus.size() > static_cast<std::size_t>(kMaxPackageMenus)) {
        diagnostics.Report(PathToUtf8(sources.front()), 0,
                           "a package holds at most " + std::to_string(kMaxPackageMenus) +
                               " menus, not " + std::to_string(package.menus.size()));
    }
    CheckRoomForCodePages(package, diagnostics);
    CheckRoomForTables(package, PathToUtf8(sources.front()), diagnostics);
    std::map<std::string, const MenuSource*> byName;
    for (const MenuSource& menu : package.menus) {
        if (menu.entryName.empty()) continue;
        const auto [earlier, added] = byName.emplace(menu.entryName, &menu);
        if (!added) {
            diagnostics.Report(menu.fileName, menu.entryNameLine,
                               "the menu name \"" + DisplayText(menu.entryName, menu.codePage) +
                                   "\" is already used by " + earlier->second->fileName);
        }
    }
    // A menu that could not be read, or whose name is wrong, may be the one a target
    // names: such targets are checked once it reads.
    const bool allNamed =
        std::none_of(package.menus.begin(), package.menus.end(),
                     [](const MenuSource& menu) { return menu.entryName.empty(); });
    if (!allRead || !allNamed) return;
    std::vector<std::string> firstMenus;
    for (const LanguageSource& language : package.languages) {
        firstMenus.push_back(language.entryName);
    }
    WarnAboutUnreachableMenus(package.menus, firstMenus, diagnostics);
    for (const MenuSource& menu : package.menus) {
        for (const MenuTargetUse& use : menu.menuTargets) {
            if (byName.count(AsciiLower(use.target)) > 0) continue;
            const std::string target = "the menu target \"" + use.text + "\"";
            if (menuAlone) {
                diagnostics.Warn(menu.fileName, use.line,
                                 target + " is not checked: this menu is read alone", use.item);
            } else {
                diagnostics.Report(menu.fileName, use.line,
                                   target + " names no menu of the package", use.item);
            }
        }
    }
}

}  // namespace

PackageSource ReadPackageSource(const std::vector<std::filesystem::path>& sources,
                                PictureCache& pictures, Diagnostics& diagnostics, SourceUse use,
                                const SourceTexts* texts) {
    const SourceReading reading{pictures, diagnostics, texts};
    PackageSource package;
    if (sources.empty()) {
        diagnostics.Report("ambrevo-pack", 0, "no source given");
        return package;
    }
    bool allRead = true;
    bool packageFile = false;
    for (const std::filesystem::path& path : sources) {
        const SourceFile file{PathToUtf8(path), diagnostics};
        const std::optional<toml::table> root = ParseSource(path, file, reading);
        if (!root) {
            allRead = false;
            continue;
        }
        if (sources.size() == 1 && IsPackageFile(*root)) {
            packageFile = true;
            allRead = ReadPackageFile(path, *root, reading, package);
        } else if (NamedLikePackageFile(path) && !IsPackageFile(*root)) {
            file.Report(0,
                        "a package file needs \"menus\", the list of its menu source files, "
                        "the first menu first");
            allRead = false;
        } else {
            allRead = ReadMenu(path, &*root, reading, package) && allRead;
        }
    }
    const bool menuAlone = use == SourceUse::Preview && sources.size() == 1 && !packageFile;
    CheckPackage(package, sources, allRead, menuAlone, diagnostics);
    return package;
}

}  // namespace ambrevo::pack
