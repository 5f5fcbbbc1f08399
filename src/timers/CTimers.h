#pragma once

#include <QObject>

#include <memory>
#include <vector>

class CTimer;

// An indexed collection of timers (positions 1..Count) that raises one `Timer`
// event carrying the position of the timer that fired.
class CTimers final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTimers)

public:
    explicit CTimers(QObject *parent = nullptr);
    ~CTimers() override;

    qint16 Count() const { return m_count; }
    // Appends a stopped timer and returns its position.
    qint16 Add();
    // Adds num + 1 timers; 0 < num < 200, else TimerError.
    void BulkLoad(qint16 num);
    // The timer at a 1-based position; TimerError past Count.
    CTimer *Item(qint16 index) const;

    qint16 RegistrationNumber() const { return m_registration; }
    void RaiseTimer_Event(qint16 index);

Q_SIGNALS:
    void Timer(qint16 Index);

private:
    qint16 m_count = 0;
    std::vector<std::unique_ptr<CTimer>> m_items;
    qint16 m_registration = 0;
};
