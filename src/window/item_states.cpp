// Which picture set each item shows, the one highlighted item, and the description area
// that follows it.

#include "support/busy_flag.h"
#include "window/menu_window.h"

namespace ambrevo {

void TfrmMenuCls::SetItemState(int n, PictureSet set, bool withDescription) {
    if (!menuShown_ || !IsItem(n)) return;
    const int setIndex = static_cast<int>(set);
    // The control is reloaded only when it shows another set, so repeated calls are cheap.
    ui::Picture& picture = *Controls(n).picture;
    if (def_.pictures.HasPicture(n, setIndex, 0) && picture.Tag() != setIndex) {
        ShowPicture(picture, n, setIndex, 0);
        picture.SetTag(setIndex);
    }
    if (withDescription) {
        app_.ProcessMessages();
        ShowItemDescription(n);
    }
    // The animation starts again in the new set, even when the picture stayed.
    states_[static_cast<std::size_t>(n)] = {set, {}};
}

void TfrmMenuCls::HighlightItem(int n) {
    if (!menuShown_ || n == highlightedItem_ || highlightBusy_) return;
    if (n > itemCount_) return;  // no such item in this menu
    const BusyFlag busy(highlightBusy_);
    if (n > 0) PlaySelectSound(n);
    SetItemState(highlightedItem_, PictureSet::Normal, false);
    if (n > 0) SetItemState(n, PictureSet::Highlighted, true);
    highlightedItem_ = n;
    app_.ProcessMessages();
}

// The select sound of item n of the current menu; it plays on while the pictures change.
void TfrmMenuCls::PlaySelectSound(int n) { sounds_.PlaySelectSound(menuName_, n); }

void TfrmMenuCls::ShowItemDescription(int n) {
    ui::Label& description = *parts_.description;
    ui::Picture& picture = *parts_.descriptionPicture;
    const std::string& defaultText = def_.defaultDescription;
    if (!IsItem(n)) {
        // An empty default leaves the last item's text in place.
        if (!defaultText.empty() && description.Caption() != defaultText) {
            description.SetCaption(defaultText);
            parts_.descriptionShadow->SetCaption(defaultText);
        }
        picture.SetVisible(false);
        return;
    }
    const std::string& itemText = Item(n).description;
    const std::string& text = itemText.empty() ? defaultText : itemText;
    if (description.Caption() != text) {
        description.SetCaption(text);
        parts_.descriptionShadow->SetCaption(text);
    }
    constexpr int kDescription = static_cast<int>(PictureSet::Description);
    if (!def_.pictures.HasPicture(n, kDescription, 0)) {
        picture.SetVisible(false);
        return;
    }
    if (picture.Tag() != n) {
        ShowPicture(picture, n, kDescription, 0);
        picture.SetTag(n);
    }
    picture.SetVisible(true);
}

}  // namespace ambrevo
