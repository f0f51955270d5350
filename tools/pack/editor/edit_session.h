#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pack/editor/edit_history.h"
#include "pack/editor/edit_request.h"
#include "pack/pictures/picture_cache.h"
#include "pack/source/package_source.h"

namespace ambrevo::pack {

// The version of a source file: a hash of its bytes, as 16 hexadecimal digits.
std::string SourceVersion(std::string_view bytes);

struct EditReply {
    int status = 200;  // 400 refused, 409 the file changed since the version given
    nlohmann::json body;
};

// The designer's edits of a package's TOML sources. Each edit names the file and the
// version it was made on; it is refused when the file changed since (409), or when the
// sources would then hold an error they did not hold before (400, with the check's
// messages), and is otherwise written in place (TomlSourceEdit), atomically, once the file
// is found unchanged again right before (WriteStep). Undo and redo go over the latest
// edits (HistoryBounds), each refused when its file changed since. Only the TOML files the
// package reads are ever written, and a new menu's file, which must not exist yet, is
// created. Requests may come from several threads; a model is read beside the edits.
class EditSession {
public:
    // source: a package.toml or one menu TOML file. pictures: the decoded pictures, shared
    // with the live build so that each is decoded once.
    explicit EditSession(std::filesystem::path source,
                         std::shared_ptr<PictureCache> pictures = std::make_shared<PictureCache>(),
                         HistoryBounds bounds = {});

    // {"source": {"name", "exists"}, "files": [{"name", "version"}], "menus": [{"file",
    // "name", "size", "keys", "items": [{"index", "kind", "position", "size", "file",
    // "line", "keys"}]}], "problems": [...], "problem_list": [...], "keys": [...], "undo":
    // [{"label", "files"}], "redo": [...]}; a menu's and an item's "keys" are the source's
    // own keys of the menu (its items left out) or of the item. "problems" are the errors as
    // the command line prints them; "problem_list" the errors and warnings as objects, with
    // the item each concerns (ProblemList); the top-level "keys" the key catalogue
    // (MenuKeysJson). The undo steps come oldest first, the redo steps in the order they
    // were undone.
    nlohmann::json Model() const;
    // The PNG files of the source's folder and its sub-folders (PictureFiles).
    nlohmann::json Pictures() const;
    // Adds a picture the page sends to the source's folder (StoreDroppedPicture): its
    // {"file", "size": [w, h]}. Throws PackError with the reason it was refused. The first
    // edit that writes the picture's name takes the picture into its step: undo removes the
    // file while it holds the bytes stored, redo puts it back. A picture no edit names stays.
    nlohmann::json AddPicture(std::string_view name, std::span<const std::uint8_t> bytes);

    // One edit (EditRequest). A new menu's file is created in the package's folder and
    // listed last in "menus", the package file too when there is none yet. An edit naming
    // the menu it was made on is refused (409) when the file is not that menu's source or
    // the sources do not build, since the page then shows an older build. Undo and redo take
    // the newest step (touching the file named).
    // A reply that wrote files carries their new "version"; one whose edit pushed the
    // oldest steps out of the undo history says how many in "undo_dropped"; an undo that
    // left files the step created, as they changed since, names them in "kept".
    EditReply Apply(const EditRequest& request);

    // Runs, under the edit lock, right before each file of an edit, undo or redo is looked
    // at for the last time and put in place: a test saves a file there as an editor would.
    void SetBeforeFinalCheck(std::function<void()> hook);

private:
    std::vector<std::filesystem::path> Files() const;
    std::filesystem::path FileNamed(const std::string& name) const;
    std::string NameOf(const std::filesystem::path& file) const;
    // Reads the sources, with the texts given in place of their files, through the
    // session's pictures, read again only when a picture file changed.
    PackageSource Read(const SourceTexts& texts, Diagnostics& diagnostics) const;
    std::string Problem(Diagnostic diagnostic) const;
    std::vector<std::string> Problems(const Diagnostics& diagnostics) const;
    EditReply Edit(const FileEdit& request);
    std::optional<EditReply> NotShown(const std::string& menu, const std::filesystem::path& file,
                                      const PackageSource& package,
                                      const Diagnostics& problems) const;
    EditStep AddMenu(const std::filesystem::path& package, const std::optional<std::string>& before,
                     const NewMenu& menu, nlohmann::json& reply) const;
    EditReply Stale(const std::filesystem::path& changed,
                    const std::filesystem::path& edited) const;
    EditReply Commit(EditStep step, const FileEdit& request, nlohmann::json reply,
                     const Diagnostics& unedited);
    std::vector<FileChange> TakeStoredPictures(const FileEdit& request);
    EditReply Replayed(const ReplayEdit& request);
    nlohmann::json History(Replay replay) const;

    std::filesystem::path source_;
    std::filesystem::path folder_;
    mutable std::mutex mutex_;
    std::shared_ptr<PictureCache> pictures_;
    EditHistory history_;
    // Pictures added and not yet written by an edit, oldest first.
    std::vector<std::filesystem::path> stored_;
    std::function<void()> beforeFinalCheck_;
};

}  // namespace ambrevo::pack
