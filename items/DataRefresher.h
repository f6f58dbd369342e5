#pragma once

// TDataRefresher feeds live values: a background thread paces refresh passes,
// and each pass, run on the user-interface thread, reads every due group once
// through the link library and hands the bytes to each component registered for
// it (items get UpdateData, controls the WMDataAvailable message).

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TOrvConnection;
class TRefreshThread;

class TDataRefresher : public QObject {
    Q_OBJECT
    Q_PROPERTY(int SleepTime READ SleepTime WRITE SetSleepTime)
    Q_PROPERTY(TThreadPriority Priority READ Priority WRITE SetPriority)

public:
    enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
    Q_ENUM(TThreadPriority)

    explicit TDataRefresher(QObject* owner = nullptr);
    ~TDataRefresher() override;

    TOrvConnection* Connection() const { return m_connection; }
    void SetConnection(TOrvConnection* connection) { m_connection = connection; }
    int SleepTime() const;
    void SetSleepTime(int milliseconds);
    TThreadPriority Priority() const { return m_priority; }
    void SetPriority(TThreadPriority priority);

    bool AddRefresh(QObject* component, int interval, uint32_t descriptor, int index);
    void RemoveRefresh(QObject* component, uint32_t descriptor, int index);
    void SuspendRefresh(QObject* component, uint32_t descriptor, int index);
    void ResumeRefresh(QObject* component, uint32_t descriptor, int index);
    void RemoveAll();

    void SetEnabled(bool enabled);
    // Processes pending events first, so a pass waiting to run can finish, then
    // answers whether the thread is running (not suspended).
    bool GetEnabled();
    // One pass at once on the calling thread, delivering to every client.
    void ReloadAll();

    // The millisecond clock the pass measures intervals with (a 64-bit
    // monotonic clock; replaceable for tests).
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

signals:
    // A pass has read a group and handed it to every client due: their values
    // are now the ones the unit sent.
    void GroupDelivered(quint32 descriptor, int index);

protected:
    bool event(QEvent* event) override;

private:
    struct Client {
        bool active = true;
        qint64 lastDelivery = 0;
        int interval = 0;
        QPointer<QObject> component;
    };
    struct Group {
        uint32_t descriptor = 0;
        int index = -1;
        std::vector<int32_t> buffer; // 32-bit words: a packet's length, then its bytes
        int capacity = 1;
        std::vector<Client> clients;
    };

    void RefreshPass(bool force);
    bool ReadGroup(Group& group);
    int IdleTime() const;
    void Deliver(QObject* component, Group& group);
    Group* FindGroup(uint32_t descriptor, int index);
    Client* FindClient(QObject* component, uint32_t descriptor, int index);

    QPointer<TOrvConnection> m_connection;
    TThreadPriority m_priority = tpNormal;
    std::vector<Group> m_groups;
    std::function<qint64()> m_clock;
    std::unique_ptr<TRefreshThread> m_thread;
};
