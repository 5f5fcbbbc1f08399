#include "launch/HandOffChannel.h"

#include <QStandardPaths>
#include <QtEndian>

namespace HandOffChannel {

namespace {

QString RuntimePath(QLatin1String name)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QLatin1Char('/') + name;
}

} // namespace

QString SocketPath()
{
    return RuntimePath(QLatin1String("org.velm.tidefetch.socket"));
}

QString LockPath()
{
    return RuntimePath(QLatin1String("org.velm.tidefetch.lock"));
}

QByteArray Encode(const QStringList &links)
{
    const QByteArray text = links.join(QLatin1Char('\n')).toUtf8();
    if (text.size() > MaxTextBytes)
        return {};
    QByteArray message(HeaderBytes, Qt::Uninitialized);
    qToBigEndian(quint32(text.size()), message.data());
    return message + text;
}

qint64 TextLength(const QByteArray &header)
{
    return qFromBigEndian<quint32>(header.constData());
}

QStringList DecodeLinks(const QByteArray &text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray Acknowledgement()
{
    return QByteArrayLiteral("ok");
}

} // namespace HandOffChannel
