#include "package_source.h"

#include <map>
#include <optional>
#include <string>
#include <system_error>

#include "file_io.h"
#include "pack_error.h"
#include "source_table.h"
#include "support/ascii.h"
#include "text_encoding.h"

namespace ambrevo::pack {
namespace {

std::optional<toml::table> ParseSource(const std::filesystem::path& path, const SourceFile& file) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const PackError& failure) {
        file.Report(0, failure.what());
        return std::nullopt;
    }
    try {
        return toml::parse(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), file.name);
    } catch (const toml::parse_error& failure) {
        file.Report(static_cast<std::int64_t>(failure.source().begin.line),
                    std::string(failure.description()));
        return std::nullopt;
    }
}

bool IsPackageFile(const toml::table& root) { return root.contains("menus"); }

void ReadMenu(const std::filesystem::path& path, const toml::table* parsed, PictureCache& pictures,
              Diagnostics& diagnostics, PackageSource& package) {
    const SourceFile file{PathToUtf8(path), diagnostics};
    std::optional<toml::table> own;
    if (parsed == nullptr) {
        own = ParseSource(path, file);
        if (!own) return;
        parsed = &*own;
    }
    if (IsPackageFile(*parsed)) {
        file.Report(LineOf(*parsed->get("menus")),
                    "a package file (with \"menus\") must be the only source");
        return;
    }
    package.menus.push_back(ReadMenuSource(*parsed, path, file, pictures));
}

void ReadPackageFile(const std::filesystem::path& path, const toml::table& root,
                     PictureCache& pictures, Diagnostics& diagnostics, PackageSource& package) {
    const SourceFile file{PathToUtf8(path), diagnostics};
    SourceTable table(root, file);
    table.Text("header_text", package.header.text);
    std::int32_t headerByte = package.header.byte;
    if (table.Integer("header_byte", headerByte, 0, 255)) {
        package.header.byte = static_cast<std::uint8_t>(headerByte);
    }
    const toml::array* menus = table.Array("menus");
    table.ReportUnknownKeys();
    if (menus == nullptr) return;
    for (const toml::node& node : *menus) {
        const auto* name = node.as_string();
        if (name == nullptr || name->get().empty()) {
            file.Report(LineOf(node), "\"menus\" must list menu source files");
            continue;
        }
        const std::filesystem::path menu = path.parent_path() / PathFromUtf8(name->get());
        std::error_code error;
        if (!std::filesystem::is_regular_file(menu, error)) {
            file.Report(LineOf(node), "menu source \"" + name->get() + "\" not found");
            continue;
        }
        ReadMenu(menu, nullptr, pictures, diagnostics, package);
    }
}

void CheckPackage(const PackageSource& package, const std::vector<std::filesystem::path>& sources,
                  Diagnostics& diagnostics) {
    if (package.menus.empty() && diagnostics.Empty()) {
        diagnostics.Report(PathToUtf8(sources.front()), 0, "the package holds no menu");
    }
    if (package.menus.size() > static_cast<std::size_t>(kMaxPackageMenus)) {
        diagnostics.Report(PathToUtf8(sources.front()), 0,
                           "a package holds at most " + std::to_string(kMaxPackageMenus) +
                               " menus, not " + std::to_string(package.menus.size()));
    }
    std::map<std::string, const MenuSource*> byName;
    for (const MenuSource& menu : package.menus) {
        if (menu.entryName.empty()) continue;
        const auto [earlier, added] = byName.emplace(menu.entryName, &menu);
        if (!added) {
            diagnostics.Report(menu.fileName, menu.entryNameLine,
                               "the menu name \"" + AnsiToUtf8(menu.entryName) +
                                   "\" is already used by " + earlier->second->fileName);
        }
    }
    for (const MenuSource& menu : package.menus) {
        for (const MenuTargetUse& use : menu.menuTargets) {
            if (byName.count(AsciiLower(use.target)) == 0) {
                diagnostics.Report(menu.fileName, use.line,
                                   "the menu target \"" + AnsiToUtf8(use.target) +
                                       "\" names no menu of the package");
            }
        }
    }
}

}  // namespace

PackageSource ReadPackageSource(const std::vector<std::filesystem::path>& sources,
                                PictureCache& pictures, Diagnostics& diagnostics) {
    PackageSource package;
    if (sources.empty()) {
        diagnostics.Report("ambrevo-pack", 0, "no source given");
        return package;
    }
    for (const std::filesystem::path& path : sources) {
        const SourceFile file{PathToUtf8(path), diagnostics};
        const std::optional<toml::table> root = ParseSource(path, file);
        if (!root) continue;
        if (sources.size() == 1 && IsPackageFile(*root)) {
            ReadPackageFile(path, *root, pictures, diagnostics, package);
        } else {
            ReadMenu(path, &*root, pictures, diagnostics, package);
        }
    }
    CheckPackage(package, sources, diagnostics);
    return package;
}

}  // namespace ambrevo::pack
