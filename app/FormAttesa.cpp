#include "app/FormAttesa.h"

#include "link/WindowMessage.h"
#include "model/ResourceLibrary.h"
#include "ui_FormAttesa.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMovie>
#include <QScreen>

TFormAttesa::TFormAttesa(std::function<QString()> completedText, int screenWidth, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
      m_ui(std::make_unique<Ui::TFormAttesa>()), m_completedText(std::move(completedText))
{
    m_ui->setupUi(this);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    m_ui->LMDProgressFill->SetStartColor(QColor(192, 220, 192)); // money green
    m_ui->LMDProgressFill->SetEndColor(QColor(0, 128, 0));
    m_ui->LMDProgressFill->SetSteps(50);
    m_ui->LMDProgressFill->SetLowered(true);
    ScaleForm(this, screenWidth);
    setFixedSize(size());

    // The program's own animation; a missing one leaves the control empty.
    m_animation = new QMovie(QStringLiteral(":/program/avi/10003"), QByteArray(), this);
    if (m_animation->isValid()) {
        m_animation->setScaledSize(m_ui->Animate->size());
        m_ui->Animate->setMovie(m_animation);
        m_animation->start();
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    // Whenever the program is activated (from its taskbar entry), it comes back
    // from the minimised state with this window.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            return;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->isMinimized())
                window->showNormal();
        }
        if (isVisible())
            raise();
    });
}

TFormAttesa::~TFormAttesa() = default;

void TFormAttesa::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
}

QString TFormAttesa::Caption() const
{
    return windowTitle();
}

void TFormAttesa::SetMessage(const QString& message)
{
    m_ui->Label->setText(message);
}

QString TFormAttesa::CompletedLine() const
{
    return m_ui->LabelCompleted->text();
}

void TFormAttesa::SetWaitProgress(int percent, bool absolute)
{
    // The bar holds a signed 8-bit percentage; the program produces 0..100.
    m_percent = int8_t(absolute ? percent : m_percent + percent);
    m_ui->LMDProgressFill->SetPercent(m_percent);
    const QString completed = m_completedText();
    // The line keeps one size from 0% to 100%, in a font small enough for the
    // longest of them.
    FitFontToWidth(m_ui->LabelCompleted, QStringLiteral("100% ") + completed,
                   m_ui->LabelCompleted->contentsRect().width());
    m_ui->LabelCompleted->setText(QString::number(m_percent) + QStringLiteral("% ") + completed);
    m_ui->LabelCompleted->repaint();
}

int TFormAttesa::Progress() const
{
    return m_percent;
}

void TFormAttesa::ShowAndRepaint()
{
    show();
    raise();
    repaint();
}

bool TFormAttesa::IsShown() const
{
    return isVisible();
}

void TFormAttesa::PlaceAtTop(int top)
{
    move((ScreenWidth() - width()) / 2, top);
}

void TFormAttesa::ProgressMessage(uintptr_t wParam, intptr_t lParam)
{
    // The long operation blocks the event loop; processing the pending events
    // here keeps every window painting and lets the fitter minimise and restore
    // the program while the link library programs the unit. The operation's
    // TInputBlocker keeps the other windows' keys and clicks from starting
    // anything meanwhile.
    SetWaitProgress(int(wParam), lParam == 0);
    QCoreApplication::processEvents();
}

void TFormAttesa::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

bool TFormAttesa::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (message->message() == WindowMessage::WMProgress) {
            ProgressMessage(message->wParam(), message->lParam());
            return true;
        }
    }
    return QWidget::event(event);
}
