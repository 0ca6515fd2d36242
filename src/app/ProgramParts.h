// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/CurrentProfile.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QWidget;

namespace telvaro {

class CallRequests;
class Dialer;
class FrmOptions;
class HelpWindow;
class LineDialogs;
class LineLayerTranslation;
class LineProviderSource;
class LineService;
class LineTranslation;
class Prompter;
class ProgramLineProviders;
class SipPasswordPrompt;
class SipPasswords;
class SoundPlayer;
class TrayIcon;
namespace calllog {
class CallLogWriter;
class PrintDevices;
} // namespace calllog

// Ends the process once the exit sequence is done.
class ProcessEnder
{
public:
    virtual ~ProcessEnder() = default;
    virtual void endProcess() = 0;
};

// What the program or a test hands in place of the parts' own (null: their
// own): the line layer's providers (the configured modems and SIP phones),
// the dialing locations and number translation (the line layer's), the sound
// output (the sound card), who asks the program's questions (dialogs), where
// the call logs print (the system's printers) and the SIP phones' passwords
// of the run (asked through the program's prompter). Each must outlive the
// parts.
struct PartDoubles
{
    LineProviderSource* providers = nullptr;
    LineTranslation* translation = nullptr;
    SoundPlayer* sound = nullptr;
    Prompter* prompter = nullptr;
    calllog::PrintDevices* printers = nullptr;
    SipPasswords* sipPasswords = nullptr;
};

// The parts that live as long as the program, whichever main window is
// loaded: the line service with its translation and dialogs, the dialer, the
// queue of other programs' requests, the sound output, the writer of the call
// logs, the options dialog, the tray icon and the help window, and the
// program's ways to ask the user, to print and to end. The program
// (Application) owns one and hands it to every main window it loads; a main
// window made on its own (tests) makes its own, and a profile switch hands it
// on to the window loaded next.
class ProgramParts : public QObject
{
    Q_OBJECT

public:
    explicit ProgramParts(QObject* parent = nullptr, PartDoubles doubles = {});
    ~ProgramParts() override;

    LineService& line() { return *m_line; }
    Dialer& dialer() { return *m_dialer; }
    LineTranslation& translation();
    SoundPlayer& sound() { return *m_sound; }
    CallRequests& requests() { return *m_requests; }
    LineDialogs& lineDialogs() { return *m_lineDialogs; }
    // The SIP phones' passwords of the run.
    SipPasswords& sipPasswords() { return *m_sipPasswords; }

    Prompter& prompter() const { return *m_prompter; }
    // Writes the calls' records (the call log part's and the line's) and
    // tells the log windows of them; a log that cannot be written is told
    // through the prompter.
    calllog::CallLogWriter& callLogs() { return *m_callLogs; }
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
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    std::unique_ptr<calllog::CallLogWriter> m_callLogs;
    std::unique_ptr<calllog::PrintDevices> m_systemPrinters;
    calllog::PrintDevices* m_printers;
    std::unique_ptr<ProcessEnder> m_eventLoopEnder;
    CurrentProfile m_profile;
    class LocationBlockCode;
    std::unique_ptr<SoundPlayer> m_ownSound;
    SoundPlayer* m_sound;
    std::unique_ptr<LocationBlockCode> m_blockCode;
    std::unique_ptr<SipPasswordPrompt> m_sipPrompt;
    std::unique_ptr<SipPasswords> m_ownSipPasswords;
    SipPasswords* m_sipPasswords;
    std::unique_ptr<ProgramLineProviders> m_ownProviders;
    std::unique_ptr<LineService> m_line;
    std::unique_ptr<LineLayerTranslation> m_ownTranslation;
    LineTranslation* m_translation;
    std::unique_ptr<Dialer> m_dialer;
    std::unique_ptr<CallRequests> m_requests;
    std::unique_ptr<LineDialogs> m_lineDialogs;
    std::unique_ptr<TrayIcon> m_tray;
    QPointer<FrmOptions> m_options;
    QPointer<HelpWindow> m_help;
    QPointer<QWidget> m_mainWindow;
};

} // namespace telvaro
