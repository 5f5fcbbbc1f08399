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
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    const QList<QSslCertificate> extra = ExtraCertificates();
    // An explicit list turns the on-demand lookup of the system's authorities
    // off, so it has to name them too.
    if (!extra.isEmpty())
        configuration.setCaCertificates(QSslConfiguration::systemCaCertificates() + extra);
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
