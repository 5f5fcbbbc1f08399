#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>

class QSqlDatabase;

// A program folder in a temporary directory holding a fresh, empty list file.
class TestListFile final
{
public:
    TestListFile();

    bool IsValid() const { return m_valid; }
    QString Folder() const { return m_dir.path(); }
    QString Path() const;
    // Runs statements straight on the file (fixtures), outside the program's store.
    bool Execute(const QStringList &statements) const;
    // Fills a list with `rows` rows of the kind a long-running user's list holds
    // (a third "Complete", the rest "Queued"; check rows "??"), in one transaction.
    bool FillDownList(int rows) const;
    bool FillCheckList(int rows) const;
    // Runs `work` on a connection of its own to the file.
    bool WithConnection(const std::function<bool(QSqlDatabase &)> &work) const;

private:

    QTemporaryDir m_dir;
    bool m_valid = false;
};
