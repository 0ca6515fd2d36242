// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/calllog/LogWindows.h"

#include "gui/calllog/FrmLog.h"
#include "gui/calllog/LogPrinting.h"

#include <QWidget>

namespace telvaro::calllog {

LogWindows::LogWindows(const LogServices& services, QWidget* owner)
    : QObject(owner), m_services(services), m_owner(owner)
{
}

CallLogWindow* LogWindows::loaded(LogKind kind) const
{
    CallLogWindow* w =
        kind == LogKind::Incoming ? static_cast<CallLogWindow*>(m_in.data()) : m_out.data();
    return w && !w->isUnloaded() ? w : nullptr;
}

CallLogWindow* LogWindows::load(LogKind kind)
{
    if (CallLogWindow* w = loaded(kind))
        return w;
    CallLogWindow* w = nullptr;
    if (kind == LogKind::Incoming) {
        m_in = new FrmInLog(m_services, m_owner);
        connect(m_in, &FrmInLog::returnCallRequested, this, &LogWindows::returnCallRequested);
        w = m_in;
    } else {
        m_out = new FrmOutLog(m_services, m_owner);
        connect(m_out, &FrmOutLog::memoRequested, this, &LogWindows::memoRequested);
        w = m_out;
    }
    connect(w, &CallLogWindow::helpRequested, this, &LogWindows::helpRequested);
    connect(w, &CallLogWindow::aboutRequested, this, &LogWindows::aboutRequested);
    w->load();
    return w;
}

void LogWindows::show(LogKind kind)
{
    CallLogWindow* w = load(kind);
    w->show();
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->raise();
    w->activateWindow();
}

void LogWindows::print(LogKind kind)
{
    (void)load(kind)->print();
}

bool LogWindows::closeAll()
{
    bool closed = true;
    for (LogKind kind : {LogKind::Incoming, LogKind::Outgoing}) {
        if (CallLogWindow* w = loaded(kind))
            closed = w->close() && closed;
    }
    return closed;
}

} // namespace telvaro::calllog
