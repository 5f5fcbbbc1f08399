#include "timers/CTimers.h"

#include "timers/CTimer.h"
#include "timers/MTimer.h"
#include "timers/TimerError.h"

#include <limits>

CTimers::CTimers(QObject *parent)
    : QObject(parent)
    , m_registration(MTimer::RegisterCollection(this))
{
}

CTimers::~CTimers()
{
    m_items.clear();
    MTimer::UnregisterCollection(m_registration);
}

qint16 CTimers::Add()
{
    if (m_count == std::numeric_limits<qint16>::max())
        throw TimerError(TimerError::Overflow, QStringLiteral("CTimers.Add"), QStringLiteral("Overflow"));
    ++m_count;
    auto timer = std::make_unique<CTimer>();
    timer->m_index = m_count;
    timer->m_parentKey = m_registration;
    m_items.push_back(std::move(timer));
    return m_count;
}

void CTimers::BulkLoad(qint16 num)
{
    if (num <= 0 || num >= 200)
        throw TimerError(TimerError::ApplicationError, QStringLiteral("CTimers.BulkLoad"),
                         QStringLiteral("No more than 200 times allowed per class"));
    for (int i = 0; i <= num; ++i)
        Add();
}

CTimer *CTimers::Item(qint16 index) const
{
    if (index > m_count)
        throw TimerError(TimerError::ApplicationError, QStringLiteral("CTimers.Item"),
                         QStringLiteral("Index does not Exist"));
    if (index < 1)
        throw TimerError(TimerError::InvalidArgument, QStringLiteral("CTimers.Item"),
                         QStringLiteral("Invalid procedure call or argument"));
    return m_items.at(index - 1).get();
}

void CTimers::RaiseTimer_Event(qint16 index)
{
    Q_EMIT Timer(index);
}
