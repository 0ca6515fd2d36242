// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/common/EllipticalWindow.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace telvaro {

class Dialer;

// The call progress window: a small elliptical window that shows what the
// dialer's call state says (heading, number or message, one of three
// pictures, Hang Up or OK). It can be dragged by its background; a key
// pressed with Shift, Ctrl or Alt held down is its OK when OK is offered.
class FrmConnect : public EllipticalWindow
{
    Q_OBJECT

public:
    // Designed size and places, in twips.
    static constexpr int kWidth = 5400;
    static constexpr int kHeight = 3000;

    explicit FrmConnect(Dialer& dialer, QWidget* parent = nullptr);

    // Shows the dialer's state of the window.
    void refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls, found by their object names (the names below).
    QGroupBox* fra1 = nullptr;
    QLabel* lbl1 = nullptr;
    QLabel* imaDialing = nullptr;
    QLabel* imaBusy = nullptr;
    QLabel* imaConnect = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* CmdOK = nullptr;

    bool m_placed = false;
    Dialer& m_dialer;
};

} // namespace telvaro
