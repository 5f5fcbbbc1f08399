#include "transfer/TransferMeter.h"

#include "util/Formatting.h"

#include <numeric>

namespace {

// sum / 4 to the nearest whole number, halves to the even one, without floats.
qint64 QuarterHalfEven(qint64 sum)
{
    const qint64 quotient = sum / 4;
    const qint64 remainder = sum % 4;
    return remainder > 2 || (remainder == 2 && quotient % 2 != 0) ? quotient + 1 : quotient;
}

} // namespace

void TransferMeter::Restart()
{
    m_base = 0;
    m_downloaded = 0;
    m_previousTotal = 0;
    m_speed = 0;
}

TransferMeter::Reading TransferMeter::Tick(qint64 fileSize)
{
    m_position = (m_position + 1) % int(m_samples.size());
    m_samples[m_position] = m_downloaded - m_previousTotal;
    m_speed = QuarterHalfEven(std::accumulate(m_samples.cbegin(), m_samples.cend(), qint64(0)));
    m_previousTotal = m_downloaded;
    return Current(fileSize);
}

TransferMeter::Reading TransferMeter::Current(qint64 fileSize) const
{
    Reading reading;
    reading.bytesPerSecond = m_speed;
    reading.downloaded = Total();
    if (fileSize > 0) {
        // The share is taken in single precision, as the progress column always showed it.
        const float share = float(double(reading.downloaded) / double(fileSize));
        reading.percent = Formatting::RoundHalfEven(double(share * 100.0f), 2);
        reading.remainBytes = fileSize - reading.downloaded;
        reading.remainSeconds = double(reading.remainBytes) / double(m_speed == 0 ? 1 : m_speed);
    }
    return reading;
}
