#include "CertificateAuthority.h"

#include <QFile>
#include <QSslSocket>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <functional>
#include <memory>

namespace {

template <typename T, void (*Free)(T *)>
struct Deleter {
    void operator()(T *pointer) const { Free(pointer); }
};
using KeyPointer = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using CertificatePointer = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using Bio = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;

void Check(bool ok, const char *what)
{
    // Making a certificate fails only when libcrypto itself is broken.
    if (!ok)
        qFatal("certificate: %s failed", what);
}

QByteArray Pem(const std::function<int(BIO *)> &write)
{
    const Bio bio(BIO_new(BIO_s_mem()));
    Check(bio && write(bio.get()) == 1, "PEM output");
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, qsizetype(size));
}

KeyPointer NewKey()
{
    KeyPointer key(EVP_EC_gen("P-256"));
    Check(bool(key), "key generation");
    return key;
}

// Reads one PEM object with `read` (PEM_read_bio_PrivateKey, PEM_read_bio_X509).
template <typename Pointer, typename Read>
Pointer ReadPem(const QByteArray &pem, Read read, const char *what)
{
    const Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    Pointer object(read(bio.get(), nullptr, nullptr, nullptr));
    Check(bool(object), what);
    return object;
}

void AddExtension(X509 *certificate, X509V3_CTX *context, int nid, const QByteArray &value)
{
    X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, context, nid, value.constData());
    Check(extension && X509_add_ext(certificate, extension, -1) == 1, "extension");
    X509_EXTENSION_free(extension);
}

// Signs a certificate for `key` with `issuerKey`; a null `issuer` signs it with its own name.
CertificateAuthority::Issued Make(const QString &commonName, const QByteArray &altNames, bool authority,
                                  const QDateTime &notBefore, const QDateTime &notAfter, X509 *issuer,
                                  EVP_PKEY *issuerKey)
{
    KeyPointer key = NewKey();
    CertificatePointer certificate(X509_new());
    Check(certificate && X509_set_version(certificate.get(), 2) == 1, "version");
    unsigned char serial[16];
    Check(RAND_bytes(serial, sizeof serial) == 1, "serial");
    serial[0] &= 0x7f;
    BIGNUM *number = BN_bin2bn(serial, sizeof serial, nullptr);
    Check(number && BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate.get())), "serial");
    BN_free(number);
    Check(ASN1_TIME_set(X509_getm_notBefore(certificate.get()), time_t(notBefore.toSecsSinceEpoch()))
              && ASN1_TIME_set(X509_getm_notAfter(certificate.get()), time_t(notAfter.toSecsSinceEpoch())),
          "validity");
    X509_NAME *name = X509_get_subject_name(certificate.get());
    const QByteArray cn = commonName.toUtf8();
    Check(X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char *>(cn.constData()),
                                     -1, -1, 0) == 1,
          "name");
    Check(X509_set_issuer_name(certificate.get(), issuer ? X509_get_subject_name(issuer) : name) == 1, "issuer");
    Check(X509_set_pubkey(certificate.get(), key.get()) == 1, "public key");

    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer ? issuer : certificate.get(), certificate.get(), nullptr, nullptr, 0);
    AddExtension(certificate.get(), &context, NID_basic_constraints, authority ? "critical,CA:TRUE" : "CA:FALSE");
    AddExtension(certificate.get(), &context, NID_key_usage,
                 authority ? "critical,keyCertSign,cRLSign" : "critical,digitalSignature,keyEncipherment");
    AddExtension(certificate.get(), &context, NID_subject_key_identifier, "hash");
    if (issuer)
        AddExtension(certificate.get(), &context, NID_authority_key_identifier, "keyid");
    if (!authority)
        AddExtension(certificate.get(), &context, NID_ext_key_usage, "serverAuth");
    if (!altNames.isEmpty())
        AddExtension(certificate.get(), &context, NID_subject_alt_name, altNames);
    Check(X509_sign(certificate.get(), issuerKey ? issuerKey : key.get(), EVP_sha256()) > 0, "signature");

    X509 *raw = certificate.get();
    EVP_PKEY *rawKey = key.get();
    return {QSslCertificate(Pem([raw](BIO *bio) { return PEM_write_bio_X509(bio, raw); }), QSsl::Pem),
            QSslKey(Pem([rawKey](BIO *bio) {
                        return PEM_write_bio_PrivateKey(bio, rawKey, nullptr, nullptr, 0, nullptr, nullptr);
                    }),
                    QSsl::Ec, QSsl::Pem)};
}

QByteArray AltNames(const CertificateAuthority::Subject &subject)
{
    QByteArrayList names;
    for (const QString &dns : subject.dnsNames)
        names << "DNS:" + dns.toUtf8();
    for (const QHostAddress &address : subject.addresses)
        names << "IP:" + address.toString().toUtf8();
    return names.join(',');
}

QString CommonName(const CertificateAuthority::Subject &subject)
{
    return subject.dnsNames.isEmpty() ? subject.addresses.value(0).toString() : subject.dnsNames.first();
}

} // namespace

CertificateAuthority::CertificateAuthority(const QString &commonName)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    m_authority = Make(commonName, {}, true, now.addDays(-1), now.addYears(10), nullptr, nullptr);
}

CertificateAuthority::~CertificateAuthority() = default;

CertificateAuthority::Issued CertificateAuthority::Issue(const Subject &subject) const
{
    const auto issuer = ReadPem<CertificatePointer>(m_authority.certificate.toPem(), PEM_read_bio_X509,
                                                    "certificate input");
    const auto issuerKey = ReadPem<KeyPointer>(m_authority.key.toPem(), PEM_read_bio_PrivateKey, "key input");
    return Make(CommonName(subject), AltNames(subject), false, subject.notBefore, subject.notAfter, issuer.get(),
                issuerKey.get());
}

CertificateAuthority::Issued CertificateAuthority::SelfSigned(const Subject &subject)
{
    return Make(CommonName(subject), AltNames(subject), false, subject.notBefore, subject.notAfter, nullptr, nullptr);
}

QSslConfiguration CertificateAuthority::ServerConfiguration(const Issued &leaf)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(leaf.certificate);
    configuration.setPrivateKey(leaf.key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

bool CertificateAuthority::WriteCertificate(const QString &path, QString *error) const
{
    QFile file(path);
    const QByteArray pem = m_authority.certificate.toPem();
    if (file.open(QIODevice::WriteOnly) && file.write(pem) == pem.size() && file.flush())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
