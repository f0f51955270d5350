#include "pack/source/menu_keys.h"

#include <toml++/toml.h>

#include <algorithm>
#include <deque>
#include <sstream>

#include "menu/menu_model.h"
#include "pack/source/button_style_reader.h"
#include "pack/source/source_defaults.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kTahoma8 =
    "{ name = \"Tahoma\", size = 8, bold = false, italic = false, underline = false }";

// The keys of a button style table ([item.style]) that each of its picture sets may
// change: the normal set's at the table's top, the others' in its "highlighted" and
// "pressed" tables. The normal set's table also takes "preset".
struct StyleLookKey {
    std::string_view key;
    std::string_view label;  // after "Style ", "Highlighted " or "Pressed "
    std::string_view help;
    KeyType type;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    const NameTable& (*choices)() = nullptr;
};

// clang-format off
const StyleLookKey kStyleLookKeys[] = {
    {"fill", "fill", "One colour, or a list of two for a top-to-bottom gradient",
     KeyType::Colour},
    {"radius", "corner radius", "In pixels", KeyType::Number, 0, kMaxStyleRadius},
    {"border", "border", "A 1 pixel border inside the shape; \"none\" for none",
     KeyType::Colour},
    {"text", "caption colour", "The colour the caption is drawn in", KeyType::Colour},
    {"font", "caption font", "DejaVu Sans, which the tool carries; size 1 to 200 points",
     KeyType::ButtonFont},
    {"align", "caption alignment", "Left, center or right, 16 pixels from the edge",
     KeyType::Choice, 0, 0, AlignmentNames},
    {"offset", "caption offset", "Moves the caption by [x, y] pixels, each within -16..16",
     KeyType::Position},
};
// clang-format on

// The catalogue's keys of [item.style]: its ready style, then each look key of the normal,
// highlighted and pressed sets. Their paths and labels live as long as the catalogue.
std::vector<MenuKey> StyleKeys() {
    static std::deque<std::string> texts;
    const auto kept = [](std::string text) -> std::string_view {
        return texts.emplace_back(std::move(text));
    };
    std::vector<MenuKey> keys = {{.path = "item.style.preset",
                                  .group = "Button style",
                                  .label = "Style's ready style",
                                  .help = "The ready style the keys below change",
                                  .type = KeyType::Choice,
                                  .choices = ReadyStyleNames,
                                  .kinds = kPictureKind}};
    const std::pair<std::string_view, std::string_view> sets[] = {
        {"", "Style"}, {"highlighted.", "Highlighted"}, {"pressed.", "Pressed"}};
    for (const auto& [table, name] : sets) {
        for (const StyleLookKey& look : kStyleLookKeys) {
            keys.push_back(
                {.path = kept("item.style." + std::string(table) + std::string(look.key)),
                 .group = "Button style",
                 .label = kept(std::string(name) + " " + std::string(look.label)),
                 .help = look.help,
                 .type = look.type,
                 .lowest = look.lowest,
                 .highest = look.highest,
                 .choices = look.choices,
                 .kinds = kPictureKind});
        }
    }
    return keys;
}

