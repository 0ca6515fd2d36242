// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/LineService.h"

#include "core/calllog/CallLogFile.h"
#include "core/common/Clock.h"
#include "core/common/CurrentProfile.h"
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

std::optional<SessionRecord> readRecord()
{
    QFile f(sessionRecordFile());
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseSessionRecord(f.read(4096));
}

bool callerKnown(const LineCallInfo& info)
{
    constexpr quint32 known = LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME |
                              LINECALLPARTYID_BLOCKED | LINECALLPARTYID_OUTOFAREA;
    return (info.callerIDFlags & known) != 0 || !info.callerID.isEmpty() ||
           !info.callerIDName.isEmpty();
}

} // namespace

LineService::LineService(LineProviderSource* providers, BlockCodeSource* blockCodes,
                         const CurrentProfile* profile, calllog::CallLogWriter* logs,
                         QObject* parent)
    : QObject(parent), m_providers(providers), m_blockCodes(blockCodes), m_profile(profile),
      m_ownLogs(logs ? nullptr : std::make_unique<calllog::CallLogWriter>()),
      m_logs(logs ? logs : m_ownLogs.get())
{
    connect(&m_requestMoment, &ClockWait::finished, this, [this] {
        const QString piece = std::exchange(m_momentPiece, QString());
        if (m_call.stopRequested) {
            // Hung up before the call was placed: it never is, and waiting
            // requests go on.
            m_call.requestInProgress = false;
            Q_EMIT requestsMayProceed();
            return;
        }
        placeCall(piece);
    });
}

LineService::~LineService()
{
    // Calls still offered keep their records.
    flushIncomingRecords();
    // Events the line layer still holds must not reach a service that is gone.
    if (m_session.lineApp != 0)
        (void)lineShutdown(m_session.lineApp);
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

void LineService::initialize()
{
    TelephonySession& t = m_session;
    t.lastResult = lineInitialize(
        &t.lineApp,
        [this](quint32 device, quint32 msg, quintptr, quintptr p1, quintptr p2, quintptr) {
            lineEvent(device, msg, p1, p2);
        },
        kTelephonyAppName, &t.lineDeviceCount, m_providers);
    const QByteArray record = sessionRecordBytes({t.lineApp, QCoreApplication::applicationPid()});
    // A record that cannot be written only costs the clean-up after a crash.
    (void)writeFileAtomically(sessionRecordFile(), record);
}

LineDevCaps LineService::queryDevice(int device)
{
    TelephonySession& t = m_session;
    quint32 version = 0;
    LINEEXTENSIONID ext;
    t.lastResult = lineNegotiateAPIVersion(t.lineApp, quint32(std::max(0, device)), kApiLowVersion,
                                           kApiHighVersion, &version, &ext);
    if (t.lastResult < 0)
        return LineDevCaps{};
    t.lineApiVersion = version;
    LineDevCaps caps;
    t.lastResult =
        lineGetDevCaps(t.lineApp, quint32(std::max(0, device)), t.lineApiVersion, 0, &caps);
    if (t.lastResult != 0)
        return LineDevCaps{};
    return caps;
}

std::optional<QStringList> LineService::deviceNames()
{
    const quint32 count = m_session.lineDeviceCount;
    if (count == 0)
        return std::nullopt;
    QStringList names;
    for (quint32 id = 0; id < count; ++id) {
        const LineDevCaps caps = queryDevice(int(id));
        names << (caps.usedSize != 0 ? caps.lineName : tr("Not Available"));
    }
    return names;
}

void LineService::fillDeviceList(OptionsStore& store)
{
    const std::optional<QStringList> names = deviceNames();
    if (!names)
        return;
    store.setLineDeviceNames(*names);
    if (!names->isEmpty())
        store.setText(OptionsStore::cmbLineDevices, names->at(0));
}

bool LineService::open(LineUse use)
{
    switch (use) {
    case LineUse::Receive:
        return openLine(LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR,
                        LINEMEDIAMODE_INTERACTIVEVOICE);
    case LineUse::DialOnly:
        return openLine(LINECALLPRIVILEGE_NONE, LINEMEDIAMODE_DATAMODEM);
    case LineUse::Dial:
        break;
    }
    return openLine(0, 0);
}

bool LineService::openLine(quint32 privileges, quint32 mediaModes)
{
    TelephonySession& t = m_session;
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
            m_call.setError(CallOutcome::LineOpenFailed);
            reportCallError();
            return false;
        }
        privileges = LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR;
    }
    t.lineIsOpen = true;
    t.lineReceiving = privileges == (LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR);
    // The tray shows "PhoneOn" and "Telvaro-ready to receive" while calls
    // are received.
    if (t.lineReceiving)
        Q_EMIT receivingChanged();
    return true;
}

void LineService::close()
{
    TelephonySession& t = m_session;
    // The calls offered on the line end with it: each keeps its record.
    flushIncomingRecords();
    if (t.lineHandle != 0)
        t.lastResult = lineClose(t.lineHandle);
    if (t.lastResult != 0)
        return;
    t.lineIsOpen = false;
    t.lineReceiving = false;
    Q_EMIT receivingChanged(); // the main window's icon, "Telvaro-disabled call receiving"
}

void LineService::shutdown()
{
    TelephonySession& t = m_session;
    flushIncomingRecords();
    const bool wasReceiving = isReceiving();
    const LineResult result = lineShutdown(t.lineApp);
    // Whatever the answer, no line, call or request of this session can be
    // used any more: the next dial opens the line of the next session.
    t = TelephonySession{};
    t.lastResult = result;
    m_requestMoment.stop();
    m_momentPiece.clear();
    if (wasReceiving)
        Q_EMIT receivingChanged();
    if (result != 0)
        return;
    QFile::remove(sessionRecordFile());
}

