#include "gui/telephony/Telephony.h"

#include "settings/OptionsStore.h"
#include "core/common/Seams.h"
#include "core/telephony/CallControl.h"
#include "core/telephony/LineSession.h"
#include "core/telephony/lineapi/LineApi.h"
#include "core/telephony/locations/LocationStore.h"

#include <QPointer>
#include <QWidget>

namespace telvaro {

void installTelephony(QWidget* mainWindow)
{
    Seams& s = seams();
    s.initializeTelephony = [] { InitializeTelephony(); };
    s.shutdownTelephony = [] { ShutdownTelephony(); };
    s.cleanUpStaleSession = [] { CleanUpStaleSession(); };
    s.queryLineDevice = [](int device) { QueryLineDevice(quint32(std::max(0, device))); };
    s.fillLineDeviceList = [] {
        // Positions equal device ids; with no devices the list stays as it was.
        QStringList names;
        bool filled = false;
        FillLineDeviceList(
            [&] {
                names.clear();
                filled = true;
            },
            [&names](const QString& name) { names << name; });
        if (filled)
            options().setLineDeviceNames(names);
    };
    s.openLine = [](int privileges, int mediaModes) {
        return OpenLine(quint32(privileges), quint32(mediaModes));
    };
    s.closeLine = [] { CloseLine(); };
    s.lineIsOpen = [] { return telephony().lineIsOpen; };
    s.lineReceiving = [] { return telephony().lineIsOpen && telephony().lineReceiving; };
    s.dropCall = [] { DropCall(); };
    s.makeCall = [](const QString& firstPiece) { MakeCall(firstPiece); };
    // A call that conceals the caller's identity dials the current
    // location's code first.
    setCallerIdBlockCodeSource([] {
        const TelephonyLocations locations = loadLocations();
        const DialingLocation* current = locations.currentLocation();
        return current ? current->blockCallerIdCode : QString();
    });
    // The line refused a drop: the main window takes input again, so the
    // user is not locked out.
    if (mainWindow)
        QObject::connect(&outgoingCall(), &Call::dropRefused, mainWindow,
                         [mainWindow] { mainWindow->setEnabled(true); });
}

} // namespace telvaro
