#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/DialogPrompter.h"
#include "app/FrmDialer.h"
#include "app/Seams.h"
#include "app/SingleInstance.h"
#include "app/UnixSignals.h"

#include <QApplication>
#include <QSessionManager>

#include <cstdio>
#include <cstring>

namespace telvaro {

int Application::run(int argc, char* argv[])
{
    // --version and --help answer without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(qPrintable(versionText()), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(qPrintable(usageText()), stdout);
            return 0;
        }
    }

    QApplication qapp(argc, argv); // takes Qt's own options out of argv
    QApplication::setApplicationName(QStringLiteral("Telvaro"));
    QApplication::setApplicationVersion(QStringLiteral(TELVARO_VERSION));
    // The window may live in the tray; the program ends through its exit
    // sequence only.
    QApplication::setQuitOnLastWindowClosed(false);

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.action == CommandLine::Action::Error) {
        std::fprintf(stderr, "telvaro: %s\n%s", qPrintable(commandLine.error),
                     qPrintable(usageText()));
        return 2;
    }

    Application app;
    SingleInstance instance;
    app.m_instance = &instance;
    switch (instance.claim()) {
    case SingleInstance::Claim::Second: {
        // Hand the number to the running Telvaro and end; nothing is shown.
        QString number = commandLine.number;
        if (number.startsWith(QLatin1Char('/')))
            number.remove(0, 1);
        if (!SingleInstance::send(number))
            std::fprintf(stderr, "telvaro: the running Telvaro did not answer\n");
        return 0;
    }
    case SingleInstance::Claim::Failed:
        std::fprintf(stderr,
                     "telvaro: cannot create %s; going on without the check for "
                     "another running Telvaro\n",
                     qPrintable(SingleInstance::socketPath()));
        break;
    case SingleInstance::Claim::First:
        break;
    }

    DialogPrompter dialogs;
    setPrompter(&dialogs);

    UnixSignals signalWatcher;
    connect(&signalWatcher, &UnixSignals::terminationRequested, &app, [&app] { app.terminate(); });
    connect(&qapp, &QGuiApplication::commitDataRequest, &app,
            [&app](QSessionManager&) { app.terminate(); });
    connect(&instance, &SingleInstance::messageReceived, &app,
            [&app](int tag, const QString& text) {
                if (app.m_window)
                    app.m_window->receiveFromOtherInstance(tag, text);
            });
    seams().reloadMainWindow = [&app] { app.reloadWindow(); };

    app.loadWindow(commandLine.number);
    const int status = QApplication::exec();
    delete app.m_window.data();
    setPrompter(nullptr);
    return status;
}

void Application::loadWindow(const QString& commandLine)
{
    m_window = new FrmDialer;
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    connect(m_window, &FrmDialer::instanceRecordReleased, m_instance, &SingleInstance::release);
    m_window->formLoad(commandLine);
}

void Application::reloadWindow()
{
    // A reload runs the whole start-up again; the command line was served by
    // the first load.
    FrmDialer::reloadMainWindow([this] { loadWindow(QString()); });
}

void Application::terminate()
{
    if (m_window)
        m_window->exitProgram(FrmDialer::ExitMode::NoQuestions);
    else
        QCoreApplication::exit(0);
}

} // namespace telvaro
