// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary make-call requests of other programs (destination,
// application name, called party, comment) to the checks the D-Bus service
// applies, and queues the ones found valid in the line layer's request queue.
// The first byte chooses how the other bytes become the four texts (UTF-8
// split at NUL bytes, or 16-bit units split at 0, so that lone surrogates
// occur) and how often the request is sent. Checks: a valid destination is 1
// to 79 characters without control characters or blanks around it, and is the
// sent one without those blanks; no text gains a control character or loses
// half of a character; a short clean text comes through unchanged; a queued
// request comes back from the queue with exactly the checked fields, until
// the queue is full, and a refused destination never reaches the queue.
#include "FuzzSupport.h"
#include "core/dialing/ExternalRequests.h"
#include "core/telephony/lineapi/LineApi.h"
#include "core/telephony/lineapi/LineProvider.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdint>

using namespace telvaro;

namespace {

bool hasControl(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// A free text of the request: no control character; whole characters when
// the sent text had them; unchanged when it was clean and short.
void checkText(const QString& sent, const QString& checked, qsizetype fits)
{
    FUZZ_CHECK(!hasControl(checked));
    if (QStringView(sent).isValidUtf16())
        FUZZ_CHECK(QStringView(checked).isValidUtf16());
    if (!hasControl(sent) && sent.size() <= fits)
        FUZZ_CHECK(checked == sent);
    FUZZ_CHECK(checked.size() <= sent.size());
}

// The announcements (LINE_REQUEST) the recipient has been given.
int announced = 0;

// The line session that receives the requests, without a device or a bus.
HLINEAPP recipient()
{
    static const HLINEAPP app = [] {
        // The line layer's messages arrive through the event queue.
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "fuzz_dbusrequest";
            static char* argv[] = {name, nullptr};
            static QCoreApplication application(argc, argv);
        }
        // No devices: the requests need none.
        struct NoProviders final : LineProviderSource
        {
            std::vector<std::unique_ptr<LineProvider>> providers() override { return {}; }
        };
        static NoProviders none;
        HLINEAPP h = 0;
        quint32 devices = 0;
        FUZZ_CHECK(lineInitialize(
                       &h,
                       [](quint32, quint32 msg, quintptr, quintptr, quintptr, quintptr) {
                           announced += msg == LINE_REQUEST;
                       },
                       QStringLiteral("fuzz"), &devices, &none) == 0);
        FUZZ_CHECK(lineRegisterRequestRecipient(h, 0, LINEREQUESTMODE_MAKECALL, 1) == 0);
        return h;
    }();
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const uint8_t mode = in.byte();
    const int sends = (mode >> 1) % 40 + 1;
    const QByteArrayView rest = in.rest();
    QStringList texts;
    if (mode & 1) {
        QString units;
        for (qsizetype i = 0; i + 1 < rest.size(); i += 2)
            units.append(QChar(char16_t(uint8_t(rest[i]) | uint8_t(rest[i + 1]) << 8)));
        texts = units.split(QChar(0));
    } else {
        for (const QByteArray& piece : rest.toByteArray().split('\0'))
            texts << QString::fromUtf8(piece);
    }
    while (texts.size() < 4)
        texts << QString();

    const CheckedRequest r = checkMakeCallRequest(texts[0], texts[1], texts[2], texts[3]);
    const QString trimmed = texts[0].trimmed();
    if (r.valid) {
        FUZZ_CHECK(r.destination.size() >= 1 && r.destination.size() <= kMaxDestAddress);
        FUZZ_CHECK(!hasControl(r.destination));
        FUZZ_CHECK(!r.destination.front().isSpace() && !r.destination.back().isSpace());
        FUZZ_CHECK(r.destination == trimmed);
    } else {
        // Refused only for a reason.
        FUZZ_CHECK(trimmed.isEmpty() || trimmed.size() > kMaxDestAddress || hasControl(trimmed));
    }
    checkText(texts[1], r.appName, kMaxRequestName);
    checkText(texts[2], r.calledParty, kMaxRequestName);
    checkText(texts[3], r.comment, kMaxRequestComment);

    // A valid request is queued as often as it is sent, until the queue is
    // full, and comes back as checked. A destination refused for its length
    // is refused by the line layer as well (the service does not even send
    // it); nothing refused gets into the queue.
    const HLINEAPP app = recipient();
    QCoreApplication::sendPostedEvents();
    int queued = 0;
    bool full = false;
    for (int i = 0; i < sends; ++i) {
        if (!r.valid) {
            if (trimmed.isEmpty() || trimmed.size() > kMaxDestAddress)
                FUZZ_CHECK(tapiRequestMakeCall(texts[0], texts[1], texts[2], texts[3]) ==
                           TAPIERR_INVALDESTADDRESS);
            continue;
        }
        const LineResult result =
            tapiRequestMakeCall(r.destination, r.appName, r.calledParty, r.comment);
        if (result == 0) {
            FUZZ_CHECK(!full);
            ++queued;
        } else {
            FUZZ_CHECK(result == TAPIERR_REQUESTQUEUEFULL && queued > 0);
            full = true;
        }
    }
    for (int i = 0; i < queued; ++i) {
        LineReqMakeCall back;
        FUZZ_CHECK(lineGetRequest(app, LINEREQUESTMODE_MAKECALL, &back) == 0);
        FUZZ_CHECK(back.destAddress == r.destination && back.appName == r.appName &&
                   back.calledParty == r.calledParty && back.comment == r.comment);
    }
    LineReqMakeCall none;
    FUZZ_CHECK(lineGetRequest(app, LINEREQUESTMODE_MAKECALL, &none) == LINEERR_NOREQUEST);
    // Each queued request was announced to the recipient.
    announced = 0;
    QCoreApplication::sendPostedEvents();
    FUZZ_CHECK(announced == queued);
    return 0;
}
