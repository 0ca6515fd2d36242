#pragma once

class QWidget;

namespace telvaro {

class Dialer;
class SoundPlayer;

// Puts the dialing pad into `padFrame` (the main window's fraPad) and creates
// the call progress window over `mainWindow`, both showing `dialer`; the
// pad's keys sound through `sound`.
void installDialingWindows(QWidget& padFrame, QWidget& mainWindow, Dialer& dialer,
                           SoundPlayer& sound);

} // namespace telvaro
