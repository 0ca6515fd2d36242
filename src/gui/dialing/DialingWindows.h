#pragma once

class QWidget;

namespace telvaro {

class Dialer;

// Puts the dialing pad into `padFrame` (the main window's fraPad) and creates
// the call progress window over `mainWindow`, both showing `dialer`.
void installDialingWindows(QWidget& padFrame, QWidget& mainWindow, Dialer& dialer);

} // namespace telvaro
