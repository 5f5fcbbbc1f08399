#include "transfer/PartialFile.h"

#include "util/FileFolder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#else
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

namespace PartialFile {

namespace {

enum class Rename { Done, NameTaken, Failed };

// Gives `from` the name `to` in one step that fails when `to` exists, also when
// it appeared after any look: QFile::rename then replaces it.
Rename RenameWithoutReplacing(const QString &from, const QString &to, QString *error)
{
#ifdef Q_OS_WIN
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    if (MoveFileExW(reinterpret_cast<const wchar_t *>(source.utf16()), reinterpret_cast<const wchar_t *>(target.utf16()),
                    0))
        return Rename::Done;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
        return Rename::NameTaken;
    *error = qt_error_string(int(code));
    return Rename::Failed;
#else
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Rename::Done;
    // EINVAL: a file system that cannot rename this way.
    if (errno != EINVAL && errno != ENOSYS) {
        if (errno == EEXIST)
            return Rename::NameTaken;
        *error = qt_error_string(errno);
        return Rename::Failed;
    }
#endif
    // A second name that fails when taken, then the old one dropped; should that
    // fail, the whole file still has its name.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return Rename::Done;
    }
    if (errno == EEXIST)
        return Rename::NameTaken;
    // A file system without links (FAT): a look, then a plain rename, is all
    // there is.
    if (errno == EPERM || errno == EOPNOTSUPP) {
        const QFileInfo taken(to);
        if (taken.exists() || taken.isSymLink())
            return Rename::NameTaken;
        if (::rename(source.constData(), target.constData()) == 0)
            return Rename::Done;
    }
    *error = qt_error_string(errno);
    return Rename::Failed;
#endif
}

} // namespace

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
        QString reason;
        switch (RenameWithoutReplacing(partialPath, target, &reason)) {
        case Rename::Done:
            *finalPath = target;
            return true;
        case Rename::NameTaken:
            target = FileFolder::NextFileName(target);
            break;
        case Rename::Failed:
            *error = QFileInfo::exists(partialPath)
                ? reason
                : QStringLiteral("The partial file %1 was removed during the transfer").arg(partialPath);
            return false;
        }
    }
}

bool Remove(const QString &partialPath)
{
    const QFileInfo info(partialPath);
    if (!IsPartial(partialPath) || !info.isFile())
        return false;
    QFile file(partialPath);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    return file.remove();
}

} // namespace PartialFile
