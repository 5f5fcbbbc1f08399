#include "transfer/TlsTrust.h"

#include <QFile>
#include <QSslCertificate>

namespace TlsTrust {

namespace {

QString ExtraCaPath()
{
    return QString::fromLocal8Bit(qgetenv(ExtraCaVariable));
}

QList<QSslCertificate> ExtraCertificates()
{
    const QString path = ExtraCaPath();
    return path.isEmpty() ? QList<QSslCertificate>() : QSslCertificate::fromPath(path, QSsl::Pem);
}

} // namespace

QSslConfiguration Configuration()
{
    // Reading the system's authorities and the file takes hundreds of files:
    // done once per file named, not per connection.
    static QString cachedPath;
    static QList<QSslCertificate> cachedAuthorities;
    const QString path = ExtraCaPath();
    if (path != cachedPath) {
        cachedPath = path;
        const QList<QSslCertificate> extra = ExtraCertificates();
        cachedAuthorities = extra.isEmpty() ? extra : QSslConfiguration::systemCaCertificates() + extra;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    // An explicit list turns the on-demand lookup of the system's authorities
    // off, so it has to name them too.
    if (!cachedAuthorities.isEmpty())
        configuration.setCaCertificates(cachedAuthorities);
    return configuration;
}

QString ExtraCaProblem()
{
    const QString path = ExtraCaPath();
    if (path.isEmpty())
        return {};
    if (!QFile::exists(path))
        return QStringLiteral("%1 names %2, which does not exist").arg(QLatin1String(ExtraCaVariable), path);
    if (ExtraCertificates().isEmpty())
        return QStringLiteral("%1 names %2, which holds no PEM certificate").arg(QLatin1String(ExtraCaVariable), path);
    return {};
}

} // namespace TlsTrust
