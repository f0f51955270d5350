#include "pack/writer/menu_body_writer.h"

#include <zlib.h>

#include <limits>
#include <span>
#include <string>

#include "menu/menu_rules.h"
#include "pack/common/pack_error.h"
#include "pack/common/silent_debug_output.h"

namespace ambrevo::pack {
namespace {

constexpr std::uint32_t kPixelColourMask = 0x00FFFFFF;

void WriteColorTriple(TaggedWriter& out, ColorRef color) {
    out.WriteInteger(static_cast<std::int32_t>(color & 0xFF));
    out.WriteInteger(static_cast<std::int32_t>((color >> 8) & 0xFF));
    out.WriteInteger(static_cast<std::int32_t>((color >> 16) & 0xFF));
}

void WriteFontStyle(TaggedWriter& out, const FontStyle& style) {
    out.WriteBoolean(style.bold);
    out.WriteBoolean(style.italic);
    out.WriteBoolean(style.underline);
}

// Window-level fonts store their size as a tag-3 value.
void WriteWindowFont(TaggedWriter& out, const FontSpec& font) {
    out.WriteString(font.name);
    out.WriteLong(font.size);
    WriteFontStyle(out, font.style);
}

void WritePoint(TaggedWriter& out, const Point& point) {
    out.WriteInteger(point.left);
    out.WriteInteger(point.top);
}

void WriteWindowFields(TaggedWriter& out, const MenuDefinition& menu, int version) {
    out.WriteString(menu.title);
    out.WriteInteger(menu.placement);
    out.WriteString(menu.defaultDescription);
    WriteWindowFont(out, menu.descriptionFont);
    WriteColorTriple(out, menu.descriptionColor);
    out.WriteInteger(menu.descriptionBounds.left);
    out.WriteInteger(menu.descriptionBounds.top);
    out.WriteInteger(menu.descriptionBounds.width);
    out.WriteInteger(menu.descriptionBounds.height);
    out.WriteInteger(menu.descriptionAlignment);
    out.WriteBoolean(menu.showTime);
    out.WriteBoolean(menu.showDate);
    WriteColorTriple(out, menu.clockColor);
    WritePoint(out, menu.timePosition);
    WritePoint(out, menu.datePosition);
    out.WriteInteger(menu.initialItem);
    out.WriteInteger(ShapeColorIndex(menu.shapeColor));
    WritePoint(out, menu.descriptionPicturePosition);
    out.WriteInteger(menu.animationInterval);
    out.WriteBoolean(menu.scrollTitle);
    out.WriteString(menu.windowShape);
    WriteWindowFont(out, menu.timeFont);
    WriteWindowFont(out, menu.dateFont);
    out.WriteInteger(menu.shadowOffset);
    WriteColorTriple(out, menu.shadowColor);
    if (version < kLatestMenuVersion) return;
    out.WriteString(std::to_string(menu.expiryYear));
    out.WriteString(std::to_string(menu.expiryMonth));
    out.WriteString(std::to_string(menu.expiryDay));
    out.WriteString(menu.expiryMessage);
}

void WriteItemFields(TaggedWriter& out, const MenuItem& item, int version) {
    out.WriteString(item.target);
    out.WriteString(item.parameters);
    out.WriteString(item.description);
    out.WriteInteger(item.left);
    out.WriteInteger(item.top);
    out.WriteBoolean(item.minimizeAfterLaunch);
    out.WriteBoolean(item.exitAfterLaunch);
    out.WriteInteger(item.animationMode);
    out.WriteString(item.shortcutKey);
    out.WriteInteger(item.showMode);
    out.WriteBoolean(item.autoRestore);
    out.WriteInteger(item.kind);
    out.WriteString(item.caption);
    out.WriteInteger(item.width);
    out.WriteInteger(item.height);
    if (version < kLatestMenuVersion) return;
    out.WriteString(item.font.name);
    out.WriteInteger(item.font.size);  // tag 2 here, unlike the window-level fonts
    out.WriteInteger(static_cast<std::int32_t>(item.fontColor));
    out.WriteInteger(item.alignment);
    WriteFontStyle(out, item.font.style);
    out.WriteInteger(item.checkViewer);
    out.WriteString(item.viewerName);
    out.WriteString(item.viewerVersion);
    out.WriteInteger(item.viewerVersionMode);
}

std::vector<std::uint8_t> PixelBytes(const Bitmap& picture) {
    std::vector<std::uint8_t> bytes(picture.pixels.size() * 4);
    std::uint8_t* out = bytes.data();
    for (std::uint32_t pixel : picture.pixels) {
        pixel &= kPixelColourMask;
        for (int shift = 0; shift < 32; shift += 8)
            *out++ = static_cast<std::uint8_t>(pixel >> shift);
    }
    return bytes;
}

std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw PackError("could not compress a picture");
    }
    packed.resize(size);
    return packed;
}

