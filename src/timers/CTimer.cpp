#include "timers/CTimer.h"

#include "timers/MTimer.h"

CTimer::CTimer(QObject *parent)
    : QObject(parent)
{
}

CTimer::~CTimer()
{
    Kill();
}

void CTimer::setEnabled(bool activateIt)
{
    if (activateIt)
        m_enabled ? Reset() : Enable();
    else if (m_enabled)
        Disable();
}

void CTimer::EnableTimer(int interval)
{
    if (interval == m_interval && m_enabled)
        Kill();
    m_interval = interval;
    Enable();
}

void CTimer::Enable()
{
    Kill();
    Create();
}

void CTimer::Disable()
{
    Kill();
}

void CTimer::Reset()
{
    Kill();
    Create();
}

void CTimer::RaiseTimer_Event()
{
    Q_EMIT Timer();
}

bool CTimer::Create()
{
    if (m_interval <= 0)
        return false;
    const int id = MTimer::CreatePlatformTimer(m_interval);
    const bool created = id != 0;
    m_timerId = id;
    m_enabled = created;
    if (created)
        MTimer::RegisterTimer(id, this);
    Trace(QLatin1String("Timer Create: ") + QString::number(id)
          + (created ? QLatin1String(" Succedded") : QLatin1String("Failed")));
    return created;
}

bool CTimer::Exists()
{
    const bool found = MTimer::IsTimerRegistered(m_timerId);
    Trace(found ? QStringLiteral("Timer Exists") : QStringLiteral("Timer not Found!"));
    return found;
}

bool CTimer::Kill()
{
    const bool killed = Exists();
    if (killed) {
        MTimer::KillPlatformTimer(m_timerId);
        MTimer::UnregisterTimer(m_timerId);
        m_enabled = false;
        Trace(QLatin1String("Timer: ") + QString::number(m_timerId) + QLatin1String(" Exists Trying to kill"));
    }
    Trace(QLatin1String("Killing Timer: ") + QString::number(m_timerId)
          + (killed ? QLatin1String(" Destroyed") : QLatin1String("Failed")));
    return killed;
}

void CTimer::Trace(const QString &)
{
    // A hook for diagnostics; the texts are not kept.
}
