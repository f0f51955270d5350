// ambrevo-pack: builds a player with its menu package from TOML and PNG sources (build),
// reports the sources' problems (check), lists and extracts built packages (list,
// extract), draws a menu as a picture (preview), shows it in a browser (serve), designs it
// there (edit, or without a command from a start page that opens in the browser), writes its
// browser page as static files (web) and makes a new disc from a template (new).

#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/editor/edit_command.h"
#include "pack/text/close_names.h"
#include "pack/page/web_commands.h"
#include "pack/start/browser_opener.h"
#include "pack/start/disc_templates.h"
#include "pack/start/new_disc_command.h"
#include "pack/start/start_command.h"

namespace {

using namespace ambrevo::pack;

constexpr int kUsageError = 2;

// What runs the command the arguments chose, once they are parsed.
using Command = std::function<int()>;

// A first argument that is no option and names no command: CLI11 would only say that it
// was not expected.
std::optional<std::string> UnknownCommand(const CLI::App& app, int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') return std::nullopt;
    const std::string given = argv[1];
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands({})) {
        if (command->get_name() == given) return std::nullopt;
        names.push_back(command->get_name());
    }
    std::string message = "unknown command '" + given + "'";
    if (const std::optional<std::string> meant = ClosestName(given, names)) {
        message += "; did you mean '" + *meant + "'?";
    }
    return message;
}

// Command-line texts are in the system's narrow encoding, which path construction expects.
std::vector<std::filesystem::path> Paths(const std::vector<std::string>& texts) {
    return {texts.begin(), texts.end()};
}

// An option's path, when it was given.
std::optional<std::filesystem::path> OptionalPath(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return std::filesystem::path(text);
}

std::optional<std::string> OptionalText(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return text;
}

// The options of the commands that show the page: serve, edit and web.
struct PageArguments {
    std::string source;
    std::string disc;
    std::string site;
    int port = 0;
    CLI::Option* portOption = nullptr;  // only for the commands that serve

    WebOptions Options() const { return {source, OptionalPath(disc), OptionalPath(site)}; }
    std::optional<int> Port() const {
        return portOption && portOption->count() > 0 ? std::optional<int>(port) : std::nullopt;
    }
};

void AddPageOptions(CLI::App& command, PageArguments& page, const std::string& sourceHelp,
                    bool serves) {
    command.add_option("source", page.source, sourceHelp)->required();
    if (serves) {
        page.portOption = command.add_option(
            "--port", page.port,
            "The port (default: 8080, or a free one when it is taken; 0: a free one)");
    }
    command.add_option("--disc", page.disc, "The folder of the files beside the menu");
    command.add_option("--site", page.site, "The folder of the browser player's page");
}

