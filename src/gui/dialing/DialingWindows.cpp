#include "gui/dialing/DialingWindows.h"

#include "app/FrmDialer.h"
#include "gui/dialing/DialPad.h"
#include "core/dialing/Dialer.h"
#include "gui/dialing/FrmConnect.h"

#include <QFrame>
#include <QPointer>
#include <QVBoxLayout>

namespace telvaro {

void installDialingWindows(FrmDialer& window)
{
    auto* layout = new QVBoxLayout(window.fraPad);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new DialPad(window.fraPad));
    new FrmConnect(&window);

    QPointer<FrmDialer> w(&window);
    Dialer& d = dialer();
    d.mainWindow.minimize = [w] {
        if (w)
            w->showMinimized();
    };
    d.mainWindow.isMinimized = [w] { return w && w->isMinimized(); };
    d.mainWindow.setEnabled = [w](bool on) {
        if (w)
            w->setEnabled(on);
    };
    installDialing();
}

} // namespace telvaro
