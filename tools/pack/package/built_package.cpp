#include "pack/package/built_package.h"

#include "menu/menu_reader.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/common/silent_debug_output.h"
#include "pack/package/density_table_reader.h"
#include "pack/text/text_encoding.h"
#include "package/memory_file.h"
#include "package/package.h"
#include "support/app_error.h"
#include "support/ascii.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {
namespace {

constexpr const char* kCaption = "ambrevo-pack";

// The one program file, held in memory, under the name the readers ask for.
class SingleFileSystem : public FileSystem {
public:
    SingleFileSystem(std::string path, std::shared_ptr<const std::string> bytes)
        : path_(std::move(path)), bytes_(std::move(bytes)) {}
    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) override {
        if (path != path_) throw AppError("Cannot open file \"" + path + "\". Not found");
        return std::make_unique<MemoryFile>(bytes_);
    }
    bool FileExists(const std::string& path) override { return path == path_; }

private:
    std::string path_;
    std::shared_ptr<const std::string> bytes_;
};

// Keeps the readers' messages to report them as the tool's errors.
class CollectingDialogs : public Dialogs {
public:
    void ShowMessageBox(const std::string& text, MessageKind, const std::string&) override {
        messages.push_back(text);
    }
    std::string Last() const { return messages.empty() ? std::string() : messages.back(); }
    std::vector<std::string> messages;
};

// The entries that are tables beside the menus rather than menus.
bool IsTable(const std::string& entryName) {
    return entryName == kCodePageEntryName || entryName == kItemNameEntryName ||
           entryName == kLanguageEntryName || entryName == kDensityEntryName;
}

BuiltMenu ReadEntry(MenuPackage& package, const std::string& fileName, const PackageEntry& entry,
                    LoadError& loadError) {
    BuiltMenu built{entry.name, entry.dataOffset, package.CodePages().Of(entry.name), nullptr, {},
                    {}};
    CollectingDialogs dialogs;
    SilentDebugOutput debug;
    loadError.Clear();
    package.OpenPackageStream(fileName, "");
    // Seeking by position rather than by name reaches every entry, even one whose name
    // an earlier entry already has.
    if (!package.Reader().Stream().Seek(entry.dataOffset)) {
        built.problem = "its data position lies outside the file";
        package.ClosePackageStream();
        return built;
    }
    auto menu = std::make_shared<MenuDefinition>();
    try {
        if (!ReadMenu(package.Reader(), dialogs, debug, kCaption, *menu)) {
            built.problem = "not a menu of format version 6 or later";
        } else {
            NameItems(package.ItemNames(), entry.name, {}, menu->items);
            built.menu = menu;
            if (loadError.IsSet()) {
                built.problem = "damaged: a value has the wrong type or the entry is cut short";
            }
        }
    } catch (const AppError& failure) {
        built.problem = std::string("damaged picture data (") + failure.what() + ")";
    }
    package.ClosePackageStream();
    return built;
}

// Gives each menu its pictures of the density table, or says why the table cannot be read.
void ReadDensityPictures(MenuPackage& package, const std::string& fileName,
                         const PackageEntry* entry, BuiltPackage& built) {
    if (entry == nullptr) return;
    package.OpenPackageStream(fileName, "");
    try {
        if (entry->dataOffset < 0 || entry->dataOffset > package.Reader().Stream().Size()) {
            throw PackError("its data position lies outside the file");
        }
        for (MenuDensityPictures& menu : ReadDensityTable(package.Reader(), entry->dataOffset)) {
            for (BuiltMenu& owner : built.menus) {
                if (owner.name != menu.entryName) continue;
                owner.densityPictures = std::move(menu.pictures);
                break;
            }
        }
    } catch (const PackError& failure) {
        built.densityProblem = failure.what();
    }
    package.ClosePackageStream();
}

}  // namespace

const BuiltMenu* FindBuiltMenu(const BuiltPackage& package, const std::string& name) {
    const std::string wanted = AsciiLower(name);
    for (const BuiltMenu& menu : package.menus) {
        if (menu.name == wanted) return &menu;
    }
    for (const BuiltMenu& menu : package.menus) {
        if (AsciiLower(DisplayText(menu.name, menu.codePage)) == wanted) return &menu;
    }
    return nullptr;
}

bool CarriesPackage(std::span<const std::uint8_t> program) {
    const std::string fileName = "player";
    SingleFileSystem files(fileName,
                           std::make_shared<const std::string>(program.begin(), program.end()));
    CollectingDialogs dialogs;
    const ProgramInfo info{"", fileName, kCaption};
    LoadError loadError;
    MenuPackage package(files, dialogs, info, loadError);
    package.OpenPackage(fileName);
    return !loadError.IsSet();
}

BuiltPackage ReadBuiltPackage(const std::filesystem::path& file) {
    return ReadBuiltPackageBytes(PathToUtf8(file), ReadFileBytes(file));
}

BuiltPackage ReadBuiltPackageBytes(const std::string& fileName,
                                   std::span<const std::uint8_t> fileBytes) {
    auto bytes = std::make_shared<const std::string>(fileBytes.begin(), fileBytes.end());
    if (bytes->size() < 4) {
        throw PackError(fileName + ": no menu package (the file is too short)");
    }
    SingleFileSystem files(fileName, bytes);
    CollectingDialogs dialogs;
    const ProgramInfo program{"", fileName, kCaption};
    LoadError loadError;
    MenuPackage package(files, dialogs, program, loadError);
    package.OpenPackage(fileName);
    if (loadError.IsSet()) {
        const std::string reason = dialogs.Last().empty() ? "damaged header" : dialogs.Last();
        throw PackError(fileName + ": no readable menu package (" + reason + ")");
    }

    const PackageHeader& head = package.Header();
    BuiltPackage built{head.position, {head.text, head.byte}, {}, package.Languages().All(), {}};
    const PackageEntry* densityTable = nullptr;
    for (int slot = 0; slot < head.entryCount; ++slot) {
        const PackageEntry& entry = package.Directory()[static_cast<std::size_t>(slot)];
        if (entry.name == kDensityEntryName && densityTable == nullptr) densityTable = &entry;
        if (IsTable(entry.name)) continue;
        built.menus.push_back(ReadEntry(package, fileName, entry, loadError));
    }
    loadError.Clear();
    ReadDensityPictures(package, fileName, densityTable, built);
    return built;
}

}  // namespace ambrevo::pack