// clang-format off
std::vector<MenuKey> BuildMenuKeys() {
    using enum KeyType;
    constexpr std::uint8_t kCaptioned = kButtonKind | kTextKind;
    return {
        // The menu as a whole.
        {.path = "name", .group = "Menu", .label = "Menu name",
         .help = "The name other menus switch to, ending in .mnu; left out: the file's name",
         .type = Text},
        {.path = "version", .group = "Menu", .label = "Menu format",
         .help = "7, or 6 for the older format without expiry, item fonts and viewer check",
         .type = Number, .defaultValue = "7", .lowest = kRawPicturesVersion,
         .highest = kLatestMenuVersion},
        {.path = "code_page", .group = "Menu", .label = "Code page of the texts",
         .help = "The Windows code page the texts are stored in; left out: Windows-1252",
         .type = CodePage},
        // The window.
        {.path = "title", .group = "Window", .label = "Window title",
         .help = "The window's caption and task-bar text", .type = Text, .defaultValue = "\"\""},
        {.path = "placement", .group = "Window", .label = "Where the window opens",
         .help = "The place on the screen; the window is kept on the screen", .type = Choice,
         .defaultValue = "\"center\"", .choices = PlacementNames},
        {.path = "background", .group = "Window", .label = "Background picture",
         .help = "The window's picture; the window takes its size", .type = Picture},
        {.path = "background_color", .group = "Window", .label = "Colour beyond the background",
         .help = "Shows under transparent item pictures where there is no background",
         .type = Colour, .defaultValue = "\"#F0F0F0\""},
        {.path = "initial_item", .group = "Window", .label = "Item highlighted at the start",
         .help = "The item's number, from 1; 0 for none", .type = Number, .defaultValue = "0",
         .lowest = 0, .highest = kMaxItems},
        {.path = "animation_interval", .group = "Window", .label = "Time between animation frames",
         .help = "In milliseconds; 0 stops the animations", .type = Number,
         .defaultValue = "100", .lowest = 0, .highest = kInt32Max},
        {.path = "scroll_title", .group = "Window", .label = "Scrolling title",
         .help = "The title scrolls through the caption", .type = Switch,
         .defaultValue = "false"},
        // The description area.
        {.path = "description.text", .group = "Description", .label = "Text with no item highlighted",
         .help = "Shown while the pointer is on no item", .type = Text, .defaultValue = "\"\""},
        {.path = "description.font", .group = "Description", .label = "Description font",
         .help = "Size in points, 0 to 1000; 0 is Windows' default size", .type = Font,
         .defaultValue = kTahoma8},
        {.path = "description.color", .group = "Description", .label = "Description colour",
         .help = "The colour of the description text", .type = Colour,
         .defaultValue = "\"#000000\""},
        {.path = "description.bounds", .group = "Description", .label = "Description area",
         .help = "Where the description text is written, in window pixels", .type = Bounds,
         .defaultValue = "[40, 120, 120, 45]"},
        {.path = "description.alignment", .group = "Description", .label = "Description alignment",
         .help = "How the text lines up in its area", .type = Choice,
         .defaultValue = "\"left\"", .choices = AlignmentNames},
        {.path = "description.picture_position", .group = "Description",
         .label = "Description picture position",
         .help = "Where an item's description picture appears", .type = Position,
         .defaultValue = "[0, 0]"},
        {.path = "description.shadow_offset", .group = "Description", .label = "Shadow distance",
         .help = "1 or more: a shadow copy of the text this many pixels off; 0 for none",
         .type = Number, .defaultValue = "0", .lowest = 0, .highest = 1000},
        {.path = "description.shadow_color", .group = "Description", .label = "Shadow colour",
         .help = "The colour of the text's shadow", .type = Colour,
         .defaultValue = "\"#808080\""},
        // The clock.
        {.path = "clock.show_time", .group = "Clock", .label = "Shows the time",
         .help = "The time of day, kept current", .type = Switch, .defaultValue = "false"},
        {.path = "clock.show_date", .group = "Clock", .label = "Shows the date",
         .help = "Today's date", .type = Switch, .defaultValue = "false"},
        {.path = "clock.color", .group = "Clock", .label = "Clock colour",
         .help = "The colour of the time and the date", .type = Colour,
         .defaultValue = "\"#000000\""},
        {.path = "clock.time_position", .group = "Clock", .label = "Time position",
         .help = "Where the time is written", .type = Position, .defaultValue = "[20, 200]"},
        {.path = "clock.date_position", .group = "Clock", .label = "Date position",
         .help = "Where the date is written", .type = Position, .defaultValue = "[95, 200]"},
        {.path = "clock.time_font", .group = "Clock", .label = "Time font",
         .help = "Size in points, 0 to 1000", .type = Font, .defaultValue = kTahoma8},
        {.path = "clock.date_font", .group = "Clock", .label = "Date font",
         .help = "Size in points, 0 to 1000", .type = Font, .defaultValue = kTahoma8},
        // The window's shape; without the table the window is a rectangle.
        {.path = "shape.cut", .group = "Shape", .label = "What is cut away",
         .help = "The background's transparent pixels, those of one colour, or none",
         .type = Choice, .defaultValue = "\"transparent\"", .choices = ShapeCutNames},
        {.path = "shape.color", .group = "Shape", .label = "Colour cut away",
         .help = "Index 0 to 15 of the colour table; 13 is fuchsia #FF00FF", .type = Number,
         .defaultValue = "13", .lowest = 0, .highest = kLastShapeColorIndex},
        {.path = "shape.runs", .group = "Shape", .label = "Cut-out as written",
         .help = "A run list instead of one computed from the background", .type = Text},
        // A notice once a date has passed.
        {.path = "expiry.year", .group = "Expiry", .label = "Expiry year",
         .help = "0 for no notice", .type = Number, .defaultValue = "0", .lowest = 0,
         .highest = 9999, .version7Only = true},
        {.path = "expiry.month", .group = "Expiry", .label = "Expiry month",
         .help = "1 to 12", .type = Number, .defaultValue = "0", .lowest = 0, .highest = 12,
         .version7Only = true},
        {.path = "expiry.day", .group = "Expiry", .label = "Expiry day", .help = "1 to 31",
         .type = Number, .defaultValue = "0", .lowest = 0, .highest = 31, .version7Only = true},
        {.path = "expiry.message", .group = "Expiry", .label = "Expiry notice",
         .help = "Shown once the date has passed", .type = Text, .defaultValue = "\"\"",
         .version7Only = true},
        // Each item.
        {.path = "item.kind", .group = "Look", .label = "Kind of item",
         .help = "A picture, a push button or a text", .type = Choice,
         .defaultValue = "\"picture\"", .choices = ItemKindNames, .kinds = kEveryKind},
        {.path = "item.position", .group = "Look", .label = "Position",
         .help = "The item's top left corner in the window", .type = Position,
         .defaultValue = "[0, 0]", .kinds = kEveryKind},
        {.path = "item.size", .group = "Look", .label = "Size",
         .help = "A picture item takes its picture's size", .type = Size,
         .defaultValue = "[97, 25]", .kinds = kCaptioned},
        {.path = "item.style", .group = "Look", .label = "Button style",
         .help = "Drawn by the tool from the caption: a ready style, or a table of style keys",
         .type = Choice, .choices = ReadyStyleNames, .kinds = kPictureKind},
        {.path = "item.animation", .group = "Look", .label = "Animation",
         .help = "How the frames of the current picture set are cycled", .type = Choice,
         .defaultValue = "\"none\"", .choices = AnimationNames, .kinds = kPictureKind},
        {.path = "item.target", .group = "Action", .label = "Opens",
         .help = "A file, program, folder, web address, menu (help.mnu), $message or * for none",
         .type = Target, .defaultValue = "\"\"", .kinds = kEveryKind},
        {.path = "item.parameters", .group = "Action", .label = "Parameters",
         .help = "Passed with the target; %CD% becomes the drive letter", .type = Text,
         .defaultValue = "\"\"", .kinds = kEveryKind},
        {.path = "item.show", .group = "Action", .label = "Window of a launched program",
         .help = "Normal, maximized or hidden", .type = Choice, .defaultValue = "\"normal\"",
         .choices = ShowModeNames, .kinds = kEveryKind},
        {.path = "item.minimize_after_launch", .group = "Action",
         .label = "Minimizes the menu after the launch",
         .help = "The menu goes to the task bar", .type = Switch, .defaultValue = "false",
         .kinds = kEveryKind},
        {.path = "item.exit_after_launch", .group = "Action",
         .label = "Ends the menu after the launch",
         .help = "With no target: an exit button", .type = Switch, .defaultValue = "false",
         .kinds = kEveryKind},
        {.path = "item.auto_restore", .group = "Action",
         .label = "Brings the menu back afterwards",
         .help = "When the launched program ends", .type = Switch, .defaultValue = "false",
         .kinds = kEveryKind},
        {.path = "item.check_viewer", .group = "Action", .label = "Checks for a viewer first",
         .help = "Before launching, checks that a suitable viewer is installed", .type = Switch,
         .defaultValue = "false", .kinds = kEveryKind, .version7Only = true},
        {.path = "item.viewer_name", .group = "Action", .label = "Viewer",
         .help = "The program needed, e.g. \"Adobe Acrobat\"", .type = Text,
         .defaultValue = "\"\"", .kinds = kEveryKind, .version7Only = true},
        {.path = "item.viewer_version", .group = "Action", .label = "Viewer version",
         .help = "e.g. \"6.0\"", .type = Text, .defaultValue = "\"\"", .kinds = kEveryKind,
         .version7Only = true},
        {.path = "item.viewer_match", .group = "Action", .label = "Viewer version match",
         .help = "At least this version, or exactly it", .type = Choice,
         .defaultValue = "\"at-least\"", .choices = ViewerMatchNames, .kinds = kEveryKind,
         .version7Only = true},
        {.path = "item.caption", .group = "Text", .label = "Caption",
         .help = "The text on the item (a picture item's with a style); & marks the shortcut "
                 "letter", .type = Text, .defaultValue = "\"\"", .kinds = kEveryKind},
        {.path = "item.shortcut_key", .group = "Text", .label = "Shortcut letter",
         .help = "The key that chooses the item", .type = Text, .defaultValue = "\"\"",
         .kinds = kPictureKind},
        {.path = "item.description", .group = "Text", .label = "Description",
         .help = "Shown while the item is highlighted; empty: the menu's text", .type = Text,
         .defaultValue = "\"\"", .kinds = kEveryKind},
        {.path = "item.font", .group = "Text", .label = "Caption font",
         .help = "Size in points, 0 to 1000, and the caption's colour", .type = ColouredFont,
         .defaultValue = "{ name = \"Arial\", size = 10, bold = false, italic = false, "
                         "underline = false, color = \"#000000\" }",
         .kinds = kCaptioned, .version7Only = true},
        {.path = "item.alignment", .group = "Text", .label = "Caption alignment",
         .help = "How a text item's caption lines up", .type = Choice,
         .defaultValue = "\"left\"", .choices = AlignmentNames, .kinds = kTextKind,
         .version7Only = true},
        {.path = "item.pictures.normal", .group = "Pictures", .label = "Normal picture",
         .help = "The item's face", .type = Picture, .kinds = kPictureKind},
        {.path = "item.pictures.highlighted", .group = "Pictures", .label = "Highlighted picture",
         .help = "While the pointer is on the item", .type = Picture, .kinds = kPictureKind},
        {.path = "item.pictures.pressed", .group = "Pictures", .label = "Pressed picture",
         .help = "While the item is pressed", .type = Picture, .kinds = kPictureKind},
        {.path = "item.pictures.description", .group = "Pictures", .label = "Description picture",
         .help = "Shown at the description picture position while the item is highlighted",
         .type = Picture, .kinds = kEveryKind},
        {.path = "item.pictures.normal_frames", .group = "Pictures",
         .label = "Normal animation frames", .help = "Frames 1, 2, ...; \"\" leaves one empty",
         .type = PictureList, .defaultValue = "[]", .kinds = kPictureKind},
        {.path = "item.pictures.highlighted_frames", .group = "Pictures",
         .label = "Highlighted animation frames", .help = "Frames 1, 2, ...; \"\" leaves one empty",
         .type = PictureList, .defaultValue = "[]", .kinds = kPictureKind},
        {.path = "item.pictures.pressed_frames", .group = "Pictures",
         .label = "Pressed animation frames", .help = "Frames 1, 2, ...; \"\" leaves one empty",
         .type = PictureList, .defaultValue = "[]", .kinds = kPictureKind},
        {.path = "item.pictures.description_frames", .group = "Pictures",
         .label = "Description animation frames",
         .help = "Frames 1, 2, ...; \"\" leaves one empty", .type = PictureList,
         .defaultValue = "[]", .kinds = kEveryKind},
        {.path = "item.name", .group = "Screen readers", .label = "Name for screen readers",
         .help = "What a screen reader calls a picture item", .type = Text,
         .defaultValue = "\"\"", .kinds = kPictureKind},
    };
}
// clang-format on

