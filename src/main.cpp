#include "app/DialogPrompter.h"
#include "app/FrmDialer.h"
#include "app/Seams.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    telvaro::DialogPrompter dialogs;
    telvaro::setPrompter(&dialogs);
    telvaro::FrmDialer window;
    telvaro::seams().exitProgram = [] { QCoreApplication::quit(); };
    window.show();
    return app.exec();
}
