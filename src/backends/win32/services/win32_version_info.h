#pragma once

#include "services/version_info.h"

namespace ambrevo::win32 {

class Win32VersionInfoReader : public VersionInfoReader {
public:
    std::optional<FileVersionInfo> Read(const std::string& path) override;
};

}  // namespace ambrevo::win32
