#include "chart/ChartToolbar.h"

#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString SpanText(int seconds)
{
    return seconds < 60 ? QStringLiteral("%1 s").arg(seconds) : QStringLiteral("%1 min").arg(seconds / 60);
}

QPushButton* Button(QWidget* parent, const char* name, bool checkable = false)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setCheckable(checkable);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TChartToolbar::TChartToolbar(const QList<int>& spans, QWidget* parent)
    : QWidget(parent), m_pause(Button(this, "ButtonPause", true)), m_live(Button(this, "ButtonLive")),
      m_record(Button(this, "ButtonRecord", true)), m_marker(Button(this, "ButtonMarker")),
      m_folder(Button(this, "ButtonLogFolder")), m_open(Button(this, "ButtonOpenLog")),
      m_showFolder(Button(this, "ButtonShowFolder")), m_spanLabel(new QLabel(this)),
      m_spanList(new QComboBox(this)), m_link(new QLabel(this)), m_status(new QLabel(this))
{
    m_spanList->setObjectName(QStringLiteral("ComboSpan"));
    m_spanList->setFocusPolicy(Qt::NoFocus);
    for (const int seconds : spans)
        m_spanList->addItem(SpanText(seconds), seconds);
    m_showFolder->setEnabled(false);
    m_link->setObjectName(QStringLiteral("LabelLink"));
    m_status->setObjectName(QStringLiteral("LabelStatus"));
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // The view and the link state above, the recording and its status below:
    // each row fits the narrowest screen in every language.
    auto* buttons = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(m_pause), static_cast<QWidget*>(m_live),
                            static_cast<QWidget*>(m_spanLabel), static_cast<QWidget*>(m_spanList)})
        buttons->addWidget(widget);
    buttons->addSpacing(16);
    buttons->addWidget(m_link);
    buttons->addStretch(1);
    auto* state = new QHBoxLayout;
    for (QWidget* widget : {m_record, m_marker, m_folder, m_open})
        state->addWidget(widget);
    state->addSpacing(10);
    state->addWidget(m_status, 1);
    state->addWidget(m_showFolder);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(buttons);
    layout->addLayout(state);
}

void TChartToolbar::RefreshInterfaceText(TTranslator* translator)
{
    m_translator = translator;
    // The keys in the tooltips, so that the buttons stay short.
    m_pause->setText(translator->GetString(TextIndex::ChartPause, QStringLiteral("Pause")));
    m_pause->setToolTip(QStringLiteral("%1 [Space]").arg(m_pause->text()));
    m_live->setText(translator->GetString(TextIndex::ChartGoLive, QStringLiteral("Live")));
    m_live->setToolTip(QStringLiteral("%1 [L]").arg(m_live->text()));
    m_marker->setText(translator->GetString(TextIndex::ChartMarker, QStringLiteral("Marker")));
    m_marker->setToolTip(QStringLiteral("%1 [M]").arg(m_marker->text()));
    m_open->setText(translator->GetString(TextIndex::ChartOpenLog, QStringLiteral("Open log...")));
    m_open->setToolTip(QStringLiteral("%1 [Ctrl+O]").arg(m_open->text()));
    m_folder->setText(translator->GetString(TextIndex::ChartLogFolder, QStringLiteral("Log folder...")));
    m_spanLabel->setText(
        translator->GetString(TextIndex::ChartVisibleWindow, QStringLiteral("Visible window")));
    m_showFolder->setText(
        translator->GetString(TextIndex::OpenRecordingFolder, QStringLiteral("Open folder")));
    SetRecording(m_recording);
}

void TChartToolbar::SetRecording(bool recording)
{
    m_recording = recording;
    if (!m_translator)
        return;
    const QString stop =
        m_translator->GetString(TextIndex::ChartStopRecording, QStringLiteral("Stop recording"));
    const QString record = m_translator->GetString(TextIndex::ChartRecord, QStringLiteral("Record"));
    // As wide as the wider of its two texts, so that a change moves nothing.
    m_record->setMinimumWidth(0);
    m_record->setText(recording ? record : stop);
    const int other = m_record->sizeHint().width();
    m_record->setText(recording ? stop : record);
    m_record->setMinimumWidth(std::max(other, m_record->sizeHint().width()));
    m_record->setToolTip(QStringLiteral("%1 [R]").arg(m_record->text()));
}

void TChartToolbar::SetLinkState(bool connected, const QString& text, const QString& other)
{
    // As wide as the wider of the two states, so that a change moves nothing.
    m_link->setMinimumWidth(std::max(m_link->fontMetrics().horizontalAdvance(text),
                                     m_link->fontMetrics().horizontalAdvance(other)) *
                            6 / 5);
    m_link->setText(text);
    m_link->setStyleSheet(connected ? QStringLiteral("color: #1a7f1a; font-weight: bold")
                                    : QStringLiteral("color: #c00000; font-weight: bold"));
}

void TChartToolbar::SetStatus(const QString& text)
{
    m_statusText = text;
    ShowStatus();
}

void TChartToolbar::ShowStatus()
{
    m_status->setText(
        m_status->fontMetrics().elidedText(m_statusText, Qt::ElideMiddle, std::max(0, m_status->width())));
    m_status->setToolTip(m_statusText);
}

void TChartToolbar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ShowStatus();
}
