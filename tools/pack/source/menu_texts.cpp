#include "pack/source/menu_texts.h"

#include <algorithm>

#include "pack/writer/menu_body_writer.h"
#include "pack/text/text_encoding.h"

namespace ambrevo::pack {

std::vector<MenuTextField> MenuTexts(const MenuDefinition& menu, int version) {
    const bool version7 = version >= kLatestMenuVersion;
    std::vector<MenuTextField> texts = {
        {"title", &menu.title},
        {"description.text", &menu.defaultDescription},
        {"description.font.name", &menu.descriptionFont.name},
        {"shape.runs", &menu.windowShape},
        {"clock.time_font.name", &menu.timeFont.name},
        {"clock.date_font.name", &menu.dateFont.name},
    };
    if (version7) texts.push_back({"expiry.message", &menu.expiryMessage});
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const MenuItem& item = menu.items[i];
        const std::string name = "item " + std::to_string(i + 1) + " ";
        texts.push_back({name + "target", &item.target});
        texts.push_back({name + "parameters", &item.parameters});
        texts.push_back({name + "description", &item.description});
        texts.push_back({name + "shortcut_key", &item.shortcutKey});
        texts.push_back({name + "caption", &item.caption});
        texts.push_back({name + "name", &item.name});
        if (!version7) continue;
        texts.push_back({name + "font.name", &item.font.name});
        texts.push_back({name + "viewer_name", &item.viewerName});
        texts.push_back({name + "viewer_version", &item.viewerVersion});
    }
    return texts;
}

bool MenuTextsAreAscii(const MenuDefinition& menu, int version) {
    const std::vector<MenuTextField> texts = MenuTexts(menu, version);
    return std::all_of(texts.begin(), texts.end(),
                       [](const MenuTextField& field) { return IsAscii(*field.text); });
}

}  // namespace ambrevo::pack
