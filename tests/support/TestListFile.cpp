#include "support/TestListFile.h"

#include "store/SchemaBuilder.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtDebug>

TestListFile::TestListFile()
{
    QString error;
    m_valid = m_dir.isValid() && SchemaBuilder::CreateListFile(Path(), QStringLiteral(TIDEFETCH_SCHEMA_FILE), &error);
    if (!m_valid)
        qWarning() << "cannot make a list file:" << error;
}

QString TestListFile::Path() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("DownList.db"));
}

bool TestListFile::Execute(const QStringList &statements) const
{
    const QString name = QStringLiteral("tidefetch-fixture");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(Path());
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (ok && !query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
