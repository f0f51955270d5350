#pragma once

#include <string>

#include "menu/menu_fields.h"
#include "menu/menu_model.h"
#include "package/package.h"
#include "services/clock.h"
#include "services/debug_output.h"
#include "services/dialogs.h"
#include "services/text_decoder.h"
#include "support/program_info.h"

namespace ambrevo {

class PictureReuse;

inline constexpr char kMenuNotReadMessage[] = "Menu could not be read.";
inline constexpr char kBinaryDataMessage[] = "Error loading binary menu data.";
inline constexpr char kExpiryCaption[] = "Expiration Information";

// What the menu load needs of the window that shows the menu. The window holds the
// MenuDefinition of the menu on show; the load reads each value into it and has the
// window apply it at once.
class MenuWindow {
public:
    virtual ~MenuWindow() = default;

    virtual MenuDefinition& Definition() = 0;
    // The load begins: no highlighted item, name becomes the current menu name, the
    // window hides.
    virtual void BeginLoad(const std::string& name) = 0;
    // True when a menu with a background picture is on show.
    virtual bool HasBackground() const = 0;
    // The pixels per inch of the window's screen: above 96 the load also takes the
    // pictures the package holds for a denser screen.
    virtual int Dpi() const = 0;
    // Once the new menu's header has passed: destroys the item controls, releases the
    // pictures and resets the item states. Definition() then holds an empty menu.
    virtual void ClearMenu() = 0;
    // A window-level field has just been read into Definition().
    virtual void ApplyWindowField(WindowField field) = 0;
    // Creates item n's four controls and resets its stored fields, before its fields are
    // read: all four, or when it throws none. Then each field as it has been read, and
    // the whole item once read.
    virtual void CreateItemControls(int n) = 0;
    virtual void ApplyItemField(int n, ItemField field) = 0;
    virtual void FinishItem(int n) = 0;
    // Once the body is read: clock texts, background, placement and shape; each item's
    // control; then the window shows and the animation and title timers take the menu's
    // settings.
    virtual void FinishWindow() = 0;
    virtual void ShowItem(int n) = 0;
    virtual void ShowMenu() = 0;
    // The menu in place: pending messages, menuShown, pending messages, the initial
    // highlight and the default description.
    virtual void PresentMenu() = 0;
    // A load that ended early: the earlier menu shows again.
    virtual void ShowPreviousMenu() = 0;
    // No menu can be shown: the program ends.
    virtual void EndProgram() = 0;
};

// The process-wide services the menu load uses.
struct MenuLoadServices {
    MenuPackage& package;
    const ProgramInfo& program;
    Dialogs& dialogs;
    DebugOutput& debug;
    Clock& clock;
    // Decodes the menus' texts into UTF-8; null keeps the stored bytes.
    TextDecoder* text = nullptr;
    // Keeps the pictures of the menu on show for a load of it from a rebuilt package; null
    // decodes every picture.
    PictureReuse* reuse = nullptr;
};

// Replaces the menu on show with the package entry name (matched lower-cased). Damaged
// data gives its messages and never unwinds; a damaged compressed picture (AppError)
// unwinds after the window shows what was read. When the entry cannot be read the
// earlier menu shows again, or, with none yet, the program ends; so too when the program
// file cannot be opened or read, after the error's message.
void LoadMenu(const std::string& name, const MenuLoadServices& services, MenuWindow& window);

// The window of menu name now shows at window.Dpi(): its pictures for a denser screen are
// chosen again for it, from the package (none at 96 DPI). Nothing while a menu is being
// read, since that load chooses for the window's DPI at its end. When the program file
// cannot be read now, the menu keeps its 1x pictures alone; never a message.
void ReloadDensePictures(const std::string& name, const MenuLoadServices& services,
                         MenuWindow& window);

}  // namespace ambrevo
