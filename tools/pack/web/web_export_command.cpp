#include <system_error>

#include "pack/cli/command_guard.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/web/disc_files.h"
#include "pack/web/live_package.h"
#include "pack/web/web_build.h"
#include "pack/web/web_commands.h"
#include "pack/web/web_routes.h"
#include "pack/web/web_site.h"

namespace ambrevo::pack {
namespace {

bool SameOrInside(const std::filesystem::path& folder, const std::filesystem::path& outer) {
    std::error_code error;
    const std::filesystem::path inner = std::filesystem::weakly_canonical(folder, error);
    const std::filesystem::path root = std::filesystem::weakly_canonical(outer, error);
    if (error) return false;
    const std::filesystem::path relative = inner.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    return SameOrInside(a, b) && SameOrInside(b, a);
}

// The page's files must not land among the files they are made from.
void CheckOutputFolder(const std::filesystem::path& folder, const std::filesystem::path& source,
                       const std::filesystem::path& disc, const std::filesystem::path& site) {
    const std::filesystem::path sourceFolder =
        source.parent_path().empty() ? std::filesystem::path(".") : source.parent_path();
    std::string clash;
    if (SameOrInside(folder, disc)) {
        clash = SameFolder(folder, disc) ? "is the disc folder"
                                         : "lies in the disc folder \"" + PathToUtf8(disc) + "\"";
    } else if (SameFolder(folder, sourceFolder)) {
        clash = "is the source's folder";
    } else if (SameOrInside(folder, site)) {
        clash = "lies in the browser player's folder \"" + PathToUtf8(site) + "\"";
    }
    if (!clash.empty()) {
        throw PackError("the output folder \"" + PathToUtf8(folder) + "\" " + clash +
                        "; give a folder of its own");
    }
}

void WriteAnswer(const WebRoutes& routes, std::string_view path,
                 const std::filesystem::path& file) {
    const WebResponse answer = routes.Respond(path);
    if (answer.status != 200) {
        throw PackError("cannot read the page's file " + std::string(path.substr(1)));
    }
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        throw PackError("cannot make the folder \"" + PathToUtf8(file.parent_path()) +
                        "\": " + error.message());
    }
    WriteTextFile(file, *answer.body);
}

}  // namespace

int RunWeb(const WebOptions& options, const std::filesystem::path& folder, std::ostream& err) {
    return Guarded(err, [&] {
        const std::filesystem::path site = FindWebSite(options.site);
        const std::filesystem::path disc = DiscFolderFor(options.source, options.disc);
        CheckOutputFolder(folder, options.source, disc, site);
        LivePackage package(options.source);
        if (!package.Build()) {
            err << "error: " << *package.Current().error << "\nnothing written\n";
            return kCommandFailure;
        }
        // The same answers the server gives, so the static page is the served one.
        const WebRoutes routes{site, disc, &package, false};
        for (const std::string_view name : kSiteFiles) {
            WriteAnswer(routes, "/" + std::string(name), folder / std::string(name));
        }
        WriteAnswer(routes, "/package.bin", folder / "package.bin");
        WriteAnswer(routes, "/files.json", folder / "files.json");
        const std::vector<std::string> discFiles = ListDiscFiles(disc);
        for (const std::string& file : discFiles) {
            WriteAnswer(routes, "/disc/" + file, folder / "disc" / PathFromUtf8(file));
        }
        err << "wrote " << PathToUtf8(folder) << ": the page, the package and " << discFiles.size()
            << (discFiles.size() == 1 ? " disc file\n" : " disc files\n");
        return kCommandSuccess;
    });
}

}  // namespace ambrevo::pack
