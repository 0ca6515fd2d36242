// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/Call.h"
#include "core/telephony/ClockWait.h"
#include "core/telephony/lineapi/LineApi.h"
#include "core/telephony/lineapi/LineProvider.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace telvaro {

class CurrentProfile;
class OptionsStore;
namespace calllog {
class CallLogWriter;
}

// The program's registration with the line layer and its one line, and the
// handles and flags of call control.
struct TelephonySession
{
    // Line session.
    HLINEAPP lineApp = 0;
    quint32 lineDeviceCount = 0;
    quint32 lineApiVersion = 0; // of the last successful negotiation
    HLINE lineHandle = 0;       // not cleared by closing
    bool lineIsOpen = false;
    bool lineReceiving = false; // open with owner and monitor privileges: calls are offered
    LineResult lastResult = 0;  // of the last line-layer call

    // Call control.
    HCALL callHandle = 0;
    LineResult makeCallRequestId = 0; // of lineMakeCall or the last lineDial; 0 once answered
    LineResult dropRequestId = 0;
    bool dropCompleted = true;
    bool dialingSeen = false;
    bool requestSignalled = false; // LINE_REQUEST came; cleared when a request is taken
    bool requestTaken = false;     // the next lineMakeCall is for a request taken now
};

// How the line is opened.
enum class LineUse {
    Dial,     // for an outgoing call: the line layer picks the privileges it allows
    Receive,  // owner and monitor, voice: incoming calls are offered and logged
    DialOnly, // no privileges, data: calls go out, none are offered
};

// What the dial procedure needs of the line: the outgoing call and the means
// to place and drop it. The line service is the program's; tests give their own.
class DialLine
{
public:
    virtual ~DialLine() = default;
    virtual Call& call() = 0;
    virtual bool isOpen() const = 0;
    // Opens the line for an outgoing call; false (and the error shown) when it
    // cannot be opened.
    virtual bool open(LineUse use) = 0;
    // Shows the call progress window and places the call with the first piece.
    virtual void makeCall(const QString& firstPiece) = 0;
    virtual void dropCall() = 0;
};

// The caller ID block code a call that conceals the caller dials first.
class BlockCodeSource
{
public:
    virtual ~BlockCodeSource() = default;
    virtual QString blockCallerIdCode() = 0;
};

// The telephony part: the session with the line layer, the one line, call
// control of the outgoing call, the incoming calls offered on the line (each
// with exactly one record in the incoming log of the profile where it rang),
// and the queue of make-call requests from other programs. Everything the
// line layer reports arrives through its events; what the rest of the
// program is to do about them goes out as signals.
class LineService : public QObject, public DialLine
{
    Q_OBJECT

public:
    // `providers`: the line layer's providers (the program's are
    // ProgramLineProviders; null: the configured serial modems only);
    // `blockCodes`: where the caller ID block code comes from (null: none);
    // `profile`: the profile whose incoming log gets the calls offered (null:
    // "Untitled"); `logs`: the writer of those records (null: one of its own,
    // whose failures nobody is told of).
    explicit LineService(LineProviderSource* providers = nullptr,
                         BlockCodeSource* blockCodes = nullptr,
                         const CurrentProfile* profile = nullptr,
                         calllog::CallLogWriter* logs = nullptr, QObject* parent = nullptr);
    ~LineService() override;

    TelephonySession& session() { return m_session; }
    const TelephonySession& session() const { return m_session; }
    Call& call() override { return m_call; }

    // ---- line session
    // Registers with the line layer and writes the session record.
    void initialize();
    // Ends the registration (closing its line) and removes the session record;
    // the line state and the call handles are cleared in any case.
    void shutdown();
    // A session record left by a run that was killed is cleaned up (its
    // serial-port locks released); one of this process (start-up running
    // again after New Profile) shuts its session down.
    void cleanUpStaleSession();
    // Negotiates the version for `device` and returns its capabilities (used
    // size 0 when the device cannot be used).
    LineDevCaps queryDevice(int device);
    // The device names in device-id order, "Not Available" for a device that
    // cannot be read; nothing when there are no devices.
    std::optional<QStringList> deviceNames();
    // Puts the device names into the options (positions equal device ids)
    // and shows the first; with no devices the list stays as it was.
    void fillDeviceList(OptionsStore& store);
    bool isOpen() const override { return m_session.lineIsOpen; }
    // Open with owner and monitor privileges: calls are offered.
    bool isReceiving() const { return m_session.lineIsOpen && m_session.lineReceiving; }
    // Opens the selected line; falls back to owner + monitor with the media
    // mode of the dialing-mode option; reports "Tapi: Error opening line!"
    // when both attempts fail. Returns whether the line is open.
    bool open(LineUse use) override;
    void close();

