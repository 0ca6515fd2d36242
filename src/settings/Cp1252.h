// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace telvaro::cp1252 {

// Text files of the program are bytes in the ANSI code page Windows-1252.
// Every byte maps to one character; bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D,
// which have no glyph, map to the control characters of the same value so that
// a round trip keeps them.
QString decode(QByteArrayView bytes);

// Characters outside the code page become '?'.
QByteArray encode(QStringView text);

// Folds one byte for case-insensitive comparison of section and key names.
unsigned char foldByte(unsigned char byte);
QByteArray fold(QByteArrayView bytes);

} // namespace telvaro::cp1252
