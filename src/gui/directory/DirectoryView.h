// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QTabBar>
#include <QWidget>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace telvaro {

class DirectoryStore;
class Prompter;
struct DialRequest;
class FrmMemo;
class FrmSpeedDial;

// The tab strip of the directory: one row of tabs of a fixed width (the tab
// scroll bar steps through those that do not fit). Tabs that fit their
// titles grow to the width their title needs in the strip's font, up to the
// whole strip; only a title longer than that is elided.
class DirectoryTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit DirectoryTabBar(QWidget* parent = nullptr);
    void setFixedTabWidth(int pixels);
    int fixedTabWidth() const { return m_width; }
    void setFitTitles(bool on);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    int m_width = 18;
    bool m_fitTitles = false;
};

// The directory area of the main window: 26 tabs over twelve speed-dial
// buttons of a page, in index mode (tabs A-Z) or subject mode (tabs with the
// user's titles), with the button menu, the copy buffer and the entry editor.
// The twelve buttons are the only copy of entries in memory: caption = name,
// tag = number value of the slots of the page shown.
//
// The view owns its menus: the Edit menu (mnuEdit: Cut/Copy/Paste/Delete on
// the dialing pad's number box, and "&Edit Button:" with EditSpeed1-12), the
// tab items of the View menu (mnuIndex, mnuSubject, mnuArrange) and the
// pop-up menus of a button (mnuMouse) and of a tab (mnuMouse1). The main
// window places the first two in its menu bar (editMenu(), viewMenuItems());
// the view alone sets their captions, checks and enabled states.
class DirectoryView : public QWidget
{
    Q_OBJECT

public:
    // Shows and changes the directory of `store`.
    DirectoryView(DirectoryStore& store, Prompter& prompter, QWidget* parent = nullptr);
    ~DirectoryView() override;

    // The menus the main window places in its menu bar: the Edit menu, and
    // the items at the top of the View menu (index and subject tabs, arrange).
    QMenu* editMenu() const { return m_menus.mnuEdit; }
    QList<QAction*> viewMenuItems() const;
    // The main window hands every key to keyDown() and letterJump() before
    // the focused control sees it; the tab strip then only swallows them.
    void setKeysFromWindow(bool on) { m_keysFromWindow = on; }
    // Room kept free at the left of the bottom row (the main window's own
    // button sits there).
    void setBottomLeftInset(int pixels);
    DirectoryStore& store() const { return m_store; }
    // Who the view, its editor and its memo pad ask their questions through.
    Prompter& prompter() const { return m_prompter; }

    // What the page shows. Buttons are counted 1-12, tabs 1-26, pages 0-82.
    int selectedTab() const;
    int page() const;
    QString caption(int button) const;
    // The whole name of the entry of button b: the stored name when the
    // caption shows it (cut or whole), else the caption.
    QString entryName(int button) const;
    QString tag(int button) const;
    void setCaption(int button, const QString& text);
    void setButtonsEnabled(bool on);
    void setTag(int button, const QString& value);
    QString labelCaption(int button) const;
    QString tabCaption(int tab) const;
    QString pageText() const;
    // The button showing `entryKey` on the page (1-12), 0 when none does.
    int buttonOfKey(const QString& entryKey) const;
    // The key of button b of the page shown.
    QString keyOfButton(int button) const;

    // Showing.
    void showPage();
    void selectTab(int tab);
    void showIndexTabs();   // mnuIndex_Click
    void showSubjectTabs(); // mnuSubject_Click
    // The tab mode the settings file gives at start-up: the switch asks for
    // no tab title.
    void showStartupTabs(bool subject);
    bool subjectMode() const { return m_subjectMode; }
    // The entry under work (the last button clicked or edited); "0" for none.
    const QString& currentEntryKey() const { return m_currentEntryKey; }
    void setCurrentEntryKey(const QString& key) { m_currentEntryKey = key; }
    // The key map; true when the key was taken.
    bool keyDown(int key, Qt::KeyboardModifiers modifiers);
    void letterJump(QChar c);

