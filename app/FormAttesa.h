#pragma once

// TFormAttesa, the wait window: an animation, a message line, a progress bar and
// a percentage line, shown while a long operation runs on the user-interface
// thread (connecting, files, firmware). It also takes the link library's
// progress messages while the unit is being programmed.

#include "app/FormScaling.h"
#include "support/UserPrompts.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class TFormAttesa;
}
class QMovie;

class TFormAttesa : public QWidget, public TWaitWindow {
    Q_OBJECT

public:
    // completedText gives the word shown after the percentage
    // (TextIndex::PercentCompleted); the window is built for the given screen
    // width (scaled from 800).
    explicit TFormAttesa(std::function<QString()> completedText, int screenWidth = ScalingWidth(),
                         QWidget* parent = nullptr);
    ~TFormAttesa() override;

    // TWaitWindow
    void SetCaption(const QString& caption) override;
    QString Caption() const override;
    void SetMessage(const QString& message) override;
    void SetWaitProgress(int percent, bool absolute) override;
    int Progress() const override;
    void ShowAndRepaint() override;
    bool IsShown() const override;
    void PlaceAtTop(int top) override;
    void ProgressMessage(uintptr_t wParam, intptr_t lParam) override;

    QString CompletedLine() const;

protected:
    bool event(QEvent* event) override;
    // The window lives as long as its operation: it cannot be closed before.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TFormAttesa> m_ui;
    std::function<QString()> m_completedText;
    QMovie* m_animation = nullptr;
    int8_t m_percent = 0;
};
