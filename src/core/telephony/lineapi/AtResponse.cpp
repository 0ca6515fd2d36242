// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/lineapi/AtResponse.h"

#include "settings/Cp1252.h"

#include <QList>
#include <QStringDecoder>
#include <algorithm>

namespace telvaro {
namespace {

QString squeezed(QStringView line)
{
    return line.trimmed().toString().toUpper();
}

// The numeric CONNECT codes that carry the speed (ATV0 with X1 and above):
// 5, 9 to 23 and 25 to 31 of the Hayes set (24 is DELAYED), 59 to 65 and
// 84 to 91 for the V.32bis to V.34 speeds, 150 to 199 for the V.90 ones.
// 40 to 58 (CARRIER) and 66 to 83 (PROTOCOL, COMPRESSION) report progress.
bool isNumericConnect(const QString& line)
{
    bool ok = false;
    const int code = line.toInt(&ok);
    if (!ok || line.startsWith(QLatin1Char('+')) || line.startsWith(QLatin1Char('-')))
        return false;
    return code == 5 || (code >= 9 && code <= 23) || (code >= 25 && code <= 31) ||
           (code >= 59 && code <= 65) || (code >= 84 && code <= 91) || (code >= 150 && code <= 199);
}

} // namespace

AtResult parseResult(QStringView raw)
{
    const QString line = squeezed(raw);
    if (line.isEmpty())
        return AtResult::None;
    if (line == QLatin1String("OK") || line == QLatin1String("0"))
        return AtResult::Ok;
    // A voice modem in +FCLASS=8 tells of the voice connection with VCON
    // where others answer the voice dial OK.
    if (line == QLatin1String("VCON"))
        return AtResult::Ok;
    if (line == QLatin1String("CONNECT") || line.startsWith(QLatin1String("CONNECT ")) ||
        line.startsWith(QLatin1String("CONNECT/")) || line == QLatin1String("1") ||
        isNumericConnect(line))
        return AtResult::Connect;
    if (line == QLatin1String("NO CARRIER") || line == QLatin1String("3"))
        return AtResult::NoCarrier;
    if (line == QLatin1String("ERROR") || line == QLatin1String("4") ||
        line.startsWith(QLatin1String("+CME ERROR")) ||
        line.startsWith(QLatin1String("+CMS ERROR")))
        return AtResult::Error;
    if (line == QLatin1String("NO DIALTONE") || line == QLatin1String("NO DIAL TONE") ||
        line == QLatin1String("6"))
        return AtResult::NoDialtone;
    if (line == QLatin1String("BUSY") || line == QLatin1String("7"))
        return AtResult::Busy;
    if (line == QLatin1String("NO ANSWER") || line == QLatin1String("8"))
        return AtResult::NoAnswer;
    if (line == QLatin1String("DELAYED") || line == QLatin1String("24"))
        return AtResult::Delayed;
    if (line == QLatin1String("BLACKLISTED") || line == QLatin1String("32"))
        return AtResult::Blacklisted;
    return AtResult::None;
}

bool isRing(QStringView raw)
{
    const QString line = squeezed(raw);
    // +CRING: VOICE (or DATA, FAX ...) after AT+CRC=1.
    return line == QLatin1String("RING") || line == QLatin1String("2") ||
           line.startsWith(QLatin1String("+CRING"));
}

namespace {

// Splits the fields of a +CLIP: report at commas outside quotes.
QList<QString> clipFields(QStringView text)
{
    QList<QString> fields;
    QString cur;
    bool quoted = false;
    bool wasQuoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            wasQuoted = true;
        } else if (c == QLatin1Char(',') && !quoted) {
            fields << (wasQuoted ? cur : cur.trimmed());
            cur.clear();
            wasQuoted = false;
        } else {
            cur += c;
        }
    }
    fields << (wasQuoted ? cur : cur.trimmed());
    return fields;
}

} // namespace

namespace {

// Caller ID text comes as bytes (each one character of the line); names from
// European exchanges use Windows-1252 letters. Control characters mean line
// noise, not a name.
bool isCallerIdText(QStringView line)
{
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t') || u == 0x7f)
            return false;
    }
    return true;
}

// A name's bytes: UTF-8 when they are valid UTF-8 (modems and exchanges that
// send it), else Windows-1252.
QString decodeName(const QByteArray& bytes)
{
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char b) { return quint8(b) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    return cp1252::decode(bytes);
}

QString fromModemBytes(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return text;
    }
    return decodeName(text.toLatin1());
}

