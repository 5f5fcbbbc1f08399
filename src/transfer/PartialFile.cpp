#include "transfer/PartialFile.h"

#include "util/FileFolder.h"

#include <QFile>
#include <QFileInfo>

namespace PartialFile {

bool IsPartial(const QString &path)
{
    return path.size() > Suffix.size() && path.endsWith(Suffix);
}

QString ChooseFor(const QString &wantedPath)
{
    // An empty file there may pass for free; the rename then passes it over.
    QString path = wantedPath;
    while (QFileInfo::exists(FileFolder::GetUniqueFileName(path) + Suffix))
        path = FileFolder::NextFileName(path);
    return path + Suffix;
}

QString FinalPathOf(const QString &partialPath)
{
    return IsPartial(partialPath) ? partialPath.chopped(Suffix.size()) : partialPath;
}

bool Commit(const QString &partialPath, QString *finalPath, QString *error)
{
    QString target = FinalPathOf(partialPath);
    for (;;) {
        if (!QFileInfo::exists(target)) {
            // QFile::rename never replaces: on Linux it renames with RENAME_NOREPLACE.
            QFile partial(partialPath);
            if (partial.rename(target)) {
                *finalPath = target;
                return true;
            }
            if (!QFileInfo::exists(target)) {
                *error = QFileInfo::exists(partialPath)
                    ? partial.errorString()
                    : QStringLiteral("The partial file %1 was removed during the transfer").arg(partialPath);
                return false;
            }
        }
        target = FileFolder::NextFileName(target);
    }
}

void Remove(const QString &partialPath)
{
    const QFileInfo info(partialPath);
    if (!IsPartial(partialPath) || !info.isFile())
        return;
    QFile file(partialPath);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    file.remove();
}

} // namespace PartialFile
