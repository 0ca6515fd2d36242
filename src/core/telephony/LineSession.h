#pragma once

#include "core/telephony/lineapi/LineApi.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace telvaro {

// The program's registration with the line layer and its one line, and the
// handles and flags of call control (the Tapi module's shared variables).
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
    // The call the line event being handled is about (for LogIncomingCall).
    HCALL eventCall = 0;
};

TelephonySession& telephony();
// Back to a fresh start (tests).
void resetTelephonySession();

// The application name given to the line layer.
inline const QString kTelephonyAppName = QStringLiteral("Telvaro");
// The API versions offered in every negotiation.
constexpr quint32 kApiLowVersion = 0x00010003;
constexpr quint32 kApiHighVersion = 0x00030000;

// Registers with the line layer and writes the session record.
void InitializeTelephony();
// Negotiates the version for `device` and returns its capabilities (used
// size 0 when the device cannot be used).
LineDevCaps QueryLineDevice(quint32 device);
// The device names in device-id order, "Not Available" for a device that
// cannot be read; nothing (nullopt) when there are no devices, so the list
// shown stays as it was.
std::optional<QStringList> lineDeviceNames();
// Fills the options' device list (clear + one item per device); also sets
// the device box text to the first item. With no devices nothing changes.
void FillLineDeviceList(const std::function<void()>& clear,
                        const std::function<void(const QString&)>& addItem);
// Opens the selected line; falls back to owner + monitor with the media mode
// of the dialing-mode option; reports "Tapi: Error opening line!" when both
// attempts fail. Returns whether the line is open.
bool OpenLine(quint32 privileges, quint32 mediaModes);
void CloseLine();
// Ends the registration (closing its line) and removes the session record;
// the line state and the call handles are cleared in any case.
void ShutdownTelephony();

// The session record in the runtime folder: the process id and LineApp of
// the running session. A record left by a run that was killed is cleaned up
// at start-up (its serial-port locks released); one of this process (the
// start-up running again after New Profile) shuts its session down.
QString sessionRecordFile();
void CleanUpStaleSession();

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
