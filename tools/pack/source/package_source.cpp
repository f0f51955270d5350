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
#include "pack/source/text_encoding.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

// A parser message on one line: its line breaks and the indentation after them become
// single spaces.
std::string OneLine(std::string_view text) {
    std::string line;
    bool blank = false;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

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
                    OneLine(failure.description()));
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

// Reads the menus a package file lists; false when one of them could not be read.
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
    table.ReportUnknownKeys();
    if (menus == nullptr) return false;
    bool allRead = true;
    std::map<std::filesystem::path, std::int64_t> listed;  // where each file was listed first
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
        const auto [first, added] =
            listed.emplace(std::filesystem::weakly_canonical(menu, error), LineOf(node));
        if (!added) {
            file.Report(LineOf(node), "\"" + name->get() +
                                          "\" is listed in \"menus\" twice, "
                                          "first at line " +
                                          std::to_string(first->second));
            continue;
        }
        allRead = ReadMenu(menu, nullptr, reading, package) && allRead;
    }
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
    WarnAboutUnreachableMenus(package.menus, diagnostics);
    for (const MenuSource& menu : package.menus) {
        for (const MenuTargetUse& use : menu.menuTargets) {
            if (byName.count(AsciiLower(use.target)) > 0) continue;
            const std::string target = "the menu target \"" + use.text + "\"";
            if (menuAlone) {
                diagnostics.Warn(menu.fileName, use.line,
                                 target + " is not checked: this menu is read alone");
            } else {
                diagnostics.Report(menu.fileName, use.line,
                                   target + " names no menu of the package");
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
