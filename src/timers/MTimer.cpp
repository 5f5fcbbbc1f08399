#include "timers/MTimer.h"

#include "timers/CTimer.h"
#include "timers/CTimers.h"
#include "timers/TimerError.h"

#include <QCoreApplication>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimerEvent>

namespace {

// Receives the event-loop timers on the user-interface thread. The event loop
// hands a freed id out again at once; the dispatcher numbers its timers itself so
// that every start gets an id of its own.
class TimerDispatcher final : public QObject
{
public:
    using QObject::QObject;

    int Start(int interval)
    {
        const int loopId = startTimer(interval, Qt::PreciseTimer);
        if (loopId == 0)
            return 0;
        const int id = ++m_lastId;
        m_loopIdOf.insert(id, loopId);
        m_idOfLoopId.insert(loopId, id);
        return id;
    }

    void Kill(int id)
    {
        const int loopId = m_loopIdOf.take(id);
        if (loopId == 0)
            return;
        m_idOfLoopId.remove(loopId);
        killTimer(loopId);
    }

protected:
    void timerEvent(QTimerEvent *event) override
    {
        const int id = m_idOfLoopId.value(event->timerId());
        if (id == 0)
            killTimer(event->timerId());
        else
            MTimer::TimerProc(id);
    }

private:
    int m_lastId = 0;
    QHash<int, int> m_loopIdOf;
    QHash<int, int> m_idOfLoopId;
};

QHash<QString, CTimer *> &timerRegistry()
{
    static QHash<QString, CTimer *> registry;
    return registry;
}

QHash<QString, CTimers *> &collectionRegistry()
{
    static QHash<QString, CTimers *> registry;
    return registry;
}

qint16 registrationCounter = 0;

QString timerKey(int id)
{
    return QLatin1String("id:") + QString::number(id);
}

QString collectionKey(qint16 key)
{
    return QLatin1String("key:") + QString::number(key);
}

TimerDispatcher *dispatcher()
{
    static QPointer<TimerDispatcher> instance;
    if (!instance)
        instance = new TimerDispatcher(QCoreApplication::instance());
    return instance;
}

} // namespace

int MTimer::CreatePlatformTimer(int interval)
{
    return dispatcher()->Start(interval);
}

void MTimer::KillPlatformTimer(int id)
{
    dispatcher()->Kill(id);
}

void MTimer::RegisterTimer(int id, CTimer *timer)
{
    timerRegistry().insert(timerKey(id), timer);
}

void MTimer::UnregisterTimer(int id)
{
    timerRegistry().remove(timerKey(id));
}

bool MTimer::IsTimerRegistered(int id)
{
    return timerRegistry().contains(timerKey(id));
}

qint16 MTimer::RegisterCollection(CTimers *collection)
{
    if (registrationCounter == std::numeric_limits<qint16>::max())
        throw TimerError(TimerError::Overflow, QStringLiteral("MTimer"), QStringLiteral("Overflow"));
    ++registrationCounter;
    collectionRegistry().insert(collectionKey(registrationCounter), collection);
    return registrationCounter;
}

void MTimer::UnregisterCollection(qint16 key)
{
    collectionRegistry().remove(collectionKey(key));
}

void MTimer::TimerProc(int id)
{
    // A tick never lets an error escape into the event loop.
    try {
        CTimer *timer = timerRegistry().value(timerKey(id));
        if (!timer) {
            KillPlatformTimer(id); // a stray timer
            return;
        }
        if (timer->ParentKey() > 0) {
            CTimers *collection = collectionRegistry().value(collectionKey(timer->ParentKey()));
            if (!collection) {
                KillPlatformTimer(id);
                return;
            }
            collection->RaiseTimer_Event(qint16(timer->Index()));
            return;
        }
        timer->RaiseTimer_Event();
    } catch (...) {
    }
}
