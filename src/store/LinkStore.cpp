#include "store/LinkStore.h"

#include "store/Database.h"
#include "store/ListSchema.h"
#include "store/StoreLog.h"
#include "util/Prompter.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>

namespace {

const QString kTitle = QStringLiteral("Tidefetch");

QString ErrorNumber(const QSqlError &error)
{
    return error.nativeErrorCode().isEmpty() ? QString::number(int(error.type())) : error.nativeErrorCode();
}

QString ErrorDescription(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// The single table a select reads from, so its rows can be written back.
QString SelectedTable(const QString &statement)
{
    static const QRegularExpression from(QStringLiteral("^select\\s+\\*\\s+from\\s+(\\w+)\\s*(where\\b.*)?$"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = from.match(statement.trimmed());
    return match.hasMatch() ? match.captured(1) : QString();
}

// The list statements use left(text, n), which SQLite spells substr(text, 1, n).
QString SqliteDialect(const QString &statement)
{
    static const QRegularExpression left(QStringLiteral("\\bleft\\s*\\(([^,()]+),\\s*(\\d+)\\s*\\)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString translated = statement;
    return translated.replace(left, QStringLiteral("substr(\\1,1,\\2)"));
}

} // namespace

LinkStore::LinkStore(QString dbPath, Prompter &prompter)
    : m_dbPath(std::move(dbPath))
    , m_prompter(prompter)
{
}

LinkStore::~LinkStore()
{
    // The record sets hold prepared statements of the connection: drop them first.
    rsDownList = {};
    rsCheckList = {};
}

bool LinkStore::UpgradeList(QString *failure)
{
    Database *database = Connection(failure);
    return database && ListSchema::Upgrade(*database, failure);
}

Database *LinkStore::Connection(QString *failure)
{
    if (!m_database) {
        auto database = std::make_shared<Database>(m_dbPath);
        if (!database->IsOpen()) {
            *failure = ErrorDescription(database->OpenError());
            return nullptr;
        }
        m_database = std::move(database);
    }
    return m_database.get();
}

void LinkStore::ShowLoadError(const QString &number, const QString &description, const QString &statement)
{
    qCWarning(lcStore).noquote() << "A statement failed on" << m_dbPath << ':' << number << description << statement;
    m_prompter.showMessage(Prompter::Icon::Critical, kTitle,
                           tr("Error occured while loading table\r\n%1\r\n%2\r\n Record Source:%3")
                               .arg(number, description, statement));
}

bool LinkStore::LoadTable(const QString &statement, RecordSet *recordSet)
{
    QString failure;
    Database *database = Connection(&failure);
    if (!database) {
        ShowLoadError(QStringLiteral("0"), failure, statement);
        return false;
    }
    QSqlQuery query(database->Connection());
    query.setForwardOnly(true);
    if (!query.exec(SqliteDialect(statement))) {
        ShowLoadError(ErrorNumber(query.lastError()), ErrorDescription(query.lastError()), statement);
        return false;
    }
    if (statement.left(6).toLower() == QLatin1String("select") && recordSet)
        *recordSet = RecordSet(
            std::make_shared<RecordTable>(m_database, SelectedTable(statement), query, RowCount(*database, statement)));
    return true;
}

qsizetype LinkStore::RowCount(Database &database, const QString &select)
{
    // Knowing the size up front spares a long list its regrowth while it is read.
    QSqlQuery count(database.Connection());
    if (!count.exec(QLatin1String("Select count(*) From (") + SqliteDialect(select) + QLatin1Char(')')) || !count.next())
        return 0;
    return count.value(0).toLongLong();
}

int LinkStore::ContainsLink(const QString &table, const QString &link)
{
    // The link is bound, never pasted into the statement: quotes are ordinary text.
    const QString statement = QLatin1String("Select ID From ") + table
        + QLatin1String(" Where Sharing_Link=? COLLATE NOCASE Limit 1");
    QString failure;
    Database *database = Connection(&failure);
    if (!database) {
        ShowLoadError(QStringLiteral("0"), failure, statement);
        return -1;
    }
    QSqlError error;
    QSqlQuery *query = database->Prepared(statement, &error);
    if (query) {
        query->bindValue(0, link);
        if (query->exec()) {
            const bool found = query->next();
            query->finish();
            return found ? 1 : 0;
        }
        error = query->lastError();
    }
    ShowLoadError(ErrorNumber(error), ErrorDescription(error), statement);
    return -1;
}

bool LinkStore::AddToDownList(const QString &link, const QString &fileId, const QString &fileName,
                              const QString &sizeText, qint64 sizeBytes, const QString &finalUrl)
{
    const int found = ContainsLink(QStringLiteral("DownList"), link);
    if (found != 0) {
        if (found > 0)
            m_prompter.showMessage(Prompter::Icon::Exclamation, tr("Error"), tr("Link is already exist"));
        return false;
    }
    return rsDownList.AddNew({
        {u"Check_Box", 1},
        {u"Sharing_Link", link},
        {u"Download_Status", QStringLiteral("Queued")},
        {u"File_Size_String", sizeText},
        {u"Time_Left", QStringLiteral("00:00:00")},
        {u"Add_Time", QDateTime::currentDateTime().toString(Qt::ISODate)},
        {u"Session_Status", QStringLiteral("Queued")},
        {u"File_Size_Bytes", sizeBytes},
        {u"Downloaded_Bytes", qint64(0)},
        {u"Rapid_File_ID", fileId},
        {u"Rapid_File_Name", fileName},
        {u"Local_File_Name", fileName},
        {u"Final_URL", finalUrl},
    });
}

bool LinkStore::AddToCheckList(const QString &link, bool quiet)
{
    const int found = ContainsLink(QStringLiteral("CheckList"), link);
    if (found != 0) {
        if (found > 0 && !quiet)
            m_prompter.showMessage(Prompter::Icon::Exclamation, tr("Error"), tr("Link is already exist"));
        return false;
    }
    return rsCheckList.AddNew({
        {u"Sharing_Link", link},
        {u"Status", QStringLiteral("??")},
        {u"File_Name", QStringLiteral("??")},
        {u"File_Size", QStringLiteral("??")},
    });
}
