// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModemSim.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace telvaro::modemsim {

Modem::Modem(Script script, QObject* parent)
    : QObject(parent), m_s(std::move(script)), m_dialTimer(new QTimer(this)),
      m_carrierTimer(new QTimer(this)), m_incomingTimer(new QTimer(this)),
      m_ringTimer(new QTimer(this)), m_progressTimer(new QTimer(this)),
      m_lateTimer(new QTimer(this)), m_escapeTimer(new QTimer(this))
{
    m_verbose = !m_s.numeric;
    m_progressTimer->setSingleShot(true);
    connect(m_progressTimer, &QTimer::timeout, this, &Modem::reportProgress);
    m_dialTimer->setSingleShot(true);
    m_carrierTimer->setSingleShot(true);
    connect(m_dialTimer, &QTimer::timeout, this, &Modem::finishDial);
    connect(m_carrierTimer, &QTimer::timeout, this, [this] {
        m_dial = DialState::None;
        m_offHook = false;
        m_callStarted = false;
        result("NO CARRIER", 3);
    });
    connect(m_incomingTimer, &QTimer::timeout, this, &Modem::startIncoming);
    m_lateTimer->setSingleShot(true);
    connect(m_lateTimer, &QTimer::timeout, this,
            [this] { endCall(m_lateResult.constData(), m_lateNumeric); });
    // "+++" with a second of quiet on both sides leaves the data call for the
    // command state (S2 and S12 as shipped).
    m_escapeTimer->setSingleShot(true);
    connect(m_escapeTimer, &QTimer::timeout, this, [this] {
        if (m_online && m_plus == 3) {
            m_online = false;
            m_plus = 0;
            result("OK", 0);
        }
    });
    connect(m_ringTimer, &QTimer::timeout, this, &Modem::ring);
}

Modem::~Modem()
{
    if (!m_s.link.isEmpty())
        ::unlink(QFile::encodeName(m_s.link).constData());
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    if (m_master >= 0)
        ::close(m_master);
}

QString Modem::start(QString* error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = QStringLiteral("cannot open a pseudo-terminal: %1")
                     .arg(QString::fromLocal8Bit(strerror(errno)));
        return {};
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        *error = QStringLiteral("no name for the pseudo-terminal");
        return {};
    }
    const QString slave = QString::fromLocal8Bit(name);
    // Hold the slave side open in raw mode: nothing the modem says is echoed
    // back to it by the terminal driver, and the modem keeps running while the
    // dialer closes and reopens the port.
    m_slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveHold >= 0) {
        termios t{};
        if (::tcgetattr(m_slaveHold, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(m_slaveHold, TCSANOW, &t);
        }
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Modem::onReadable);

    if (!m_s.logFile.isEmpty()) {
        m_log.setFileName(m_s.logFile);
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append)) {
            *error = QStringLiteral("cannot write %1").arg(m_s.logFile);
            return {};
        }
    }
    if (!m_s.link.isEmpty()) {
        ::unlink(QFile::encodeName(m_s.link).constData());
        if (::symlink(name, QFile::encodeName(m_s.link).constData()) != 0) {
            *error = QStringLiteral("cannot link %1").arg(m_s.link);
            return {};
        }
    }
    // What happens on the line, told on standard input: "ring NUMBER [NAME]"
    // (a call comes in now; one still ringing gives up first), "silent" (the
    // modem stops answering), "speak".
    // (Not from a terminal: a simulator started in the background of a shell
    // must not stop for reading it.)
    if (!::isatty(STDIN_FILENO)) {
        m_control = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_control, &QSocketNotifier::activated, this, &Modem::onControl);
    }
    if (m_s.incomingEverySec > 0) {
        m_incomingTimer->setInterval(m_s.incomingEverySec * 1000);
        m_incomingTimer->start();
        if (m_s.incomingFirstMs >= 0)
            QTimer::singleShot(m_s.incomingFirstMs, this, &Modem::startIncoming);
    }
    return slave;
}

