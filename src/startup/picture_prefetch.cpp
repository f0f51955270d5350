#include "startup/picture_prefetch.h"

#include <string>
#include <system_error>
#include <utility>

#include "menu/menu_reader.h"
#include "package/package.h"
#include "startup/first_menu.h"
#include "startup/program.h"
#include "startup/program_names.h"

namespace ambrevo {
namespace {

class Silent : public Dialogs, public DebugOutput {
public:
    void ShowMessageBox(const std::string&, MessageKind, const std::string&) override {}
    void Write(const std::string&) override {}
};

}  // namespace

PicturePrefetch::PicturePrefetch(FileSystem& files, std::function<StartupInputs()> inputs) {
    try {
        thread_ = std::thread([this, &files, inputs = std::move(inputs)] { Read(files, inputs); });
    } catch (const std::system_error&) {
        // No thread: the menu load decodes everything itself.
    }
}

PicturePrefetch::~PicturePrefetch() {
    if (thread_.joinable()) thread_.join();
}

void PicturePrefetch::HandTo(PictureReuse& reuse) {
    if (thread_.joinable()) thread_.join();
    reuse.TakeKept(decoded_);
}

void PicturePrefetch::Read(FileSystem& files, const std::function<StartupInputs()>& inputs) {
    try {
        const StartupInputs start = inputs();
        Silent silent;
        const ProgramInfo info{ProgramFolderOf(start.programPath),
                               FileNamePart(start.programPath), kApplicationTitle};
        LoadError error;
        MenuPackage package(files, silent, info, error);
        package.OpenPackage(info.fileName);
        if (error.IsSet()) return;
        std::string name = ChooseFirstMenuName(start.firstArgument, package.Directory(),
                                               package.Languages(), start.languageCodes);
        package.OpenPackageStream(info.fileName, info.folder);
        package.SeekEntry(name);
        if (!package.Errors().IsSet()) {
            MenuDefinition menu;
            ReadMenu(package.Reader(), silent, silent, info.messageCaption, menu, &decoded_);
        }
        package.ClosePackageStream();
    } catch (...) {
        // Whatever failed here, the menu load meets again and reports.
    }
}

}  // namespace ambrevo
