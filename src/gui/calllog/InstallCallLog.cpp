#include "gui/calllog/InstallCallLog.h"

#include "core/common/Clock.h"
#include "app/FrmDialer.h"
#include "core/common/Seams.h"
#include "gui/calllog/FrmLog.h"
#include "gui/calllog/LogPrinting.h"
#include "core/calllog/Retention.h"

#include <QAction>
#include <QPointer>

namespace telvaro {
namespace {

using calllog::CallLogWindow;
using calllog::LogKind;

// At most one window of each log; a closed window is made afresh (and reads
// its file again) the next time.
class LogWindows : public QObject
{
public:
    explicit LogWindows(FrmDialer& main) : QObject(&main), m_main(&main) {}

    CallLogWindow* loaded(LogKind kind) const
    {
        CallLogWindow* w =
            kind == LogKind::Incoming ? static_cast<CallLogWindow*>(m_in.data()) : m_out.data();
        return w && !w->isUnloaded() ? w : nullptr;
    }

    CallLogWindow* load(LogKind kind)
    {
        if (CallLogWindow* w = loaded(kind))
            return w;
        CallLogWindow* w = nullptr;
        if (kind == LogKind::Incoming) {
            m_in = new calllog::FrmInLog(m_main);
            w = m_in;
        } else {
            m_out = new calllog::FrmOutLog(m_main);
            w = m_out;
        }
        // Help and the about box are the main window's.
        connect(w, &CallLogWindow::helpRequested, m_main->mnuHelpTopics, &QAction::trigger);
        connect(w, &CallLogWindow::aboutRequested, m_main->mnuHelpAbout, &QAction::trigger);
        w->load();
        return w;
    }

    void show(LogKind kind)
    {
        CallLogWindow* w = load(kind);
        w->show();
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
        w->activateWindow();
    }

    void print(LogKind kind) { load(kind)->print(); }

    bool closeAll()
    {
        bool closed = true;
        for (LogKind kind : {LogKind::Incoming, LogKind::Outgoing}) {
            if (CallLogWindow* w = loaded(kind))
                closed = w->close() && closed;
        }
        return closed;
    }

private:
    QPointer<FrmDialer> m_main;
    QPointer<calllog::FrmInLog> m_in;
    QPointer<calllog::FrmOutLog> m_out;
};

} // namespace

void installCallLog(FrmDialer& window)
{
    auto* windows = new LogWindows(window);
    QObject::connect(window.mnuOutLog, &QAction::triggered, windows,
                     [windows] { windows->show(LogKind::Outgoing); });
    QObject::connect(window.mnuInLog, &QAction::triggered, windows,
                     [windows] { windows->show(LogKind::Incoming); });
    QObject::connect(window.mnuPrintOutLog, &QAction::triggered, windows,
                     [windows] { windows->print(LogKind::Outgoing); });
    QObject::connect(window.mnuPrintInLog, &QAction::triggered, windows,
                     [windows] { windows->print(LogKind::Incoming); });

    Seams& s = seams();
    QPointer<LogWindows> guard(windows);
    s.closeLogWindows = [guard] { return guard ? guard->closeAll() : true; };
    s.trimCallLog = [](const QString& log, const QString& backup, int days, QString* error) {
        return calllog::trimCallLog(log, backup, days, clock().now().date(), error);
    };
}

} // namespace telvaro