std::string_view TypeName(KeyType type) {
    switch (type) {
        case KeyType::Text:
            return "text";
        case KeyType::Number:
            return "number";
        case KeyType::Switch:
            return "switch";
        case KeyType::Choice:
            return "choice";
        case KeyType::Colour:
            return "colour";
        case KeyType::Font:
            return "font";
        case KeyType::ColouredFont:
        case KeyType::ButtonFont:
            return "font";
        case KeyType::Position:
            return "position";
        case KeyType::Size:
            return "size";
        case KeyType::Bounds:
            return "bounds";
        case KeyType::Picture:
            return "picture";
        case KeyType::PictureList:
            return "picture_list";
        case KeyType::Target:
            return "target";
        case KeyType::CodePage:
            return "code_page";
    }
    return "text";
}

// A TOML value text as JSON.
nlohmann::json JsonOfToml(std::string_view value) {
    const toml::table table = toml::parse("v = " + std::string(value));
    std::ostringstream json;
    json << toml::json_formatter(table);
    return nlohmann::json::parse(json.str())["v"];
}

nlohmann::json JsonOfNames(const std::vector<std::string_view>& names) {
    nlohmann::json json = nlohmann::json::array();
    for (std::string_view name : names) json.push_back(std::string(name));
    return json;
}