void LineService::cleanUpStaleSession()
{
    const std::optional<SessionRecord> record = readRecord();
    if (!record)
        return;
    const qint64 me = QCoreApplication::applicationPid();
    if (record->pid == me || record->pid == 0) {
        // This process's own session (the start-up runs again after New or
        // Open Profile): shut it down.
        m_session.lineApp = record->lineApp;
        shutdown();
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

void LineService::followOptions(OptionsStore& store)
{
    connect(&store, &OptionsStore::checkClicked, this, [this, &store](OptionsStore::Check c) {
        if (c == OptionsStore::chkCallDisplay)
            receiveSwitched(store);
        else if (c == OptionsStore::chkCommand)
            setRequestRecipient(store.isChecked(OptionsStore::chkCommand));
    });
    connect(&store, &OptionsStore::lineDevicesWanted, this,
            [this, &store] { fillDeviceList(store); });
}

void LineService::receiveSwitched(OptionsStore& store)
{
    if (m_switchingReceive)
        return;
    m_switchingReceive = true;
    if (store.isChecked(OptionsStore::chkCallDisplay)) {
        close();
        (void)open(LineUse::Receive);
        // Opening the line may have cleared the box (a failed open reports and
        // falls back); receiving stays the user's choice.
        store.setChecked(OptionsStore::chkCallDisplay, true);
    } else {
        dropCall();
        close();
        (void)open(LineUse::DialOnly);
    }
    m_switchingReceive = false;
}

// ---------------------------------------------------------------- requests

void LineService::setRequestRecipient(bool accept)
{
    TelephonySession& t = m_session;
    const quint32 priority = accept ? 1 : 0;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    t.lastResult =
        lineSetAppPriority(program.isEmpty() ? QStringLiteral("telvaro") : program, 0, nullptr,
                           LINEREQUESTMODE_MAKECALL, QStringLiteral("0"), priority);
    t.lastResult = lineRegisterRequestRecipient(t.lineApp, 0, LINEREQUESTMODE_MAKECALL, priority);
}

bool LineService::takeRequest(LineReqMakeCall* request)
{
    TelephonySession& t = m_session;
    if (lineGetRequest(t.lineApp, LINEREQUESTMODE_MAKECALL, request) != 0) {
        t.requestSignalled = false;
        t.requestTaken = false;
        return false;
    }
    // The signal is answered; the call of this request alone waits its
    // moment before dialing (makeCall).
    t.requestSignalled = false;
    t.requestTaken = true;
    return true;
}

// ---------------------------------------------------------------- incoming calls
//
// A call gets exactly one record, in the log of the profile where it rang.
// It is written as soon as the caller is known (at the offering, or when the
// caller information arrives after the first ring, as it does in North
// America); a call that ends, or a line that closes, while its caller is
// still unknown is written then with "Unknown Caller" / "Unknown #".

void LineService::writeUnknown(OfferedCall& offered)
{
    if (offered.written)
        return;
    offered.written = true;
    m_logs->appendIncomingCall(offered.logPath, {}, {}, offered.rang);
}

// Reads the caller information of `call`; writes the call's record when the
// caller is known and the record is not written yet. Information that cannot
// be read leaves the caller empty; the call is then dropped and logged as
// unknown.
void LineService::logIncomingCall(HCALL call)
{
    if (call == 0 || m_ended.contains(call))
        return;
    auto it = m_live.find(call);
    if (it == m_live.end())
        it = m_live.insert(
            call,
            OfferedCall{calllog::logPath(m_profile ? m_profile->name() : CurrentProfile::untitled(),
                                         calllog::LogKind::Incoming),
                        clock().now()});

    LineCallInfo info;
    const LineResult r = lineGetCallInfo(call, &info);
    m_session.lastResult = r;
    if (r != 0) {
        // Nobody can tell who calls: the window says so rather than showing
        // the last caller, the call is not answered, and it is logged once
        // as unknown.
        m_callerNumber.clear();
        m_callerName.clear();
        writeUnknown(*it);
        lineDrop(call);
        return;
    }
    if (!callerKnown(info)) {
        // The caller information may follow the first ring: hold the record.
        m_callerNumber.clear();
        m_callerName.clear();
        return;
    }
    if (!it->written) {
        it->written = true;
        const calllog::CallLogRow row =
            m_logs->appendIncomingCall(it->logPath, info.callerIDName, info.callerID, it->rang);
        m_callerName = row.name;
        m_callerNumber = row.number;
    } else {
        // Caller information repeated or changed: shown, not logged again.
        m_callerName = calllog::incomingName(info.callerIDName);
        m_callerNumber = calllog::incomingNumber(info.callerID);
    }
}

void LineService::incomingCallEnded(HCALL call)
{
    const auto it = m_live.find(call);
    if (it == m_live.end())
        return;
    writeUnknown(*it);
    m_live.erase(it);
    m_ended.insert(call);
}

void LineService::flushIncomingRecords()
{
    for (auto it = m_live.begin(); it != m_live.end(); ++it) {
        writeUnknown(*it);
        m_ended.insert(it.key());
    }
    m_live.clear();
}

bool LineService::incomingCallLive(HCALL call) const
{
    return call != 0 && m_live.contains(call);
}

void LineService::acknowledgeCallDisplay()
{
    // The call is not hung up: it rings on, and caller information that
    // comes later still goes into its record.
    m_displayCall = 0;
    m_call.displayShown = false;
}

} // namespace telvaro
