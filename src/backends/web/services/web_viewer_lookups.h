#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "services/version_info.h"
#include "services/viewer_lookups.h"

namespace ambrevo::web {

// A browser has no file associations, Windows folder or version resources: every lookup
// answers "none", so the viewer checks find no viewer, as on a system without one.
class WebViewerLookups : public ViewerLookups {
public:
    std::string ExecutableFor(const std::string&, const std::string&) override { return {}; }
    std::string WindowsFolder() override { return {}; }
    std::string TemporaryFolder() override { return {}; }
    bool CreateNewFile(const std::string&, std::string_view) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
};

class WebVersionInfoReader : public VersionInfoReader {
public:
    std::optional<FileVersionInfo> Read(const std::string&) override { return std::nullopt; }
};

}  // namespace ambrevo::web
