#include "store/SchemaBuilder.h"

#include "store/ListSchema.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace SchemaBuilder {

bool CreateListFile(const QString &dbPath, const QString &schemaPath, QString *error)
{
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly)) {
        *error = schema.errorString();
        return false;
    }
    QFile::remove(dbPath);
    const QString connectionName = QStringLiteral("tidefetch-schema");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(dbPath);
        ok = db.open();
        if (!ok)
            *error = db.lastError().text();
        QSqlQuery query(db);
        // Statements end with ";" at the end of a line; comments start with "--".
        QString statement;
        const QStringList lines = QString::fromUtf8(schema.readAll()).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (!ok || line.trimmed().startsWith(QLatin1String("--")))
                continue;
            statement += line + QLatin1Char('\n');
            if (line.trimmed().endsWith(QLatin1Char(';'))) {
                ok = query.exec(statement);
                if (!ok)
                    *error = query.lastError().text();
                statement.clear();
            }
        }
        // The list made from the schema file is of the current version.
        if (ok && !query.exec(ListSchema::VersionStatement(ListSchema::CurrentVersion))) {
            ok = false;
            *error = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return ok;
}

} // namespace SchemaBuilder
