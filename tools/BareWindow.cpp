// The yardstick of the start-up measurement: a bare Qt window, shown maximised
// as the program's main window is, with nothing else to do.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.showMaximized();
    return QApplication::exec();
}
