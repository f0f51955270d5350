#include "pack/page/web_build.h"

#include <exception>
#include <system_error>

#include "pack/common/diagnostics.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/package/built_package.h"
#include "pack/package/package_builder.h"
#include "pack/pictures/picture_cache.h"
#include "pack/source/listed_menu_files.h"
#include "pack/source/package_source.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

bool IsTomlSource(const std::filesystem::path& source) {
    return AsciiLower(PathToUtf8(source.extension())) == ".toml";
}

std::filesystem::path DiscBeside(const std::filesystem::path& source) {
    const std::filesystem::path folder = source.parent_path();
    return (folder.empty() ? std::filesystem::path(".") : folder) / "disc";
}

// The menu files and the pictures the readers opened, every file a problem names (a menu
// that failed to parse is in no other list), and every menu file the package lists, so
// that one listed before it exists is built once it is written.
std::vector<std::filesystem::path> FilesRead(const std::filesystem::path& source,
                                             const PackageSource& package,
                                             const PictureCache& pictures,
                                             const Diagnostics& diagnostics) {
    std::vector<std::filesystem::path> files{source};
    for (const MenuSource& menu : package.menus) files.push_back(PathFromUtf8(menu.fileName));
    for (const Diagnostic& problem : diagnostics.All()) {
        files.push_back(PathFromUtf8(problem.file));
    }
    for (const std::filesystem::path& picture : pictures.Files()) files.push_back(picture);
    for (const std::filesystem::path& menu : ListedMenuFiles(source)) files.push_back(menu);
    return files;
}

WebBuild BuildFromSources(const std::filesystem::path& source, BuildCaches& caches) {
    caches.pictures->ForgetChanged();
    Diagnostics diagnostics;
    const PackageSource package = ReadPackageSource({source}, *caches.pictures, diagnostics);
    WebBuild build{nullptr, {}, FilesRead(source, package, *caches.pictures, diagnostics)};
    if (!diagnostics.Empty()) {
        build.error = FormatDiagnostic(diagnostics.ByFileAndLine().front());
        return build;
    }
    try {
        const std::vector<std::uint8_t> program = BuildPackage(
            package,
            std::span(reinterpret_cast<const std::uint8_t*>(kWebStub.data()), kWebStub.size()),
            nullptr, &caches.streams);
        build.program = std::make_shared<const std::string>(program.begin(), program.end());
    } catch (const std::exception& failure) {
        build.error = failure.what();
    }
    caches.streams.BuildFinished();
    return build;
}

// A built program is served unchanged: its own bytes are the stub, and a signature after
// the package is read past as the player does.
WebBuild TakeBuiltProgram(const std::filesystem::path& source) {
    WebBuild build{nullptr, {}, {source}};
    try {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(source);
        ReadBuiltPackageBytes(PathToUtf8(source), bytes);
        build.program = std::make_shared<const std::string>(bytes.begin(), bytes.end());
    } catch (const std::exception& failure) {
        build.error = failure.what();
    }
    return build;
}

}  // namespace

WebBuild BuildWebPackage(const std::filesystem::path& source, BuildCaches& caches) {
    return IsTomlSource(source) ? BuildFromSources(source, caches) : TakeBuiltProgram(source);
}

std::optional<std::filesystem::path> DiscFolderFor(
    const std::filesystem::path& source, const std::optional<std::filesystem::path>& chosen) {
    std::error_code error;
    if (chosen) {
        if (!std::filesystem::is_directory(*chosen, error)) {
            throw PackError("the disc folder \"" + PathToUtf8(*chosen) + "\" is no folder");
        }
        return *chosen;
    }
    const std::filesystem::path beside = DiscBeside(source);
    if (std::filesystem::is_directory(beside, error)) return beside;
    return std::nullopt;
}

std::string NoDiscFolderNote(const std::filesystem::path& source) {
    return "no disc folder \"" + PathToUtf8(DiscBeside(source)) +
           "\": the page has no disc files (--disc DIR names one)";
}

}  // namespace ambrevo::pack