void Modem::onReadable()
{
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            if (m_mute)
                continue;
            if (m_online) {
                onlineData(buf, n);
                continue;
            }
            if (m_dial != DialState::None) {
                // Any character abandons a dial in progress; it is not part of
                // a command.
                abortDial();
                continue;
            }
            m_input.append(buf, n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            break;
        // EIO: no one holds the slave side (cannot happen while we hold it).
        break;
    }
    for (;;) {
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_input.size(); ++i) {
            if (m_input[i] == '\r' || m_input[i] == '\n') {
                end = i;
                break;
            }
        }
        if (end < 0)
            break;
        const QByteArray line = m_input.left(end);
        m_input.remove(0, end + 1);
        if (m_echo)
            send(line + '\r');
        if (!line.trimmed().isEmpty())
            handleLine(line);
        if (m_master < 0)
            return;
    }
}

void Modem::handleLine(const QByteArray& line)
{
    log(line);
    ++m_commandLines;
    if (m_s.hangupAfter >= 0 && m_commandLines > m_s.hangupAfter) {
        vanish();
        return;
    }
    if (m_s.silentAfter >= 0 && m_commandLines > m_s.silentAfter)
        return;
    if (m_commandLines == m_s.ringInCommand)
        result("RING", 2); // a call rings in while the modem works on the line
    if (m_s.garbageAfter >= 0 && m_commandLines > m_s.garbageAfter) {
        QByteArray noise;
        for (int i = 0; i < 40; ++i)
            noise += char(QRandomGenerator::global()->bounded(1, 256));
        noise.replace('\r', '\x02').replace('\n', '\x03');
        send(noise + "\r\n" + noise + "\r\n" + noise + "\r\n");
        return;
    }
    execute(line);
}

void Modem::execute(const QByteArray& commandLine)
{
    QByteArray line;
    for (const char c : commandLine) {
        if (c != ' ')
            line += c;
    }
    if (line.size() < 2 || qstrnicmp(line.constData(), "AT", 2) != 0) {
        result("ERROR", 4);
        return;
    }
    QByteArray body = line.mid(2);
    // The modem's command buffer holds only so much.
    if (m_s.maxLine > 0 && body.size() > m_s.maxLine) {
        result("ERROR", 4);
        return;
    }
    m_progressTimer->stop();
    m_lateTimer->stop();
    // The dial command takes the rest of the line.
    const qsizetype d = body.toUpper().indexOf('D');
    QByteArray dialRest;
    bool hasDial = false;
    if (d >= 0) {
        // Only a D that starts a basic command (not inside an extended one).
        const QByteArray before = body.left(d);
        if (!before.contains('+') && !before.contains('#') && !before.contains('%') &&
            !before.contains('&')) {
            dialRest = body.mid(d + 1);
            body = before;
            hasDial = true;
        }
    }
    QByteArray error;
    if (!executeBasic(body, &error)) {
        result("ERROR", 4);
        return;
    }
    if (hasDial) {
        dial(dialRest);
        return;
    }
    result("OK", 0);
}

