#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "pack/package/autorun_file.h"

namespace ambrevo::pack {

struct BuildOptions {
    std::vector<std::filesystem::path> sources;  // menu TOML files, or one package file
    // The bare player program; without it, the player this tool carries for bits.
    std::optional<std::filesystem::path> player{};
    std::filesystem::path output;
    bool quiet = false;                           // no progress lines
    std::optional<AutorunTexts> autorun{};        // also write autorun.inf beside the output
    bool strict = false;                          // warnings stop the build like errors
    std::optional<std::filesystem::path> disc{};  // the files beside the menu; see DiscFolderFor
    // Sign the written program with this PKCS#12 certificate (password: signPassword, else
    // SigningPassword).
    std::optional<std::filesystem::path> signCertificate{};
    std::optional<std::string> timestampUrl{};
    bool signDisc = false;  // with a certificate: also the disc's unsigned programs of the user
    // The disc's name without autorun.inf, for the image and the USB copy; the autorun
    // label names the disc otherwise.
    std::optional<std::string> label{};
    // Also write an ISO image of the disc: the program and autorun.inf at its root, and the
    // disc folder's published files.
    std::optional<std::filesystem::path> iso{};
    // Also copy the disc into this folder for a USB stick: the program as
    // "Start <label>.exe" and an autorun.inf of the drive's name and icon at its root,
    // with the disc folder's files beside it, where "%" targets still find them.
    std::optional<std::filesystem::path> usb{};
    int bits = 32;  // the carried player to build on when no player is given: 32 or 64
    // The certificate's password when the caller has it (the page's build dialog).
    std::optional<std::string> signPassword{};
};

// A file or folder a build wrote, and its size (a folder's: all its files').
struct BuiltOutput {
    std::string kind;  // "program", "autorun", "iso" or "usb"
    std::filesystem::path path;
    std::uintmax_t bytes = 0;
};

// Builds the program from the sources and, as the options ask, its autorun.inf, ISO image
// and USB copy, signed or not. Every problem, warning and progress line goes to err; what
// was written is added to written when given. Gives the exit status (0 on success) and
// never throws.
int RunBuild(const BuildOptions& options, std::ostream& err,
             std::vector<BuiltOutput>* written = nullptr);

// The line that names the player's version, where its version resource gives one.
void SayPlayerVersion(std::span<const std::uint8_t> player, std::ostream& out);

}  // namespace ambrevo::pack
