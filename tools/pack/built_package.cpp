#include "built_package.h"

#include <algorithm>
#include <cstring>

#include "file_io.h"
#include "menu/menu_reader.h"
#include "pack_error.h"
#include "package/package.h"
#include "silent_debug_output.h"
#include "support/app_error.h"

namespace ambrevo::pack {
namespace {

constexpr const char* kCaption = "ambrevo-pack";
constexpr std::int64_t kMagicAndSpareSize = 7;

// A read-only view of file bytes that every stream of the readers shares.
class SharedBytesFile : public ReadOnlyFile {
public:
    explicit SharedBytesFile(std::shared_ptr<const std::vector<std::uint8_t>> bytes)
        : bytes_(std::move(bytes)) {}
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_->size()); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) override {
        if (offset < 0 || offset >= Size()) return 0;
        const auto start = static_cast<std::size_t>(offset);
        const std::size_t copied = std::min(count, bytes_->size() - start);
        std::memcpy(buffer, bytes_->data() + start, copied);
        return copied;
    }

private:
    std::shared_ptr<const std::vector<std::uint8_t>> bytes_;
};

// The one program file, held in memory, under the name the readers ask for.
class SingleFileSystem : public FileSystem {
public:
    SingleFileSystem(std::string path, std::shared_ptr<const std::vector<std::uint8_t>> bytes)
        : path_(std::move(path)), bytes_(std::move(bytes)) {}
    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) override {
        if (path != path_) throw AppError("Cannot open file \"" + path + "\". Not found");
        return std::make_unique<SharedBytesFile>(bytes_);
    }
    bool FileExists(const std::string& path) override { return path == path_; }

private:
    std::string path_;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes_;
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

// The values the player reads past: where the package starts, its header and the count.
struct PackageHead {
    std::int64_t position = 0;
    PackageHeaderValues header;
    int count = 0;
};

PackageHead ReadHead(const std::shared_ptr<const std::vector<std::uint8_t>>& bytes) {
    PackageStream stream(std::make_unique<SharedBytesFile>(bytes));
    LoadError loadError;
    TaggedReader reader(stream, loadError);
    PackageHead head;
    stream.Seek(stream.Size() - 4);
    head.position = std::int64_t{reader.RawInt32()} - 1;
    stream.Seek(head.position + kMagicAndSpareSize);
    head.header.text = reader.ReadString();
    head.header.byte = reader.ReadByte();
    head.count = reader.RawByte();
    return head;
}

BuiltMenu ReadEntry(MenuPackage& package, const std::string& fileName, const PackageEntry& entry,
                    LoadError& loadError) {
    BuiltMenu built{entry.name, entry.dataOffset, nullptr, {}};
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

}  // namespace

bool CarriesPackage(std::span<const std::uint8_t> program) {
    const std::string fileName = "player";
    SingleFileSystem files(fileName, std::make_shared<const std::vector<std::uint8_t>>(
                                         program.begin(), program.end()));
    CollectingDialogs dialogs;
    const ProgramInfo info{"", fileName, kCaption};
    LoadError loadError;
    MenuPackage package(files, dialogs, info, loadError);
    package.OpenPackage(fileName);
    return !loadError.IsSet();
}

BuiltPackage ReadBuiltPackage(const std::filesystem::path& file) {
    const std::string fileName = PathToUtf8(file);
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(ReadFileBytes(file));
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

    const PackageHead head = ReadHead(bytes);
    BuiltPackage built{head.position, head.header, {}};
    const int count = std::min<int>(head.count, kPackageSlots);
    for (int slot = 0; slot < count; ++slot) {
        built.menus.push_back(ReadEntry(package, fileName, package.Directory()[slot], loadError));
    }
    return built;
}

}  // namespace ambrevo::pack
