#pragma once

// Records the window messages a component receives, in order.

#include "link/WindowMessage.h"

#include <QEvent>
#include <QList>
#include <QObject>

struct RecordedMessage {
    int message;
    uintptr_t wParam;
    intptr_t lParam;
};

class MessageRecorder : public QObject {
public:
    explicit MessageRecorder(QList<QString>* journal = nullptr, const QString& name = QString())
        : m_journal(journal), m_name(name)
    {
    }

    QList<RecordedMessage> messages;

    int Count(int message) const
    {
        int n = 0;
        for (const RecordedMessage& m : messages)
            n += m.message == message;
        return n;
    }

protected:
    bool event(QEvent* event) override
    {
        if (const TWindowMessage* message = TWindowMessage::from(event)) {
            messages.append({message->message(), message->wParam(), message->lParam()});
            if (m_journal)
                m_journal->append(m_name);
            return true;
        }
        return QObject::event(event);
    }

private:
    QList<QString>* m_journal;
    QString m_name;
};
