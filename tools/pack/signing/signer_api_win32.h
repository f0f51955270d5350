#pragma once

// The structures and functions of mssign32.dll that sign a file, as Microsoft documents them
// (SignerSignEx2, Windows 8 and later); MinGW's headers do not declare them.
#include <windows.h>
// After windows.h, which it needs.
#include <wincrypt.h>

namespace ambrevo::pack::signer {

constexpr DWORD kSubjectFile = 0x01;       // SIGNER_SUBJECT_FILE
constexpr DWORD kCertStore = 0x02;         // SIGNER_CERT_STORE
constexpr DWORD kCertPolicyStore = 0x01;   // SIGNER_CERT_POLICY_STORE
constexpr DWORD kNoAttributes = 0x00;      // SIGNER_NO_ATTR
constexpr DWORD kTimestampRfc3161 = 0x02;  // SIGNER_TIMESTAMP_RFC3161

struct FileInfo {  // SIGNER_FILE_INFO
    DWORD cbSize;
    LPCWSTR pwszFileName;
    HANDLE hFile;
};

struct SubjectInfo {  // SIGNER_SUBJECT_INFO
    DWORD cbSize;
    DWORD* pdwIndex;
    DWORD dwSubjectChoice;
    union {
        FileInfo* pSignerFileInfo;
        void* pSignerBlobInfo;
    };
};

struct CertStoreInfo {  // SIGNER_CERT_STORE_INFO
    DWORD cbSize;
    PCCERT_CONTEXT pSigningCert;
    DWORD dwCertPolicy;
    HCERTSTORE hCertStore;
};

struct Cert {  // SIGNER_CERT
    DWORD cbSize;
    DWORD dwCertChoice;
    union {
        LPCWSTR pwszSpcFile;
        CertStoreInfo* pCertStoreInfo;
        void* pSpcChainInfo;
    };
    HWND hwnd;
};

struct SignatureInfo {  // SIGNER_SIGNATURE_INFO
    DWORD cbSize;
    ALG_ID algidHash;
    DWORD dwAttrChoice;
    union {
        void* pAttrAuthcode;
    };
    PCRYPT_ATTRIBUTES psAuthenticated;
    PCRYPT_ATTRIBUTES psUnauthenticated;
};

struct Context {  // SIGNER_CONTEXT
    DWORD cbSize;
    DWORD cbBlob;
    BYTE* pbBlob;
};

using SignEx2 = HRESULT(WINAPI*)(DWORD dwFlags, SubjectInfo* pSubjectInfo, Cert* pSignerCert,
                                 SignatureInfo* pSignatureInfo, void* pProviderInfo,
                                 DWORD dwTimestampFlags, PCSTR pszTimestampAlgorithmOid,
                                 PCWSTR pwszHttpTimeStamp, PCRYPT_ATTRIBUTES psRequest,
                                 void* pSipData, Context** ppSignerContext, void* pCryptoPolicy,
                                 void* pReserved);
using FreeContext = HRESULT(WINAPI*)(Context* pSignerContext);

}  // namespace ambrevo::pack::signer
