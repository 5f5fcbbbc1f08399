#pragma once

#include <QtGlobal>

// Takes a body sent with "Transfer-Encoding: chunked" apart as it arrives and
// hands back the entity bytes as spans of the input, so they can go to the file
// without being copied. Chunk sizes are 64-bit; extensions and trailers are
// skipped, each size or trailer line being limited in length.
class ChunkedDecoder final
{
public:
    enum class Status {
        Continue, // call again with the bytes after `consumed`, when there are any
        Done,     // the body ended with the last input byte of `consumed`
        Error,    // the framing is broken
    };
    struct Step {
        Status status = Status::Continue;
        qint64 consumed = 0;
        qint64 dataOffset = 0; // entity bytes: [dataOffset, dataOffset + dataSize)
        qint64 dataSize = 0;
    };

    static constexpr int MaxLineLength = 4096;
    static constexpr qint64 MaxTrailerSize = 64 * 1024;

    // Reads `input` up to and including the next run of entity bytes, the end of
    // the body, or the end of the input.
    Step Next(const char *input, qint64 size);
    void Reset();

    // The last (zero-size) chunk has arrived; only trailers may follow.
    bool LastChunkSeen() const;

private:
    enum class State { Size, Extension, SizeLineFeed, Data, DataReturn, DataLineFeed, Trailer, Done, Failed };

    Step Fail(qint64 consumed);
    void EndSizeLine();

    State m_state = State::Size;
    qint64 m_remaining = 0; // chunk size being read, then bytes left in the chunk
    int m_digits = 0;
    int m_lineLength = 0;
    qint64 m_trailerSize = 0;
};
