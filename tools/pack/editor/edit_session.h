#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// sources would then hold a problem they did not hold before (400, with the check's
// messages), and is otherwise written in place (TomlSourceEdit), atomically. Undo and redo
// go over every edit since the session began, each refused when its file changed since.
// Only the TOML files the package reads are ever written, and a new menu's file, which
// must not exist yet, is created. Requests may come from several threads.
class EditSession {
public:
    // source: a package.toml or one menu TOML file. pictures: the decoded pictures, shared
    // with the live build so that each is decoded once.
    explicit EditSession(std::filesystem::path source,
                         std::shared_ptr<PictureCache> pictures = std::make_shared<PictureCache>());

    // {"source": {"name", "exists"}, "files": [{"name", "version"}], "menus": [{"file",
    // "name", "size", "keys", "items": [{"index", "kind", "position", "size", "file",
    // "line", "keys"}]}], "problems": [...], "undo": [{"label", "files"}], "redo": [...]};
    // "keys" are the source's own keys of the menu (its items left out) or of the item;
    // the undo and redo steps come oldest first.
    nlohmann::json Model() const;
    // The PNG files of the source's folder and its sub-folders (PictureFiles).
    nlohmann::json Pictures() const;

    // One edit: {"file", "version", "menu"?, "label"?, "item"?, and one of "set": {key:
    // value or null}, "add": {key: value}, "remove": n, "move": n with "to": m, "duplicate":
    // n with "set"? (the copy's keys), "each": [{"item"?, "set"}] (several sets in one
    // step)}; or {"undo": true, "file"?} or {"redo": true, "file"?}, which take the newest
    // step (touching the file); or on the package file {"file", "version", "add_menu":
    // {"file", "title", "background"?}}, which creates the menu's file in the package's
    // folder and lists it last in "menus", creating the package file too when there is none
    // yet. "background" is a picture's name or {"size", "color"}: a plain picture the tool
    // writes. "menu" is the entry name of the menu the edit was made on: the edit is refused
    // (409) when the file is not that menu's source or the sources do not build, since the
    // page then shows an older build. "label" names the step for undo and redo. Items are
    // numbered from 1 in file order; without "item" the keys are the menu's own; a key
    // "a.b" is the key b of table a ("pictures.normal"), in "add" too.
    EditReply Apply(const nlohmann::json& request);

private:
    struct Change {
        std::filesystem::path file;
        std::optional<std::string> before;  // none: the step created the file
        std::string after;
    };
    // The changes of one edit, written in this order and undone in the reverse one.
    struct Step {
        std::string label;
        std::vector<Change> changes;
    };
    std::vector<std::filesystem::path> Files() const;
    std::filesystem::path FileNamed(const std::string& name) const;
    std::string NameOf(const std::filesystem::path& file) const;
    // Reads the sources, with the texts given in place of their files, through the
    // session's pictures, read again only when a picture file changed.
    PackageSource Read(const SourceTexts& texts, Diagnostics& diagnostics) const;
    std::string Problem(Diagnostic diagnostic) const;
    std::vector<std::string> Problems(const Diagnostics& diagnostics) const;
    EditReply Edit(const nlohmann::json& request);
    std::optional<EditReply> NotShown(const std::string& menu, const std::filesystem::path& file,
                                      const PackageSource& package,
                                      const Diagnostics& problems) const;
    Step AddMenu(const std::filesystem::path& package, const std::optional<std::string>& before,
                 const nlohmann::json& keys, nlohmann::json& reply) const;
    EditReply Commit(Step step, nlohmann::json reply, const Diagnostics& unedited);
    EditReply Replay(std::vector<Step>& from, std::vector<Step>& to, bool undo,
                     const nlohmann::json& request);
    nlohmann::json History(const std::vector<Step>& steps) const;

    std::filesystem::path source_;
    std::filesystem::path folder_;
    mutable std::mutex mutex_;
    std::shared_ptr<PictureCache> pictures_;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
};

}  // namespace ambrevo::pack
