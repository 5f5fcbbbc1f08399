#pragma once

#include <QString>
#include <QTemporaryDir>

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

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
