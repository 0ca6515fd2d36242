// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "app/Translations.h"
#include "core/common/CommandLine.h"
#include "core/dialing/ExternalRequests.h"
#include "gui/common/DialogPrompter.h"
#include "platform/SingleInstance.h"
#include "platform/UnixSignals.h"
#include "settings/Paths.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace telvaro {

Application::Application() = default;

Application::~Application() = default;

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

    // Qt looks for the session's runtime folder too and complains when there
    // is none: it is given Telvaro's own (private) one.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(paths::runtimeDir()));

    QApplication qapp(argc, argv); // takes Qt's own options out of argv
    QApplication::setApplicationName(QStringLiteral("Telvaro"));
    QApplication::setApplicationVersion(QStringLiteral(TELVARO_VERSION));
    installTranslations(qapp);
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
        // A number is never cut: one the message cannot carry is refused.
        if (number.size() > SingleInstance::kMaxText) {
            std::fprintf(stderr,
                         "telvaro: the number is %d characters long; at most %d can be handed "
                         "to the running Telvaro\n",
                         int(number.size()), SingleInstance::kMaxText);
            return 2;
        }
        if (!SingleInstance::send(number)) {
            std::fprintf(stderr, "telvaro: the running Telvaro did not answer\n");
            return 1;
        }
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

    // The program's questions: its parts are handed the prompter.
    DialogPrompter dialogs;
    app.m_prompter = &dialogs;

    UnixSignals signalWatcher;
    connect(&signalWatcher, &UnixSignals::terminationRequested, &app, [&app] { app.terminate(); });
    SessionEndWatcher sessionEnd(qapp);
    connect(&sessionEnd, &SessionEndWatcher::sessionEnded, &app, [&app] { app.terminate(); });
    connect(&instance, &SingleInstance::messageReceived, &app,
            [&app](int tag, const QString& text) {
                if (app.m_window && app.m_window->messagesHooked())
                    app.m_window->receiveFromOtherInstance(tag, withoutControlCharacters(text));
            });

    // Requests of other programs: the service belongs to the running program,
    // not to a main window or a line session, so a profile reload keeps it.
    DialRequestService requests;
    if (const Result started = requests.start(QDBusConnection::sessionBus()); !started)
        std::fprintf(stderr, "telvaro: requests from other programs are off: %s\n",
                     qPrintable(started.error));

    // Start-up runs inside the event loop, so an exit asked for meanwhile (a
    // signal, the session's end) ends the program instead of being lost.
    QTimer::singleShot(0, &app, [&app, number = commandLine.number] { app.loadWindow(number); });
    const int status = QApplication::exec();
    delete app.m_window.data();
    return status;
}

void Application::loadWindow(const QString& commandLine, profiles::ProfileOperation loadedBy)
{
    if (!m_parts)
        m_parts = std::make_unique<ProgramParts>(nullptr, PartDoubles{.prompter = m_prompter});
    m_window = new FrmDialer(m_parts.get(), loadedBy);
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    connect(m_window, &FrmDialer::instanceRecordReleased, m_instance, &SingleInstance::release);
    connect(m_window, &FrmDialer::profileReloadRequested, this, &Application::reloadWindow);
    m_window->formLoad(commandLine);
}

void Application::reloadWindow(profiles::ProfileOperation operation)
{
    // A reload runs the whole start-up again; the command line was served by
    // the first load. The parts of the window go with it and come anew with
    // the new one.
    if (m_window)
        m_window->unloadForReload();
    loadWindow(QString(), operation);
}

void Application::terminate()
{
    if (m_window)
        m_window->exitProgram(FrmDialer::ExitMode::NoQuestions);
    else
        QCoreApplication::exit(0);
}

SessionEndWatcher::SessionEndWatcher(QGuiApplication& app)
{
    // Telvaro keeps its data as it goes: the request to commit it
    // (commitDataRequest) needs no answer and does not end the program.
    app.installEventFilter(this);
}

bool SessionEndWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        Q_EMIT sessionEnded();
        return true;
    }
    return false;
}

} // namespace telvaro
