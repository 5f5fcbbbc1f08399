#pragma once

#include <QString>

#include <memory>

class QSettings;

// The settings store. "Settings/DownPath" is the user's download folder; the
// "Services" group names the hosts the program talks to (each may carry ":port").
class AppSettings final
{
    Q_DISABLE_COPY_MOVE(AppSettings)

public:
    // The per-user store of "Velm Tidefetch", or the ini file at `iniPath` when given.
    explicit AppSettings(const QString &iniPath = {});
    ~AppSettings();

    static QString DefaultDownPath();
    // The stored download folder, or the default when none is stored.
    QString DownPath() const;
    void SetDownPath(const QString &path);

    // Host of the service's API ("/cgi-bin/rsapi.cgi").
    QString ApiHost() const;
    // File-server host pattern: "{server}" and "{short}" stand for the server id
    // and short host of a check reply.
    QString FileServerHostPattern() const;
    // The domain every supported link contains.
    QString ServiceDomain() const;
    // Host of the file-search site.
    QString SearchHost() const;

    QString Value(const QString &group, const QString &key, const QString &defaultValue) const;
    void SetValue(const QString &group, const QString &key, const QString &value);

private:
    std::unique_ptr<QSettings> m_settings;
};
