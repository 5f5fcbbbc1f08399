#include "store/ListSchema.h"

#include "store/Database.h"
#include "store/StoreLog.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace ListSchema {

namespace {

// The statements that take a list from version i to version i + 1.
const QList<QStringList> &Steps()
{
    static const QList<QStringList> steps = {
        {QStringLiteral("ALTER TABLE DownList ADD COLUMN Partial_File TEXT")},
        {QStringLiteral("ALTER TABLE DownList ADD COLUMN Final_URL TEXT"),
         QStringLiteral("ALTER TABLE CheckList ADD COLUMN Final_URL TEXT")},
    };
    return steps;
}

bool Run(QSqlQuery &query, const QString &statement, QString *failure)
{
    if (query.exec(statement))
        return true;
    *failure = query.lastError().text() + QLatin1String(" (") + statement + QLatin1Char(')');
    return false;
}

} // namespace

QString VersionStatement(int version)
{
    return QStringLiteral("PRAGMA user_version = %1").arg(version);
}

int Version(Database &database, QString *failure)
{
    QSqlQuery query(database.Connection());
    if (!Run(query, QStringLiteral("PRAGMA user_version"), failure) || !query.next()) {
        if (failure->isEmpty())
            *failure = QCoreApplication::translate("ListSchema", "The list file has no schema version");
        return -1;
    }
    return query.value(0).toInt();
}

bool Upgrade(Database &database, QString *failure)
{
    static_assert(CurrentVersion > 0);
    Q_ASSERT(Steps().size() == CurrentVersion);
    const int version = Version(database, failure);
    if (version < 0)
        return false;
    if (version > CurrentVersion) {
        *failure = QCoreApplication::translate("ListSchema",
                                               "The list file has schema version %1, but this Tidefetch knows "
                                               "versions up to %2. Please use a newer Tidefetch.")
                       .arg(version)
                       .arg(CurrentVersion);
        return false;
    }
    QSqlDatabase connection = database.Connection();
    for (int step = version; step < CurrentVersion; ++step) {
        // The new number is written inside the transaction, so it rolls back with the step.
        if (!connection.transaction()) {
            *failure = connection.lastError().text();
            return false;
        }
        QSqlQuery query(connection);
        bool ok = true;
        for (const QString &statement : Steps().at(step))
            ok = ok && Run(query, statement, failure);
        ok = ok && Run(query, VersionStatement(step + 1), failure);
        if (!ok) {
            connection.rollback();
            *failure = QCoreApplication::translate(
                           "ListSchema", "The list file could not be upgraded from schema version %1 to %2: %3")
                           .arg(step)
                           .arg(step + 1)
                           .arg(*failure);
            return false;
        }
        if (!connection.commit()) {
            *failure = connection.lastError().text();
            return false;
        }
        qCDebug(lcStore) << "list upgraded from schema version" << step << "to" << step + 1;
    }
    return true;
}

} // namespace ListSchema
