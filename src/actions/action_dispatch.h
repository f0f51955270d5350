#pragma once

#include <memory>
#include <string>

#include "actions/action_window.h"
#include "actions/item_launcher.h"
#include "menu/menu_model.h"
#include "package/package.h"
#include "services/debug_output.h"
#include "services/dialogs.h"
#include "services/file_finder.h"
#include "services/shell_launcher.h"
#include "support/message_switches.h"
#include "support/program_info.h"
#include "support/sound_effects.h"
#include "ui/application.h"

namespace ambrevo {

class MissingTargetSearch;
class ViewerDetection;

inline constexpr char kMenuNotFoundMessage[] = "Could not find menu:";
inline constexpr char kFileNotFoundMessage[] = " cannot find the specified file:";
inline constexpr char kNoViewerMessage[] =
    "You do not appear to have a suitable viewer (or version) able to open the file:";
inline constexpr char kRefusedByPolicyMessage[] =
    " could not open the file: Windows' security settings refused to run it:";

// The process-wide services the actions use.
struct ActionServices {
    ui::Application& app;
    Dialogs& dialogs;
    const ProgramInfo& program;
    const MessageSwitches& switches;
    const MenuPackage& package;
    SoundEffects& sounds;
    ShellLauncher& shell;
    DebugOutput& debug;
    FileFinder& files;
    MissingTargetSearch& search;
    ViewerDetection& viewer;
};

// Carries out what a menu item stands for: a hidden run, nothing but a sound, a message, a
// switch to another menu of the package, or a shell launch of a file, folder, web or mail
// address, with the target's path conventions, the search for a moved target, the viewer
// check, and afterwards the exit, minimise or watch the item asks for. One action at a
// time: a request while one runs (from messages processed inside it) is dropped, and so is
// a request whose menu was replaced by an action those messages ran.
class ActionDispatch : public ItemLauncher {
public:
    ActionDispatch(const ActionServices& services, ActionWindow& window);

    void LaunchItem(int n) override;
    bool Busy() const { return actionBusy_; }

private:
    // Working values of one shell launch.
    struct Launch {
        std::string file;
        std::string parameters;
        std::string folder;
        bool waitForClick = true;
        bool watchProcess = true;
    };
    void RunAction(int n, const MenuItem& item);
    void HiddenRun(int n, const MenuItem& item);
    void ShowMessageTarget(int n, const MenuItem& item);
    void SwitchMenu(int n, const MenuItem& item);
    void ShellLaunch(int n, const MenuItem& item);
    // Runs the shell request and what follows it, for shell launches and hidden runs.
    void CallShell(int n, const MenuItem& item, Launch& launch, const std::string& verb,
                   int showCommand);
    // Tells the user that Windows refused to run file, when the failure was such a refusal.
    bool ReportPolicyRefusal(const ShellResult& result, const std::string& file);
    void OpenFallbackMenu(const MenuItem& item, const std::string& file);
    void FinishLaunch(const MenuItem& item);
    // Every menu switch of the actions goes through here, so that they can be counted.
    void LoadMenu(const std::string& name);
    void PlayClick(int n, bool wait);
    // Lets the next action start, from a point where this one may be re-entered.
    void ReleaseBusy() { actionBusy_ = false; }
    bool FileExists(const std::string& path);

    ActionServices services_;
    ActionWindow& window_;
    bool actionBusy_ = false;
    int menuLoads_ = 0;  // menus put on show so far
};

}  // namespace ambrevo
