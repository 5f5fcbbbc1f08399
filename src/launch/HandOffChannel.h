#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How a copy of the program started with links hands them to the copy already
// running for the same user. The running copy holds a lock file and listens on a
// local socket beside it, both in the user's runtime folder. A message is the
// length of its text (4 bytes, big-endian) and the text: the links in UTF-8, one
// per line. The running copy answers each message with the acknowledgement.
namespace HandOffChannel {

constexpr qint64 HeaderBytes = 4;
constexpr qint64 MaxTextBytes = 1 << 20;

// Empty when the user has no runtime folder: there is then no hand-off.
QString SocketPath();
QString LockPath();

// Empty when the text would be longer than MaxTextBytes.
QByteArray Encode(const QStringList &links);
// The text length that a message's first HeaderBytes announce.
qint64 TextLength(const QByteArray &header);
QStringList DecodeLinks(const QByteArray &text);

QByteArray Acknowledgement();

} // namespace HandOffChannel
