// SPDX-License-Identifier: GPL-3.0-or-later
// Tab management and alphabetical arrangement of the directory view: the tab
// strip's menu, tab titles, deleting and moving subject tabs, sorting the
// tabs and the groups under subtitle buttons, and undoing a sort.
#include "core/common/Prompter.h"
#include "core/directory/DirectoryArrange.h"
#include "core/directory/DirectoryRules.h"
#include "core/directory/DirectoryStore.h"
#include "gui/directory/DirectoryView.h"
#include "gui/directory/FrmMemo.h"
#include "settings/IniFile.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

namespace telvaro {

using namespace directory;

namespace {

const char* const kSortTitle = QT_TRANSLATE_NOOP("telvaro::DirectoryView", "Alphabetical order");

// A title in a menu caption, "&" shown as typed.
QString quotedInMenu(const QString& s)
{
    return quoted(literalCaption(s));
}

// The hourglass while long work runs (synchronous work: the cursor is set
// and restored around it, nothing else needs to run meanwhile).
class Hourglass
{
public:
    Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

// The settings file as it is now (what a sort would be undone to).
QByteArray settingsNow(DirectoryStore& store)
{
    store.readTabTitle(1); // takes in a change made on the disk since the last read
    return store.file().serialize();
}

} // namespace

void DirectoryView::followMovedLogs(const KeyMoves& moves, bool subjectMode)
{
    if (m_memo && m_memo->isVisible() && m_memo->subjectMode() == subjectMode) {
        const auto to = moves.constFind(m_memo->entryKey());
        if (to != moves.constEnd())
            m_memo->followEntry(*to);
    }
}

// ---- tab management -----------------------------------------------------------

void DirectoryView::showTabMenu(const QPoint& globalPos)
{
    if (!m_subjectMode)
        return;
    const Menus& m = m_menus;
    const QString title = tabCaption(selectedTab());
    if (title.isEmpty()) {
        m.mnuEditTab->setText(tr("Name this Tab"));
        m.mnuEditTab->setEnabled(true);
        m.mnuDeleteTab->setText(tr("Delete Tab:"));
        m.mnuDeleteTab->setEnabled(false);
        m.mnuMoveTab->setText(tr("Move Tab:"));
        m.mnuMoveTab->setEnabled(false);
        if (m_moveSource != 0) {
            m.mnuPasteTab->setVisible(true);
            m.mnuPasteTab->setEnabled(true);
            //: Tab pop-up menu; %1 is the title of the tab being moved, in quotes
            m.mnuPasteTab->setText(
                tr("Paste Tab:  %1").arg(quotedInMenu(tabCaption(m_moveSource))));
        } else {
            m.mnuPasteTab->setEnabled(false);
        }
    } else {
        for (QAction* a : {m.mnuEditTab, m.mnuMoveTab, m.mnuDeleteTab}) {
            a->setVisible(true);
            a->setEnabled(true);
        }
        //: Tab pop-up menu; %1 is the tab's title in quotes
        m.mnuEditTab->setText(tr("Edit Tab:  %1").arg(quotedInMenu(title)));
        //: Tab pop-up menu; %1 is the tab's title in quotes
        m.mnuMoveTab->setText(tr("Move Tab:  %1").arg(quotedInMenu(title)));
        //: Tab pop-up menu; %1 is the tab's title in quotes
        m.mnuDeleteTab->setText(tr("Delete Tab:  %1").arg(quotedInMenu(title)));
        m.mnuPasteTab->setEnabled(false);
    }
    m.mnuMouse1->exec(globalPos);
    popupMark = true;
}

void DirectoryView::titlePrompt(int tab)
{
    if (tab < 1 || tab > kTabCount || !m_subjectMode)
        return;
    // A pending move goes into this tab first, but only into an untitled tab
    // other than its source: a titled tab is being renamed, not filled.
    if (m_moveSource != 0 && m_moveSource != tab && tabCaption(tab).isEmpty() &&
        tab == selectedTab())
        pasteTab();
    InputRequest request;
    request.prompt = tr("Please enter Tab title");
    request.title = tr("Edit Tab");
    request.defaultText = m_tabTitles[tab - 1];
    const std::optional<QString> answer = m_prompter.input(window(), request);
    // The file keeps no blanks around a value: a title of blanks is no title.
    const QString title = answer ? answer->trimmed() : QString();
    if (title.isEmpty())
        return;
    if (checkStored(m_store.writeTabTitle(tab, title)))
        refreshTabCaption(tab, title);
}

void DirectoryView::startTabMove()
{
    const int d = selectedTab();
    if (!m_subjectMode || tabCaption(d).isEmpty())
        return;
    m_moveSource = d;
    m_menus.mnuPasteTab->setEnabled(true);
    popupMark = true;
}

void DirectoryView::endTabMove()
{
    m_moveSource = 0;
    popupMark = false;
    m_menus.mnuPasteTab->setText(QString());
    m_menus.mnuPasteTab->setVisible(true);
    m_menus.mnuPasteTab->setEnabled(false);
}

void DirectoryView::pasteTab()
{
    const int d = selectedTab();
    const int m = m_moveSource;
    if (m == 0 || m == d || !m_subjectMode || !tabCaption(d).isEmpty())
        return;
    const QString title = tabCaption(m);
    const MsgResult answer =
        showMessage(m_prompter, window(),
                    //: %1 is the tab's title in quotes
                    tr("Move Tab:  %1into this location?").arg(quoted(title)),
                    //: %1 is the tab's title in quotes
                    tr("Moving Tab:  %1").arg(quoted(title)), MsgButtons::YesNo, MsgIcon::Question);
    if (answer != MsgResult::Yes) {
        endTabMove();
        return;
    }
    // A move that could not be stored changes nothing and stays pending.
    KeyMoves moves;
    if (!checkStored(moveTab(m_store, m, d, &moves)))
        return;
    followMovedLogs(moves, true);
    DirectoryStore& store = m_store;
    fillButtons(false);
    refreshTabCaption(d, store.readTabTitle(d));
    refreshTabCaption(m, QString());
    endTabMove();
}

void DirectoryView::deleteTab()
{
    const int d = selectedTab();
    const QString title = tabCaption(d);
    if (!m_subjectMode || title.isEmpty())
        return;
    const MsgResult answer = showMessage(
        m_prompter, window(),
        tr("WARNING!\nDeleting the Tab will erase data from the Speed Dials within it!"),
        //: %1 is the tab's title in quotes
        tr("Delete Tab  %1.").arg(quoted(title)), MsgButtons::OkCancel, MsgIcon::Warning, 2);
    if (answer != MsgResult::Ok)
        return;
    if (!checkStored(directory::deleteTab(m_store, d)))
        return;
    for (int b = 1; b <= 12; ++b) {
        setCaption(b, QString());
        setTag(b, QString());
    }
    refreshTabCaption(d, QString());
    if (m_moveSource == d)
        endTabMove();
}

// ---- alphabetical arrangement ---------------------------------------------------

void DirectoryView::armUndo(const QByteArray& settingsBefore, const KeyMoves& moves,
                            bool subjectMode)
{
    // A sort after a sort (nothing changed between them, or the undo would
    // have been disarmed) keeps the first snapshot: the undo goes back to
    // before both. The moves add up: each log goes back to where it was
    // before the first sort.
    if (m_undoSnapshot.isEmpty()) {
        m_undoSnapshot = settingsBefore;
        for (QHash<QString, QString>& back : m_undoMoves)
            back.clear();
    }
    QHash<QString, QString>& back = m_undoMoves[subjectMode ? 1 : 0];
    QHash<QString, QString> total;
    for (auto it = back.constBegin(); it != back.constEnd(); ++it) {
        if (!moves.contains(it.key()))
            total.insert(it.key(), it.value());
    }
    for (auto it = moves.constBegin(); it != moves.constEnd(); ++it) {
        const QString origin = back.value(it.key(), it.key());
        if (origin != it.value())
            total.insert(it.value(), origin);
    }
    back = total;
    m_menus.mnuCut->setText(tr("&Undo Sorting"));
    m_menus.mnuCut->setEnabled(true);
}

void DirectoryView::disarmUndo()
{
    m_undoSnapshot.clear();
    for (QHash<QString, QString>& back : m_undoMoves)
        back.clear();
    m_menus.mnuCut->setText(tr("Cu&t"));
    m_menus.mnuCut->setEnabled(false);
}

void DirectoryView::arrangeTabs()
{
    const MsgResult answer =
        showMessage(m_prompter, window(),
                    tr("Do you want to alphabetically sort the Subject Tabs?\nIt will "
                       "take about 2-5 minutes depending on your hardware."),
                    tr(kSortTitle), MsgButtons::YesNo, MsgIcon::Question);
    if (answer == MsgResult::Yes) {
        DirectoryStore& store = m_store;
        const QByteArray before = settingsNow(store);
        bool ok = false;
        KeyMoves moves;
        {
            const Hourglass hourglass;
            m_sortingTabs = true;
            m_arranging = true;
            ok = sortTabs(store, &moves);
            m_arranging = false;
            m_sortingTabs = false;
        }
        if (checkStored(ok)) {
            followMovedLogs(moves, true);
            armUndo(before, moves, true);
            endTabMove();
        }
    }
    showSubjectTabs();
}

void DirectoryView::sortSubtitleGroup()
{
    const QString key = m_currentEntryKey;
    const int slot = slotOfKey(key);
    const int tab = tabOfKey(key);
    if (slot < 1 || tab < 1)
        return;
    const MsgResult answer = showMessage(
        m_prompter, window(),
        //: %1 is the caption of the subtitle button (it starts with "*")
        tr("Do you want to alphabetically sort the Speed Dial buttons\nbelonging to the %1 "
           "subtitle?")
            .arg(caption(1)),
        tr(kSortTitle), MsgButtons::YesNo, MsgIcon::Question);
    if (answer != MsgResult::Yes)
        return;
    DirectoryStore& store = m_store;
    const QByteArray before = settingsNow(store);
    bool ok = false;
    KeyMoves moves;
    {
        const Hourglass hourglass;
        m_arranging = true;
        ok = directory::sortSubtitleGroup(store, m_subjectMode, tab, slot, &moves);
        m_arranging = false;
    }
    if (!checkStored(ok))
        return;
    followMovedLogs(moves, m_subjectMode);
    armUndo(before, moves, m_subjectMode);
    m_currentEntryKey = QString();
}

void DirectoryView::undoSorting()
{
    if (m_undoSnapshot.isEmpty())
        return;
    bool ok = false;
    {
        const Hourglass hourglass;
        m_arranging = true;
        ok = restoreDirectory(m_store, m_undoSnapshot);
        m_arranging = false;
    }
    // An undo that could not be stored stays armed, to be tried again.
    if (!checkStored(ok))
        return;
    followMovedLogs(m_undoMoves[0], false);
    followMovedLogs(m_undoMoves[1], true);
    disarmUndo();
    endTabMove();
    // The directory comes back on the subject tabs.
    showSubjectTabs();
}

} // namespace telvaro
