#include "items/RefreshThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>

const QEvent::Type TRefreshThread::PassEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

TRefreshThread::TRefreshThread(QObject* passTarget, int sleepTime)
    : m_passTarget(passTarget), m_sleepTime(qMax(sleepTime, 20))
{
}

TRefreshThread::~TRefreshThread()
{
    {
        QMutexLocker locker(&m_mutex);
        m_terminating = true;
        m_wake.wakeAll();
    }
    wait();
}

void TRefreshThread::SetEnabled(bool enabled)
{
    QMutexLocker locker(&m_mutex);
    m_enabled = enabled;
    m_idleTime = 0;
    // Resuming takes effect at once, as far as anyone asking is concerned.
    if (enabled && m_suspended) {
        m_suspended = false;
        m_wake.wakeAll();
    }
}

bool TRefreshThread::Enabled() const
{
    QMutexLocker locker(&m_mutex);
    return m_enabled;
}

bool TRefreshThread::Suspended() const
{
    QMutexLocker locker(&m_mutex);
    return m_suspended;
}

void TRefreshThread::SetSleepTime(int milliseconds)
{
    QMutexLocker locker(&m_mutex);
    m_sleepTime = milliseconds;
}

int TRefreshThread::SleepTime() const
{
    QMutexLocker locker(&m_mutex);
    return m_sleepTime;
}

void TRefreshThread::PassDone(int idleTime)
{
    QMutexLocker locker(&m_mutex);
    m_passPending = false;
    m_idleTime = qMax(idleTime, 0);
    m_rescheduled = false;
    m_wake.wakeAll();
}

void TRefreshThread::Reschedule()
{
    QMutexLocker locker(&m_mutex);
    m_rescheduled = true;
    m_wake.wakeAll();
}

void TRefreshThread::run()
{
    QMutexLocker locker(&m_mutex);
    while (!m_terminating) {
        if (!m_enabled) {
            while (!m_enabled && !m_terminating) {
                m_suspended = true;
                m_wake.wait(&m_mutex);
            }
            m_suspended = false;
            continue;
        }
        // Sleep the sleep time, then on until a client is due; only
        // termination cuts the sleep time short, and a rescheduling the rest.
        const QDeadlineTimer deadline(m_sleepTime);
        const QDeadlineTimer idle(m_idleTime);
        while (!m_terminating) {
            const bool slept = deadline.hasExpired();
            if (slept && (m_rescheduled || idle.hasExpired()))
                break;
            m_wake.wait(&m_mutex, slept ? idle : deadline);
        }
        if (m_terminating)
            break;
        // Hand the pass to the user-interface thread and wait for it. A target
        // that is destroyed first drops the pending event; termination ends the wait.
        m_passPending = true;
        QCoreApplication::postEvent(m_passTarget, new QEvent(PassEvent));
        while (m_passPending && !m_terminating)
            m_wake.wait(&m_mutex);
    }
}
