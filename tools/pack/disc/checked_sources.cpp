#include "pack/disc/checked_sources.h"

#include <utility>

#include "pack/package/disc_targets.h"
#include "pack/page/web_build.h"
#include "pack/pictures/picture_cache.h"
#include "pack/signing/disc_program_audit.h"

namespace ambrevo::pack {

ReadSources ReadAllSources(const std::vector<std::filesystem::path>& sources, SourceUse use) {
    PictureCache pictures;
    ReadSources read;
    read.package = ReadPackageSource(sources, pictures, read.diagnostics, use);
    return read;
}

std::optional<std::filesystem::path> DiscOf(const std::vector<std::filesystem::path>& sources,
                                            const std::optional<std::filesystem::path>& chosen) {
    if (sources.empty()) return chosen;
    return DiscFolderFor(sources.front(), chosen);
}

void AuditDisc(ReadSources& read, const std::optional<std::filesystem::path>& disc) {
    if (!disc) return;
    WarnAboutMissingDiscTargets(read.package, *disc, read.diagnostics);
    WarnAboutDiscPrograms(ProgramsRunFromDisc(read.package, *disc), read.diagnostics);
}

std::optional<PackageSource> Reported(ReadSources read, std::ostream& err, bool strict) {
    const Diagnostics& diagnostics = read.diagnostics;
    std::vector<Diagnostic> all = diagnostics.All();
    for (Diagnostic warning : diagnostics.Warnings()) {
        warning.warning = !strict;
        all.push_back(std::move(warning));
    }
    for (const Diagnostic& diagnostic : SortedByFileAndLine(all)) {
        err << FormatDiagnostic(diagnostic) << "\n";
    }
    const std::size_t problems =
        diagnostics.All().size() + (strict ? diagnostics.Warnings().size() : 0);
    if (problems == 0) return std::move(read.package);
    err << problems << (problems == 1 ? " problem" : " problems") << " found\n";
    return std::nullopt;
}

std::optional<PackageSource> ReadCheckedSources(const std::vector<std::filesystem::path>& sources,
                                                std::ostream& err, bool strict, SourceUse use,
                                                const std::optional<std::filesystem::path>& disc) {
    ReadSources read = ReadAllSources(sources, use);
    AuditDisc(read, disc);
    return Reported(std::move(read), err, strict);
}

}  // namespace ambrevo::pack
