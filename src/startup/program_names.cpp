#include "startup/program_names.h"

namespace ambrevo {
namespace {

constexpr char kPathDelimiters[] = "\\:";

}  // namespace

std::string FileNamePart(std::string_view path) {
    const std::size_t last = path.find_last_of(kPathDelimiters);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string ProgramFolderOf(std::string_view programPath) {
    const std::size_t last = programPath.find_last_of(kPathDelimiters);
    std::string folder(last == std::string_view::npos ? "" : programPath.substr(0, last + 1));
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string IconFileName(std::string_view programFileName) {
    return std::string(programFileName.substr(0, programFileName.rfind('.'))) + ".ico";
}

}  // namespace ambrevo
