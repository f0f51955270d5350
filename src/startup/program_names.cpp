#include "startup/program_names.h"

namespace ambrevo {

std::string ProgramFolderOf(std::string_view programPath) {
    std::string folder = FolderPart(programPath);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string IconFileName(std::string_view programFileName) {
    return std::string(programFileName.substr(0, programFileName.rfind('.'))) + ".ico";
}

}  // namespace ambrevo
