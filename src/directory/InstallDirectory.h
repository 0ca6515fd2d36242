#pragma once

namespace telvaro {

class DirectoryView;

// Fills the directory's seams with `view`: the tab-mode switches, the key map
// and letter jump of the main window, and the memo pad.
void installDirectory(DirectoryView& view);

} // namespace telvaro
