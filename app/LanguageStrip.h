#pragma once

// The strip of language buttons at the right edge of the main window: one
// checkable button per language of the store, showing its flag (or, without the
// resource library, its name framed), in a scroll box that fills the client
// area's height and scrolls when the buttons need more room.

#include <QList>
#include <QObject>

class QScrollArea;
class QToolButton;
class QWidget;
class TTranslator;

class TLanguageStrip : public QObject {
    Q_OBJECT
public:
    // panel holds scroll, whose content widget receives the buttons.
    TLanguageStrip(QWidget* panel, QScrollArea* scroll, TTranslator& translator, int screenWidth,
                   QObject* parent);

    QList<QToolButton*> Buttons() const { return m_buttons; }

    // Keeps the strip to the right edge and the whole height of client.
    void Place(const QWidget* client);

signals:
    void LanguageChosen(int language);

private:
    void CreateButtons(TTranslator& translator);
    void PlaceButtons();
    static void ShowLanguageName(QToolButton* button, const QString& name);

    QWidget* m_panel;
    QScrollArea* m_scroll;
    const int m_screenWidth;
    QList<QToolButton*> m_buttons;
};
