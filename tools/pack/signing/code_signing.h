#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ambrevo::pack {

// What signing a program takes: the author's code-signing certificate with its key.
struct SigningOptions {
    std::filesystem::path certificate;  // a PKCS#12 (.pfx) file
    std::string password;
    std::optional<std::string> timestampUrl;  // an RFC 3161 time-stamping service
};

// The environment variable that holds the certificate's password, so that scripts never
// pass it on a command line.
inline constexpr char kSignPasswordVariable[] = "AMBREVO_SIGN_PASSWORD";

// The certificate's password: the environment variable's, else asked for on the terminal
// without echo. Throws PackError when there is neither.
std::string SigningPassword(const std::filesystem::path& certificate);

// Signs the program file in place (Authenticode, SHA-256, time-stamped when a service is
// named). Throws PackError, naming the file as shownAs (the name the user knows it by) and
// why, when it cannot be signed; the file is then left as it was.
void SignProgram(const SigningOptions& options, const std::filesystem::path& file,
                 const std::filesystem::path& shownAs);

// Whether the current user owns the file: an author's own program rather than one copied
// onto the disc from its maker.
bool OwnedByCurrentUser(const std::filesystem::path& file);

}  // namespace ambrevo::pack
