// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/lineapi/LineApi.h"

#include "core/telephony/lineapi/LineProvider.h"
#include "core/telephony/lineapi/ModemProvider.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

#include <deque>
#include <map>

namespace telvaro {
namespace {

constexpr quint32 kSupportedMedia = LINEMEDIAMODE_UNKNOWN | LINEMEDIAMODE_INTERACTIVEVOICE |
                                    LINEMEDIAMODE_AUTOMATEDVOICE | LINEMEDIAMODE_DATAMODEM;
constexpr size_t kMaxQueuedRequests = 32;

bool versionOk(quint32 v)
{
    return v >= TAPI_VERSION_LOW && v <= TAPI_VERSION_HIGH;
}

class Service;

// The sink of one open device: reports of its provider line go to the service.
class DeviceSink final : public LineSink
{
public:
    DeviceSink(Service* service, quint32 device) : m_service(service), m_device(device) {}
    void reply(quint32 requestId, LineResult result) override;
    void callState(HCALL call, quint32 state, quint32 mode) override;
    HCALL incomingCall(quint32 mediaMode) override;
    void callerId(HCALL call, quint32 flags, const QString& number, const QString& name,
                  const QString& date, const QString& time) override;

private:
    Service* m_service;
    quint32 m_device;
};

class Service
{
public:
    struct App
    {
        LINECALLBACK callback;
        QString name;
        bool recipient = false;
        quint32 registrationInstance = 0;
    };
    struct Line
    {
        HLINEAPP app = 0;
        quint32 device = 0;
        quint32 privileges = 0;
        quint32 mediaModes = 0;
        quintptr instance = 0;
    };
    struct Call
    {
        HLINE line = 0;
        quint32 device = 0;
        quint32 state = 0;
        bool announced = false;
        LineCallInfo info;
    };
    struct Device
    {
        LineProvider* provider = nullptr;
        int index = 0;
        std::unique_ptr<DeviceSink> sink;
        std::unique_ptr<ProviderLine> open;
    };
    struct Pending
    {
        HLINEAPP app = 0;
        quintptr instance = 0;
    };

    QPointer<QObject> poster;
    std::vector<std::unique_ptr<LineProvider>> providers;
    std::vector<Device> devices;
    std::map<HLINEAPP, App> apps;
    std::map<HLINE, Line> lines;
    std::map<HCALL, Call> calls;
    std::map<quint32, Pending> pending;
    std::deque<LineReqMakeCall> requests;
    std::map<QString, quint32> priorities;
    quint32 nextApp = 0x1001;
    quint32 nextLine = 0x10001;
    quint32 nextCall = 0x20001;
    quint32 nextRequest = 1;

    QObject* posterObject()
    {
        if (!poster) {
            poster = new QObject();
            if (QCoreApplication::instance()) {
                // Lives as long as the application, on its thread.
                poster->moveToThread(QCoreApplication::instance()->thread());
                QObject::connect(QCoreApplication::instance(), &QObject::destroyed, poster.data(),
                                 &QObject::deleteLater);
            }
        }
        return poster;
    }

    void post(HLINEAPP app, quint32 hDevice, quint32 msg, quintptr instance, quintptr p1,
              quintptr p2, quintptr p3, HCALL call = 0)
    {
        QMetaObject::invokeMethod(
            posterObject(),
            [this, app, hDevice, msg, instance, p1, p2, p3, call] {
                const auto a = apps.find(app);
                if (a == apps.end() || !a->second.callback)
                    return;
                // Messages about a call the application has let go of are
                // not delivered.
                if (call && !calls.count(call))
                    return;
                const LINECALLBACK cb = a->second.callback;
                cb(hDevice, msg, instance, p1, p2, p3);
            },
            Qt::QueuedConnection);
    }

    quint32 newRequestId(HLINEAPP app, quintptr instance)
    {
        const quint32 id = nextRequest;
        nextRequest = nextRequest >= 0x7fffffff ? 1 : nextRequest + 1;
        pending[id] = Pending{app, instance};
        return id;
    }

    void buildDevices(LineProviderSource* source)
    {
        providers = source ? source->providers() : defaultProviders();
        devices.clear();
        for (auto& p : providers) {
            for (int i = 0; i < p->deviceCount(); ++i) {
                Device d;
                d.provider = p.get();
                d.index = i;
                devices.push_back(std::move(d));
            }
        }
    }

