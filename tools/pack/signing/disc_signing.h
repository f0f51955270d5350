#pragma once

#include <filesystem>
#include <ostream>

#include "pack/signing/code_signing.h"

namespace ambrevo::pack {

// Signs the built program and checks the result: a signature whose digest matches the
// file, and the package still found behind it. Throws PackError otherwise.
void SignBuiltProgram(const SigningOptions& options, const std::filesystem::path& program);

// Signs the Windows programs of the disc folder (.exe, .dll, .com) that are not signed and
// that the current user owns, checking each signature; a line on err per file signed
// unless quiet.
void SignDiscPrograms(const SigningOptions& options, const std::filesystem::path& disc,
                      std::ostream& err, bool quiet);

}  // namespace ambrevo::pack
