#pragma once

#include "core/common/CurrentProfile.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QWidget;

namespace telvaro {

class FrmOptions;
class HelpWindow;
class Prompter;
class TrayIcon;
namespace calllog {
class PrintDevices;
}

// Ends the process once the exit sequence is done.
class ProcessEnder
{
public:
    virtual ~ProcessEnder() = default;
    virtual void endProcess() = 0;
};

// The parts that live as long as the program, whichever main window is
// loaded: the options dialog, the tray icon and the help window, and the
// program's ways to ask the user, to print and to end. The program
// (Application) owns one and hands it to every main window it loads; a main
// window made on its own (tests) makes its own, and a profile switch hands it
// on to the window loaded next.
class ProgramParts : public QObject
{
    Q_OBJECT

public:
    // `prompter`: asks the program's questions (none: the process-wide
    // prompter()). `printers`: where the call logs print (none: the system's
    // printers). Both must outlive the parts.
    explicit ProgramParts(Prompter* prompter = nullptr, calllog::PrintDevices* printers = nullptr);
    ~ProgramParts() override;

    Prompter& prompter() const { return *m_prompter; }
    calllog::PrintDevices& printDevices() const { return *m_printers; }
    // The profile loaded now; every main window of the run shows it.
    CurrentProfile& profile() { return m_profile; }
    // Ends the program by ending its event loop, with status 0.
    ProcessEnder& eventLoopEnder() { return *m_eventLoopEnder; }

    TrayIcon& tray() { return *m_tray; }
    // The options dialog, made on first use. It is a dialog of the main
    // window loaded now (setMainWindow hands it over) and hides, never
    // closes.
    FrmOptions& optionsDialog();
    // The help window, made on first use, raised and showing `topic`.
    HelpWindow& showHelpTopic(const QString& topic);
    // "&Help Topics": the contents page.
    void showHelp();
    // The help window when one is open.
    HelpWindow* helpWindow() const;

    // The main window loaded now: it owns the options dialog and the tray
    // serves it.
    void setMainWindow(QWidget& window);

private:
    Prompter* m_prompter;
    std::unique_ptr<calllog::PrintDevices> m_systemPrinters;
    calllog::PrintDevices* m_printers;
    std::unique_ptr<ProcessEnder> m_eventLoopEnder;
    CurrentProfile m_profile;
    std::unique_ptr<TrayIcon> m_tray;
    QPointer<FrmOptions> m_options;
    QPointer<HelpWindow> m_help;
    QPointer<QWidget> m_mainWindow;
};

} // namespace telvaro
