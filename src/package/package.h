#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "package/code_page_table.h"
#include "package/density_table.h"
#include "package/item_name_table.h"
#include "package/language_table.h"
#include "package/load_error.h"
#include "package/package_stream.h"
#include "package/tagged_reader.h"
#include "services/dialogs.h"
#include "services/file_system.h"
#include "support/program_info.h"

namespace ambrevo {

constexpr int kPackageSlots = 100;
constexpr int kDirectoryEntrySize = 260;
constexpr int kDirectoryNameSize = 256;

struct PackageEntry {
    std::string name;             // trimmed of blanks and control characters, A-Z lowered
    std::int32_t dataOffset = 0;  // 0-based position of the entry's data in the file
};

// The values of the package header: read past by the player, shown by the authoring tool.
struct PackageHeader {
    std::int64_t position = 0;  // 0-based position of "FPAK" in the file
    std::string text;
    std::uint8_t byte = 0;
    int entryCount = 0;
};

// Slots 1..100 are directory[0..99]; slots after the last entry have an empty name.
using PackageDirectory = std::array<PackageEntry, kPackageSlots>;

// The package of menus appended to the program file: its directory, read once at
// start-up, and the one open PackageStream that menu readers use.
class MenuPackage {
public:
    MenuPackage(FileSystem& files, Dialogs& dialogs, const ProgramInfo& program,
                LoadError& loadError);

    // Reads the trailer, the header and the directory of program.folder + fileName.
    // Clears and then reports through the LoadError and message boxes.
    void OpenPackage(const std::string& fileName);

    // Opens folder + fileName as the PackageStream (read-only, deny-none).
    // Throws AppError when the file cannot be opened.
    bool OpenPackageStream(const std::string& fileName, const std::string& folder);

    // Lower-cases name (A-Z) in place and positions the stream on that entry; reports
    // "Could not locate specified package:\r\r" + name and sets the LoadError when absent.
    // Sets the LoadError without a message when the entry cannot be read: its data lies
    // outside the file, or the file is no longer as long as when the package was read.
    void SeekEntry(std::string& name);

    // Lower-cases name in place; true when an entry of that name exists. No message.
    bool HasEntry(std::string& name) const;

    void ClosePackageStream();
    // True between OpenPackageStream and ClosePackageStream: a menu is being read.
    bool StreamOpen() const { return stream_ != nullptr; }

    // The readers over the open stream; valid between OpenPackageStream and ClosePackageStream.
    TaggedReader& Reader();

    const PackageDirectory& Directory() const { return directory_; }
    // The code pages the package declares for its menus.
    const CodePageTable& CodePages() const { return codePages_; }
    // The names the package gives items for screen readers.
    const ItemNameTable& ItemNames() const { return itemNames_; }
    // The first menu the package names per language.
    const LanguageTable& Languages() const { return languages_; }
    // The pictures for denser screens, read from the open stream when asked (they are of
    // no use at 96 DPI); empty without the entry.
    DensityTable ReadDensityTable();
    const PackageHeader& Header() const { return header_; }
    LoadError& Errors() { return loadError_; }

private:
    const PackageEntry* FindEntry(const std::string& lowerName) const;

    FileSystem& files_;
    Dialogs& dialogs_;
    const ProgramInfo& program_;
    LoadError& loadError_;
    PackageHeader header_;
    PackageDirectory directory_{};
    CodePageTable codePages_;
    ItemNameTable itemNames_;
    LanguageTable languages_;
    std::int64_t fileSize_ = -1;  // of the program file when its package was read
    std::unique_ptr<PackageStream> stream_;
    std::optional<TaggedReader> reader_;
};

}  // namespace ambrevo