bool Modem::executeBasic(const QByteArray& bodyIn, QByteArray* error)
{
    const QByteArray body = bodyIn;
    qsizetype i = 0;
    auto number = [&](int fallback) {
        int v = 0;
        bool any = false;
        while (i < body.size() && body[i] >= '0' && body[i] <= '9') {
            v = v * 10 + (body[i] - '0');
            ++i;
            any = true;
        }
        return any ? v : fallback;
    };
    while (i < body.size()) {
        const char c = char(std::toupper(static_cast<unsigned char>(body[i])));
        ++i;
        if (c == '+' || c == '#' || c == '%') {
            // An extended command runs to the next ";" or the end.
            qsizetype end = body.indexOf(';', i);
            if (end < 0)
                end = body.size();
            const QByteArray ext = (QByteArray(1, c) + body.mid(i, end - i)).toUpper();
            i = end + 1;
            if (ext == "+GMM" || ext == "+GMM?") {
                sendLine(m_s.modelName.toLatin1());
                continue;
            }
            if (ext.startsWith("+FCLASS=")) {
                m_fclass8 = ext.mid(8) == "8";
                continue;
            }
            if (ext.startsWith("+CRC=")) {
                m_crc = ext.mid(5) == "1";
                continue;
            }
            if (ext.startsWith("+FCLASS") || ext.startsWith("+VCID?") || ext.startsWith("+VCID=?"))
                continue;
            static const QList<QByteArray> cid{"+VCID", "#CID", "%CCID", "+CLIP"};
            bool known = false;
            for (const QByteArray& name : cid) {
                if (ext.startsWith(name + '=')) {
                    known = true;
                    const bool accepted =
                        m_s.cidAccept.isEmpty() ||
                        m_s.cidAccept.contains(QString::fromLatin1("AT" + name + "=1"),
                                               Qt::CaseInsensitive);
                    if (!accepted) {
                        *error = "caller ID command not supported";
                        return false;
                    }
                    m_callerId = ext.mid(name.size() + 1) != "0";
                }
            }
            if (!known) {
                *error = "unknown extended command";
                return false;
            }
            continue;
        }
        switch (c) {
        case 'Z':
            number(0);
            m_crc = false;
            m_fclass8 = false;
            m_echo = true;
            m_verbose = !m_s.numeric;
            m_quiet = false;
            m_sreg.clear();
            m_callerId = false;
            m_offHook = false;
            m_callStarted = false;
            break;
        case 'E':
            m_echo = number(0) != 0;
            break;
        case 'V':
            m_verbose = number(0) != 0;
            break;
        case 'Q':
            m_quiet = number(0) != 0;
            break;
        case 'H':
            if (number(0) == 0) {
                m_offHook = false;
                m_callStarted = false;
            } else {
                m_offHook = true;
            }
            break;
        case 'X':
        case 'L':
        case 'M':
            number(0);
            break;
        case 'I': {
            const int n = number(0);
            if (n == 3 || n == 4)
                sendLine(m_s.modelName.toLatin1());
            else
                sendLine("56000");
            break;
        }
        case 'A':
            m_offHook = true;
            m_ringTimer->stop();
            break;
        case 'S': {
            const int reg = number(0);
            if (i < body.size() && body[i] == '=') {
                ++i;
                m_sreg[reg] = number(0);
            } else if (i < body.size() && body[i] == '?') {
                ++i;
                sendLine("000");
            }
            break;
        }
        case '&':
            if (i < body.size()) {
                const char f = char(std::toupper(static_cast<unsigned char>(body[i])));
                ++i;
                number(0);
                if (f == 'F') {
                    m_echo = true;
                    m_verbose = !m_s.numeric;
                    m_callerId = false;
                    m_sreg.clear();
                }
            }
            break;
        default:
            *error = "unknown command";
            return false;
        }
    }
    return true;
}

void Modem::dial(const QByteArray& restIn)
{
    const QByteArray rest = restIn.toUpper();
    m_dialVoice = rest.endsWith(';');
    if (m_s.lineInUse) {
        result("ERROR", 4);
        return;
    }
    for (const char c : rest) {
        if (!QByteArray("0123456789*#ABCDTP,W@$!;").contains(c)) {
            result("ERROR", 4);
            return;
        }
    }
    m_number.clear();
    for (const char c : rest) {
        if (c >= '0' && c <= '9')
            m_number += c;
    }
    const char pick = m_s.outcomeByNumber && !m_number.isEmpty() ? m_number.back() : 0;
    if (pick == '4') {
        result("ERROR", 4);
        return;
    }
    // An approved modem will not repeat a number too often; it says so at
    // once, without going off-hook.
    if (m_s.refuse == QLatin1String("delayed") || pick == '3') {
        result("DELAYED", 24);
        return;
    }
    if (m_s.refuse == QLatin1String("blacklisted")) {
        result("BLACKLISTED", 32);
        return;
    }
    if (!m_s.refuse.isEmpty()) {
        sendLine(m_s.refuse.toLatin1()); // a refusal of its own, and nothing more
        return;
    }
    if (!m_callStarted) {
        m_callStarted = true;
        ++m_calls;
    }
    // A modem off-hook since the last dial (";") goes on without the wait
    // for the dial tone.
    const int toneWait = m_offHook ? 0 : m_s.dialToneWaitMs;
    m_offHook = true;
    m_ringTimer->stop();
    m_dial = DialState::Dialing;
    m_dialTimer->start(toneWait + dialDurationMs(rest) + m_s.dialDelayMs);
}

