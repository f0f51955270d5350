// ambrevo-pack: builds a player with its menu package from TOML and PNG sources, lists and
// extracts built packages, and checks sources.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/editor/edit_command.h"
#include "pack/source/close_names.h"
#include "pack/web/web_commands.h"

namespace {

constexpr int kUsageError = 2;

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
    if (const std::optional<std::string> meant = ambrevo::pack::ClosestName(given, names)) {
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

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Builds, lists, extracts, checks and previews Ambrevo menu packages, and shows "
        "them in a browser.",
        "ambrevo-pack"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("ambrevo-pack ") + AMBREVO_VERSION);

    std::vector<std::string> sources;
    std::string player;
    std::string output;
    bool quiet = false;
    CLI::App* build = app.add_subcommand(
        "build",
        "Append the menus of SOURCE (menu TOML files, or one package.toml) to a copy "
        "of the bare player");
    build->add_option("sources", sources, "Menu TOML files in package order, or package.toml")
        ->required();
    build->add_option("--player", player, "The bare player program")->required();
    build->add_option("-o,--output", output, "The program file to write")->required();
    build->add_flag("-q,--quiet", quiet, "No progress lines");
    bool buildStrict = false;
    build->add_flag("--strict", buildStrict, "Treat warnings as errors");
    std::string autorunLabel;
    std::string autorunAction;
    CLI::Option* autorun = build->add_option(
        "--autorun", autorunLabel,
        "Also write autorun.inf beside the output, naming the disc LABEL (Windows runs it "
        "from CDs and DVDs only)");
    CLI::Option* action =
        build->add_option("--autorun-action", autorunAction,
                          "The AutoPlay text for running the disc (default: \"Run LABEL\")");
    action->needs(autorun);
    std::string buildDisc;
    build->add_option("--disc", buildDisc,
                      "The folder of the files beside the menu, whose programs are checked");
    std::string certificate;
    std::string timestamp;
    bool signDisc = false;
    CLI::Option* sign = build->add_option(
        "--sign", certificate,
        "Sign the program with this code-signing certificate (a .pfx file); its password "
        "comes from AMBREVO_SIGN_PASSWORD or is asked for");
    build->add_option("--timestamp", timestamp, "Time-stamp the signature at this RFC 3161 URL")
        ->needs(sign);
    build
        ->add_flag("--sign-disc", signDisc,
                   "Also sign the unsigned programs of the disc folder that you own")
        ->needs(sign);

    std::vector<std::string> checkSources;
    CLI::App* check = app.add_subcommand("check", "Report every problem of the sources");
    check->add_option("sources", checkSources, "Menu TOML files, or package.toml")->required();
    bool checkStrict = false;
    check->add_flag("--strict", checkStrict, "Treat warnings as errors");
    std::string checkDisc;
    check->add_option("--disc", checkDisc,
                      "The folder of the files beside the menu, whose programs are checked");

    std::string listFile;
    CLI::App* list = app.add_subcommand("list", "Show the package of a built program");
    list->add_option("file", listFile, "A program built by ambrevo-pack")->required();

    std::string extractFile;
    std::string folder;
    std::string playerCopy;
    CLI::App* extract = app.add_subcommand(
        "extract", "Write the package of a built program back as TOML and PNG sources");
    extract->add_option("file", extractFile, "A program built by ambrevo-pack")->required();
    extract->add_option("-o,--output", folder, "A new or empty folder for the sources")->required();
    extract->add_option("--player-out,--player", playerCopy,
                        "Also save the bare player to this file");

    std::string previewSource;
    std::string previewOutput;
    std::string previewMenu;
    int highlight = 0;
    CLI::App* preview = app.add_subcommand(
        "preview",
        "Draw a menu as the player shows it when it opens, as a PNG with the window's "
        "shape transparent. Texts are drawn with a free font of about the size asked for, "
        "so their look is approximate");
    preview
        ->add_option("source", previewSource, "package.toml, a menu TOML file or a built program")
        ->required();
    preview->add_option("-o,--output", previewOutput, "The PNG file to write")->required();
    CLI::Option* previewMenuOption =
        preview->add_option("--menu", previewMenu, "The menu to draw (default: the first)");
    CLI::Option* highlightOption = preview->add_option(
        "--highlight", highlight, "Draw item N highlighted (default: the menu's initial item)");

