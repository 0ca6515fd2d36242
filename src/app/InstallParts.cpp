#include "app/FrmDialer.h"

// Each part of the program adds its include here, under its own heading.
// Directory:
#include "gui/directory/InstallDirectory.h"
// Dialing:
#include "gui/dialing/DialingWindows.h"
// Calls:
#include "core/calllog/CallLog.h"
#include "core/common/ProgramState.h"
#include "core/dialing/Dialer.h"
#include "gui/shell/TrayIcon.h"
// Telephony:
#include "core/dialing/ExternalRequests.h"
#include "gui/telephony/FrmCallDisplay.h"
#include "gui/telephony/Telephony.h"
#include "gui/telephony/locations/LineDialogs.h"
// Call logs:
#include "gui/calllog/InstallCallLog.h"
// Profiles:
#include "gui/profiles/Profiles.h"
// Shell (options, tray, about box and help):
#include "app/ProgramParts.h"
#include "core/dialing/Dialer.h"
#include "core/options/Preferences.h"
#include "gui/options/FrmOptions.h"
#include "gui/shell/FrmAbout.h"
#include "gui/shell/TrayIcon.h"

#include "core/common/Seams.h"

#include <QAction>
#include <QApplication>
#include <QPointer>

namespace telvaro {

namespace {

// Shell: the program's lasting parts (options dialog, tray icon, help) and
// the about box serve the main window loaded now; the window's menus reach
// them, and the window shows the effects of the receive setting.
void installShell(FrmDialer& window)
{
    if (QApplication::windowIcon().isNull() ||
        QApplication::windowIcon().availableSizes().isEmpty())
        QApplication::setWindowIcon(programIcon());
    ProgramParts& parts = window.parts();
    parts.setMainWindow(window);
    installPreferences();
    TrayIcon& tray = parts.tray();
    installTray(tray, window);

    QObject::connect(window.mnuOptions, &QAction::triggered, &window,
                     [&parts] { parts.optionsDialog().showOptions(); });
    QObject::connect(window.mnuHelpTopics, &QAction::triggered, &window,
                     [&parts] { parts.showHelp(); });
    QObject::connect(window.mnuHelpAbout, &QAction::triggered, &window,
                     [&window] { showAbout(&window); });
    QObject::connect(window.mPopRestore, &QAction::triggered, &window,
                     [&window] { restoreMainWindow(&window); });
    seams().trayModify = [t = QPointer<TrayIcon>(&tray)] {
        if (t)
            t->modify();
    };
    QObject::connect(&window, &FrmDialer::trayIconWanted, &tray, [&tray](bool shown) {
        if (shown)
            tray.add();
        else
            tray.remove();
    });

    // Receiving calls: the receive item's caption and the incoming log's
    // menu items follow the receive box.
    QObject::connect(&options(), &OptionsStore::checkClicked, &window,
                     [&window](OptionsStore::Check c) {
                         if (c != OptionsStore::chkCallDisplay)
                             return;
                         const bool receiving = options().isChecked(OptionsStore::chkCallDisplay);
                         window.mnuReceive->setText(receiveCaption(receiving));
                         window.mnuInLog->setEnabled(receiving);
                         window.mnuPrintInLog->setEnabled(receiving);
                     });
}

} // namespace

// Every part puts its widgets into the main window (fraPad, fraMain), connects
// the menu items it handles and fills its seams here: one line each, under
// its own heading. Runs once per main window, before start-up (formLoad).
void installParts(FrmDialer& window)
{
    (void)window;

    // Directory (tabs and pages view, buttons, memo pad):
    installDirectory(window);

    // Dialing (dial procedure, call window, dialing pad):
    installDialingWindows(*window.fraPad, window);

    // Calls: the dial brings the main window up (or minimizes it for a
    // number handed over) and lets it take input again after the tones.
    QObject::connect(&dialer(), &Dialer::mainWindowWanted, &window, [&window](bool minimized) {
        if (minimized)
            window.showMinimized();
        if (!window.isMinimized())
            restoreMainWindow(&window);
    });
    QObject::connect(&dialer(), &Dialer::mainWindowReleased, &window,
                     [&window] { window.setEnabled(true); });
    // A call taken opens the memo pad of its directory entry and gets its
    // record in the outgoing log.
    QObject::connect(&dialer(), &Dialer::callConnected, &window, [](const DialRequest& request) {
        if (request.hasEntry() && !state().memoOpen)
            callSeam(seams().openMemo, request.entryKey);
    });
    auto* callLog = new CallLog(&window);
    QObject::connect(&dialer(), &Dialer::callEnded, callLog, &CallLog::recordOutgoing);

    // Telephony (line session, call control, incoming calls, outside requests):
    installTelephony(&window); // line session, call control
    installExternalRequests(); // numbers from other programs and later starts
    installLocations();        // dialing properties, modem properties, system modems
    // Caller display, incoming log, receive switch:
    installIncomingCalls(window, *window.mnuReceive);

    // Call logs (log windows, retention):
    installCallLog(window);

    // Profiles:
    installProfiles(window);

    // Shell (options dialog, tray, about box and help):
    installShell(window);
}

} // namespace telvaro
