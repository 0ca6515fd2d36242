// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/sip/SipText.h"

#include <QList>

namespace telvaro::sip {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Printable text only: control characters go, runs of blanks become one.
QString printable(const QString& in, int maxLength)
{
    QString out;
    for (const QChar c : in) {
        if (out.size() >= maxLength)
            break;
        if (c.isSpace()) {
            if (!out.isEmpty() && !out.endsWith(QLatin1Char(' ')))
                out += QLatin1Char(' ');
            continue;
        }
        if (!c.isPrint() || c.isSurrogate())
            continue;
        out += c;
    }
    return out.trimmed();
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray percentDecoded(const QByteArray& in)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size() && hexValue(in[i + 1]) >= 0 &&
            hexValue(in[i + 2]) >= 0) {
            out += char(hexValue(in[i + 1]) * 16 + hexValue(in[i + 2]));
            i += 2;
        } else {
            out += in[i];
        }
    }
    return out;
}

struct NameAddr
{
    QByteArray display;
    QByteArray uri;
};

// Splits a header value into its addresses at the commas outside quotes and
// angle brackets.
QList<QByteArray> addresses(const QByteArray& value)
{
    QList<QByteArray> out;
    QByteArray current;
    bool quoted = false;
    bool bracket = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quoted) {
            current += c;
            if (c == '\\' && i + 1 < value.size())
                current += value[++i];
            else if (c == '"')
                quoted = false;
            continue;
        }
        if (c == '"')
            quoted = true;
        else if (c == '<')
            bracket = true;
        else if (c == '>')
            bracket = false;
        if (c == ',' && !bracket) {
            out << current;
            current.clear();
            continue;
        }
        current += c;
    }
    out << current;
    return out;
}

// One address, with or without angle brackets: an optional display name (quoted or tokens)
// and the URI (inside <> or up to the first ";" of header parameters).
NameAddr parseNameAddr(const QByteArray& text)
{
    NameAddr out;
    const QByteArray t = text.trimmed();
    qsizetype i = 0;
    if (t.startsWith('"')) {
        for (i = 1; i < t.size(); ++i) {
            if (t[i] == '\\' && i + 1 < t.size()) {
                out.display += t[++i];
            } else if (t[i] == '"') {
                ++i;
                break;
            } else {
                out.display += t[i];
            }
        }
    }
    const qsizetype open = t.indexOf('<', i);
    if (open >= 0) {
        if (out.display.isEmpty())
            out.display = t.mid(i, open - i).trimmed();
        const qsizetype close = t.indexOf('>', open + 1);
        out.uri = t.mid(open + 1, close < 0 ? -1 : close - open - 1).trimmed();
    } else {
        out.uri = t.mid(i).trimmed();
        const qsizetype semi = out.uri.indexOf(';');
        if (semi >= 0)
            out.uri.truncate(semi);
    }
    return out;
}

// The number or user name of a sip:, sips: or tel: URI; empty when none.
QByteArray uriNumber(const QByteArray& uri, bool* tel)
{
    const QByteArray lower = uri.toLower();
    *tel = false;
    QByteArray rest;
    if (lower.startsWith("tel:")) {
        *tel = true;
        rest = uri.mid(4);
        const qsizetype semi = rest.indexOf(';');
        if (semi >= 0)
            rest.truncate(semi);
    } else if (lower.startsWith("sip:") || lower.startsWith("sips:")) {
        rest = uri.mid(lower.startsWith("sips:") ? 5 : 4);
        const qsizetype at = rest.indexOf('@');
        if (at < 0)
            return {}; // a host only: no user
        rest.truncate(at);
        const qsizetype semi = rest.indexOf(';'); // user parameters
        if (semi >= 0)
            rest.truncate(semi);
        const qsizetype colon = rest.indexOf(':'); // a password, never shown
        if (colon >= 0)
            rest.truncate(colon);
    } else {
        return {};
    }
    return percentDecoded(rest);
}

// A telephone number keeps its digits and + * #, dropping visual
// separators; a user name that is not a number stays as it is.
QString cleanNumber(const QByteArray& raw)
{
    QString digits;
    bool number = !raw.isEmpty();
    for (const char c : raw) {
        if (isDigit(c) || c == '+' || c == '*' || c == '#')
            digits += QLatin1Char(c);
        else if (c != '-' && c != '.' && c != '(' && c != ')' && c != ' ')
            number = false;
    }
    if (number && !digits.isEmpty())
        return digits.left(kMaxNumberLength);
    return printable(QString::fromUtf8(raw), kMaxNumberLength);
}

