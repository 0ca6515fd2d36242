#include "gui/directory/InstallDirectory.h"

#include "app/FrmDialer.h"
#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "gui/directory/DirectoryView.h"
#include "gui/directory/FrmMemo.h"
#include "gui/directory/FrmSpeedDial.h"

#include <QFrame>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

namespace telvaro {

void installDirectory(DirectoryView& view)
{
    QPointer<DirectoryView> v(&view);
    Seams& s = seams();
    s.showIndexTabs = [v] {
        if (v)
            v->showIndexTabs();
    };
    s.showSubjectTabs = [v] {
        if (v)
            v->showSubjectTabs();
    };
    // Qt key code and the shift state of the key pressed: 1 Shift, 2 Ctrl,
    // 4 Alt.
    s.directoryKeyDown = [v](int key, int shift) {
        if (!v)
            return;
        Qt::KeyboardModifiers modifiers;
        if (shift & 1)
            modifiers |= Qt::ShiftModifier;
        if (shift & 2)
            modifiers |= Qt::ControlModifier;
        if (shift & 4)
            modifiers |= Qt::AltModifier;
        v->keyDown(key, modifiers);
    };
    s.directoryLetterJump = [v](QChar letter) {
        if (v)
            v->letterJump(letter);
    };
    // The dial procedure closes an open entry editor; nothing is stored.
    s.closeEntryEditor = [v] {
        if (v && v->editor())
            v->editor()->close();
    };
    // A profile switch closes the memo pad as its window frame does: the
    // note being written is not stored.
    s.closeMemo = [v] {
        if (v && v->memoPad())
            v->memoPad()->close();
    };
    s.enableSpeedDialButtons = [v] {
        if (v)
            v->setButtonsEnabled(true);
    };
    s.openMemo = [v](const QString& entryKey) {
        if (!v)
            return;
        if (!entryKey.isEmpty())
            state().currentEntryKey = entryKey;
        v->openMemo();
    };
}

DirectoryView* installDirectory(FrmDialer& window)
{
    auto* view = new DirectoryView(window.fraMain);
    auto* layout = new QVBoxLayout(window.fraMain);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    // The window's pad buttons stay on top, at the left of the bottom row.
    window.cmdHide->raise();
    window.cmdShow->raise();
    view->setBottomLeftInset(window.cmdHide->width());

    DirectoryMenus m;
    m.mnuIndex = window.mnuIndex;
    m.mnuSubject = window.mnuSubject;
    m.mnuArrange = window.mnuArrange;
    m.mnuEdit = window.mnuEdit;
    m.mnuCut = window.mnuCut;
    m.mnuCopy = window.mnuCopy;
    m.mnuPaste = window.mnuPaste;
    m.mnuDelete = window.mnuDelete;
    m.mnuSpeed = window.mnuSpeed;
    m.EditSpeed = window.EditSpeed;
    m.mnuMouse = window.mnuMouse;
    m.mnuMouseEdit = window.mnuMouseEdit;
    m.mnuMouseCopy = window.mnuMouseCopy;
    m.mnuMousePaste = window.mnuMousePaste;
    m.mnuMouseDelete = window.mnuMouseDelete;
    m.mnuMouse1 = window.mnuMouse1;
    m.mnuEditTab = window.mnuEditTab;
    m.mnuMoveTab = window.mnuMoveTab;
    m.mnuPasteTab = window.mnuPasteTab;
    m.mnuDeleteTab = window.mnuDeleteTab;
    view->useMenus(m);
    view->setKeysFromWindow(true);

    QObject::connect(view, &DirectoryView::dialingPadToggleRequested, &window,
                     &FrmDialer::toggleDialingPad);
    installDirectory(*view);
    return view;
}

} // namespace telvaro