nlohmann::json KindNames(std::uint8_t kinds) {
    nlohmann::json names = nlohmann::json::array();
    for (std::int32_t kind = ItemKindNames().Lowest(); kind <= ItemKindNames().Highest(); ++kind) {
        if ((kinds & (1U << kind)) != 0) names.push_back(*ItemKindNames().NameOf(kind));
    }
    return names;
}

}  // namespace

const std::vector<MenuKey>& MenuKeys() {
    static const std::vector<MenuKey> keys = [] {
        std::vector<MenuKey> all = BuildMenuKeys();
        // The style's keys follow the item's look, as the panel shows them by group.
        const auto look = std::ranges::find(all, "item.animation", &MenuKey::path);
        const std::vector<MenuKey> styleKeys = StyleKeys();
        all.insert(look + 1, styleKeys.begin(), styleKeys.end());
        return all;
    }();
    return keys;
}

const MenuKey* FindMenuKey(std::string_view path) {
    const std::vector<MenuKey>& keys = MenuKeys();
    const auto found = std::find_if(keys.begin(), keys.end(),
                                    [&](const MenuKey& key) { return key.path == path; });
    return found != keys.end() ? &*found : nullptr;
}

// A key of a table the catalogue describes as one value (a font's "size") takes that
// value's label.
std::string KeyInMessage(std::string_view path, std::string_view written) {
    const std::string quoted = "\"" + std::string(written) + "\"";
    const MenuKey* key = FindMenuKey(path);
    if (key == nullptr && path.rfind('.') != std::string_view::npos) {
        key = FindMenuKey(path.substr(0, path.rfind('.')));
    }
    return key != nullptr ? std::string(key->label) + " (" + quoted + ")" : quoted;
}

