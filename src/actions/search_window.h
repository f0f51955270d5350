#pragma once

#include <string>

#include "ui/application.h"

namespace ambrevo {

// The small window shown while a whole-drive search runs long: the folder being searched
// and a Cancel button. Modeless; it exists from construction to destruction.
class TfrmSearchCls {
public:
    // Creates and shows the window. Its Cancel button sets searchCancelled, which must
    // outlive the window.
    TfrmSearchCls(ui::Application& app, bool& searchCancelled);
    ~TfrmSearchCls();
    TfrmSearchCls(const TfrmSearchCls&) = delete;
    TfrmSearchCls& operator=(const TfrmSearchCls&) = delete;

    // Names the folder being searched.
    void ShowFolder(const std::string& folder);

    ui::Form& Form() const { return form_; }

private:
    void Command1_Click();

    ui::Application& app_;
    ui::Form& form_;
    ui::Label& lblDir_;
    ui::Button& command1_;
    bool& searchCancelled_;
};

}  // namespace ambrevo
