#pragma once

#include <QtGlobal>

class CTimer;
class CTimers;

// The process-wide side of the timer objects: it owns the event-loop timers, the
// registry from timer id ("id:" + id) to its CTimer and the registry from
// registration number ("key:" + number) to its CTimers, and routes each tick.
class MTimer final
{
public:
    MTimer() = delete;

    // Starts a periodic event-loop timer; its id, or 0 when none could be made.
    static int CreatePlatformTimer(int interval);
    static void KillPlatformTimer(int id);

    static void RegisterTimer(int id, CTimer *timer);
    static void UnregisterTimer(int id);
    static bool IsTimerRegistered(int id);

    // Gives the collection the next registration number (1, 2, ...).
    static qint16 RegisterCollection(CTimers *collection);
    static void UnregisterCollection(qint16 key);

    // The tick of the event-loop timer `id`.
    static void TimerProc(int id);
};
