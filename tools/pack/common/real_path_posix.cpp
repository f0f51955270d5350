#include <system_error>

#include "pack/common/real_path.h"

namespace ambrevo::pack {

std::optional<std::filesystem::path> RealPath(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path real = std::filesystem::canonical(path, error);
    if (error) return std::nullopt;
    return real;
}

bool IsLink(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(path, error));
}

bool SameEntryName(const std::filesystem::path& a, const std::filesystem::path& b) {
    return a == b;
}

}  // namespace ambrevo::pack