    // Without a source: the configured serial modems.
    static std::vector<std::unique_ptr<LineProvider>> defaultProviders()
    {
        std::vector<std::unique_ptr<LineProvider>> out;
        out.push_back(std::make_unique<ModemProvider>());
        return out;
    }

    void updateReceiving(quint32 device)
    {
        if (device >= devices.size() || !devices[device].open)
            return;
        bool receive = false;
        for (const auto& [h, l] : lines) {
            if (l.device == device &&
                (l.privileges & (LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR)))
                receive = true;
        }
        devices[device].open->setReceiving(receive);
    }

    void releaseCall(HCALL h)
    {
        const auto it = calls.find(h);
        if (it == calls.end())
            return;
        const quint32 device = it->second.device;
        const bool active = it->second.state != LINECALLSTATE_IDLE;
        calls.erase(it);
        if (active && device < devices.size() && devices[device].open)
            devices[device].open->release(h);
    }

    void closeLine(HLINE h)
    {
        const auto it = lines.find(h);
        if (it == lines.end())
            return;
        const quint32 device = it->second.device;
        std::vector<HCALL> owned;
        for (const auto& [ch, c] : calls) {
            if (c.line == h)
                owned.push_back(ch);
        }
        // Each call of the line ends with it: the application hears so, as
        // from a provider, so that nothing of its own waits for the call.
        for (HCALL c : owned) {
            if (calls[c].state != LINECALLSTATE_IDLE && calls[c].announced)
                post(it->second.app, c, LINE_CALLSTATE, it->second.instance, LINECALLSTATE_IDLE, 0,
                     0);
            releaseCall(c);
        }
        lines.erase(it);
        bool stillOpen = false;
        for (const auto& [lh, l] : lines) {
            if (l.device == device)
                stillOpen = true;
        }
        if (!stillOpen && device < devices.size()) {
            devices[device].open.reset();
            devices[device].sink.reset();
        } else {
            updateReceiving(device);
        }
    }

    // Reports of the providers.
    void reply(quint32 requestId, LineResult result)
    {
        const auto it = pending.find(requestId);
        if (it == pending.end())
            return;
        const Pending p = it->second;
        pending.erase(it);
        post(p.app, 0, LINE_REPLY, p.instance, requestId, quintptr(quint32(result)), 0);
    }

    void callState(HCALL h, quint32 state, quint32 mode)
    {
        const auto it = calls.find(h);
        if (it == calls.end())
            return;
        Call& c = it->second;
        if (c.state == state && state != LINECALLSTATE_OFFERING)
            return;
        c.state = state;
        const auto l = lines.find(c.line);
        if (l == lines.end())
            return;
        quintptr privilege = 0;
        if (!c.announced) {
            c.announced = true;
            privilege = (l->second.privileges & LINECALLPRIVILEGE_OWNER) ||
                                c.info.origin == LINECALLORIGIN_OUTBOUND
                            ? LINECALLPRIVILEGE_OWNER
                            : LINECALLPRIVILEGE_MONITOR;
        }
        post(l->second.app, h, LINE_CALLSTATE, l->second.instance, state, mode, privilege, h);
    }

    HCALL incomingCall(quint32 device, quint32 mediaMode)
    {
        // The first line open to own calls gets it; else the first monitor.
        HLINE target = 0;
        for (const auto& [h, l] : lines) {
            if (l.device == device && (l.privileges & LINECALLPRIVILEGE_OWNER)) {
                target = h;
                break;
            }
        }
        if (!target) {
            for (const auto& [h, l] : lines) {
                if (l.device == device && (l.privileges & LINECALLPRIVILEGE_MONITOR)) {
                    target = h;
                    break;
                }
            }
        }
        if (!target)
            return 0;
        const HCALL h = nextCall++;
        Call c;
        c.line = target;
        c.device = device;
        c.info.hLine = target;
        c.info.lineDeviceId = device;
        c.info.mediaMode = mediaMode;
        c.info.origin = LINECALLORIGIN_INBOUND;
        calls[h] = c;
        return h;
    }

