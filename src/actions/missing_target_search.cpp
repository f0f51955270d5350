#include "actions/missing_target_search.h"

#include <deque>
#include <memory>

#include "actions/search_window.h"
#include "actions/target_paths.h"
#include "support/ascii.h"

namespace ambrevo {
namespace {

// The walk shows its window from this position of the folder queue on (the root is 0).
constexpr std::size_t kWindowFolder = 20;

bool HasDoubleBackslash(const std::string& path) { return path.find("\\\\") != path.npos; }

// The folder of path, lower-cased, ending in exactly one backslash added to it: a root
// ("e:\") keeps its own, so it ends in two; a bare name gives "\".
std::string WantedFolder(const std::string& path) {
    std::string folder = AsciiLower(FolderPart(path));
    const bool root = folder.size() >= 2 && folder.ends_with(":\\");
    if (!root && !folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder + '\\';
}

// The folder structure of the path moved onto the program's drive, deepest first:
// e:\docs\manuals\ on drive D: gives D:\docs\manuals\, D:\manuals\, D:\.
std::vector<std::string> OnProgramDrive(const std::string& wantedFolder,
                                        const std::string& programDrive) {
    std::vector<std::string> folders;
    for (std::size_t at = wantedFolder.find('\\'); at != wantedFolder.npos;
         at = wantedFolder.find('\\', at + 1)) {
        folders.push_back(programDrive + wantedFolder.substr(at));
    }
    return folders;
}

// The folders enclosing path, deepest first. Of two adjacent backslashes only the later
// counts, and a backslash among the last two characters is not looked at.
std::vector<std::string> EnclosingFolders(const std::string& path) {
    std::vector<std::string> folders;
    if (path.size() < 3) return folders;
    std::size_t from = path.size() - 3;
    for (;;) {
        const std::size_t at = path.rfind('\\', from);
        if (at == path.npos) break;
        folders.push_back(path.substr(0, at + 1));
        if (at < 2) break;
        from = at - 2;
    }
    return folders;
}

// Entries never matched nor entered: dot names, what the user does not see, and joined
// paths with an empty folder name.
bool IsWalked(const FolderEntry& entry, const std::string& path) {
    if (entry.name == "." || entry.name == "..") return false;
    if (entry.attributes.hidden || entry.attributes.system) return false;
    return !HasDoubleBackslash(path) && path.find("\\.") == path.npos;
}

}  // namespace

MissingTargetSearch::MissingTargetSearch(FileFinder& files, ui::Application& app,
                                         const ProgramInfo& program)
    : files_(files), app_(app), program_(program) {}

std::string MissingTargetSearch::FindMissingTarget(const std::string& path) {
    app_.ProcessMessages();
    const std::string wantedFolder = WantedFolder(path);
    const std::string wantedName = AsciiLower(FileNamePart(path));
    const std::string drive = ProgramDrive(program_.folder);

    for (const auto& folders : {std::vector<std::string>{program_.folder},
                                OnProgramDrive(wantedFolder, drive), EnclosingFolders(path)}) {
        if (auto found = FindInFolders(folders, wantedName)) return *found;
    }
    if (auto found = SearchFolderTree(wantedName, false, program_.folder)) return *found;
    if (auto found = SearchFolderTree(wantedName, true, drive + '\\')) return *found;
    return path;
}

std::optional<std::string> MissingTargetSearch::FindInFolders(
    const std::vector<std::string>& folders, const std::string& wantedName) {
    for (const std::string& folder : folders) {
        std::string candidate = folder + wantedName;
        if (HasDoubleBackslash(candidate)) continue;
        if (IsPlainFile(files_.Attributes(candidate))) return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> MissingTargetSearch::SearchFolderTree(const std::string& wantedName,
                                                                 bool showWindow,
                                                                 const std::string& root) {
    searchCancelled = false;
    std::unique_ptr<TfrmSearchCls> window;
    // Folders still to list, oldest first; position counts every folder taken so far.
    std::deque<std::string> queue{root};
    for (std::size_t position = 0;; ++position) {
        // Closing the program cancels the walk as the Cancel button does.
        if (searchCancelled || app_.Terminated()) return wantedName;
        if (queue.empty()) return std::nullopt;
        const std::string folder = std::move(queue.front());
        queue.pop_front();
        if (showWindow && position >= kWindowFolder) {
            if (position == kWindowFolder) {
                window = std::make_unique<TfrmSearchCls>(app_, searchCancelled);
                app_.ProcessMessages();
            }
            window->ShowFolder(folder);
        }
        app_.ProcessMessages();

        std::optional<std::string> found;
        files_.ListFolder(folder + "*.*", [&](const FolderEntry& entry) {
            std::string path = folder + entry.name;
            if (!IsWalked(entry, path)) return true;
            if (EqualsIgnoringAsciiCase(entry.name, wantedName)) {
                found = std::move(path);
                return false;
            }
            // A junction or link is never entered: one pointing up the tree would make the
            // walk endless.
            if (entry.attributes.directory && !entry.attributes.reparsePoint) {
                queue.push_back(std::move(path) + '\\');
            }
            return true;
        });
        if (found) return found;
    }
}

}  // namespace ambrevo
