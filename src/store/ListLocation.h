#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Which list file the program opens.
//
// A DownList.db beside the program is used as it is when the program may write
// both the file and its folder (a portable copy; SQLite keeps its journal files
// beside the list). Otherwise the user's own list in the per-user data folder is
// used; when the user has none yet, the first shipped empty list is copied there
// and made writable. A list is never made from nothing, and an existing list is
// never replaced or rewritten here.
class ListLocation final
{
    Q_DISABLE_COPY_MOVE(ListLocation)
    Q_DECLARE_TR_FUNCTIONS(ListLocation)

public:
    // For the program in `programDir`: the per-user data folder of the
    // application, and the shipped lists where an installation keeps them.
    explicit ListLocation(QString programDir);

    static QString FileName();

    // The list to open. Empty when there is none; `problem` then names the places
    // looked at, or says why the shipped list could not be copied.
    QString Resolve(QString &problem) const;

private:
    QString CopyShippedList(const QString &shipped, const QString &userList, QString &problem) const;

    QString m_programDir;
    QString m_userDataDir;
    QStringList m_shippedLists;
};
