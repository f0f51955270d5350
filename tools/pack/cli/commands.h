#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "pack/package/autorun_file.h"
#include "pack/pictures/density_variants.h"

namespace ambrevo::pack {

// The tool's commands. Each returns the process exit status (0 on success) and writes
// its messages to err; none of them throws.

struct BuildOptions {
    std::vector<std::filesystem::path> sources;  // menu TOML files, or one package file
    std::filesystem::path player;                // the bare player program
    std::filesystem::path output;
    bool quiet = false;                           // no progress lines
    std::optional<AutorunTexts> autorun{};        // also write autorun.inf beside the output
    bool strict = false;                          // warnings stop the build like errors
    std::optional<std::filesystem::path> disc{};  // the files beside the menu; see DiscFolderFor
    // Sign the written program with this PKCS#12 certificate (password: SigningPassword).
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
};
int RunBuild(const BuildOptions& options, std::ostream& err);

// strict: warnings count as problems. disc: the files beside the menu (see DiscFolderFor),
// whose programs that items run are checked for signatures.
int RunCheck(const std::vector<std::filesystem::path>& sources, std::ostream& out,
             std::ostream& err, bool strict = false,
             const std::optional<std::filesystem::path>& disc = std::nullopt);

int RunList(const std::filesystem::path& file, std::ostream& out, std::ostream& err);

struct PreviewOptions {
    std::filesystem::path source;         // a package.toml or menu TOML file, or a built program
    std::filesystem::path output;         // the PNG to write
    std::optional<std::string> menu;      // the menu's name in the package; the first one if none
    std::optional<int> highlight;         // the highlighted item; the menu's initial item if none
    const DensityScale* scale = nullptr;  // the density to draw at; null: 1x
};
// Draws a menu as the player shows it when it opens, with approximate text.
int RunPreview(const PreviewOptions& options, std::ostream& err);

// playerCopy: where to save the bare player (the bytes before the package), if wanted;
// refused when it is the program itself, by whatever path.
int RunExtract(const std::filesystem::path& file, const std::filesystem::path& folder,
               const std::optional<std::filesystem::path>& playerCopy, std::ostream& err);

}  // namespace ambrevo::pack
