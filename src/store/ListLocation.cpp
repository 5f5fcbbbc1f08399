#include "store/ListLocation.h"

#include "store/StoreLog.h"
#include "util/ShippedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

ListLocation::ListLocation(QString programDir)
    : m_programDir(std::move(programDir))
    , m_userDataDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
    , m_shippedLists(ShippedFiles::Candidates(m_programDir, FileName()))
{
}

QString ListLocation::FileName()
{
    return QStringLiteral("DownList.db");
}

QString ListLocation::Resolve(QString &problem) const
{
    const QString portable = QDir(m_programDir).filePath(FileName());
    const QFileInfo portableInfo(portable);
    const bool portableExists = portableInfo.isFile();
    if (portableExists && portableInfo.isWritable() && QFileInfo(m_programDir).isWritable()) {
        qCDebug(lcStore) << "the portable list beside the program:" << portable;
        return portable;
    }

    const QString userList = QDir(m_userDataDir).filePath(FileName());
    if (QFileInfo(userList).isFile()) {
        qCDebug(lcStore) << "the user's list:" << userList;
        return userList;
    }
    for (const QString &shipped : m_shippedLists) {
        if (QFileInfo(shipped).isFile()) {
            qCDebug(lcStore) << "the user's list, copied from" << shipped << "to" << userList;
            return CopyShippedList(shipped, userList, problem);
        }
    }

    QStringList lookedAt{portableExists ? tr("%1 (not writable)").arg(portable) : portable, userList};
    lookedAt += m_shippedLists;
    problem = tr("Looked for:") + QLatin1Char('\n') + lookedAt.join(QLatin1Char('\n'));
    return {};
}

QString ListLocation::CopyShippedList(const QString &shipped, const QString &userList, QString &problem) const
{
    if (!QDir().mkpath(m_userDataDir)) {
        problem = tr("Cannot create the folder %1").arg(m_userDataDir);
        return {};
    }
    QFile source(shipped);
    if (!source.copy(userList)) {
        // Another copy of the program starting at the same moment may have made it.
        if (QFileInfo(userList).isFile())
            return userList;
        problem = tr("Cannot copy %1 to %2: %3").arg(shipped, userList, source.errorString());
        return {};
    }
    // The copy keeps the permissions of a read-only installation.
    if (!QFile::setPermissions(userList, QFile::permissions(userList) | QFile::ReadOwner | QFile::WriteOwner)) {
        problem = tr("Cannot make %1 writable").arg(userList);
        return {};
    }
    return userList;
}
