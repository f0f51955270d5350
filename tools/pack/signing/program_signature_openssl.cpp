// The Linux tool's reader of Authenticode signatures: the PE format's certificate table is
// read here, the PKCS#7 signature within it by OpenSSL.
#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>

#include <memory>
#include <optional>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/signing/program_signature.h"
#include "package/memory_file.h"
#include "package/package_stream.h"
#include "package/pe_certificate_table.h"
#include "package/pe_header.h"

namespace ambrevo::pack {
namespace {

using State = ProgramSignature::State;

// WIN_CERTIFICATE: its length, revision and type, then the certificate.
constexpr std::int64_t kWinCertificateHeader = 8;
constexpr std::uint32_t kPkcsSignedData = 2;
constexpr std::int64_t kCheckSumOffset = 64;  // within the optional header, PE32 and PE32+
constexpr std::int64_t kDirectoryEntrySize = 8;
constexpr char kIndirectDataOid[] = "1.3.6.1.4.1.311.2.1.4";
constexpr char kNestedSignatureOid[] = "1.3.6.1.4.1.311.2.4.1";
constexpr int kAsn1HeaderError = 0x80;  // the flag ASN1_get_object sets on a bad header

struct Pkcs7Free {
    void operator()(PKCS7* p) const { PKCS7_free(p); }
};
struct SequenceFree {
    void operator()(ASN1_SEQUENCE_ANY* s) const { sk_ASN1_TYPE_pop_free(s, ASN1_TYPE_free); }
};
struct SignersFree {
    void operator()(STACK_OF(X509) * s) const { sk_X509_free(s); }
};
struct DigestContextFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
struct BioFree {
    void operator()(BIO* b) const { BIO_free(b); }
};
using Sequence = std::unique_ptr<ASN1_SEQUENCE_ANY, SequenceFree>;

ProgramSignature Unreadable(std::string problem) {
    ProgramSignature signature;
    signature.state = State::kUnreadable;
    signature.problem = std::move(problem);
    return signature;
}

ProgramSignature NoProgram() {
    ProgramSignature signature;
    signature.state = State::kNoProgram;
    return signature;
}

// The elements of a SEQUENCE held by an ASN1_TYPE, decoded by OpenSSL; null when the
// value is no SEQUENCE.
Sequence Elements(const ASN1_TYPE* value) {
    if (value == nullptr || value->type != V_ASN1_SEQUENCE) return nullptr;
    const unsigned char* der = value->value.sequence->data;
    return Sequence(d2i_ASN1_SEQUENCE_ANY(nullptr, &der, value->value.sequence->length));
}

const ASN1_TYPE* Element(const Sequence& sequence, int index) {
    if (!sequence || sk_ASN1_TYPE_num(sequence.get()) <= index) return nullptr;
    return sk_ASN1_TYPE_value(sequence.get(), index);
}

std::string ObjectText(const ASN1_OBJECT* object) {
    char text[128] = {};
    OBJ_obj2txt(text, sizeof text, object, 1);
    return text;
}

// The digest that the signature vouches for: SpcIndirectDataContent's DigestInfo.
struct SignedDigest {
    const ASN1_OBJECT* algorithm = nullptr;
    std::vector<unsigned char> value;
};

std::optional<SignedDigest> ReadSignedDigest(PKCS7* pkcs7) {
    if (!PKCS7_type_is_signed(pkcs7) || pkcs7->d.sign == nullptr) return std::nullopt;
    const PKCS7* contents = pkcs7->d.sign->contents;
    if (contents == nullptr || ObjectText(contents->type) != kIndirectDataOid) return std::nullopt;
    const Sequence indirect = Elements(contents->d.other);
    const Sequence digestInfo = Elements(Element(indirect, 1));
    const Sequence algorithm = Elements(Element(digestInfo, 0));
    const ASN1_TYPE* oid = Element(algorithm, 0);
    const ASN1_TYPE* digest = Element(digestInfo, 1);
    if (oid == nullptr || oid->type != V_ASN1_OBJECT || digest == nullptr ||
        digest->type != V_ASN1_OCTET_STRING) {
        return std::nullopt;
    }
    const ASN1_OCTET_STRING* bytes = digest->value.octet_string;
    return SignedDigest{oid->value.object, {bytes->data, bytes->data + bytes->length}};
}

// The Authenticode digest of a PE file: every byte before the certificate table but the
// header's checksum and its security directory entry.
std::optional<std::vector<unsigned char>> FileDigest(const EVP_MD* md, const std::string& bytes,
                                                     std::int64_t checkSum,
                                                     const CertificateTable& table) {
    const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::int64_t ranges[][2] = {{0, checkSum},
                                      {checkSum + 4, table.directoryEntry},
                                      {table.directoryEntry + kDirectoryEntrySize, table.offset}};
    if (!context || EVP_DigestInit_ex(context.get(), md, nullptr) != 1) return std::nullopt;
    for (const auto& [begin, end] : ranges) {
        if (begin > end) return std::nullopt;
        EVP_DigestUpdate(context.get(), data + begin, static_cast<std::size_t>(end - begin));
    }
    std::vector<unsigned char> digest(EVP_MAX_MD_SIZE);
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(context.get(), digest.data(), &size) != 1) return std::nullopt;
    digest.resize(size);
    return digest;
}

std::string DigestName(int nid) {
    switch (nid) {
        case NID_md5:
            return "MD5";
        case NID_sha1:
            return "SHA-1";
        case NID_sha256:
            return "SHA-256";
        case NID_sha384:
            return "SHA-384";
        case NID_sha512:
            return "SHA-512";
        default:
            return OBJ_nid2sn(nid);
    }
}

std::string SignerName(PKCS7* pkcs7) {
    const std::unique_ptr<STACK_OF(X509), SignersFree> signers(
        PKCS7_get0_signers(pkcs7, nullptr, 0));
    if (!signers || sk_X509_num(signers.get()) == 0) return {};
    const X509_NAME* subject = X509_get_subject_name(sk_X509_value(signers.get(), 0));
    const int index = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (index < 0) return {};
    unsigned char* text = nullptr;
    const int length =
        ASN1_STRING_to_UTF8(&text, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, index)));
    if (length < 0) return {};
    std::string name(reinterpret_cast<char*>(text), static_cast<std::size_t>(length));
    OPENSSL_free(text);
    return name;
}

