// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QWidget>

namespace telvaro {

// A small elliptical window (the call progress window, the caller display):
// shaped to an ellipse with a shaded face and a rim, and dragged about by
// its background. It is a tool window without a frame, on top of the others.
class EllipticalWindow : public QWidget
{
    Q_OBJECT

public:
    explicit EllipticalWindow(QWidget* parent = nullptr);

protected:
    bool isDragging() const { return m_dragging; }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_dragging = false;
    QPoint m_dragFrom;
};

} // namespace telvaro
