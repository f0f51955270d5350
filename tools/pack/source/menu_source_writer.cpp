#include "pack/source/menu_source_writer.h"

#include <cstdio>

#include "pack/writer/menu_body_writer.h"
#include "pack/source/menu_texts.h"
#include "pack/text/source_names.h"
#include "pack/text/text_encoding.h"
#include "pack/text/toml_text.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

std::string ItemPicturePath(const std::string& stem, int item, int set, int frame) {
    char name[64];
    const std::string setName(*PictureSetNames().NameOf(set));
    if (frame == 0) {
        std::snprintf(name, sizeof name, "item%03d_%s.png", item, setName.c_str());
    } else {
        std::snprintf(name, sizeof name, "item%03d_%s_%03d.png", item, setName.c_str(), frame);
    }
    return stem + "/" + name;
}

std::string SlotText(int record, int set, int frame) {
    return "record " + std::to_string(record) + ", set " + std::to_string(set) + ", frame " +
           std::to_string(frame);
}

void WriteWindow(TomlText& toml, const MenuDefinition& menu) {
    toml.Text("title", menu.title);
    toml.Named("placement", PlacementNames(), menu.placement);
    toml.Integer("initial_item", menu.initialItem);
    toml.Integer("animation_interval", menu.animationInterval);
    toml.Flag("scroll_title", menu.scrollTitle);
}

void WriteDescription(TomlText& toml, const MenuDefinition& menu) {
    toml.Table("description");
    toml.Text("text", menu.defaultDescription);
    toml.Font("font", menu.descriptionFont);
    toml.Color("color", menu.descriptionColor);
    toml.Bounds("bounds", menu.descriptionBounds);
    toml.Named("alignment", AlignmentNames(), menu.descriptionAlignment);
    toml.Pair("picture_position", menu.descriptionPicturePosition.left,
              menu.descriptionPicturePosition.top);
    toml.Integer("shadow_offset", menu.shadowOffset);
    toml.Color("shadow_color", menu.shadowColor);
}

void WriteClock(TomlText& toml, const MenuDefinition& menu) {
    toml.Table("clock");
    toml.Flag("show_time", menu.showTime);
    toml.Flag("show_date", menu.showDate);
    toml.Color("color", menu.clockColor);
    toml.Pair("time_position", menu.timePosition.left, menu.timePosition.top);
    toml.Pair("date_position", menu.datePosition.left, menu.datePosition.top);
    toml.Font("time_font", menu.timeFont);
    toml.Font("date_font", menu.dateFont);
}

// The shape text is kept literally, so that a rebuild stores the same bytes.
void WriteShape(TomlText& toml, const MenuDefinition& menu) {
    if (menu.shapeColor == -1) {
        if (menu.windowShape.empty()) return;
        toml.Table("shape");
        toml.Named("cut", ShapeCutNames(), kCutNone);
    } else {
        const std::int32_t index = ShapeColorIndex(menu.shapeColor);
        toml.Table("shape");
        toml.Integer("color", index == kBlackShapeIndex ? 0 : index);
    }
    toml.Text("runs", menu.windowShape);
}

void WriteExpiry(TomlText& toml, const MenuDefinition& menu) {
    toml.Table("expiry");
    toml.Integer("year", menu.expiryYear);
    toml.Integer("month", menu.expiryMonth);
    toml.Integer("day", menu.expiryDay);
    toml.Text("message", menu.expiryMessage);
}

void WriteItem(TomlText& toml, const MenuItem& item, int version) {
    toml.ArrayTable("item");
    toml.Named("kind", ItemKindNames(), item.kind);
    toml.Text("target", item.target);
    toml.Text("parameters", item.parameters);
    toml.Text("description", item.description);
    // Only picture items have a name, and most have none.
    if (!item.name.empty()) toml.Text("name", item.name);
    toml.Text("caption", item.caption);
    toml.Text("shortcut_key", item.shortcutKey);
    toml.Pair("position", item.left, item.top);
    toml.Pair("size", item.width, item.height);
    toml.Named("show", ShowModeNames(), item.showMode);
    toml.Flag("minimize_after_launch", item.minimizeAfterLaunch);
    toml.Flag("exit_after_launch", item.exitAfterLaunch);
    toml.Flag("auto_restore", item.autoRestore);
    toml.Named("animation", AnimationNames(), item.animationMode);
    if (version < kLatestMenuVersion) return;
    toml.Font("font", item.font, &item.fontColor);
    toml.Named("alignment", AlignmentNames(), item.alignment);
    toml.Flag("check_viewer", item.checkViewer == 1);
    toml.Text("viewer_name", item.viewerName);
    toml.Text("viewer_version", item.viewerVersion);
    toml.Named("viewer_match", ViewerMatchNames(), item.viewerVersionMode == 1 ? 1 : 0);
}

