#include "launch/LinkHandOff.h"

#include "launch/HandOffChannel.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QtDebug>

namespace LinkHandOff {

bool Send(const QStringList &links, std::chrono::milliseconds timeout)
{
    const QString socketPath = HandOffChannel::SocketPath();
    const QByteArray message = HandOffChannel::Encode(links);
    if (socketPath.isEmpty() || message.isEmpty())
        return false;

    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(message);
    const QByteArray acknowledgement = HandOffChannel::Acknowledgement();
    while (socket.bytesToWrite() > 0 || socket.bytesAvailable() < acknowledgement.size()) {
        const bool progressed = socket.bytesToWrite() > 0 ? socket.waitForBytesWritten(int(deadline.remainingTime()))
                                                          : socket.waitForReadyRead(int(deadline.remainingTime()));
        if (!progressed) {
            qWarning().noquote() << "The running Tidefetch did not take the links:" << socket.errorString();
            return false;
        }
    }
    return socket.read(acknowledgement.size()) == acknowledgement;
}

} // namespace LinkHandOff
