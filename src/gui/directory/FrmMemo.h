// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace telvaro {

class DirectoryStore;
class Prompter;

// The memo pad of one directory entry: the entry's note log
// and a box for a new note stamped with date and time. OK stores the log;
// closing with the window frame stores nothing. It deletes itself when
// closed.
class FrmMemo : public QWidget
{
    Q_OBJECT

public:
    FrmMemo(DirectoryStore& store, Prompter& prompter, const QString& entryKey, bool subjectMode,
            QWidget* parent = nullptr);

    // Fills the pad for the entry and shows it without blocking, captioned
    // `caption` (the entry's button caption).
    void showPad(const QString& caption);

    void addToLog();
    void editLog();
    // Stores the log and closes; false when the log is refused (too long) or
    // could not be stored.
    bool ok();

    // The log's length as it is counted for storing (line breaks as CR LF).
    int logLength() const;

    // The entry whose log the pad shows, and its directory.
    QString entryKey() const { return m_key; }
    bool subjectMode() const { return m_subjectMode; }
    // The entry's log has moved to `key` (its tab was moved or sorted): OK
    // stores it there (the entry, and so the caption, stays the same).
    void followEntry(const QString& key);

Q_SIGNALS:
    // The pad showed (true) or closed (false).
    void openChanged(bool open);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls, found by their object names (the names below).
    QLabel* LblLog = nullptr;
    QPlainTextEdit* TxtLog = nullptr;
    QLabel* LblMemo = nullptr;
    QPlainTextEdit* TxtMemo = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdEdit = nullptr;

    DirectoryStore& m_store;
    Prompter& m_prompter;
    QString m_key;
    bool m_subjectMode = false;
};

} // namespace telvaro
