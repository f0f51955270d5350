#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/font.h"
#include "graphics/geometry.h"
#include "ui/popup_menu.h"
#include "ui/widgetset.h"

namespace ambrevo::ui {

class Application;

enum class FormStyle {
    Borderless,  // no frame or title bar; shown in the task bar with the application title
    ToolWindow,  // a small caption and frame, no title-bar buttons, not in the task bar
    Dialog,      // a fixed frame with a caption and a close box
};

// A top-level window. It owns its controls, kept in z-order from back to front; the
// widgetset shows the form and fires its events.
class Form {
public:
    Form(Application& application, std::string name, FormStyle style);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Application& App() const { return application_; }
    const std::string& Name() const { return name_; }
    FormStyle Style() const { return style_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // left/top on the screen; width/height of the client area.
    const Rect& Bounds() const { return bounds_; }
    void SetBounds(const Rect& bounds);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // A disabled form takes no mouse or keyboard input.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The outline; none = the plain rectangle.
    const std::optional<Region>& Shape() const { return shape_; }
    void SetShape(std::optional<Region> shape);
    // The font new text controls start with.
    const ui::Font& Font() const { return font_; }
    void SetFont(const ui::Font& font) { font_ = font; }
    // What the form tells assistive technology about the elements it paints; null: only
    // its caption. Not owned; cleared by its owner before it goes.
    AccessibleElements* Accessible() const { return accessible_; }
    void SetAccessible(AccessibleElements* elements) { accessible_ = elements; }
    void NotifyAccessibility(AccessibleEvent event, int element) {
        peer_->AccessibilityEvent(event, element);
    }
    PopupMenu* ContextMenu() const { return contextMenu_; }
    void SetContextMenu(PopupMenu* menu) { contextMenu_ = menu; }

    // Controls are created on top of the z-order, in creation order for tabbing. When the
    // widgetset cannot show a new control (its peer throws), the form does not keep it.
    Label& AddLabel(std::string name);
    Picture& AddPicture(std::string name);
    Button& AddButton(std::string name);
    PopupMenu& AddPopupMenu(std::string name);
    // Removes the control from the form. While an event is being dispatched the object
    // lives on until the dispatch ends, since its own handler may be running.
    void DestroyControl(Control& control);
    // Back to front.
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    Control* FindControl(const std::string& name) const;

    // The keyboard focus: the button that has it, or null.
    Button* FocusedButton() const { return focused_; }
    // Gives the form itself the keyboard focus.
    void SetFocus();
    void RedrawNow();

    // Wheel turned by delta notches (negative = down). Returns true when handled.
    std::function<bool(Form& sender, int delta)> onMouseWheel;
    // The user asked to close the form (system menu, Alt+F4).
    std::function<void(Form& sender)> onClose;
    // The form is now shown at another density (Peer().Dpi() gives it), as when its
    // window moved to a screen of another scale.
    std::function<void(Form& sender)> onScaleChanged;

    // Fired by the widgetset.
    bool MouseWheel(int delta);
    void CloseRequested();
    void ScaleChanged();

    // For the controls and the widgetset.
    FormPeer& Peer() { return *peer_; }
    void ControlChanged(Control& control, ControlChange change, const Rect& old);
    void BringToFront(Control& control);
    void SendToBack(Control& control);
    void FocusChanged(Button* focused) { focused_ = focused; }

private:
    template <typename T>
    T& Add(std::string name);
    std::vector<std::unique_ptr<Control>>::iterator Find(const Control& control);

    Application& application_;
    std::string name_;
    FormStyle style_;
    std::string caption_;
    Rect bounds_{0, 0, 235, 135};
    bool visible_ = false;
    bool enabled_ = true;
    std::optional<Region> shape_;
    ui::Font font_;
    PopupMenu* contextMenu_ = nullptr;
    AccessibleElements* accessible_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::uint64_t nextCreationIndex_ = 0;
    std::vector<std::unique_ptr<PopupMenu>> popupMenus_;
    Button* focused_ = nullptr;
    std::unique_ptr<FormPeer> peer_;  // last member: destroyed first
};

}  // namespace ambrevo::ui