    std::string serveSource;
    int port = 0;
    std::string serveDisc;
    std::string serveSite;
    CLI::App* serve = app.add_subcommand(
        "serve",
        "Show the menu in a browser at http://127.0.0.1:PORT/, building it again and "
        "reloading the page whenever a source file or picture changes");
    serve->add_option("source", serveSource, "package.toml, a menu TOML file or a built program")
        ->required();
    CLI::Option* portOption = serve->add_option(
        "--port", port, "The port (default: 8080, or a free one when it is taken; 0: a free one)");
    serve->add_option("--disc", serveDisc, "The folder of the files beside the menu");
    serve->add_option("--site", serveSite, "The folder of the browser player's page");

    std::string editSource;
    int editPort = 0;
    std::string editDisc;
    std::string editSite;
    CLI::App* edit = app.add_subcommand(
        "edit",
        "Design the menu in a browser: the page of serve, where items are selected, dragged, "
        "resized and edited in a panel, each change written to the TOML sources in place");
    edit->add_option("source", editSource, "package.toml or a menu TOML file")->required();
    CLI::Option* editPortOption =
        edit->add_option("--port", editPort,
                         "The port (default: 8080, or a free one when it is taken; 0: a free one)");
    edit->add_option("--disc", editDisc, "The folder of the files beside the menu");
    edit->add_option("--site", editSite, "The folder of the browser player's page");

    std::string webSource;
    std::string webOutput;
    std::string webDisc;
    std::string webSite;
    CLI::App* web = app.add_subcommand(
        "web", "Write the menu's browser page as static files, to put on any web server");
    web->add_option("source", webSource, "package.toml, a menu TOML file or a built program")
        ->required();
    web->add_option("-o,--output", webOutput, "The folder to write the page into")->required();
    web->add_option("--disc", webDisc, "The folder of the files beside the menu");
    web->add_option("--site", webSite, "The folder of the browser player's page");

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

    if (*build) {
        std::optional<ambrevo::pack::AutorunTexts> autorunTexts;
        if (autorun->count() > 0) {
            autorunTexts = ambrevo::pack::AutorunTexts{autorunLabel, std::nullopt};
            if (action->count() > 0) autorunTexts->action = autorunAction;
        }
        return ambrevo::pack::RunBuild(
            {Paths(sources), player, output, quiet, autorunTexts, buildStrict,
             OptionalPath(buildDisc), OptionalPath(certificate),
             timestamp.empty() ? std::nullopt : std::optional<std::string>(timestamp), signDisc},
            std::cerr);
    }
    if (*check) {
        return ambrevo::pack::RunCheck(Paths(checkSources), std::cout, std::cerr, checkStrict,
                                       OptionalPath(checkDisc));
    }
    if (*list) return ambrevo::pack::RunList(listFile, std::cout, std::cerr);
    if (*preview) {
        ambrevo::pack::PreviewOptions options{previewSource, previewOutput, {}, {}};
        if (previewMenuOption->count() > 0) options.menu = previewMenu;
        if (highlightOption->count() > 0) options.highlight = highlight;
        return ambrevo::pack::RunPreview(options, std::cerr);
    }
    if (*serve) {
        const std::optional<int> chosenPort =
            portOption->count() > 0 ? std::optional<int>(port) : std::nullopt;
        return ambrevo::pack::RunServe(
            {serveSource, OptionalPath(serveDisc), OptionalPath(serveSite)}, chosenPort, std::cout,
            std::cerr);
    }
    if (*edit) {
        const std::optional<int> chosenPort =
            editPortOption->count() > 0 ? std::optional<int>(editPort) : std::nullopt;
        return ambrevo::pack::RunEdit({editSource, OptionalPath(editDisc), OptionalPath(editSite)},
                                      chosenPort, std::cout, std::cerr);
    }
    if (*web) {
        return ambrevo::pack::RunWeb({webSource, OptionalPath(webDisc), OptionalPath(webSite)},
                                     webOutput, std::cerr);
    }
    std::optional<std::filesystem::path> copy;
    if (!playerCopy.empty()) copy = playerCopy;
    return ambrevo::pack::RunExtract(extractFile, folder, copy, std::cerr);
}
