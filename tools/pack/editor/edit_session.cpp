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
#include "pack/editor/edit_step_writer.h"
#include "pack/editor/item_stacking.h"
#include "pack/editor/new_menu_file.h"
#include "pack/editor/picture_files.h"
#include "pack/editor/picture_upload.h"
#include "pack/editor/problem_list.h"
#include "pack/editor/toml_source_edit.h"
#include "pack/editor/toml_values.h"
#include "pack/source/menu_keys.h"
#include "pack/source/package_source.h"
#include "pack/text/source_names.h"
#include "pack/source/source_table.h"
#include "pack/text/text_encoding.h"
#include "pack/text/toml_problems.h"

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

// A request's item number (from 1), or 0 for the menu itself.
int ItemOf(const nlohmann::json& request, int count) {
    if (!request.contains("item")) return 0;
    const nlohmann::json& item = request["item"];
    if (!item.is_number_integer() || item.get<std::int64_t>() < 1 ||
        item.get<std::int64_t>() > count) {
        throw PackError("\"item\" must be an item's number, 1 to " + std::to_string(count));
    }
    return item.get<int>();
}

// Sets or removes (null) each key; "a.b" is the key b of the table a below `table`.
void SetKeys(TomlSourceEdit& edit, const std::string& table, const nlohmann::json& keys) {
    if (!keys.is_object() || keys.empty()) throw PackError("\"set\" must name keys");
    for (const auto& [key, value] : keys.items()) {
        const std::size_t dot = key.rfind('.');
        std::string within = table;
        if (dot != std::string::npos) {
            within += (within.empty() ? "" : ".") + key.substr(0, dot);
        }
        const std::string name = dot == std::string::npos ? key : key.substr(dot + 1);
        if (name.empty()) throw PackError("a key must not be empty");
        if (value.is_null()) {
            edit.Remove(within, name);
        } else {
            edit.Set(within, name, TomlValueText(value, (table.empty() ? "" : "item.") + key));
        }
    }
}

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
    try {
        const toml::table root = toml::parse(ReadText(source_));
        if (const toml::array* menus = root["menus"].as_array()) {
            for (const toml::node& menu : *menus) {
                if (const auto* name = menu.as_string()) {
                    // Joined as the package reader joins them, so that an edit's text is read
                    // in place of the very file.
                    files.push_back(source_.parent_path() / PathFromUtf8(name->get()));
                }
            }
        }
    } catch (const toml::parse_error&) {
    } catch (const PackError&) {
    }
    return files;
}

std::string EditSession::NameOf(const std::filesystem::path& file) const {
    return PathToUtf8(file.lexically_relative(folder_).generic_string());
}

