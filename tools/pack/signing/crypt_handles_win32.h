#pragma once

// Owners of the CryptoAPI's certificate stores and certificates.
#include <windows.h>
// After windows.h, which it needs.
#include <wincrypt.h>

#include <memory>

namespace ambrevo::pack {

struct CertStoreClose {
    void operator()(HCERTSTORE store) const { CertCloseStore(store, 0); }
};
struct CertificateFree {
    void operator()(PCCERT_CONTEXT certificate) const { CertFreeCertificateContext(certificate); }
};
using CertStore = std::unique_ptr<void, CertStoreClose>;
using Certificate = std::unique_ptr<const CERT_CONTEXT, CertificateFree>;

}  // namespace ambrevo::pack
