#include "support/TestListFile.h"

#include "store/SchemaBuilder.h"

#include <QDateTime>
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

bool TestListFile::WithConnection(const std::function<bool(QSqlDatabase &)> &work) const
{
    const QString name = QStringLiteral("tidefetch-fixture");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(Path());
        ok = db.open() && work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool TestListFile::Execute(const QStringList &statements) const
{
    return WithConnection([&statements](QSqlDatabase &db) {
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (!query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                return false;
            }
        }
        return true;
    });
}

bool TestListFile::FillDownList(int rows) const
{
    return WithConnection([rows](QSqlDatabase &db) {
        db.transaction();
        QSqlQuery query(db);
        query.prepare(QStringLiteral(
            "Insert Into DownList (Check_Box, Local_File_Name, Download_Status, File_Size_String, Speed, Error_Desc, "
            "Time_Left, Downloaded_Bytes, Sharing_Link, Session_Status, File_Size_Bytes, Add_Time, Rapid_File_ID, "
            "Rapid_File_Name) Values (1, ?, ?, '350.25 MB', '', 'No Error', '00:00:00', 0, ?, 'Queued', 367263744, "
            "?, ?, ?)"));
        const QString added = QDateTime::currentDateTime().toString(Qt::ISODate);
        for (int i = 0; i < rows; ++i) {
            const QString fileName = QStringLiteral("holiday_video_part_%1.rar").arg(i);
            query.bindValue(0, fileName);
            query.bindValue(1, i % 3 == 0 ? QStringLiteral("Complete") : QStringLiteral("Queued"));
            query.bindValue(2, QStringLiteral("http://rapidshare.com/files/%1/%2").arg(100000000 + i).arg(fileName));
            query.bindValue(3, added);
            query.bindValue(4, QString::number(100000000 + i));
            query.bindValue(5, fileName);
            if (!query.exec())
                return false;
        }
        return db.commit();
    });
}

bool TestListFile::FillCheckList(int rows) const
{
    return WithConnection([rows](QSqlDatabase &db) {
        db.transaction();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("Insert Into CheckList (Sharing_Link, Status, File_Name, File_Size) "
                                     "Values (?, '\?\?', '\?\?', '\?\?')"));
        for (int i = 0; i < rows; ++i) {
            query.bindValue(0, QStringLiteral("http://rapidshare.com/files/%1/file_%1.zip").arg(i));
            if (!query.exec())
                return false;
        }
        return db.commit();
    });
}