Command AddBuild(CLI::App& app) {
    struct Arguments {
        std::vector<std::string> sources;
        std::string player;
        std::string output;
        bool quiet = false;
        bool strict = false;
        std::string autorunLabel;
        std::string autorunAction;
        CLI::Option* autorun = nullptr;
        CLI::Option* action = nullptr;
        std::string disc;
        std::string certificate;
        std::string timestamp;
        bool signDisc = false;
        std::string label;
        std::string iso;
        std::string usb;
        int bits = 32;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* build = app.add_subcommand(
        "build",
        "Append the menus of SOURCE (menu TOML files, or one package.toml) to a copy "
        "of the bare player");
    build
        ->add_option("sources", arguments->sources,
                     "Menu TOML files in package order, or package.toml")
        ->required();
    CLI::Option* player = build->add_option(
        "--player", arguments->player,
        "The bare player program (default: the player this tool carries, see --bits)");
    build
        ->add_option("--bits", arguments->bits,
                     "Build on the carried 32-bit (default) or 64-bit player")
        ->check(CLI::IsMember({32, 64}))
        ->excludes(player);
    build->add_option("-o,--output", arguments->output, "The program file to write")->required();
    build->add_flag("-q,--quiet", arguments->quiet, "No progress lines");
    build->add_flag("--strict", arguments->strict, "Treat warnings as errors");
    arguments->autorun = build->add_option(
        "--autorun", arguments->autorunLabel,
        "Also write autorun.inf beside the output, naming the disc LABEL (Windows runs it "
        "from CDs and DVDs only)");
    arguments->action =
        build->add_option("--autorun-action", arguments->autorunAction,
                          "The AutoPlay text for running the disc (default: \"Run LABEL\")");
    arguments->action->needs(arguments->autorun);
    build
        ->add_option("--label", arguments->label,
                     "Name the disc LABEL for --iso and --usb without writing autorun.inf")
        ->excludes(arguments->autorun);
    build->add_option("--iso", arguments->iso,
                      "Also write an ISO image of the disc (the program, autorun.inf and the "
                      "disc folder's files), named by --autorun or --label");
    build->add_option("--usb", arguments->usb,
                      "Also copy the disc into this folder for a USB stick, the program as "
                      "\"Start LABEL.exe\"");
    build->add_option("--disc", arguments->disc,
                      "The folder of the files beside the menu, whose programs are checked");
    CLI::Option* sign = build->add_option(
        "--sign", arguments->certificate,
        "Sign the program with this code-signing certificate (a .pfx file); its password "
        "comes from AMBREVO_SIGN_PASSWORD or is asked for");
    build
        ->add_option("--timestamp", arguments->timestamp,
                     "Time-stamp the signature at this RFC 3161 URL")
        ->needs(sign);
    build
        ->add_flag("--sign-disc", arguments->signDisc,
                   "Also sign the unsigned programs of the disc folder that you own")
        ->needs(sign);
    return [arguments] {
        const Arguments& given = *arguments;
        std::optional<AutorunTexts> autorun;
        if (given.autorun->count() > 0) {
            autorun = AutorunTexts{given.autorunLabel, std::nullopt};
            if (given.action->count() > 0) autorun->action = given.autorunAction;
        }
        return RunBuild(
            {Paths(given.sources), OptionalPath(given.player), given.output, given.quiet, autorun,
             given.strict, OptionalPath(given.disc), OptionalPath(given.certificate),
             OptionalText(given.timestamp), given.signDisc, OptionalText(given.label),
             OptionalPath(given.iso), OptionalPath(given.usb), given.bits},
            std::cerr);
    };
}

Command AddCheck(CLI::App& app) {
    struct Arguments {
        std::vector<std::string> sources;
        bool strict = false;
        std::string disc;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* check = app.add_subcommand("check", "Report every problem of the sources");
    check->add_option("sources", arguments->sources, "Menu TOML files, or package.toml")
        ->required();
    check->add_flag("--strict", arguments->strict, "Treat warnings as errors");
    check->add_option("--disc", arguments->disc,
                      "The folder of the files beside the menu, whose programs are checked");
    return [arguments] {
        return RunCheck(Paths(arguments->sources), std::cout, std::cerr, arguments->strict,
                        OptionalPath(arguments->disc));
    };
}

Command AddList(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    CLI::App* list = app.add_subcommand("list", "Show the package of a built program");
    list->add_option("file", *file, "A program built by ambrevo-pack")->required();
    return [file] { return RunList(*file, std::cout, std::cerr); };
}

Command AddExtract(CLI::App& app) {
    struct Arguments {
        std::string file;
        std::string folder;
        std::string playerCopy;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* extract = app.add_subcommand(
        "extract", "Write the package of a built program back as TOML and PNG sources");
    extract->add_option("file", arguments->file, "A program built by ambrevo-pack")->required();
    extract->add_option("-o,--output", arguments->folder, "A new or empty folder for the sources")
        ->required();
    extract->add_option("--player-out,--player", arguments->playerCopy,
                        "Also save the bare player to this file");
    return [arguments] {
        return RunExtract(arguments->file, arguments->folder, OptionalPath(arguments->playerCopy),
                          std::cerr);
    };
}

Command AddPreview(CLI::App& app) {
    struct Arguments {
        std::string source;
        std::string output;
        std::string menu;
        int highlight = 0;
        std::string scale = "1";
        CLI::Option* menuOption = nullptr;
        CLI::Option* highlightOption = nullptr;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* preview = app.add_subcommand(
        "preview",
        "Draw a menu as the player shows it when it opens, as a PNG with the window's "
        "shape transparent. Texts are drawn with a free font of about the size asked for, "
        "so their look is approximate");
    preview
        ->add_option("source", arguments->source,
                     "package.toml, a menu TOML file or a built program")
        ->required();
    preview->add_option("-o,--output", arguments->output, "The PNG file to write")->required();
    arguments->menuOption =
        preview->add_option("--menu", arguments->menu, "The menu to draw (default: the first)");
    arguments->highlightOption =
        preview->add_option("--highlight", arguments->highlight,
                            "Draw item N highlighted (default: the menu's initial item)");
    preview
        ->add_option("--scale", arguments->scale,
                     "Draw at 1.5 or 2 times the size, as on a screen of that scale: with the "
                     "pictures drawn for it (name@2x.png), else the 1x ones scaled smoothly")
        ->check(CLI::IsMember({"1", "1.5", "2"}));
    return [arguments] {
        const Arguments& given = *arguments;
        PreviewOptions options{given.source, given.output, {}, {}, nullptr};
        if (given.menuOption->count() > 0) options.menu = given.menu;
        if (given.highlightOption->count() > 0) options.highlight = given.highlight;
        for (const DensityScale& scale : kDensityScales) {
            if ("@" + given.scale + "x" == scale.suffix) options.scale = &scale;
        }
        return RunPreview(options, std::cerr);
    };
}

Command AddServe(CLI::App& app) {
    auto page = std::make_shared<PageArguments>();
    CLI::App* serve = app.add_subcommand(
        "serve",
        "Show the menu in a browser at http://127.0.0.1:PORT/, building it again and "
        "reloading the page whenever a source file or picture changes");
    AddPageOptions(*serve, *page, "package.toml, a menu TOML file or a built program", true);
    return [page] { return RunServe(page->Options(), page->Port(), std::cout, std::cerr); };
}

Command AddEdit(CLI::App& app) {
    auto page = std::make_shared<PageArguments>();
    auto noBrowser = std::make_shared<bool>(false);
    CLI::App* edit = app.add_subcommand(
        "edit",
        "Design the menu in a browser: the page of serve, where items are selected, dragged, "
        "resized and edited in a panel, each change written to the TOML sources in place");
    AddPageOptions(*edit, *page,
                   "package.toml (written when it is not there yet), a menu TOML file or a "
                   "folder (its package.toml)",
                   true);
    edit->add_flag("--no-browser", *noBrowser, "Print the address without opening a browser");
    return [page, noBrowser] {
        if (*noBrowser) return RunEdit(page->Options(), page->Port(), std::cout, std::cerr);
        return RunEdit(page->Options(), page->Port(), std::cout, std::cerr,
                       [](const std::string& address) { ShowInBrowser(address, std::cout); });
    };
}

Command AddWeb(CLI::App& app) {
    struct Arguments {
        PageArguments page;
        std::string output;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* web = app.add_subcommand(
        "web", "Write the menu's browser page as static files, to put on any web server");
    AddPageOptions(*web, arguments->page, "package.toml, a menu TOML file or a built program",
                   false);
    web->add_option("-o,--output", arguments->output, "The folder to write the page into")
        ->required();
    return [arguments] { return RunWeb(arguments->page.Options(), arguments->output, std::cerr); };
}

Command AddNew(CLI::App& app) {
    struct Arguments {
        std::string folder;
        std::string templateName{kDefaultTemplate};
        bool list = false;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* make = app.add_subcommand(
        "new", "Make a new disc's sources from a template, in a new or empty folder");
    CLI::Option* folder =
        make->add_option("folder", arguments->folder, "The new disc's folder (new or empty)");
    make->add_option("-t,--template", arguments->templateName,
                     "The template (default: " + std::string(kDefaultTemplate) + ")");
    CLI::Option* list =
        make->add_flag("--list", arguments->list, "Name the templates instead of making a disc");
    list->excludes(folder);
    make->callback([folder, list] {
        if (folder->count() == 0 && list->count() == 0) {
            throw CLI::RequiredError("the new disc's folder");
        }
    });
    return [arguments] {
        if (arguments->list) return RunNewList(std::cout);
        return RunNew(arguments->folder, arguments->templateName, std::cout, std::cerr);
    };
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Builds, lists, extracts, checks and previews Ambrevo menu packages, and shows "
        "them in a browser.",
        "ambrevo-pack"};
    app.require_subcommand(0, 1);
    // Without a command (a double-click of the program): the start page.
    StartOptions start;
    bool noBrowser = false;
    std::string startSite;
    CLI::Option* startPort =
        app.add_option("--port", start.port.emplace(),
                       "Without a command: the start page's port (default: 8080, or a free one)");
    app.add_flag("--no-browser", noBrowser,
                 "Without a command: print the start page's address without opening a browser");
    app.add_option("--site", startSite, "Without a command: the folder of the browser's page");
    app.set_version_flag("--version", std::string("ambrevo-pack ") + AMBREVO_VERSION);
    const std::vector<std::pair<const CLI::App*, Command>> commands = [&app] {
        std::vector<std::pair<const CLI::App*, Command>> added;
        for (Command (*add)(CLI::App&) : {AddBuild, AddCheck, AddList, AddExtract, AddPreview,
                                          AddServe, AddEdit, AddWeb, AddNew}) {
            Command run = add(app);
            added.emplace_back(app.get_subcommands({}).back(), std::move(run));
        }
        return added;
    }();

    if (const std::optional<std::string> unknown = UnknownCommand(app, argc, argv)) {
        std::cerr << "ambrevo-pack: " << *unknown << "\n"
                  << "Run with --help for more information.\n";
        return kUsageError;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : kUsageError;
    }
    for (const auto& [command, run] : commands) {
        if (command->parsed()) return run();
    }
    if (startPort->count() == 0) start.port.reset();
    start.openBrowser = !noBrowser;
    start.site = OptionalPath(startSite);
    return RunStart(start, std::cout, std::cerr);
}