    void callerId(HCALL h, quint32 flags, const QString& number, const QString& name,
                  const QString& date, const QString& time)
    {
        const auto it = calls.find(h);
        if (it == calls.end())
            return;
        LineCallInfo& info = it->second.info;
        info.callerIDFlags = flags;
        info.callerID = number;
        info.callerIDName = name;
        info.callerDate = date;
        info.callerTime = time;
        const auto l = lines.find(it->second.line);
        if (l == lines.end())
            return;
        post(l->second.app, h, LINE_CALLINFO, l->second.instance, LINECALLINFOSTATE_CALLERID, 0, 0,
             h);
    }
};

Service& service()
{
    static Service s;
    return s;
}

void DeviceSink::reply(quint32 requestId, LineResult result)
{
    m_service->reply(requestId, result);
}
void DeviceSink::callState(HCALL call, quint32 state, quint32 mode)
{
    m_service->callState(call, state, mode);
}
HCALL DeviceSink::incomingCall(quint32 mediaMode)
{
    return m_service->incomingCall(m_device, mediaMode);
}
void DeviceSink::callerId(HCALL call, quint32 flags, const QString& number, const QString& name,
                          const QString& date, const QString& time)
{
    m_service->callerId(call, flags, number, name, date, time);
}

} // namespace

LineResult lineInitialize(HLINEAPP* lphLineApp, LINECALLBACK callback, const QString& appName,
                          quint32* lpdwNumDevs, LineProviderSource* providers)
{
    Service& s = service();
    if (!lphLineApp || !lpdwNumDevs)
        return LINEERR_INVALPOINTER;
    if (!callback)
        return LINEERR_INVALPARAM;
    if (s.apps.empty())
        s.buildDevices(providers);
    const HLINEAPP h = s.nextApp++;
    Service::App app;
    app.callback = std::move(callback);
    app.name = appName;
    s.apps[h] = std::move(app);
    *lphLineApp = h;
    *lpdwNumDevs = quint32(s.devices.size());
    return 0;
}

LineResult lineShutdown(HLINEAPP hLineApp)
{
    Service& s = service();
    if (!s.apps.count(hLineApp))
        return s.apps.empty() ? LINEERR_UNINITIALIZED : LINEERR_INVALAPPHANDLE;
    std::vector<HLINE> owned;
    for (const auto& [h, l] : s.lines) {
        if (l.app == hLineApp)
            owned.push_back(h);
    }
    for (HLINE h : owned)
        s.closeLine(h);
    for (auto it = s.pending.begin(); it != s.pending.end();) {
        if (it->second.app == hLineApp)
            it = s.pending.erase(it);
        else
            ++it;
    }
    s.apps.erase(hLineApp);
    if (s.apps.empty()) {
        s.devices.clear();
        s.providers.clear();
        // Waiting requests stay: the program's next session (a profile
        // reload) registers again and takes them.
    }
    return 0;
}

LineResult lineNegotiateAPIVersion(HLINEAPP hLineApp, quint32 dwDeviceID, quint32 dwAPILowVersion,
                                   quint32 dwAPIHighVersion, quint32* lpdwAPIVersion,
                                   LINEEXTENSIONID* lpExtensionID)
{
    Service& s = service();
    if (!s.apps.count(hLineApp))
        return LINEERR_INVALAPPHANDLE;
    if (dwDeviceID >= s.devices.size())
        return LINEERR_BADDEVICEID;
    if (!lpdwAPIVersion || !lpExtensionID)
        return LINEERR_INVALPOINTER;
    if (dwAPILowVersion > dwAPIHighVersion || dwAPIHighVersion < TAPI_VERSION_LOW ||
        dwAPILowVersion > TAPI_VERSION_HIGH)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    *lpdwAPIVersion = std::min(dwAPIHighVersion, TAPI_VERSION_HIGH);
    *lpExtensionID = LINEEXTENSIONID{};
    return 0;
}

// The checks every request on one device starts with: a known application,
// an existing device, somewhere to put the result and versions we speak.
static LineResult checkDeviceRequest(Service& s, HLINEAPP app, quint32 device, const void* out,
                                     quint32 apiVersion, quint32 extVersion)
{
    if (!s.apps.count(app))
        return LINEERR_INVALAPPHANDLE;
    if (device >= s.devices.size())
        return LINEERR_BADDEVICEID;
    if (!out)
        return LINEERR_INVALPOINTER;
    if (!versionOk(apiVersion))
        return LINEERR_INCOMPATIBLEAPIVERSION;
    if (extVersion != 0)
        return LINEERR_INCOMPATIBLEEXTVERSION;
    return 0;
}

LineResult lineGetDevCaps(HLINEAPP hLineApp, quint32 dwDeviceID, quint32 dwAPIVersion,
                          quint32 dwExtVersion, LineDevCaps* lpLineDevCaps)
{
    Service& s = service();
    if (const LineResult bad =
            checkDeviceRequest(s, hLineApp, dwDeviceID, lpLineDevCaps, dwAPIVersion, dwExtVersion))
        return bad;
    LineDevCaps caps;
    const auto& d = s.devices[dwDeviceID];
    if (!d.provider->devCaps(d.index, &caps))
        return LINEERR_NODEVICE;
    caps.permanentLineId = dwDeviceID;
    // A nominal size, as the fixed record plus its texts would take.
    caps.neededSize = caps.usedSize =
        240 + quint32(caps.lineName.size() + caps.providerInfo.size() + caps.switchInfo.size() + 3);
    *lpLineDevCaps = caps;
    return 0;
}

LineResult lineOpen(HLINEAPP hLineApp, quint32 dwDeviceID, HLINE* lphLine, quint32 dwAPIVersion,
                    quint32 dwExtVersion, quintptr dwCallbackInstance, quint32 dwPrivileges,
                    quint32 dwMediaModes, const LineCallParams* lpCallParams)
{
    Q_UNUSED(lpCallParams);
    Service& s = service();
    if (const LineResult bad =
            checkDeviceRequest(s, hLineApp, dwDeviceID, lphLine, dwAPIVersion, dwExtVersion))
        return bad;
    const quint32 owner = LINECALLPRIVILEGE_OWNER;
    const quint32 monitor = LINECALLPRIVILEGE_MONITOR;
    if (dwPrivileges != LINECALLPRIVILEGE_NONE && dwPrivileges != monitor &&
        dwPrivileges != owner && dwPrivileges != (owner | monitor))
        return LINEERR_INVALPRIVSELECT;
    if ((dwPrivileges & owner) && (dwMediaModes == 0 || (dwMediaModes & ~kSupportedMedia)))
        return LINEERR_INVALMEDIAMODE;

    Service::Device& d = s.devices[dwDeviceID];
    if (!d.open) {
        auto sink = std::make_unique<DeviceSink>(&s, dwDeviceID);
        LineResult error = LINEERR_OPERATIONFAILED;
        auto line = d.provider->open(d.index, sink.get(), &error);
        if (!line)
            return error < 0 ? error : LINEERR_OPERATIONFAILED;
        d.sink = std::move(sink);
        d.open = std::move(line);
    }
    const HLINE h = s.nextLine++;
    Service::Line l;
    l.app = hLineApp;
    l.device = dwDeviceID;
    l.privileges = dwPrivileges;
    l.mediaModes = dwMediaModes;
    l.instance = dwCallbackInstance;
    s.lines[h] = l;
    s.updateReceiving(dwDeviceID);
    *lphLine = h;
    return 0;
}

LineResult lineClose(HLINE hLine)
{
    Service& s = service();
    if (!s.lines.count(hLine))
        return s.apps.empty() ? LINEERR_UNINITIALIZED : LINEERR_INVALLINEHANDLE;
    s.closeLine(hLine);
    return 0;
}

LineResult lineMakeCall(HLINE hLine, HCALL* lphCall, const QString& lpszDestAddress,
                        quint32 dwCountryCode, const LineCallParams* lpCallParams)
{
    Q_UNUSED(dwCountryCode);
    Service& s = service();
    const auto l = s.lines.find(hLine);
    if (l == s.lines.end())
        return s.apps.empty() ? LINEERR_UNINITIALIZED : LINEERR_INVALLINEHANDLE;
    if (!lphCall)
        return LINEERR_INVALPOINTER;
    if (lpszDestAddress.trimmed().isEmpty())
        return LINEERR_INVALADDRESS;
    const LineCallParams params = lpCallParams ? *lpCallParams : LineCallParams{};
    // One media mode, and one the line can carry.
    if (params.mediaMode == 0 || (params.mediaMode & ~kSupportedMedia) ||
        (params.mediaMode & (params.mediaMode - 1)))
        return LINEERR_INVALCALLPARAMS;
    const quint32 device = l->second.device;
    Service::Device& d = s.devices[device];
    if (!d.open)
        return LINEERR_OPERATIONFAILED;

    const HCALL h = s.nextCall++;
    Service::Call c;
    c.line = hLine;
    c.device = device;
    c.info.hLine = hLine;
    c.info.lineDeviceId = device;
    c.info.mediaMode = params.mediaMode;
    c.info.origin = LINECALLORIGIN_OUTBOUND;
    c.info.callParamFlags = params.callParamFlags;
    c.info.displayableAddress = params.displayableAddress;
    c.info.calledID = lpszDestAddress;
    c.info.comment = params.comment;
    c.state = LINECALLSTATE_UNKNOWN; // until the provider reports

    // One call at a time on a line: the line is in use. A call that only
    // rings (offered, not answered) is the provider's to end when it dials.
    bool busy = false;
    for (const auto& [ch, other] : s.calls) {
        if (other.device == device && other.state != LINECALLSTATE_IDLE &&
            other.state != LINECALLSTATE_OFFERING)
            busy = true;
    }
    const quint32 request = s.newRequestId(l->second.app, l->second.instance);
    if (busy) {
        c.state = LINECALLSTATE_IDLE;
        s.calls[h] = c;
        *lphCall = h;
        s.reply(request, LINEERR_CALLUNAVAIL);
        return LineResult(request);
    }
    s.calls[h] = c;
    const LineResult r = d.open->makeCall(h, request, lpszDestAddress, params);
    if (r < 0) {
        s.calls.erase(h);
        s.pending.erase(request);
        *lphCall = 0;
        return r;
    }
    *lphCall = h;
    return LineResult(request);
}

LineResult lineDial(HCALL hCall, const QString& lpszDestAddress, quint32 dwCountryCode)
{
    Q_UNUSED(dwCountryCode);
    Service& s = service();
    const auto c = s.calls.find(hCall);
    if (c == s.calls.end())
        return LINEERR_INVALCALLHANDLE;
    if (c->second.state == LINECALLSTATE_IDLE || c->second.state == LINECALLSTATE_DISCONNECTED ||
        c->second.state == LINECALLSTATE_OFFERING)
        return LINEERR_INVALCALLSTATE;
    if (lpszDestAddress.trimmed().isEmpty())
        return LINEERR_INVALADDRESS;
    const auto l = s.lines.find(c->second.line);
    Service::Device& d = s.devices[c->second.device];
    if (l == s.lines.end() || !d.open)
        return LINEERR_INVALCALLHANDLE;
    const quint32 request = s.newRequestId(l->second.app, l->second.instance);
    const LineResult r = d.open->dial(hCall, request, lpszDestAddress);
    if (r < 0) {
        s.pending.erase(request);
        return r;
    }
    return LineResult(request);
}

LineResult lineDrop(HCALL hCall, const QByteArray& lpsUserUserInfo)
{
    Q_UNUSED(lpsUserUserInfo);
    Service& s = service();
    const auto c = s.calls.find(hCall);
    if (c == s.calls.end())
        return LINEERR_INVALCALLHANDLE;
    if (c->second.state == LINECALLSTATE_IDLE)
        return LINEERR_INVALCALLSTATE;
    const auto l = s.lines.find(c->second.line);
    Service::Device& d = s.devices[c->second.device];
    if (l == s.lines.end() || !d.open)
        return LINEERR_INVALCALLHANDLE;
    const quint32 request = s.newRequestId(l->second.app, l->second.instance);
    const LineResult r = d.open->drop(hCall, request);
    if (r < 0) {
        s.pending.erase(request);
        return r;
    }
    return LineResult(request);
}

LineResult lineDeallocateCall(HCALL hCall)
{
    Service& s = service();
    if (!s.calls.count(hCall))
        return LINEERR_INVALCALLHANDLE;
    s.releaseCall(hCall);
    return 0;
}

LineResult lineGetCallInfo(HCALL hCall, LineCallInfo* lpCallInfo)
{
    Service& s = service();
    const auto c = s.calls.find(hCall);
    if (c == s.calls.end())
        return LINEERR_INVALCALLHANDLE;
    if (!lpCallInfo)
        return LINEERR_INVALPOINTER;
    LineCallInfo info = c->second.info;
    info.callStates = LINECALLSTATE_IDLE | LINECALLSTATE_OFFERING | LINECALLSTATE_DIALING |
                      LINECALLSTATE_PROCEEDING | LINECALLSTATE_CONNECTED |
                      LINECALLSTATE_DISCONNECTED | LINECALLSTATE_UNKNOWN;
    info.neededSize = info.usedSize =
        296 + quint32(info.callerID.size() + info.callerIDName.size() + info.calledID.size() +
                      info.displayableAddress.size() + info.comment.size() + 5);
    *lpCallInfo = info;
    return 0;
}

LineResult lineSetAppPriority(const QString& lpszAppFilename, quint32 dwMediaMode,
                              const LINEEXTENSIONID* lpExtensionID, quint32 dwRequestMode,
                              const QString& lpszExtensionName, quint32 dwPriority)
{
    Q_UNUSED(lpExtensionID);
    Q_UNUSED(lpszExtensionName);
    if (lpszAppFilename.isEmpty())
        return LINEERR_INVALAPPNAME;
    if (dwMediaMode == 0 && dwRequestMode != LINEREQUESTMODE_MAKECALL)
        return LINEERR_INVALREQUESTMODE;
    if (dwPriority > 1)
        return LINEERR_INVALPARAM;
    service().priorities[lpszAppFilename.toLower()] = dwPriority;
    return 0;
}

LineResult lineRegisterRequestRecipient(HLINEAPP hLineApp, quint32 dwRegistrationInstance,
                                        quint32 dwRequestMode, quint32 bEnable)
{
    Service& s = service();
    const auto a = s.apps.find(hLineApp);
    if (a == s.apps.end())
        return LINEERR_INVALAPPHANDLE;
    if (dwRequestMode != LINEREQUESTMODE_MAKECALL)
        return LINEERR_INVALREQUESTMODE;
    if (!bEnable && !a->second.recipient)
        return LINEERR_NOTREGISTERED;
    a->second.recipient = bEnable != 0;
    a->second.registrationInstance = dwRegistrationInstance;
    // Requests that waited for a recipient are announced now.
    if (a->second.recipient && !s.requests.empty())
        s.post(hLineApp, 0, LINE_REQUEST, dwRegistrationInstance, LINEREQUESTMODE_MAKECALL, 0, 0);
    return 0;
}

LineResult lineGetRequest(HLINEAPP hLineApp, quint32 dwRequestMode,
                          LineReqMakeCall* lpRequestBuffer)
{
    Service& s = service();
    const auto a = s.apps.find(hLineApp);
    if (a == s.apps.end())
        return LINEERR_INVALAPPHANDLE;
    if (dwRequestMode != LINEREQUESTMODE_MAKECALL)
        return LINEERR_INVALREQUESTMODE;
    if (!lpRequestBuffer)
        return LINEERR_INVALPOINTER;
    if (!a->second.recipient)
        return LINEERR_NOTREGISTERED;
    if (s.requests.empty())
        return LINEERR_NOREQUEST;
    *lpRequestBuffer = s.requests.front();
    s.requests.pop_front();
    return 0;
}

LineResult tapiRequestMakeCall(const QString& destAddress, const QString& appName,
                               const QString& calledParty, const QString& comment)
{
    Service& s = service();
    // A destination is never cut: one that does not fit the request record
    // is refused.
    if (destAddress.trimmed().isEmpty() || destAddress.size() > 79)
        return TAPIERR_INVALDESTADDRESS;
    HLINEAPP recipient = 0;
    for (const auto& [h, a] : s.apps) {
        if (a.recipient) {
            recipient = h;
            break;
        }
    }
    if (!recipient)
        return TAPIERR_NOREQUESTRECIPIENT;
    if (s.requests.size() >= kMaxQueuedRequests)
        return TAPIERR_REQUESTQUEUEFULL;
    // The fields keep the sizes of the fixed request record, cut at whole
    // characters.
    const auto cut = [](const QString& text, qsizetype size) {
        if (text.size() > size && text.at(size - 1).isHighSurrogate() &&
            text.at(size).isLowSurrogate())
            --size;
        return text.left(size);
    };
    s.requests.push_back(
        LineReqMakeCall{destAddress, cut(appName, 39), cut(calledParty, 39), cut(comment, 79)});
    s.post(recipient, 0, LINE_REQUEST, s.apps[recipient].registrationInstance,
           LINEREQUESTMODE_MAKECALL, 0, 0);
    return 0;
}

QString callerIdBlockCode(const LineCallParams& params)
{
    return params.blockCallerIdCode.isEmpty() ? QStringLiteral("*67,") : params.blockCallerIdCode;
}

} // namespace telvaro
