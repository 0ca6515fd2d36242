// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialing/DialingWindows.h"

#include "core/dialing/Dialer.h"
#include "gui/dialing/DialPad.h"
#include "gui/dialing/FrmConnect.h"

#include <QFrame>
#include <QVBoxLayout>

namespace telvaro {

DialPad& installDialingWindows(QWidget& padFrame, QWidget& mainWindow, Dialer& dialer,
                               SoundPlayer& sound)
{
    auto* layout = new QVBoxLayout(&padFrame);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* pad = new DialPad(dialer, sound, &padFrame);
    layout->addWidget(pad);
    new FrmConnect(dialer, &mainWindow);
    return *pad;
}

} // namespace telvaro
