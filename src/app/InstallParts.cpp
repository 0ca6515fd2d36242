#include "app/FrmDialer.h"

// Each part of the program adds its include here, under its own heading.
// Directory:
#include "gui/directory/InstallDirectory.h"
// Dialing:
#include "gui/dialing/DialingWindows.h"
// Telephony:
#include "core/telephony/ExternalRequests.h"
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
