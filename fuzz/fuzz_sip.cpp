// SPDX-License-Identifier: GPL-3.0-or-later
// What the SIP phone line reads out of network messages itself: the status
// line of a transfer's progress report and the caller's identity, and the
// number a dial string becomes. Checks that a status is only taken from a
// well-formed status line and is a real status code, that a caller's number
// and name are short, printable and free of anything that could reshape a
// display or a log line, and that the number sent in a REFER holds dial
// characters only.
#include "FuzzSupport.h"
#include "core/telephony/sip/SipText.h"

#include <QRegularExpression>

#include <cstdint>

using namespace telvaro;

namespace {

bool isDialChar(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'+';
}

void checkShown(const QString& s, int maxLength)
{
    FUZZ_CHECK(s.size() <= maxLength);
    FUZZ_CHECK(s == s.trimmed());
    for (const QChar c : s) {
        FUZZ_CHECK(c.isPrint() || c == u' ');
        FUZZ_CHECK(c != u'\r' && c != u'\n' && c != u'\t');
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    switch (in.byte() % 3) {
    case 0: {
        const QByteArray body = in.rest().toByteArray();
        const std::optional<int> status = sip::sipfragStatus(body);
        if (status) {
            FUZZ_CHECK(*status >= 100 && *status <= 699);
            const QByteArray line = "SIP/2.0 " + QByteArray::number(*status);
            FUZZ_CHECK(body.startsWith(line));
            FUZZ_CHECK(body.size() == line.size() || body[line.size()] == ' ' ||
                       body[line.size()] == '\r' || body[line.size()] == '\n');
        } else {
            // A well-formed status line is always read.
            static const QRegularExpression wellFormed(
                QStringLiteral("^SIP/2\\.0 [1-6][0-9][0-9]([ \\r\\n]|$)"));
            FUZZ_CHECK(!wellFormed.match(QString::fromLatin1(body)).hasMatch());
        }
        break;
    }
    case 1: {
        const QByteArray asserted = in.bytes().toByteArray();
        const QByteArray from = in.rest().toByteArray();
        const sip::CallerIdentity id = sip::callerIdentity(asserted, from);
        checkShown(id.number, sip::kMaxNumberLength);
        checkShown(id.name, sip::kMaxNameLength);
        if (id.withheld)
            FUZZ_CHECK(id.number.isEmpty());
        // The same headers always name the same caller.
        const sip::CallerIdentity again = sip::callerIdentity(asserted, from);
        FUZZ_CHECK(again.number == id.number && again.name == id.name &&
                   again.withheld == id.withheld);
        break;
    }
    default: {
        const QString dial = QString::fromLatin1(in.rest());
        const std::optional<QString> number = sip::sipNumber(dial);
        if (number) {
            FUZZ_CHECK(!number->isEmpty());
            for (qsizetype i = 0; i < number->size(); ++i) {
                FUZZ_CHECK(isDialChar(number->at(i)));
                FUZZ_CHECK(number->at(i) != u'+' || i == 0);
            }
            FUZZ_CHECK(!sip::uriUser(*number).contains(u'#'));
            // Every digit dialed reaches the phone, in order.
            QString digits;
            for (const QChar c : dial)
                if (c.isDigit())
                    digits += c;
            QString kept = *number;
            kept.remove(QRegularExpression(QStringLiteral("[^0-9]")));
            FUZZ_CHECK(kept == digits);
        }
        break;
    }
    }
    return 0;
}
