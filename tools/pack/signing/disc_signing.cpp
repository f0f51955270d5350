#include "pack/signing/disc_signing.h"

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/package/built_package.h"
#include "pack/signing/program_signature.h"
#include "pack/common/disc_files.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

bool IsWindowsProgramName(const std::filesystem::path& file) {
    const std::string extension = AsciiLower(PathToUtf8(file.extension()));
    return extension == ".exe" || extension == ".dll" || extension == ".com";
}

// Signs file and checks that Windows will take the signature.
void SignAndVerify(const SigningOptions& options, const std::filesystem::path& file) {
    SignProgram(options, file);
    const ProgramSignature signature = ReadProgramSignature(file);
    if (signature.state != ProgramSignature::State::kSigned) {
        throw PackError("\"" + PathToUtf8(file) +
                        "\" was signed, but its signature does not verify" +
                        (signature.problem.empty() ? "" : ": " + signature.problem));
    }
}

}  // namespace

void SignBuiltProgram(const SigningOptions& options, const std::filesystem::path& program) {
    SignAndVerify(options, program);
    try {
        ReadBuiltPackage(program);
    } catch (const std::exception& error) {
        throw PackError("\"" + PathToUtf8(program) +
                        "\" was signed, but its package is no longer found: " + error.what());
    }
}

void SignDiscPrograms(const SigningOptions& options, const std::filesystem::path& disc,
                      std::ostream& err, bool quiet) {
    for (const std::string& name : ListDiscFiles(disc).files) {
        const std::filesystem::path file = disc / PathFromUtf8(name);
        if (!IsWindowsProgramName(file) || !OwnedByCurrentUser(file)) continue;
        if (ReadProgramSignature(file).state != ProgramSignature::State::kUnsigned) continue;
        SignAndVerify(options, file);
        if (!quiet) err << "signed " << PathToUtf8(file) << "\n";
    }
}

}  // namespace ambrevo::pack
