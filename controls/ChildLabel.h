#pragma once

// TChildLabel is the caption label that a control carries beside itself. It is
// a sibling of its owner control (a child of the owner's parent) and keeps
// itself placed by absolute geometry on the side of the owner that
// LabelPosition names, at the distance LabelSpacing, aligned by Alignment. It
// follows its owner's parent, visibility and bounds. The owner creates it and
// destroys it with itself.

#include <QLabel>
#include <QPointer>

class TChildLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TLabelPosition LabelPosition READ LabelPosition WRITE SetLabelPosition)
    Q_PROPERTY(int LabelSpacing READ LabelSpacing WRITE SetLabelSpacing)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(QWidget* FocusControl READ FocusControl WRITE SetFocusControl)

public:
    enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
    Q_ENUM(TLabelPosition)
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    // A label for owner; its caption is the owner's name, and the owner takes
    // the focus on a click when it can take the focus at all.
    explicit TChildLabel(QWidget* owner);

    QWidget* Owner() const { return m_owner; }

    QString Caption() const { return text(); }
    // Shows the text, sizes the label to it (accents above the font's ascent
    // included) and places it again.
    void SetCaption(const QString& caption);
    TLabelPosition LabelPosition() const { return m_position; }
    void SetLabelPosition(TLabelPosition position);
    int LabelSpacing() const { return m_spacing; }
    void SetLabelSpacing(int spacing);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    QWidget* FocusControl() const { return buddy(); }
    void SetFocusControl(QWidget* control) { setBuddy(control); }

    // Repaints the label and places it beside its owner again.
    void Update();
    // Places the label beside its owner; a label without an owner stays put.
    void Anchor();

signals:
    void OnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FitToText();
    void FollowOwnerParent();

    QPointer<QWidget> m_owner;
    TLabelPosition m_position = lpLeft;
    int m_spacing = 80;
    TAlignment m_alignment = taLeftJustify;
};