// Every slot of the table that holds a picture, in the canonical record, set, frame order.
template <typename Visit>
void ForEachPicture(const PictureTable& table, Visit visit) {
    for (int record = 0; record < kPictureRecords; ++record) {
        for (int set = 0; set < kPictureSets; ++set) {
            for (int frame = 0; frame < kPictureFrames; ++frame) {
                if (table.HasPicture(record, set, frame)) {
                    visit(record, set, frame, *table.Picture(record, set, frame));
                }
            }
        }
    }
}

void CheckPictureSize(const Bitmap& picture) {
    const auto pixels =
        static_cast<std::uint64_t>(picture.width) * static_cast<std::uint64_t>(picture.height);
    if (pixels * 4 > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) ||
        picture.pixels.size() != pixels) {
        throw PackError("a picture of " + std::to_string(picture.width) + " x " +
                        std::to_string(picture.height) + " pixels cannot be stored");
    }
}

}  // namespace

int CountStoredPictures(const PictureTable& table) {
    int count = 0;
    ForEachPicture(table, [&](int, int, int, const Bitmap&) { ++count; });
    return count;
}

std::int32_t ShapeColorIndex(std::int32_t shapeColor) {
    if (shapeColor == -1) return kNoShapeIndex;
    if (shapeColor == 0) return kBlackShapeIndex;
    SilentDebugOutput debug;
    for (std::int32_t index = 1; index <= kLastShapeColorIndex; ++index) {
        if (static_cast<std::int32_t>(QBColor(index, debug)) == shapeColor) return index;
    }
    throw PackError("the shape colour " + std::to_string(shapeColor) +
                    " is not a colour of the index table");
}

void WritePictureRecord(TaggedWriter& out, int version, int record, int set, int frame,
                        const Bitmap& picture, PictureStreamCache* streams) {
    CheckPictureSize(picture);
    out.RawByte(5);
    out.RawByte(0);
    out.RawByte(static_cast<std::uint8_t>(record));
    out.RawByte(static_cast<std::uint8_t>(set));
    out.RawInt32(frame);
    out.RawInt32(picture.width);
    out.RawInt32(picture.height);
    if (version < kLatestMenuVersion) {
        const std::vector<std::uint8_t> pixels = PixelBytes(picture);
        out.RawBytes(pixels.data(), pixels.size());
        return;
    }
    const auto compress = [&] { return Compress(PixelBytes(picture)); };
    std::vector<std::uint8_t> compressed;
    const std::vector<std::uint8_t>& packed =
        streams != nullptr ? streams->Stream(picture, compress) : (compressed = compress());
    if (packed.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 4)) {
        throw PackError("a compressed picture is too large to store");
    }
    out.RawInt32(static_cast<std::int32_t>(packed.size() + 4));
    out.RawInt32(static_cast<std::int32_t>(picture.pixels.size() * 4));
    out.RawBytes(packed.data(), packed.size());
}

std::vector<std::uint8_t> WriteMenuBody(const MenuDefinition& menu, int version,
                                        PictureStreamCache* streams) {
    if (version != kRawPicturesVersion && version != kLatestMenuVersion) {
        throw PackError("menu format version " + std::to_string(version) +
                        " cannot be written (6 or 7)");
    }
    if (menu.items.size() > static_cast<std::size_t>(kMaxItems)) {
        throw PackError("a menu holds at most " + std::to_string(kMaxItems) + " items, not " +
                        std::to_string(menu.items.size()));
    }
    const int pictureCount = CountStoredPictures(menu.pictures);
    if (pictureCount > kMaxPictureRecords) {
        throw PackError("a menu holds at most " + std::to_string(kMaxPictureRecords) +
                        " pictures, not " + std::to_string(pictureCount));
    }

    TaggedWriter out;
    out.RawBytes("MENU", 4);
    out.RawByte(1);
    out.RawByte(static_cast<std::uint8_t>(version));
    out.RawByte(0);
    out.RawByte(0);
    out.RawByte(static_cast<std::uint8_t>(menu.items.size()));
    out.RawInt16(static_cast<std::int16_t>(pictureCount));
    WriteWindowFields(out, menu, version);
    for (const MenuItem& item : menu.items) WriteItemFields(out, item, version);
    ForEachPicture(menu.pictures, [&](int record, int set, int frame, const Bitmap& picture) {
        WritePictureRecord(out, version, record, set, frame, picture, streams);
    });
    return out.TakeBytes();
}

}  // namespace ambrevo::pack
