#include "pack/package/disc_copies.h"

#include <set>
#include <system_error>

#include "pack/common/disc_files.h"
#include "pack/common/file_io.h"
#include "pack/common/file_names.h"
#include "pack/common/pack_error.h"
#include "support/ascii.h"
#include "support/utf8.h"

namespace ambrevo::pack {
namespace {

constexpr std::size_t kFatNameUnits = 255;
constexpr std::uintmax_t kFatFileLimit = std::uintmax_t{4} << 30;  // FAT32 sizes end below

void MakeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw PackError("cannot make the folder " + QuotedPath(folder) + ": " + error.message());
}

bool IsOneOf(const std::filesystem::path& file, const std::vector<std::filesystem::path>& others) {
    for (const std::filesystem::path& other : others) {
        std::error_code error;
        if (std::filesystem::equivalent(file, other, error)) return true;
    }
    return false;
}

}  // namespace

std::vector<DiscImageFile> DiscCopyFiles(const DiscRoot& root,
                                         const std::optional<std::filesystem::path>& disc,
                                         const std::vector<std::filesystem::path>& leftOut,
                                         std::vector<std::string>& warnings) {
    std::vector<DiscImageFile> files = {{root.programName, root.program, {}}};
    if (root.autorun) {
        files.push_back({"autorun.inf", {}, {root.autorun->begin(), root.autorun->end()}});
    }
    const std::set<std::string> taken = {AsciiLower(root.programName), "autorun.inf"};
    std::vector<std::filesystem::path> skipped = leftOut;
    skipped.push_back(root.builtProgram);
    DiscListing listing = ListDiscFiles(disc);
    for (const std::string& name : listing.files) {
        const std::filesystem::path file = *disc / PathFromUtf8(name);
        if (taken.count(AsciiLower(name)) > 0 || IsOneOf(file, skipped)) continue;
        files.push_back({name, file, {}});
    }
    for (std::string& warning : listing.warnings) warnings.push_back(std::move(warning));
    return files;
}

std::string UsbProgramName(const std::string& label) {
    std::string name;
    for (const char c : label) {
        const bool refused = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
                             std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        name += refused ? '_' : c;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) throw PackError("the disc's label \"" + label + "\" leaves no program name");
    name = "Start " + name + ".exe";
    if (const std::optional<std::string> problem = WindowsNameProblem(name)) {
        throw PackError("the USB stick's program name \"" + name + "\" " + *problem);
    }
    return name;
}

std::optional<std::string> FatProblem(const DiscImageFile& file, std::uintmax_t size) {
    const std::string shown = "warning: USB file \"" + file.name + "\" ";
    if (size >= kFatFileLimit) {
        return shown +
               "is 4 GiB or larger, which a FAT32 stick cannot hold: format the stick "
               "as exFAT or NTFS";
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(file.name.find('/', start), file.name.size());
        if (Utf8ToUtf16(std::string_view(file.name).substr(start, end - start)).size() >
            kFatNameUnits) {
            return shown + "has a name longer than 255 characters, which a FAT stick cannot hold";
        }
        if (end == file.name.size()) return std::nullopt;
        start = end + 1;
    }
}

std::uint64_t WriteIsoFile(const std::filesystem::path& iso,
                           const std::vector<DiscImageFile>& files, const std::string& label) {
    if (iso.has_parent_path()) MakeFolder(iso.parent_path());
    FileWriter image(iso);
    WriteIsoImage(image, files, label);
    image.Commit();
    return image.Size();
}

void WriteUsbFolder(const std::filesystem::path& folder, const std::vector<DiscImageFile>& files,
                    std::vector<std::string>& warnings) {
    for (const DiscImageFile& file : files) {
        const std::filesystem::path to = folder / PathFromUtf8(file.name);
        MakeFolder(to.parent_path());
        std::error_code unknown;  // a file that cannot be read fails its copy below
        const std::uintmax_t size = file.source.empty()
                                        ? file.bytes.size()
                                        : std::filesystem::file_size(file.source, unknown);
        if (const std::optional<std::string> problem = FatProblem(file, unknown ? 0 : size)) {
            warnings.push_back(*problem);
        }
        if (file.source.empty()) {
            WriteFileBytes(to, file.bytes);
        } else {
            CopyFileSafely(file.source, to);
        }
    }
}

}  // namespace ambrevo::pack
