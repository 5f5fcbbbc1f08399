#pragma once

#include <QObject>

class CTimers;

// A timer object: while enabled it raises `Timer` every `Interval` milliseconds on
// the user-interface thread. Each (re)start gets a new timer id from MTimer.
class CTimer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTimer)

public:
    explicit CTimer(QObject *parent = nullptr);
    ~CTimer() override;

    int Interval() const { return m_interval; }
    // Takes effect at the next start; a running timer keeps its period.
    void setInterval(int interval) { m_interval = interval; }

    bool Enabled() const { return m_enabled; }
    // true: Reset when running, Enable when stopped; false: Disable when running.
    void setEnabled(bool activateIt);

    // Runs the timer with period `interval`, its phase restarted.
    void EnableTimer(int interval);
    void Enable();
    void Disable();
    void Reset();
    void RaiseTimer_Event();

    // The platform id of the last successful start; 0 after a failed one.
    int TimerId() const { return m_timerId; }
    int Index() const { return m_index; }
    int ParentKey() const { return m_parentKey; }

Q_SIGNALS:
    void Timer();

private:
    friend class CTimers;

    bool Create();
    bool Exists();
    bool Kill();
    void Trace(const QString &text);

    int m_interval = 2000;
    int m_timerId = 0;
    bool m_enabled = false;
    int m_index = 0;
    int m_parentKey = 0;
};
