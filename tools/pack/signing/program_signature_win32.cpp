// The Windows tool's reader of Authenticode signatures: WinVerifyTrust checks the digest,
// CryptQueryObject gives the signer and the digest algorithm.
#include <windows.h>
// After windows.h, which they need.
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <memory>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/signing/crypt_handles_win32.h"
#include "pack/signing/program_signature.h"
#include "support/utf8.h"

namespace ambrevo::pack {
namespace {

using State = ProgramSignature::State;

constexpr char kNestedSignatureOid[] = "1.3.6.1.4.1.311.2.4.1";

struct MessageClose {
    void operator()(HCRYPTMSG message) const { CryptMsgClose(message); }
};

// Checks the signed digest against the file, without asking the network about revocation.
LONG VerifyTrust(const std::wstring& file) {
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = file.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return result;
}

std::string DigestName(const char* oid) {
    const std::string text = oid == nullptr ? "" : oid;
    if (text == szOID_OIWSEC_sha1) return "SHA-1";
    if (text == szOID_RSA_MD5) return "MD5";
    if (text == "2.16.840.1.101.3.4.2.1") return "SHA-256";
    if (text == "2.16.840.1.101.3.4.2.2") return "SHA-384";
    if (text == "2.16.840.1.101.3.4.2.3") return "SHA-512";
    return text;
}

std::string SignerName(HCERTSTORE store, const CMSG_SIGNER_INFO& signer) {
    CERT_INFO wanted{};
    wanted.Issuer = signer.Issuer;
    wanted.SerialNumber = signer.SerialNumber;
    const Certificate certificate(
        CertFindCertificateInStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                   CERT_FIND_SUBJECT_CERT, &wanted, nullptr));
    if (!certificate) return {};
    char oid[] = szOID_COMMON_NAME;
    wchar_t name[256] = {};
    CertGetNameStringW(certificate.get(), CERT_NAME_ATTR_TYPE, 0, oid, name, 256);
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(name));
}

bool HasNestedSignature(const CMSG_SIGNER_INFO& signer) {
    for (DWORD i = 0; i < signer.UnauthAttrs.cAttr; ++i) {
        if (std::string(signer.UnauthAttrs.rgAttr[i].pszObjId) == kNestedSignatureOid) return true;
    }
    return false;
}

// The signer's name and digest algorithm from the signature's PKCS#7 message.
void ReadSigner(const std::wstring& file, ProgramSignature& signature) {
    HCERTSTORE rawStore = nullptr;
    HCRYPTMSG rawMessage = nullptr;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, file.c_str(),
                          CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED, CERT_QUERY_FORMAT_FLAG_BINARY,
                          0, nullptr, nullptr, nullptr, &rawStore, &rawMessage, nullptr)) {
        return;
    }
    const CertStore store(rawStore);
    const std::unique_ptr<void, MessageClose> message(rawMessage);
    DWORD size = 0;
    if (!CryptMsgGetParam(rawMessage, CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size)) return;
    std::vector<std::uint8_t> buffer(size);
    if (!CryptMsgGetParam(rawMessage, CMSG_SIGNER_INFO_PARAM, 0, buffer.data(), &size)) return;
    const auto& signer = *reinterpret_cast<const CMSG_SIGNER_INFO*>(buffer.data());
    signature.signer = SignerName(rawStore, signer);
    signature.digest = DigestName(signer.HashAlgorithm.pszObjId);
    signature.weakDigestOnly =
        (signature.digest == "SHA-1" || signature.digest == "MD5") && !HasNestedSignature(signer);
}

}  // namespace

ProgramSignature ReadProgramSignature(const std::filesystem::path& file) {
    ReadFileBytes(file);  // a file that cannot be read is told as such, not as unsigned
    const std::wstring path = file.wstring();
    ProgramSignature signature;
    const LONG trust = VerifyTrust(path);
    switch (static_cast<HRESULT>(trust)) {
        case TRUST_E_NOSIGNATURE:
            return signature;
        case TRUST_E_SUBJECT_FORM_UNKNOWN:
            signature.state = State::kNoProgram;
            return signature;
        case TRUST_E_BAD_DIGEST:
            signature.state = State::kChanged;
            break;
        case NTE_BAD_SIGNATURE:
        case CRYPT_E_HASH_VALUE:
            signature.state = State::kBroken;
            break;
        // Whether the signer is trusted is the machine's decision, not the file's.
        case ERROR_SUCCESS:
        case CERT_E_UNTRUSTEDROOT:
        case CERT_E_CHAINING:
        case CERT_E_EXPIRED:
        case TRUST_E_EXPLICIT_DISTRUST:
        case CERT_E_UNTRUSTEDTESTROOT:
            signature.state = State::kSigned;
            break;
        default:
            signature.state = State::kUnreadable;
            signature.problem = "WinVerifyTrust gives error " + std::to_string(trust);
            return signature;
    }
    ReadSigner(path, signature);
    return signature;
}

// WinVerifyTrust reads an installer package's signature through the package's subject
// interface, as it reads a program's.
ProgramSignature ReadInstallerSignature(const std::filesystem::path& file) {
    return ReadProgramSignature(file);
}

}  // namespace ambrevo::pack
