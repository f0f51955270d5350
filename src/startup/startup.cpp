#include "startup/startup.h"

#include <exception>

#include "startup/first_menu.h"
#include "startup/program_names.h"
#include "support/messages.h"

namespace ambrevo {
namespace {

std::optional<std::string> StartupSequence(Program& program, const StartupInputs& inputs) {
    ProgramInfo& info = program.info;
    info.folder = ProgramFolderOf(inputs.programPath);
    info.messageCaption = kApplicationTitle;
    info.fileName = FileNamePart(inputs.programPath);

    const std::string iconPath = info.folder + IconFileName(info.fileName);
    if (program.services.files.FileExists(iconPath)) program.services.icon.LoadFromFile(iconPath);

    program.package.OpenPackage(info.fileName);
    if (program.loadError.IsSet()) {
        ShowMessage(program.services.dialogs, "Error in loading internal menu.", MessageKind::Error,
                    info.messageCaption);
        return std::nullopt;
    }

    ReadMessageSwitches(program.services.files, info.folder, program.switches);
    return ChooseFirstMenuName(inputs.firstArgument, program.package.Directory());
}

}  // namespace

std::optional<std::string> RunStartup(Program& program, const StartupInputs& inputs) {
    try {
        return StartupSequence(program, inputs);
    } catch (const std::exception& error) {
        ReportError(program.services.dialogs, kApplicationTitle, error.what());
        return std::nullopt;
    }
}

}  // namespace ambrevo