void WriteItemPictures(TomlText& toml, const PictureTable& table, int item, const std::string& stem,
                       std::vector<SourcePicture>& pictures) {
    bool headerWritten = false;
    for (int set = 0; set < kPictureSets; ++set) {
        const std::string key(*PictureSetNames().NameOf(set));
        int lastFrame = 0;
        for (int frame = 1; frame < kPictureFrames; ++frame) {
            if (table.HasPicture(item, set, frame)) lastFrame = frame;
        }
        const bool still = table.HasPicture(item, set, 0);
        if (!still && lastFrame == 0) continue;
        if (!headerWritten) toml.Table("item.pictures");
        headerWritten = true;
        if (still) {
            pictures.push_back(
                {ItemPicturePath(stem, item, set, 0), table.Picture(item, set, 0), item, set, 0});
            toml.Utf8Text(key, pictures.back().path);
        }
        if (lastFrame == 0) continue;
        std::vector<std::string> frames;
        for (int frame = 1; frame <= lastFrame; ++frame) {
            if (!table.HasPicture(item, set, frame)) {
                frames.emplace_back();
                continue;
            }
            pictures.push_back({ItemPicturePath(stem, item, set, frame),
                                table.Picture(item, set, frame), item, set, frame});
            frames.push_back(pictures.back().path);
        }
        toml.Utf8List(key + "_frames", frames);
    }
}

// Slots that the source has no key for: the window's other sets and frames, and records of
// items that the menu does not have.
void CollectUnusedSlots(const PictureTable& table, int itemCount,
                        std::vector<std::string>& warnings) {
    for (int record = 0; record < kPictureRecords; ++record) {
        if (record > 0 && record <= itemCount) continue;
        for (int set = 0; set < kPictureSets; ++set) {
            for (int frame = 0; frame < kPictureFrames; ++frame) {
                if (record == 0 && set == 0 && frame == 0) continue;
                if (table.HasPicture(record, set, frame)) {
                    warnings.push_back("the picture of " + SlotText(record, set, frame) +
                                       " is never shown and was left out");
                }
            }
        }
    }
}

}  // namespace

MenuSourceText WriteMenuSource(const MenuDefinition& menu, int version,
                               const std::string& entryName, std::uint32_t codePage,
                               const std::string& stem) {
    MenuSourceText source;
    TomlText toml(codePage);
    if (AsciiLower(stem + ".mnu") != entryName) toml.Text("name", entryName);
    toml.Integer("version", version);
    // A menu that declares no code page and is not all ASCII says so: without the key,
    // a build would declare Windows-1252 for it.
    if (codePage != kSystemCodePage || !IsAscii(entryName) || !MenuTextsAreAscii(menu, version)) {
        toml.Integer("code_page", codePage);
    }
    WriteWindow(toml, menu);
    if (menu.pictures.HasPicture(0, 0, 0)) {
        source.pictures.push_back(
            {stem + "/background.png", menu.pictures.Picture(0, 0, 0), 0, 0, 0});
        toml.Utf8Text("background", source.pictures.back().path);
    }
    WriteDescription(toml, menu);
    WriteClock(toml, menu);
    WriteShape(toml, menu);
    if (version >= kLatestMenuVersion) WriteExpiry(toml, menu);
    const auto itemCount = static_cast<int>(menu.items.size());
    for (int n = 1; n <= itemCount; ++n) {
        WriteItem(toml, menu.items[static_cast<std::size_t>(n - 1)], version);
        WriteItemPictures(toml, menu.pictures, n, stem, source.pictures);
    }
    CollectUnusedSlots(menu.pictures, itemCount, source.warnings);
    source.toml = toml.Str();
    return source;
}

}  // namespace ambrevo::pack
