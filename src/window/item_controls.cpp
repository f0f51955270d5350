// The four controls of each item: created before the item is read, set up field by field
// while it is read, and the one that fits the item's kind shown once the menu is in.

#include <initializer_list>

#include "window/item_names.h"
#include "window/menu_window.h"
#include "window/text_style.h"

namespace ambrevo {
namespace {

constexpr ui::Rect kItemDefaultBounds{200, 60, 97, 25};
// The key proxy sits outside the window: it only carries the focus and the mnemonic.
constexpr ui::Rect kKeyProxyBounds{-40, -40, 20, 20};

std::string DefaultCaption(int n) { return "Button &" + std::to_string(n); }

// Destroys those of an item's controls that exist.
void DestroyControls(ui::Form& form, ItemControls& controls) {
    const std::initializer_list<ui::Control*> all = {controls.picture, controls.button,
                                                     controls.keyProxy, controls.label};
    for (ui::Control* control : all) {
        if (control) form.DestroyControl(*control);
    }
    controls = {};
}

}  // namespace

// All four controls or none: when one cannot be made, those made before it go too, so
// the item count covers only items whose controls all exist.
void TfrmMenuCls::CreateItemControls(int n) {
    ItemControls made;
    try {
        AddItemControls(n, made);
    } catch (...) {
        DestroyControls(form_, made);
        throw;
    }
    Controls(n) = made;
    itemCount_ = n;
}

// Each control goes into made as soon as it exists.
void TfrmMenuCls::AddItemControls(int n, ItemControls& made) {
    ui::Label& label = form_.AddLabel(ItemControlName(kLabelPrefix, n));
    made.label = &label;
    label.onMouseMove = Handler(&TfrmMenuCls::cmdButton_MouseMove);
    label.onClick = Handler(&TfrmMenuCls::cmdButton_Click);
    label.SetVisible(false);
    label.SetAutoSize(false);  // a text item takes the item's width and height
    label.SetBounds(kItemDefaultBounds);
    label.SetCursor(ui::Cursor::HandPoint);
    // A text item is lettering on the menu's picture, not a grey box over it.
    label.SetTransparent(true);
    label.SetCaption(DefaultCaption(n));
    label.BringToFront();

    ui::Button& button = form_.AddButton(ItemControlName(kButtonPrefix, n));
    made.button = &button;
    button.onGotFocus = Handler(&TfrmMenuCls::cmdButton_GotFocus);
    button.onMouseMove = Handler(&TfrmMenuCls::cmdButton_MouseMove);
    button.onClick = Handler(&TfrmMenuCls::cmdButton_Click);
    button.onKeyDown = Handler(&TfrmMenuCls::cmdButton_KeyDown);
    button.onKeyPress = Handler(&TfrmMenuCls::btnShortcutKeyPress);
    button.SetTabStop(true);
    button.SetVisible(false);
    button.SetBounds(kItemDefaultBounds);
    button.SetCaption(DefaultCaption(n));
    button.BringToFront();

    ui::Picture& picture = form_.AddPicture(ItemControlName(kPicturePrefix, n));
    made.picture = &picture;
    picture.onMouseDown = Handler(&TfrmMenuCls::picButton_MouseDown);
    picture.onMouseMove = Handler(&TfrmMenuCls::picButton_MouseMove);
    picture.onMouseUp = Handler(&TfrmMenuCls::picButton_MouseUp);
    picture.SetVisible(false);
    picture.SetAutoSize(true);
    picture.SetTag(static_cast<int>(PictureSet::Normal));
    picture.BringToFront();

    ui::Button& keyProxy = form_.AddButton(ItemControlName(kKeyProxyPrefix, n));
    made.keyProxy = &keyProxy;
    keyProxy.onGotFocus = Handler(&TfrmMenuCls::btnShortcut_GotFocus);
    keyProxy.onClick = Handler(&TfrmMenuCls::btnShortcut_Click);
    keyProxy.onKeyDown = Handler(&TfrmMenuCls::btnShortcutKeyDown);
    keyProxy.onKeyPress = Handler(&TfrmMenuCls::btnShortcutKeyPress);
    keyProxy.SetTabStop(true);
    keyProxy.SetBounds(kKeyProxyBounds);
    keyProxy.BringToFront();
    keyProxy.SetVisible(true);
}

void TfrmMenuCls::DestroyItemControls(int n) { DestroyControls(form_, Controls(n)); }

void TfrmMenuCls::ApplyItemField(int n, ItemField field) {
    const MenuItem& item = Item(n);
    ItemControls& controls = Controls(n);
    switch (field) {
        case ItemField::Left:
        case ItemField::Top:
            MoveItem(n);
            break;
        case ItemField::ShortcutKey:
            controls.keyProxy->SetCaption("&" + item.shortcutKey);
            break;
        case ItemField::Kind:
            // A push button takes the focus and carries the mnemonic itself.
            if (item.kind == static_cast<std::int32_t>(ItemKind::WinBtn)) {
                controls.keyProxy->SetVisible(false);
            }
            break;
        case ItemField::Caption:
            controls.button->SetCaption(item.caption);
            ApplyLabelCaption(n);
            // The "&" letter of a text item's caption is its mnemonic.
            if (item.kind == static_cast<std::int32_t>(ItemKind::LblBtn)) {
                controls.keyProxy->SetCaption(item.caption);
            }
            break;
        case ItemField::Width:
        case ItemField::Height:
            SizeItem(n);
            break;
        case ItemField::FontStyle:
            ApplyLabelCaption(n);  // the italic flag comes after the caption
            break;
        case ItemField::Target:
        case ItemField::Parameters:
        case ItemField::Description:
        case ItemField::MinimizeAfterLaunch:
        case ItemField::ExitAfterLaunch:
        case ItemField::AnimationMode:
        case ItemField::ShowMode:
        case ItemField::AutoRestore:
        case ItemField::FontName:
        case ItemField::FontSize:
        case ItemField::FontColor:
        case ItemField::Alignment:
        case ItemField::CheckViewer:
        case ItemField::ViewerName:
        case ItemField::ViewerVersion:
        case ItemField::ViewerVersionMode:
            break;  // kept in the definition
    }
}

// The picture takes the item's position; the push button and the label follow it.
void TfrmMenuCls::MoveItem(int n) {
    const MenuItem& item = Item(n);
    ItemControls& controls = Controls(n);
    controls.picture->SetPosition(item.left, item.top);
    const ui::Rect& at = controls.picture->Bounds();
    controls.button->SetPosition(at.left, at.top);
    controls.label->SetPosition(at.left, at.top);
}

// The push button takes the item's size and the label follows it; the picture takes the
// size of its picture.
void TfrmMenuCls::SizeItem(int n) {
    const MenuItem& item = Item(n);
    ItemControls& controls = Controls(n);
    controls.button->SetSize(item.width, item.height);
    const ui::Rect& size = controls.button->Bounds();
    controls.label->SetSize(size.width, size.height);
}

// An italic caption gets a trailing space, so that its last letter is not clipped.
void TfrmMenuCls::ApplyLabelCaption(int n) {
    const MenuItem& item = Item(n);
    Controls(n).label->SetCaption(item.font.style.italic ? item.caption + " " : item.caption);
}

void TfrmMenuCls::FinishItem(int n) {
    if (def_.header.version < kFirstVersionWithExtras) return;  // the window's font stays
    const MenuItem& item = Item(n);
    ItemControls& controls = Controls(n);
    ui::Font buttonFont = controls.button->Font();
    ApplyMenuFont(buttonFont, item.font);
    controls.button->SetFont(buttonFont);

    ui::Font labelFont = controls.label->Font();
    ApplyMenuFont(labelFont, item.font);
    labelFont.color = item.fontColor;
    controls.label->SetFont(labelFont);
    if (const auto alignment = AlignmentOf(item.alignment)) {
        controls.label->SetAlignment(*alignment);
    }
}

void TfrmMenuCls::ShowPicture(ui::Picture& control, int record, int set, int frame) {
    control.SetImage(def_.pictures.Picture(record, set, frame),
                     def_.densePictures.Picture(record, set, frame));
}

void TfrmMenuCls::ShowPicturesForScale() {
    const auto eachPicture = [this](const auto& show) {
        for (ui::Picture* control : {parts_.background, parts_.descriptionPicture}) {
            if (control) show(*control);
        }
        for (int n = 1; n <= itemCount_; ++n) show(*Controls(n).picture);
    };
    // The pictures on show let go of their variants first: two scales' variants are never
    // held at once.
    eachPicture([](ui::Picture& control) { control.SetImage(control.Image()); });
    ReloadDensePictures(menuName_, services_, *this);
    eachPicture([this](ui::Picture& control) {
        control.SetImage(control.Image(),
                         def_.pictures.CounterpartIn(def_.densePictures, control.Image().get()));
    });
}

void TfrmMenuCls::ShowItem(int n) {
    ItemControls& controls = Controls(n);
    switch (static_cast<ItemKind>(Item(n).kind)) {
        case ItemKind::ImgBtn:
            ShowPicture(*controls.picture, n, static_cast<int>(PictureSet::Normal), 0);
            controls.picture->SetVisible(true);
            return;
        case ItemKind::WinBtn:
            controls.button->SetVisible(true);
            return;
        case ItemKind::LblBtn:
            break;
    }
    controls.label->SetVisible(true);
}

}  // namespace ambrevo
