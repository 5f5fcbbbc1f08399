#pragma once

#include <QtGlobal>

#include <array>

// The figures a transfer reports once per tick: bytes of each tick go into a ring
// of four samples whose mean is the speed, and the percentage, remaining bytes and
// remaining seconds follow from the expected size. The ring is kept from one
// transfer to the next; Restart clears only the counts of the transfer.
// A resumed transfer starts with the bytes already in the file: they count for
// the percentage and the time left, never for the speed.
class TransferMeter final
{
public:
    struct Reading {
        double percent = -1;        // two decimals, halves to even; -1 for an unknown size
        qint64 bytesPerSecond = 0;  // mean of the four samples, halves to even
        qint64 downloaded = 0;      // bytes of the file so far, those there before the transfer included
        qint64 remainBytes = -1;    // -1 for an unknown size
        double remainSeconds = -1;  // remaining bytes / speed, a speed of 0 taken as 1; -1 for an unknown size
    };

    void Restart();
    // The file already holds `bytes` from an earlier transfer.
    void SetBase(qint64 bytes) { m_base = bytes; }
    // Called for every block written; kept to one addition.
    void AddBytes(qint64 count) { m_downloaded += count; }
    // Bytes that arrived in this transfer, and bytes of the file in all.
    qint64 Arrived() const { return m_downloaded; }
    qint64 Total() const { return m_base + m_downloaded; }
    qint64 Speed() const { return m_speed; }

    // One tick: the bytes since the last tick become the newest sample. A size of
    // 0 or less is unknown.
    Reading Tick(qint64 fileSize);
    // The figures as of now, without a new sample.
    Reading Current(qint64 fileSize) const;

private:
    qint64 m_base = 0;
    qint64 m_downloaded = 0;
    qint64 m_previousTotal = 0;
    std::array<qint64, 4> m_samples{};
    int m_position = 0;
    qint64 m_speed = 0;
};