    // ---- call control
    void makeCall(const QString& firstPiece) override;
    void dropCall() override;

    // ---- incoming calls
    // The caller of the last incoming call the line told about.
    const QString& callerName() const { return m_callerName; }
    const QString& callerNumber() const { return m_callerNumber; }
    // Whether `call` is an offered call that has not ended.
    bool incomingCallLive(HCALL call) const;
    // The call the caller display was opened for (0: none).
    HCALL callDisplayCall() const { return m_displayCall; }
    void setCallDisplayCall(HCALL call) { m_displayCall = call; }
    // OK of the caller display: forgets the call the window was opened for.
    // The call rings on and keeps its one record.
    void acknowledgeCallDisplay();

    // Follows the options: the receive box ("Allow Call I&D (Call Display) ")
    // closes the line and opens it again for receiving or dialing only; the
    // box "Accept dialing numbers from other applications" registers for
    // requests or stops; the device list is filled when it is wanted.
    void followOptions(OptionsStore& store);

    // ---- requests of other programs
    // Registers the program as the recipient of requests (or stops).
    void setRequestRecipient(bool accept);
    // Takes the next waiting request; false when there is none.
    bool takeRequest(LineReqMakeCall* request);

    // The line layer's event (its callback).
    void lineEvent(quint32 hDevice, quint32 dwMsg, quintptr dwParam1, quintptr dwParam2);

Q_SIGNALS:
    // The line was opened or closed for receiving.
    void receivingChanged();
    // The caller of `call` is known, or was found out again.
    void callerIdentified(HCALL call);
    // A call is offered and the caller display is wanted for it.
    void callOffered(HCALL call);
    // A call ended: the caller display goes when its own call is over.
    void callDisplayMayClose();
    // The line is free, or a request came: waiting requests may be taken.
    void requestsMayProceed();

private:
    void receiveSwitched(OptionsStore& store);
    void placeCall(const QString& firstPiece);
    void dialNextPart();
    void releaseCall(HCALL& call);
    void reportCallError();
    bool openLine(quint32 privileges, quint32 mediaModes);
    LineCallParams callParams();
    // Incoming calls.
    void logIncomingCall(HCALL call);
    void incomingCallEnded(HCALL call);
    void flushIncomingRecords();

    // An offered call whose record may still be due.
    struct OfferedCall
    {
        QString logPath; // the incoming log of the profile where it rang
        QDateTime rang;  // when it rang: the time of its record
        bool written = false;
    };
    void writeUnknown(OfferedCall& offered);

    LineProviderSource* m_providers;
    BlockCodeSource* m_blockCodes;
    const CurrentProfile* m_profile;
    std::unique_ptr<calllog::CallLogWriter> m_ownLogs;
    calllog::CallLogWriter* m_logs;
    TelephonySession m_session;
    Call m_call;
    QHash<HCALL, OfferedCall> m_live;
    QSet<HCALL> m_ended; // information arriving late for these is ignored
    HCALL m_displayCall = 0;
    QString m_callerName;
    QString m_callerNumber;
    // The moment a request from another program gets before its call: the
    // piece to dial waits here while the event loop runs on.
    ClockWait m_requestMoment{this};
    QString m_momentPiece;
    bool m_switchingReceive = false;
};

// The application name given to the line layer.
inline const QString kTelephonyAppName = QStringLiteral("Telvaro");
// The API versions offered in every negotiation.
constexpr quint32 kApiLowVersion = 0x00010003;
constexpr quint32 kApiHighVersion = 0x00030000;

// The session record in the runtime folder: the process id and LineApp of
// the running session.
QString sessionRecordFile();

// The content of the session record: "hTapi=<LineApp>" and "pid=<id>" lines.
struct SessionRecord
{
    quint32 lineApp = 0;
    qint64 pid = 0; // 0 when the record names no process id that can exist
};
QByteArray sessionRecordBytes(const SessionRecord& record);
// Reads the record's lines (blanks around keys and values, CR LF, other
// lines and a cut last line are taken in stride); a value that is no number
// in range reads as 0.
SessionRecord parseSessionRecord(QByteArrayView bytes);

} // namespace telvaro
