#include "pack/start/new_disc_command.h"

#include <optional>
#include <string>
#include <vector>

#include "pack/common/command_guard.h"
#include "pack/common/file_io.h"
#include "pack/start/disc_templates.h"
#include "pack/text/close_names.h"

namespace ambrevo::pack {

namespace {

// The template's name as given, or a refusal that names the ones there are.
void CheckTemplateName(std::string_view name) {
    std::vector<std::string> names;
    for (const DiscTemplate& known : DiscTemplates()) {
        if (known.name == name) return;
        names.push_back(known.name);
    }
    std::string message = "there is no template \"" + std::string(name) + "\"";
    if (const std::optional<std::string> meant = ClosestName(name, names)) {
        message += "; did you mean \"" + *meant + "\"?";
    } else {
        message += "; `ambrevo-pack new --list` names them";
    }
    throw PackError(message);
}

}  // namespace

int RunNew(const std::filesystem::path& folder, std::string_view templateName, std::ostream& out,
           std::ostream& err) {
    return Guarded(err, [&] {
        CheckTemplateName(templateName);
        MakeDiscFromTemplate(folder, templateName);
        const std::string package = QuotedPath(folder / "package.toml");
        out << "Made a new disc in " << QuotedPath(folder) << " from the template \""
            << templateName << "\".\n"
            << "Design it: ambrevo-pack edit " << package << "\n"
            << "Check it:  ambrevo-pack check --strict " << package << "\n";
        return kCommandSuccess;
    });
}

int RunNewList(std::ostream& out) {
    for (const DiscTemplate& known : DiscTemplates()) {
        out << known.name << ": " << known.title << " - " << known.description << "\n";
    }
    return kCommandSuccess;
}

}  // namespace ambrevo::pack
