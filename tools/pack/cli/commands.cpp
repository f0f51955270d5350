#include "pack/cli/commands.h"

#include <algorithm>
#include <span>

#include "pack/common/command_guard.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/disc/checked_sources.h"
#include "pack/package/bare_player.h"
#include "pack/package/bare_player_check.h"
#include "pack/package/built_package.h"
#include "pack/package/package_builder.h"
#include "pack/package/package_extractor.h"
#include "pack/package/package_listing.h"
#include "pack/pictures/carried_fonts.h"
#include "pack/pictures/png_codec.h"
#include "pack/preview/menu_preview.h"
#include "pack/text/text_encoding.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

constexpr int kSuccess = kCommandSuccess;
constexpr int kFailure = kCommandFailure;

// The package of a built program, or of sources built in memory for a stand-in player.
std::optional<BuiltPackage> PreviewPackage(const std::filesystem::path& source, std::ostream& err) {
    std::string extension = PathToUtf8(source.extension());
    if (AsciiLower(extension) != ".toml") return ReadBuiltPackage(source);
    const std::optional<PackageSource> package =
        ReadCheckedSources({source}, err, false, SourceUse::Preview);
    if (!package) return std::nullopt;
    constexpr std::uint8_t kStandInPlayer[] = {'M', 'Z'};
    return ReadBuiltPackageBytes(PathToUtf8(source),
                                 BuildPackage(*package, kStandInPlayer, nullptr));
}

}  // namespace

int RunCheck(const std::vector<std::filesystem::path>& sources, std::ostream& out,
             std::ostream& err, bool strict, const std::optional<std::filesystem::path>& disc) {
    return Guarded(err, [&] {
        const std::optional<PackageSource> source =
            ReadCheckedSources(sources, err, strict, SourceUse::Build, DiscOf(sources, disc));
        if (!source) return kFailure;
        out << "no problems: " << source->menus.size()
            << (source->menus.size() == 1 ? " menu\n" : " menus\n");
        return kSuccess;
    });
}

int RunList(const std::filesystem::path& file, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
        if (IsBarePlayer(bytes)) {
            throw PackError(PathToUtf8(file) + ": no menu package: this is a bare player");
        }
        const BuiltPackage package = ReadBuiltPackageBytes(PathToUtf8(file), bytes);
        const auto playerSize =
            std::min(static_cast<std::size_t>(package.programSize), bytes.size());
        SayPlayerVersion(std::span(bytes).first(playerSize), out);
        if (ListPackage(package, out)) return kSuccess;
        err << "error: " << PathToUtf8(file) << " holds menus that cannot be read\n";
        return kFailure;
    });
}

int RunPreview(const PreviewOptions& options, std::ostream& err) {
    return Guarded(err, [&] {
        const std::optional<BuiltPackage> package = PreviewPackage(options.source, err);
        if (!package) return kFailure;
        const BuiltMenu* entry = package->menus.empty() ? nullptr : &package->menus.front();
        if (options.menu) entry = FindBuiltMenu(*package, *options.menu);
        if (entry == nullptr) {
            throw PackError("the package holds no menu" +
                            (options.menu ? " \"" + *options.menu + "\"" : std::string()));
        }
        if (!entry->menu) {
            throw PackError(DisplayText(entry->name, entry->codePage) +
                            " cannot be read: " + entry->problem);
        }
        const MenuPreview preview = RenderMenuPreview(
            *entry->menu, options.highlight.value_or(entry->menu->initialItem),
            &CarriedTextPainter(), entry->codePage, {options.scale, entry->densityPictures});
        MakeFolderFor(options.output);
        WriteFileBytes(options.output, EncodePng(preview.picture, preview.alpha));
        return kSuccess;
    });
}

int RunExtract(const std::filesystem::path& file, const std::filesystem::path& folder,
               const std::optional<std::filesystem::path>& playerCopy, std::ostream& err) {
    return Guarded(err, [&] {
        if (playerCopy && SameFile(file, *playerCopy)) {
            throw PackError("the bare player would replace the program \"" + PathToUtf8(file) +
                            "\" itself");
        }
        const BuiltPackage package = ReadBuiltPackage(file);
        ExtractPackage(package, folder, err);
        if (playerCopy) {
            MakeFolderFor(*playerCopy);
            WriteFileBytes(*playerCopy, BarePlayerBytes(ReadFileBytes(file), package.programSize));
        }
        return kSuccess;
    });
}

}  // namespace ambrevo::pack
