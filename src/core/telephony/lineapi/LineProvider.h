// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/LineApi.h"

#include <functional>
#include <memory>
#include <vector>

namespace telvaro {

// What a provider tells the line layer about an open line. Calls are named by
// the id the layer gave them (their HCALL). The layer turns each report into
// messages for the application, delivered through the event loop, so a
// provider may report from anywhere, even from inside a request.
class LineSink
{
public:
    virtual ~LineSink() = default;
    // The result of an asynchronous request (0 or a LINEERR_* value).
    virtual void reply(quint32 requestId, LineResult result) = 0;
    // A call's new state; `mode` is the disconnect mode for DISCONNECTED.
    virtual void callState(HCALL call, quint32 state, quint32 mode = 0) = 0;
    // A call arrives; the layer offers it to a line opened to receive and
    // returns its id, or 0 when no line takes it (the provider then ignores it).
    virtual HCALL incomingCall(quint32 mediaMode) = 0;
    // The caller's identity became known or changed.
    virtual void callerId(HCALL call, quint32 flags, const QString& number, const QString& name,
                          const QString& date, const QString& time) = 0;
};

// An open line device of a provider.
class ProviderLine
{
public:
    virtual ~ProviderLine() = default;
    // Whether incoming calls are to be offered (a line is open with OWNER or
    // MONITOR privileges).
    virtual void setReceiving(bool on) = 0;
    // Places a call; the reply to `requestId` follows. A negative result
    // refuses the request at once (no reply follows).
    virtual LineResult makeCall(HCALL call, quint32 requestId, const QString& address,
                                const LineCallParams& params) = 0;
    // Dials more digits on a call.
    virtual LineResult dial(HCALL call, quint32 requestId, const QString& address) = 0;
    // Ends a call: the reply follows, then the idle state.
    virtual LineResult drop(HCALL call, quint32 requestId) = 0;
    // The application let go of the call; a call still active is ended
    // without further reports.
    virtual void release(HCALL call) = 0;
};

// A source of line devices.
class LineProvider
{
public:
    virtual ~LineProvider() = default;
    virtual int deviceCount() const = 0;
    // The capabilities of device `index` (0-based within the provider);
    // false when the device cannot be used.
    virtual bool devCaps(int index, LineDevCaps* caps) = 0;
    // Opens device `index`; null and a LINEERR_* value in `error` on failure.
    virtual std::unique_ptr<ProviderLine> open(int index, LineSink* sink, LineResult* error) = 0;
};

// Where the line layer gets its providers at the first registration: the
// configured serial modems and SIP accounts, or a test's own.
class LineProviderSource
{
public:
    virtual ~LineProviderSource() = default;
    virtual std::vector<std::unique_ptr<LineProvider>> providers() = 0;
};

} // namespace telvaro
