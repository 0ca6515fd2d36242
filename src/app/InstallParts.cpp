#include "app/FrmDialer.h"

// Each part of the program adds its include here, under its own heading.
// Directory:
#include "directory/InstallDirectory.h"
// Dialing:
// Telephony:
#include "telephony/locations/LineDialogs.h"
// Call logs:
// Profiles:
// Options, tray, about box and help:

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

    // Telephony (line session, call control, incoming calls, outside requests):
    installLocations(); // dialing properties, modem properties, system modems

    // Call logs (log windows, retention):

    // Profiles:

    // Options dialog, tray, about box and help:
}

} // namespace telvaro
