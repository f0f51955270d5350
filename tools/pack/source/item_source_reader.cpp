#include "pack/source/item_source_reader.h"

#include <limits>
#include <string>

#include "pack/common/file_io.h"
#include "pack/source/button_style_reader.h"
#include "pack/source/source_defaults.h"
#include "pack/source/source_warnings.h"

namespace ambrevo::pack {
namespace {

constexpr int kMaxFrames = kPictureFrames - 1;

std::string SizeText(const Bitmap& picture) {
    return std::to_string(picture.width) + " x " + std::to_string(picture.height);
}

// Where the player draws an item's pictures of a set, and what lies beneath them there.
struct PicturePlace {
    Point at;
    DensityBackdrops& backdrops;
};

// Stores the pictures of one set of one item; all must have the size of the first.
class SetPictures {
public:
    SetPictures(SourcePictures& pictures, const SourceFile& file, PictureTable& table,
                std::vector<DensityPicture>& densities, int record, int set,
                const PicturePlace& place)
        : pictures_(pictures),
          file_(file),
          table_(table),
          densities_(densities),
          record_(record),
          set_(set),
          place_(place) {}

    // The set's first picture and the line that names it, if any could be loaded.
    const Bitmap* First() const { return first_.get(); }
    std::int64_t FirstLine() const { return firstLine_; }

    void Store(const toml::node& node, std::string_view key, int frame) {
        std::vector<PictureVariant> variants;
        const std::shared_ptr<const PngPicture> picture =
            pictures_.Load(node, key, &file_, &variants);
        if (picture == nullptr) return;
        const Bitmap& bitmap = *picture->bitmap;
        if (first_ == nullptr) {
            first_ = picture->bitmap;
            firstLine_ = LineOf(node);
        } else if (bitmap.width != first_->width || bitmap.height != first_->height) {
            file_.Report(LineOf(node),
                         "picture \"" + node.as_string()->get() + "\" is " + SizeText(bitmap) +
                             " pixels, but the set's other pictures are " + SizeText(*first_));
            return;
        }
        const PictureBackdrop& backdrop = place_.backdrops.Base();
        ComposedPicture composed = ComposeOverBackdrop(*picture, place_.at, backdrop);
        if (composed.uncovered) {
            file_.Warn(LineOf(node),
                       UncoveredPictureWarning("picture \"" + node.as_string()->get() + "\"",
                                               backdrop.background != nullptr, backdrop.color));
        }
        table_.StorePicture(record_, set_, frame, std::move(composed.bitmap));
        for (const PictureVariant& variant : variants) StoreVariant(node, variant, frame);
    }

private:
    // Composed where it is drawn at its scale, over what lies beneath it there; the 1x
    // picture has warned of what the background does not cover.
    void StoreVariant(const toml::node& node, const PictureVariant& variant, int frame) {
        const DensityScale& scale = *variant.scale;
        const PictureBackdrop* backdrop = place_.backdrops.At(scale);
        if (backdrop == nullptr) {
            const std::string name =
                PathToUtf8(VariantPath(PathFromUtf8(node.as_string()->get()), scale));
            file_.Warn(LineOf(node), "picture \"" + name + "\" is left out: the background " +
                                         std::string(scale.inWords) + " its size would be " +
                                         "larger than " + std::to_string(kMaxPngSide) +
                                         " pixels; draw its own variant");
            return;
        }
        const Point at{VariantSide(place_.at.left, scale), VariantSide(place_.at.top, scale)};
        ComposedPicture composed = ComposeOverBackdrop(*variant.picture, at, *backdrop);
        densities_.push_back(
            {ScalePercent(scale), record_, set_, frame, std::move(composed.bitmap)});
    }

