#pragma once

// TInputBlocker keeps the user's hands off the program while a long operation
// runs (connecting, a configuration file, a firmware update). From the moment
// it is made until it is destroyed, the windows that were there at that moment
// take no user input: keys, shortcuts, mouse buttons, the wheel, context menus,
// drops and the window manager's close button are dropped. Windows opened
// afterwards (the operation's wait window, its questions and messages) take
// input as usual. Painting, moving, minimising and restoring go on for every
// window: the operation may process events (the firmware update does, to keep
// the windows painting) without letting a second command start.

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

class TInputBlocker : public QObject {
    Q_OBJECT

public:
    TInputBlocker();
    ~TInputBlocker() override;

    // Whether input to this window (or a widget in it) is dropped.
    bool Blocks(const QWidget* widget) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BlocksReceiver(QObject* receiver) const;

    QList<QPointer<QWidget>> m_windows; // the windows there when the operation began
};
