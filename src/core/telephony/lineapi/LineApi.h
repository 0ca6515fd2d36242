// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The line layer: Telvaro's stand-in for the line functions of the Windows
// telephony API. It keeps their names, constants, error values and model: a
// request returns a positive request id at once and its result arrives later
// as LINE_REPLY; call states, caller information and requests from other
// programs arrive as LINE_CALLSTATE, LINE_CALLINFO and LINE_REQUEST. Every
// message reaches the registered callback through the Qt event loop, never
// from inside the call that caused it. Records are typed structures.
//
// The line devices come from providers (see LineProvider.h): the configured
// serial modems, or none at all. Dialing locations and number translation
// (lineGetTranslateCaps, lineGetCountry, lineTranslateAddress and the
// configuration dialogs) live in telephony/locations.

#include <QByteArray>
#include <QString>

#include <functional>

namespace telvaro {

using HLINEAPP = quint32;
using HLINE = quint32;
using HCALL = quint32;
// 0 for success, a positive request id, or a negative LINEERR_* value.
using LineResult = qint32;

// The callback registered with lineInitialize: device handle, message,
// callback instance, param 1 to 3.
using LINECALLBACK = std::function<void(quint32 hDevice, quint32 dwMsg, quintptr dwCallbackInstance,
                                        quintptr dwParam1, quintptr dwParam2, quintptr dwParam3)>;

// API versions the layer speaks.
constexpr quint32 TAPI_VERSION_LOW = 0x00010003;
constexpr quint32 TAPI_VERSION_HIGH = 0x00030000;

// Messages.
constexpr quint32 LINE_ADDRESSSTATE = 0;
constexpr quint32 LINE_CALLINFO = 1;
constexpr quint32 LINE_CALLSTATE = 2;
constexpr quint32 LINE_CLOSE = 3;
constexpr quint32 LINE_LINEDEVSTATE = 8;
constexpr quint32 LINE_REPLY = 12;
constexpr quint32 LINE_REQUEST = 13;

// Call states.
constexpr quint32 LINECALLSTATE_IDLE = 0x00000001;
constexpr quint32 LINECALLSTATE_OFFERING = 0x00000002;
constexpr quint32 LINECALLSTATE_ACCEPTED = 0x00000004;
constexpr quint32 LINECALLSTATE_DIALTONE = 0x00000008;
constexpr quint32 LINECALLSTATE_DIALING = 0x00000010;
constexpr quint32 LINECALLSTATE_RINGBACK = 0x00000020;
constexpr quint32 LINECALLSTATE_BUSY = 0x00000040;
constexpr quint32 LINECALLSTATE_SPECIALINFO = 0x00000080;
constexpr quint32 LINECALLSTATE_CONNECTED = 0x00000100;
constexpr quint32 LINECALLSTATE_PROCEEDING = 0x00000200;
constexpr quint32 LINECALLSTATE_ONHOLD = 0x00000400;
constexpr quint32 LINECALLSTATE_DISCONNECTED = 0x00004000;
constexpr quint32 LINECALLSTATE_UNKNOWN = 0x00008000;

// Disconnect modes (param 2 of LINE_CALLSTATE with LINECALLSTATE_DISCONNECTED).
constexpr quint32 LINEDISCONNECTMODE_NORMAL = 0x00000001;
constexpr quint32 LINEDISCONNECTMODE_UNKNOWN = 0x00000002;
constexpr quint32 LINEDISCONNECTMODE_REJECT = 0x00000004;
constexpr quint32 LINEDISCONNECTMODE_BUSY = 0x00000020;
constexpr quint32 LINEDISCONNECTMODE_NOANSWER = 0x00000040;
constexpr quint32 LINEDISCONNECTMODE_BADADDRESS = 0x00000080;
constexpr quint32 LINEDISCONNECTMODE_UNREACHABLE = 0x00000100;
constexpr quint32 LINEDISCONNECTMODE_CONGESTION = 0x00000200;
constexpr quint32 LINEDISCONNECTMODE_INCOMPATIBLE = 0x00000400;
// The line device failed (the modem stopped answering, sent garbage or went
// away).
constexpr quint32 LINEDISCONNECTMODE_UNAVAIL = 0x00000800;
constexpr quint32 LINEDISCONNECTMODE_NODIALTONE = 0x00001000;

// Privileges and media modes of lineOpen and of calls.
constexpr quint32 LINECALLPRIVILEGE_NONE = 0x00000001;
constexpr quint32 LINECALLPRIVILEGE_MONITOR = 0x00000002;
constexpr quint32 LINECALLPRIVILEGE_OWNER = 0x00000004;

constexpr quint32 LINEMEDIAMODE_UNKNOWN = 0x00000002;
constexpr quint32 LINEMEDIAMODE_INTERACTIVEVOICE = 0x00000004;
constexpr quint32 LINEMEDIAMODE_AUTOMATEDVOICE = 0x00000008;
constexpr quint32 LINEMEDIAMODE_DATAMODEM = 0x00000010;

constexpr quint32 LINEBEARERMODE_VOICE = 0x00000001;

constexpr quint32 LINECALLPARAMFLAGS_SECURE = 0x00000001;
constexpr quint32 LINECALLPARAMFLAGS_IDLE = 0x00000002;
constexpr quint32 LINECALLPARAMFLAGS_BLOCKID = 0x00000004;

// Call information states (param 1 of LINE_CALLINFO).
constexpr quint32 LINECALLINFOSTATE_OTHER = 0x00000001;
constexpr quint32 LINECALLINFOSTATE_CALLERID = 0x00008000;

// How much of a party's identity is known (LineCallInfo::callerIDFlags).
constexpr quint32 LINECALLPARTYID_BLOCKED = 0x00000001;
constexpr quint32 LINECALLPARTYID_OUTOFAREA = 0x00000002;
constexpr quint32 LINECALLPARTYID_NAME = 0x00000004;
constexpr quint32 LINECALLPARTYID_ADDRESS = 0x00000008;
constexpr quint32 LINECALLPARTYID_UNKNOWN = 0x00000020;
constexpr quint32 LINECALLPARTYID_UNAVAIL = 0x00000040;

constexpr quint32 LINECALLORIGIN_OUTBOUND = 0x00000001;
constexpr quint32 LINECALLORIGIN_INBOUND = 0x00000080;

// Assisted telephony requests.
constexpr quint32 LINEREQUESTMODE_MAKECALL = 0x00000001;

// Error values: negative as LineResult, 0x8000xxxx as unsigned.
constexpr LineResult lineError(quint32 code)
{
    return static_cast<LineResult>(code);
}
constexpr LineResult LINEERR_ALLOCATED = lineError(0x80000001);
constexpr LineResult LINEERR_BADDEVICEID = lineError(0x80000002);
constexpr LineResult LINEERR_CALLUNAVAIL = lineError(0x80000005);
constexpr LineResult LINEERR_INCOMPATIBLEAPIVERSION = lineError(0x8000000C);
constexpr LineResult LINEERR_INCOMPATIBLEEXTVERSION = lineError(0x8000000D);
constexpr LineResult LINEERR_INUSE = lineError(0x8000000F);
constexpr LineResult LINEERR_INVALADDRESS = lineError(0x80000010);
constexpr LineResult LINEERR_INVALAPPHANDLE = lineError(0x80000014);
constexpr LineResult LINEERR_INVALAPPNAME = lineError(0x80000015);
constexpr LineResult LINEERR_INVALCALLHANDLE = lineError(0x80000018);
constexpr LineResult LINEERR_INVALCALLPARAMS = lineError(0x80000019);
constexpr LineResult LINEERR_INVALCALLSTATE = lineError(0x8000001C);
constexpr LineResult LINEERR_INVALLINEHANDLE = lineError(0x8000002B);
constexpr LineResult LINEERR_INVALMEDIAMODE = lineError(0x8000002F);
constexpr LineResult LINEERR_INVALPARAM = lineError(0x80000032);
constexpr LineResult LINEERR_INVALPOINTER = lineError(0x80000035);
constexpr LineResult LINEERR_INVALPRIVSELECT = lineError(0x80000036);
constexpr LineResult LINEERR_INVALREQUESTMODE = lineError(0x80000038);
constexpr LineResult LINEERR_NODEVICE = lineError(0x80000042);
constexpr LineResult LINEERR_NODRIVER = lineError(0x80000043);
constexpr LineResult LINEERR_NOMEM = lineError(0x80000044);
constexpr LineResult LINEERR_NOREQUEST = lineError(0x80000045);
constexpr LineResult LINEERR_NOTOWNER = lineError(0x80000046);
constexpr LineResult LINEERR_NOTREGISTERED = lineError(0x80000047);
constexpr LineResult LINEERR_OPERATIONFAILED = lineError(0x80000048);
constexpr LineResult LINEERR_OPERATIONUNAVAIL = lineError(0x80000049);
constexpr LineResult LINEERR_RESOURCEUNAVAIL = lineError(0x8000004B);
constexpr LineResult LINEERR_UNINITIALIZED = lineError(0x80000050);

// Errors of tapiRequestMakeCall.
constexpr LineResult TAPIERR_NOREQUESTRECIPIENT = -2;
constexpr LineResult TAPIERR_REQUESTQUEUEFULL = -3;
constexpr LineResult TAPIERR_INVALDESTADDRESS = -4;

struct LINEEXTENSIONID
{
    quint32 dwExtensionID0 = 0;
    quint32 dwExtensionID1 = 0;
    quint32 dwExtensionID2 = 0;
    quint32 dwExtensionID3 = 0;
};

// A line device's capabilities (lineGetDevCaps).
struct LineDevCaps
{
    quint32 neededSize = 0;
    quint32 usedSize = 0; // 0: nothing was filled in
    QString providerInfo;
    QString switchInfo;
    quint32 permanentProviderId = 0;
    quint32 permanentLineId = 0;
    QString lineName;
    quint32 numAddresses = 0;
    quint32 maxNumActiveCalls = 0;
    quint32 bearerModes = 0;
    quint32 maxRate = 0;
    quint32 mediaModes = 0;
    // The serial port behind the device, for the configuration dialogs.
    QString portName;
};

// Call parameters of lineMakeCall.
struct LineCallParams
{
    quint32 bearerMode = LINEBEARERMODE_VOICE;
    quint32 minRate = 0;
    quint32 maxRate = 0;
    quint32 mediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
    quint32 callParamFlags = 0;
    quint32 addressId = 0;
    QString displayableAddress;
    QString calledParty;
    QString comment;
    QString blockCallerIdCode; // dialed first with LINECALLPARAMFLAGS_BLOCKID
};

// A call's information (lineGetCallInfo).
struct LineCallInfo
{
    quint32 neededSize = 0;
    quint32 usedSize = 0;
    HLINE hLine = 0;
    quint32 lineDeviceId = 0;
    quint32 addressId = 0;
    quint32 bearerMode = LINEBEARERMODE_VOICE;
    quint32 mediaMode = 0;
    quint32 callStates = 0; // the call states the line can report
    quint32 origin = 0;
    quint32 callParamFlags = 0;
    quint32 callerIDFlags = LINECALLPARTYID_UNKNOWN;
    QString callerID;
    QString callerIDName;
    quint32 calledIDFlags = LINECALLPARTYID_UNKNOWN;
    QString calledID;
    QString displayableAddress;
    QString comment;
    // The date and time the caller ID report gave ("MMDD", "HHMM"), when any.
    QString callerDate;
    QString callerTime;
};

// An assisted-telephony make-call request (lineGetRequest).
struct LineReqMakeCall
{
    QString destAddress;
    QString appName;
    QString calledParty;
    QString comment;
};

class LineProviderSource;

// The session. The first registration builds the devices from `providers`
// (null: the configured serial modems); later ones share them.
LineResult lineInitialize(HLINEAPP* lphLineApp, LINECALLBACK callback, const QString& appName,
                          quint32* lpdwNumDevs, LineProviderSource* providers = nullptr);
LineResult lineShutdown(HLINEAPP hLineApp);

// Devices.
LineResult lineNegotiateAPIVersion(HLINEAPP hLineApp, quint32 dwDeviceID, quint32 dwAPILowVersion,
                                   quint32 dwAPIHighVersion, quint32* lpdwAPIVersion,
                                   LINEEXTENSIONID* lpExtensionID);
LineResult lineGetDevCaps(HLINEAPP hLineApp, quint32 dwDeviceID, quint32 dwAPIVersion,
                          quint32 dwExtVersion, LineDevCaps* lpLineDevCaps);

// Lines. Privileges 0 (or any other value than NONE, MONITOR, OWNER or
// MONITOR + OWNER) fail with LINEERR_INVALPRIVSELECT; with OWNER the media
// modes must be given. A line opened with OWNER or MONITOR offers incoming
// calls.
LineResult lineOpen(HLINEAPP hLineApp, quint32 dwDeviceID, HLINE* lphLine, quint32 dwAPIVersion,
                    quint32 dwExtVersion, quintptr dwCallbackInstance, quint32 dwPrivileges,
                    quint32 dwMediaModes, const LineCallParams* lpCallParams);
LineResult lineClose(HLINE hLine);

// Calls. lineMakeCall, lineDial and lineDrop return a request id; the result
// follows as LINE_REPLY. A dial string is the address as the modem dials it:
// a leading "T" or "P" selects tone or pulse; a trailing ";" says more digits
// follow with lineDial.
LineResult lineMakeCall(HLINE hLine, HCALL* lphCall, const QString& lpszDestAddress,
                        quint32 dwCountryCode, const LineCallParams* lpCallParams);
LineResult lineDial(HCALL hCall, const QString& lpszDestAddress, quint32 dwCountryCode);
LineResult lineDrop(HCALL hCall, const QByteArray& lpsUserUserInfo = {});
LineResult lineDeallocateCall(HCALL hCall);
LineResult lineGetCallInfo(HCALL hCall, LineCallInfo* lpCallInfo);

// Requests from other programs (assisted telephony).
LineResult lineSetAppPriority(const QString& lpszAppFilename, quint32 dwMediaMode,
                              const LINEEXTENSIONID* lpExtensionID, quint32 dwRequestMode,
                              const QString& lpszExtensionName, quint32 dwPriority);
LineResult lineRegisterRequestRecipient(HLINEAPP hLineApp, quint32 dwRegistrationInstance,
                                        quint32 dwRequestMode, quint32 bEnable);
LineResult lineGetRequest(HLINEAPP hLineApp, quint32 dwRequestMode,
                          LineReqMakeCall* lpRequestBuffer);
// Queues a make-call request for the registered recipient, which is told with
// LINE_REQUEST. Returns 0, TAPIERR_NOREQUESTRECIPIENT, TAPIERR_REQUESTQUEUEFULL
// or TAPIERR_INVALDESTADDRESS.
LineResult tapiRequestMakeCall(const QString& destAddress, const QString& appName,
                               const QString& calledParty, const QString& comment);

// The code dialed before the number when a call asks to hide the caller's
// identity (LINECALLPARAMFLAGS_BLOCKID): the one the call's parameters carry
// (the dialing location's), "*67," when they carry none.
QString callerIdBlockCode(const LineCallParams& params);

} // namespace telvaro
