#include "window/menu_window.h"

namespace ambrevo {

TfrmMenuCls::TfrmMenuCls(ui::Application& app, const MenuLoadServices& services,
                         SoundEffects& sounds)
    : app_(app),
      services_(services),
      sounds_(sounds),
      form_(app.CreateForm("frmMenu", ui::FormStyle::Borderless)),
      contextMenu_(form_.AddPopupMenu("PopupMenu1")),
      processWatchTimer_(app, "tmrARstr"),
      clockTimer_(app, "Timer1"),
      exitTimer_(app, "Timer2"),
      animationTimer_(app, "Timer3"),
      titleTimer_(app, "Timer4"),
      clickTimer_(app, "Timer5") {
    form_.SetFont(ui::Font{"Tahoma", 8});
    form_.SetBounds({0, 0, 235, 135});
    contextMenu_.AddEntry("About1", "About", [this] { About1Click(); });
    form_.SetContextMenu(&contextMenu_);
    BindTimers();
    BindWheel();
    form_.onScaleChanged = [this](ui::Form&) { ShowPicturesForScale(); };
}

TfrmMenuCls::~TfrmMenuCls() { app_.DestroyForm(form_); }

void TfrmMenuCls::BuildWindowParts() {
    ui::Picture& background = form_.AddPicture("MenBck");
    background.SetAutoSize(true);
    background.SetBounds({0, 0, 1, 1});
    background.SetContextMenu(&contextMenu_);
    background.onMouseDown = Handler(&TfrmMenuCls::MenBckMouseDown);
    background.onMouseMove = Handler(&TfrmMenuCls::MenBckMouseMove);
    background.onMouseUp = Handler(&TfrmMenuCls::MenBckMouseUp);
    background.SendToBack();

    ui::Picture& descriptionPicture = form_.AddPicture("imgAccText");
    descriptionPicture.SetAutoSize(true);
    descriptionPicture.onMouseMove = Handler(&TfrmMenuCls::AccTextMouseMove);

    // The shadow is created first so that the description label lies above it.
    const auto makeDescriptionLabel = [this](std::string name) -> ui::Label& {
        ui::Label& label = form_.AddLabel(std::move(name));
        label.SetTransparent(true);
        label.SetAutoSize(false);
        label.SetWordWrap(true);
        label.SetBounds({40, 120, 120, 45});
        label.onMouseMove = Handler(&TfrmMenuCls::lblAccText_MouseMove);
        return label;
    };
    ui::Label& shadow = makeDescriptionLabel("lblAccTextShadow");
    shadow.SetVisible(false);
    ui::Label& description = makeDescriptionLabel("lblAccText");

    const auto makeClockLabel = [this](std::string name, const ui::Rect& bounds) -> ui::Label& {
        ui::Label& label = form_.AddLabel(std::move(name));
        label.SetTransparent(true);
        label.SetBounds(bounds);
        return label;
    };
    ui::Label& time = makeClockLabel("lblTime", {20, 200, 60, 17});
    ui::Label& date = makeClockLabel("lblDate", {95, 200, 60, 17});

    parts_ = {&background, &descriptionPicture, &shadow, &description, &time, &date};
    ShowClockTexts();
    clockTimer_.SetInterval(1000);
    def_.shapeColor = -1;
    def_.animationInterval = 100;
}

void TfrmMenuCls::LoadMenu(const std::string& name) { ambrevo::LoadMenu(name, services_, *this); }

void TfrmMenuCls::ReleaseRegion() { form_.SetShape(std::nullopt); }

void TfrmMenuCls::BeginLoad(const std::string& name) {
    highlightBeforeLoad_ = highlightedItem_;
    highlightedItem_ = 0;
    menuName_ = name;
    form_.SetVisible(false);
}

bool TfrmMenuCls::HasBackground() const {
    return def_.pictures.HasPicture(0, static_cast<int>(PictureSet::Normal), 0);
}

void TfrmMenuCls::ClearMenu() {
    ++menuLoads_;
    for (int n = 1; n <= itemCount_; ++n) DestroyItemControls(n);
    itemCount_ = 0;
    states_.fill({});
    parts_.descriptionPicture->SetTag(0);
    def_ = MenuDefinition{};  // releases the pictures
}

void TfrmMenuCls::ShowMenu() {
    form_.SetVisible(true);
    animationTimer_.SetInterval(def_.animationInterval);
    titleTimer_.SetInterval(def_.scrollTitle ? 160 : 0);
}

void TfrmMenuCls::PresentMenu() {
    app_.ProcessMessages();
    menuShown_ = true;
    announcedItem_ = 0;
    form_.NotifyAccessibility(ui::AccessibleEvent::ElementsReplaced, 0);
    app_.ProcessMessages();
    if (def_.initialItem > 0) HighlightItem(def_.initialItem);
    ShowItemDescription(-2);
}

void TfrmMenuCls::ShowPreviousMenu() {
    // The earlier menu is untouched, its highlighted item included.
    highlightedItem_ = highlightBeforeLoad_;
    form_.SetVisible(true);
}

void TfrmMenuCls::EndProgram() { app_.Terminate(); }

void TfrmMenuCls::About1Click() {
    if (!onAbout) return;
    const auto handler = onAbout;
    handler();
}

}  // namespace ambrevo