// A second signature nested in the first's unsigned attributes (a SHA-256 one beside
// SHA-1, as dual signing makes).
bool HasNestedSignature(PKCS7* pkcs7) {
    STACK_OF(PKCS7_SIGNER_INFO)* infos = PKCS7_get_signer_info(pkcs7);
    if (infos == nullptr || sk_PKCS7_SIGNER_INFO_num(infos) == 0) return false;
    const STACK_OF(X509_ATTRIBUTE)* attributes = sk_PKCS7_SIGNER_INFO_value(infos, 0)->unauth_attr;
    for (int i = 0; i < sk_X509_ATTRIBUTE_num(attributes); ++i) {
        const X509_ATTRIBUTE* attribute = sk_X509_ATTRIBUTE_value(attributes, i);
        if (ObjectText(X509_ATTRIBUTE_get0_object(const_cast<X509_ATTRIBUTE*>(attribute))) ==
            kNestedSignatureOid) {
            return true;
        }
    }
    return false;
}

// Why OpenSSL's last call failed, from its queue of errors, which this empties: a signature
// that does not match what it signs, or the first error's reason.
struct OpenSslFailure {
    bool mismatch = false;
    std::string reason;
};
OpenSslFailure TakeOpenSslFailure() {
    OpenSslFailure failure;
    for (unsigned long error = ERR_get_error(); error != 0; error = ERR_get_error()) {
        const int reason = ERR_GET_REASON(error);
        if (ERR_GET_LIB(error) == ERR_LIB_PKCS7 &&
            (reason == PKCS7_R_SIGNATURE_FAILURE || reason == PKCS7_R_DIGEST_FAILURE)) {
            failure.mismatch = true;
        }
        const char* text = ERR_reason_error_string(error);
        if (failure.reason.empty() && text != nullptr) failure.reason = text;
    }
    return failure;
}

