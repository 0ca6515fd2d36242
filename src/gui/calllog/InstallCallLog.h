#pragma once

namespace telvaro {

class FrmDialer;

// Connects the main window's log items ("&Outgoing Calls Log", "I&ncoming
// Calls Log" and their print items) to the log windows, and fills the seams
// of the call logs: retention at exit and closing the log windows.
void installCallLog(FrmDialer& window);

} // namespace telvaro
