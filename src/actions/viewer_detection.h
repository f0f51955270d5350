#pragma once

#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "services/file_finder.h"
#include "services/version_info.h"
#include "services/viewer_lookups.h"
#include "support/program_info.h"

namespace ambrevo {

// What stands for a viewer that cannot be detected: it matches only an item that asks for
// exactly this name and version.
inline constexpr char kNoViewerName[] = "N/A";
inline constexpr char kNoViewerVersion[] = "0";

// Made in the root of drive C: when no ".htm" file can be found anywhere else, so that the
// shell can be asked which program opens one; deleted again by the lookup that made it.
inline constexpr char kBrowserProbeName[] = "qelvosbk.htm";
inline constexpr char kBrowserProbeFile[] = "C:\\qelvosbk.htm";
inline constexpr char kBrowserProbeBytes[] = " \r\n";

// Which program would open a target, with its product name and version, and the lookups of
// the default browser and of a document's program.
class ViewerDetection {
public:
    ViewerDetection(ViewerLookups& lookups, FileFinder& files, VersionInfoReader& versions,
                    const ProgramInfo& program);

    // True when the program that would open target is the viewer item asks for (by name, in
    // any case) in the version it asks for: at least item.viewerVersion in mode 1, exactly it
    // otherwise. A version that is not a decimal number fails the check. target becomes its
    // lower-cased file-name part (left empty when it is empty).
    bool CheckViewer(const MenuItem& item, std::string& target);

    // The program that opens ".htm" files, or empty. The shell is asked about probe when it
    // names an existing file or folder, otherwise about the first ".htm" file of a few
    // folders likely to hold one, last of all kBrowserProbeFile (made for the question and
    // deleted after it; an existing file of that name is used and left in place). With an
    // empty probe no file found counts, and the shell is asked about the empty name.
    std::string FindDefaultBrowser(const std::string& probe);

    // The program associated with document, or empty.
    std::string FindAssociatedProgram(const std::string& document);

    // "major.minor" of the program's file version; empty when there is none.
    std::string ReadFileVersion(const std::string& program);
    // The program's product name in normal form; empty without a version resource.
    std::string ReadProductName(const std::string& program);

private:
    struct Viewer {
        std::string name;
        std::string version;
    };
    // The viewer of target, "N/A" "0" when there is none; changes target as CheckViewer says.
    Viewer DetectViewer(std::string& target);
    // The folders where a ".htm" file is likely, in the order they are looked in, each
    // ending in "\".
    std::vector<std::string> LikelyHtmFolders();
    // The name of the first ".htm" file folder lists; empty when there is none.
    std::string FirstHtmFile(const std::string& folder);

    ViewerLookups& lookups_;
    FileFinder& files_;
    VersionInfoReader& versions_;
    const ProgramInfo& program_;
};

}  // namespace ambrevo
