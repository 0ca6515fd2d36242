#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QGuiApplication;

#include "app/FrmDialer.h"

namespace telvaro {

class ProgramParts;
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
    // The parts every main window of the run shares (options dialog, tray,
    // help); made once, before the first window.
    std::unique_ptr<ProgramParts> m_parts;
    QPointer<FrmDialer> m_window;
};

// Runs `end` when the session ends; a session manager's request to save
// (a checkpoint, a logout that may be cancelled) leaves the program running.
// Returns the watcher (deleting it stops the watch).
QObject* connectSessionEnd(QGuiApplication& app, std::function<void()> end);

} // namespace telvaro
