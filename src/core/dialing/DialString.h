// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace telvaro::dialstr {

// The characters a number keeps when dialing properties apply: 0-9 # , *.
QString cleanNumber(const QString& number);

// The digit of a letter on a telephone keypad (abc 2 ... wxyz 9, either case);
// a null QChar for anything else.
QChar keypadDigit(QChar letter);
// Every letter of `text` replaced by its keypad digit.
QString mapLetters(const QString& text);

// What a key typed into the dialing pad's number box becomes: with the ignore
// option everything is taken as typed; otherwise a letter becomes its digit
// and only digits, space, # ( ) * , - . and backspace are taken. A null QChar
// means the key is dropped.
QChar padKey(QChar key, bool ignoreDialingProperties);

// The numeric value of the leading digits of `text` (blanks before them
// skipped), 0 when there are none; how the program reads counts and seconds
// typed into the options dialog.
int leadingNumber(const QString& text);

// Every character outside 0-9 dropped ("011EFG" -> "011").
QString digitsOnly(const QString& text);

// A number of 256 characters or more is dialed as its first 254 characters
// (which alone go through the translation) and the rest appended after.
struct NumberSplit
{
    QString head;
    QString tail;
};
NumberSplit splitNumber(const QString& number);

struct DialChoice
{
    QString dialString;    // what the modem dials
    QString displayNumber; // what the user sees and the logs get
};

// A number stored as "XX..." is dialed exactly as entered: "XXP9,555" pulse
// dials "P9,555", "XXT555" or "XX555" tone dials "T555". The number shown is
// the dial string without its method letter.
DialChoice exactDialString(const NumberSplit& number);

// With dialing properties ignored for all numbers: "T" or "P" and the number
// exactly as typed.
DialChoice ignoredPropertiesDialString(const QString& number, bool tone);

// A dial string longer than 78 characters goes out in pieces of 78; each piece
// but the last ends in ";" (more digits follow). Always at least one piece.
QStringList splitDialParts(const QString& dialString);

} // namespace telvaro::dialstr
