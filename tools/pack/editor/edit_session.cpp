#include "pack/editor/edit_session.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/common/real_path.h"
#include "pack/editor/edit_step_writer.h"
#include "pack/editor/item_stacking.h"
#include "pack/editor/new_menu_file.h"
#include "pack/editor/picture_files.h"
#include "pack/editor/picture_upload.h"
#include "pack/editor/problem_list.h"
#include "pack/editor/toml_source_edit.h"
#include "pack/editor/toml_values.h"
#include "pack/source/listed_menu_files.h"
#include "pack/source/menu_keys.h"
#include "pack/source/package_source.h"
#include "pack/text/source_names.h"
#include "pack/source/source_table.h"
#include "pack/text/text_encoding.h"
#include "pack/text/toml_problems.h"
#include "support/ascii.h"
#include "support/content_digest.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kItems = "item";

std::string ReadText(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

EditReply Refused(int status, const std::string& message) { return {status, {{"error", message}}}; }

nlohmann::json Pair(std::int64_t first, std::int64_t second) { return {first, second}; }

nlohmann::json JsonOf(const toml::table& table) {
    std::ostringstream json;
    json << toml::json_formatter(table);
    return nlohmann::json::parse(json.str(), nullptr, false);
}

// What the designer shows of a menu source: the menu's own keys, and each [[item]]
// table's keys and line, in file order.
struct SourceKeys {
    nlohmann::json menu = nlohmann::json::object();
    std::vector<nlohmann::json> items;
    std::vector<std::int64_t> lines;
};

SourceKeys KeysOf(const std::string& text) {
    SourceKeys keys;
    try {
        toml::table root = toml::parse(text);
        if (const toml::array* items = root[kItems].as_array()) {
            for (const toml::node& item : *items) {
                keys.lines.push_back(LineOf(item));
                keys.items.push_back(item.is_table() ? JsonOf(*item.as_table())
                                                     : nlohmann::json::object());
            }
        }
        root.erase(kItems);
        keys.menu = JsonOf(root);
    } catch (const toml::parse_error&) {
    }
    return keys;
}

// The index from 0 of an item numbered from 1.
int ItemIndex(int item, int count) {
    if (item < 1 || item > count) {
        throw PackError("\"item\" must be an item's number, 1 to " + std::to_string(count));
    }
    return item - 1;
}

// Writes a change of a menu source's own keys or items, and says in the reply which item
// an added or copied one became.
class SourceWriter {
public:
    SourceWriter(TomlSourceEdit& edit, nlohmann::json& reply)
        : edit_(edit), count_(edit.Count(kItems)), reply_(reply) {}

    void operator()(const SetKeys& set) {
        for (const ItemKeys& part : set.each) {
            const TomlTable table = part.item ? Item(ItemIndex(*part.item, count_)) : TomlTable{};
            Write(table, part.keys);
        }
    }
    void operator()(const AddItem& add) {
        // Keys of sub-tables ("pictures.normal") go into the new item's own sub-tables.
        std::vector<TomlKeyValue> values;
        std::vector<KeyChange> within;
        for (const KeyChange& change : add.keys) {
            if (change.path.size() == 1 && change.value) {
                values.emplace_back(change.path[0], TomlValueText(*change.value));
            } else {
                within.push_back(change);
            }
        }
        const int added = edit_.Add(kItems, values);
        Write(Item(added), within);
        reply_["item"] = added + 1;
    }
    void operator()(const RemoveItem& remove) {
        edit_.RemoveElement(kItems, ItemIndex(remove.item, count_));
    }
    void operator()(const MoveItem& move) {
        edit_.MoveElement(kItems, ItemIndex(move.item, count_), ItemIndex(move.to, count_));
    }
    void operator()(const DuplicateItem& duplicate) {
        // The copy, as written, after the item, with its own keys changed.
        const int copy = edit_.DuplicateElement(kItems, ItemIndex(duplicate.item, count_));
        Write(Item(copy), duplicate.keys);
        reply_["item"] = copy + 1;
    }

private:
    static TomlTable Item(int index) { return {TomlElement{std::string(kItems), index}, {}}; }

    // Sets or removes each key of the table or of the tables below it.
    void Write(const TomlTable& table, const std::vector<KeyChange>& keys) {
        for (const KeyChange& change : keys) {
            TomlTable within = table;
            within.keys.insert(within.keys.end(), change.path.begin(), change.path.end() - 1);
            if (change.value) {
                edit_.Set(within, change.path.back(), TomlValueText(*change.value));
            } else {
                edit_.Remove(within, change.path.back());
            }
        }
    }

    TomlSourceEdit& edit_;
    int count_;
    nlohmann::json& reply_;
};

}  // namespace

