#pragma once

namespace telvaro {

// Fills the telephony seams (initializeTelephony, shutdownTelephony,
// cleanUpStaleSession, queryLineDevice, fillLineDeviceList, openLine,
// closeLine, lineIsOpen, dropCall, makeCall, dialNextPart, releaseCall).
void installTelephony();

} // namespace telvaro
