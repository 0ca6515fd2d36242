// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/common/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace telvaro {
namespace {

qreal dpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const qreal value = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return value > 0 ? value : 96.0;
}

} // namespace

int twipsToPixelsX(int twips)
{
    return int(std::lround(twips * dpi(true) / 1440.0));
}

int twipsToPixelsY(int twips)
{
    return int(std::lround(twips * dpi(false) / 1440.0));
}

int pixelsToTwipsX(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dpi(true)));
}

int pixelsToTwipsY(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dpi(false)));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width),
                 twipsToPixelsY(height));
}

} // namespace telvaro
