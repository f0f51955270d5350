#include "actions/search_window.h"

namespace ambrevo {
namespace {

ui::Form& CreateSearchForm(ui::Application& app) {
    ui::Form& form = app.CreateForm("frmSearchCls", ui::FormStyle::ToolWindow);
    form.SetCaption(" Target not found... searching:");
    form.SetBounds({180, 173, 466, 58});
    return form;
}

ui::Label& CreateFolderLabel(ui::Form& form) {
    ui::Label& label = form.AddLabel("lblDir");
    label.SetAutoSize(false);
    label.SetBounds({8, 8, 450, 13});
    return label;
}

ui::Button& CreateCancelButton(ui::Form& form) {
    ui::Button& button = form.AddButton("Command1");
    button.SetCaption("&Cancel");
    button.SetBounds({357, 27, 101, 26});
    button.SetTabStop(true);
    return button;
}

}  // namespace

TfrmSearchCls::TfrmSearchCls(ui::Application& app, bool& searchCancelled)
    : app_(app),
      form_(CreateSearchForm(app)),
      lblDir_(CreateFolderLabel(form_)),
      command1_(CreateCancelButton(form_)),
      searchCancelled_(searchCancelled) {
    command1_.onClick = [this](ui::Control&) { Command1_Click(); };
    form_.SetVisible(true);
    command1_.SetFocus();
}

TfrmSearchCls::~TfrmSearchCls() {
    // A form destroyed inside an event lives on until the event ends: its button must not
    // reach this object any more.
    command1_.onClick = nullptr;
    app_.DestroyForm(form_);
}

void TfrmSearchCls::ShowFolder(const std::string& folder) { lblDir_.SetCaption(folder); }

// The walk notices the flag before it takes its next folder.
void TfrmSearchCls::Command1_Click() {
    command1_.SetEnabled(false);
    command1_.SetCaption("Wait...");
    searchCancelled_ = true;
}

}  // namespace ambrevo
