// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/directory/DirectoryRules.h"

#include <QCoreApplication>

namespace telvaro::directory {

QString slotLabelCaption(int page, int button)
{
    const QString n = QString::number(page * 12 + button);
    if (button == 11)
        return n + QStringLiteral("&.");
    if (button == 12)
        return n + QStringLiteral("&:");
    QString lead;
    if (n.size() == 1)
        lead = QStringLiteral(" ");
    else if (n.size() == 2 && page == 8)
        lead = QStringLiteral("  ");
    return lead + n.first(n.size() - 1) + QLatin1Char('&') + n.back() + QLatin1Char('.');
}

QString pageNumberText(int page)
{
    const QString n = QString::number(page + 1);
    return page < 9 ? QLatin1Char(' ') + n : n;
}

QString buttonCaption(const QString& name)
{
    return name.left(kCaptionLength);
}

QString literalCaption(const QString& s)
{
    QString out = s;
    out.replace(QLatin1Char('&'), QLatin1String("&&"));
    return out;
}

QString quoted(const QString& s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QChar keypadDigit(QChar c)
{
    const char16_t u = c.unicode();
    char16_t lower = u;
    if (u >= 'A' && u <= 'Z')
        lower = char16_t(u + 32);
    if (lower < 'a' || lower > 'z')
        return c;
    static constexpr char kDigits[] = "22233344455566677778889999";
    return QLatin1Char(kDigits[lower - 'a']);
}

std::optional<QChar> filterNumberKey(QChar c)
{
    const QChar d = keypadDigit(c);
    const char16_t u = d.unicode();
    if ((u >= '0' && u <= '9') || u == '\b' || u == ' ' || u == '#' || u == '(' || u == ')' ||
        u == '*' || u == ',' || u == '-' || u == '.')
        return d;
    return std::nullopt;
}

QString memoDateStamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("MM-dd-yyyy")) + QString(10, QLatin1Char(' ')) +
           when.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("\r\n");
}

MemoCapacity memoCapacity(int length)
{
    MemoCapacity c;
    if (length >= kMemoRefused) {
        c.verdict = MemoCapacity::Refuse;
        c.title = QCoreApplication::translate("telvaro::directory::Memo", "Text exceeds capacity");
        c.text = QCoreApplication::translate(
                     "telvaro::directory::Memo",
                     "Memo cannot save this entry.\nThere are too many %1 characters")
                     .arg(length - (kMemoRefused - 1));
    } else if (length >= kMemoAlmostFull) {
        c.verdict = MemoCapacity::StoreWithWarning;
        c.title = QCoreApplication::translate("telvaro::directory::Memo", "Memo Pad full");
        c.text =
            QCoreApplication::translate("telvaro::directory::Memo",
                                        "Memo Pad is almost fully utilized.\nYou can safely store "
                                        "additional %1 characters")
                .arg(kMemoRefused - length);
    }
    return c;
}

} // namespace telvaro::directory
