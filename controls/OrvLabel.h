#pragma once

// TOrvLabel is a read-only display of a live value. It is bound to a live
// packet item, whose value the refresher renews, and shows it as a number
// (formatted by DataFormat) or as an on/off status word in its own colour; or it
// is bound to a vector item whose elements, read as character codes, form a
// text. In the labeled styles it carries a caption label (ChildLabel); it
// always carries a move/resize object (Resizer).

#include "controls/ChildLabel.h"
#include "controls/ItemLink.h"
#include "controls/Resizer.h"
#include "items/OrvSerialData.h"

#include <QColor>
#include <QLabel>
#include <QPointer>

class TOrvLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(TOrvSerialData* Value READ Value WRITE SetValue)
    Q_PROPERTY(TLabelStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(QString OnText READ OnText WRITE SetOnText)
    Q_PROPERTY(QString OffText READ OffText WRITE SetOffText)
    Q_PROPERTY(QColor OnColor READ OnColor WRITE SetOnColor)
    Q_PROPERTY(QColor OffColor READ OffColor WRITE SetOffColor)
    Q_PROPERTY(bool State READ State WRITE SetState)
    Q_PROPERTY(QString DataFormat READ DataFormat WRITE SetDataFormat)
    Q_PROPERTY(double LabelValue READ LabelValue)
    Q_PROPERTY(QString VectorText READ VectorText)
    Q_PROPERTY(TChildLabel* ChildLabel READ ChildLabel)
    Q_PROPERTY(TResizer* Resizer READ Resizer CONSTANT)

public:
    // What the label shows: a number or a status word, with or without a
    // caption label.
    enum TLabelStyle { lsValue, lsLabeledValue, lsFlag, lsLabeledFlag };
    Q_ENUM(TLabelStyle)

    explicit TOrvLabel(QWidget* parent = nullptr);
    ~TOrvLabel() override;

    TOrvSerialData* Value() const { return m_value.Get(); }
    // Binds to a live packet item or a vector item (or to none); any other
    // item is refused and the old binding stays. The text stays until the
    // item reports a value.
    void SetValue(TOrvSerialData* item);
    TLabelStyle Style() const { return m_style; }
    // The labeled styles create the caption label when it is missing, the
    // others destroy it.
    void SetStyle(TLabelStyle style);
    QString OnText() const { return m_onText; }
    void SetOnText(const QString& text);
    QString OffText() const { return m_offText; }
    void SetOffText(const QString& text);
    QColor OnColor() const { return m_onColor; }
    void SetOnColor(const QColor& color);
    QColor OffColor() const { return m_offColor; }
    void SetOffColor(const QColor& color);
    bool State() const { return m_state; }
    void SetState(bool state);
    QString DataFormat() const { return m_dataFormat; }
    void SetDataFormat(const QString& format);
    double LabelValue() const { return m_labelValue; }
    QString VectorText() const { return m_vectorText; }
    TChildLabel* ChildLabel() const { return m_label; }
    TResizer* Resizer() const { return m_resizer; }

protected:
    bool event(QEvent* event) override;

private:
    bool IsValueStyle() const { return m_style == lsValue || m_style == lsLabeledValue; }
    void DataChanged();
    void RenewText();
    void SetFontColor(const QColor& color);

    TItemLink<TOrvSerialData> m_value{this};
    QPointer<TChildLabel> m_label;
    QPointer<TResizer> m_resizer;
    TLabelStyle m_style = lsLabeledValue;
    QString m_onText = QStringLiteral("ON");
    QString m_offText = QStringLiteral("OFF");
    QString m_vectorText = QStringLiteral("n.d.");
    QColor m_onColor;
    QColor m_offColor;
    bool m_state = false;
    double m_labelValue = 0;
    QString m_dataFormat;
};
