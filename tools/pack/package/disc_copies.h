#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pack/package/iso_image.h"

namespace ambrevo::pack {

// What a copy of the disc holds at its root besides the disc folder's files.
struct DiscRoot {
    std::string programName;             // the program's name there
    std::filesystem::path program;       // the built program
    std::optional<std::string> autorun;  // autorun.inf's bytes, if the copy has one
    std::filesystem::path builtProgram;  // the build's output, left out of the disc folder's files
};

// The disc's files: the program and any autorun.inf at the root, then the published files of
// the disc folder (ListDiscFiles), less those of the same names at the root (letter case
// ignored) and less the built program and the files in leftOut themselves. warnings gets
// a line for each file the disc folder leaves out.
std::vector<DiscImageFile> DiscCopyFiles(const DiscRoot& root,
                                         const std::optional<std::filesystem::path>& disc,
                                         const std::vector<std::filesystem::path>& leftOut,
                                         std::vector<std::string>& warnings);

// "Start <label>.exe", the label made a name a Windows disc holds: \ / : * ? " < > | and
// control characters become "_", and trailing dots and spaces go. Throws PackError when
// no name is left.
std::string UsbProgramName(const std::string& label);

// Why a FAT stick cannot hold the file (a name past 255 UTF-16 units, or 4 GiB and more),
// as a warning line; nothing when it can.
std::optional<std::string> FatProblem(const DiscImageFile& file, std::uintmax_t size);

// Writes the ISO image of the files (WriteIsoImage) through a temporary file; gives its size.
std::uint64_t WriteIsoFile(const std::filesystem::path& iso,
                           const std::vector<DiscImageFile>& files, const std::string& label);

// Copies the files into the folder, making it and its subfolders, each through a temporary
// file a piece at a time; warnings gets a line for each file a FAT stick cannot hold.
void WriteUsbFolder(const std::filesystem::path& folder, const std::vector<DiscImageFile>& files,
                    std::vector<std::string>& warnings);

}  // namespace ambrevo::pack
