#pragma once

class QWidget;

namespace telvaro {

// Fills the telephony seams (initializeTelephony, shutdownTelephony,
// cleanUpStaleSession, queryLineDevice, fillLineDeviceList, openLine,
// closeLine, lineIsOpen, dropCall, makeCall).
// `mainWindow`: the window enabled again when a call's wait ends.
void installTelephony(QWidget* mainWindow = nullptr);

} // namespace telvaro
