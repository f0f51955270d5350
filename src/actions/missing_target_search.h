#pragma once

#include <optional>
#include <string>
#include <vector>

#include "services/file_finder.h"
#include "support/program_info.h"
#include "ui/application.h"

namespace ambrevo {

// Looks for a file target that is not where the menu says: a file of the same name in a
// few likely folders, then in the program's folder tree, then on the program's whole
// drive, with a window offering Cancel once that walk runs long.
class MissingTargetSearch {
public:
    MissingTargetSearch(FileFinder& files, ui::Application& app, const ProgramInfo& program);

    // path: a full file path. Returns the first file found, as a full path; after a
    // cancel, or once the application is terminating, the file name alone (lower-cased);
    // when nothing is found, path unchanged.
    std::string FindMissingTarget(const std::string& path);

    // Walks root's tree breadth-first for an entry named wantedName (lower-case; a folder
    // counts). Returns its full path, or wantedName alone after a cancel or once the
    // application is terminating (the menu was closed), or nothing.
    // Pending window messages are processed once per folder; with showWindow the search
    // window appears at the 21st folder and is gone when this returns.
    std::optional<std::string> SearchFolderTree(const std::string& wantedName, bool showWindow,
                                                const std::string& root);

    // Set by the search window's Cancel; cleared when a tree walk starts.
    bool searchCancelled = false;

private:
    // The first candidate folder holding a plain file named wantedName, as a full path.
    std::optional<std::string> FindInFolders(const std::vector<std::string>& folders,
                                             const std::string& wantedName);

    FileFinder& files_;
    ui::Application& app_;
    const ProgramInfo& program_;
};

}  // namespace ambrevo