std::string SourceVersion(std::string_view bytes) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(DigestOf(bytes).first));
    return text;
}

EditSession::EditSession(std::filesystem::path source, std::shared_ptr<PictureCache> pictures,
                         HistoryBounds bounds)
    : source_(std::move(source)),
      folder_(source_.has_parent_path() ? source_.parent_path() : std::filesystem::path(".")),
      pictures_(std::move(pictures)),
      history_(bounds) {}

void EditSession::SetBeforeFinalCheck(std::function<void()> hook) {
    const std::lock_guard lock(mutex_);
    beforeFinalCheck_ = std::move(hook);
}

// The source, and where it is a package file the menu files it lists.
std::vector<std::filesystem::path> EditSession::Files() const {
    std::vector<std::filesystem::path> files{source_};
    for (std::filesystem::path& menu : ListedMenuFiles(source_)) files.push_back(std::move(menu));
    return files;
}

std::string EditSession::NameOf(const std::filesystem::path& file) const {
    return PathToUtf8(file.lexically_relative(folder_).generic_string());
}

// Only the package's TOML files that lie in its folder are written, whatever a "menus"
// list names or a link points to.
std::filesystem::path EditSession::FileNamed(const std::string& name) const {
    // Judged by real places, so that neither a link nor, on Windows, a junction among the
    // folders leads a write out of the source folder. The file itself may not exist yet (a
    // menu listed before it is written); the writes refuse a file that is a link.
    const std::optional<std::filesystem::path> folder = RealPath(folder_);
    for (const std::filesystem::path& file : Files()) {
        if (NameOf(file) != name) continue;
        const std::optional<std::filesystem::path> parent =
            RealPath(file.has_parent_path() ? file.parent_path() : std::filesystem::path("."));
        if (!folder || !parent || file.extension() != ".toml") break;
        const std::optional<std::filesystem::path> inside =
            PathInside(*parent / file.filename(), *folder);
        if (!inside || *inside == ".") break;
        return file;
    }
    throw PackError("\"" + name + "\" is no TOML source file of this package in its folder");
}

PackageSource EditSession::Read(const SourceTexts& texts, Diagnostics& diagnostics) const {
    pictures_->ForgetChanged();
    return ReadPackageSource({source_}, *pictures_, diagnostics, SourceUse::Build, &texts);
}

std::string EditSession::Problem(Diagnostic diagnostic) const {
    diagnostic.file = NameOf(PathFromUtf8(diagnostic.file));  // as the designer names files
    return FormatDiagnostic(diagnostic);
}

std::vector<std::string> EditSession::Problems(const Diagnostics& diagnostics) const {
    std::vector<std::string> problems;
    for (const Diagnostic& problem : diagnostics.ByFileAndLine()) {
        problems.push_back(Problem(problem));
    }
    return problems;
}

