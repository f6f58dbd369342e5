#pragma once

// A TUserPrompts for tests: it records every message, question, wait and wait
// window, answers questions from a script and never sleeps.

#include "support/UserPrompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>

struct FakeWaitWindowState {
    QStringList captions;
    QStringList messages;
    QList<int> progress;
    bool shown = false;
    bool destroyed = false;
    int top = -1;
};

class FakeWaitWindow : public TWaitWindow {
public:
    // onProgress runs after each progress step.
    explicit FakeWaitWindow(FakeWaitWindowState& state, std::function<void()> onProgress = {})
        : m_state(state), m_onProgress(std::move(onProgress))
    {
    }
    ~FakeWaitWindow() override { m_state.destroyed = true; }

    void SetCaption(const QString& caption) override { m_state.captions << caption; }
    QString Caption() const override { return m_state.captions.value(m_state.captions.size() - 1); }
    void SetMessage(const QString& message) override { m_state.messages << message; }
    void SetWaitProgress(int percent, bool absolute) override
    {
        m_progress = absolute ? percent : m_progress + percent;
        m_state.progress << m_progress;
        if (m_onProgress)
            m_onProgress();
    }
    int Progress() const override { return m_progress; }
    void ShowAndRepaint() override { m_state.shown = true; }
    bool IsShown() const override { return m_state.shown; }
    void PlaceAtTop(int top) override { m_state.top = top; }

private:
    FakeWaitWindowState& m_state;
    std::function<void()> m_onProgress;
    int m_progress = 0;
};

class FakePrompts : public TUserPrompts {
public:
    struct Message {
        TMessageIcon icon;
        QString caption;
        QString text;
        bool defaultYes = false; // of a question: the answer Return gives
    };

    QList<Message> messages;
    QList<Message> questions;
    QList<bool> answers; // taken in order; "no" once they run out
    QList<int> waits;
    QList<bool> cursor;
    std::deque<FakeWaitWindowState> waitWindows; // a deque keeps each window's state in place
    bool upgradeBootLoader = true;
    std::function<void(int)> onWait;  // runs in each wait: the moment to change the unit under a rule
    std::function<void()> onProgress; // runs at each progress step of a wait window: inside a long operation

    void ShowMessage(TMessageIcon icon, const QString& caption, const QString& text) override
    {
        messages.append({icon, caption, text});
    }
    bool AskYesNo(TMessageIcon icon, const QString& caption, const QString& text, bool defaultYes) override
    {
        questions.append({icon, caption, text, defaultYes});
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void Wait(int milliseconds) override
    {
        waits << milliseconds;
        if (onWait)
            onWait(milliseconds);
    }
    void SetBusyCursor(bool busy) override { cursor << busy; }
    std::unique_ptr<TWaitWindow> CreateWaitWindow() override
    {
        waitWindows.emplace_back();
        return std::make_unique<FakeWaitWindow>(waitWindows.back(), onProgress);
    }
    bool UpgradeBootLoaderChecked() override { return upgradeBootLoader; }

    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const Message& m : messages)
            texts << m.text;
        return texts;
    }
};
