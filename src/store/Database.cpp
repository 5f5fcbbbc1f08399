#include "store/Database.h"

#include <QAtomicInt>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

namespace {

QAtomicInt connectionCounter;

// left(text, n): the first n characters, as the program's statements use it.
void SqlLeft(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(arguments[0])));
    const int count = qMax(0, sqlite3_value_int(arguments[1]));
    const QByteArray left = text.left(count).toUtf8();
    sqlite3_result_text(context, left.constData(), int(left.size()), SQLITE_TRANSIENT);
}

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
    RegisterFunctions();
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

void Database::RegisterFunctions()
{
    const QVariant handle = Connection().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3 *sqlite = *static_cast<sqlite3 *const *>(handle.constData());
    if (sqlite)
        sqlite3_create_function(sqlite, "left", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, SqlLeft, nullptr,
                                nullptr);
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