// The texts are taken under the edit lock, so that they are those of one moment between
// edits; they are read and checked outside it, so that edits need not wait for that.
nlohmann::json EditSession::Model() const {
    SourceTexts texts;
    std::vector<std::filesystem::path> files;
    nlohmann::json undo;
    nlohmann::json redo;
    {
        const std::lock_guard lock(mutex_);
        for (const std::filesystem::path& file : Files()) {
            try {
                texts[file] = ReadText(file);
                files.push_back(file);
            } catch (const PackError&) {
            }
        }
        undo = History(Replay::Undo);
        redo = History(Replay::Redo);
    }
    // A package file not written yet is no problem: the designer offers to make it.
    const bool exists = texts.contains(source_);
    Diagnostics diagnostics;
    const PackageSource package = exists ? Read(texts, diagnostics) : PackageSource{};
    nlohmann::json model = {{"source", {{"name", NameOf(source_)}, {"exists", exists}}},
                            {"files", nlohmann::json::array()},
                            {"menus", nlohmann::json::array()},
                            {"problems", Problems(diagnostics)},
                            {"problem_list", ProblemList(diagnostics,
                                                         [this](const std::string& f) {
                                                             return NameOf(PathFromUtf8(f));
                                                         })},
                            {"keys", MenuKeysJson()},
                            {"undo", std::move(undo)},
                            {"redo", std::move(redo)}};
    std::map<std::string, SourceKeys> sourceKeys;
    for (const std::filesystem::path& file : files) {
        const std::string& text = texts[file];
        model["files"].push_back({{"name", NameOf(file)}, {"version", SourceVersion(text)}});
        sourceKeys[PathToUtf8(file)] = KeysOf(text);
    }
    for (const MenuSource& source : package.menus) {
        const MenuDefinition& menu = source.menu;
        const std::string file = NameOf(PathFromUtf8(source.fileName));
        const SourceKeys& keys = sourceKeys[source.fileName];
        const auto background = menu.pictures.Picture(0, static_cast<int>(PictureSet::Normal), 0);
        nlohmann::json items = nlohmann::json::array();
        for (std::size_t i = 0; i < menu.items.size(); ++i) {
            const MenuItem& item = menu.items[i];
            const int n = static_cast<int>(i) + 1;
            nlohmann::json size = Pair(item.width, item.height);
            if (item.kind == static_cast<std::int32_t>(ItemKind::ImgBtn)) {
                const auto normal =
                    menu.pictures.Picture(n, static_cast<int>(PictureSet::Normal), 0);
                size = normal ? Pair(normal->width, normal->height) : Pair(0, 0);
            }
            items.push_back(
                {{"index", n},
                 {"kind", std::string(ItemKindNames().NameOf(item.kind).value_or(""))},
                 {"position", Pair(item.left, item.top)},
                 {"size", size},
                 {"file", file},
                 {"line", i < keys.lines.size() ? keys.lines[i] : 0},
                 {"keys", i < keys.items.size() ? keys.items[i] : nlohmann::json::object()}});
        }
        model["menus"].push_back(
            {{"file", file},
             {"name", DisplayText(source.entryName, source.codePage)},
             {"size", background ? Pair(background->width, background->height) : Pair(0, 0)},
             {"keys", keys.menu},
             {"items", items},
             {"stacking", StackingOrder(menu)}});
    }
    return model;
}

nlohmann::json EditSession::Pictures() const { return PictureFiles(folder_); }

nlohmann::json EditSession::AddPicture(std::string_view name, std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kStoredKept = 100;  // pictures awaiting an edit that uses them
    const std::lock_guard lock(mutex_);
    const StoredPicture stored = StoreDroppedPicture(folder_, name, bytes);
    // A name stored again is a new file: the one it had before was gone.
    const std::filesystem::path file = folder_ / PathFromUtf8(stored.file);
    std::erase(stored_, file);
    if (stored_.size() == kStoredKept) stored_.erase(stored_.begin());
    stored_.push_back(file);
    return {{"file", stored.file}, {"size", {stored.width, stored.height}}};
}

EditReply EditSession::Apply(const EditRequest& request) {
    const std::lock_guard lock(mutex_);
    try {
        if (const auto* replay = std::get_if<ReplayEdit>(&request)) return Replayed(*replay);
        return Edit(std::get<FileEdit>(request));
    } catch (const FileChanged& changed) {
        return Refused(409, "\"" + NameOf(changed.File()) +
                                "\" has changed since: the designer shows it as it is now");
    } catch (const PackError& error) {
        return Refused(400, error.what());
    }
}

EditReply EditSession::Edit(const FileEdit& request) {
    const std::filesystem::path file = FileNamed(request.file);
    // A file not written yet has no version: an edit made knowing none.
    const std::optional<std::string> text = TextIfAny(file);
    if (text ? SourceVersion(*text) != request.version : !request.version.empty()) {
        return Stale(file, file);
    }
    Diagnostics unedited;
    const PackageSource package = text ? Read({}, unedited) : PackageSource{};
    if (request.menu) {
        const std::optional<EditReply> refused = NotShown(*request.menu, file, package, unedited);
        if (refused) return *refused;
    }
    nlohmann::json reply = {{"file", NameOf(file)}};
    EditStep step;
    if (const auto* menu = std::get_if<NewMenu>(&request.change)) {
        step = AddMenu(file, text, *menu, reply);
    } else {
        if (!text) throw PackError("\"" + NameOf(file) + "\" does not exist yet");
        TomlSourceEdit edit(*text);
        std::visit(SourceWriter(edit, reply), std::get<MenuSourceChange>(request.change));
        step.changes.push_back({file, *text, edit.Text()});
    }
    step.label = StepLabel(request);
    return Commit(std::move(step), request, std::move(reply), unedited);
}

