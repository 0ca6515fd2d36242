// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calllog/CallLogFile.h"

#include <QMainWindow>

class QAction;
class QMenu;
class QTableView;

namespace telvaro {
class CurrentProfile;
class Prompter;
} // namespace telvaro

namespace telvaro::calllog {

class CallLogModel;
class PrintDevices;
struct PrintOutcome;

// What a log window is handed: how it asks the user, where it prints, the
// records appended meanwhile.
struct LogServices
{
    Prompter& prompter;
    PrintDevices& printers;
    // The profile loaded now: a window loads the log of this profile.
    const CurrentProfile& profile;
    // The writer of the logs: tells of every record it appends.
    CallLogWriter& logs;
};

// What the two log windows share: a table of the records of one log file,
// sorted by a column click (every click turns the direction over), Delete,
// Undo (reads the file again), Save, Print and Close with its question. A
// window keeps the file it loaded: it saves there and takes the records
// appended there while it is loaded, shown or hidden.
class CallLogWindow : public QMainWindow
{
    Q_OBJECT

public:
    ~CallLogWindow() override;

    // Reads the file of the current profile into the table, sorted by date
    // and time, newest first. Runs once, when the window is made.
    void load();

    CallLogModel& model() const { return *m_model; }
    bool logModified() const { return m_logModified; }
    const QString& loadedPath() const { return m_path; }
    // Closed (its Close steps have run) and about to go.
    bool isUnloaded() const { return m_unloaded; }

    // ---- the window's commands ----
    void columnClick(int column);
    void deleteSelected();
    void undo();
    // Rewrites the loaded file from the table, oldest first. A failure is
    // told to the user; the rows and the unsaved mark stay.
    bool save();
    PrintOutcome print();

protected:
    CallLogWindow(LogKind kind, const LogServices& services, QWidget* parent);

    // The menus, found by their object names (the names below).
    QMenu* mnuFile = nullptr;
    QAction* mnuPrint = nullptr; // "&Print", Ctrl+P
    QAction* mnuSave = nullptr;  // "&Save", Ctrl+S
    QAction* mnuExit = nullptr;  // "E&xit"
    QMenu* mnuEdit = nullptr;
    QAction* mnuUndo = nullptr;   // "&Undo", Ctrl+Z
    QAction* mnuDelete = nullptr; // "&Delete", Del
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpTopics = nullptr;
    QAction* mnuAbout = nullptr;

Q_SIGNALS:
    // The Help menu's items: the program's help, the about box.
    void helpRequested();
    void aboutRequested();

protected:
    // The Edit menu's "&Undo" and "&Delete" items and the Help menu, shared by
    // both windows (mnuEdit made by the window first).
    void addUndoItem();
    void addDeleteItem();
    void addHelpMenu();

    // The rows the commands act on, in table order.
    QList<int> selectedRows() const;
    // Removes the marked rows in one pass and marks the log as changed.
    void removeRows(const std::vector<bool>& doomed);
    virtual void updateRowCommands();
    virtual void rowClicked(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                            const QPoint& globalPos) = 0;
    virtual void rightPressed(const QPoint& globalPos) { (void)globalPos; }

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    LogKind m_kind;
    LogServices m_services;
    CallLogModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    bool m_logModified = false;

private:
    void sortTable(int column, bool ascending);
    // Fills the table from the loaded file, newest first; a file that exists
    // but cannot be read is told to the user.
    void readFile();
    bool fileUnreadable() const;
    void recordAppended(const QString& path, LogKind kind, const CallLogRow& row);

    QString m_path;
    // The window read every call of the file when it loaded it (or last
    // undid); a window that did not may not save over the file.
    bool m_holdsFile = true;
    bool m_ascending = true;
    int m_sortColumn = -1; // -1: unsorted since the last deletion
    bool m_unloaded = false;
};

// "Incoming Calls Log": the calls received, with "Return a Call".
class FrmInLog final : public CallLogWindow
{
    Q_OBJECT

public:
    explicit FrmInLog(const LogServices& services, QWidget* parent = nullptr);

    // Calls the number of the selected row back.
    void returnCall();

Q_SIGNALS:
    // Return a Call: the caller's number and name as the record gives them
    // (no directory entry is dialed).
    void returnCallRequested(const QString& number, const QString& name);

private:
    QMenu* mnuMouse = nullptr; // pop-up: "Return a Call", "Cancel"
    QAction* mnuReturnCall = nullptr;
    QMenu* mnuMouseRight = nullptr; // pop-up: "Delete", "Cancel"
    QAction* mnuRightDelete = nullptr;

    void rowClicked(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                    const QPoint& globalPos) override;
};

// "Outgoing Calls Log": the calls made, with Cut and the memo pad of the
// entry dialed.
class FrmOutLog final : public CallLogWindow
{
    Q_OBJECT

public:
    explicit FrmOutLog(const LogServices& services, QWidget* parent = nullptr);

    // Removes the selected rows and puts them on the clipboard.
    void cut();
    void copy();
    // Opens the memo pad of the selected row's entry.
    void memoLog();

Q_SIGNALS:
    // MemoLog: the memo pad of the directory entry `entryKey`.
    void memoRequested(const QString& entryKey);

private:
    QAction* mnuMemoLog = nullptr; // "&MemoLog"
    QAction* mnuCut = nullptr;     // "Cu&t", Ctrl+X
    QAction* mnuCopy = nullptr;    // "&Copy", Ctrl+C

    QString clipboardText(const QList<int>& rows) const;
    void updateRowCommands() override;
    void rowClicked(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                    const QPoint& globalPos) override;
    void rightPressed(const QPoint& globalPos) override;
};

// True for the key of a real directory slot (tab 1-26, slot 1-996).
bool isSlotKey(const QString& key);

} // namespace telvaro::calllog
