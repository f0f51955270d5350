#include "startup/startup.h"

#include <exception>

#include "startup/first_menu.h"
#include "startup/program_names.h"
#include "support/messages.h"

namespace ambrevo {
namespace {

bool StartupSequence(Program& program, const StartupInputs& inputs, StartupWindow& window) {
    ProgramInfo& info = program.info;
    info.folder = ProgramFolderOf(inputs.programPath);
    info.messageCaption = kApplicationTitle;
    info.fileName = FileNamePart(inputs.programPath);

    const std::string iconPath = info.folder + IconFileName(info.fileName);
    if (program.services.files.FileExists(iconPath)) program.services.icon.LoadFromFile(iconPath);

    program.sounds.LoadBuiltInSounds(program.services.resources);
    program.package.OpenPackage(info.fileName);
    if (program.loadError.IsSet()) {
        ShowMessage(program.services.dialogs, "Error in loading internal menu.", MessageKind::Error,
                    info.messageCaption);
        return false;
    }

    window.BuildWindowParts();
    ReadMessageSwitches(program.services.files, info.folder, program.switches);
    window.LoadMenu(ChooseFirstMenuName(inputs.firstArgument, program.package.Directory(),
                                        program.package.Languages(), inputs.languageCodes));
    program.sounds.PlayStartSound();
    window.SeedRandom(program.services.clock.Seed());
    return true;
}

}  // namespace

bool RunStartup(Program& program, const StartupInputs& inputs, StartupWindow& window) {
    try {
        return StartupSequence(program, inputs, window);
    } catch (const std::exception& error) {
        ReportError(program.services.dialogs, kApplicationTitle, error.what());
        return false;
    }
}

}  // namespace ambrevo
