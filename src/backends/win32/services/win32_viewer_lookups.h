#pragma once

#include "services/viewer_lookups.h"

namespace ambrevo::win32 {

// File associations through FindExecutableW, the Windows and temporary folders, and small
// files made with exclusive creation.
class Win32ViewerLookups : public ViewerLookups {
public:
    std::string ExecutableFor(const std::string& document, const std::string& folder) override;
    std::string WindowsFolder() override;
    std::string TemporaryFolder() override;
    bool CreateNewFile(const std::string& path, std::string_view bytes) override;
    bool RemoveFile(const std::string& path) override;
};

}  // namespace ambrevo::win32