    // Buttons and the button menu.
    void clickButton(int button);
    void rightClickButton(int button, const QPoint& globalPos);
    void copyEntry();
    void pasteEntry();
    void deleteEntry();
    void editEntry(); // the menu's Edit item: the editor for the entry under work
    void editSpeed(int button);
    bool copyPending() const;

    // The entry editor (open while not null) and the memo pad.
    FrmSpeedDial* editor() const;
    void openEditor();
    // Closes an open entry editor; nothing is stored.
    void closeEditor();
    FrmMemo* memoPad() const;
    // A memo pad shows.
    bool memoShown() const;
    // Closes an open memo pad as its window frame does: the note being
    // written is not stored.
    void closeMemo();
    // Puts the focus on the tab strip when it can be seen (false: it cannot).
    bool focusTabs();
    // The memo pad of `entryKey` (an empty key: the entry under work); an
    // open pad is brought to the front.
    void openMemo(const QString& entryKey = QString());

    // The main Edit menu on the dialing pad's number box. Before it works on
    // the box, the view asks for the box's selection (padSelectionWanted);
    // whoever connects it answers through setPadSelection().
    void updateEditMenu();
    void setPadSelection(const QString& selected) { m_padSelection = selected; }
    void editCut();
    void editCopy();
    void editPaste();
    void editDelete();

    // Tab management (subject tabs; each acts on the selected tab).
    void showTabMenu(const QPoint& globalPos); // right button released over the strip
    void titlePrompt(int tab);
    void startTabMove();
    void pasteTab();
    void deleteTab();
    // The tab of the pending move, 0 when none. A move lives in this view
    // only: a reloaded main window starts without one.
    int moveSourceTab() const { return m_moveSource; }
    void endTabMove();

    // Alphabetical arrangement. A sort arms the Cut item as "&Undo Sorting",
    // which puts the directory back as it was just before that sort.
    void arrangeTabs();       // mnuArrange
    void sortSubtitleGroup(); // button 1 of a page, caption starting with "*"
    void undoSorting();
    bool sortingTabs() const { return m_sortingTabs; }
    // A sort can be undone (the Cut item shows "&Undo Sorting").
    bool undoArmed() const { return !m_undoSnapshot.isEmpty(); }

    // Puts a number into the dialing pad's number box (padNumberWanted).
    void setDialPadNumber(const QString& number);

    // Starts the program of a command entry (the value without its quote).
    // A program that cannot start is reported to the user.
    bool startCommand(const QString& commandLine);

    // Title prompt suppression marks.
    bool scrollMark = false;
    bool popupMark = false; // also set by the tab menu and a tab move
    bool modeSwitchMark = false;

    // Beeps at the ends of the ranges (counted for tests).
    int beepCount = 0;

    // Reports a failed write to the settings file; true when the write was good.
    bool checkStored(bool ok);

Q_SIGNALS:
    // A button (or the entry editor's Save and Dial) asks for a dial.
    void dialRequested(const DialRequest& request);
    // The memo pad showed (true) or closed (false).
    void memoOpenChanged(bool open);
    // A number goes into the dialing pad's number box.
    void padNumberWanted(const QString& number);
    // The Edit menu needs the selected part of the pad's number box now: the
    // answer comes back through setPadSelection() before the emit returns.
    void padSelectionWanted();
    // Cut and Delete of the Edit menu: the selected part of the pad's number
    // box goes (nothing when nothing is selected).
    void padSelectionDeleteRequested();
    // Alt+E / Alt+H: the dialing pad is shown or hidden.
    void dialingPadToggleRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Controls, found by their object names: TabS, hsbTabs, hsbPage, CmdS1 to
    // CmdS12, lblNo1 to lblNo12, fralblNo, LblRight, lblRight1, fraRight,
    // cmdIndex, cmdSubject.
    DirectoryTabBar* TabS = nullptr;
    QScrollBar* hsbTabs = nullptr;
    QScrollBar* hsbPage = nullptr;
    std::array<QPushButton*, 12> CmdS{}; // CmdS(1) is CmdS[0]
    std::array<QLabel*, 12> lblNo{};
    QFrame* fralblNo = nullptr;
    QLabel* LblRight = nullptr;
    QLabel* lblRight1 = nullptr;
    QFrame* fraRight = nullptr;
    QPushButton* cmdIndex = nullptr;
    QPushButton* cmdSubject = nullptr;