// Why an edit made on `menu` cannot be written, when the page does not show that menu as
// built from the sources now: they do not build (the page keeps an older build), the
// package has no such menu now, or the file is not the menu's source.
std::optional<EditReply> EditSession::NotShown(const std::string& menu,
                                               const std::filesystem::path& file,
                                               const PackageSource& package,
                                               const Diagnostics& problems) const {
    if (!problems.Empty()) {
        return Refused(409, "the sources do not build (" +
                                Problem(problems.ByFileAndLine().front()) +
                                "), so the page shows an older build of the menu: mend the "
                                "source first, then edit");
    }
    for (const MenuSource& source : package.menus) {
        if (AsciiLower(DisplayText(source.entryName, source.codePage)) != AsciiLower(menu)) {
            continue;
        }
        const std::string built = NameOf(PathFromUtf8(source.fileName));
        if (built == NameOf(file)) return std::nullopt;
        return Refused(409, "the menu \"" + menu + "\" is built from \"" + built +
                                "\", not from \"" + NameOf(file) +
                                "\": the designer shows the menus as they are now");
    }
    return Refused(409, "the package has no menu \"" + menu +
                            "\" now: the designer shows the menus as they are now");
}

// The step that creates the menu's file (and its plain background, when asked), then
// lists it last in the package's "menus", the rest of the file as it was; a package file
// not written yet is created listing it.
EditStep EditSession::AddMenu(const std::filesystem::path& package,
                              const std::optional<std::string>& before, const NewMenu& menu,
                              nlohmann::json& reply) const {
    if (package != source_) {
        throw PackError("a new menu is listed in the package file \"" + NameOf(source_) + "\"");
    }
    const std::string& name = menu.file;
    EditStep step;
    std::string listed = "menus = [" + TomlValueText({name}) + "]\n";
    if (before) {
        toml::table root;
        try {
            root = toml::parse(*before);
        } catch (const toml::parse_error& error) {
            throw PackError("\"" + NameOf(package) +
                            "\" is not TOML: " + TomlProblem(error.description()));
        }
        const toml::array* menus = root["menus"].as_array();
        if (!menus) {
            const std::string source = NameOf(source_);
            throw PackError(
                "a new menu needs a package.toml that lists the menus: write one "
                "beside \"" +
                source + "\" with menus = [\"" + source + "\"] and start the designer on it");
        }
        for (const toml::node& menu : *menus) {
            if (!menu.is_string()) throw PackError("\"menus\" must list file names");
        }
        TomlSourceEdit edit(*before);
        edit.Append({}, "menus", TomlValueText({name}));
        listed = edit.Text();
    }
    CheckNewMenuFile(folder_, name);
    std::optional<std::string> background;
    if (const auto* picture = std::get_if<std::string>(&menu.background)) background = *picture;
    if (const auto* fill = std::get_if<PlainFill>(&menu.background)) {
        background = PlainBackgroundName(name);
        std::error_code error;
        if (std::filesystem::exists(folder_ / PathFromUtf8(*background), error)) {
            throw PackError("\"" + *background + "\" exists already: choose it as the background");
        }
        step.changes.push_back(
            {folder_ / PathFromUtf8(*background), std::nullopt, PlainBackground(*fill)});
    }
    // Joined as Files() joins the names listed.
    step.changes.push_back({source_.parent_path() / PathFromUtf8(name), std::nullopt,
                            NewMenuText(menu.title, background)});
    step.changes.push_back({package, before, listed});
    reply["menu"] = name;
    return step;
}

// Refuses an edit that found `changed` other than it was made on; the reply has the
// version of the edited file as it is now.
EditReply EditSession::Stale(const std::filesystem::path& changed,
                             const std::filesystem::path& edited) const {
    EditReply reply = Refused(409, "\"" + NameOf(changed) +
                                       "\" has changed since this edit was made: the designer "
                                       "shows it as it is now");
    try {
        // A file not written yet has no version, as the model lists none for it.
        const std::optional<std::string> text = TextIfAny(edited);
        reply.body["version"] = text ? SourceVersion(*text) : "";
    } catch (const PackError&) {
    }
    return reply;
}

