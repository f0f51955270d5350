#pragma once

#include <filesystem>
#include <string>

namespace ambrevo::pack {

// What the Authenticode signature of a Windows program (a PE file: .exe, .dll, .com) says.
struct ProgramSignature {
    enum class State {
        kUnsigned,    // no signature
        kSigned,      // signed, and the signed digest matches the file
        kChanged,     // signed, but the file was changed after signing
        kBroken,      // a signature that does not match what it signs: changed or damaged
        kUnreadable,  // a signature that cannot be read or checked: see problem
        kNoProgram,   // bytes that are no Windows program (a DOS program), which cannot be signed
        kNotRead,     // an installer package whose signature this tool cannot read
    };
    State state = State::kUnsigned;
    std::string signer;  // the signing certificate's subject common name, when signed
    std::string digest;  // the signed digest's algorithm: "SHA-256", "SHA-1"
    // Signed with SHA-1 or MD5 alone, which current Windows refuses.
    bool weakDigestOnly = false;
    std::string problem;  // for kUnreadable: why, to follow "cannot be read: "
};

// Reads and checks the signature of the program file. Says nothing about whether the
// signer is trusted: that is the machine's decision. Throws PackError when the file
// cannot be read.
ProgramSignature ReadProgramSignature(const std::filesystem::path& file);

// Reads and checks the signature of a Windows Installer package (.msi), as above; kNotRead
// where the tool has no reader for them.
ProgramSignature ReadInstallerSignature(const std::filesystem::path& file);

}  // namespace ambrevo::pack
