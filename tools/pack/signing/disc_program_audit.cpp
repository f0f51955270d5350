#include "pack/signing/disc_program_audit.h"

#include <map>
#include <optional>
#include <set>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/package/disc_targets.h"
#include "pack/signing/program_signature.h"
#include "pack/common/disc_files.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

using State = ProgramSignature::State;

constexpr std::string_view kPowerShellSignature = "# SIG # Begin signature block";

constexpr char kWindowsBlocks[] =
    "Smart App Control blocks it on Windows 11, and SmartScreen warns before it runs from a "
    "downloaded disc";
constexpr char kScriptBlocked[] = "Smart App Control blocks it on Windows 11";
constexpr char kSignAdvice[] =
    "sign it with your code-signing certificate (ambrevo-pack build --sign CERT.pfx "
    "--sign-disc) or ask its maker for a signed one";

std::optional<ProgramKind> KindOf(const std::filesystem::path& file) {
    static const std::map<std::string, ProgramKind> kinds = {
        {".exe", ProgramKind::kWindowsProgram},   {".dll", ProgramKind::kWindowsProgram},
        {".com", ProgramKind::kWindowsProgram},   {".msi", ProgramKind::kInstallerPackage},
        {".bat", ProgramKind::kBatchScript},      {".cmd", ProgramKind::kBatchScript},
        {".ps1", ProgramKind::kPowerShellScript},
    };
    const auto kind = kinds.find(AsciiLower(PathToUtf8(file.extension())));
    if (kind == kinds.end()) return std::nullopt;
    return kind->second;
}

// Collects each disc file once.
class ProgramList {
public:
    bool Add(DiscProgram program) {
        if (!shown_.insert(program.shownName).second) return false;
        programs_.push_back(std::move(program));
        return true;
    }
    std::vector<DiscProgram> Take() { return std::move(programs_); }

private:
    std::set<std::string> shown_;
    std::vector<DiscProgram> programs_;
};

// The DLLs in the folder of a program, which it may load.
void AddDllsBeside(const DiscProgram& program, ProgramList& list) {
    const std::string folder = program.shownName.substr(0, program.shownName.rfind('/') + 1);
    std::error_code error;
    std::vector<std::filesystem::path> dlls;
    for (const auto& entry :
         std::filesystem::directory_iterator(program.file.parent_path(), error)) {
        if (entry.is_regular_file(error) &&
            AsciiLower(PathToUtf8(entry.path().extension())) == ".dll") {
            dlls.push_back(entry.path());
        }
    }
    std::sort(dlls.begin(), dlls.end());
    for (const std::filesystem::path& dll : dlls) {
        list.Add({dll, folder + PathToUtf8(dll.filename()), ProgramKind::kWindowsProgram,
                  program.menuFile, program.line});
    }
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The warning for a signed Windows program, or nothing when Windows takes it as signed.
std::optional<std::string> SignatureWarning(const std::string& name,
                                            const ProgramSignature& signature) {
    switch (signature.state) {
        case State::kUnsigned:
            return name + " is not signed: " + kWindowsBlocks + "; " + kSignAdvice;
        case State::kChanged:
            return name + " was changed after it was signed by " + Quoted(signature.signer) +
                   " (the signed digest does not match the file): Windows takes it as "
                   "unsigned, and " +
                   kWindowsBlocks + "; sign it again";
        case State::kBroken:
            return name + " carries a signature by " + Quoted(signature.signer) +
                   " that does not match what it signs (the signature was changed or damaged): "
                   "Windows takes it as unsigned, and " +
                   kWindowsBlocks + "; sign it again";
        case State::kNotRead:
            return name +
                   " is an installer package, whose signature the Linux tool does not read "
                   "(check it with the Windows tool): " +
                   kWindowsBlocks + " when it is unsigned; make sure it is signed";
        case State::kUnreadable:
            return name + " carries a signature that cannot be read (" + signature.problem +
                   "): Windows takes it as unsigned, and " + kWindowsBlocks + "; sign it again";
        case State::kNoProgram:
            return name + " is no Windows program and cannot carry a signature: " + kScriptBlocked +
                   "; have a signed program do its work";
        case State::kSigned:
            break;
    }
    if (!signature.weakDigestOnly) return std::nullopt;
    return name + " is signed by " + Quoted(signature.signer) + " with " + signature.digest +
           " only, which current Windows refuses: " + kWindowsBlocks +
           "; sign it again with SHA-256";
}

bool HasPowerShellSignature(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())
               .find(kPowerShellSignature) != std::string_view::npos;
}

std::optional<std::string> Warning(const DiscProgram& program) {
    const std::string name = Quoted(program.shownName);
    switch (program.kind) {
        case ProgramKind::kWindowsProgram:
            return SignatureWarning(name, ReadProgramSignature(program.file));
        case ProgramKind::kInstallerPackage:
            return SignatureWarning(name, ReadInstallerSignature(program.file));
        case ProgramKind::kBatchScript:
            return name + " is a batch script, which cannot carry a signature: " + kScriptBlocked +
                   "; have a signed program do its work";
        case ProgramKind::kPowerShellScript:
            if (HasPowerShellSignature(program.file)) return std::nullopt;
            return name + " is an unsigned PowerShell script: " + kScriptBlocked +
                   "; sign it with your code-signing certificate or ask its maker for a "
                   "signed one";
    }
    return std::nullopt;
}

}  // namespace

std::vector<DiscProgram> ProgramsRunFromDisc(const PackageSource& package,
                                             const std::filesystem::path& disc) {
    ProgramList list;
    for (const MenuSource& menu : package.menus) {
        for (const ShellTargetUse& target : menu.shellTargets) {
            const std::optional<DiscTarget> relative = DiscTargetOf(target.text);
            if (!relative) continue;
            const DiscFile found = FindDiscFile(disc, relative->path);
            const std::optional<ProgramKind> kind = KindOf(PathFromUtf8(relative->path));
            if (found.lookup != DiscLookup::kFound || !kind) continue;
            DiscProgram program{found.file, relative->path, *kind, menu.fileName, target.line};
            if (!list.Add(program)) continue;
            if (*kind == ProgramKind::kWindowsProgram || *kind == ProgramKind::kInstallerPackage) {
                AddDllsBeside(program, list);
            }
        }
    }
    return list.Take();
}

void WarnAboutDiscPrograms(const std::vector<DiscProgram>& programs, Diagnostics& diagnostics) {
    for (const DiscProgram& program : programs) {
        try {
            if (const std::optional<std::string> warning = Warning(program)) {
                diagnostics.Warn(program.menuFile, program.line, *warning);
            }
        } catch (const PackError& error) {
            diagnostics.Warn(program.menuFile, program.line, error.what());
        }
    }
}

}  // namespace ambrevo::pack
