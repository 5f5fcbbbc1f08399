#pragma once

#include <QByteArrayView>

#include <optional>

// The part of a file a 206 reply carries, as its Content-Range field states it:
// "bytes first-last/total", both ends counted in, total "*" when the server does
// not say. A resume is only sound when `first` is the offset asked for and the
// total is the size already known.
struct ContentRange final {
    qint64 first = 0;
    qint64 last = 0;
    qint64 total = -1; // -1: "*"

    // The range of a field's value; nothing for another unit, a sign, a blank
    // out of place, a number beyond 64 bits, last before first, last at or past
    // the total, or the "bytes */total" form (that belongs to a 416 reply).
    static std::optional<ContentRange> Parse(QByteArrayView value);
};