    // The menus, found by their object names (the member names).
    struct Menus
    {
        QMenu* mnuEdit = nullptr;
        QAction* mnuCut = nullptr;
        QAction* mnuCopy = nullptr;
        QAction* mnuPaste = nullptr;
        QAction* mnuDelete = nullptr;
        QMenu* mnuSpeed = nullptr;
        std::array<QAction*, 12> EditSpeed{}; // EditSpeed(1) is EditSpeed[0]
        QAction* mnuIndex = nullptr;
        QAction* mnuSubject = nullptr;
        QAction* mnuArrange = nullptr;
        QMenu* mnuMouse = nullptr; // a button's menu
        QAction* mnuMouseEdit = nullptr;
        QAction* mnuMouseCopy = nullptr;
        QAction* mnuMousePaste = nullptr;
        QAction* mnuMouseDelete = nullptr;
        QMenu* mnuMouse1 = nullptr; // the tab strip's menu
        QAction* mnuEditTab = nullptr;
        QAction* mnuMoveTab = nullptr;
        QAction* mnuPasteTab = nullptr;
        QAction* mnuDeleteTab = nullptr;
    };

    void buildControls();
    void buildMenus();
    void connectMenus();
    void layoutControls();
    void placeNumberLabels();
    int labelColumnWidth() const;
    void beep();
    void fillButtons(bool cutCaptions);
    void armUndo(const QByteArray& settingsBefore, const QHash<QString, QString>& moves,
                 bool subjectMode);
    // The Cut item back from "&Undo Sorting": nothing left to undo.
    void disarmUndo();
    // An open memo pad follows its entry's log to its new place.
    void followMovedLogs(const QHash<QString, QString>& moves, bool subjectMode);
    void onPageValueChanged(int value);
    void onTabsValueChanged(int value);
    void onTabChanged(int index);
    void setPasteIdle();
    void refreshTabCaption(int tab, const QString& title);
    bool tabNamed() const;
    void refuseUnnamedTab();

    DirectoryStore& m_store;
    Prompter& m_prompter;
    Menus m_menus;
    QString m_padSelection; // the pad's selection, as last told
    bool m_subjectMode = false;
    QString m_currentEntryKey = QStringLiteral("0");
    bool m_startupSwitch = false; // the start-up's mode switch runs
    std::array<QString, 12> m_captions;
    std::array<QString, 12> m_tags;
    std::array<QString, 12> m_labels;
    std::array<QString, 26> m_tabTitles;
    QString m_copyName;
    QString m_copyNumber;
    QString m_copyLog;
    bool m_copyPending = false; // copied, not yet pasted (the Paste item names the copy)
    QPointer<FrmSpeedDial> m_editor;
    QPointer<FrmMemo> m_memo;
    int m_moveSource = 0; // MoveSourceTab
    // The settings file before the first sort since the undo was armed; the
    // first change of the directory after a sort disarms it.
    QByteArray m_undoSnapshot;
    // Where the undo takes the logs the sorts moved: index mode [0], subject
    // mode [1].
    std::array<QHash<QString, QString>, 2> m_undoMoves;
    bool m_arranging = false;     // a sort or its undo writes the directory
    bool m_programSelect = false; // selectTab() runs: no title prompt
    bool m_sortingTabs = false;
    bool m_pressOnCurrentTab = false;
    bool m_keysFromWindow = false;
    int m_bottomLeftInset = 0;
    int m_rowHeight = 20;
    int m_labelTop = 0;
};

} // namespace telvaro
