// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dialing/DialString.h"

namespace telvaro::dialstr {

namespace {
constexpr qsizetype kPieceLength = 78;
constexpr qsizetype kHeadLength = 254;
constexpr qsizetype kSplitFrom = 256;
} // namespace

QString cleanNumber(const QString& number)
{
    QString out;
    out.reserve(number.size());
    for (QChar c : number) {
        if ((c >= u'0' && c <= u'9') || c == u'#' || c == u',' || c == u'*')
            out.append(c);
    }
    return out;
}

QChar keypadDigit(QChar letter)
{
    static const char* const map = "22233344455566677778889999";
    const char16_t c = letter.toLower().unicode();
    if (c < u'a' || c > u'z')
        return {};
    return QChar(map[c - u'a']);
}

QString mapLetters(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (const QChar d = keypadDigit(c); !d.isNull())
            c = d;
    }
    return out;
}

QChar padKey(QChar key, bool ignoreDialingProperties)
{
    if (ignoreDialingProperties)
        return key;
    if (const QChar d = keypadDigit(key); !d.isNull())
        key = d;
    static const QString accepted = QStringLiteral("\b #()*,-.0123456789");
    return accepted.contains(key) ? key : QChar();
}

int leadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > 1'000'000'000)
            return 1'000'000'000;
    }
    return int(value);
}

QString digitsOnly(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            out.append(c);
    }
    return out;
}

NumberSplit splitNumber(const QString& number)
{
    if (number.size() < kSplitFrom)
        return {number, {}};
    return {number.left(kHeadLength), number.mid(kHeadLength)};
}

DialChoice exactDialString(const NumberSplit& number)
{
    const QString& head = number.head;
    DialChoice out;
    const QChar method = head.size() > 2 ? head[2].toUpper() : QChar();
    if (method == u'P' || method == u'T')
        out.dialString = QString(method) + head.mid(3) + number.tail;
    else
        out.dialString = QStringLiteral("T") + head.mid(2) + number.tail;
    out.displayNumber = out.dialString.mid(1);
    return out;
}

DialChoice ignoredPropertiesDialString(const QString& number, bool tone)
{
    return {(tone ? QStringLiteral("T") : QStringLiteral("P")) + number, number};
}

QStringList splitDialParts(const QString& dialString)
{
    if (dialString.size() <= kPieceLength)
        return {dialString};
    QStringList parts;
    for (qsizetype at = 0; at < dialString.size(); at += kPieceLength) {
        QString piece = dialString.mid(at, kPieceLength);
        if (at + kPieceLength < dialString.size())
            piece.append(u';');
        parts.append(piece);
    }
    return parts;
}

} // namespace telvaro::dialstr
