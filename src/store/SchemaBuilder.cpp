#include "store/SchemaBuilder.h"

#include "store/ListSchema.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace SchemaBuilder {

namespace {

// Runs the schema's statements and stamps the version on the (empty) file at `dbPath`.
bool FillFromSchema(const QString &dbPath, const QByteArray &schema, QString *error)
{
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
        const QStringList lines = QString::fromUtf8(schema).split(QLatin1Char('\n'));
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

} // namespace

bool CreateListFile(const QString &dbPath, const QString &schemaPath, QString *error)
{
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly)) {
        *error = schema.errorString();
        return false;
    }
    // In the target's folder, so the rename stays on one file system.
    QTemporaryFile building(dbPath + QStringLiteral(".XXXXXX"));
    if (!building.open()) {
        *error = building.errorString();
        return false;
    }
    // SQLite opens it by name; an empty file is an empty database. Readable by
    // all, as the installed copy is.
    building.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    building.close();
    if (!FillFromSchema(building.fileName(), schema.readAll(), error))
        return false;

    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(building.fileName()).toStdString(),
                            QFile::encodeName(dbPath).toStdString(), failure);
    if (failure) {
        *error = QString::fromStdString(failure.message());
        return false;
    }
    building.setAutoRemove(false);
    return true;
}

} // namespace SchemaBuilder
