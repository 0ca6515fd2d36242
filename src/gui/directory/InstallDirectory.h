#pragma once

namespace telvaro {

class DirectoryView;
class FrmDialer;

// Fills the directory's seams with `view`: the tab-mode switches, the key map
// and letter jump of the main window, and the memo pad.
void installDirectory(DirectoryView& view);

// Puts the directory view into the main window's frame fraMain, hands it the
// window's menu items and fills the seams. Returns the view.
DirectoryView* installDirectory(FrmDialer& window);

} // namespace telvaro
