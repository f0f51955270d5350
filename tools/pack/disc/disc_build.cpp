#include "pack/disc/disc_build.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "pack/common/command_guard.h"
#include "pack/common/file_io.h"
#include "pack/common/real_path.h"
#include "pack/common/pack_error.h"
#include "pack/disc/carried_players.h"
#include "pack/disc/checked_sources.h"
#include "pack/package/bare_player_check.h"
#include "pack/package/built_package.h"
#include "pack/package/disc_copies.h"
#include "pack/package/package_builder.h"
#include "pack/package/player_version.h"
#include "pack/signing/code_signing.h"
#include "pack/signing/disc_signing.h"

namespace ambrevo::pack {
namespace {

// What one build writes, as it goes.
class Outputs {
public:
    explicit Outputs(std::vector<BuiltOutput>* written) : written_(written) {}

    void Add(std::string kind, const std::filesystem::path& path, std::uintmax_t bytes) const {
        if (written_ != nullptr) written_->push_back({std::move(kind), path, bytes});
    }

private:
    std::vector<BuiltOutput>* written_;
};

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
        if ((options.player && SameFile(*place, *options.player)) ||
            SameFile(*place, options.output)) {
            throw PackError("the copy of the disc " + QuotedPath(*place) +
                            " would replace the player or the program");
        }
    }
    if (options.usb && disc) {
        std::error_code error;
        const std::filesystem::path usb = std::filesystem::weakly_canonical(*options.usb, error);
        const std::filesystem::path root = std::filesystem::weakly_canonical(*disc, error);
        if (PathInside(usb, root)) {
            throw PackError("the USB folder " + QuotedPath(*options.usb) +
                            " lies in the disc folder " + QuotedPath(*disc) +
                            ", whose files it copies; choose a folder outside it");
        }
    }
}

std::uintmax_t SizeOf(const std::vector<DiscImageFile>& files) {
    std::uintmax_t size = 0;
    for (const DiscImageFile& file : files) {
        std::error_code error;
        size += file.source.empty() ? file.bytes.size()
                                    : std::filesystem::file_size(file.source, error);
    }
    return size;
}

void WriteDiscCopies(const BuildOptions& options, const std::string& label,
                     const std::optional<std::string>& autorun,
                     const std::optional<std::filesystem::path>& disc, const Outputs& outputs,
                     std::ostream& err) {
    std::vector<std::string> warnings;
    std::vector<std::filesystem::path> leftOut;
    if (options.iso) leftOut.push_back(*options.iso);
    if (options.iso) {
        const std::vector<DiscImageFile> files = DiscCopyFiles(
            {PathToUtf8(options.output.filename()), options.output, autorun, options.output}, disc,
            leftOut, warnings);
        const std::size_t size = WriteIsoFile(*options.iso, files, label);
        outputs.Add("iso", *options.iso, size);
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
        outputs.Add("usb", *options.usb, SizeOf(files));
        if (!options.quiet) {
            err << "wrote " << PathToUtf8(*options.usb) << ": \"" << program << "\" and "
                << files.size() - 1 << " more files\n";
        }
    }
    std::sort(warnings.begin(), warnings.end());
    warnings.erase(std::unique(warnings.begin(), warnings.end()), warnings.end());
    for (const std::string& warning : warnings) err << warning << "\n";
}

std::optional<SigningOptions> SigningFor(const BuildOptions& options) {
    if (!options.signCertificate) return std::nullopt;
    return SigningOptions{
        *options.signCertificate,
        options.signPassword ? *options.signPassword : SigningPassword(*options.signCertificate),
        options.timestampUrl};
}

// Writes the program, signed beside the output when asked for, so that only a program
// whose signature verifies replaces it; gives the size written.
std::uintmax_t WriteProgram(const std::filesystem::path& output,
                            const std::vector<std::uint8_t>& file,
                            const std::optional<SigningOptions>& signing) {
    MakeFolderFor(output);
    if (signing) return WriteSignedProgram(*signing, file, output);
    WriteFileBytes(output, file);
    return file.size();
}

}  // namespace

void SayPlayerVersion(std::span<const std::uint8_t> player, std::ostream& out) {
    if (const std::optional<std::string> version = PlayerVersionOf(player)) {
        out << "player: version " << *version << "\n";
    }
}

int RunBuild(const BuildOptions& options, std::ostream& err, std::vector<BuiltOutput>* written) {
    return Guarded(err, [&] {
        const Outputs outputs(written);
        const BuildPlayer player = PlayerForBuild(options.player, options.bits);
        CheckWindowsPlayer(player.bytes, player.name);
        if (CarriesPackage(player.bytes)) {
            throw PackError("\"" + player.name +
                            "\" already carries a menu package; give the bare player");
        }
        if (player.file && SameFile(*player.file, options.output)) {
            throw PackError("the output would replace the player \"" + player.name + "\"");
        }
        std::optional<std::string> autorun;
        if (options.autorun) {
            autorun = AutorunInf(PathToUtf8(options.output.filename()), *options.autorun);
        }
        const std::optional<std::string> label = DiscLabel(options);
        if (options.usb) DriveAutorunInf(UsbProgramName(*label), *label);
        const std::optional<SigningOptions> signing = SigningFor(options);
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
            return kCommandFailure;
        }
        const std::vector<std::uint8_t> file =
            BuildPackage(*source, player.bytes, options.quiet ? nullptr : &err);
        const std::uintmax_t size = WriteProgram(options.output, file, signing);
        outputs.Add("program", options.output, size);
        if (!options.quiet) {
            SayPlayerVersion(player.bytes, err);
            err << "wrote " << PathToUtf8(options.output) << ": " << size << " bytes, "
                << source->menus.size() << " menus" << (signing ? ", signed\n" : "\n");
        }
        if (autorun) {
            const std::filesystem::path autorunPath = options.output.parent_path() / "autorun.inf";
            WriteTextFile(autorunPath, *autorun);
            outputs.Add("autorun", autorunPath, autorun->size());
            if (!options.quiet) err << "wrote " << PathToUtf8(autorunPath) << "\n";
        }
        if (label) WriteDiscCopies(options, *label, autorun, disc, outputs, err);
        return kCommandSuccess;
    });
}

}  // namespace ambrevo::pack
