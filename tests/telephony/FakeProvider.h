// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/LineProvider.h"

#include <QStringList>

namespace telvaro::test {

// A line device whose requests are recorded and answered by the test.
struct FakeLineLog
{
    QStringList requests; // "makeCall T5551234 media=16 flags=6", "dial ...", "drop"
    LineSink* sink = nullptr;
    quint32 lastRequest = 0;
    HCALL lastCall = 0;
    bool receiving = false;
    LineResult refuseMakeCall = 0;
    int opens = 0;
};

class FakeLine final : public ProviderLine
{
public:
    explicit FakeLine(FakeLineLog* log) : m_log(log) {}
    void setReceiving(bool on) override { m_log->receiving = on; }
    LineResult makeCall(HCALL call, quint32 requestId, const QString& address,
                        const LineCallParams& p) override
    {
        if (m_log->refuseMakeCall)
            return m_log->refuseMakeCall;
        m_log->requests << QStringLiteral("makeCall %1 media=%2 flags=%3")
                               .arg(address)
                               .arg(p.mediaMode)
                               .arg(p.callParamFlags);
        m_log->lastRequest = requestId;
        m_log->lastCall = call;
        return 0;
    }
    LineResult dial(HCALL, quint32 requestId, const QString& address) override
    {
        m_log->requests << QStringLiteral("dial %1").arg(address);
        m_log->lastRequest = requestId;
        return 0;
    }
    LineResult drop(HCALL, quint32 requestId) override
    {
        m_log->requests << QStringLiteral("drop");
        m_log->lastRequest = requestId;
        return 0;
    }
    void release(HCALL) override { m_log->requests << QStringLiteral("release"); }

private:
    FakeLineLog* m_log;
};

// Devices by name; an empty name is a device whose capabilities cannot be read.
class FakeProvider final : public LineProvider
{
public:
    FakeProvider(QStringList names, FakeLineLog* log) : m_names(std::move(names)), m_log(log) {}
    int deviceCount() const override { return int(m_names.size()); }
    bool devCaps(int index, LineDevCaps* caps) override
    {
        if (m_names.at(index).isEmpty())
            return false;
        caps->lineName = m_names.at(index);
        return true;
    }
    std::unique_ptr<ProviderLine> open(int, LineSink* sink, LineResult*) override
    {
        m_log->sink = sink;
        ++m_log->opens;
        return std::make_unique<FakeLine>(m_log);
    }

private:
    QStringList m_names;
    FakeLineLog* m_log;
};

// The line layer's providers for a line service under test: one fake
// provider with `names`.
class FakeDevices final : public LineProviderSource
{
public:
    FakeDevices(QStringList names, FakeLineLog* log) : m_names(std::move(names)), m_log(log) {}
    std::vector<std::unique_ptr<LineProvider>> providers() override
    {
        std::vector<std::unique_ptr<LineProvider>> v;
        v.push_back(std::make_unique<FakeProvider>(m_names, m_log));
        return v;
    }

private:
    QStringList m_names;
    FakeLineLog* m_log;
};

} // namespace telvaro::test
