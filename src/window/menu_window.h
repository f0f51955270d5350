#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "actions/action_window.h"
#include "actions/item_launcher.h"
#include "menu/menu_load.h"
#include "support/sound_effects.h"
#include "ui/application.h"
#include "ui/timer.h"
#include "window/item_animation.h"

namespace ambrevo {

// Which set an item shows and where its animation stands. None of it is in the menu file.
struct ItemState {
    PictureSet set = PictureSet::Normal;
    FramePosition position;
};

// The four controls of one item. The picture's tag holds the set whose frame 0 it was
// last given (-1 forces a reload).
struct ItemControls {
    ui::Label* label = nullptr;      // LblBtn: a text item
    ui::Button* button = nullptr;    // WinBtn: a push-button item
    ui::Picture* picture = nullptr;  // ImgBtn: a picture item
    ui::Button* keyProxy = nullptr;  // KeyBtn: focus and mnemonic of picture and text items
};

// The fixed parts of the window, built once. The description picture's tag holds the
// item whose Description frame 0 it was last given (0 = none).
struct WindowParts {
    ui::Picture* background = nullptr;          // MenBck
    ui::Picture* descriptionPicture = nullptr;  // imgAccText
    ui::Label* descriptionShadow = nullptr;     // lblAccTextShadow
    ui::Label* description = nullptr;           // lblAccText
    ui::Label* time = nullptr;                  // lblTime
    ui::Label* date = nullptr;                  // lblDate
};

// The menu window: a borderless form skinned by the menu's pictures, with the controls of
// up to 100 items, a description area, a clock and date, frame animation and a scrolling
// title. It shows the menu that LoadMenu puts into it and lives for the whole run.
class TfrmMenuCls : public MenuWindow, public ActionWindow {
public:
    // Creates the hidden form "frmMenu", its context menu and its six timers, all stopped.
    // sounds gives the select sound of a highlighted item.
    TfrmMenuCls(ui::Application& app, const MenuLoadServices& services, SoundEffects& sounds);
    // Destroys the form with everything on it; the application must still exist.
    ~TfrmMenuCls() override;
    TfrmMenuCls(const TfrmMenuCls&) = delete;
    TfrmMenuCls& operator=(const TfrmMenuCls&) = delete;

    // The fixed parts (background, description area, clock and date) and the clock timer.
    // Once, before the first LoadMenu: the menu load works on these parts.
    void BuildWindowParts();
    // Replaces the menu on show with the package entry name.
    void LoadMenu(const std::string& name) override;
    // Seeds the random frames of animation mode 1.
    void SeedRandom(std::uint32_t seed) { random_.seed(seed); }
    // Gives the window back its plain rectangle, first thing at close-down.
    void ReleaseRegion();
    ui::Form& Form() { return form_; }
    // The context menu's "About" entry.
    std::function<void()> onAbout;
    // Carries out the items the user chooses; null (the start) chooses nothing. Not owned.
    void SetItemLauncher(ItemLauncher* launcher) { launcher_ = launcher; }

    // Puts item n into set, showing its frame 0 when the set has one, and restarts its
    // animation there; withDescription also shows the item's description. Nothing before
    // the first menu has been shown, or for a number that is no item.
    void SetItemState(int n, PictureSet set, bool withDescription);
    // Moves the highlight to item n, or removes it for n below 1; a number beyond the
    // menu's items changes nothing. A call nested inside its own message processing
    // returns at once.
    void HighlightItem(int n);
    // The description of item n, or for a number that is no item (-2) the menu's default
    // text without a picture.
    void ShowItemDescription(int n);
    // One animation step of every item and of the description picture.
    void AnimateItems();
    // Gives item n the keyboard focus: its key proxy where visible, else its push button.
    void FocusItem(int n);
    // Launches item n as Enter does on it, shown pressed; nothing for a number that is no
    // item.
    void PressItem(int n);

    // Read access for start-up and tests.
    int ItemCount() const { return itemCount_; }
    int SelectedItem() const { return selectedItem_; }
    int HighlightedItem() const { return highlightedItem_; }
    // The item assistive technology was last told has the focus; 0 since a menu switch.
    int AnnouncedItem() const { return announcedItem_; }
    bool MenuShown() const { return menuShown_; }
    const std::string& CurrentMenuName() const override { return menuName_; }
    // n is 1..100.
    const ItemState& StateOf(int n) const { return states_[static_cast<std::size_t>(n)]; }
    const ItemControls& ControlsOf(int n) const { return controls_[static_cast<std::size_t>(n)]; }
    const WindowParts& Parts() const { return parts_; }
    int MarqueePosition() const { return marqueePosition_; }
    const std::string& MarqueeText() const { return marqueeText_; }
    const ui::Timer& ClockTimer() const { return clockTimer_; }
    const ui::Timer& AnimationTimer() const { return animationTimer_; }
    const ui::Timer& TitleTimer() const { return titleTimer_; }
    const ui::Timer& ClickTimer() const { return clickTimer_; }

    // MenuWindow
    MenuDefinition& Definition() override { return def_; }
    void BeginLoad(const std::string& name) override;
    bool HasBackground() const override;
    int Dpi() const override { return form_.Peer().Dpi(); }
    void ClearMenu() override;
    void ApplyWindowField(WindowField field) override;
    void CreateItemControls(int n) override;
    void ApplyItemField(int n, ItemField field) override;
    void FinishItem(int n) override;
    void FinishWindow() override;
    void ShowItem(int n) override;
    void ShowMenu() override;
    void PresentMenu() override;
    void ShowPreviousMenu() override;
    void EndProgram() override;

