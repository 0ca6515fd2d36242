// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/TrayIcon.h"

#include "settings/OptionsStore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace telvaro {

QIcon phoneOnIcon()
{
    return QIcon(QStringLiteral(":/icons/PhoneOn.svg"));
}

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/icons/telvaro.svg"));
}

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

QString TrayIcon::readyTip()
{
    return tr("Telvaro-ready to receive calls");
}

QString TrayIcon::readyModifiedTip()
{
    return tr("Telvaro-ready to receive");
}

QString TrayIcon::disabledTip()
{
    return tr("Telvaro-disabled call receiving");
}

TrayIcon::~TrayIcon()
{
    delete m_icon;
    delete m_ownMenu;
}

bool TrayIcon::available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setMainWindow(QWidget* window)
{
    m_window = window;
    watchMainWindow();
}

void TrayIcon::watchMainWindow()
{
    QWidget* window = mainWindow();
    if (window == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = window;
    if (window)
        window->installEventFilter(this);
}

bool TrayIcon::isShown() const
{
    return m_icon && m_icon->isVisible();
}

QRect TrayIcon::iconGeometry() const
{
    return m_icon ? m_icon->geometry() : QRect();
}

QString TrayIcon::toolTip() const
{
    // Without a notification area the icon is not there, but its tooltip
    // still follows the line.
    return m_added ? m_tip.left(63) : QString();
}

void TrayIcon::setPicture(bool receiving, const QString& tip)
{
    QIcon picture;
    if (receiving) {
        picture = phoneOnIcon();
    } else {
        QWidget* window = mainWindow();
        picture = window ? window->windowIcon() : QApplication::windowIcon();
        if (picture.isNull())
            picture = programIcon();
    }
    m_icon->setIcon(picture);
    // The notification area holds at most 63 characters of a tooltip.
    m_icon->setToolTip(tip.left(63));
}

void TrayIcon::add()
{
    watchMainWindow();
    m_added = true;
    const bool receiving = m_receiving;
    m_tip = receiving ? readyTip() : disabledTip();
    // On X11 the icon is made even when no tray is there yet (a panel that
    // starts after Telvaro at login): it appears when the tray does. Other
    // platforms have no tray that could come later.
    if (!available() && QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(this);
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger ||
                        reason == QSystemTrayIcon::DoubleClick) {
                        Q_EMIT restoreWanted();
                    } else if (reason == QSystemTrayIcon::Context) {
                        prepareMenu();
                    }
                });
    }
    m_icon->setContextMenu(menu());
    setPicture(receiving, m_tip);
    m_icon->show();
}

void TrayIcon::setReceiving(bool receiving)
{
    m_receiving = receiving;
    modify();
}

void TrayIcon::modify()
{
    if (!m_added)
        return;
    const bool receiving = m_receiving;
    m_tip = receiving ? readyModifiedTip() : disabledTip();
    if (isShown())
        setPicture(receiving, m_tip);
}

void TrayIcon::remove()
{
    m_added = false;
    if (m_icon)
        m_icon->hide();
}

QMenu* TrayIcon::menu()
{
    if (m_menu)
        return m_menu;
    if (!m_ownMenu) {
        // A main window without a tray menu of its own gets this one.
        m_ownMenu = new QMenu(tr("&Systray"));
        m_ownMenu->setObjectName(QStringLiteral("mnuSystray"));
        m_ownRestore = m_ownMenu->addAction(tr("&Restore"));
        m_ownRestore->setObjectName(QStringLiteral("mPopRestore"));
        connect(m_ownRestore, &QAction::triggered, this, &TrayIcon::restoreWanted);
        m_ownMenu->addSeparator();
        QAction* exit = m_ownMenu->addAction(tr("&Exit"));
        exit->setObjectName(QStringLiteral("mPopExit"));
        connect(exit, &QAction::triggered, this, [this] {
            if (QWidget* w = mainWindow())
                w->close();
        });
        connect(m_ownMenu, &QMenu::aboutToShow, this, &TrayIcon::prepareMenu);
    }
    return m_ownMenu;
}

void TrayIcon::useMenu(QMenu* windowMenu)
{
    m_menu = windowMenu;
    if (m_icon)
        m_icon->setContextMenu(menu());
}

void TrayIcon::prepareMenu()
{
    QWidget* window = mainWindow();
    if (m_menu || !m_ownRestore || !window)
        return;
    // A visible window in normal state needs no "&Restore"; a minimised one
    // or one hidden in the tray does.
    m_ownRestore->setVisible(!window->isVisible() || window->isMinimized());
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched && event->type() == QEvent::WindowStateChange)
        minimiseIntoTray();
    return QObject::eventFilter(watched, event);
}

void TrayIcon::minimiseIntoTray()
{
    watchMainWindow();
    QWidget* window = m_watched;
    if (!window || m_hiding || !window->isMinimized() || window->isHidden() ||
        !options().isChecked(OptionsStore::chkIcon) || !isShown() || !available())
        return; // without a tray to come back from, the window stays on the task bar
    // Hidden at once, as part of the minimising: a show() that follows (as
    // at start-up) brings the window back minimised on the task bar.
    m_hiding = true;
    window->hide();
    m_hiding = false;
}

void restoreMainWindow(QWidget* window)
{
    if (!window)
        return;
    if (window->isMinimized() || !window->isVisible()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    window->raise();
    window->activateWindow();
    window->setFocus(Qt::ActiveWindowFocusReason);
}

void installTray(TrayIcon& tray, QWidget& window)
{
    tray.setMainWindow(&window);
    QObject::connect(&options(), &OptionsStore::checkClicked, &window,
                     [&tray, w = &window](OptionsStore::Check c) {
                         if (c != OptionsStore::chkIcon)
                             return;
                         if (options().isChecked(OptionsStore::chkIcon)) {
                             tray.add();
                             return;
                         }
                         tray.remove();
                         if (w->isHidden() && w->isMinimized())
                             w->showMinimized();
                     });
}

} // namespace telvaro
