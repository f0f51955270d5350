#include "pack/cli/commands.h"

#include <algorithm>
#include <span>
#include <system_error>

#include "pack/common/command_guard.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/package/bare_player.h"
#include "pack/package/bare_player_check.h"
#include "pack/package/built_package.h"
#include "pack/package/disc_copies.h"
#include "pack/package/disc_targets.h"
#include "pack/package/package_builder.h"
#include "pack/package/package_extractor.h"
#include "pack/package/package_listing.h"
#include "pack/package/player_version.h"
#include "pack/pictures/png_codec.h"
#include "pack/pictures/carried_fonts.h"
#include "pack/preview/menu_preview.h"
#include "pack/signing/disc_program_audit.h"
#include "pack/signing/disc_signing.h"
#include "pack/source/package_source.h"
#include "pack/text/text_encoding.h"
#include "pack/page/web_build.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

constexpr int kSuccess = kCommandSuccess;
constexpr int kFailure = kCommandFailure;

// Sources read, with every problem and warning found in them.
struct ReadSources {
    PackageSource package;
    Diagnostics diagnostics;
};

ReadSources ReadAllSources(const std::vector<std::filesystem::path>& sources, SourceUse use) {
    PictureCache pictures;
    ReadSources read;
    read.package = ReadPackageSource(sources, pictures, read.diagnostics, use);
    return read;
}

// Where the files beside the menu lie, for the check of the programs that items run.
std::optional<std::filesystem::path> DiscOf(const std::vector<std::filesystem::path>& sources,
                                            const std::optional<std::filesystem::path>& chosen) {
    if (sources.empty()) return chosen;
    return DiscFolderFor(sources.front(), chosen);
}

// Warns about targets the disc folder lacks and about the programs Windows would block.
void AuditDisc(ReadSources& read, const std::optional<std::filesystem::path>& disc) {
    if (!disc) return;
    WarnAboutMissingDiscTargets(read.package, *disc, read.diagnostics);
    WarnAboutDiscPrograms(ProgramsRunFromDisc(read.package, *disc), read.diagnostics);
}

// Reports every problem and warning, and gives nullopt if there was a problem. strict:
// warnings count as problems.
std::optional<PackageSource> Reported(ReadSources read, std::ostream& err, bool strict) {
    const Diagnostics& diagnostics = read.diagnostics;
    std::vector<Diagnostic> all = diagnostics.All();
    for (Diagnostic warning : diagnostics.Warnings()) {
        warning.warning = !strict;
        all.push_back(std::move(warning));
    }
    for (const Diagnostic& diagnostic : SortedByFileAndLine(all)) {
        err << FormatDiagnostic(diagnostic) << "\n";
    }
    const std::size_t problems =
        diagnostics.All().size() + (strict ? diagnostics.Warnings().size() : 0);
    if (problems == 0) return std::move(read.package);
    err << problems << (problems == 1 ? " problem" : " problems") << " found\n";
    return std::nullopt;
}

// Reads and checks the sources, and the programs of the disc folder when there is one.
std::optional<PackageSource> ReadCheckedSources(
    const std::vector<std::filesystem::path>& sources, std::ostream& err, bool strict = false,
    SourceUse use = SourceUse::Build,
    const std::optional<std::filesystem::path>& disc = std::nullopt) {
    ReadSources read = ReadAllSources(sources, use);
    AuditDisc(read, disc);
    return Reported(std::move(read), err, strict);
}

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

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

// Makes the folder that file is to be written into, and the folders above it, when missing.
void MakeFolderFor(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    if (folder.empty()) return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw PackError("cannot make the folder \"" + PathToUtf8(folder) +
                        "\": " + error.message());
    }
}

// The disc's name for its image and USB copy; throws when one of them is asked for without.
std::optional<std::string> DiscLabel(const BuildOptions& options) {
    if (options.autorun && options.label) {
        throw PackError(
            "--label names a disc without autorun.inf; with --autorun, its label "
            "names the disc");
    }
    if (options.autorun) return options.autorun->label;
    if (options.label) return options.label;
    if (options.iso || options.usb) {
        throw PackError(std::string(options.iso ? "--iso" : "--usb") +
                        " needs the disc's name: give --autorun LABEL or --label LABEL");
    }
    return std::nullopt;
}

// Refuses copies of the disc that would land in the disc folder or replace what the build
// reads or writes, before anything is built.
void CheckCopyPlaces(const BuildOptions& options,
                     const std::optional<std::filesystem::path>& disc) {
    for (const auto& place : {options.iso, options.usb}) {
        if (!place) continue;
        if (SameFile(*place, options.player) || SameFile(*place, options.output)) {
            throw PackError("the copy of the disc " + QuotedPath(*place) +
                            " would replace the player or the program");
        }
    }
    if (options.usb && disc) {
        std::error_code error;
        const std::filesystem::path usb = std::filesystem::weakly_canonical(*options.usb, error);
        const std::filesystem::path root = std::filesystem::weakly_canonical(*disc, error);
        const std::filesystem::path inside = usb.lexically_relative(root);
        if (!inside.empty() && *inside.begin() != "..") {
            throw PackError("the USB folder " + QuotedPath(*options.usb) +
                            " lies in the disc folder " + QuotedPath(*disc) +
                            ", whose files it copies; choose a folder outside it");
        }
    }
}