std::vector<std::string_view> PartLabels(KeyType type) {
    switch (type) {
        case KeyType::Position:
            return {"Left", "Top"};
        case KeyType::Size:
            return {"Width", "Height"};
        case KeyType::Bounds:
            return {"Left", "Top", "Width", "Height"};
        default:
            return {};
    }
}

std::vector<std::string_view> FontKeys(KeyType type) {
    switch (type) {
        case KeyType::Font:
            return {"name", "size", "bold", "italic", "underline"};
        case KeyType::ColouredFont:
            return {"name", "size", "bold", "italic", "underline", "color"};
        case KeyType::ButtonFont:
            return {"name", "size", "bold"};
        default:
            return {};
    }
}

nlohmann::json MenuKeysJson() {
    nlohmann::json all = nlohmann::json::array();
    for (const MenuKey& key : MenuKeys()) {
        nlohmann::json json = {
            {"path", key.path},
            {"group", key.group},
            {"label", key.label},
            {"help", key.help},
            {"type", TypeName(key.type)},
            {"default", key.defaultValue.empty() ? nlohmann::json() : JsonOfToml(key.defaultValue)},
            {"version7", key.version7Only}};
        if (key.type == KeyType::Number) {
            json["lowest"] = key.lowest;
            json["highest"] = key.highest;
        }
        if (key.choices != nullptr) json["choices"] = key.choices().Names();
        if (!PartLabels(key.type).empty()) json["parts"] = JsonOfNames(PartLabels(key.type));
        if (!FontKeys(key.type).empty()) json["fields"] = JsonOfNames(FontKeys(key.type));
        if (key.type == KeyType::ButtonFont) json["fonts"] = {kCarriedFontName};
        if (key.kinds != kNoKind) json["kinds"] = KindNames(key.kinds);
        all.push_back(std::move(json));
    }
    return all;
}

}  // namespace ambrevo::pack
