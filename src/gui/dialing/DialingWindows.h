#pragma once

class QWidget;

namespace telvaro {

// Puts the dialing pad into `padFrame` (the main window's fraPad), creates
// the call progress window over `mainWindow` and fills the dialing seams.
void installDialingWindows(QWidget& padFrame, QWidget& mainWindow);

} // namespace telvaro
