// Arbitrary bytes as the program file: the package reader, then every menu entry it
// lists through the same readers the player uses. Nothing may crash, leak or hang;
// damaged pictures end a menu with an AppError, as in the player.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "menu/menu_reader.h"
#include "package/package.h"
#include "support/app_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ambrevo;
    const ProgramInfo program{"E:\\", "setup.exe", "Ambrevo"};
    testing::FakeFileSystem files;
    files.AddFile(program.folder + program.fileName,
                  std::string(reinterpret_cast<const char*>(data), size));
    testing::FakeDialogs dialogs;
    testing::FakeDebugOutput debug;
    LoadError loadError;
    MenuPackage package(files, dialogs, program, loadError);

    package.OpenPackage(program.fileName);
    if (loadError.IsSet()) return 0;
    for (const PackageEntry& entry : package.Directory()) {
        // Each menu on its own, as if it were the first one shown.
        loadError.Clear();
        std::string name = entry.name;
        package.OpenPackageStream(program.fileName, program.folder);
        package.SeekEntry(name);
        if (!loadError.IsSet()) {
            MenuDefinition menu;
            try {
                ReadMenu(package.Reader(), dialogs, debug, program.messageCaption, menu);
            } catch (const AppError&) {
            }
        }
        package.ClosePackageStream();
        if (entry.name.empty()) break;
    }
    return 0;
}
