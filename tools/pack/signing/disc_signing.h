#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <span>

#include "pack/signing/code_signing.h"

namespace ambrevo::pack {

// Writes the built program to output, signed. It is written and signed beside output, whose
// place it takes only once its signature verifies and its package is still found behind it,
// so that a failure leaves output as it was. Messages name output. Gives the size of the
// signed program; throws PackError when it cannot be made.
std::uintmax_t WriteSignedProgram(const SigningOptions& options,
                                  std::span<const std::uint8_t> program,
                                  const std::filesystem::path& output);

// Signs the Windows programs of the disc folder (.exe, .dll, .com) that are not signed and
// that the current user owns, checking each signature; a line on err per file signed
// unless quiet.
void SignDiscPrograms(const SigningOptions& options, const std::filesystem::path& disc,
                      std::ostream& err, bool quiet);

}  // namespace ambrevo::pack
