#include "window/about_window.h"

namespace ambrevo {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 132;

void AddText(ui::Form& form, const char* name, const std::string& text, int top, int size,
             bool bold) {
    ui::Label& label = form.AddLabel(name);
    ui::Font font = form.Font();
    font.size = size;
    font.bold = bold;
    label.SetFont(font);
    label.SetTransparent(true);
    label.SetCaption(text);
    label.SetPosition(64, top);
}

}  // namespace

ui::Form& TfrmAboutCls::Open(ui::Application& app, const FileVersionInfo& version) {
    ui::Form& form = app.CreateForm("frmAbout", ui::FormStyle::Dialog);
    form.SetCaption("About Ambrevo");

    ui::Picture& icon = form.AddPicture("imgIcon");
    icon.SetAutoSize(true);
    icon.SetPosition(16, 16);
    icon.SetImage(app.Widgets().ApplicationIconImage());

    AddText(form, "lblProduct", "Ambrevo", 14, 14, true);
    AddText(form, "lblDescription", version.fileDescription, 42, 8, false);
    AddText(form, "lblFileVersion", "Version " + version.fileVersion, 60, 8, false);
    AddText(form, "lblProductVersion", "Product version " + version.productVersion, 76, 8, false);

    ui::Button& ok = form.AddButton("btnOK");
    ok.SetCaption("OK");
    ok.SetTabStop(true);
    ok.SetBounds({kWidth - 88, kHeight - 33, 75, 23});

    // The window closes itself: by its button, Enter or Escape on it, or its close box.
    const auto close = [&app, &form] { app.DestroyForm(form); };
    ok.onClick = [close](ui::Control&) { close(); };
    ok.onKeyPress = [close](ui::Control&, char key) {
        if (key == '\r' || key == '\x1b') close();
    };
    form.onClose = [close](ui::Form&) { close(); };

    const ui::Size screen = app.ScreenSize();
    form.SetBounds({(screen.width - kWidth) / 2, (screen.height - kHeight) / 2, kWidth, kHeight});
    form.SetVisible(true);
    ok.SetFocus();
    return form;
}

}  // namespace ambrevo