bool isAnonymous(const QString& s)
{
    return s.compare(QLatin1String("anonymous"), Qt::CaseInsensitive) == 0 ||
           s.compare(QLatin1String("restricted"), Qt::CaseInsensitive) == 0 ||
           s.compare(QLatin1String("unavailable"), Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<int> sipfragStatus(const QByteArray& body)
{
    // "SIP/2.0" SP 3DIGIT (SP reason)? CRLF
    static const QByteArray prefix("SIP/2.0 ");
    if (!body.startsWith(prefix) || body.size() < prefix.size() + 3)
        return std::nullopt;
    const char* d = body.constData() + prefix.size();
    if (!isDigit(d[0]) || !isDigit(d[1]) || !isDigit(d[2]))
        return std::nullopt;
    const qsizetype after = prefix.size() + 3;
    if (after < body.size()) {
        const char next = body[after];
        if (next != ' ' && next != '\r' && next != '\n')
            return std::nullopt;
    }
    const int code = (d[0] - '0') * 100 + (d[1] - '0') * 10 + (d[2] - '0');
    if (code < 100 || code > 699)
        return std::nullopt;
    return code;
}

Progress progressOf(int status)
{
    switch (status) {
    case 180:
    case 181:
    case 182:
        return Progress::Ringing;
    case 486:
    case 600:
        return Progress::Busy;
    case 404:
    case 484:
    case 604:
        return Progress::BadNumber;
    case 408:
    case 480:
    case 487:
        return Progress::NoAnswer;
    default:
        break;
    }
    if (status >= 100 && status < 200)
        return Progress::Proceeding;
    if (status >= 200 && status < 300)
        return Progress::Connected;
    return Progress::Failed;
}

CallerIdentity callerIdentity(const QByteArray& assertedIdentity, const QByteArray& from)
{
    // At most a few addresses are looked at: a header of thousands of commas
    // costs no more than a short one.
    constexpr int kMaxAddresses = 4;
    std::optional<NameAddr> chosen;
    QByteArray chosenNumber;
    bool chosenTel = false;
    QByteArray name;
    const QList<QByteArray> asserted = addresses(assertedIdentity.left(2048));
    for (qsizetype i = 0; i < asserted.size() && i < kMaxAddresses; ++i) {
        const NameAddr a = parseNameAddr(asserted[i]);
        bool tel = false;
        const QByteArray number = uriNumber(a.uri, &tel);
        if (name.isEmpty())
            name = a.display;
        if (number.isEmpty())
            continue;
        if (!chosen || (tel && !chosenTel)) {
            chosen = a;
            chosenNumber = number;
            chosenTel = tel;
        }
    }
    if (!chosen) {
        const QList<QByteArray> f = addresses(from.left(2048));
        const NameAddr a = parseNameAddr(f.value(0));
        bool tel = false;
        chosenNumber = uriNumber(a.uri, &tel);
        name = a.display;
        chosen = a;
    }
    CallerIdentity out;
    out.number = cleanNumber(chosenNumber);
    out.name = printable(QString::fromUtf8(name), kMaxNameLength);
    if (isAnonymous(out.number) || isAnonymous(out.name)) {
        out.withheld = true;
        out.number.clear();
        if (isAnonymous(out.name))
            out.name.clear();
    }
    return out;
}

std::optional<QString> sipNumber(const QString& dialString)
{
    static const QString dropped = QStringLiteral(" \t-().[]/,WwTtPp@$!?;");
    QString out;
    for (const QChar c : dialString) {
        if (dropped.contains(c))
            continue;
        if ((c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'+') {
            out += c;
            continue;
        }
        return std::nullopt;
    }
    // "+" only leads.
    if (out.lastIndexOf(QLatin1Char('+')) > 0 || out.isEmpty() || out == QLatin1String("+"))
        return std::nullopt;
    return out;
}

QString uriUser(const QString& number)
{
    QString out = number;
    out.replace(QLatin1Char('#'), QStringLiteral("%23"));
    return out;
}

} // namespace telvaro::sip
