#include "app/FrmDialer.h"

// Each part of the program adds its include here, under its own heading.
// Directory:
#include "directory/InstallDirectory.h"
// Dialing:
#include "dialing/DialingWindows.h"
// Telephony:
#include "telephony/ExternalRequests.h"
#include "telephony/FrmCallDisplay.h"
#include "telephony/Telephony.h"
#include "telephony/locations/LineDialogs.h"
// Call logs:
#include "calllog/InstallCallLog.h"
// Profiles:
#include "profiles/Profiles.h"
// Options, tray, about box and help:
#include "app/FrmOptions.h"

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
    installDialingWindows(window);

    // Telephony (line session, call control, incoming calls, outside requests):
    installTelephony();        // line session, call control
    installExternalRequests(); // numbers from other programs and later starts
    installLocations();        // dialing properties, modem properties, system modems
    // Caller display, incoming log, receive switch:
    installIncomingCalls(window);

    // Call logs (log windows, retention):
    installCallLog(window);

    // Profiles:
    installProfiles(window);

    // Options dialog, tray, about box and help:
    installOptionsAndShell();
}

} // namespace telvaro
