#include "util/AppSettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kServices = QStringLiteral("Services");
} // namespace

AppSettings::AppSettings(const QString &iniPath)
    : m_settings(iniPath.isEmpty() ? std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Velm Tidefetch"))
                                   : std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

AppSettings::~AppSettings() = default;

QString AppSettings::DefaultDownPath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Free Tidefetch");
#else
    QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (downloads.isEmpty())
        downloads = QDir::homePath();
    return QDir::toNativeSeparators(downloads + QLatin1String("/Free Tidefetch"));
#endif
}

QString AppSettings::DownPath() const
{
    return Value(kSettings, QStringLiteral("DownPath"), DefaultDownPath());
}

void AppSettings::SetDownPath(const QString &path)
{
    SetValue(kSettings, QStringLiteral("DownPath"), path);
}

QString AppSettings::ApiHost() const
{
    return Value(kServices, QStringLiteral("ApiHost"), QStringLiteral("api.rapidshare.com"));
}

QString AppSettings::FileServerHostPattern() const
{
    return Value(kServices, QStringLiteral("FileServerHost"), QStringLiteral("rs{server}{short}.rapidshare.com"));
}

QString AppSettings::ServiceDomain() const
{
    return Value(kServices, QStringLiteral("ServiceDomain"), QStringLiteral("rapidshare.com"));
}

QString AppSettings::SearchHost() const
{
    return Value(kServices, QStringLiteral("SearchHost"), QStringLiteral("www.rapidshare-search.com"));
}

QString AppSettings::Value(const QString &group, const QString &key, const QString &defaultValue) const
{
    return m_settings->value(group + QLatin1Char('/') + key, defaultValue).toString();
}

void AppSettings::SetValue(const QString &group, const QString &key, const QString &value)
{
    m_settings->setValue(group + QLatin1Char('/') + key, value);
    m_settings->sync();
}
