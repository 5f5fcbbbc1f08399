#pragma once

#include <QByteArray>
#include <QString>

// What the emulator sends for one request: `head` (a whole small response, or the
// status line and headers of a streamed file body), then the streamed body.
struct EmulatedResponse {
    // How a body that stops early ends.
    enum class Stop {
        Close, // an orderly close
        Stall, // the connection stays open and silent until the client gives up
        Reset, // TCP RST once the bytes before the stop have reached the client
    };

    int status = 200; // for the request log
    QByteArray head;
    int delayMs = 0;        // nothing is sent before this delay
    bool splitHead = false; // `head` goes out in three pieces, 30 ms apart

    // The streamed body: the bytes [bodyStart, bodyEnd) of the file `fileId`,
    // unless the file offset `stopAt` (0 or more) ends it early.
    QString fileId;
    qint64 bodyStart = 0;
    qint64 bodyEnd = 0;
    qint64 stopAt = -1;
    Stop stop = Stop::Close;
    bool chunked = false;
    qint64 bytesPerSecond = 0; // 0: as fast as the connection takes it
};
