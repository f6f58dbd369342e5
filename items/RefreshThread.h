#pragma once

// TRefreshThread paces the live refresh. It only sleeps: each pass runs on the
// user-interface thread (it touches the link and the items), and the thread
// waits until the pass is done before it sleeps again. While the refresher is
// disabled the thread suspends itself until it is enabled again or destroyed.
// When no client is due for longer than the sleep time, the thread sleeps until
// one is, so that a window showing values every 100 ms does not wake the
// program fifty times a second.

#include <QEvent>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

class QObject;

class TRefreshThread : public QThread {
public:
    // The event posted to the pass target for each pass; the target calls
    // PassDone when it has run the pass.
    static const QEvent::Type PassEvent;

    TRefreshThread(QObject* passTarget, int sleepTime);
    // Wakes the thread wherever it waits and waits for it to end.
    ~TRefreshThread() override;

    void SetEnabled(bool enabled);
    bool Enabled() const;
    bool Suspended() const;
    void SetSleepTime(int milliseconds);
    int SleepTime() const;
    // The pass is done; no client is due for idleTime milliseconds, so the
    // thread may sleep that long (at least the sleep time) before the next.
    void PassDone(int idleTime = 0);
    // A client became due sooner than the last pass said: the next pass comes
    // after the sleep time again.
    void Reschedule();

protected:
    void run() override;

private:
    QObject* m_passTarget;
    mutable QMutex m_mutex;
    QWaitCondition m_wake;
    int m_sleepTime;
    bool m_enabled = false;
    bool m_suspended = false;
    bool m_terminating = false;
    bool m_passPending = false;
    int m_idleTime = 0;
    bool m_rescheduled = false;
};
