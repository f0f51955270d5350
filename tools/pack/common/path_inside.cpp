#include <vector>

#include "pack/common/real_path.h"

namespace ambrevo::pack {
namespace {

// The path's parts, less the empty one that a trailing separator leaves.
std::vector<std::filesystem::path> PartsOf(const std::filesystem::path& path) {
    std::vector<std::filesystem::path> parts;
    for (const std::filesystem::path& part : path.lexically_normal()) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

}  // namespace

std::optional<std::filesystem::path> PathInside(const std::filesystem::path& inner,
                                                const std::filesystem::path& outer) {
    const std::vector<std::filesystem::path> in = PartsOf(inner);
    const std::vector<std::filesystem::path> out = PartsOf(outer);
    if (out.empty() || in.size() < out.size()) return std::nullopt;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!SameEntryName(in[i], out[i])) return std::nullopt;
    }
    std::filesystem::path relative;
    for (std::size_t i = out.size(); i < in.size(); ++i) relative /= in[i];
    return relative.empty() ? std::filesystem::path(".") : relative;
}

}  // namespace ambrevo::pack
