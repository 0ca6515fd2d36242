// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/LineApi.h"

#include "gui/common/EllipticalWindow.h"

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;

namespace telvaro {

class LineService;
class SoundPlayer;

// The caller display: a small elliptical window, frameless and on top of the
// others, that shows who calls ("Incoming Call from:", the number, ten
// spaces and the name). It has no owner, so it appears even while the main
// window is hidden in the tray. It can be dragged by its background.
class FrmCallDisplay : public EllipticalWindow
{
    Q_OBJECT

public:
    // Designed size, in twips.
    static constexpr int kWidth = 5400;
    static constexpr int kHeight = 3000;

    // `line`: the line whose offered calls it shows; `sound`: the ringing.
    FrmCallDisplay(LineService& line, SoundPlayer& sound, QWidget* parent = nullptr);

    // Opens the window for an offered call, or shows a new call in it; the
    // "incoming" sound plays once per call when "Recei&ving incoming call" is
    // checked.
    void openFor(HCALL call);
    // Shows the line's caller number and name as they are now.
    void refresh();
    // OK: lets go of the window's call (when it is still there), stops the
    // sound and closes.
    void acknowledge();
    // Closes the window (the call went idle).
    void dismiss();

    // The caller text as shown: number, ten spaces, name; "     Caller Unknown"
    // when there is no number.
    static QString callerText(const QString& number, const QString& name);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Controls, found by their object names (the names below).
    QGroupBox* fra1 = nullptr;
    QLabel* lbl1 = nullptr;
    QLabel* imaDialing = nullptr; // the caller is not known
    QLabel* imaConnect = nullptr; // the caller is known
    QPushButton* CmdOK = nullptr;

    LineService& m_line;
    SoundPlayer& m_sound;
};

// The caller display of the run of `window`: made when the line first offers
// a call, refreshed as the caller becomes known, closed when its call ends
// (gone with the window); and the receive switch (mnuReceive).
void installIncomingCalls(QWidget& window, QAction& receiveSwitch, LineService& line,
                          SoundPlayer& sound);

} // namespace telvaro
