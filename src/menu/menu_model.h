#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "menu/picture_table.h"
#include "graphics/color.h"

namespace ambrevo {

constexpr int kMaxItems = 100;

enum class ItemKind : std::int32_t { ImgBtn = 0, WinBtn = 1, LblBtn = 2 };
enum class TextAlignment : std::int32_t { LeftJustify = 0, RightJustify = 1, Center = 2 };

struct Point {
    std::int32_t left = 0;
    std::int32_t top = 0;
};

struct Bounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct FontSpec {
    std::string name;
    std::int32_t size = 0;  // points
    FontStyle style;
};

// The fixed raw header of a menu body.
struct MenuHeader {
    std::array<char, 4> magic{};
    std::uint8_t formatKind = 0;
    std::uint8_t version = 0;
    std::array<std::uint8_t, 2> spare{};
    std::uint8_t itemCount = 0;     // may exceed kMaxItems; the excess is read and discarded
    std::int16_t pictureCount = 0;  // 0 or less: no pictures
};

// One item block. Raw integers are kept where the format gives meaning to some values
// only (kind, showMode, alignment, animation mode, viewer fields).
struct MenuItem {
    std::string target;
    // The target as stored, where decoding its code page changed it: a menu name is
    // compared with the package's entry names byte for byte.
    std::string targetBytes;
    const std::string& StoredTarget() const { return targetBytes.empty() ? target : targetBytes; }
    std::string parameters;
    std::string description;
    std::int32_t left = 0;
    std::int32_t top = 0;
    bool minimizeAfterLaunch = false;  // any non-zero value
    bool exitAfterLaunch = false;      // any non-zero value
    std::int32_t animationMode = 0;    // 0..5
    std::string shortcutKey;
    std::int32_t showMode = 0;
    bool autoRestore = false;  // -1 only
    std::int32_t kind = 0;     // ItemKind
    std::string caption;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Version 7 and later; a version 6 item holds these defaults.
    FontSpec font{"Arial", 10, {}};
    ColorRef fontColor = 0;
    std::int32_t alignment = 0;    // TextAlignment
    std::int32_t checkViewer = 0;  // 1 = check for a suitable viewer
    std::string viewerName;
    std::string viewerVersion;
    std::int32_t viewerVersionMode = 0;  // 1 = at least viewerVersion, else equal
    // What screen readers call the item; empty for none. Not part of the body: it comes
    // from the package's table of item names (package/item_name_table.h).
    std::string name;
};

// The model of one menu file.
struct MenuDefinition {
    MenuHeader header;

    std::string title;
    std::int32_t placement = 0;
    std::string defaultDescription;
    FontSpec descriptionFont;
    ColorRef descriptionColor = 0;
    Bounds descriptionBounds;
    std::int32_t descriptionAlignment = 0;
    bool showTime = false;
    bool showDate = false;
    ColorRef clockColor = 0;
    Point timePosition;
    Point datePosition;
    std::int32_t initialItem = 0;
    std::int32_t shapeColor = -1;  // QBColor of the stored index, or -1 for no shape
    Point descriptionPicturePosition;
    std::int32_t animationInterval = 0;
    bool scrollTitle = false;
    std::string windowShape;  // run list; a never-parsed placeholder when there is no shape
    FontSpec timeFont;
    FontSpec dateFont;
    std::int32_t shadowOffset = 0;
    ColorRef shadowColor = 0;
    // Version 7 and later; 0 and empty in a version 6 body.
    std::int32_t expiryYear = 0;
    std::int32_t expiryMonth = 0;
    std::int32_t expiryDay = 0;
    std::string expiryMessage;

    std::vector<MenuItem> items;  // items 1..n are items[0..n-1], at most kMaxItems
    PictureTable pictures;
    // The same slots drawn for a denser screen, where the package holds them: for each, the
    // one scale chosen for the window's DPI. Empty at 96 DPI.
    PictureTable densePictures;
    // lastFrame[item][set], items 1..100 (index 0 unused); filled by CountFrames.
    std::array<std::array<std::int32_t, kPictureSets>, kMaxItems + 1> lastFrame{};
};

}  // namespace ambrevo
