#pragma once

#include <QString>

class Database;

// The layout version of a list file, kept in its `PRAGMA user_version`. A list
// from an older version is brought up to date in place, keeping every row; this
// is how columns added later arrive. A list from a newer version is refused.
namespace ListSchema {

// 1: DownList.Partial_File, the partial file a row's transfer writes.
// 2: DownList.Final_URL and CheckList.Final_URL, the address a direct link's
//    check was led to.
constexpr int CurrentVersion = 2;

int Version(Database &database, QString *failure);

// Runs every missing step, each with its new version number in one transaction.
// False, with a description naming the versions, for a newer list or a step
// that fails (which leaves the list as it was before that step).
bool Upgrade(Database &database, QString *failure);

// The statement that stamps a list with `version` (a PRAGMA takes no bound value).
QString VersionStatement(int version);

} // namespace ListSchema
