#include "app/DialogPrompter.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    telvaro::DialogPrompter dialogs;
    telvaro::setPrompter(&dialogs);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Telvaro"));
    window.show();
    return app.exec();
}
