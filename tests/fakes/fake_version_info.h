#pragma once

#include <map>
#include <string>
#include <vector>

#include "services/version_info.h"

namespace ambrevo::testing {

// Version resources by program path (exact text). Records the paths read.
class FakeVersionInfoReader : public VersionInfoReader {
public:
    std::optional<FileVersionInfo> Read(const std::string& path) override {
        read.push_back(path);
        const auto found = resources.find(path);
        if (found == resources.end()) return std::nullopt;
        return found->second;
    }

    std::map<std::string, FileVersionInfo> resources;
    std::vector<std::string> read;
};

}  // namespace ambrevo::testing
