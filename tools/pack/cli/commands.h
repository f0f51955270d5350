#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "pack/disc/disc_build.h"
#include "pack/pictures/density_variants.h"

namespace ambrevo::pack {

// The tool's commands. Each returns the process exit status (0 on success) and writes
// its messages to err; none of them throws.

// RunBuild: pack/disc/disc_build.h.

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
