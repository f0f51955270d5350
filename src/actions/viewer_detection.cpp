#include "actions/viewer_detection.h"

#include <algorithm>

#include "actions/decimal_number.h"
#include "actions/product_name.h"
#include "actions/target_paths.h"
#include "support/ascii.h"

namespace ambrevo {
namespace {

constexpr char kDefaultWindowsFolder[] = "C:\\Windows";
constexpr char kProbeFolder[] = "C:\\";

std::string WithTrailingBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

// Web names go to the default browser rather than to a file association.
bool IsWebName(const std::string& lowerName) {
    const std::string prefix = lowerName.substr(0, 3);
    return prefix == "htt" || prefix == "www" || prefix == "ftp";
}

}  // namespace

ViewerDetection::ViewerDetection(ViewerLookups& lookups, FileFinder& files,
                                 VersionInfoReader& versions, const ProgramInfo& program)
    : lookups_(lookups), files_(files), versions_(versions), program_(program) {}

bool ViewerDetection::CheckViewer(const MenuItem& item, std::string& target) {
    const Viewer viewer = DetectViewer(target);
    if (!EqualsIgnoringAsciiCase(viewer.name, item.viewerName)) return false;
    const auto order = CompareDecimals(viewer.version, item.viewerVersion);
    if (!order) return false;
    return item.viewerVersionMode == 1 ? *order >= 0 : *order == 0;
}

ViewerDetection::Viewer ViewerDetection::DetectViewer(std::string& target) {
    const Viewer none{kNoViewerName, kNoViewerVersion};
    if (target.empty()) return none;
    target = AsciiLower(target);
    const std::string folder = FolderPart(target);
    target = FileNamePart(target);

    const std::string program =
        IsWebName(target) ? FindDefaultBrowser(target) : lookups_.ExecutableFor(target, folder);
    if (program.empty()) return none;
    const auto info = versions_.Read(program);
    if (!info) return none;
    Viewer viewer{ProductNameOf(*info), FileVersionOf(*info)};
    if (viewer.name.empty() || viewer.version.empty()) return none;
    return viewer;
}

std::string ViewerDetection::FindDefaultBrowser(const std::string& probe) {
    std::string probeFile = probe;
    const auto foundIn = [&](const std::string& folder) {
        const std::string name = FirstHtmFile(folder);
        if (name.empty() || probe.empty()) return false;
        probeFile = folder + name;
        return true;
    };
    std::string madeProbe;  // the probe file this lookup made, to be deleted after it
    if (probe.empty() || !files_.Attributes(probe)) {
        const std::vector<std::string> folders = LikelyHtmFolders();
        if (std::none_of(folders.begin(), folders.end(), foundIn)) {
            // Made only when absent: a file of that name that was there already is not ours
            // to overwrite or delete. A standard user cannot create files in the root of C:
            // on current Windows; the temporary folder takes the probe then. When it cannot
            // be made anywhere the search goes on without it.
            std::string folder = kProbeFolder;
            bool madeProbeFile =
                lookups_.CreateNewFile(folder + kBrowserProbeName, kBrowserProbeBytes);
            if (!madeProbeFile && !files_.Attributes(folder + kBrowserProbeName)) {
                const std::string temporary = lookups_.TemporaryFolder();
                if (!temporary.empty() &&
                    lookups_.CreateNewFile(temporary + kBrowserProbeName, kBrowserProbeBytes)) {
                    folder = temporary;
                    madeProbeFile = true;
                }
            }
            foundIn(folder);
            if (madeProbeFile) madeProbe = folder + kBrowserProbeName;
        }
    }
    const std::string program = lookups_.ExecutableFor(probeFile, "");
    if (!madeProbe.empty()) lookups_.RemoveFile(madeProbe);
    return program;
}

std::string ViewerDetection::FindAssociatedProgram(const std::string& document) {
    return lookups_.ExecutableFor(document, "");
}

std::string ViewerDetection::ReadFileVersion(const std::string& program) {
    const auto info = versions_.Read(program);
    return info ? FileVersionOf(*info) : std::string();
}

std::string ViewerDetection::ReadProductName(const std::string& program) {
    const auto info = versions_.Read(program);
    return info ? ProductNameOf(*info) : std::string();
}

std::vector<std::string> ViewerDetection::LikelyHtmFolders() {
    std::string windows = lookups_.WindowsFolder();
    if (windows.empty()) windows = kDefaultWindowsFolder;
    return {
        WithTrailingBackslash(windows),
        WithTrailingBackslash(program_.folder),
        WithTrailingBackslash(windows.substr(0, 1) +
                              ":\\Program Files\\Common Files\\Microsoft Shared\\Stationery"),
        WithTrailingBackslash(windows + "\\system"),
        WithTrailingBackslash(windows + "\\help"),
        WithTrailingBackslash(windows + "\\web"),
    };
}

std::string ViewerDetection::FirstHtmFile(const std::string& folder) {
    std::string name;
    files_.ListFolder(folder + "*.htm", [&name](const FolderEntry& entry) {
        if (entry.attributes.directory) return true;
        name = entry.name;
        return false;
    });
    return name;
}

}  // namespace ambrevo