    // ActionWindow (window_actions.cpp)
    const MenuItem* ItemAt(int n) const override;
    void Hide() override;
    void SetEnabled(bool enabled) override;
    void StartExitTimer() override;
    void WatchProcess(std::unique_ptr<LaunchedProcess> process) override;

private:
    // Calls a member function from a control's or timer's event slot.
    template <typename... Args>
    auto Handler(void (TfrmMenuCls::*method)(Args...)) {
        return [this, method](Args... args) { (this->*method)(args...); };
    }

    bool IsItem(int n) const { return n >= 1 && n <= itemCount_; }
    const MenuItem& Item(int n) const { return def_.items[static_cast<std::size_t>(n - 1)]; }
    ItemControls& Controls(int n) { return controls_[static_cast<std::size_t>(n)]; }
    // Gives the control the slot's picture, with its form for a denser screen if any.
    void ShowPicture(ui::Picture& control, int record, int set, int frame);
    // The window moved to a screen of another density: the pictures for it are chosen again
    // and every picture on show takes its own.
    void ShowPicturesForScale();

    // Window fields, shape and clock (window_fields.cpp).
    void ApplyDescriptionFont(const std::function<void(ui::Font&)>& change);
    void ApplyWindowShape();
    void ShowClockTexts();

    // Item controls (item_controls.cpp).
    void AddItemControls(int n, ItemControls& made);
    void DestroyItemControls(int n);
    void MoveItem(int n);
    void SizeItem(int n);
    void ApplyLabelCaption(int n);

    // Item states and animation (item_states.cpp, item_animation.cpp).
    void PlaySelectSound(int n);
    void SelectAndHighlight(int n);
    // Tells assistive technology that item n is the focused one, once per move.
    void AnnounceFocus(int n);
    void AnimateItem(int n);
    void AnimateDescriptionPicture();

    // Timers (window_timers.cpp).
    void BindTimers();
    void Timer1_Timer(ui::Timer& sender);
    void Timer3_Timer(ui::Timer& sender);
    void Timer4_Timer(ui::Timer& sender);
    void Timer5Timer(ui::Timer& sender);
    void Timer2Timer(ui::Timer& sender);
    void tmrARstr_Timer(ui::Timer& sender);

    // Input (window_input.cpp).
    void LaunchItem(int n);
    void MenBckMouseDown(ui::Control& sender, const ui::MouseEvent& event);
    void MenBckMouseMove(ui::Control& sender, const ui::MouseEvent& event);
    void MenBckMouseUp(ui::Control& sender, const ui::MouseEvent& event);
    void AccTextMouseMove(ui::Control& sender, const ui::MouseEvent& event);
    void lblAccText_MouseMove(ui::Control& sender, const ui::MouseEvent& event);
    void picButton_MouseDown(ui::Control& sender, const ui::MouseEvent& event);
    void picButton_MouseMove(ui::Control& sender, const ui::MouseEvent& event);
    void picButton_MouseUp(ui::Control& sender, const ui::MouseEvent& event);
    void cmdButton_MouseMove(ui::Control& sender, const ui::MouseEvent& event);
    void cmdButton_Click(ui::Control& sender);
    void cmdButton_GotFocus(ui::Control& sender);
    void btnShortcut_GotFocus(ui::Control& sender);

    // Keys and wheel (window_keys.cpp).
    void BindWheel();
    // Moves selectedItem one item on (step 1) or back (step -1), wrapping at the ends.
    void StepSelection(int step);
    // Launches item n, shown pressed, and then shows it highlighted again unless the action
    // replaced the menu.
    void LaunchPressedItem(int n);
    void btnShortcut_Click(ui::Control& sender);
    void btnShortcutKeyDown(ui::Control& sender, int key);
    void cmdButton_KeyDown(ui::Control& sender, int key);
    void btnShortcutKeyPress(ui::Control& sender, char character);
    void FormMouseWheelDown(ui::Form& sender, bool& handled);
    void FormMouseWheelUp(ui::Form& sender, bool& handled);
    void About1Click();

    ui::Application& app_;
    MenuLoadServices services_;
    SoundEffects& sounds_;
    ui::Form& form_;
    // The controls are named as the window resources name them ("PopupMenu1", "Timer1", ...).
    ui::PopupMenu& contextMenu_;
    ui::Timer processWatchTimer_;  // brings the menu back once a launched program ends
    ui::Timer clockTimer_;
    ui::Timer exitTimer_;  // ends the program shortly after a launch that exits
    ui::Timer animationTimer_;
    ui::Timer titleTimer_;  // scrolls the title
    ui::Timer clickTimer_;  // launches a clicked item after a short delay
    WindowParts parts_;

    MenuDefinition def_;
    std::string menuName_;
    int itemCount_ = 0;                                   // items whose controls exist
    std::array<ItemControls, kMaxItems + 1> controls_{};  // [0] unused
    std::array<ItemState, kMaxItems + 1> states_{};       // [0] unused

    bool menuShown_ = false;
    int selectedItem_ = 0;
    int announcedItem_ = 0;
    int highlightedItem_ = 0;
    int highlightBeforeLoad_ = 0;  // restored when a load ends early
    bool highlightBusy_ = false;
    bool backgroundMoveBusy_ = false;
    bool regionApplied_ = false;
    int descriptionFrame_ = 0;
    std::mt19937 random_;

    ItemLauncher* launcher_ = nullptr;
    int menuLoads_ = 0;  // menus read in so far: tells a handler that its items were replaced
    int pendingClickItem_ = 0;
    int dragState_ = 0;            // 2 while the background is dragged
    ui::Point dragOrigin_;         // where in the window the drag was pressed
    ui::Point lastMousePosition_;  // on the screen, as the background's moves last saw it

    std::unique_ptr<LaunchedProcess> launchedProcess_;  // watched by the process watch timer

    std::string marqueeText_;
    int marqueePosition_ = 0;
};

}  // namespace ambrevo
