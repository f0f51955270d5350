#include "pack/source/source_defaults.h"

namespace ambrevo::pack {

MenuDefinition DefaultMenu() {
    MenuDefinition menu;
    menu.placement = 0;
    menu.descriptionFont = {"Tahoma", 8, {}};
    menu.descriptionBounds = {40, 120, 120, 45};
    menu.timePosition = {20, 200};
    menu.datePosition = {95, 200};
    menu.shapeColor = -1;
    menu.animationInterval = 100;
    menu.timeFont = {"Tahoma", 8, {}};
    menu.dateFont = {"Tahoma", 8, {}};
    menu.shadowColor = 0x808080;
    return menu;
}

MenuItem DefaultItem(int version) {
    MenuItem item;
    item.width = kDefaultItemWidth;
    item.height = kDefaultItemHeight;
    if (version >= kLatestMenuVersion) item.viewerVersionMode = kDefaultViewerVersionMode;
    return item;
}

}  // namespace ambrevo::pack
