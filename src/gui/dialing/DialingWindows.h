#pragma once

namespace telvaro {

class FrmDialer;

// Puts the dialing pad into the main window's fraPad, creates the call
// progress window and fills the dialing seams.
void installDialingWindows(FrmDialer& window);

} // namespace telvaro
