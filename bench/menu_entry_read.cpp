#include "menu_entry_read.h"

#include "menu/menu_reader.h"

namespace ambrevo::bench {

bool ReadEntryMenu(MenuPackage& package, const ProgramInfo& program, const std::string& entry,
                   Dialogs& dialogs, DebugOutput& debug, MenuDefinition& menu) {
    package.OpenPackageStream(program.fileName, program.folder);
    std::string name = entry;
    package.SeekEntry(name);
    const bool read = ReadMenu(package.Reader(), dialogs, debug, program.messageCaption, menu);
    package.ClosePackageStream();
    return read;
}

}  // namespace ambrevo::bench
