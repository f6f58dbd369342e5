#pragma once

// TStatusBar is a row of text panels, each with a fixed width (a width of 0 or
// less takes the rest of the row), its own font and its own text colour.

#include <QColor>
#include <QFont>
#include <QList>
#include <QWidget>

class QLabel;

class TStatusBar : public QWidget {
    Q_OBJECT

public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // Appends a panel and answers its index.
    int AddPanel(int width, const QFont& font = QFont(), const QColor& textColor = QColor());
    int PanelCount() const { return int(m_panels.size()); }

    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);
    QColor PanelTextColor(int index) const;
    void SetPanelTextColor(int index, const QColor& color);
    void SetPanelFont(int index, const QFont& font);
    // The label that shows the panel, or nullptr for an index out of range.
    QLabel* Panel(int index) const;

private:
    QList<QLabel*> m_panels;
};
