#pragma once

// TChartToolbar, the rows above the chart: pause and live, the visible window,
// recording, marker, log folder and log (their keys in their tooltips); below
// them the link state and a status text
// that is cut to the room there is (whole in its tooltip), so that the window
// keeps its size whatever the file's name or the language.

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class TTranslator;

class TChartToolbar : public QWidget {
    Q_OBJECT

public:
    // spans: the visible windows offered, in seconds.
    TChartToolbar(const QList<int>& spans, QWidget* parent = nullptr);

    void RefreshInterfaceText(TTranslator* translator);
    void SetRecording(bool recording);
    // text says the state, other the opposite one.
    void SetLinkState(bool connected, const QString& text, const QString& other);
    void SetStatus(const QString& text);
    QString Status() const { return m_statusText; }

    QPushButton* Pause() const { return m_pause; }
    QPushButton* Live() const { return m_live; }
    QPushButton* Record() const { return m_record; }
    QPushButton* Marker() const { return m_marker; }
    QPushButton* LogFolder() const { return m_folder; }
    QPushButton* OpenLog() const { return m_open; }
    // Shows the folder of the last recording; disabled until there is one.
    QPushButton* ShowFolder() const { return m_showFolder; }
    QComboBox* SpanList() const { return m_spanList; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowStatus();

    TTranslator* m_translator = nullptr;
    QPushButton* m_pause;
    QPushButton* m_live;
    QPushButton* m_record;
    QPushButton* m_marker;
    QPushButton* m_folder;
    QPushButton* m_open;
    QPushButton* m_showFolder;
    QLabel* m_spanLabel;
    QComboBox* m_spanList;
    QLabel* m_link;
    QLabel* m_status;
    QString m_statusText;
    bool m_recording = false;
};
