#include <cstdlib>
#include <system_error>

#include "pack/common/pack_error.h"
#include "pack/start/user_folders.h"

namespace ambrevo::pack {

namespace {

// An environment variable that holds an absolute path, or nothing.
std::filesystem::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') return {};
    return value;
}

}  // namespace

UserFolders ThisUsersFolders() {
    UserFolders folders;
    folders.home = AbsoluteFromEnvironment("HOME");
    if (folders.home.empty()) throw PackError("the home folder is unknown: HOME is not set");
    std::error_code error;
    folders.documents = std::filesystem::is_directory(folders.home / "Documents", error)
                            ? folders.home / "Documents"
                            : folders.home;
    const std::filesystem::path config = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    folders.config = (config.empty() ? folders.home / ".config" : config) / "ambrevo";
    const std::filesystem::path runtime = AbsoluteFromEnvironment("XDG_RUNTIME_DIR");
    folders.runtime = runtime.empty() ? folders.config : runtime / "ambrevo";
    return folders;
}

}  // namespace ambrevo::pack
