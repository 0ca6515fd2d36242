// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace telvaro::test {

// Runs `action` on the next modal dialog of type D once it is on screen
// (dialogs opened with exec() block the test until they close).
template <typename D> void onModal(std::function<void(D*)> action, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, action, timeoutMs] {
        *waited += 10;
        D* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        } else if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (QWidget* other = QApplication::activeModalWidget())
                other->close(); // do not leave the test hanging
        }
    });
    timer->start(10);
}

// Saves a picture of the window to $TELVARO_SCREENSHOT_DIR when it is set
// (run the test under Xvfb with QT_QPA_PLATFORM=xcb to look at the windows).
inline void screenshot(QWidget* window, const QString& name)
{
    const QString dir = qEnvironmentVariable("TELVARO_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    window->grab().save(dir + u'/' + name + QStringLiteral(".png"));
}

} // namespace telvaro::test
