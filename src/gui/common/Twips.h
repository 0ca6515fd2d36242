// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace telvaro {

// Window geometry is laid down in twips, 1440 to the inch; these convert with
// the screen's logical DPI (96 when there is no screen).
int twipsToPixelsX(int twips);
int twipsToPixelsY(int twips);
int pixelsToTwipsX(int pixels);
int pixelsToTwipsY(int pixels);
QRect twipsRect(int left, int top, int width, int height);

} // namespace telvaro
