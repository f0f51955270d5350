#pragma once

#include <span>

#include "menu/menu_model.h"
#include "package/tagged_reader.h"
#include "platform/debug_output.h"

namespace ambrevo {

// The first menu version with the expiry fields (47-50) and the item font and viewer
// fields (p-z).
constexpr int kFirstVersionWithExtras = 7;

// The window-level fields of a menu body in file order (values 1-50). A colour
// triple, a font style triple, a position pair and a bounds quadruple are one field each,
// read together so that the window can apply them as a whole.
enum class WindowField {
    Title,                       // 1
    Placement,                   // 2
    DefaultDescription,          // 3
    DescriptionFontName,         // 4
    DescriptionFontSize,         // 5 (tag 3)
    DescriptionFontStyle,        // 6-8 bold, italic, underline: flags (-1)
    DescriptionColor,            // 9-11 colour triple
    DescriptionBounds,           // 12-15 left, top, width, height
    DescriptionAlignment,        // 16
    ShowTime,                    // 17 flag (nonzero)
    ShowDate,                    // 18 flag (nonzero)
    ClockColor,                  // 19-21 colour triple
    TimePosition,                // 22-23
    DatePosition,                // 24-25
    InitialItem,                 // 26
    ShapeColor,                  // 27 QBColor of values above 0, else -1
    DescriptionPicturePosition,  // 28-29
    AnimationInterval,           // 30
    ScrollTitle,                 // 31 flag (nonzero)
    WindowShape,                 // 32
    TimeFontName,                // 33
    TimeFontSize,                // 34 (tag 3)
    TimeFontStyle,               // 35-37 flags (-1)
    DateFontName,                // 38
    DateFontSize,                // 39 (tag 3)
    DateFontStyle,               // 40-42 flags (-1)
    ShadowOffset,                // 43
    ShadowColor,                 // 44-46 colour triple
    ExpiryYear,                  // 47 version 7+: text through IsValidInteger, else 0
    ExpiryMonth,                 // 48 version 7+
    ExpiryDay,                   // 49 version 7+
    ExpiryMessage,               // 50 version 7+
};

// The fields of one item block in file order (values a-z).
enum class ItemField {
    Target,               // a
    Parameters,           // b
    Description,          // c
    Left,                 // d
    Top,                  // e
    MinimizeAfterLaunch,  // f flag (nonzero)
    ExitAfterLaunch,      // g flag (nonzero)
    AnimationMode,        // h
    ShortcutKey,          // i
    ShowMode,             // j
    AutoRestore,          // k flag (-1)
    Kind,                 // l
    Caption,              // m
    Width,                // n
    Height,               // o
    FontName,             // p version 7+
    FontSize,             // q version 7+ (tag 2)
    FontColor,            // r version 7+ whole COLORREF
    Alignment,            // s version 7+
    FontStyle,            // t-v version 7+ flags (-1)
    CheckViewer,          // w version 7+
    ViewerName,           // x version 7+
    ViewerVersion,        // y version 7+
    ViewerVersionMode,    // z version 7+
};

// The fields a body of this version holds, in file order. Fields that are absent keep
// the MenuDefinition / MenuItem defaults (0, empty text, the version 6 item font).
std::span<const WindowField> WindowFields(int version);
std::span<const ItemField> ItemFields(int version);

// The number of tagged values a field occupies (3 for a colour triple, and so on).
int ValueCount(WindowField field);
int ValueCount(ItemField field);

// Reads one field at the stream position and converts it into def / item by the
// field's rule (flags, colours, colour index, expiry numbers). A wrong tag gives 0 or
// empty text where it happened and sets the LoadError.
// debug receives the QBColor line of the ShapeColor field.
void ReadWindowField(WindowField field, TaggedReader& reader, DebugOutput& debug,
                     MenuDefinition& def);
void ReadItemField(ItemField field, TaggedReader& reader, MenuItem& item);

// Reads every field of one item block of this version, in order.
void ReadItem(TaggedReader& reader, int version, MenuItem& item);

}  // namespace ambrevo
