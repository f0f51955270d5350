#pragma once

#include <string>

#include "menu/menu_model.h"
#include "ui/accessible.h"
#include "window/menu_window.h"

namespace ambrevo {

// The items of the menu window as assistive technology sees them, in tab order (item
// numbers). Platform-free: every widgetset's accessibility layer reads the same answers.
// Attaches itself to the window's form for its lifetime.
class MenuAccessibility : public ui::AccessibleElements {
public:
    explicit MenuAccessibility(TfrmMenuCls& window);
    ~MenuAccessibility() override;
    MenuAccessibility(const MenuAccessibility&) = delete;
    MenuAccessibility& operator=(const MenuAccessibility&) = delete;

    std::string Name() const override;
    int Count() const override;
    ui::AccessibleElement Element(int element) const override;
    int Focused() const override;
    void Focus(int element) override;
    void Press(int element) override;

private:
    TfrmMenuCls& window_;
};

// A caption as it is read out: each "&" that marks an access key left out, "&&" read as "&".
std::string CaptionWithoutAccessKey(const std::string& caption);

// What an item is called for a screen reader: a push button's or text item's caption, a
// picture item's name; its description; the file name of its target (a web or mail target
// whole); "Item n".
std::string AccessibleNameOf(const MenuItem& item, int n);

// The key that reaches item n: its access key ("Alt+R": a push button's caption letter,
// else the item's shortcut key), else a digit for items 1 to 8 (the digit keys launch
// them); empty for none.
std::string ShortcutOf(const MenuItem& item, int n);

}  // namespace ambrevo
