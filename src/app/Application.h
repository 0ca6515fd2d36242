// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QGuiApplication;

#include "app/FrmDialer.h"

namespace telvaro {

class ProgramParts;
class Prompter;
class SingleInstance;

// The running program around its main window: the command line, the
// single-instance handshake, termination signals and the session's end, and
// the reload of the main window for the profile commands.
class Application : public QObject
{
    Q_OBJECT

public:
    // Runs Telvaro; returns the process's exit status.
    static int run(int argc, char* argv[]);

    FrmDialer* window() const { return m_window; }

private:
    Application();
    ~Application() override;
    void loadWindow(const QString& commandLine,
                    profiles::ProfileOperation loadedBy = profiles::ProfileOperation::None);
    void reloadWindow(profiles::ProfileOperation operation);
    void terminate();

    SingleInstance* m_instance = nullptr;
    Prompter* m_prompter = nullptr;
    // The parts every main window of the run shares (options dialog, tray,
    // help); made once, before the first window.
    std::unique_ptr<ProgramParts> m_parts;
    QPointer<FrmDialer> m_window;
};

// Tells when the session ends (the session manager's last word arrives as
// the application's Quit event, which it keeps from ending the event loop);
// a request to save (a checkpoint, a logout that may be cancelled) leaves the
// program running. Deleting the watcher stops the watch.
class SessionEndWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SessionEndWatcher(QGuiApplication& app);

Q_SIGNALS:
    void sessionEnded();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace telvaro
