#include "core/telephony/LineSession.h"

#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "core/telephony/Call.h"
#include "core/telephony/CallControl.h"
#include "core/telephony/IncomingCalls.h"
#include "core/telephony/lineapi/UucpLock.h"
#include "settings/AtomicFile.h"
#include "settings/OptionsStore.h"
#include "settings/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <limits>
#include <sys/types.h>

namespace telvaro {
namespace {

TelephonySession g_session;

std::optional<SessionRecord> readRecord()
{
    QFile f(sessionRecordFile());
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseSessionRecord(f.read(4096));
}

} // namespace

TelephonySession& telephony()
{
    return g_session;
}

void resetTelephonySession()
{
    g_session = TelephonySession{};
    outgoingCall().reset();
    resetIncomingCalls();
    resetCallControl();
}

QByteArray sessionRecordBytes(const SessionRecord& record)
{
    return "hTapi=" + QByteArray::number(record.lineApp) +
           "\npid=" + QByteArray::number(record.pid) + '\n';
}

SessionRecord parseSessionRecord(QByteArrayView bytes)
{
    SessionRecord r;
    for (const QByteArray& raw : bytes.toByteArray().split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        bool ok = false;
        if (key == "hTapi") {
            const uint lineApp = value.toUInt(&ok);
            r.lineApp = ok ? lineApp : 0;
        } else if (key == "pid") {
            // A process id must fit pid_t, or it would stand for another one.
            const qint64 pid = value.toLongLong(&ok);
            r.pid = ok && pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? pid : 0;
        }
    }
    return r;
}

QString sessionRecordFile()
{
    return paths::runtimeDir() + QStringLiteral("/telephony.session");
}

void InitializeTelephony()
{
    TelephonySession& t = telephony();
    t.lastResult = lineInitialize(&t.lineApp, LineCallback, kTelephonyAppName, &t.lineDeviceCount);
    const QByteArray record = sessionRecordBytes({t.lineApp, QCoreApplication::applicationPid()});
    // A record that cannot be written only costs the clean-up after a crash.
    (void)writeFileAtomically(sessionRecordFile(), record);
}

LineDevCaps QueryLineDevice(quint32 device)
{
    TelephonySession& t = telephony();
    quint32 version = 0;
    LINEEXTENSIONID ext;
    t.lastResult =
        lineNegotiateAPIVersion(t.lineApp, device, kApiLowVersion, kApiHighVersion, &version, &ext);
    if (t.lastResult < 0)
        return LineDevCaps{};
    t.lineApiVersion = version;
    LineDevCaps caps;
    t.lastResult = lineGetDevCaps(t.lineApp, device, t.lineApiVersion, 0, &caps);
    if (t.lastResult != 0)
        return LineDevCaps{};
    return caps;
}

std::optional<QStringList> lineDeviceNames()
{
    const quint32 count = telephony().lineDeviceCount;
    if (count == 0)
        return std::nullopt;
    QStringList names;
    for (quint32 id = 0; id < count; ++id) {
        const LineDevCaps caps = QueryLineDevice(id);
        names << (caps.usedSize != 0 ? caps.lineName : QStringLiteral("Not Available"));
    }
    return names;
}

void FillLineDeviceList(const std::function<void()>& clear,
                        const std::function<void(const QString&)>& addItem)
{
    const std::optional<QStringList> names = lineDeviceNames();
    if (!names)
        return;
    if (clear)
        clear();
    for (int i = 0; i < names->size(); ++i) {
        if (addItem)
            addItem(names->at(i));
        if (i == 0)
            options().setText(OptionsStore::cmbLineDevices, names->at(0));
    }
}

bool OpenLine(quint32 privileges, quint32 mediaModes)
{
    TelephonySession& t = telephony();
    const quint32 device = quint32(std::max(0, options().selectedLineDevice()));
    t.lastResult = lineOpen(t.lineApp, device, &t.lineHandle, t.lineApiVersion, 0, 0, privileges,
                            mediaModes, nullptr);
    if (t.lastResult != 0) {
        const quint32 media = options().isSelected(OptionsStore::optMode1)
                                  ? LINEMEDIAMODE_DATAMODEM
                                  : LINEMEDIAMODE_INTERACTIVEVOICE;
        t.lastResult =
            lineOpen(t.lineApp, device, &t.lineHandle, t.lineApiVersion, 0, 0,
                     LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR, media, nullptr);
        if (t.lastResult != 0) {
            outgoingCall().setError(CallOutcome::LineOpenFailed);
            ReportCallError();
            return false;
        }
        privileges = LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR;
    }
    t.lineIsOpen = true;
    t.lineReceiving = privileges == (LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR);
    // The tray shows "PhoneOn" and "Telvaro-ready to receive" while calls
    // are received.
    if (privileges == (LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR))
        callSeam(seams().trayModify);
    return true;
}

void CloseLine()
{
    TelephonySession& t = telephony();
    // The calls offered on the line end with it: each keeps its record.
    FlushIncomingRecords();
    if (t.lineHandle != 0)
        t.lastResult = lineClose(t.lineHandle);
    if (t.lastResult != 0)
        return;
    t.lineIsOpen = false;
    t.lineReceiving = false;
    callSeam(seams().trayModify); // the main window's icon, "Telvaro-disabled call receiving"
}

void ShutdownTelephony()
{
    TelephonySession& t = telephony();
    FlushIncomingRecords();
    const LineResult result = lineShutdown(t.lineApp);
    // Whatever the answer, no line, call or request of this session can be
    // used any more: the next dial opens the line of the next session.
    t = TelephonySession{};
    t.lastResult = result;
    if (result != 0)
        return;
    QFile::remove(sessionRecordFile());
}

void CleanUpStaleSession()
{
    const std::optional<SessionRecord> record = readRecord();
    if (!record)
        return;
    const qint64 me = QCoreApplication::applicationPid();
    if (record->pid == me || record->pid == 0) {
        // This process's own session (the start-up runs again after New or
        // Open Profile): shut it down.
        telephony().lineApp = record->lineApp;
        ShutdownTelephony();
        if (record->pid == 0)
            QFile::remove(sessionRecordFile());
        return;
    }
    if (UucpLock::processAlive(record->pid))
        return; // another running Telvaro's session
    // The run that wrote the record was killed: its port locks stay behind
    // and would keep the modem from opening.
    QDir lockDir(UucpLock::lockDir());
    const QStringList locks = lockDir.entryList({QStringLiteral("LCK..*")}, QDir::Files);
    for (const QString& name : locks) {
        const QString file = lockDir.filePath(name);
        if (UucpLock::ownerOf(file) == record->pid)
            QFile::remove(file);
    }
    QFile::remove(sessionRecordFile());
}

} // namespace telvaro
