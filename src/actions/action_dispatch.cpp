#include "actions/action_dispatch.h"

#include <utility>

#include "actions/missing_target_search.h"
#include "actions/policy_refusal.h"
#include "actions/target_paths.h"
#include "actions/viewer_detection.h"
#include "support/ascii.h"
#include "support/busy_flag.h"
#include "support/messages.h"

namespace ambrevo {
namespace {

constexpr char kHiddenRunMarker[] = "%NOPROC%";
constexpr std::size_t kHiddenRunMarkerLength = sizeof kHiddenRunMarker - 1;

bool EndsWithBackslash(const std::string& text) { return !text.empty() && text.back() == '\\'; }

// Documents of this kind open in the program associated with them, given as its parameter.
bool IsPdxDocument(const std::string& file) {
    return file.size() >= 3 && AsciiLower(std::string_view(file).substr(file.size() - 3)) == "pdx";
}

int ShowCommandOf(std::int32_t showMode) {
    if (showMode == 0) return kShowNormal;
    if (showMode == 1 || showMode == -1) return kShowMaximized;
    return kShowHide;
}

}  // namespace

ActionDispatch::ActionDispatch(const ActionServices& services, ActionWindow& window)
    : services_(services), window_(window) {}

void ActionDispatch::LaunchItem(int n) {
    const int menuLoads = menuLoads_;
    services_.app.ProcessMessages();
    // An action that those messages ran to its end may have put another menu on show:
    // item n of that menu is not what was chosen.
    if (actionBusy_ || menuLoads_ != menuLoads) return;
    const MenuItem* stored = window_.ItemAt(n);
    if (stored == nullptr) return;
    // A copy: a menu switch inside the action replaces the menu that holds the item.
    const MenuItem item = *stored;
    // Held until the action ends, however it ends; given up earlier where the action lets
    // a nested one run again.
    const BusyFlag busy(actionBusy_);
    services_.sounds.ClearClickSoundPlayed();
    RunAction(n, item);
}

void ActionDispatch::RunAction(int n, const MenuItem& item) {
    const std::string& target = item.target;
    if (target.compare(0, kHiddenRunMarkerLength, kHiddenRunMarker) == 0) {
        HiddenRun(n, item);
    } else if (target == "*") {
        services_.sounds.PlayNoActionSound();
    } else if (!target.empty() && target.front() == '$') {
        ShowMessageTarget(n, item);
    } else if (IsMenuTarget(target)) {
        SwitchMenu(n, item);
    } else if (target.empty()) {
        // Nothing to open: an exit or minimise button. Its click does not hold it up.
        PlayClick(n, false);
        FinishLaunch(item);
    } else {
        ShellLaunch(n, item);
    }
}

void ActionDispatch::HiddenRun(int n, const MenuItem& item) {
    Launch launch;
    launch.file =
        ExpandCdVariable(item.target.substr(kHiddenRunMarkerLength), services_.program.folder);
    launch.folder = FolderPart(launch.file);
    CallShell(n, item, launch, "open", kShowHide);
}

void ActionDispatch::ShowMessageTarget(int n, const MenuItem& item) {
    const std::string text = PilcrowsToLineBreaks(item.target);
    PlayClick(n, true);
    ShowMessage(services_.dialogs, text.substr(1), MessageKind::Information,
                services_.program.messageCaption);
    ReleaseBusy();
    FinishLaunch(item);
}

void ActionDispatch::SwitchMenu(int n, const MenuItem& item) {
    PlayClick(n, true);
    std::string name = item.StoredTarget();
    if (services_.package.HasEntry(name)) {  // lower-cases name
        LoadMenu(name);
        ReleaseBusy();
        services_.app.ProcessMessages();
        services_.sounds.PlayChangeSound(name);
    } else {
        ShowMessage(services_.dialogs, std::string(kMenuNotFoundMessage) + "\r" + name,
                    MessageKind::Warning, services_.program.messageCaption);
        ReleaseBusy();
    }
}

void ActionDispatch::ShellLaunch(int n, const MenuItem& item) {
    Launch launch;
    launch.parameters = ExpandCdVariable(item.parameters, services_.program.folder);
    launch.file = ResolveFileTarget(item.target, services_.program.folder);

    if (IsFileTarget(launch.file)) {
        // A path written in double quotes is looked for and worked in without them; the
        // shell gets it quoted, as written.
        const bool quoted = IsQuotedPath(launch.file);
        std::string path = UnquotedPath(launch.file);
        if (!EndsWithBackslash(path) && !FileExists(path)) {
            PlayClick(n, true);  // before the search, which can take long
            path = services_.search.FindMissingTarget(path);
            // The menu was closed while the search ran, which cancelled it: nothing more.
            if (services_.app.Terminated()) return;
            launch.file = quoted ? '"' + path + '"' : path;
        }
        launch.folder = FolderPart(path);
    }

    if (item.checkViewer == 1 && !services_.viewer.CheckViewer(item, launch.file)) {
        OpenFallbackMenu(item, launch.file);
        return;
    }

    if (IsWebTarget(launch.file)) {
        // The browser gets the address as its parameter; the item's own are dropped.
        launch.parameters = launch.file;
        launch.file = services_.viewer.FindDefaultBrowser(launch.parameters);
        if (launch.file.empty()) std::swap(launch.file, launch.parameters);
    }

    if (IsPdxDocument(launch.file)) {
        launch.parameters = launch.file;
        launch.file = services_.viewer.FindAssociatedProgram(launch.parameters);
        if (launch.file.empty()) {
            std::swap(launch.file, launch.parameters);
        } else {
            launch.folder = FolderPart(launch.file);
        }
    }

    const bool folder = EndsWithBackslash(launch.file);
    // Mail programs and folder windows are not waited for: they often outlive the task.
    if (IsMailTarget(launch.file) || folder) launch.watchProcess = false;
    launch.parameters = QuoteParameters(launch.parameters, launch.file);
    CallShell(n, item, launch, folder ? "explore" : "open", ShowCommandOf(item.showMode));
}

void ActionDispatch::CallShell(int n, const MenuItem& item, Launch& launch, const std::string& verb,
                               int showCommand) {
    ShellResult result = services_.shell.Launch(
        {verb, launch.file, launch.parameters, launch.folder, showCommand, item.exitAfterLaunch});
    services_.app.ProcessMessages();
    PlayClick(n, launch.waitForClick);

    if (!result.succeeded && result.cancelled) {
        // Nothing started, so the menu neither exits nor minimises: it stays for another try.
        window_.SetEnabled(true);
        ReleaseBusy();
        return;
    }
    if (!result.succeeded && ReportPolicyRefusal(result, launch.file)) {
        window_.SetEnabled(true);
        ReleaseBusy();
        return;
    }
    if (!result.succeeded && result.errorCode == kShellFileNotFound) {
        if (services_.switches.showFileNotFoundMessage) {
            const std::string& caption = services_.program.messageCaption;
            ShowMessage(services_.dialogs, caption + kFileNotFoundMessage + "\r\r" + item.target,
                        MessageKind::Information, caption);
        }
        window_.SetEnabled(true);
        ReleaseBusy();
        return;
    }
    if (!result.succeeded && result.errorCode == kShellNoAssociation) {
        OpenFallbackMenu(item, launch.file);
        return;
    }
    // Other failures go on as after success. A process that is not watched is released
    // here, with the result.
    if (item.autoRestore && launch.watchProcess) window_.WatchProcess(std::move(result.process));
    FinishLaunch(item);
}

bool ActionDispatch::ReportPolicyRefusal(const ShellResult& result, const std::string& file) {
    const std::optional<std::string_view> name = PolicyRefusalName(result.systemError);
    if (!name) return false;
    DebugTrace(services_.debug, "Windows refused to run " + file + ": error " +
                                    std::to_string(result.systemError) + " (" + std::string(*name) +
                                    "), shell error " + std::to_string(result.errorCode));
    const std::string& caption = services_.program.messageCaption;
    ShowMessage(services_.dialogs, caption + kRefusedByPolicyMessage + "\r\r" + file,
                MessageKind::Warning, caption);
    return true;
}

// A disc can carry a menu per document type, shown when such a document cannot be opened.
void ActionDispatch::OpenFallbackMenu(const MenuItem& item, const std::string& file) {
    std::string name = FallbackMenuName(file);
    if (services_.package.HasEntry(name)) {
        window_.SetEnabled(false);
        window_.SetEnabled(true);
        LoadMenu(name);
        services_.app.ProcessMessages();
        services_.sounds.PlayChangeSound(name);
    } else if (services_.switches.showNoViewerMessage) {
        ShowMessage(services_.dialogs, std::string(kNoViewerMessage) + "\r\n\r\n" + item.target,
                    MessageKind::Warning, services_.program.messageCaption);
    }
    ReleaseBusy();
}

void ActionDispatch::FinishLaunch(const MenuItem& item) {
    ui::Application& app = services_.app;
    app.ProcessMessages();
    if (item.exitAfterLaunch) {
        window_.Hide();
        app.ProcessMessages();
        ReleaseBusy();
        window_.StartExitTimer();
        app.Terminate();
        return;
    }
    if (item.minimizeAfterLaunch) app.Minimize();
    app.ProcessMessages();
    ReleaseBusy();
}

void ActionDispatch::LoadMenu(const std::string& name) {
    ++menuLoads_;
    window_.LoadMenu(name);
}

void ActionDispatch::PlayClick(int n, bool wait) {
    services_.sounds.PlayClickSound(window_.CurrentMenuName(), n, wait);
}

// Files of any attributes count, folders do not; a relative path is taken from the
// working folder.
bool ActionDispatch::FileExists(const std::string& path) {
    const auto attributes = services_.files.Attributes(path);
    return attributes && !attributes->directory;
}

}  // namespace ambrevo
