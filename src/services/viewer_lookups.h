#pragma once

#include <string>
#include <string_view>

namespace ambrevo {

// What the viewer and browser lookups ask of the system besides folder listings and
// version resources: file associations, the Windows folder and the browser probe file.
// (The names avoid FindExecutable and DeleteFile, which <windows.h> turns into macros.)
class ViewerLookups {
public:
    virtual ~ViewerLookups() = default;
    // Full path of the program that opens document, looked up with folder as the current
    // folder (may be empty); empty when there is none. At most 259 characters, ending at the
    // first NUL the system gives.
    virtual std::string ExecutableFor(const std::string& document, const std::string& folder) = 0;
    // The Windows folder as the system gives it; empty when the system gives nothing.
    virtual std::string WindowsFolder() = 0;
    // The user's temporary folder, ending in "\"; empty when the system gives none.
    virtual std::string TemporaryFolder() = 0;
    // Creates path holding bytes, only when no file or folder of that name exists. False
    // when it exists already or cannot be created; then nothing was made.
    virtual bool CreateNewFile(const std::string& path, std::string_view bytes) = 0;
    // False when the file could not be deleted.
    virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace ambrevo
