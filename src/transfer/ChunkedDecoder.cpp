#include "transfer/ChunkedDecoder.h"

#include <limits>

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void ChunkedDecoder::Reset()
{
    m_state = State::Size;
    m_remaining = 0;
    m_digits = 0;
    m_lineLength = 0;
    m_trailerSize = 0;
}

bool ChunkedDecoder::LastChunkSeen() const
{
    return m_state == State::Trailer || m_state == State::Done;
}

ChunkedDecoder::Step ChunkedDecoder::Fail(qint64 consumed)
{
    m_state = State::Failed;
    return {Status::Error, consumed, 0, 0};
}

void ChunkedDecoder::EndSizeLine()
{
    m_lineLength = 0;
    m_state = m_remaining == 0 ? State::Trailer : State::Data;
}

ChunkedDecoder::Step ChunkedDecoder::Next(const char *input, qint64 size)
{
    qint64 pos = 0;
    while (pos < size) {
        const char c = input[pos];
        switch (m_state) {
        case State::Size:
            if (++m_lineLength > MaxLineLength)
                return Fail(pos);
            if (const int digit = HexValue(c); digit >= 0) {
                if (m_remaining > (std::numeric_limits<qint64>::max() >> 4))
                    return Fail(pos);
                m_remaining = (m_remaining << 4) | digit;
                ++m_digits;
            } else if (m_digits == 0) {
                return Fail(pos);
            } else if (c == ';' || c == ' ' || c == '\t') {
                m_state = State::Extension;
            } else if (c == '\r') {
                m_state = State::SizeLineFeed;
            } else if (c == '\n') {
                EndSizeLine();
            } else {
                return Fail(pos);
            }
            ++pos;
            break;
        case State::Extension:
            if (c == '\n')
                EndSizeLine();
            else if (++m_lineLength > MaxLineLength)
                return Fail(pos);
            ++pos;
            break;
        case State::SizeLineFeed:
            if (c != '\n')
                return Fail(pos);
            EndSizeLine();
            ++pos;
            break;
        case State::Data: {
            const qint64 take = qMin(m_remaining, size - pos);
            m_remaining -= take;
            if (m_remaining == 0)
                m_state = State::DataReturn;
            return {Status::Continue, pos + take, pos, take};
        }
        case State::DataReturn:
            if (c == '\r')
                m_state = State::DataLineFeed;
            else if (c == '\n')
                m_state = State::Size;
            else
                return Fail(pos);
            m_digits = 0;
            ++pos;
            break;
        case State::DataLineFeed:
            if (c != '\n')
                return Fail(pos);
            m_state = State::Size;
            ++pos;
            break;
        case State::Trailer:
            ++pos;
            if (++m_trailerSize > MaxTrailerSize)
                return Fail(pos);
            if (c == '\n') {
                if (m_lineLength == 0) {
                    m_state = State::Done;
                    return {Status::Done, pos, 0, 0};
                }
                m_lineLength = 0;
            } else if (c != '\r') {
                ++m_lineLength;
            }
            break;
        case State::Done:
            return {Status::Done, 0, 0, 0};
        case State::Failed:
            return Fail(0);
        }
    }
    return {Status::Continue, pos, 0, 0};
}
