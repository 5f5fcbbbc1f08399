#pragma once

#include <QByteArray>
#include <QString>

// What the emulator sends for one request: `head` (a whole small response, or the
// status line and headers of a streamed file body), then the streamed body.
struct EmulatedResponse {
    int status = 200; // for the request log
    QByteArray head;
    int delayMs = 0;        // nothing is sent before this delay
    bool splitHead = false; // `head` goes out in three pieces, 30 ms apart

    // The streamed body: `bodyLength` bytes of the file `fileId`, unless `stopAt`
    // (0 or more) ends it early, closing the connection or, with `stallAtStop`,
    // leaving it open and silent.
    QString fileId;
    qint64 bodyLength = 0;
    qint64 stopAt = -1;
    bool stallAtStop = false;
    bool chunked = false;
    qint64 bytesPerSecond = 0; // 0: as fast as the connection takes it
};
