// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace telvaro::directory {

// Caption of the number label (and of the "&Edit Button:" item) of button b
// (1-12) on page p (0-82): " &1." ... "1&0.", "11&.", "12&:"; page 9 starts
// with "  9&7.". The access key is the last digit (the "." and ":" keys for
// buttons 11 and 12).
QString slotLabelCaption(int page, int button);
// The page number shown for page p (0-82): " 1" ... " 9", "10" ... "83".
QString pageNumberText(int page);
// The button caption of a stored name: its first 18 characters.
QString buttonCaption(const QString& name);
constexpr int kCaptionLength = 18;
// A name or title as a button, tab or menu shows it: "&" as typed, not as an
// access key.
QString literalCaption(const QString& s);
// The text in double quotes, as the messages and menu items show a title.
QString quoted(const QString& s);

// The keypad digit that carries a letter (a b c -> 2 ... w x y z -> 9), or
// the character itself when it is no letter A-Z / a-z.
QChar keypadDigit(QChar c);
// A character typed into the editor's number box while neither ignore box is
// ticked: letters become keypad digits; then only backspace, space, the
// digits and # ( ) * , - . are taken. nullopt: the key is discarded.
std::optional<QChar> filterNumberKey(QChar c);

// The date stamp that opens a new memo note: "mm-dd-yyyy", ten spaces,
// "hh:mm:ss", CR LF (30 characters).
QString memoDateStamp(const QDateTime& when);

// The memo pad's check before storing a log of `length` characters (line
// breaks counted as CR LF, as they are stored).
constexpr int kMemoAlmostFull = 5900;
constexpr int kMemoRefused = 5998;
struct MemoCapacity
{
    enum Verdict { Store, StoreWithWarning, Refuse } verdict = Store;
    QString title;
    QString text;
};
MemoCapacity memoCapacity(int length);

} // namespace telvaro::directory
