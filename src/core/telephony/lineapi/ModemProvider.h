// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/AtPort.h"
#include "core/telephony/lineapi/LineProvider.h"
#include "core/telephony/lineapi/ModemConfig.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <optional>

namespace telvaro {

// The serial AT modems of the configuration, one line device each.
class ModemProvider final : public LineProvider
{
public:
    // The modems of the configuration file.
    ModemProvider();
    explicit ModemProvider(std::vector<ModemSettings> modems);

    int deviceCount() const override { return int(m_modems.size()); }
    bool devCaps(int index, LineDevCaps* caps) override;
    std::unique_ptr<ProviderLine> open(int index, LineSink* sink, LineResult* error) override;

private:
    std::vector<ModemSettings> m_modems;
};

// A string a modem can dial: digits, * # A-D, "," pause, W wait for dial
// tone, @ wait for quiet answer, $ wait for the billing tone, ! flash, T/P
// tone or pulse, ";" stay in command state. A wait for the user (?) of a
// translated number becomes a pause. Blanks and the usual number punctuation
// (- ( ) . /) are dropped; anything else makes the string undialable
// (nullopt), so no text can smuggle a command to the modem.
std::optional<QString> modemDialString(const QString& address);

// The dial commands ("ATD...") that dial `dialString` on a modem whose
// command lines hold at most `maxLength` characters after "AT": one, or
// several that each end in ";" (the modem stays in command state for the
// next) and repeat the dialing method in force. The last ends in ";" when the
// dial string does or when `stayInCommandState` (voice dialing).
QStringList modemDialCommands(const QString& dialString, int maxLength, bool stayInCommandState);

// An open modem line: the port, its initialisation, calls out and in.
class ModemLine final : public QObject, public ProviderLine
{
    Q_OBJECT

public:
    ModemLine(ModemSettings settings, LineSink* sink);
    ~ModemLine() override;

    // Opens the port and queues the initialisation; a LINEERR_* value when
    // the port cannot be opened.
    LineResult start();

    void setReceiving(bool on) override;
    LineResult makeCall(HCALL call, quint32 requestId, const QString& address,
                        const LineCallParams& params) override;
    LineResult dial(HCALL call, quint32 requestId, const QString& address) override;
    LineResult drop(HCALL call, quint32 requestId) override;
    void release(HCALL call) override;

    // How long to wait before a data call counts as taken by the modem when
    // no refusal came back (milliseconds): at least this, and as long as the
    // modem takes to hear the dial tone (when the call starts) and dial.
    static constexpr int kAcceptDelayMs = 400;
    static constexpr int kDialToneWaitMs = 2000;
    // How often a receiving line whose modem went away tries to reopen it.
    static constexpr int kReopenDelayMs = 5000;
    // Caller ID without a call that no RING follows within this time is
    // forgotten, so it never joins a later call.
    static constexpr int kEarlyCallerIdMs = 4000;

private:
    struct Outgoing
    {
        HCALL call = 0;
        bool voice = true;
        bool dialingReported = false;
        bool proceedingReported = false;
        bool disconnected = false;
        quint32 pendingRequest = 0; // request awaiting its reply
        quint64 dialCommand = 0;    // the ATD in the port's queue
        QStringList commands;       // dial commands of the request still to go out
        bool answered = false;      // the ATD going out has had a line back
        bool failed = false;        // the dial failed and the line was told
        bool dropping = false;
        quint32 dropRequest = 0;
        bool online = false; // a data connection: "+++" before the hang-up
    };
    struct CallerId
    {
        QString number, name, date, time;
        bool withheld = false, unavailable = false, any = false;
        bool operator==(const CallerId&) const = default;
    };
    struct Incoming
    {
        HCALL call = 0; // 0: nobody took it, or it was dropped (still ringing)
        CallerId id;
        CallerId posted;
        bool dirty = false;
    };

    void initialise();
    QStringList callerIdCandidates() const;
    void enableCallerId(QStringList candidates);
    void sendDial(const QString& dialString, quint32 requestId);
    void onDialResult(HCALL call, bool semicolon, bool lastPiece, const AtPort::Reply& reply);
    void onDialAccepted();
    void replyPending(LineResult result);
    void reportProceeding();
    void disconnect(quint32 mode);
    void hangUp();
    void portFailed(const QString& reason);
    void onUnsolicited(const QString& line);
    void flushCallerId();
    void onRingTimeout();
    int dialTimeoutFor(const QString& command, bool semicolon) const;
    int dialingMs(const QString& command) const;
    void sendNextDialCommand(bool lastPiece);
    void dialFailed();
    void onDialInformation(quint64 id, const QString& line);
    void onLateCallResult(const QString& line);
    void nextIncomingCall();

    ModemSettings m_settings;
    LineSink* m_sink;
    AtPort* m_port;
    QTimer m_acceptTimer;
    QTimer m_ringTimer;
    QTimer m_cidTimer;
    QTimer m_reopenTimer;
    bool m_receiving = false;
    bool m_failed = false;
    QString m_callerIdCommand;
    std::optional<Outgoing> m_out;
    std::optional<Incoming> m_in;
    CallerId m_earlyId;             // caller ID that came before the first RING
    QDeadlineTimer m_earlyIdExpiry; // a RING must follow it before this
};

} // namespace telvaro
