#include "menu/menu_fields.h"

#include <array>
#include <utility>

#include "menu/menu_rules.h"

namespace ambrevo {

namespace {

using W = WindowField;
using I = ItemField;

constexpr std::array kWindowFields = {
    W::Title,
    W::Placement,
    W::DefaultDescription,
    W::DescriptionFontName,
    W::DescriptionFontSize,
    W::DescriptionFontStyle,
    W::DescriptionColor,
    W::DescriptionBounds,
    W::DescriptionAlignment,
    W::ShowTime,
    W::ShowDate,
    W::ClockColor,
    W::TimePosition,
    W::DatePosition,
    W::InitialItem,
    W::ShapeColor,
    W::DescriptionPicturePosition,
    W::AnimationInterval,
    W::ScrollTitle,
    W::WindowShape,
    W::TimeFontName,
    W::TimeFontSize,
    W::TimeFontStyle,
    W::DateFontName,
    W::DateFontSize,
    W::DateFontStyle,
    W::ShadowOffset,
    W::ShadowColor,
    W::ExpiryYear,
    W::ExpiryMonth,
    W::ExpiryDay,
    W::ExpiryMessage,
};
// A version 6 body ends its window-level fields before the expiry fields.
constexpr std::size_t kVersion6WindowFields = 28;
static_assert(kWindowFields[kVersion6WindowFields] == W::ExpiryYear);

constexpr std::array kItemFields = {
    I::Target,
    I::Parameters,
    I::Description,
    I::Left,
    I::Top,
    I::MinimizeAfterLaunch,
    I::ExitAfterLaunch,
    I::AnimationMode,
    I::ShortcutKey,
    I::ShowMode,
    I::AutoRestore,
    I::Kind,
    I::Caption,
    I::Width,
    I::Height,
    I::FontName,
    I::FontSize,
    I::FontColor,
    I::Alignment,
    I::FontStyle,
    I::CheckViewer,
    I::ViewerName,
    I::ViewerVersion,
    I::ViewerVersionMode,
};
// A version 6 item ends after its height; the font name and all after it came later.
constexpr std::size_t kVersion6ItemFields = 15;
static_assert(kItemFields[kVersion6ItemFields] == I::FontName);

// R, G and B as three integers, of which only the low 8 bits count.
ColorRef ReadColorTriple(TaggedReader& reader) {
    const auto red = static_cast<ColorRef>(reader.ReadInteger()) & 0xFF;
    const auto green = static_cast<ColorRef>(reader.ReadInteger()) & 0xFF;
    const auto blue = static_cast<ColorRef>(reader.ReadInteger()) & 0xFF;
    return red | (green << 8) | (blue << 16);
}

bool ReadFlagMinusOne(TaggedReader& reader) { return reader.ReadInteger() == -1; }
bool ReadFlagNonZero(TaggedReader& reader) { return reader.ReadInteger() != 0; }

FontStyle ReadFontStyle(TaggedReader& reader) {
    FontStyle style;
    style.bold = ReadFlagMinusOne(reader);
    style.italic = ReadFlagMinusOne(reader);
    style.underline = ReadFlagMinusOne(reader);
    return style;
}

Point ReadPoint(TaggedReader& reader) {
    Point point;
    point.left = reader.ReadInteger();
    point.top = reader.ReadInteger();
    return point;
}

std::int32_t ReadExpiryNumber(TaggedReader& reader) {
    std::int32_t value = 0;
    IsValidInteger(reader.ReadString(), &value);  // not a number: 0
    return value;
}

}  // namespace

std::span<const WindowField> WindowFields(int version) {
    const std::span<const WindowField> all(kWindowFields);
    return version >= kFirstVersionWithExtras ? all : all.first(kVersion6WindowFields);
}

std::span<const ItemField> ItemFields(int version) {
    const std::span<const ItemField> all(kItemFields);
    return version >= kFirstVersionWithExtras ? all : all.first(kVersion6ItemFields);
}

int ValueCount(WindowField field) {
    switch (field) {
        case W::DescriptionFontStyle:
        case W::DescriptionColor:
        case W::ClockColor:
        case W::TimeFontStyle:
        case W::DateFontStyle:
        case W::ShadowColor:
            return 3;
        case W::DescriptionBounds:
            return 4;
        case W::TimePosition:
        case W::DatePosition:
        case W::DescriptionPicturePosition:
            return 2;
        default:
            return 1;
    }
}

int ValueCount(ItemField field) { return field == I::FontStyle ? 3 : 1; }

void ReadWindowField(WindowField field, TaggedReader& reader, DebugOutput& debug,
                     MenuDefinition& def, const MenuText& text) {
    switch (field) {
        case W::Title:
            def.title = text(reader.ReadString());
            break;
        case W::Placement:
            def.placement = reader.ReadInteger();
            break;
        case W::DefaultDescription:
            def.defaultDescription = text(reader.ReadString());
            break;
        case W::DescriptionFontName:
            def.descriptionFont.name = text(reader.ReadString());
            break;
        case W::DescriptionFontSize:
            def.descriptionFont.size = reader.ReadLong();
            break;
        case W::DescriptionFontStyle:
            def.descriptionFont.style = ReadFontStyle(reader);
            break;
        case W::DescriptionColor:
            def.descriptionColor = ReadColorTriple(reader);
            break;
        case W::DescriptionBounds:
            def.descriptionBounds.left = reader.ReadInteger();
            def.descriptionBounds.top = reader.ReadInteger();
            def.descriptionBounds.width = reader.ReadInteger();
            def.descriptionBounds.height = reader.ReadInteger();
            break;
        case W::DescriptionAlignment:
            def.descriptionAlignment = reader.ReadInteger();
            break;
        case W::ShowTime:
            def.showTime = ReadFlagNonZero(reader);
            break;
        case W::ShowDate:
            def.showDate = ReadFlagNonZero(reader);
            break;
        case W::ClockColor:
            def.clockColor = ReadColorTriple(reader);
            break;
        case W::TimePosition:
            def.timePosition = ReadPoint(reader);
            break;
        case W::DatePosition:
            def.datePosition = ReadPoint(reader);
            break;
        case W::InitialItem:
            def.initialItem = reader.ReadInteger();
            break;
        case W::ShapeColor: {
            const std::int32_t index = reader.ReadInteger();
            def.shapeColor = index > 0 ? static_cast<std::int32_t>(QBColor(index, debug)) : -1;
            break;
        }
        case W::DescriptionPicturePosition:
            def.descriptionPicturePosition = ReadPoint(reader);
            break;
        case W::AnimationInterval:
            def.animationInterval = reader.ReadInteger();
            break;
        case W::ScrollTitle:
            def.scrollTitle = ReadFlagNonZero(reader);
            break;
        case W::WindowShape:
            def.windowShape = reader.ReadString();
            break;
        case W::TimeFontName:
            def.timeFont.name = text(reader.ReadString());
            break;
        case W::TimeFontSize:
            def.timeFont.size = reader.ReadLong();
            break;
        case W::TimeFontStyle:
            def.timeFont.style = ReadFontStyle(reader);
            break;
        case W::DateFontName:
            def.dateFont.name = text(reader.ReadString());
            break;
        case W::DateFontSize:
            def.dateFont.size = reader.ReadLong();
            break;
        case W::DateFontStyle:
            def.dateFont.style = ReadFontStyle(reader);
            break;
        case W::ShadowOffset:
            def.shadowOffset = reader.ReadInteger();
            break;
        case W::ShadowColor:
            def.shadowColor = ReadColorTriple(reader);
            break;
        case W::ExpiryYear:
            def.expiryYear = ReadExpiryNumber(reader);
            break;
        case W::ExpiryMonth:
            def.expiryMonth = ReadExpiryNumber(reader);
            break;
        case W::ExpiryDay:
            def.expiryDay = ReadExpiryNumber(reader);
            break;
        case W::ExpiryMessage:
            def.expiryMessage = text(reader.ReadString());
            break;
    }
}

void ReadItemField(ItemField field, TaggedReader& reader, MenuItem& item, const MenuText& text) {
    switch (field) {
        case I::Target:
            item.target = reader.ReadString();
            item.targetBytes.clear();
            if (std::string decoded = text(item.target); decoded != item.target) {
                item.targetBytes = std::exchange(item.target, std::move(decoded));
            }
            break;
        case I::Parameters:
            item.parameters = text(reader.ReadString());
            break;
        case I::Description:
            item.description = text(reader.ReadString());
            break;
        case I::Left:
            item.left = reader.ReadInteger();
            break;
        case I::Top:
            item.top = reader.ReadInteger();
            break;
        case I::MinimizeAfterLaunch:
            item.minimizeAfterLaunch = ReadFlagNonZero(reader);
            break;
        case I::ExitAfterLaunch:
            item.exitAfterLaunch = ReadFlagNonZero(reader);
            break;
        case I::AnimationMode:
            item.animationMode = reader.ReadInteger();
            break;
        case I::ShortcutKey:
            item.shortcutKey = text(reader.ReadString());
            break;
        case I::ShowMode:
            item.showMode = reader.ReadInteger();
            break;
        case I::AutoRestore:
            item.autoRestore = ReadFlagMinusOne(reader);
            break;
        case I::Kind:
            item.kind = reader.ReadInteger();
            break;
        case I::Caption:
            item.caption = text(reader.ReadString());
            break;
        case I::Width:
            item.width = reader.ReadInteger();
            break;
        case I::Height:
            item.height = reader.ReadInteger();
            break;
        case I::FontName:
            item.font.name = text(reader.ReadString());
            break;
        case I::FontSize:
            item.font.size = reader.ReadInteger();
            break;
        case I::FontColor:
            item.fontColor = static_cast<ColorRef>(reader.ReadInteger());
            break;
        case I::Alignment:
            item.alignment = reader.ReadInteger();
            break;
        case I::FontStyle:
            item.font.style = ReadFontStyle(reader);
            break;
        case I::CheckViewer:
            item.checkViewer = reader.ReadInteger();
            break;
        case I::ViewerName:
            item.viewerName = text(reader.ReadString());
            break;
        case I::ViewerVersion:
            item.viewerVersion = text(reader.ReadString());
            break;
        case I::ViewerVersionMode:
            item.viewerVersionMode = reader.ReadInteger();
            break;
    }
}

void ReadItem(TaggedReader& reader, int version, MenuItem& item, const MenuText& text) {
    for (const ItemField field : ItemFields(version)) ReadItemField(field, reader, item, text);
}

}  // namespace ambrevo
