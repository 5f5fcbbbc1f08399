#pragma once

#include <QDateTime>
#include <QHostAddress>
#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QStringList>

// Certificates made when they are needed (Qt cannot make them), with OpenSSL's
// libcrypto: an authority made on construction, leaf certificates it signs for
// given names and validity, and self-signed leaves no authority vouches for.
// Keys are P-256 EC keys, which are quick to make.
class CertificateAuthority final
{
    Q_DISABLE_COPY_MOVE(CertificateAuthority)

public:
    struct Issued {
        QSslCertificate certificate;
        QSslKey key;
    };

    // The names a leaf is valid for, and when.
    struct Subject {
        QStringList dnsNames;
        QList<QHostAddress> addresses;
        QDateTime notBefore = QDateTime::currentDateTimeUtc().addDays(-1);
        QDateTime notAfter = QDateTime::currentDateTimeUtc().addYears(1);
    };

    // A new authority named `commonName`, valid from yesterday for ten years.
    explicit CertificateAuthority(const QString &commonName);
    ~CertificateAuthority();

    QSslCertificate Certificate() const { return m_authority.certificate; }
    // A leaf for `subject`, signed by this authority.
    Issued Issue(const Subject &subject) const;
    // A leaf for `subject` that signs itself.
    static Issued SelfSigned(const Subject &subject);

    // What a server presents `leaf` with (it asks clients for no certificate).
    static QSslConfiguration ServerConfiguration(const Issued &leaf);
    // Writes this authority as PEM to `path`, for clients to trust; false with
    // the reason in `error`.
    bool WriteCertificate(const QString &path, QString *error = nullptr) const;

private:
    Issued m_authority;
};