int Modem::dialDurationMs(const QByteArray& rest) const
{
    // Tone: a tone and a gap of S11 milliseconds each; pulse: a tenth of a
    // second per pulse and 0.7 s between digits; "," S8 seconds; "W" the
    // second dial tone; "@" five seconds of quiet; "$" the billing tone.
    const int s11 = std::max(50, m_sreg.value(11, 95));
    const int s8 = m_sreg.value(8, 2);
    bool pulse = false;
    int ms = 0;
    for (const char c : rest) {
        switch (c) {
        case 'T':
            pulse = false;
            break;
        case 'P':
            pulse = true;
            break;
        case ',':
            ms += s8 * 1000;
            break;
        case 'W':
            ms += 1500;
            break;
        case '@':
            ms += 5000;
            break;
        case '$':
            ms += 2500;
            break;
        case '!':
            ms += 500;
            break;
        case ';':
            break;
        default:
            if (pulse && c >= '0' && c <= '9')
                ms += (c == '0' ? 10 : c - '0') * 100 + 700;
            else
                ms += 2 * s11;
        }
    }
    return ms;
}

void Modem::reportProgress()
{
    // The voice call's line is busy: heard a while after the dial's OK.
    if (!m_offHook || m_dial != DialState::None || m_calls > m_s.busyDials)
        return;
    m_offHook = false;
    m_callStarted = false;
    result("BUSY", 7);
}

void Modem::voiceDialDone()
{
    // In voice mode (+FCLASS=8) some modems say VCON, in words either way.
    if (m_fclass8 && m_s.vcon)
        sendLine("VCON");
    else
        result("OK", 0);
}

QString Modem::outcomeOfCall() const
{
    return m_s.outcomes.value(m_calls - 1);
}

void Modem::endCall(const char* verbose, int numeric)
{
    m_dial = DialState::None;
    m_offHook = false;
    m_callStarted = false;
    result(verbose, numeric);
}

void Modem::goOnline()
{
    m_dial = DialState::None;
    m_online = true;
    m_plus = 0;
    m_lastData = QDateTime::currentMSecsSinceEpoch();
    // The speed of the line, as a number after ATV0 (X4).
    result("CONNECT 33600", 84);
}

void Modem::finishDial()
{
    const QString outcome = outcomeOfCall();
    if (!outcome.isEmpty() && outcome != QLatin1String("ok")) {
        static const QMap<QString, QPair<const char*, int>> finals{
            {QStringLiteral("busy"), {"BUSY", 7}},
            {QStringLiteral("noanswer"), {"NO ANSWER", 8}},
            {QStringLiteral("nocarrier"), {"NO CARRIER", 3}},
            {QStringLiteral("delayed"), {"DELAYED", 24}},
            {QStringLiteral("error"), {"ERROR", 4}}};
        if (outcome == QLatin1String("silent")) {
            m_dial = DialState::None;
            m_mute = true;
            return;
        }
        if (outcome == QLatin1String("connect")) {
            goOnline();
            return;
        }
        if (outcome.startsWith(QLatin1String("ok+"))) {
            const auto late = finals.value(outcome.mid(3), {"NO CARRIER", 3});
            m_lateResult = late.first;
            m_lateNumeric = late.second;
            if (m_dialVoice) {
                m_dial = DialState::None;
                voiceDialDone();
                m_lateTimer->start(m_s.busyDetectMs);
            } else {
                // A data call has no OK: the result comes when it does.
                m_dial = DialState::WaitingCarrier;
                m_carrierTimer->stop();
                m_lateTimer->start(m_s.busyDetectMs);
            }
            return;
        }
        const auto r = finals.value(outcome, {"NO CARRIER", 3});
        endCall(r.first, r.second);
        return;
    }
    const char pick = m_s.outcomeByNumber && !m_number.isEmpty() ? m_number.back() : 0;
    const bool busyOnce = pick == '1' && !m_busyOnce.contains(m_number);
    if (busyOnce)
        m_busyOnce.insert(m_number);
    if (pick == '5' || busyOnce) {
        if (busyOnce)
            endCall("BUSY", 7);
        else
            endCall("NO CARRIER", 3);
        return;
    }
    if (m_s.noDialTone || pick == '2') {
        m_dial = DialState::None;
        m_offHook = false;
        m_callStarted = false;
        result("NO DIALTONE", 6);
        return;
    }
    if (m_dialVoice) {
        m_dial = DialState::None;
        voiceDialDone();
        if (m_s.progressAfterOk)
            m_progressTimer->start(m_s.busyDetectMs);
        return;
    }
    if (m_calls <= m_s.busyDials) {
        m_dial = DialState::None;
        m_offHook = false;
        m_callStarted = false;
        result("BUSY", 7);
        return;
    }
    if (m_s.connect) {
        goOnline();
        return;
    }
    m_dial = DialState::WaitingCarrier;
    m_carrierTimer->start(m_s.carrierWaitMs);
}

