#include "package/package.h"

#include <cstring>

#include "package/pe_certificate_table.h"
#include "support/app_error.h"
#include "support/ascii.h"
#include "support/menu_code_pages.h"
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

// Where the trailer that ends at `end` places the package, or why it places none.
struct PackagePlace {
    std::int64_t position = 0;  // of "FPAK"
    const char* failure = nullptr;
};

PackagePlace PlaceByTrailer(PackageStream& stream, std::int64_t end) {
    // The trailer holds the package's position counted from 1.
    std::int64_t position = 0;
    unsigned char trailer[kTrailerSize] = {};
    if (end >= kTrailerSize && stream.Seek(end - kTrailerSize) &&
        stream.Read(trailer, sizeof trailer)) {
        const std::uint32_t value = trailer[0] | (trailer[1] << 8) | (trailer[2] << 16) |
                                    (static_cast<std::uint32_t>(trailer[3]) << 24);
        position = static_cast<std::int64_t>(static_cast<std::int32_t>(value)) - 1;
    }
    if (end < kTrailerSize || position > end - kTrailerSize || position == 0) {
        return {0, "Invalid menu address."};
    }
    char magic[4] = {};
    if (!stream.Seek(position) || !stream.Read(magic, sizeof magic) ||
        std::memcmp(magic, kPackageMagic, sizeof magic) != 0) {
        return {0, "Could not retrieve packed files"};
    }
    return {position, nullptr};
}

// Signing appends a certificate table after the package and may pad what comes before
// it with zeros to 8 bytes: the trailer then lies before the padding and the table.
std::optional<PackagePlace> PlaceBeforeCertificateTable(PackageStream& stream) {
    constexpr int kMaxSigningPadding = 7;
    const std::optional<CertificateTable> table = ReadCertificateTable(stream);
    if (!table || table->offset + table->size != stream.Size()) return std::nullopt;
    for (int padding = 0; padding <= kMaxSigningPadding; ++padding) {
        if (padding > 0) {
            char byte = 1;
            if (!stream.Seek(table->offset - padding) || !stream.Read(&byte, 1) || byte != 0) {
                return std::nullopt;
            }
        }
        const PackagePlace place = PlaceByTrailer(stream, table->offset - padding);
        if (place.failure == nullptr) return place;
    }
    return std::nullopt;
}

}  // namespace

MenuPackage::MenuPackage(FileSystem& files, Dialogs& dialogs, const ProgramInfo& program,
                         LoadError& loadError)
    : files_(files), dialogs_(dialogs), program_(program), loadError_(loadError) {}

void MenuPackage::OpenPackage(const std::string& fileName) {
    loadError_.Clear();
    header_ = {};
    directory_ = {};
    codePages_ = {};
    itemNames_ = {};
    languages_ = {};
    PackageStream stream(files_.OpenForReading(program_.folder + fileName));
    fileSize_ = stream.Size();
    TaggedReader reader(stream, loadError_);

    const auto fail = [&](const char* message) {
        ShowMessage(dialogs_, message, MessageKind::Error, program_.messageCaption);
        loadError_.Set();
    };

    // A trailer valid at the file's end wins, so unsigned files read as they always did.
    PackagePlace place = PlaceByTrailer(stream, stream.Size());
    if (place.failure != nullptr) {
        if (const auto signedPlace = PlaceBeforeCertificateTable(stream)) place = *signedPlace;
    }
    if (place.failure != nullptr) {
        fail(place.failure);
        return;
    }
    const std::int64_t position = place.position;
    stream.Seek(position + static_cast<std::int64_t>(sizeof kPackageMagic));  // read before

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
    // The tables that older players never look up; each is read on its own, and a damaged
    // one is as good as none.
    if (const PackageEntry* table = FindEntry(kCodePageEntryName)) {
        codePages_ = CodePageTable::Read(stream, table->dataOffset);
    }
    if (const PackageEntry* table = FindEntry(kItemNameEntryName)) {
        itemNames_ = ItemNameTable::Read(stream, table->dataOffset);
    }
    if (const PackageEntry* table = FindEntry(kLanguageEntryName)) {
        languages_ = LanguageTable::Read(stream, table->dataOffset);
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
    // A program file whose length changed since its package was read (a disc swapped, a
    // file cut short) no longer holds the entries of that directory.
    if (entry != nullptr && stream_ && stream_->Size() == fileSize_ &&
        stream_->Seek(entry->dataOffset)) {
        return;
    }
    if (entry == nullptr) {
        ShowMessage(dialogs_, "Could not locate specified package:\r\r" + name,
                    MessageKind::Warning, program_.messageCaption);
    }
    // An entry whose data lies outside the file cannot be read either.
    loadError_.Set();
}

DensityTable MenuPackage::ReadDensityTable() {
    const PackageEntry* entry = FindEntry(kDensityEntryName);
    if (entry == nullptr || !stream_) return {};
    return DensityTable::Read(*stream_, entry->dataOffset);
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
