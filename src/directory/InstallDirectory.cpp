#include "directory/InstallDirectory.h"

#include "app/ProgramState.h"
#include "app/Seams.h"
#include "directory/DirectoryView.h"
#include "directory/FrmMemo.h"
#include "directory/FrmSpeedDial.h"

#include <QPointer>

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
    // Qt key code and keyboard modifiers of the key pressed.
    s.directoryKeyDown = [v](int key, int shift) {
        if (v)
            v->keyDown(key, Qt::KeyboardModifiers(shift));
    };
    s.directoryLetterJump = [v](QChar letter) {
        if (v)
            v->letterJump(letter);
    };
    s.openMemo = [v](const QString& entryKey) {
        if (!v)
            return;
        if (!entryKey.isEmpty())
            state().currentEntryKey = entryKey;
        v->openMemo();
    };
}

} // namespace telvaro