// Only the package's TOML files that lie in its folder are written, whatever a "menus"
// list names or a link points to.
std::filesystem::path EditSession::FileNamed(const std::string& name) const {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(folder_, error);
    for (const std::filesystem::path& file : Files()) {
        if (NameOf(file) != name) continue;
        const std::filesystem::path real = std::filesystem::weakly_canonical(file, error);
        const std::string inside = real.lexically_relative(folder).generic_string();
        if (error || inside.empty() || inside.starts_with("..") || real.extension() != ".toml") {
            break;
        }
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
    {
        const std::lock_guard lock(mutex_);
        for (const std::filesystem::path& file : Files()) {
            try {
                texts[file] = ReadText(file);
                files.push_back(file);
            } catch (const PackError&) {
            }
        }
    }
    Diagnostics diagnostics;
    const PackageSource package = Read(texts, diagnostics);
    nlohmann::json model = {{"files", nlohmann::json::array()},
                            {"menus", nlohmann::json::array()},
                            {"problems", Problems(diagnostics)},
                            {"problem_list", ProblemList(diagnostics,
                                                         [this](const std::string& f) {
                                                             return NameOf(PathFromUtf8(f));
                                                         })},
                            {"keys", MenuKeysJson()}};
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

nlohmann::json EditSession::AddPicture(std::string_view name,
                                       std::span<const std::uint8_t> bytes) const {
    const StoredPicture stored = StoreDroppedPicture(folder_, name, bytes);
    return {{"file", stored.file}, {"size", {stored.width, stored.height}}};
}

EditReply EditSession::Apply(const nlohmann::json& request) {
    const std::lock_guard lock(mutex_);
    try {
        if (!request.is_object()) throw PackError("an edit must be a JSON object");
        if (request.value("undo", false)) return Replayed(Replay::Undo);
        if (request.value("redo", false)) return Replayed(Replay::Redo);
        return Edit(request);
    } catch (const FileChanged& changed) {
        return Refused(409, "\"" + NameOf(changed.File()) +
                                "\" has changed since: the designer shows it as it is now");
    } catch (const PackError& error) {
        return Refused(400, error.what());
    } catch (const nlohmann::json::exception& error) {
        return Refused(400, std::string("the edit is not understood: ") + error.what());
    }
}

EditReply EditSession::Edit(const nlohmann::json& request) {
    const std::filesystem::path file = FileNamed(request.at("file").get<std::string>());
    const std::string before = ReadText(file);
    const std::string version = request.at("version").get<std::string>();
    if (SourceVersion(before) != version) return Stale(file, file);
    if (request.contains("add_menu")) return AddMenu(file, before, request["add_menu"]);
    TomlSourceEdit edit(before);
    const int count = edit.Count(kItems);
    const auto tableOf = [count](const nlohmann::json& request) {
        const int item = ItemOf(request, count);
        return item > 0 ? std::string(kItems) + "[" + std::to_string(item - 1) + "]" : "";
    };
    nlohmann::json reply = {{"file", NameOf(file)}};
    if (request.contains("set")) {
        SetKeys(edit, tableOf(request), request["set"]);
    } else if (request.contains("each")) {
        // Several items' keys in one step, undone together.
        const nlohmann::json& each = request["each"];
        if (!each.is_array() || each.empty()) throw PackError("\"each\" must list edits");
        for (const nlohmann::json& one : each) SetKeys(edit, tableOf(one), one.at("set"));
    } else if (request.contains("add")) {
        const nlohmann::json& keys = request["add"];
        if (!keys.is_object()) throw PackError("\"add\" must give the new item's keys");
        // Keys of sub-tables ("pictures.normal") go into the new item's own sub-tables.
        std::vector<TomlKeyValue> values;
        nlohmann::json subKeys = nlohmann::json::object();
        for (const auto& [key, value] : keys.items()) {
            if (key.find('.') != std::string::npos) {
                subKeys[key] = value;
            } else {
                values.emplace_back(key, TomlValueText(value, std::string(kItems) + "." + key));
            }
        }
        const int added = edit.Add(kItems, values);
        if (!subKeys.empty()) {
            SetKeys(edit, std::string(kItems) + "[" + std::to_string(added) + "]", subKeys);
        }
        reply["item"] = added + 1;
    } else if (request.contains("remove")) {
        edit.RemoveElement(kItems, ItemOf({{"item", request["remove"]}}, count) - 1);
    } else if (request.contains("move")) {
        const int from = ItemOf({{"item", request["move"]}}, count);
        const int to = ItemOf({{"item", request.at("to")}}, count);
        edit.MoveElement(kItems, from - 1, to - 1);
    } else {
        throw PackError("an edit must \"set\", \"add\", \"remove\", \"move\" or \"each\"");
    }
    return Commit({{file, before, edit.Text()}}, std::move(reply));
}

// Creates the menu's file, then lists it last in the package's "menus", the rest of the
// file as it was.
EditReply EditSession::AddMenu(const std::filesystem::path& package, const std::string& before,
                               const nlohmann::json& keys) {
    if (package != source_) {
        throw PackError("a new menu is listed in the package file \"" + NameOf(source_) + "\"");
    }
    toml::table root;
    try {
        root = toml::parse(before);
    } catch (const toml::parse_error& error) {
        throw PackError("\"" + NameOf(package) +
                        "\" is not TOML: " + TomlProblem(error.description()));
    }
    const toml::array* menus = root["menus"].as_array();
    if (!menus) {
        const std::string name = NameOf(source_);
        throw PackError(
            "a new menu needs a package.toml that lists the menus: write one "
            "beside \"" +
            name + "\" with menus = [\"" + name + "\"] and start the designer on it");
    }
    if (!keys.is_object()) throw PackError("\"add_menu\" must give the new menu's keys");
    const std::string name = keys.at("file").get<std::string>();
    CheckNewMenuFile(folder_, name);
    for (const toml::node& menu : *menus) {
        if (!menu.is_string()) throw PackError("\"menus\" must list file names");
    }
    TomlSourceEdit edit(before);
    edit.Append("", "menus", TomlValueText(nlohmann::json(name)));
    // Joined as Files() joins the names listed.
    const std::filesystem::path file = source_.parent_path() / PathFromUtf8(name);
    return Commit({{file, std::nullopt, NewMenuText(keys)}, {package, before, edit.Text()}},
                  {{"file", NameOf(package)}, {"menu", name}});
}

// Refuses an edit that found `changed` other than it was made on; the reply has the
// version of the edited file as it is now.
EditReply EditSession::Stale(const std::filesystem::path& changed,
                             const std::filesystem::path& edited) const {
    EditReply reply = Refused(409, "\"" + NameOf(changed) +
                                       "\" has changed since this edit was made: the designer "
                                       "shows it as it is now");
    try {
        reply.body["version"] = SourceVersion(ReadText(edited));
    } catch (const PackError&) {
    }
    return reply;
}

// Writes the step unless it brings a problem the sources did not have. A file the step
// creates may warn (a new menu without items shows an empty window): the author goes on
// from there.
EditReply EditSession::Commit(EditStep step, nlohmann::json reply) {
    SourceTexts texts;
    std::vector<std::string> created;
    for (const FileChange& change : step) {
        texts[change.file] = change.after;
        if (!change.before) created.push_back(NameOf(change.file));
    }
    Diagnostics unedited;
    Read({}, unedited);
    Diagnostics edited;
    Read(texts, edited);
    const std::vector<std::string> had = Problems(unedited);
    std::string added;
    for (const Diagnostic& diagnostic : edited.ByFileAndLine()) {
        const std::string problem = Problem(diagnostic);
        if (std::find(had.begin(), had.end(), problem) != had.end()) continue;
        const std::string file = NameOf(PathFromUtf8(diagnostic.file));
        const bool isCreated = std::find(created.begin(), created.end(), file) != created.end();
        if (diagnostic.warning && isCreated) continue;
        added += (added.empty() ? "" : "\n") + problem;
    }
    if (!added.empty()) return Refused(400, added);
    try {
        WriteStep(step, StepWay::Make, beforeFinalCheck_);
    } catch (const FileChanged& changed) {
        return Stale(changed.File(), step.back().file);
    }
    reply["version"] = SourceVersion(step.back().after);
    if (const std::size_t dropped = history_.Add(std::move(step))) reply["undo_dropped"] = dropped;
    return {200, std::move(reply)};
}

// Takes the newest step back (undo) or the step last taken back again (redo) when its
// files are as the step left them (found them). A file the step created and the author
// changed since is not taken away by undo; it stays, no longer listed.
EditReply EditSession::Replayed(Replay replay) {
    const bool undo = replay == Replay::Undo;
    const EditStep* next = history_.Next(replay);
    if (!next) return Refused(409, undo ? "nothing to undo" : "nothing to redo");
    WriteStep(*next, undo ? StepWay::TakeBack : StepWay::Make, beforeFinalCheck_);
    const FileChange& last = next->back();
    nlohmann::json reply = {
        {"file", NameOf(last.file)},
        {"version", SourceVersion(undo ? last.before.value_or("") : last.after)}};
    history_.Replayed(replay);
    return {200, std::move(reply)};
}

}  // namespace ambrevo::pack