// The data block of a caller ID message in hexadecimal (MESG = 80...): the
// multiple data message format (type 0x80: date and time, number, name and
// the reasons for an absent number or name) or the single data message
// format (type 0x04: eight digits of date and time, then the number). The
// checksum byte at the end, when present, is not checked: modems that print
// the block have checked it. nullopt for anything else.
std::optional<CallerIdLine> parseMessageBlock(QStringView hex)
{
    QString digits = hex.toString();
    digits.remove(QLatin1Char(' '));
    if (digits.size() < 4 || digits.size() % 2 != 0)
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(digits.toLatin1());
    if (bytes.size() * 2 != digits.size() || bytes.toHex().toUpper() != digits.toUpper().toLatin1())
        return std::nullopt;
    const auto type = quint8(bytes[0]);
    const int length = quint8(bytes[1]);
    if (length + 2 > bytes.size())
        return std::nullopt;
    const QByteArray body = bytes.mid(2, length);
    CallerIdLine cid;
    cid.field = CallerIdLine::Number;
    if (type == 0x04) {
        if (body.size() < 8)
            return std::nullopt;
        const QByteArray number = body.mid(8);
        if (number == "P")
            cid.withheld = true;
        else if (number == "O")
            cid.unavailable = true;
        else
            cid.value = QString::fromLatin1(number).trimmed();
        return cid;
    }
    if (type != 0x80)
        return std::nullopt;
    bool any = false;
    for (int at = 0; at + 2 <= body.size();) {
        const auto param = quint8(body[at]);
        const int size = quint8(body[at + 1]);
        if (at + 2 + size > body.size())
            return std::nullopt;
        const QByteArray value = body.mid(at + 2, size);
        at += 2 + size;
        switch (param) {
        case 0x02: // number
            cid.value = QString::fromLatin1(value).trimmed();
            any = true;
            break;
        case 0x04: // why the number is absent
            cid.withheld = value == "P";
            cid.unavailable = value == "O";
            any = true;
            break;
        case 0x07: { // name; a blank one is no name
            const QString name = decodeName(value).trimmed();
            if (name.isEmpty())
                cid.name.reset();
            else
                cid.name = name;
            any = true;
            break;
        }
        default: // date and time, name absent, call type ...
            break;
        }
    }
    if (!any || !isCallerIdText(cid.value) || !isCallerIdText(cid.name.value_or(QString())))
        return std::nullopt;
    return cid;
}

} // namespace

std::optional<CallerIdLine> parseCallerIdLine(QStringView raw)
{
    const QStringView line = raw.trimmed();
    if (!isCallerIdText(line))
        return std::nullopt;
    if (line.startsWith(QLatin1String("+CLIP:"), Qt::CaseInsensitive)) {
        const QStringView rest = line.mid(6).trimmed();
        // An unsolicited report starts with the quoted number; the answer to
        // the query AT+CLIP? ("+CLIP: 1,1") does not.
        if (!rest.startsWith(QLatin1Char('"')))
            return std::nullopt;
        const QList<QString> f = clipFields(rest);
        CallerIdLine cid;
        cid.field = CallerIdLine::Number;
        cid.value = f.value(0).trimmed();
        // The fifth field is the name (alpha); the sixth the CLI validity:
        // 0 valid, 1 withheld by the caller, 2 unavailable.
        const QString validity = f.value(5).trimmed();
        if (cid.value.isEmpty() && validity == QLatin1String("1"))
            cid.withheld = true;
        else if (cid.value.isEmpty() && validity == QLatin1String("2"))
            cid.unavailable = true;
        if (f.size() > 4 && !f.value(4).trimmed().isEmpty())
            cid.name = fromModemBytes(f.value(4).trimmed());
        return cid;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    const QString tag = line.first(eq).trimmed().toString().toUpper();
    const QString value = line.mid(eq + 1).trimmed().toString();
    CallerIdLine cid;
    if (tag == QLatin1String("DATE"))
        cid.field = CallerIdLine::Date;
    else if (tag == QLatin1String("TIME"))
        cid.field = CallerIdLine::Time;
    else if (tag == QLatin1String("NMBR") || tag == QLatin1String("DDN_NMBR"))
        cid.field = CallerIdLine::Number;
    else if (tag == QLatin1String("NAME"))
        cid.field = CallerIdLine::Name;
    else if (tag == QLatin1String("MESG")) {
        if (std::optional<CallerIdLine> block = parseMessageBlock(value))
            return block;
        cid.field = CallerIdLine::Message;
    } else
        return std::nullopt;
    if (cid.field == CallerIdLine::Number || cid.field == CallerIdLine::Name) {
        if (value.compare(QLatin1String("P"), Qt::CaseInsensitive) == 0) {
            cid.withheld = true;
            return cid;
        }
        if (value.compare(QLatin1String("O"), Qt::CaseInsensitive) == 0) {
            cid.unavailable = true;
            return cid;
        }
    }
    cid.value = cid.field == CallerIdLine::Name ? fromModemBytes(value) : value;
    return cid;
}

bool isGarbage(QStringView line)
{
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (u == u'\t')
            continue;
        if (u < 0x20 || u >= 0x7f)
            return true;
    }
    return false;
}

} // namespace telvaro
