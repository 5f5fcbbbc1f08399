#include "EmulatedContent.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <cstring>

namespace EmulatedContent {

namespace {

// SplitMix64: cheap, and every 8-byte word of a file differs.
quint64 Mix(quint64 value)
{
    value += 0x9E3779B97F4A7C15ULL;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

void FillWithSeed(quint64 seed, qint64 offset, char *dest, qint64 length)
{
    qint64 word = offset / 8;
    int skip = int(offset % 8);
    while (length > 0) {
        uchar bytes[8];
        qToLittleEndian(Mix(seed ^ quint64(word)), bytes);
        const qint64 take = qMin<qint64>(8 - skip, length);
        std::memcpy(dest, bytes + skip, size_t(take));
        dest += take;
        length -= take;
        skip = 0;
        ++word;
    }
}

} // namespace

quint64 Seed(const QString &fileId)
{
    const QByteArray digest = QCryptographicHash::hash(fileId.toUtf8(), QCryptographicHash::Sha1);
    return qFromLittleEndian<quint64>(digest.constData());
}

void Fill(const QString &fileId, qint64 offset, char *dest, qint64 length)
{
    FillWithSeed(Seed(fileId), offset, dest, length);
}

QByteArray Bytes(const QString &fileId, qint64 offset, qint64 length)
{
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    Fill(fileId, offset, bytes.data(), length);
    return bytes;
}

} // namespace EmulatedContent
