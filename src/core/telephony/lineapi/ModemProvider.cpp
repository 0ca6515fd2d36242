// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/lineapi/ModemProvider.h"

#include <QHash>
#include <QLoggingCategory>
#include <QRegularExpression>

namespace telvaro {
namespace {

Q_LOGGING_CATEGORY(lcModem, "telvaro.modem")

// The caller ID switches of the common chipsets, tried in this order.
const QStringList kCallerIdCommands{QStringLiteral("AT+VCID=1"), QStringLiteral("AT#CID=1"),
                                    QStringLiteral("AT%CCID=1"), QStringLiteral("AT+CLIP=1")};

// The switch each port accepted in this run, so it is not searched again.
QHash<QString, QString>& acceptedCallerIdCommands()
{
    static QHash<QString, QString> cache;
    return cache;
}

bool isFailure(AtPort::Outcome o)
{
    return o == AtPort::Outcome::Timeout || o == AtPort::Outcome::Garbage ||
           o == AtPort::Outcome::PortLost;
}

} // namespace

std::optional<QString> modemDialString(const QString& address)
{
    static const QString allowed = QStringLiteral("0123456789*#ABCDabcd,WwTtPp@$!;");
    static const QString dropped = QStringLiteral(" \t-().[]/");
    QString out;
    for (const QChar c : address) {
        if (dropped.contains(c))
            continue;
        // A wait for the user (calling card rules): a modem cannot, so it
        // pauses instead.
        if (c == u'?') {
            out += u',';
            continue;
        }
        if (!allowed.contains(c))
            return std::nullopt;
        out += c.toUpper();
    }
    // ";" only at the end.
    const qsizetype semi = out.indexOf(QLatin1Char(';'));
    if (semi >= 0 && semi != out.size() - 1)
        return std::nullopt;
    QString digits = out;
    digits.remove(QLatin1Char(';'));
    if (digits == QLatin1String("T") || digits == QLatin1String("P") || digits.isEmpty())
        return std::nullopt;
    return out;
}

QStringList modemDialCommands(const QString& dialString, int maxLength, bool stayInCommandState)
{
    QString body = dialString;
    const bool more = body.endsWith(QLatin1Char(';'));
    if (more)
        body.chop(1);
    // "D", the digits and ";" must fit; a piece after the first repeats the
    // method, so that a modem that forgot it does not dial tone for pulse.
    const qsizetype room = std::max(4, maxLength - 2);
    QStringList commands;
    QChar method;
    QString piece;
    for (const QChar c : body) {
        if (piece.size() >= room) {
            commands << QStringLiteral("ATD") + piece + QLatin1Char(';');
            piece = method.isNull() ? QString() : QString(method);
        }
        if (c == QLatin1Char('T') || c == QLatin1Char('P'))
            method = c;
        piece += c;
    }
    commands << QStringLiteral("ATD") + piece +
                    (more || stayInCommandState ? QStringLiteral(";") : QString());
    return commands;
}

// ---------------------------------------------------------------- provider

ModemProvider::ModemProvider() : m_modems(loadModems()) {}

ModemProvider::ModemProvider(std::vector<ModemSettings> modems) : m_modems(std::move(modems)) {}

bool ModemProvider::devCaps(int index, LineDevCaps* caps)
{
    if (index < 0 || index >= int(m_modems.size()))
        return false;
    const ModemSettings& m = m_modems[size_t(index)];
    if (m.port.isEmpty())
        return false;
    caps->lineName = m.displayName();
    caps->providerInfo = QStringLiteral("Telvaro serial modem");
    caps->switchInfo = m.port;
    caps->portName = m.port;
    caps->numAddresses = 1;
    caps->maxNumActiveCalls = 1;
    caps->bearerModes = LINEBEARERMODE_VOICE;
    caps->maxRate = quint32(m.speed);
    caps->mediaModes =
        LINEMEDIAMODE_UNKNOWN | LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM;
    return true;
}

std::unique_ptr<ProviderLine> ModemProvider::open(int index, LineSink* sink, LineResult* error)
{
    if (index < 0 || index >= int(m_modems.size())) {
        *error = LINEERR_BADDEVICEID;
        return nullptr;
    }
    // Changes made in the modem's properties since the session began apply
    // from the next open on.
    ModemSettings settings = m_modems[size_t(index)];
    const auto fresh = loadModems();
    if (index < int(fresh.size()) && !fresh[size_t(index)].port.isEmpty())
        settings = fresh[size_t(index)];
    auto line = std::make_unique<ModemLine>(settings, sink);
    const LineResult r = line->start();
    if (r != 0) {
        *error = r;
        return nullptr;
    }
    return line;
}

// ---------------------------------------------------------------- line

ModemLine::ModemLine(ModemSettings settings, LineSink* sink)
    : m_settings(std::move(settings)), m_sink(sink), m_port(new AtPort(this))
{
    m_acceptTimer.setSingleShot(true);
    m_ringTimer.setSingleShot(true);
    m_cidTimer.setSingleShot(true);
    m_reopenTimer.setSingleShot(true);
    connect(&m_acceptTimer, &QTimer::timeout, this, &ModemLine::onDialAccepted);
    connect(&m_ringTimer, &QTimer::timeout, this, &ModemLine::onRingTimeout);
    connect(&m_cidTimer, &QTimer::timeout, this, &ModemLine::flushCallerId);
    connect(&m_reopenTimer, &QTimer::timeout, this, [this] {
        if (m_failed && m_receiving && start() != 0)
            m_reopenTimer.start(kReopenDelayMs);
    });
    connect(m_port, &AtPort::unsolicited, this, &ModemLine::onUnsolicited);
    connect(m_port, &AtPort::unsolicited, this, &ModemLine::onLateCallResult);
    connect(m_port, &AtPort::informationLine, this, &ModemLine::onDialInformation);
    connect(m_port, &AtPort::portLost, this, &ModemLine::portFailed);
    connect(m_port, &AtPort::commandWritten, this, [this](quint64 id) {
        if (!m_out || m_out->dialCommand != id)
            return;
        const bool first = !m_out->dialingReported;
        if (first) {
            m_out->dialingReported = true;
            m_sink->callState(m_out->call, LINECALLSTATE_DIALING);
        }
        // A data dial has no answer until the call connects or fails; a
        // refusal (DELAYED, NO DIALTONE, BUSY ...) comes by the time the
        // number is dialed, so only then is the call under way.
        const QString command = m_port->currentCommand();
        if (!m_out->voice && !command.endsWith(QLatin1Char(';')))
            m_acceptTimer.start(
                std::max(kAcceptDelayMs, (first ? kDialToneWaitMs : 0) + dialingMs(command)));
    });
}

ModemLine::~ModemLine()
{
    // Closing the line hangs up a call still up; the port closes with us.
    if (m_port->isOpen() && m_out) {
        m_port->clearQueue();
        m_port->abortCurrent();
    }
    m_port->close();
}

LineResult ModemLine::start()
{
    AtPort::OpenError why = AtPort::OpenError::None;
    QString error;
    if (!m_port->open(m_settings.port, m_settings.speed, &why, &error)) {
        qCWarning(lcModem) << "cannot open the modem:" << error;
        switch (why) {
        case AtPort::OpenError::Locked:
            return LINEERR_ALLOCATED;
        case AtPort::OpenError::NoDevice:
            return LINEERR_NODEVICE;
        default:
            return LINEERR_RESOURCEUNAVAIL;
        }
    }
    m_failed = false;
    m_callerIdCommand.clear();
    m_port->setDefaultTimeout(m_settings.commandTimeout);
    initialise();
    return 0;
}

void ModemLine::initialise()
{
    auto step = [this](const QString& command) {
        m_port->send(command, [this, command](const AtPort::Reply& r) {
            if (isFailure(r.outcome))
                portFailed(QStringLiteral("%1: %2").arg(command, AtPort::outcomeText(r.outcome)));
            else if (!r.ok())
                qCWarning(lcModem) << "the modem refused" << command << r.finalLine;
        });
    };
    for (const QString& c : m_settings.initCommands())
        step(c);
    step(m_settings.waitForDialTone ? QStringLiteral("ATX4") : QStringLiteral("ATX3"));
    step(QStringLiteral("ATL%1M%2").arg(m_settings.speakerVolume).arg(m_settings.speakerMode));
    if (m_receiving)
        enableCallerId(callerIdCandidates());
}

QStringList ModemLine::callerIdCandidates() const
{
    if (!m_settings.callerIdCommand.isEmpty())
        return {m_settings.callerIdCommand};
    // The one this port accepted before goes first; the modem on it may have
    // been changed since, so the others follow.
    QStringList candidates = kCallerIdCommands;
    const QString known = acceptedCallerIdCommands().value(m_settings.port);
    if (!known.isEmpty()) {
        candidates.removeAll(known);
        candidates.prepend(known);
    }
    return candidates;
}

void ModemLine::enableCallerId(QStringList candidates)
{
    if (candidates.isEmpty()) {
        qCWarning(lcModem) << "the modem accepts none of the caller ID commands";
        return;
    }
    const QString command = candidates.takeFirst();
    m_port->send(command, [this, command, candidates](const AtPort::Reply& r) {
        if (r.ok()) {
            m_callerIdCommand = command;
            acceptedCallerIdCommands().insert(m_settings.port, command);
        } else if (isFailure(r.outcome)) {
            portFailed(QStringLiteral("%1: %2").arg(command, AtPort::outcomeText(r.outcome)));
        } else {
            enableCallerId(candidates);
        }
    });
}

void ModemLine::setReceiving(bool on)
{
    if (on == m_receiving)
        return;
    m_receiving = on;
    if (m_failed) {
        if (on)
            m_reopenTimer.start(kReopenDelayMs);
        return;
    }
    if (!m_port->isOpen())
        return;
    if (on) {
        enableCallerId(callerIdCandidates());
    } else {
        if (m_in) {
            if (m_in->call) {
                m_sink->callState(m_in->call, LINECALLSTATE_IDLE);
            }
            m_in.reset();
            m_ringTimer.stop();
        }
        if (m_callerIdCommand.endsWith(QStringLiteral("=1"))) {
            QString off = m_callerIdCommand;
            off.chop(1);
            m_port->send(off + QLatin1Char('0'));
        }
        m_callerIdCommand.clear();
    }
}

int ModemLine::dialTimeoutFor(const QString& command, bool semicolon) const
{
    // How long dialing may take: the modem's wait for the dial tone, then
    // the characters.
    int ms = m_settings.commandTimeout + 5000 + dialingMs(command);
    if (!semicolon)
        ms += m_settings.dialTimeout * 1000; // the modem's own wait for the call
    return ms;
}

int ModemLine::dialingMs(const QString& command) const
{
    // Each character by the method in force (a pulse digit is one pulse a
    // tenth of a second and a pause between digits; a tone digit a tone and a
    // gap), each "," the modem's pause S8, each wait its longest.
    int commaMs = 2000;
    static const QRegularExpression s8(QStringLiteral("S8=(\\d+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    for (const QString& init : m_settings.initCommands()) {
        const QRegularExpressionMatch m = s8.match(init);
        if (m.hasMatch())
            commaMs = std::clamp(m.captured(1).toInt(), 0, 255) * 1000;
    }
    int ms = 0;
    bool pulse = false;
    for (const QChar c : command.mid(3)) {
        switch (c.unicode()) {
        case u'T':
            pulse = false;
            break;
        case u'P':
            pulse = true;
            break;
        case u',':
            ms += commaMs;
            break;
        case u'W':
        case u'$':
            ms += 5000;
            break;
        case u'@':
            ms += 10000;
            break;
        case u'!':
            ms += 1000;
            break;
        case u';':
            break;
        default:
            if (pulse && c.isDigit())
                ms += 800 + (c == u'0' ? 10 : c.digitValue()) * 100;
            else
                ms += 250;
        }
    }
    return ms;
}

LineResult ModemLine::makeCall(HCALL call, quint32 requestId, const QString& address,
                               const LineCallParams& params)
{
    // A call still hanging up is no obstacle: its hang-up goes out first,
    // and it ends quietly as the line's current call changes.
    if (m_out && !(m_out->dropping && !m_out->dialCommand))
        return LINEERR_CALLUNAVAIL;
    std::optional<QString> dial = modemDialString(address);
    if (!dial)
        return LINEERR_INVALADDRESS;
    if (!m_settings.billingToneWait)
        dial->replace(QLatin1Char('$'), QStringLiteral(",,"));
    if (!m_port->isOpen()) {
        // The modem failed or went away earlier: try it again now.
        const LineResult r = start();
        if (r != 0)
            return LINEERR_RESOURCEUNAVAIL;
    }
    if (params.callParamFlags & LINECALLPARAMFLAGS_BLOCKID) {
        const std::optional<QString> code = modemDialString(callerIdBlockCode(params));
        if (code && !code->contains(QLatin1Char(';'))) {
            const bool lead =
                dial->startsWith(QLatin1Char('T')) || dial->startsWith(QLatin1Char('P'));
            dial->insert(lead ? 1 : 0, *code);
        }
    }
    // A call that rings in now cannot be taken while we dial.
    if (m_in) {
        if (m_in->call)
            m_sink->callState(m_in->call, LINECALLSTATE_IDLE);
        m_in.reset();
        m_ringTimer.stop();
    }
    Outgoing out;
    out.call = call;
    out.voice = params.mediaMode != LINEMEDIAMODE_DATAMODEM;
    m_out = out;
    if (!out.voice) {
        // A data dial is taken as under way when no refusal comes back,
        // so the modem must first show it is alive: a modem that went
        // silent fails the call here instead of seeming to dial it.
        m_port->send(QStringLiteral("AT"), [this, call](const AtPort::Reply& r) {
            if (isFailure(r.outcome) && m_out && m_out->call == call && !m_out->dropping)
                portFailed(QStringLiteral("AT: %1").arg(AtPort::outcomeText(r.outcome)));
        });
    }
    sendDial(*dial, requestId);
    return 0;
}

LineResult ModemLine::dial(HCALL call, quint32 requestId, const QString& address)
{
    if (!m_out || m_out->call != call)
        return LINEERR_INVALCALLHANDLE;
    if (m_out->dropping || m_out->disconnected || m_out->pendingRequest)
        return LINEERR_INVALCALLSTATE;
    std::optional<QString> dial = modemDialString(address);
    if (!dial)
        return LINEERR_INVALADDRESS;
    if (!m_settings.billingToneWait)
        dial->replace(QLatin1Char('$'), QStringLiteral(",,"));
    if (!m_port->isOpen())
        return LINEERR_OPERATIONFAILED;
    sendDial(*dial, requestId);
    return 0;
}

void ModemLine::sendDial(const QString& dialString, quint32 requestId)
{
    // A piece ending in ";" has more to follow (lineDial); in voice mode the
    // modem returns to command state once it has dialed the last.
    const bool lastPiece = !dialString.endsWith(QLatin1Char(';'));
    m_out->pendingRequest = requestId;
    m_out->commands =
        modemDialCommands(dialString, m_settings.maxCommandLength, m_out->voice && lastPiece);
    sendNextDialCommand(lastPiece);
}

void ModemLine::sendNextDialCommand(bool lastPiece)
{
    const QString command = m_out->commands.takeFirst();
    const bool semicolon = command.endsWith(QLatin1Char(';'));
    const HCALL call = m_out->call;
    m_out->answered = false;
    m_out->dialCommand = m_port->send(
        command,
        [this, call, semicolon, lastPiece](const AtPort::Reply& r) {
            onDialResult(call, semicolon, lastPiece, r);
        },
        dialTimeoutFor(command, semicolon));
}

void ModemLine::dialFailed()
{
    // The call never got under way: a request still waiting fails, else the
    // call ends as one the line could not make.
    m_acceptTimer.stop();
    if (!m_out)
        return;
    m_out->failed = true;
    m_out->commands.clear();
    if (m_out->pendingRequest)
        replyPending(LINEERR_OPERATIONFAILED);
    else
        disconnect(LINEDISCONNECTMODE_UNAVAIL);
}

void ModemLine::onDialInformation(quint64 id, const QString& line)
{
    if (!m_out || m_out->dialCommand != id || m_out->dropping || m_out->disconnected ||
        m_out->answered)
        return;
    m_out->answered = true;
    // The progress reports modems give while a call is made.
    static const QStringList progress{QStringLiteral("RINGING"),     QStringLiteral("RRING"),
                                      QStringLiteral("RINGBACK"),    QStringLiteral("DIALING"),
                                      QStringLiteral("CARRIER"),     QStringLiteral("PROTOCOL"),
                                      QStringLiteral("COMPRESSION"), QStringLiteral("+")};
    for (const QString& p : progress) {
        if (line.startsWith(p, Qt::CaseInsensitive))
            return;
    }
    // In numeric form (ATV0) the progress reports and the connection speeds
    // are numbers too.
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    if (number.match(line).hasMatch())
        return;
    // Anything else as the first answer to a dial is a refusal this program
    // does not know: the call did not happen, whatever the modem does next.
    qCWarning(lcModem) << "the modem answered the dial with" << line;
    dialFailed();
    m_port->abortCurrent();
}

void ModemLine::onLateCallResult(const QString& line)
{
    // Modems that keep reporting call progress (GSM modems always do) tell
    // of a busy line or a failed call after the voice dial's OK.
    if (!m_out || m_out->dropping || m_out->disconnected || m_out->failed || m_out->dialCommand ||
        m_out->pendingRequest || m_port->busy())
        return;
    switch (parseResult(line)) {
    case AtResult::Busy:
        disconnect(LINEDISCONNECTMODE_BUSY);
        return;
    case AtResult::NoAnswer:
        disconnect(LINEDISCONNECTMODE_NOANSWER);
        return;
    case AtResult::NoCarrier:
        disconnect(LINEDISCONNECTMODE_NORMAL);
        return;
    case AtResult::NoDialtone:
        disconnect(LINEDISCONNECTMODE_NODIALTONE);
        return;
    case AtResult::Delayed:
    case AtResult::Blacklisted:
        disconnect(LINEDISCONNECTMODE_UNAVAIL);
        return;
    default:
        return;
    }
}

void ModemLine::replyPending(LineResult result)
{
    if (!m_out || !m_out->pendingRequest)
        return;
    const quint32 request = m_out->pendingRequest;
    m_out->pendingRequest = 0;
    m_acceptTimer.stop();
    m_sink->reply(request, result);
}

void ModemLine::reportProceeding()
{
    if (m_out && !m_out->proceedingReported && !m_out->disconnected) {
        m_out->proceedingReported = true;
        m_sink->callState(m_out->call, LINECALLSTATE_PROCEEDING);
    }
}

void ModemLine::disconnect(quint32 mode)
{
    if (!m_out || m_out->disconnected)
        return;
    m_out->disconnected = true;
    m_sink->callState(m_out->call, LINECALLSTATE_DISCONNECTED, mode);
}

void ModemLine::onDialAccepted()
{
    // No ERROR came back: the modem is dialing the call.
    if (!m_out || !m_out->pendingRequest || m_out->dropping)
        return;
    replyPending(0);
    reportProceeding();
}

void ModemLine::onDialResult(HCALL call, bool semicolon, bool lastPiece, const AtPort::Reply& r)
{
    // A dial that outlasted its time was abandoned; the modem is not dead for
    // that (its hang-up will tell).
    const bool portBroke =
        r.outcome == AtPort::Outcome::Garbage || r.outcome == AtPort::Outcome::PortLost;
    if (!m_out || m_out->call != call) {
        // A call that was let go of; a modem that failed still counts.
        if (portBroke)
            portFailed(AtPort::outcomeText(r.outcome));
        return;
    }
    m_out->dialCommand = 0;
    if (m_out->dropping) {
        if (portBroke)
            portFailed(AtPort::outcomeText(r.outcome));
        else
            hangUp();
        return;
    }
    if (m_out->failed)
        return; // told already; the answer only ends the abandoned dial
    if (r.outcome != AtPort::Outcome::Ok)
        m_out->commands.clear(); // the rest of the dial string will not go out
    switch (r.outcome) {
    case AtPort::Outcome::Timeout:
        if (!semicolon) {
            // The data call got no answer within the dial timeout: give up on
            // it as the modem's own timer would (the port has abandoned the
            // dial already).
            replyPending(0);
            reportProceeding();
            disconnect(LINEDISCONNECTMODE_NOANSWER);
            return;
        }
        // Dialing took longer than it can: the dial was abandoned and its
        // answer awaited; the modem itself is fine.
        qCWarning(lcModem) << "the modem did not finish dialing in time";
        dialFailed();
        return;
    case AtPort::Outcome::Refused:
        qCWarning(lcModem) << "the modem refused the dial:" << r.finalLine;
        dialFailed();
        return;
    case AtPort::Outcome::Garbage:
    case AtPort::Outcome::PortLost:
        portFailed(AtPort::outcomeText(r.outcome));
        return;
    case AtPort::Outcome::Error:
        // The modem refused the dial: the line is in use or not connected.
        if (m_out->pendingRequest)
            replyPending(LINEERR_CALLUNAVAIL);
        else
            disconnect(LINEDISCONNECTMODE_UNAVAIL);
        return;
    case AtPort::Outcome::Ok:
        if (!m_out->commands.isEmpty()) {
            sendNextDialCommand(lastPiece);
            return;
        }
        replyPending(0);
        if (lastPiece)
            reportProceeding();
        return;
    case AtPort::Outcome::Connect:
        m_out->online = !m_out->voice;
        replyPending(0);
        reportProceeding();
        if (m_out && !m_out->disconnected)
            m_sink->callState(m_out->call, LINECALLSTATE_CONNECTED);
        return;
    case AtPort::Outcome::Busy:
        replyPending(0);
        if (lastPiece)
            reportProceeding();
        disconnect(LINEDISCONNECTMODE_BUSY);
        return;
    case AtPort::Outcome::NoDialtone:
        replyPending(0);
        disconnect(LINEDISCONNECTMODE_NODIALTONE);
        return;
    case AtPort::Outcome::NoCarrier:
        replyPending(0);
        disconnect(LINEDISCONNECTMODE_NORMAL);
        return;
    case AtPort::Outcome::NoAnswer:
        replyPending(0);
        disconnect(LINEDISCONNECTMODE_NOANSWER);
        return;
    }
}

LineResult ModemLine::drop(HCALL call, quint32 requestId)
{
    if (m_in && m_in->call == call) {
        // An offered call is not answered; it may ring on, unheeded.
        m_in->call = 0;
        m_sink->reply(requestId, 0);
        m_sink->callState(call, LINECALLSTATE_IDLE);
        return 0;
    }
    if (!m_out || m_out->call != call)
        return LINEERR_INVALCALLHANDLE;
    if (m_out->dropping)
        return LINEERR_INVALCALLSTATE;
    // A request still waiting for its reply will not complete.
    replyPending(LINEERR_OPERATIONFAILED);
    m_out->dropping = true;
    m_out->dropRequest = requestId;
    if (!m_port->isOpen()) {
        hangUp();
        return 0;
    }
    if (m_out->dialCommand && m_port->cancel(m_out->dialCommand)) {
        m_out->dialCommand = 0; // never went out
        hangUp();
    } else if (m_out->dialCommand && m_port->isCurrent(m_out->dialCommand)) {
        // Any character makes the modem abandon the dial; its answer to
        // the dial then leads to the hang-up.
        m_port->abortCurrent();
    } else {
        hangUp();
    }
    return 0;
}

void ModemLine::hangUp()
{
    if (!m_out)
        return;
    const HCALL call = m_out->call;
    const quint32 request = m_out->dropRequest;
    auto finished = [this, call, request] {
        if (m_out && m_out->call == call)
            m_out.reset();
        m_acceptTimer.stop();
        if (request)
            m_sink->reply(request, 0);
        m_sink->callState(call, LINECALLSTATE_IDLE);
    };
    if (!m_port->isOpen()) {
        finished();
        return;
    }
    // A data connection takes what is sent as data: back to commands first.
    if (m_out->online) {
        m_out->online = false;
        m_port->sendEscape({});
    }
    m_port->send(QStringLiteral("ATH0"), [this, finished](const AtPort::Reply& r) {
        finished();
        if (isFailure(r.outcome))
            portFailed(QStringLiteral("ATH0: %1").arg(AtPort::outcomeText(r.outcome)));
    });
}

void ModemLine::release(HCALL call)
{
    if (m_in && m_in->call == call) {
        m_in->call = 0;
        return;
    }
    if (!m_out || m_out->call != call)
        return;
    if (m_out->dropping)
        return; // the hang-up under way finishes quietly
    m_out->pendingRequest = 0;
    m_out->dropping = true;
    m_out->dropRequest = 0;
    if (m_out->dialCommand && m_port->cancel(m_out->dialCommand)) {
        m_out->dialCommand = 0;
        hangUp();
    } else if (m_out->dialCommand && m_port->isCurrent(m_out->dialCommand)) {
        m_port->abortCurrent();
    } else {
        hangUp();
    }
}

void ModemLine::portFailed(const QString& reason)
{
    if (m_failed && !m_port->isOpen() && !m_out && !m_in)
        return;
    qCWarning(lcModem) << "the modem on" << m_settings.port << "failed:" << reason;
    m_failed = true;
    m_port->close();
    m_acceptTimer.stop();
    m_cidTimer.stop();
    m_ringTimer.stop();
    if (m_out) {
        if (m_out->dropping) {
            m_port->close();
            hangUp(); // reports the drop and idle at once: the port is closed
        } else if (m_out->pendingRequest) {
            replyPending(LINEERR_OPERATIONFAILED);
        } else {
            disconnect(LINEDISCONNECTMODE_UNAVAIL);
        }
    }
    if (m_in) {
        if (m_in->call) {
            m_sink->callState(m_in->call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_UNAVAIL);
            m_sink->callState(m_in->call, LINECALLSTATE_IDLE);
        }
        m_in.reset();
    }
    if (m_receiving)
        m_reopenTimer.start(kReopenDelayMs);
}

void ModemLine::onUnsolicited(const QString& line)
{
    if (!m_receiving || m_out)
        return;
    if (isRing(line)) {
        if (!m_in) {
            m_in = Incoming{};
            m_in->call = m_sink->incomingCall(LINEMEDIAMODE_INTERACTIVEVOICE);
            if (m_in->call)
                m_sink->callState(m_in->call, LINECALLSTATE_OFFERING);
            if (m_earlyId.any && !m_earlyIdExpiry.hasExpired()) {
                m_in->id = m_earlyId;
                m_in->dirty = true;
            }
            m_earlyId = CallerId{};
        }
        if (m_in->dirty)
            flushCallerId();
        m_ringTimer.start(m_settings.ringTimeout);
        return;
    }
    const std::optional<CallerIdLine> cid = parseCallerIdLine(line);
    if (!cid)
        return; // a late answer or a stray line: nothing to do
    if (m_in && cid->field == CallerIdLine::Number) {
        // A caller other than the one ringing: the first gave up and a new
        // call rings (sooner than the ring timeout could tell).
        const CallerId& known = m_in->id;
        const bool identified = !known.number.isEmpty() || known.withheld || known.unavailable;
        if (identified && (known.number != cid->value || known.withheld != cid->withheld ||
                           known.unavailable != cid->unavailable))
            nextIncomingCall();
    }
    if (!m_in && (!m_earlyId.any || m_earlyIdExpiry.hasExpired())) {
        // The first line of a report that comes before its call.
        m_earlyId = CallerId{};
        m_earlyIdExpiry.setRemainingTime(kEarlyCallerIdMs);
    }
    CallerId& id = m_in ? m_in->id : m_earlyId;
    id.any = true;
    switch (cid->field) {
    case CallerIdLine::Date:
        id.date = cid->value;
        break;
    case CallerIdLine::Time:
        id.time = cid->value;
        break;
    case CallerIdLine::Number:
        id.number = cid->value;
        id.withheld = cid->withheld;
        id.unavailable = cid->unavailable;
        if (cid->name)
            id.name = *cid->name;
        break;
    case CallerIdLine::Name:
        id.name = cid->withheld || cid->unavailable ? QString() : cid->value;
        break;
    case CallerIdLine::Message:
        break;
    }
    if (m_in) {
        m_in->dirty = true;
        // The lines of one report come together: tell about them once.
        m_cidTimer.start(150);
    }
}

void ModemLine::nextIncomingCall()
{
    flushCallerId();
    const HCALL ended = m_in->call;
    // The date and time of the report under way belong to the new call.
    CallerId id;
    id.date = m_in->id.date;
    id.time = m_in->id.time;
    m_in = Incoming{};
    m_in->id = id;
    if (ended) {
        m_sink->callState(ended, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
        m_sink->callState(ended, LINECALLSTATE_IDLE);
    }
    m_in->call = m_sink->incomingCall(LINEMEDIAMODE_INTERACTIVEVOICE);
    if (m_in->call)
        m_sink->callState(m_in->call, LINECALLSTATE_OFFERING);
    m_ringTimer.start(m_settings.ringTimeout);
}

void ModemLine::flushCallerId()
{
    m_cidTimer.stop();
    if (!m_in || !m_in->dirty)
        return;
    m_in->dirty = false;
    if (!m_in->call || m_in->id == m_in->posted)
        return;
    m_in->posted = m_in->id;
    const CallerId& id = m_in->id;
    quint32 flags = 0;
    if (id.withheld)
        flags |= LINECALLPARTYID_BLOCKED;
    if (id.unavailable)
        flags |= LINECALLPARTYID_OUTOFAREA;
    if (!id.number.isEmpty())
        flags |= LINECALLPARTYID_ADDRESS;
    if (!id.name.isEmpty())
        flags |= LINECALLPARTYID_NAME;
    if (!flags)
        flags = LINECALLPARTYID_UNKNOWN;
    m_sink->callerId(m_in->call, flags, id.number, id.name, id.date, id.time);
}

void ModemLine::onRingTimeout()
{
    // No RING for a while: the caller gave up.
    if (!m_in)
        return;
    flushCallerId();
    const HCALL call = m_in->call;
    m_in.reset();
    if (call) {
        m_sink->callState(call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
        m_sink->callState(call, LINECALLSTATE_IDLE);
    }
}

} // namespace telvaro
