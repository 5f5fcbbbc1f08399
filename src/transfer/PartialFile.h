#pragma once

#include <QString>

// A download is written into "<name>.part" and takes its final name only once it
// is whole, so a file under a final name is never a truncated one.
namespace PartialFile {

inline const QString Suffix = QStringLiteral(".part");

bool IsPartial(const QString &path);

// The partial file for a download meant for `wantedPath`: "<free name>.part",
// where the free name is GetUniqueFileName's and no other partial file uses it.
QString ChooseFor(const QString &wantedPath);

// The name the file takes once complete: the partial file's path without ".part".
QString FinalPathOf(const QString &partialPath);

// Gives the whole file its final name, or the next free one when that name was
// taken meanwhile; an existing file is never replaced. On success `finalPath`
// holds the name used; on failure `error` says why and the partial file stays.
bool Commit(const QString &partialPath, QString *finalPath, QString *error);

// Deletes a partial file; any other path, a final name above all, is left alone.
// True when a partial file was deleted.
bool Remove(const QString &partialPath);

} // namespace PartialFile
