// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace telvaro {

class Dialer;
class DialPad;
class SoundPlayer;

// Puts the dialing pad into `padFrame` (the main window's fraPad) and creates
// the call progress window over `mainWindow`, both showing `dialer`; the
// pad's keys sound through `sound`. Returns the pad, for the main window's
// wiring.
DialPad& installDialingWindows(QWidget& padFrame, QWidget& mainWindow, Dialer& dialer,
                               SoundPlayer& sound);

} // namespace telvaro
