// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dialing/ExternalRequests.h"

#include "core/common/CommandLine.h"
#include "core/common/Helpers.h"
#include "core/dialing/DialString.h"
#include "core/dialing/Dialer.h"
#include "core/dialing/NumberTranslation.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineService.h"
#include "core/telephony/lineapi/LineApi.h"
#include "settings/OptionsStore.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QFileInfo>

#include <algorithm>

namespace telvaro {
namespace {

bool hasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// At most `size` UTF-16 units of `text`, never half of a surrogate pair.
QString leftWhole(const QString& text, qsizetype size)
{
    if (text.size() <= size)
        return text;
    if (size > 0 && text.at(size - 1).isHighSurrogate() && text.at(size).isLowSurrogate())
        --size;
    return text.left(size);
}

} // namespace

CheckedRequest checkMakeCallRequest(const QString& destAddress, const QString& appName,
                                    const QString& calledParty, const QString& comment)
{
    CheckedRequest r;
    r.destination = destAddress.trimmed();
    r.valid = !r.destination.isEmpty() && r.destination.size() <= kMaxDestAddress &&
              !hasControlCharacter(r.destination);
    r.appName = leftWhole(withoutControlCharacters(appName), kMaxRequestName);
    r.calledParty = leftWhole(withoutControlCharacters(calledParty), kMaxRequestName);
    r.comment = leftWhole(withoutControlCharacters(comment), kMaxRequestComment);
    return r;
}

QString dialableOutsideNumber(const QString& number, LineTranslation& translation)
{
    const QString text = number.trimmed();
    if (!text.startsWith(u'+'))
        return number;
    CurrentLocation location;
    if (!translation.readLocation(&location) || location.countryCode <= 0)
        return number;
    const QString digits = dialstr::cleanNumber(text.mid(1));
    const QString country = QString::number(location.countryCode);
    if (digits.startsWith(country))
        return dialstr::digitsOnly(location.longDistanceRule) + digits.mid(country.size());
    const QString international = dialstr::digitsOnly(location.internationalRule);
    return international.isEmpty() ? number : international + digits;
}

DialRequest outsideDialRequest(const QString& number, const QString& name, DialOrigin origin,
                               LineTranslation& translation)
{
    // A decoded link may carry control characters the caller did not show.
    return DialRequest{dialableOutsideNumber(withoutControlCharacters(number), translation),
                       withoutControlCharacters(name), QStringLiteral("0"), origin};
}

CallRequests::CallRequests(LineService& line, Dialer& dialer, LineTranslation& translation,
                           QObject* parent)
    : QObject(parent), m_line(line), m_dialer(dialer), m_translation(translation)
{
    connect(&line, &LineService::requestsMayProceed, this, &CallRequests::process);
    connect(&dialer, &Dialer::readyForRequests, this, &CallRequests::process);
}

void CallRequests::setMemoOpen(bool open)
{
    m_memoOpen = open;
    if (!open)
        process();
}

void CallRequests::process()
{
    Call& call = m_line.call();
    for (;;) {
        if (m_dialer.connectWindow().visible || m_memoOpen)
            return; // taken when the call window or the memo pad closes
        m_dialer.unloadConnectWindow();
        // A call still on the line (dropped after OK, not yet idle) would
        // refuse the next one: its idle state asks again.
        if (call.placed || call.requestInProgress || m_line.session().callHandle != 0)
            return;
        LineReqMakeCall request;
        if (!m_line.takeRequest(&request))
            return;
        call.requestInProgress = true;
        m_dialer.dial(outsideDialRequest(numberFromLink(TrimAtNull(request.destAddress)),
                                         TrimAtNull(request.calledParty), DialOrigin::OtherProgram,
                                         m_translation));
        if (call.placed || m_dialer.connectWindow().visible)
            return; // the line or the call window's closing asks for the next
        call.requestInProgress = false;
        m_line.session().requestTaken = false;
    }
}

// ---------------------------------------------------------------- D-Bus

DialRequestService::DialRequestService(QObject* parent) : QObject(parent) {}

DialRequestService::~DialRequestService()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection bus(m_connectionName);
    bus.unregisterObject(kDBusObjectPath);
    bus.unregisterService(kDBusServiceName);
}

Result DialRequestService::start(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return Result::failure(
            QStringLiteral("no D-Bus session bus (%1)").arg(bus.lastError().message()));
    QDBusConnection connection(bus);
    if (!connection.registerObject(kDBusObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return Result::failure(
            QStringLiteral("cannot register %1 on the session bus").arg(kDBusObjectPath));
    if (!connection.registerService(kDBusServiceName)) {
        connection.unregisterObject(kDBusObjectPath);
        return Result::failure(
            QStringLiteral("the name %1 on the session bus belongs to another program")
                .arg(kDBusServiceName));
    }
    m_connectionName = connection.name();
    return Result::success();
}

void DialRequestService::RequestMakeCall(const QString& destAddress, const QString& appName,
                                         const QString& calledParty, const QString& comment)
{
    const CheckedRequest checked = checkMakeCallRequest(destAddress, appName, calledParty, comment);
    if (!checked.valid) {
        sendErrorReply(kErrorInvalidDestAddress,
                       tr("The destination must be 1 to %1 characters without "
                          "control characters.")
                           .arg(kMaxDestAddress));
        return;
    }
    const LineResult r = tapiRequestMakeCall(checked.destination, checked.appName,
                                             checked.calledParty, checked.comment);
    if (r == TAPIERR_NOREQUESTRECIPIENT) {
        sendErrorReply(kErrorNoRequestRecipient,
                       tr("Telvaro does not accept numbers from other applications "
                          "(Tools > Options)."));
    } else if (r == TAPIERR_REQUESTQUEUEFULL) {
        sendErrorReply(kErrorRequestQueueFull,
                       tr("Too many requests are waiting; try again later."));
    } else if (r != 0) {
        sendErrorReply(kErrorInvalidDestAddress, tr("The destination was refused."));
    }
}

} // namespace telvaro