// Writes the step unless it brings an error the sources did not have. A warning (an item
// partly outside the window, a new menu without items) does not stop it: the model lists it
// beside its item, and the author goes on from there. The pictures stored for the edit
// join its step once it is written.
EditReply EditSession::Commit(EditStep step, const FileEdit& request, nlohmann::json reply,
                              const Diagnostics& unedited) {
    SourceTexts texts;
    // A picture the step creates is read by the check from its file: written for the check
    // and taken away again after it, so that the step then creates it as it does its other
    // new files.
    std::vector<std::filesystem::path> pictures;
    for (const FileChange& change : step.changes) {
        if (change.file.extension() == ".toml") {
            texts[change.file] = change.after;
            continue;
        }
        std::error_code ignored;
        std::filesystem::create_directories(change.file.parent_path(), ignored);
        WriteTextFile(change.file, change.after, {.beforeReplacing = {}, .createOnly = true});
        pictures.push_back(change.file);
    }
    Diagnostics edited;
    Read(texts, edited);
    const std::vector<std::string> had = Problems(unedited);
    std::string added;
    for (const Diagnostic& diagnostic : edited.ByFileAndLine()) {
        const std::string problem = Problem(diagnostic);
        if (diagnostic.warning || std::find(had.begin(), had.end(), problem) != had.end()) {
            continue;
        }
        added += (added.empty() ? "" : "\n") + problem;
    }
    std::error_code ignored;
    for (const std::filesystem::path& picture : pictures) std::filesystem::remove(picture, ignored);
    if (!added.empty()) return Refused(400, added);
    try {
        WriteStep(step, StepWay::Make, beforeFinalCheck_);
    } catch (const FileChanged& changed) {
        return Stale(changed.File(), step.changes.back().file);
    }
    reply["version"] = SourceVersion(step.changes.back().after);
    // Made first and taken back last: the pictures are there before the sources name them.
    std::vector<FileChange> stored = TakeStoredPictures(request);
    step.changes.insert(step.changes.begin(), std::make_move_iterator(stored.begin()),
                        std::make_move_iterator(stored.end()));
    if (const std::size_t dropped = history_.Add(std::move(step))) reply["undo_dropped"] = dropped;
    return {200, std::move(reply)};
}

// Takes the newest step (the newest touching the request's file, when it names one) back
// (undo), or the step last taken back (touching the file) again (redo), when its files are
// as the step left them (found them). A file the step created and the author changed since
// is not taken away by undo; it stays, no longer listed, and the reply names it.
EditReply EditSession::Replayed(const ReplayEdit& request) {
    const bool undo = request.way == Replay::Undo;
    const std::string what = undo ? "undo" : "redo";
    std::optional<std::filesystem::path> file;
    if (request.file) {
        // Named as the model names the steps' files: one no longer listed still counts.
        for (const EditStep& step : history_.Listed(request.way)) {
            for (const FileChange& change : step.changes) {
                if (NameOf(change.file) == *request.file) file = change.file;
            }
        }
        if (!file) return Refused(409, "nothing to " + what + " in \"" + *request.file + "\"");
    }
    const EditStep* next = history_.Next(request.way, file);
    if (!next) return Refused(409, "nothing to " + what);
    WriteStep(*next, undo ? StepWay::TakeBack : StepWay::Make, beforeFinalCheck_);
    const FileChange& last = next->changes.back();
    nlohmann::json reply = {
        {"file", NameOf(last.file)},
        {"label", next->label},
        {"version", SourceVersion(undo ? last.before.value_or("") : last.after)}};
    for (const FileChange& change : next->changes) {
        if (undo && !change.before && TextIfAny(change.file)) {
            reply["kept"].push_back(NameOf(change.file));
        }
    }
    history_.Replayed(request.way, *next);
    return {200, std::move(reply)};
}

// The pictures added before the edit that it names, as changes that create them with the
// bytes they hold now; they are no longer waiting for an edit.
std::vector<FileChange> EditSession::TakeStoredPictures(const FileEdit& request) {
    std::vector<FileChange> pictures;
    std::erase_if(stored_, [&](const std::filesystem::path& picture) {
        if (!WritesText(request, NameOf(picture))) return false;
        if (std::optional<std::string> bytes = TextIfAny(picture)) {
            pictures.push_back({picture, std::nullopt, std::move(*bytes)});
        }
        return true;
    });
    return pictures;
}

nlohmann::json EditSession::History(Replay replay) const {
    nlohmann::json history = nlohmann::json::array();
    for (const EditStep& step : history_.Listed(replay)) {
        nlohmann::json files = nlohmann::json::array();
        for (const FileChange& change : step.changes) files.push_back(NameOf(change.file));
        history.push_back({{"label", step.label}, {"files", files}});
    }
    return history;
}

}  // namespace ambrevo::pack
