// The floor for start-up time: a Qt program that opens one empty main window
// and ends as soon as it is on screen. tools/bench-startup.sh compares the
// desktop program against it.
#include <QApplication>
#include <QMainWindow>

#include "app/gui/WhenExposed.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    const quorvel::gui::CWhenExposed quit(window, [] { QApplication::quit(); });
    window.show();
    return QApplication::exec();
}