void WriteDiscCopies(const BuildOptions& options, const std::string& label,
                     const std::optional<std::string>& autorun,
                     const std::optional<std::filesystem::path>& disc, std::ostream& err) {
    std::vector<std::string> warnings;
    std::vector<std::filesystem::path> leftOut;
    if (options.iso) leftOut.push_back(*options.iso);
    if (options.iso) {
        const std::vector<DiscImageFile> files = DiscCopyFiles(
            {PathToUtf8(options.output.filename()), options.output, autorun, options.output}, disc,
            leftOut, warnings);
        const std::size_t size = WriteIsoFile(*options.iso, files, label);
        if (!options.quiet) {
            err << "wrote " << PathToUtf8(*options.iso) << ": " << size << " bytes, "
                << files.size() << " files\n";
        }
    }
    if (options.usb) {
        const std::string program = UsbProgramName(label);
        const std::vector<DiscImageFile> files = DiscCopyFiles(
            {program, options.output, DriveAutorunInf(program, label), options.output}, disc,
            leftOut, warnings);
        WriteUsbFolder(*options.usb, files, warnings);
        if (!options.quiet) {
            err << "wrote " << PathToUtf8(*options.usb) << ": \"" << program << "\" and "
                << files.size() - 1 << " more files\n";
        }
    }
    std::sort(warnings.begin(), warnings.end());
    warnings.erase(std::unique(warnings.begin(), warnings.end()), warnings.end());
    for (const std::string& warning : warnings) err << warning << "\n";
}

// The line that names the player's version, where its version resource gives one.
void SayPlayerVersion(std::span<const std::uint8_t> player, std::ostream& out) {
    if (const std::optional<std::string> version = PlayerVersionOf(player)) {
        out << "player: version " << *version << "\n";
    }
}

}  // namespace

int RunBuild(const BuildOptions& options, std::ostream& err) {
    return Guarded(err, [&] {
        const std::vector<std::uint8_t> player = ReadFileBytes(options.player);
        CheckWindowsPlayer(player, PathToUtf8(options.player));
        if (CarriesPackage(player)) {
            throw PackError("\"" + PathToUtf8(options.player) +
                            "\" already carries a menu package; give the bare player");
        }
        if (SameFile(options.player, options.output)) {
            throw PackError("the output would replace the player \"" + PathToUtf8(options.player) +
                            "\"");
        }
        std::optional<std::string> autorun;
        if (options.autorun) {
            autorun = AutorunInf(PathToUtf8(options.output.filename()), *options.autorun);
        }
        const std::optional<std::string> label = DiscLabel(options);
        if (options.usb) DriveAutorunInf(UsbProgramName(*label), *label);
        std::optional<SigningOptions> signing;
        if (options.signCertificate) {
            signing =
                SigningOptions{*options.signCertificate, SigningPassword(*options.signCertificate),
                               options.timestampUrl};
        }
        const std::optional<std::filesystem::path> disc = DiscOf(options.sources, options.disc);
        CheckCopyPlaces(options, disc);
        ReadSources read = ReadAllSources(options.sources, SourceUse::Build);
        // The disc's programs are signed only for sources that build, and before their
        // check, which then tells what remains.
        if (signing && options.signDisc && disc && read.diagnostics.Empty()) {
            SignDiscPrograms(*signing, *disc, err, options.quiet);
        }
        AuditDisc(read, disc);
        const std::optional<PackageSource> source = Reported(std::move(read), err, options.strict);
        if (!source) {
            err << "nothing built\n";
            return kFailure;
        }
        const std::vector<std::uint8_t> file =
            BuildPackage(*source, player, options.quiet ? nullptr : &err);
        MakeFolderFor(options.output);
        std::uintmax_t written = file.size();
        if (signing) {
            written = WriteSignedProgram(*signing, file, options.output);
        } else {
            WriteFileBytes(options.output, file);
        }
        if (!options.quiet) {
            SayPlayerVersion(player, err);
            err << "wrote " << PathToUtf8(options.output) << ": " << written << " bytes, "
                << source->menus.size() << " menus" << (signing ? ", signed\n" : "\n");
        }
        if (autorun) {
            const std::filesystem::path autorunPath = options.output.parent_path() / "autorun.inf";
            WriteTextFile(autorunPath, *autorun);
            if (!options.quiet) err << "wrote " << PathToUtf8(autorunPath) << "\n";
        }
        if (label) WriteDiscCopies(options, *label, autorun, disc, err);
        return kSuccess;
    });
}

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
