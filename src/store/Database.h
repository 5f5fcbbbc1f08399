#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QHash>
#include <QString>
#include <QVariantList>

class QSqlQuery;

// One SQLite connection to the list file: WAL journal and a busy time-out so two
// running copies can share it, every statement committed on its own, prepared
// statements cached by their text.
class Database final
{
    Q_DISABLE_COPY_MOVE(Database)

public:
    explicit Database(const QString &path);
    ~Database();

    bool IsOpen() const { return m_open; }
    QSqlError OpenError() const { return m_openError; }
    QSqlDatabase Connection() const;

    // Runs a statement with bound values; false (with `error`) when it fails.
    bool Execute(const QString &sql, const QVariantList &values, QSqlError *error = nullptr,
                 QVariant *lastInsertId = nullptr);
    // A prepared query for `sql`, kept for the next call with the same text.
    QSqlQuery *Prepared(const QString &sql, QSqlError *error);

    bool BeginTransaction();
    bool CommitTransaction();

private:
    QString m_connectionName;
    bool m_open = false;
    QSqlError m_openError;
    QHash<QString, QSqlQuery *> m_prepared;
};
