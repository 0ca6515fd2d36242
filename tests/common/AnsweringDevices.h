// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/LineProvider.h"

#include <QStringList>

namespace telvaro::test {

// One line device, "Test Modem", whose every call is answered: the request
// succeeds, the call dials and proceeds; a drop ends it. The addresses dialed
// are kept in `calls`. The line layer delivers the reports through the event
// loop, as it does a modem's.
class AnsweringDevices final : public LineProviderSource
{
public:
    QStringList calls;
    int drops = 0;

    std::vector<std::unique_ptr<LineProvider>> providers() override
    {
        std::vector<std::unique_ptr<LineProvider>> v;
        v.push_back(std::make_unique<Provider>(this));
        return v;
    }

private:
    class Line final : public ProviderLine
    {
    public:
        Line(AnsweringDevices* owner, LineSink* sink) : m_owner(owner), m_sink(sink) {}
        void setReceiving(bool) override {}
        LineResult makeCall(HCALL call, quint32 requestId, const QString& address,
                            const LineCallParams&) override
        {
            m_owner->calls << address;
            m_sink->reply(requestId, 0);
            m_sink->callState(call, LINECALLSTATE_DIALING);
            m_sink->callState(call, LINECALLSTATE_PROCEEDING);
            return 0;
        }
        LineResult dial(HCALL, quint32 requestId, const QString&) override
        {
            m_sink->reply(requestId, 0);
            return 0;
        }
        LineResult drop(HCALL call, quint32 requestId) override
        {
            ++m_owner->drops;
            m_sink->reply(requestId, 0);
            m_sink->callState(call, LINECALLSTATE_IDLE);
            return 0;
        }
        void release(HCALL) override {}

    private:
        AnsweringDevices* m_owner;
        LineSink* m_sink;
    };
    class Provider final : public LineProvider
    {
    public:
        explicit Provider(AnsweringDevices* owner) : m_owner(owner) {}
        int deviceCount() const override { return 1; }
        bool devCaps(int, LineDevCaps* caps) override
        {
            caps->lineName = QStringLiteral("Test Modem");
            return true;
        }
        std::unique_ptr<ProviderLine> open(int, LineSink* sink, LineResult*) override
        {
            return std::make_unique<Line>(m_owner, sink);
        }

    private:
        AnsweringDevices* m_owner;
    };
};

} // namespace telvaro::test
