// Program entry of the browser player: the page has loaded it; the package comes from
// package.bin beside the page.
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string_view>

#include "backends/web/bridge/web_host.h"
#include "backends/web/services/web_application_icon.h"
#include "backends/web/services/web_clock.h"
#include "backends/web/services/web_debug_output.h"
#include "backends/web/services/web_dialogs.h"
#include "backends/web/services/web_disc.h"
#include "backends/web/services/web_program_resources.h"
#include "backends/web/services/web_shell_launcher.h"
#include "backends/web/services/web_sound_player.h"
#include "backends/web/services/web_text_decoder.h"
#include "backends/web/services/web_viewer_lookups.h"
#include "backends/web/widgetset/web_widgetset.h"
#include "package/package.h"
#include "startup/player.h"
#include "support/language_codes.h"
#include "support/messages.h"
#include "support/windows_1252.h"
#include "ui/application.h"

namespace ambrevo::web {
namespace {

// The parts of a text between separators, as std::getline gives them (no empty last part).
// Split by hand: a string stream would bring the C++ locales into the player, a quarter of
// the wasm the page loads.
std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(separator), text.size());
        parts.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return parts;
}

// The disc from the page's fetches; nothing when the package could not be fetched, with
// failure saying why.
std::unique_ptr<WebDisc> FetchDisc(std::string& failure) {
    std::size_t size = 0;
    char* files = nullptr;
    unsigned char* program = ambrevo_host_load_site(&size, &files);
    const std::string listed = files ? files : "";
    std::free(files);
    if (!program) {
        failure = listed;
        return nullptr;
    }
    return std::make_unique<WebDisc>(AdoptHostBytes(program, size), Split(listed, '\n'));
}

// The menu the page keeps and wants shown from a rebuilt package, if it wants one now.
std::optional<std::string> ReloadWanted() {
    char* menu = ambrevo_host_take_reload();
    if (!menu) return std::nullopt;
    std::string name = Utf8ToWindows1252(menu);
    std::free(menu);
    return name;
}

// Whether the disc's package has an entry of that name; reads its directory without a word.
bool PackageHolds(WebDisc& disc, std::string name) {
    class Silent : public Dialogs {
        void ShowMessageBox(const std::string&, MessageKind, const std::string&) override {}
    } silent;
    const ProgramInfo info{"D:\\", "setup.exe", kApplicationTitle};
    LoadError error;
    MenuPackage package(disc, silent, info, error);
    package.OpenPackage(info.fileName);
    return !name.empty() && !error.IsSet() && package.HasEntry(name);
}

// The browser's language tags, comma-separated ("de-DE,en"), as ISO 639-1 codes.
std::vector<std::string> LanguageCodes(const std::string& tags) {
    return LanguageCodesOf(Split(tags, ','));
}

// Runs the player from start-up through the message loop to close-down, as the Windows
// program does, with the browser's services. firstArgument: the menu the page kept (UTF-8);
// languages: the browser's language tags.
int RunPlayer(Dialogs& dialogs, const std::string& firstArgument, const std::string& languages) {
    std::string failure;
    const std::unique_ptr<WebDisc> disc = FetchDisc(failure);
    if (!disc) {
        ReportError(dialogs, kApplicationTitle, failure);
        return 1;
    }
    WebApplicationIcon icon;
    WebDebugOutput debug;
    WebClock clock;
    WebSoundPlayer sound(*disc);
    WebProgramResources resources;
    WebTextDecoder text;
    WebWidgetset widgets;
    ui::Application app(widgets, dialogs);
    widgets.Attach(app);
    app.SetTitle(kApplicationTitle);
    WebShellLauncher shell(*disc);
    WebViewerLookups viewerLookups;
    WebVersionInfoReader versions;

    PictureReuse reuse;
    Player player({*disc, dialogs, icon, debug, clock, *disc, sound, resources, text},
                  {shell, viewerLookups, versions}, app,
                  FileVersionInfo{kApplicationTitle, "", "", "", {}}, &reuse);
    // The page keeps the menu on show across its reloads, which may bring a package
    // without it: then the package's first menu shows. A menu's name is bytes, as the
    // package stores it; it crosses to the page and back in Windows-1252, which holds every
    // byte.
    std::string shown;
    widgets.afterPump = [&] {
        debug.Flush();
        if (player.CurrentMenuName() == shown) return;
        shown = player.CurrentMenuName();
        const std::string text = Windows1252ToUtf8(shown);
        ambrevo_host_menu_shown(text.data(), text.size());
    };
    // The authoring tool rebuilt the package: the disc takes the new one in place and the
    // player shows the kept menu from it, without the page reloading. A package that cannot
    // be fetched or read leaves the page to reload itself.
    const std::vector<std::string> languageCodes = LanguageCodes(languages);
    widgets.whenIdle = [&] {
        const std::optional<std::string> menu = ReloadWanted();
        if (!menu) return;
        std::string unused;
        std::unique_ptr<WebDisc> rebuilt = FetchDisc(unused);
        if (rebuilt) *disc = std::move(*rebuilt);
        ambrevo_host_reloaded(rebuilt && player.Reload(*menu, languageCodes));
    };
    const std::string kept = Utf8ToWindows1252(firstArgument);
    const std::string first = PackageHolds(*disc, kept) ? kept : "";
    const bool started =
        player.Start({WebDisc::kProgramPath, first, languageCodes}) && !app.Terminated();
    if (started) app.Run();
    player.CloseDown();
    return started ? 0 : 1;
}

}  // namespace
}  // namespace ambrevo::web

int main(int argc, char** argv) {
    using namespace ambrevo;
    web::WebDialogs dialogs;
    int status = 1;
    try {
        status = web::RunPlayer(dialogs, argc > 1 ? argv[1] : "", argc > 2 ? argv[2] : "");
    } catch (const std::exception& error) {
        ReportError(dialogs, kApplicationTitle, error.what());
    } catch (...) {
        ReportError(dialogs, kApplicationTitle, "Unexpected error");
    }
    ambrevo_host_menu_ended();
    return status;
}
