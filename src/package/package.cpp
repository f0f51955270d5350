#include "package/package.h"

#include <cstring>

#include "support/app_error.h"
#include "support/ascii.h"
#include "support/messages.h"

namespace ambrevo {

namespace {

constexpr char kPackageMagic[4] = {'F', 'P', 'A', 'K'};
constexpr int kTrailerSize = 4;
constexpr int kUninterpretedHeaderBytes = 3;

// Removes leading and trailing blanks and control characters (codes up to the space).
std::string TrimBlanksAndControls(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

}  // namespace

MenuPackage::MenuPackage(FileSystem& files, Dialogs& dialogs, const ProgramInfo& program,
                         LoadError& loadError)
    : files_(files), dialogs_(dialogs), program_(program), loadError_(loadError) {}

void MenuPackage::OpenPackage(const std::string& fileName) {
    loadError_.Clear();
    header_ = {};
    directory_ = {};
    PackageStream stream(files_.OpenForReading(program_.folder + fileName));
    TaggedReader reader(stream, loadError_);

    const auto fail = [&](const char* message) {
        ShowMessage(dialogs_, message, MessageKind::Error, program_.messageCaption);
        loadError_.Set();
    };

    // The trailer holds the package's position counted from 1.
    const std::int64_t size = stream.Size();
    std::int64_t position = 0;
    if (size >= kTrailerSize && stream.Seek(size - kTrailerSize)) {
        position = static_cast<std::int64_t>(reader.RawInt32()) - 1;
    }
    if (size < kTrailerSize || position > size - kTrailerSize || position == 0) {
        fail("Invalid menu address.");
        return;
    }

    char magic[4] = {};
    if (!stream.Seek(position) || !stream.Read(magic, sizeof magic) ||
        std::memcmp(magic, kPackageMagic, sizeof magic) != 0) {
        fail("Could not retrieve packed files");
        return;
    }

    stream.Skip(kUninterpretedHeaderBytes);
    header_.position = position;
    header_.text = reader.ReadString();
    header_.byte = reader.ReadByte();

    const std::uint8_t count = reader.RawByte();
    // The directory has room for 100 entries; a larger count is a damaged package.
    if (count > kPackageSlots) {
        fail("Could not retrieve packed files");
        return;
    }
    header_.entryCount = count;
    char name[kDirectoryNameSize];
    for (int slot = 0; slot < count; ++slot) {
        reader.RawBytes(name, sizeof name);
        const std::int32_t dataPosition = reader.RawInt32();
        directory_[static_cast<std::size_t>(slot)] = {
            AsciiLower(TrimBlanksAndControls(std::string_view(name, sizeof name))),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(dataPosition) - 1u)};
    }
}

bool MenuPackage::OpenPackageStream(const std::string& fileName, const std::string& folder) {
    ClosePackageStream();
    stream_ = std::make_unique<PackageStream>(files_.OpenForReading(folder + fileName));
    reader_.emplace(*stream_, loadError_);
    return true;
}

const PackageEntry* MenuPackage::FindEntry(const std::string& lowerName) const {
    for (const PackageEntry& entry : directory_) {
        if (entry.name == lowerName) return &entry;
    }
    return nullptr;
}

void MenuPackage::SeekEntry(std::string& name) {
    name = AsciiLower(name);
    const PackageEntry* entry = FindEntry(name);
    if (entry != nullptr && stream_ && stream_->Seek(entry->dataOffset)) return;
    if (entry == nullptr) {
        ShowMessage(dialogs_, "Could not locate specified package:\r\r" + name,
                    MessageKind::Warning, program_.messageCaption);
    }
    // An entry whose data lies outside the file cannot be read either.
    loadError_.Set();
}

bool MenuPackage::HasEntry(std::string& name) const {
    name = AsciiLower(name);
    return FindEntry(name) != nullptr;
}

void MenuPackage::ClosePackageStream() {
    reader_.reset();
    stream_.reset();
}

TaggedReader& MenuPackage::Reader() {
    if (!reader_) throw AppError("The menu package is not open");
    return *reader_;
}

}  // namespace ambrevo
