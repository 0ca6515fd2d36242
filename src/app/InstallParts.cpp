#include "app/FrmDialer.h"

// Each part of the program adds its include here, under its own heading.
// Directory:
#include "gui/directory/InstallDirectory.h"
// Dialing:
#include "gui/dialing/DialingWindows.h"
// Calls:
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
// Options, tray, about box and help:
#include "gui/options/FrmOptions.h"

namespace telvaro {

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

    // Telephony (line session, call control, incoming calls, outside requests):
    installTelephony();        // line session, call control
    installExternalRequests(); // numbers from other programs and later starts
    installLocations();        // dialing properties, modem properties, system modems
    // Caller display, incoming log, receive switch:
    installIncomingCalls(window, *window.mnuReceive);

    // Call logs (log windows, retention):
    installCallLog(window);

    // Profiles:
    installProfiles(window);

    // Options dialog, tray, about box and help:
    installOptionsAndShell();
}

} // namespace telvaro
