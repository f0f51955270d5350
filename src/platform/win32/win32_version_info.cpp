#include "platform/win32/win32_version_info.h"

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "platform/win32/system_libraries.h"

namespace ambrevo::win32 {
namespace {

// A value of the resource: false when the key is absent.
bool QueryValue(const std::vector<char>& data, const char* key, void*& value, UINT& length) {
    return VersionLibrary().verQueryValue(data.data(), key, &value, &length) && value != nullptr;
}

// One string of the block, empty when absent.
std::string QueryString(const std::vector<char>& data, const std::string& block, const char* name) {
    std::string key = block + name;
    void* value = nullptr;
    UINT length = 0;
    if (!QueryValue(data, key.c_str(), value, length) || length == 0) {
        return {};
    }
    const char* text = static_cast<const char*>(value);
    return std::string(text, strnlen(text, length));
}

// The string block of the translation table's first language ("\StringFileInfo\040904E4\");
// empty when there is no translation table.
std::string FirstLanguageBlock(const std::vector<char>& data) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* value = nullptr;
    UINT length = 0;
    if (!QueryValue(data, "\\VarFileInfo\\Translation", value, length) ||
        length < sizeof(Translation)) {
        return {};
    }
    const auto* translation = static_cast<const Translation*>(value);
    std::string block = "\\StringFileInfo\\";  // then both as four upper-case hex digits
    for (const WORD part : {translation->language, translation->codePage}) {
        for (int shift = 12; shift >= 0; shift -= 4) {
            block += "0123456789ABCDEF"[(part >> shift) & 0xF];
        }
    }
    return block + "\\";
}

std::optional<FixedFileVersion> QueryFixedVersion(const std::vector<char>& data) {
    void* value = nullptr;
    UINT length = 0;
    // A root shorter than the structure would be read past its end.
    if (!QueryValue(data, "\\", value, length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return FixedFileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS)};
}

}  // namespace

std::optional<FileVersionInfo> Win32VersionInfoReader::Read(const std::string& path) {
    const VersionFunctions& version = VersionLibrary();
    DWORD handle = 0;
    const DWORD size = version.getFileVersionInfoSize(path.c_str(), &handle);
    if (size == 0) return std::nullopt;
    std::vector<char> data(size);
    if (!version.getFileVersionInfo(path.c_str(), 0, size, data.data())) return std::nullopt;

    FileVersionInfo info;
    const std::string block = FirstLanguageBlock(data);
    if (!block.empty()) {
        info.productName = QueryString(data, block, "ProductName");
        info.productVersion = QueryString(data, block, "ProductVersion");
        info.fileVersion = QueryString(data, block, "FileVersion");
        info.fileDescription = QueryString(data, block, "FileDescription");
    }
    info.fixedVersion = QueryFixedVersion(data);
    return info;
}

}  // namespace ambrevo::win32
