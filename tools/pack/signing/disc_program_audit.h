#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pack/common/diagnostics.h"
#include "pack/source/package_source.h"

namespace ambrevo::pack {

// What kind of file the disc runs, by its extension.
enum class ProgramKind {
    kWindowsProgram,    // .exe, .dll, .com: signed inside the file (Authenticode)
    kInstallerPackage,  // .msi
    kBatchScript,       // .bat, .cmd: cannot carry a signature
    kPowerShellScript,  // .ps1: signed in a comment block at its end
};

// A program or installer on the disc that an item runs, or a DLL beside such a one.
struct DiscProgram {
    std::filesystem::path file;
    std::string shownName;  // relative to the disc folder, with forward slashes
    ProgramKind kind = ProgramKind::kWindowsProgram;
    std::string menuFile;  // the item that runs it (or the program it lies beside)
    std::int64_t line = 0;
};

// The files of the disc folder that the menus' targets run, each once, at the first item
// that runs it, with the DLLs in the folders of those programs. "%" and a leading "\"
// stand for the disc folder; targets on other drives, and files that are not there, are
// none of the disc's.
std::vector<DiscProgram> ProgramsRunFromDisc(const PackageSource& package,
                                             const std::filesystem::path& disc);

// A warning, at the item, for each program that Windows will block or warn about: not
// signed, signed with a weak digest alone, changed after signing, or of a kind that
// cannot be signed.
void WarnAboutDiscPrograms(const std::vector<DiscProgram>& programs, Diagnostics& diagnostics);

}  // namespace ambrevo::pack
