// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace telvaro {

// The icon in the desktop's notification area. Its picture and tooltip tell
// whether incoming calls are received; a left click or double click brings
// the main window back, the right button opens the tray menu. While the icon
// is shown and "Sho&w program's icon in the system tray" is checked,
// minimising the main window hides it into the tray. On a desktop without a
// notification area there is no icon and the window stays on the task bar.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // The main window the icon brings back and hides into the tray (the one
    // loaded now; a profile switch hands over the new one).
    void setMainWindow(QWidget* window);

    // The tooltips: receiving when the icon was added, receiving since a
    // change, not receiving.
    static QString readyTip();
    static QString readyModifiedTip();
    static QString disabledTip();

    // Adds the icon by the rule: "PhoneOn" while the line is open for
    // receiving, else the main window's icon.
    void add();
    // The line was opened or closed for receiving: new picture and tooltip.
    void setReceiving(bool receiving);
    bool receiving() const { return m_receiving; }
    // Picture and tooltip again, for the receiving state as it is.
    void modify();
    // Removes the icon (nothing happens when there is none).
    void remove();

    bool isShown() const;
    QString toolTip() const;
    // Where the icon sits on the screen (empty while it is not there).
    QRect iconGeometry() const;
    // The menu the right button opens: the one the main window hands over
    // (useMenu), else the icon's own.
    QMenu* menu();
    // The main window's tray menu from now on (it shows its "&Restore" by its
    // own state); nullptr: the icon's own menu again.
    void useMenu(QMenu* windowMenu);
    // Shows or hides the own menu's "&Restore" by the state of the main
    // window, as the menu does before it opens.
    void prepareMenu();
    // Form_Resize: a minimised main window goes into the tray while the icon
    // is shown and chkIcon is checked.
    void minimiseIntoTray();

    // The desktop has a notification area.
    static bool available();

Q_SIGNALS:
    // A click on the icon or the own menu's "&Restore": the user wants the
    // main window back (installTray restores a plain window; the program's
    // main window restores itself).
    void restoreWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mainWindow() const { return m_window; }
    void watchMainWindow();
    void setPicture(bool receiving, const QString& tip);

    QSystemTrayIcon* m_icon = nullptr;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_watched;
    QPointer<QMenu> m_menu;
    QMenu* m_ownMenu = nullptr;
    QAction* m_ownRestore = nullptr;
    bool m_hiding = false;
    bool m_added = false;     // added and not removed since
    bool m_receiving = false; // the line is open for receiving
    QString m_tip;
};

// The icon "PhoneOn": a handset with waves, shown while calls are received.
QIcon phoneOnIcon();
// The program's own icon.
QIcon programIcon();

// RestoreMainWindow: normal state, shown, in front, the focus on the window.
void restoreMainWindow(QWidget* window);

// Wires the tray to a main window being loaded: the icon serves `window`,
// and switching the tray option off while the window is hidden in the tray
// puts the window back on the task bar (without the icon there would be no
// way back to it).
void installTray(TrayIcon& tray, QWidget& window);

} // namespace telvaro
