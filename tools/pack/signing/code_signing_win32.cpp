// Signing in the Windows tool: the password from the environment or the console without
// echo; ownership by the file's owner SID. Making the signature itself is done by the
// Linux tool (osslsigncode) or the platform SDK's signtool.
#include <windows.h>
// After windows.h, which it needs.
#include <aclapi.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/signing/code_signing.h"

namespace ambrevo::pack {
namespace {

struct LocalFreeDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};

// The current user's SID, in a buffer that holds the TOKEN_USER it lies in.
std::vector<std::uint8_t> CurrentUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> user(size);
    const bool read = size > 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    if (!read) return {};
    return user;
}

}  // namespace

std::string SigningPassword(const std::filesystem::path& certificate) {
    if (const char* password = std::getenv(kSignPasswordVariable)) return password;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode)) {
        throw PackError(std::string("the password of \"") + PathToUtf8(certificate) +
                        "\" is needed: set " + kSignPasswordVariable +
                        " or run the tool in a console");
    }
    SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::cerr << "password of " << PathToUtf8(certificate) << ": " << std::flush;
    std::string password;
    std::getline(std::cin, password);
    SetConsoleMode(input, mode);
    std::cerr << "\n";
    return password;
}

void SignProgram(const SigningOptions&, const std::filesystem::path& file) {
    throw PackError("cannot sign \"" + PathToUtf8(file) +
                    "\": signing is not available in the Windows tool; sign with ambrevo-pack "
                    "on Linux or with the Windows SDK's signtool");
}

bool OwnedByCurrentUser(const std::filesystem::path& file) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
    if (GetNamedSecurityInfoW(file.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &rawDescriptor) != ERROR_SUCCESS) {
        return false;
    }
    const std::unique_ptr<void, LocalFreeDeleter> descriptor(rawDescriptor);
    std::vector<std::uint8_t> user = CurrentUser();
    return !user.empty() && EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
}

}  // namespace ambrevo::pack