void Modem::abortDial()
{
    m_dialTimer->stop();
    m_carrierTimer->stop();
    m_lateTimer->stop();
    m_dial = DialState::None;
    m_offHook = false;
    m_callStarted = false;
    result("NO CARRIER", 3);
}

void Modem::result(const char* verbose, int numeric)
{
    if (m_quiet)
        return;
    if (m_verbose)
        send(QByteArray("\r\n") + verbose + "\r\n");
    else
        send(QByteArray::number(numeric) + '\r');
}

void Modem::sendLine(const QByteArray& text)
{
    send("\r\n" + text + "\r\n");
}

void Modem::send(const QByteArray& text)
{
    if (m_master < 0)
        return;
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(m_master, text.constData() + done, size_t(text.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EAGAIN) {
            ::usleep(1000);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

void Modem::startIncoming()
{
    if (m_offHook || m_ringsLeft > 0 || m_master < 0)
        return;
    if (m_s.silentAfter >= 0 && m_commandLines >= m_s.silentAfter)
        return;
    m_ringsLeft = m_s.rings;
    m_firstRingOfCall = true;
    if (!m_s.cidStyles.isEmpty()) {
        m_s.cidStyle = m_s.cidStyles.front();
        m_s.cidStyles.append(m_s.cidStyles.takeFirst());
    }
    // For whoever drives a long run: one line per call that rings.
    std::printf("incoming call\n");
    std::fflush(stdout);
    if (m_s.cidBeforeRing && m_callerId) {
        // As in the UK and much of Europe: the report, then the ringing.
        sendCallerId();
        QTimer::singleShot(std::max(0, m_s.cidDelayMs), this, [this] {
            ring();
            if (m_ringsLeft > 0)
                m_ringTimer->start(m_s.ringIntervalMs);
        });
        return;
    }
    ring();
    m_ringTimer->start(m_s.ringIntervalMs);
}

void Modem::ring()
{
    if (m_offHook || m_ringsLeft <= 0) {
        m_ringsLeft = 0;
        m_ringTimer->stop();
        return;
    }
    --m_ringsLeft;
    if (m_crc)
        sendLine("+CRING: VOICE");
    else
        result("RING", 2);
    callerIdAfterRing();
    m_firstRingOfCall = false;
    if (m_ringsLeft == 0)
        m_ringTimer->stop();
}

// ------------------------------------------------------------ caller ID

namespace {

// The name as an exchange sends it: Windows-1252 bytes.
QByteArray cp1252Bytes(const QString& text)
{
    static const char16_t high[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = char(u);
        } else {
            for (int i = 0; i < 32; ++i) {
                if (high[i] == u)
                    byte = char(0x80 + i);
            }
        }
        out += byte;
    }
    return out;
}

} // namespace

void Modem::callerIdAfterRing()
{
    const bool clip = m_s.cidStyle == QLatin1String("clip");
    // Caller ID comes once between the first and second RING (unless it came
    // before the first); GSM modems repeat +CLIP: after every RING.
    if (!m_callerId || !(clip || (m_firstRingOfCall && !m_s.cidBeforeRing)))
        return;
    if (m_s.cidDelayMs <= 0) {
        sendCallerId();
        return;
    }
    QTimer::singleShot(m_s.cidDelayMs, this, [this] {
        if (!m_offHook && m_master >= 0)
            sendCallerId();
    });
}

// A multiple data message (type 0x80) in hexadecimal: date and time, the
// number or why it is absent, the name.
QByteArray Modem::messageBlock() const
{
    QByteArray body;
    auto param = [&body](char type, const QByteArray& value) {
        body += type;
        body += char(value.size());
        body += value;
    };
    param(0x01, QDateTime::currentDateTime().toString(QStringLiteral("MMddHHmm")).toLatin1());
    if (m_s.cidNumber == QLatin1String("P") || m_s.cidNumber == QLatin1String("O"))
        param(0x04, m_s.cidNumber.toLatin1());
    else
        param(0x02, m_s.cidNumber.toLatin1());
    if (!m_s.cidName.isEmpty())
        param(0x07, nameBytes());
    QByteArray block = QByteArray(1, char(0x80)) + char(body.size()) + body;
    char sum = 0;
    for (const char b : block)
        sum = char(sum + b);
    block += char(-sum);
    return block.toHex().toUpper();
}

void Modem::sendCallerId()
{
    const QString style = m_s.cidStyle;
    if (style == QLatin1String("none"))
        return;
    if (style == QLatin1String("mesg")) {
        send("\r\n");
        sendLine("MESG = " + messageBlock());
        send("\r\n");
        return;
    }
    const QByteArray number = m_s.cidNumber.toLatin1();
    const QByteArray name = nameBytes();
    if (style == QLatin1String("clip")) {
        QByteArray validity = "0";
        QByteArray num = number;
        if (number == "P") {
            validity = "1";
            num.clear();
        } else if (number == "O") {
            validity = "2";
            num.clear();
        }
        sendLine("+CLIP: \"" + num + "\"," + (num.startsWith('+') ? "145" : "129") + ",\"\",,\"" +
                 name + "\"," + validity);
        return;
    }
    const QByteArray eq = style == QLatin1String("compact") ? "=" : " = ";
    const QDateTime now = QDateTime::currentDateTime();
    send("\r\n");
    sendLine("DATE" + eq + now.toString(QStringLiteral("MMdd")).toLatin1());
    sendLine("TIME" + eq + now.toString(QStringLiteral("HHmm")).toLatin1());
    sendLine("NMBR" + eq + number);
    if (!name.isEmpty())
        sendLine("NAME" + eq + name);
    send("\r\n");
}

QByteArray Modem::nameBytes() const
{
    return m_s.cidUtf8 ? m_s.cidName.toUtf8() : cp1252Bytes(m_s.cidName);
}

void Modem::onlineData(const char* data, qsizetype size)
{
    // Data for the other end; only an escape "+++" between two quiet
    // seconds counts.
    constexpr qint64 guardMs = 1000;
    for (qsizetype i = 0; i < size; ++i) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (data[i] == '+' && (m_plus > 0 || now - m_lastData >= guardMs) && m_plus < 3) {
            ++m_plus;
        } else {
            m_plus = 0;
        }
        m_lastData = now;
    }
    if (m_plus == 3)
        m_escapeTimer->start(int(guardMs));
    else
        m_escapeTimer->stop();
}

void Modem::onControl()
{
    // One read per notice: standard input stays blocking (the pipe is
    // shared with whoever started us).
    char buf[256];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n > 0)
        m_controlInput.append(buf, n);
    else if (n == 0 || (errno != EINTR && errno != EAGAIN))
        m_control->setEnabled(false); // nobody will tell us more
    for (qsizetype end = m_controlInput.indexOf('\n'); end >= 0;
         end = m_controlInput.indexOf('\n')) {
        const QString line = QString::fromUtf8(m_controlInput.left(end)).trimmed();
        m_controlInput.remove(0, end + 1);
        const QString word = line.section(QLatin1Char(' '), 0, 0);
        if (word == QLatin1String("silent")) {
            m_mute = true;
        } else if (word == QLatin1String("speak")) {
            m_mute = false;
        } else if (word == QLatin1String("ring")) {
            m_s.cidNumber = line.section(QLatin1Char(' '), 1, 1);
            m_s.cidName = line.section(QLatin1Char(' '), 2);
            m_ringTimer->stop();
            m_ringsLeft = 0;
            startIncoming();
        }
    }
}

void Modem::log(const QByteArray& line)
{
    if (!m_log.isOpen())
        return;
    m_log.write(line.trimmed() + '\n');
    m_log.flush();
}

void Modem::vanish()
{
    // Like a USB modem pulled out: the device is gone at once.
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    m_slaveHold = -1;
    ::close(m_master);
    m_master = -1;
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

} // namespace telvaro::modemsim
