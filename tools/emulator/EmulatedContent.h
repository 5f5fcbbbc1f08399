#pragma once

#include <QByteArray>
#include <QString>

// The bytes of an emulated file, a pure function of its id and the offset, so a
// test can compute what a download must have written without the emulator.
namespace EmulatedContent {

// A number derived from the file id; it seeds the content and the download ticket.
quint64 Seed(const QString &fileId);
// Writes the `length` bytes of file `fileId` that start at `offset` into `dest`.
void Fill(const QString &fileId, qint64 offset, char *dest, qint64 length);
QByteArray Bytes(const QString &fileId, qint64 offset, qint64 length);

} // namespace EmulatedContent