    SourcePictures& pictures_;
    const SourceFile& file_;
    PictureTable& table_;
    std::vector<DensityPicture>& densities_;
    int record_;
    int set_;
    const PicturePlace& place_;
    std::shared_ptr<const Bitmap> first_;
    std::int64_t firstLine_ = 0;
};

// Highlighted and pressed pictures that differ in size from the normal one.
void WarnAboutSetSizes(const std::vector<SetPictures>& sets, const SourceFile& file) {
    const Bitmap* normal = sets[static_cast<std::size_t>(PictureSet::Normal)].First();
    if (normal == nullptr) return;
    for (PictureSet set : {PictureSet::Highlighted, PictureSet::Pressed}) {
        const SetPictures& pictures = sets[static_cast<std::size_t>(set)];
        if (pictures.First() == nullptr) continue;
        const std::optional<std::string> slip = SetSizeSlip(
            *PictureSetNames().NameOf(static_cast<std::int32_t>(set)), *pictures.First(), *normal);
        if (slip) file.Warn(pictures.FirstLine(), *slip);
    }
}

// normal = "a.png" is frame 0; normal_frames = ["b.png", "", "c.png"] are frames 1, 2, 3,
// where "" leaves a frame empty.
// Item pictures are drawn at the item's place; description pictures at the menu's.
void ReadItemPictures(SourceTable& item, SourcePictures& pictures, DensityBackdrops& backdrops,
                      MenuSource& source, int record) {
    MenuDefinition& menu = source.menu;
    std::optional<SourceTable> sets = item.Table("pictures");
    if (!sets) return;
    const MenuItem& owner = menu.items.at(static_cast<std::size_t>(record - 1));
    const PicturePlace itemPlace{{owner.left, owner.top}, backdrops};
    const PicturePlace descriptionPlace{menu.descriptionPicturePosition, backdrops};
    std::vector<SetPictures> all;
    all.reserve(kPictureSets);
    for (int set = 0; set < kPictureSets; ++set) {
        const std::string key(*PictureSetNames().NameOf(set));
        const std::string framesKey = key + "_frames";
        const bool description = set == static_cast<int>(PictureSet::Description);
        SetPictures& setPictures =
            all.emplace_back(pictures, sets->File(), menu.pictures, source.densityPictures, record,
                             set, description ? descriptionPlace : itemPlace);
        if (const toml::node* still = sets->Value(key)) {
            setPictures.Store(*still, sets->Qualified(key), 0);
        }
        const toml::array* frames = sets->Array(framesKey);
        if (frames == nullptr) continue;
        if (frames->size() > static_cast<std::size_t>(kMaxFrames)) {
            sets->Report(framesKey, "\"" + sets->Qualified(framesKey) + "\" holds " +
                                        std::to_string(frames->size()) +
                                        " frames; a set has at most " + std::to_string(kMaxFrames));
            continue;
        }
        for (std::size_t i = 0; i < frames->size(); ++i) {
            const toml::node& frame = *frames->get(i);
            const auto* name = frame.as_string();
            if (name != nullptr && name->get().empty()) continue;  // a frame left empty
            setPictures.Store(frame, sets->Qualified(framesKey), static_cast<int>(i) + 1);
        }
    }
    sets->ReportUnknownKeys();
    WarnAboutSetSizes(all, sets->File());
}

void ReadVersion7Fields(SourceTable& source, MenuItem& item) {
    source.Font("font", item.font, &item.fontColor);
    source.Choice("alignment", AlignmentNames(), item.alignment);
    bool checkViewer = item.checkViewer == 1;
    if (source.Flag("check_viewer", checkViewer)) item.checkViewer = checkViewer ? 1 : 0;
    source.Text("viewer_name", item.viewerName);
    source.Text("viewer_version", item.viewerVersion);
    source.Choice("viewer_match", ViewerMatchNames(), item.viewerVersionMode);
}

// The item keys that only a version 7 menu can hold, as the key catalogue marks them.
void RefuseVersion7Fields(SourceTable& source) {
    constexpr std::string_view kItemScope = "item.";
    for (const MenuKey& known : MenuKeys()) {
        if (!known.version7Only || !known.path.starts_with(kItemScope)) continue;
        const std::string_view key = known.path.substr(kItemScope.size());
        if (source.Value(key) != nullptr) {
            source.Report(key, Version7Needed(source.Named(key)));
        }
    }
}

// A picture item's name for screen readers. Push buttons and text items are read by their
// captions, so a name there would never be heard.
void ReadItemName(SourceTable& source, MenuItem& item) {
    if (!source.Has("name")) return;
    if (item.kind != static_cast<std::int32_t>(ItemKind::ImgBtn)) {
        source.Value("name");
        source.Report("name", "\"name\" is for picture items; a " +
                                  std::string(*ItemKindNames().NameOf(item.kind)) +
                                  " item is read by its caption");
        return;
    }
    source.Text("name", item.name);
}

MenuItem ReadItem(SourceTable& source, int version, MenuSource& menu) {
    MenuItem item = DefaultItem(version);
    source.Choice("kind", ItemKindNames(), item.kind);
    // Whether a target switches menus is decided on its text: a second byte of code page
    // 932 may be "\".
    if (source.Text("target", item.target)) {
        const std::string text = source.Value("target")->as_string()->get();
        if (IsMenuTarget(text)) {
            menu.menuTargets.push_back(
                {item.target, text, source.Line("target"), source.File().item});
        } else {
            menu.shellTargets.push_back({text, source.Line("target")});
        }
    }
    source.Text("parameters", item.parameters);
    source.Text("description", item.description);
    ReadItemName(source, item);
    source.Text("caption", item.caption);
    source.Text("shortcut_key", item.shortcutKey);
    Point position{item.left, item.top};
    if (source.Position("position", position)) {
        item.left = position.left;
        item.top = position.top;
    }
    source.Size("size", item.width, item.height);
    source.Choice("show", ShowModeNames(), item.showMode, kInt32Min, kInt32Max);
    source.Flag("minimize_after_launch", item.minimizeAfterLaunch);
    source.Flag("exit_after_launch", item.exitAfterLaunch);
    source.Flag("auto_restore", item.autoRestore);
    source.Choice("animation", AnimationNames(), item.animationMode);
    if (version >= kLatestMenuVersion) {
        ReadVersion7Fields(source, item);
    } else {
        RefuseVersion7Fields(source);
    }
    return item;
}

}  // namespace

void ReadItemSources(SourceTable& root, SourcePictures& pictures, DensityBackdrops& backdrops,
                     MenuSource& menu) {
    const toml::array* items = root.Array("item");
    if (items == nullptr) return;
    for (std::size_t i = 0; i < items->size(); ++i) {
        const toml::node& node = *items->get(i);
        if (static_cast<int>(i) == kMaxItems) {
            root.File().Report(LineOf(node), "a menu holds at most " + std::to_string(kMaxItems) +
                                                 " items, this one has " +
                                                 std::to_string(items->size()));
            return;
        }
        const toml::table* table = node.as_table();
        if (table == nullptr) {
            root.File().Report(LineOf(node), "\"item\" must be a list of tables ([[item]])");
            continue;
        }
        const int number = static_cast<int>(menu.menu.items.size()) + 1;
        SourceTable source = root.Item(*table, number);
        menu.menu.items.push_back(ReadItem(source, menu.version, menu));
        ReadItemPictures(source, pictures, backdrops, menu, number);
        const bool styled =
            ReadButtonStyle(source, backdrops, menu.menu, menu.densityPictures, number);
        source.ReportUnknownKeys();
        // A style that could not be drawn has been reported; its missing picture is no news.
        if (!styled || menu.menu.pictures.HasPicture(number, 0, 0)) {
            WarnAboutItem(menu.menu, number, LineOf(node), source.File());
        }
    }
}

}  // namespace ambrevo::pack
