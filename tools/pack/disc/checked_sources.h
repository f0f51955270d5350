#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "pack/common/diagnostics.h"
#include "pack/source/package_source.h"

namespace ambrevo::pack {

// Sources read, with every problem and warning found in them.
struct ReadSources {
    PackageSource package;
    Diagnostics diagnostics;
};

ReadSources ReadAllSources(const std::vector<std::filesystem::path>& sources, SourceUse use);

// Where the files beside the menu lie, for the checks of the disc's targets and programs.
std::optional<std::filesystem::path> DiscOf(const std::vector<std::filesystem::path>& sources,
                                            const std::optional<std::filesystem::path>& chosen);

// Warns about targets the disc folder lacks and about the programs Windows would block.
void AuditDisc(ReadSources& read, const std::optional<std::filesystem::path>& disc);

// Reports every problem and warning on err, and gives nullopt if there was a problem.
// strict: warnings count as problems.
std::optional<PackageSource> Reported(ReadSources read, std::ostream& err, bool strict);

// Reads and checks the sources, and the disc folder when there is one.
std::optional<PackageSource> ReadCheckedSources(
    const std::vector<std::filesystem::path>& sources, std::ostream& err, bool strict = false,
    SourceUse use = SourceUse::Build,
    const std::optional<std::filesystem::path>& disc = std::nullopt);

}  // namespace ambrevo::pack
