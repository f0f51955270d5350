#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "graphics/bitmap.h"
#include "ui/font.h"
#include "graphics/geometry.h"

namespace ambrevo::ui {

class Form;
class PopupMenu;

enum class ControlKind { Label, Picture, Button };
enum class Cursor { Default, HandPoint, SizeAll };
enum class MouseButton { Left, Right, Middle };

// Key codes of KeyDown, as the platform's virtual keys.
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

struct MouseEvent {
    MouseButton button = MouseButton::Left;
    int x = 0;  // in the receiving control's own coordinates
    int y = 0;
};

// What changed on a control, for the widgetset that shows it.
enum class ControlChange {
    Bounds,
    Visible,
    Caption,
    Font,
    Style,
    Picture,
    Cursor,
    TabStop,
    Enabled,
};

// A child control of a form. The form owns it; the logic sets its properties and binds
// its events, and the widgetset shows it and fires the events. Setting a property to
// the value it has notifies nothing, so repeated state changes cost no repaint.
class Control {
public:
    using Handler = std::function<void(Control& sender)>;
    using MouseHandler = std::function<void(Control& sender, const MouseEvent& event)>;

    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    Form& Owner() const { return owner_; }
    // The order in which the form created its controls: the tab order.
    std::uint64_t CreationIndex() const { return creationIndex_; }

    const Rect& Bounds() const { return bounds_; }
    void SetBounds(const Rect& bounds);
    void SetPosition(int left, int top);
    void SetSize(int width, int height);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    Cursor GetCursor() const { return cursor_; }
    void SetCursor(Cursor cursor);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    PopupMenu* ContextMenu() const { return contextMenu_; }
    void SetContextMenu(PopupMenu* menu) { contextMenu_ = menu; }

    // Z-order among the form's controls.
    void BringToFront();
    void SendToBack();

    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    Handler onClick;

    // Fired by the widgetset.
    void MouseDown(const MouseEvent& event);
    void MouseMove(const MouseEvent& event);
    void MouseUp(const MouseEvent& event);
    void Click();

protected:
    Control(ControlKind kind, Form& owner, std::string name);
    void Changed(ControlChange change);
    // Calls a handler through a copy, so that a handler may rebind itself or have its
    // control destroyed (the form keeps destroyed controls alive until dispatch ends).
    template <typename F, typename... Args>
    void Fire(const F& handler, Args&&... args);

private:
    friend class Form;  // numbers the controls as it creates them

    ControlKind kind_;
    Form& owner_;
    std::string name_;
    std::uint64_t creationIndex_ = 0;
    Rect bounds_;
    bool visible_ = true;
    Cursor cursor_ = Cursor::Default;
    int tag_ = 0;
    PopupMenu* contextMenu_ = nullptr;
};

// Label and Button: a caption with "&" mnemonics, shown in a font.
class TextControl : public Control {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const ui::Font& Font() const { return font_; }
    void SetFont(const ui::Font& font);

protected:
    TextControl(ControlKind kind, Form& owner, std::string name);
    virtual void TextChanged() {}

private:
    std::string caption_;
    ui::Font font_;
};

class Label : public TextControl {
public:
    Label(Form& owner, std::string name);

    ui::Alignment Alignment() const { return alignment_; }
    void SetAlignment(ui::Alignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    // A transparent label shows what lies below it around its letters; an opaque one
    // fills its bounds with the form's colour first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // An auto-sized label takes the size of its text (on one line unless word-wrapped).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

private:
    void TextChanged() override;
    void FitToText();

    ui::Alignment alignment_ = ui::Alignment::Left;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool autoSize_ = true;
};

class Picture : public Control {
public:
    Picture(Form& owner, std::string name);

    // The shown picture, shared with its owner (no pixels are copied); may be null.
    const std::shared_ptr<const Bitmap>& Image() const { return image_; }
    // The same picture drawn for a denser screen, which a widgetset draws in its place
    // there, or null. It takes the place of the image's size in menu pixels.
    const std::shared_ptr<const Bitmap>& DenseImage() const { return denseImage_; }
    void SetImage(std::shared_ptr<const Bitmap> image,
                  std::shared_ptr<const Bitmap> denseImage = nullptr);
    // An auto-sized picture takes its image's size (no image: no space).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

private:
    void FitToImage();

    std::shared_ptr<const Bitmap> image_;
    std::shared_ptr<const Bitmap> denseImage_;
    bool autoSize_ = false;
};

// A native push button: focusable, clicked by mouse, Space, Enter or its mnemonic.
class Button : public TextControl {
public:
    using KeyHandler = std::function<void(Control& sender, int key)>;
    using CharHandler = std::function<void(Control& sender, char character)>;

    Button(Form& owner, std::string name);

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // A disabled button is greyed and takes no clicks, keys or focus.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Gives this button the keyboard focus when it is visible; the widgetset then fires
    // GotFocus.
    void SetFocus();
    bool Focused() const;

    Handler onGotFocus;
    KeyHandler onKeyDown;
    CharHandler onKeyPress;

    // Fired by the widgetset.
    void GotFocus();
    void KeyDown(int key);
    void KeyPress(char character);

private:
    bool tabStop_ = false;
    bool enabled_ = true;
};

}  // namespace ambrevo::ui
