// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary command lines (arguments split at NUL bytes, UTF-8 as the
// system hands them over) and links to the number extraction and the
// clean-up the dial procedure applies. Checks: a tel: or callto: link of a
// percent-encoded text gives that text back; other texts come back
// unchanged; a cleaned number holds dial characters only, and every piece
// the dial procedure sends of it is accepted by the modem provider.
#include "FuzzSupport.h"
#include "core/common/CommandLine.h"
#include "core/dialing/DialString.h"
#include "core/telephony/lineapi/ModemProvider.h"

#include <QUrl>

#include <cstdint>

using namespace telvaro;

namespace {

bool startsWithScheme(const QString& text)
{
    return text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("callto:"), Qt::CaseInsensitive);
}

void checkCleanUp(const QString& number)
{
    const QString clean = dialstr::cleanNumber(dialstr::mapLetters(number));
    for (const QChar c : clean)
        FUZZ_CHECK((c >= u'0' && c <= u'9') || c == u'#' || c == u',' || c == u'*');
    FUZZ_CHECK(dialstr::cleanNumber(clean) == clean);
    const dialstr::NumberSplit split = dialstr::splitNumber(clean);
    FUZZ_CHECK(split.head + split.tail == clean);
    if (clean.isEmpty())
        return; // nothing is dialed
    const QString dial = QStringLiteral("T") + clean;
    const QStringList parts = dialstr::splitDialParts(dial);
    QString joined;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        FUZZ_CHECK(parts[i].endsWith(u';') == (i + 1 < parts.size()));
        FUZZ_CHECK(modemDialString(parts[i]).has_value());
        joined += i + 1 < parts.size() ? parts[i].chopped(1) : parts[i];
    }
    FUZZ_CHECK(joined == dial);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList arguments;
    for (const QByteArray& piece : bytes.toByteArray().split('\0'))
        arguments << QString::fromUtf8(piece);

    const CommandLine cl = parseCommandLine(arguments);
    if (cl.action == CommandLine::Action::Run) {
        for (const QString& a : arguments)
            FUZZ_CHECK(!a.startsWith(QLatin1String("--")));
        checkCleanUp(cl.number);
    } else if (cl.action == CommandLine::Action::Error) {
        FUZZ_CHECK(!cl.error.isEmpty());
    }

    const QString text = QString::fromUtf8(bytes);
    if (!startsWithScheme(text))
        FUZZ_CHECK(numberFromLink(text) == text);
    const QByteArray encoded = QUrl::toPercentEncoding(text);
    FUZZ_CHECK(numberFromLink(QStringLiteral("tel:") + QString::fromLatin1(encoded)) == text);
    FUZZ_CHECK(numberFromLink(QStringLiteral("CallTo://") + QString::fromLatin1(encoded)) == text);
    checkCleanUp(numberFromLink(text));
    return 0;
}
