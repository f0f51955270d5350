#include "backends/win32/services/win32_version_info.h"

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

// A value of the resource: false when the key is absent.
bool QueryValue(const std::vector<char>& data, const std::wstring& key, void*& value,
                UINT& length) {
    return VersionLibrary().verQueryValue(data.data(), key.c_str(), &value, &length) &&
           value != nullptr;
}

// One string of the block, empty when absent.
// The length of a string value counts its characters.
std::string QueryString(const std::vector<char>& data, const std::wstring& block,
                        const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    if (!QueryValue(data, block + name, value, length) || length == 0) return {};
    const auto* text = static_cast<const wchar_t*>(value);
    return Narrow(std::wstring_view(text, wcsnlen(text, length)));
}

// The string block of the translation table's first language ("\StringFileInfo\040904E4\");
// empty when there is no translation table.
std::wstring FirstLanguageBlock(const std::vector<char>& data) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* value = nullptr;
    UINT length = 0;
    if (!QueryValue(data, L"\\VarFileInfo\\Translation", value, length) ||
        length < sizeof(Translation)) {
        return {};
    }
    const auto* translation = static_cast<const Translation*>(value);
    std::wstring block = L"\\StringFileInfo\\";  // then both as four upper-case hex digits
    for (const WORD part : {translation->language, translation->codePage}) {
        for (int shift = 12; shift >= 0; shift -= 4) {
            block += L"0123456789ABCDEF"[(part >> shift) & 0xF];
        }
    }
    return block + L"\\";
}

std::optional<FixedFileVersion> QueryFixedVersion(const std::vector<char>& data) {
    void* value = nullptr;
    UINT length = 0;
    // A root shorter than the structure would be read past its end.
    if (!QueryValue(data, L"\\", value, length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return FixedFileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS)};
}

}  // namespace

std::optional<FileVersionInfo> Win32VersionInfoReader::Read(const std::string& path) {
    const VersionFunctions& version = VersionLibrary();
    DWORD handle = 0;
    const std::wstring file = Widen(path);
    const DWORD size = version.getFileVersionInfoSize(file.c_str(), &handle);
    if (size == 0) return std::nullopt;
    std::vector<char> data(size);
    if (!version.getFileVersionInfo(file.c_str(), 0, size, data.data())) return std::nullopt;

    FileVersionInfo info;
    const std::wstring block = FirstLanguageBlock(data);
    if (!block.empty()) {
        info.productName = QueryString(data, block, L"ProductName");
        info.productVersion = QueryString(data, block, L"ProductVersion");
        info.fileVersion = QueryString(data, block, L"FileVersion");
        info.fileDescription = QueryString(data, block, L"FileDescription");
    }
    info.fixedVersion = QueryFixedVersion(data);
    return info;
}

}  // namespace ambrevo::win32
