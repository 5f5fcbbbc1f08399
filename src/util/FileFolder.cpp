#include "util/FileFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

#include <cmath>
#include <limits>

namespace FileFolder {

bool CreateFolderPath(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (clean.isEmpty() || !QDir::isAbsolutePath(clean))
        return false;
    if (QDir(clean).isRoot())
        return true;
    // Windows paths start with their drive ("C:"), the others with "/".
    QString accumulated = clean.startsWith(QLatin1Char('/')) ? QString() : clean.left(2);
    const QStringList levels = clean.mid(accumulated.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &level : levels) {
        accumulated += QLatin1Char('/') + level;
        const QFileInfo info(accumulated);
        if (info.isDir())
            continue;
        if (info.exists() || !QDir().mkdir(accumulated))
            return false;
    }
    return true;
}

namespace {

// The second piece of a base name as a number, when it is a plain decimal number
// whose increment fits 16 bits.
bool NextPieceNumber(const QString &piece, qint64 *next)
{
    static const QRegularExpression plainNumber(QStringLiteral("^[+-]?\\d+(\\.\\d+)?$"));
    if (!plainNumber.match(piece).hasMatch())
        return false;
    const double rounded = std::nearbyint(piece.toDouble());
    if (rounded + 1 > std::numeric_limits<qint16>::max() || rounded < std::numeric_limits<qint16>::min())
        return false;
    *next = qint64(rounded) + 1;
    return true;
}

// A file that holds data, or anything that is not a file, is taken.
bool IsTaken(const QFileInfo &info)
{
    return info.exists() && (!info.isFile() || info.size() != 0);
}

// File systems limit a name's bytes, not its characters, and the name must still
// take a "_<n>" for a free name and ".part" while it downloads. Every character
// takes a byte at least, so the text is first cut to as many characters; a
// surrogate pair is never split.
QString CutToBytes(QString name)
{
    if (name.size() > MaxFileNameBytes) {
        name.truncate(MaxFileNameBytes);
        if (name.back().isHighSurrogate())
            name.chop(1);
    }
    while (QFile::encodeName(name).size() > MaxFileNameBytes)
        name.chop(name.back().isLowSurrogate() ? 2 : 1);
    return name;
}

} // namespace

QString NextFileName(const QString &path)
{
    const QFileInfo info(path);
    QString base = info.completeBaseName();
    const QString extension = info.suffix();
    if (base.contains(QLatin1Char('_'))) {
        const QStringList pieces = base.split(QLatin1Char('_'));
        qint64 next = 0;
        if (NextPieceNumber(pieces.at(1), &next))
            base = pieces.at(0) + QLatin1Char('_') + QString::number(next);
        else
            base += QLatin1String("_1");
    } else {
        base += QLatin1String("_1");
    }
    const QString name = extension.isEmpty() && !info.fileName().endsWith(QLatin1Char('.'))
        ? base
        : base + QLatin1Char('.') + extension;
    return info.dir().filePath(name);
}

QString GetUniqueFileName(QString &path)
{
    while (IsTaken(QFileInfo(path)))
        path = NextFileName(path);
    return path;
}

bool IsOpticalFolder(const QString &path)
{
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return false;
    const QByteArray type = storage.fileSystemType().toLower();
    return type == "iso9660" || type == "udf" || type == "cdfs";
}

QString SafeFileName(const QString &name, const QString &fallback)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        const bool reserved = c.unicode() < 0x20 || c.unicode() == 0x7f
            || QStringLiteral("/\\:*?\"<>|").contains(c);
        safe += reserved ? QLatin1Char('_') : c;
    }
    // No leading dots ("..", hidden files) and no trailing dots or blanks, which
    // some file systems drop silently; the trailing ones go after the cut, which
    // may leave new ones.
    const auto dotOrBlank = [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); };
    qsizetype first = 0;
    while (first < safe.size() && dotOrBlank(safe.at(first)))
        ++first;
    safe = CutToBytes(safe.mid(first));
    while (!safe.isEmpty() && dotOrBlank(safe.back()))
        safe.chop(1);
    return safe.isEmpty() ? CutToBytes(fallback) : safe;
}

} // namespace FileFolder
