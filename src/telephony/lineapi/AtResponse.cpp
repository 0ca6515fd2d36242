#include "telephony/lineapi/AtResponse.h"

#include <QList>

namespace telvaro {
namespace {

QString squeezed(QStringView line)
{
    return line.trimmed().toString().toUpper();
}

} // namespace

AtResult parseResult(QStringView raw)
{
    const QString line = squeezed(raw);
    if (line.isEmpty())
        return AtResult::None;
    if (line == QLatin1String("OK") || line == QLatin1String("0"))
        return AtResult::Ok;
    if (line == QLatin1String("CONNECT") || line.startsWith(QLatin1String("CONNECT ")) ||
        line.startsWith(QLatin1String("CONNECT/")) || line == QLatin1String("1"))
        return AtResult::Connect;
    // Numeric CONNECT codes with a speed (ATV0 X4: 5, 10 to 19, 28 ...) are
    // not listed; only the codes a voice dialer needs are.
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
    return line == QLatin1String("RING") || line == QLatin1String("2");
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

std::optional<CallerIdLine> parseCallerIdLine(QStringView raw)
{
    const QStringView line = raw.trimmed();
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
            cid.name = f.value(4).trimmed();
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
    else if (tag == QLatin1String("MESG"))
        cid.field = CallerIdLine::Message;
    else
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
    cid.value = value;
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
