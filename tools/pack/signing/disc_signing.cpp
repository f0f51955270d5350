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

// Signs file and checks that Windows will take the signature; messages name it shownAs.
void SignAndVerify(const SigningOptions& options, const std::filesystem::path& file,
                   const std::filesystem::path& shownAs) {
    SignProgram(options, file, shownAs);
    const ProgramSignature signature = ReadProgramSignature(file);
    if (signature.state != ProgramSignature::State::kSigned) {
        throw PackError(QuotedPath(shownAs) + " was signed, but its signature does not verify" +
                        (signature.problem.empty() ? "" : ": " + signature.problem));
    }
}

// Signs the program staged beside output and puts it in output's place.
void SignInPlaceOf(const SigningOptions& options, const std::filesystem::path& staged,
                   const std::filesystem::path& output) {
    SignAndVerify(options, staged, output);
    try {
        ReadBuiltPackage(staged);
    } catch (const std::exception& error) {
        throw PackError(QuotedPath(output) +
                        " was signed, but its package is no longer found: " + error.what());
    }
    std::error_code error;
    std::filesystem::rename(staged, output, error);
    if (error) throw PackError("cannot write " + QuotedPath(output) + ": " + error.message());
}

}  // namespace

std::uintmax_t WriteSignedProgram(const SigningOptions& options,
                                  std::span<const std::uint8_t> program,
                                  const std::filesystem::path& output) {
    const std::filesystem::path staged = output.string() + ".unsigned";
    WriteFileBytes(staged, program);
    try {
        SignInPlaceOf(options, staged, output);
    } catch (const PackError&) {
        std::error_code ignored;
        std::filesystem::remove(staged, ignored);
        throw;
    }
    return StampOf(output).size;
}

void SignDiscPrograms(const SigningOptions& options, const std::filesystem::path& disc,
                      std::ostream& err, bool quiet) {
    for (const std::string& name : ListDiscFiles(disc).files) {
        const std::filesystem::path file = disc / PathFromUtf8(name);
        if (!IsWindowsProgramName(file) || !OwnedByCurrentUser(file)) continue;
        if (ReadProgramSignature(file).state != ProgramSignature::State::kUnsigned) continue;
        SignAndVerify(options, file, file);
        if (!quiet) err << "signed " << PathToUtf8(file) << "\n";
    }
}

}  // namespace ambrevo::pack
