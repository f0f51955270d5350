#pragma once

#include <span>

#include "menu/menu_model.h"
#include "menu/menu_text.h"
#include "package/tagged_reader.h"
#include "services/debug_output.h"

namespace ambrevo {

// The first menu version with the expiry fields and the item font and viewer fields.
constexpr int kFirstVersionWithExtras = 7;

// The window-level fields of a menu body in file order: 50 values. A colour triple, a
// font style triple, a position pair and a bounds quadruple are one field each, read
// together so that the window can apply them as a whole.
enum class WindowField {
    Title,
    Placement,
    DefaultDescription,
    DescriptionFontName,
    DescriptionFontSize,   // tag 3
    DescriptionFontStyle,  // bold, italic, underline: flags (-1)
    DescriptionColor,      // colour triple
    DescriptionBounds,     // left, top, width, height
    DescriptionAlignment,
    ShowTime,      // flag (nonzero)
    ShowDate,      // flag (nonzero)
    ClockColor,    // colour triple
    TimePosition,  // left, top
    DatePosition,  // left, top
    InitialItem,
    ShapeColor,                  // QBColor of values above 0, else -1
    DescriptionPicturePosition,  // left, top
    AnimationInterval,
    ScrollTitle,  // flag (nonzero)
    WindowShape,
    TimeFontName,
    TimeFontSize,   // tag 3
    TimeFontStyle,  // flags (-1)
    DateFontName,
    DateFontSize,   // tag 3
    DateFontStyle,  // flags (-1)
    ShadowOffset,
    ShadowColor,    // colour triple
    ExpiryYear,     // version 7+: text through IsValidInteger, else 0
    ExpiryMonth,    // version 7+
    ExpiryDay,      // version 7+
    ExpiryMessage,  // version 7+
};

// The fields of one item block in file order: 26 values (15 before version 7).
enum class ItemField {
    Target,
    Parameters,
    Description,
    Left,
    Top,
    MinimizeAfterLaunch,  // flag (nonzero)
    ExitAfterLaunch,      // flag (nonzero)
    AnimationMode,
    ShortcutKey,
    ShowMode,
    AutoRestore,  // flag (-1)
    Kind,
    Caption,
    Width,
    Height,
    FontName,           // version 7+
    FontSize,           // version 7+ (tag 2)
    FontColor,          // version 7+ whole COLORREF
    Alignment,          // version 7+
    FontStyle,          // version 7+ flags (-1)
    CheckViewer,        // version 7+
    ViewerName,         // version 7+
    ViewerVersion,      // version 7+
    ViewerVersionMode,  // version 7+
};

// The fields a body of this version holds, in file order. Fields that are absent keep
// the MenuDefinition / MenuItem defaults (0, empty text, the version 6 item font).
std::span<const WindowField> WindowFields(int version);
std::span<const ItemField> ItemFields(int version);

// The number of tagged values a field occupies (3 for a colour triple, and so on).
int ValueCount(WindowField field);
int ValueCount(ItemField field);

// Reads one field at the stream position and converts it into def / item by the
// field's rule (flags, colours, colour index, expiry numbers; texts through text). A wrong
// tag gives 0 or empty text where it happened and sets the LoadError.
// debug receives the QBColor line of the ShapeColor field.
void ReadWindowField(WindowField field, TaggedReader& reader, DebugOutput& debug,
                     MenuDefinition& def, const MenuText& text = {});
void ReadItemField(ItemField field, TaggedReader& reader, MenuItem& item,
                   const MenuText& text = {});

// Reads every field of one item block of this version, in order.
void ReadItem(TaggedReader& reader, int version, MenuItem& item, const MenuText& text = {});

}  // namespace ambrevo
