#include "store/Database.h"

#include <QAtomicInt>
#include <QSqlQuery>
#include <QUrl>

namespace {

QAtomicInt connectionCounter;

} // namespace

Database::Database(const QString &path)
    : m_connectionName(QStringLiteral("tidefetch-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    // mode=rw: a missing file is an error, never a new empty database.
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QLatin1String("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    m_open = db.open();
    if (!m_open) {
        m_openError = db.lastError();
        return;
    }
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
}

Database::~Database()
{
    qDeleteAll(m_prepared);
    m_prepared.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Database::Connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery *Database::Prepared(const QString &sql, QSqlError *error)
{
    if (QSqlQuery *query = m_prepared.value(sql))
        return query;
    auto *query = new QSqlQuery(Connection());
    if (!query->prepare(sql)) {
        if (error)
            *error = query->lastError();
        delete query;
        return nullptr;
    }
    m_prepared.insert(sql, query);
    return query;
}

bool Database::Execute(const QString &sql, const QVariantList &values, QSqlError *error, QVariant *lastInsertId)
{
    QSqlQuery *query = Prepared(sql, error);
    if (!query)
        return false;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    const bool ok = query->exec();
    if (!ok && error)
        *error = query->lastError();
    if (ok && lastInsertId)
        *lastInsertId = query->lastInsertId();
    query->finish();
    return ok;
}

bool Database::BeginTransaction()
{
    return Connection().transaction();
}

bool Database::CommitTransaction()
{
    return Connection().commit();
}
