#pragma once

#include <tuple>

#include "menu/menu_model.h"

namespace ambrevo::pack::testing {

// Every window-level field of a menu and every field of an item, as tuples that gtest can
// compare and print.

inline auto FontFields(const FontSpec& f) {
    return std::make_tuple(f.name, f.size, f.style.bold, f.style.italic, f.style.underline);
}

inline auto WindowFields(const MenuDefinition& m) {
    return std::make_tuple(
        m.title, m.placement, m.defaultDescription, FontFields(m.descriptionFont),
        m.descriptionColor,
        std::make_tuple(m.descriptionBounds.left, m.descriptionBounds.top,
                        m.descriptionBounds.width, m.descriptionBounds.height),
        m.descriptionAlignment, m.showTime, m.showDate, m.clockColor,
        std::make_tuple(m.timePosition.left, m.timePosition.top, m.datePosition.left,
                        m.datePosition.top),
        m.initialItem, m.shapeColor,
        std::make_tuple(m.descriptionPicturePosition.left, m.descriptionPicturePosition.top),
        m.animationInterval, m.scrollTitle, m.windowShape, FontFields(m.timeFont),
        FontFields(m.dateFont), m.shadowOffset, m.shadowColor,
        std::make_tuple(m.expiryYear, m.expiryMonth, m.expiryDay, m.expiryMessage));
}

inline auto ItemFields(const MenuItem& i) {
    return std::make_tuple(
        std::make_tuple(i.target, i.parameters, i.description, i.left, i.top),
        std::make_tuple(i.minimizeAfterLaunch, i.exitAfterLaunch, i.animationMode, i.shortcutKey,
                        i.showMode, i.autoRestore, i.kind, i.caption, i.width, i.height),
        std::make_tuple(FontFields(i.font), i.fontColor, i.alignment),
        std::make_tuple(i.checkViewer, i.viewerName, i.viewerVersion, i.viewerVersionMode));
}

}  // namespace ambrevo::pack::testing
