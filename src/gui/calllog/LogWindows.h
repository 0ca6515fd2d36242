// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calllog/CallLogFile.h"
#include "gui/calllog/FrmLog.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace telvaro::calllog {

// The two log windows of the main window ("&Outgoing Calls Log", "I&ncoming
// Calls Log" and their print items): at most one window of each log; a
// closed window is made afresh (and reads its file again) the next time.
// The windows' requests to dial and to open a memo pad leave through this
// object's signals.
class LogWindows : public QObject
{
    Q_OBJECT

public:
    // The windows are made as windows of their own over `owner`; they ask
    // and print through `services`.
    LogWindows(const LogServices& services, QWidget* owner);

    // The window of `kind` while it is loaded, else nullptr.
    CallLogWindow* loaded(LogKind kind) const;

public Q_SLOTS:
    void show(telvaro::calllog::LogKind kind);
    void print(telvaro::calllog::LogKind kind);
    // Closes both windows through their own Close steps (a window with
    // unsaved changes asks "Save the changes?", Yes or No); false when a
    // window stays open because its changes could not be saved.
    bool closeAll();

Q_SIGNALS:
    // Return a Call of the incoming log.
    void returnCallRequested(const QString& number, const QString& name);
    // MemoLog of the outgoing log.
    void memoRequested(const QString& entryKey);
    // The Help menu of either window: the program's help, the about box.
    void helpRequested();
    void aboutRequested();

private:
    CallLogWindow* load(LogKind kind);

    LogServices m_services;
    QPointer<QWidget> m_owner;
    QPointer<FrmInLog> m_in;
    QPointer<FrmOutLog> m_out;
};

} // namespace telvaro::calllog
