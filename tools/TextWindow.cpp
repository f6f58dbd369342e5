// The second yardstick of the start-up measurement: the least a program's main
// window with a menu and text shows (a menu bar with two menus, one line of
// large bold text, one status-bar line), shown maximised, with nothing else to
// do. What it takes beyond the bare window is the toolkit's own cost of a menu
// bar, fonts and text before the first window appears.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open"));
    window.menuBar()->addMenu(QStringLiteral("&Communication"))->addAction(QStringLiteral("&Connect"));
    auto* title = new QLabel(QStringLiteral("Configuration"), &window);
    QFont titleFont = title->font();
    titleFont.setPixelSize(32);
    titleFont.setBold(true);
    title->setFont(titleFont);
    window.setCentralWidget(title);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Not connected")));
    window.showMaximized();
    return QApplication::exec();
}
