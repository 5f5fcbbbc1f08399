#pragma once

#include "EmulatedResponse.h"

#include <QByteArray>
#include <QObject>

#include <functional>

class QTcpSocket;
class QTimer;

// One accepted connection: reads one request head, asks the responder for the
// answer and plays it out (delay, split head, streamed body, close, stall or
// reset). The connection always ends after its answer unless the answer stalls.
class EmulatorConnection final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EmulatorConnection)

public:
    // `range` is the value of the request's Range field; empty when it has none.
    using Responder =
        std::function<EmulatedResponse(const QByteArray &method, const QString &target, const QByteArray &range)>;

    EmulatorConnection(QTcpSocket *socket, Responder responder, QObject *parent);

Q_SIGNALS:
    // `bytes` more bytes of the file `fileId` went to the socket.
    void BodySent(const QString &fileId, qint64 bytes);

private:
    void OnReadyRead();
    void Answer(const QByteArray &requestHead);
    void SendHead();
    void SendNextHeadPiece();
    void Pump();
    void WriteBody(qint64 length);
    void ResetWhenDelivered();

    QTcpSocket *m_socket;
    Responder m_responder;
    QByteArray m_request;
    bool m_answered = false;

    EmulatedResponse m_response;
    QList<QByteArray> m_headPieces;
    bool m_bodyStarted = false;
    bool m_bodyDone = false;
    qint64 m_position = 0; // file offset of the next body byte
    qint64 m_budget = 0;
    QTimer *m_rateTimer = nullptr;
    QByteArray m_block;
};