// Verifies the signature over what it signs: the signer's digest of the
// SpcIndirectDataContent's value (its DER without the SEQUENCE's tag and length), then the
// signature over the signed attributes. The signer's certificate is taken as given: whether
// it is trusted is the machine's decision. Gives the failure, or nothing when it verifies.
std::optional<ProgramSignature> SignatureFailure(PKCS7* pkcs7) {
    const ASN1_STRING* content = pkcs7->d.sign->contents->d.other->value.sequence;
    const unsigned char* value = content->data;
    long length = 0;
    int tag = 0;
    int tagClass = 0;
    if (ASN1_get_object(&value, &length, &tag, &tagClass, content->length) & kAsn1HeaderError) {
        return Unreadable("its signed content is cut short");
    }
    ERR_clear_error();
    const std::unique_ptr<BIO, BioFree> signedContent(
        BIO_new_mem_buf(value, static_cast<int>(length)));
    if (signedContent && PKCS7_verify(pkcs7, nullptr, nullptr, signedContent.get(), nullptr,
                                      PKCS7_NOVERIFY | PKCS7_BINARY) == 1) {
        return std::nullopt;
    }
    const OpenSslFailure failure = TakeOpenSslFailure();
    if (!failure.mismatch) {
        return Unreadable("its signature cannot be checked: " +
                          (failure.reason.empty() ? "OpenSSL gives no reason" : failure.reason));
    }
    ProgramSignature broken;
    broken.state = State::kBroken;
    broken.signer = SignerName(pkcs7);
    return broken;
}

ProgramSignature ReadSignature(const std::string& bytes) {
    PackageStream stream(std::make_unique<MemoryFile>(bytes));
    const std::optional<PeHeader> header = ReadPeHeader(stream);
    if (!header) return NoProgram();
    const std::optional<CertificateTable> table = ReadCertificateTable(stream);
    if (!table) return {};
    const std::optional<std::uint32_t> length = LittleEndianAt(stream, table->offset, 4);
    const std::optional<std::uint32_t> type = LittleEndianAt(stream, table->offset + 6, 2);
    if (table->size < kWinCertificateHeader || !length || !type ||
        *length < kWinCertificateHeader || *length > table->size) {
        return Unreadable("its certificate table is cut short");
    }
    if (*type != kPkcsSignedData) {
        return Unreadable("its certificate is of type " + std::to_string(*type) +
                          ", not an Authenticode signature");
    }
    const auto* der = reinterpret_cast<const unsigned char*>(bytes.data() + table->offset +
                                                             kWinCertificateHeader);
    const std::unique_ptr<PKCS7, Pkcs7Free> pkcs7(
        d2i_PKCS7(nullptr, &der, static_cast<long>(*length - kWinCertificateHeader)));
    if (!pkcs7) return Unreadable("its signature is no PKCS#7 signed data");
    const std::optional<SignedDigest> signedDigest = ReadSignedDigest(pkcs7.get());
    if (!signedDigest) return Unreadable("its signature holds no Authenticode digest");
    const int nid = OBJ_obj2nid(signedDigest->algorithm);
    const EVP_MD* md = EVP_get_digestbynid(nid);
    if (md == nullptr) {
        return Unreadable("its digest algorithm " + ObjectText(signedDigest->algorithm) +
                          " is unknown");
    }
    const std::optional<std::vector<unsigned char>> digest =
        FileDigest(md, bytes, header->optionalHeader + kCheckSumOffset, *table);
    if (!digest) return Unreadable("its headers overlap its certificate table");
    if (std::optional<ProgramSignature> failure = SignatureFailure(pkcs7.get())) return *failure;

    ProgramSignature signature;
    signature.state = *digest == signedDigest->value ? State::kSigned : State::kChanged;
    signature.signer = SignerName(pkcs7.get());
    signature.digest = DigestName(nid);
    signature.weakDigestOnly =
        (nid == NID_sha1 || nid == NID_md5) && !HasNestedSignature(pkcs7.get());
    return signature;
}

}  // namespace

ProgramSignature ReadProgramSignature(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    return ReadSignature(std::string(bytes.begin(), bytes.end()));
}

ProgramSignature ReadInstallerSignature(const std::filesystem::path&) {
    ProgramSignature signature;
    signature.state = State::kNotRead;
    return signature;
}

}  // namespace ambrevo::pack
