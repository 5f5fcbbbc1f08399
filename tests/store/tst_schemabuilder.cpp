#include "store/SchemaBuilder.h"
#include "support/TestListFile.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class tst_SchemaBuilder final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The build remakes the shipped list over itself: the folder must end with
    // one list, whole, whichever way the rebuild goes.
    void rebuildReplacesTheListWholeOrNotAtAll_data()
    {
        QTest::addColumn<QByteArray>("schema");
        QTest::addColumn<bool>("succeeds");
        QTest::newRow("the schema makes an empty list") << QByteArray() << true;
        QTest::newRow("a failing statement leaves the old list")
            << QByteArrayLiteral("CREATE TABLE DownList (ID INTEGER);\nCREATE TABLE Broken (;\n") << false;
    }

    void rebuildReplacesTheListWholeOrNotAtAll()
    {
        QFETCH(QByteArray, schema);
        QFETCH(bool, succeeds);
        TestListFile list;
        QVERIFY(list.IsValid());
        QVERIFY(list.FillDownList(3));
        QFile old(list.Path());
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray oldBytes = old.readAll();
        old.close();

        QTemporaryDir schemaDir;
        QString schemaPath = QStringLiteral(TIDEFETCH_SCHEMA_FILE);
        if (!schema.isEmpty()) {
            schemaPath = schemaDir.filePath(QStringLiteral("schema.sql"));
            QFile file(schemaPath);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(schema) == schema.size());
        }
        QString error;
        QCOMPARE(SchemaBuilder::CreateListFile(list.Path(), schemaPath, &error), succeeds);
        QCOMPARE(error.isEmpty(), succeeds);

        QCOMPARE(QDir(list.Folder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("DownList.db")});
        if (!succeeds) {
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), oldBytes);
            return;
        }
        QVERIFY(list.WithConnection([](QSqlDatabase &db) {
            QSqlQuery query(db);
            return query.exec(QStringLiteral("Select Count(*) From DownList")) && query.next()
                && query.value(0).toInt() == 0;
        }));
    }
};

QTEST_GUILESS_MAIN(tst_SchemaBuilder)
#include "tst_schemabuilder.moc"
