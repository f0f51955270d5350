// Signing in the Windows tool: the system's signer (SignerSignEx2 in mssign32.dll, loaded
// when needed) with the certificate and key of the .pfx imported for this process only; the
// password from the environment or the console without echo; ownership by the file's owner
// SID.
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <wincrypt.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/signing/code_signing.h"
#include "pack/signing/crypt_handles_win32.h"
#include "pack/signing/signer_api_win32.h"
#include "support/utf8.h"

namespace ambrevo::pack {
namespace {

struct LocalFreeDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};
struct LibraryFree {
    void operator()(HMODULE library) const { FreeLibrary(library); }
};

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return {text.begin(), text.end()};
}

std::string Hex(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

// The signing functions of mssign32.dll, which Windows 8 and later have.
struct Signer {
    std::unique_ptr<HINSTANCE__, LibraryFree> library;
    signer::SignEx2 signEx2 = nullptr;
    signer::FreeContext freeContext = nullptr;
};

Signer LoadSigner(const std::string& shown) {
    Signer signer;
    signer.library.reset(LoadLibraryExW(L"mssign32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (signer.library) {
        signer.signEx2 = reinterpret_cast<signer::SignEx2>(
            reinterpret_cast<void*>(GetProcAddress(signer.library.get(), "SignerSignEx2")));
        signer.freeContext = reinterpret_cast<signer::FreeContext>(reinterpret_cast<void*>(
            GetProcAddress(signer.library.get(), "SignerFreeSignerContext")));
    }
    if (signer.signEx2 == nullptr || signer.freeContext == nullptr) {
        throw PackError("cannot sign " + shown +
                        ": this Windows has no code signing (SignerSignEx2 of mssign32.dll, "
                        "which Windows 8 and later have); sign with ambrevo-pack on Linux");
    }
    return signer;
}

// The certificates of the .pfx, its key held by this process alone and never stored.
CertStore ImportCertificates(const SigningOptions& options, const std::string& shown) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(options.certificate);
    CRYPT_DATA_BLOB blob{static_cast<DWORD>(bytes.size()), bytes.data()};
    std::wstring password = Wide(options.password);
    CertStore store(PFXImportCertStore(&blob, password.c_str(), PKCS12_NO_PERSIST_KEY));
    DWORD error = GetLastError();
    // An empty password may have been stored as none: try both, as the function's
    // documentation asks.
    if (!store && password.empty()) {
        store.reset(PFXImportCertStore(&blob, nullptr, PKCS12_NO_PERSIST_KEY));
        error = GetLastError();
    }
    SecureZeroMemory(password.data(), password.size() * sizeof(wchar_t));
    if (store) return store;
    if (error == ERROR_INVALID_PASSWORD ||
        error == static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_INVALID_PASSWORD))) {
        throw PackError("cannot sign " + shown + ": the password does not open the certificate " +
                        QuotedPath(options.certificate));
    }
    throw PackError("cannot sign " + shown + ": " + QuotedPath(options.certificate) +
                    " is no PKCS#12 certificate with its key (error " + Hex(error) + ")");
}

// Signs file in place with the certificate of store that has its key, SHA-256, with an
// RFC 3161 time stamp when a service is named.
HRESULT SignFile(const Signer& signer, HCERTSTORE store, PCCERT_CONTEXT certificate,
                 const std::filesystem::path& file, const std::optional<std::string>& timestamp) {
    const std::wstring name = file.wstring();
    signer::FileInfo fileInfo{sizeof(signer::FileInfo), name.c_str(), nullptr};
    DWORD index = 0;
    signer::SubjectInfo subject{};
    subject.cbSize = sizeof subject;
    subject.pdwIndex = &index;
    subject.dwSubjectChoice = signer::kSubjectFile;
    subject.pSignerFileInfo = &fileInfo;
    signer::CertStoreInfo storeInfo{sizeof(signer::CertStoreInfo), certificate,
                                    signer::kCertPolicyStore, store};
    signer::Cert signerCertificate{};
    signerCertificate.cbSize = sizeof signerCertificate;
    signerCertificate.dwCertChoice = signer::kCertStore;
    signerCertificate.pCertStoreInfo = &storeInfo;
    signer::SignatureInfo signature{};
    signature.cbSize = sizeof signature;
    signature.algidHash = CALG_SHA_256;
    signature.dwAttrChoice = signer::kNoAttributes;
    const std::wstring timestampUrl = timestamp ? Wide(*timestamp) : std::wstring();
    signer::Context* context = nullptr;
    const HRESULT result = signer.signEx2(
        0, &subject, &signerCertificate, &signature, nullptr,
        timestamp ? signer::kTimestampRfc3161 : 0, timestamp ? szOID_NIST_sha256 : nullptr,
        timestamp ? timestampUrl.c_str() : nullptr, nullptr, nullptr, &context, nullptr, nullptr);
    if (context != nullptr) signer.freeContext(context);
    return result;
}

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

void SignProgram(const SigningOptions& options, const std::filesystem::path& file,
                 const std::filesystem::path& shownAs) {
    const std::string shown = QuotedPath(shownAs);
    const Signer signer = LoadSigner(shown);
    const CertStore store = ImportCertificates(options, shown);
    const Certificate certificate(
        CertFindCertificateInStore(store.get(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                   CERT_FIND_HAS_PRIVATE_KEY, nullptr, nullptr));
    if (!certificate) {
        throw PackError("cannot sign " + shown + ": " + QuotedPath(options.certificate) +
                        " holds no certificate with its key");
    }
    // Signed on a copy, so that a failure leaves the file as it was.
    const std::filesystem::path copy = file.wstring() + L".signing";
    if (!CopyFileW(file.c_str(), copy.c_str(), FALSE)) {
        const DWORD copyError = GetLastError();
        throw PackError("cannot sign " + shown + ": cannot copy it (error " + Hex(copyError) + ")");
    }
    const HRESULT result =
        SignFile(signer, store.get(), certificate.get(), copy, options.timestampUrl);
    std::error_code error;
    if (FAILED(result)) {
        std::filesystem::remove(copy, error);
        throw PackError("cannot sign " + shown + ": the system's signer fails with " +
                        Hex(static_cast<std::uint32_t>(result)));
    }
    std::filesystem::rename(copy, file, error);
    if (error) {
        std::filesystem::remove(copy, error);
        throw PackError("cannot replace " + shown + " by its signed copy: " + error.message());
    }
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
