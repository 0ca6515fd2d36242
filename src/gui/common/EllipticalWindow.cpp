// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/common/EllipticalWindow.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace telvaro {

EllipticalWindow::EllipticalWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
}

void EllipticalWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    setMask(QRegion(rect(), QRegion::Ellipse));
}

void EllipticalWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, height());
    const QColor base = palette().color(QPalette::Window);
    fill.setColorAt(0, base.lighter(108));
    fill.setColorAt(1, base.darker(108));
    p.setBrush(fill);
    p.setPen(QPen(palette().color(QPalette::Dark), 3));
    p.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

void EllipticalWindow::mousePressEvent(QMouseEvent* event)
{
    m_dragging = true;
    m_dragFrom = event->globalPosition().toPoint() - frameGeometry().topLeft();
    setCursor(Qt::SizeAllCursor);
}

void EllipticalWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragFrom);
}

void EllipticalWindow::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
    unsetCursor();
}

} // namespace telvaro
