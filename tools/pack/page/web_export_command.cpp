#include <algorithm>
#include <system_error>

#include "pack/common/command_guard.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/common/disc_files.h"
#include "pack/page/file_chunks.h"
#include "pack/page/live_package.h"
#include "pack/common/real_path.h"
#include "pack/page/staged_site.h"
#include "pack/page/web_build.h"
#include "pack/page/web_commands.h"
#include "pack/page/web_routes.h"
#include "pack/page/web_site.h"

namespace ambrevo::pack {
namespace {

bool SameOrInside(const std::filesystem::path& inner, const std::filesystem::path& outer) {
    return PathInside(inner, outer).has_value();
}

// The page's files must not land among the files they are made from, nor replace them.
void CheckOutputFolder(const std::filesystem::path& given, const std::filesystem::path& source,
                       const std::optional<std::filesystem::path>& disc,
                       const std::filesystem::path& site) {
    const std::filesystem::path folder = ResolvedPath(given);
    const std::filesystem::path sourceFolder = ResolvedPath(
        source.parent_path().empty() ? std::filesystem::path(".") : source.parent_path());
    const std::filesystem::path siteFolder = ResolvedPath(site);
    const std::optional<std::filesystem::path> discFolder =
        disc ? std::optional(ResolvedPath(*disc)) : std::nullopt;
    std::string clash;
    if (discFolder && SameOrInside(folder, *discFolder)) {
        clash = folder == *discFolder ? "is the disc folder"
                                      : "lies in the disc folder \"" + PathToUtf8(*disc) + "\"";
    } else if (folder == sourceFolder) {
        clash = "is the source's folder";
    } else if (discFolder && SameOrInside(*discFolder, folder)) {
        clash = "holds the disc folder \"" + PathToUtf8(*disc) + "\"";
    } else if (SameOrInside(sourceFolder, folder)) {
        clash = "holds the source's folder";
    } else if (SameOrInside(folder, siteFolder)) {
        clash = "lies in the browser player's folder \"" + PathToUtf8(site) + "\"";
    } else if (SameOrInside(siteFolder, folder)) {
        clash = "holds the browser player's folder \"" + PathToUtf8(site) + "\"";
    }
    if (!clash.empty()) {
        throw PackError("the output folder \"" + PathToUtf8(given) + "\" " + clash +
                        "; give a folder of its own");
    }
}

void WriteAnswer(const WebRoutes& routes, std::string_view path, StagedSite& page) {
    const WebResponse answer = routes.Respond(path);
    if (answer.status != 200) {
        throw PackError("cannot read the page's file " + std::string(path.substr(1)));
    }
    const std::filesystem::path file = page.Place(path.substr(1));
    if (answer.body) {
        WriteTextFile(file, *answer.body);
    } else {
        CopyInChunks(answer.file, file);
    }
}

}  // namespace

int RunWeb(const WebOptions& options, const std::filesystem::path& folder, std::ostream& err) {
    return Guarded(err, [&] {
        const std::filesystem::path site = FindWebSite(options.site);
        const std::optional<std::filesystem::path> disc =
            DiscFolderFor(options.source, options.disc);
        CheckOutputFolder(folder, options.source, disc, site);
        LivePackage package(options.source);
        if (!package.Build()) {
            err << "error: " << *package.Current().error << "\nnothing written\n";
            return kCommandFailure;
        }
        StagedSite page(folder);
        const DiscListing listing = ListDiscFiles(disc);
        if (!disc) err << NoDiscFolderNote(options.source) << "\n";
        for (const std::string& warning : listing.warnings) err << warning << "\n";
        // The same answers the server gives, so the static page is the served one.
        const WebRoutes routes{site, disc, &package, false};
        for (const std::string_view name : kSiteFiles) {
            if (std::find(kStartPageFiles.begin(), kStartPageFiles.end(), name) !=
                kStartPageFiles.end()) {
                continue;
            }
            WriteAnswer(routes, "/" + std::string(name), page);
        }
        WriteAnswer(routes, "/package.bin", page);
        WriteTextFile(page.Place("files.json"), FilesJson(listing.files));
        for (const std::string& file : listing.files) WriteAnswer(routes, "/disc/" + file, page);
        page.Commit();
        err << "wrote " << PathToUtf8(folder) << ": the page, the package and "
            << listing.files.size()
            << (listing.files.size() == 1 ? " disc file\n" : " disc files\n");
        return kCommandSuccess;
    });
}

}  // namespace ambrevo::pack
