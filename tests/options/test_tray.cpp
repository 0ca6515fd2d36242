// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon where the desktop has no notification area (the offscreen
// platform), the tray menu's "&Restore" rule and RestoreMainWindow.

#include "gui/shell/TrayIcon.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QtTest>

using namespace telvaro;
using S = OptionsStore;

class TestTray : public QObject
{
    Q_OBJECT

    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<TrayIcon> icon;
    TrayIcon& tray() { return *icon; }

private Q_SLOTS:
    void init()
    {
        options().resetToDesigned();
        window = std::make_unique<QMainWindow>();
        window->resize(300, 200);
        icon = std::make_unique<TrayIcon>();
        installTray(tray(), *window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        tray().remove();
        icon.reset();
        window.reset();
    }

    void withoutATrayNothingFailsAndMinimisingKeepsTheWindow()
    {
        QVERIFY(!TrayIcon::available());
        tray().add();
        tray().modify();
        QVERIFY(!tray().isShown());
        window->setWindowState(Qt::WindowMinimized);
        QTest::qWait(50);
        QVERIFY(window->isVisible());
        tray().remove();
        tray().remove(); // deleting twice is harmless
    }

    void restoreBringsBackAMinimisedOrHiddenWindow()
    {
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        restoreMainWindow(window.get());
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());

        window->hide();
        restoreMainWindow(window.get());
        QVERIFY(window->isVisible());

        // A maximised window stays maximised after a trip to the tray.
        window->showMaximized();
        window->showMinimized();
        restoreMainWindow(window.get());
        QVERIFY(window->isMaximized());
        QVERIFY(!window->isMinimized());
    }

    void restoreIsOfferedOnlyForAMinimisedOrHiddenWindow()
    {
        QMenu* menu = tray().menu();
        QAction* restore = menu->findChild<QAction*>("mPopRestore");
        QVERIFY(restore);
        QCOMPARE(restore->text(), QString("&Restore"));
        tray().prepareMenu();
        QVERIFY(!restore->isVisible());
        window->showMinimized();
        tray().prepareMenu();
        QVERIFY(restore->isVisible());
        window->showNormal();
        tray().prepareMenu();
        QVERIFY(!restore->isVisible());
        window->hide();
        tray().prepareMenu();
        QVERIFY(restore->isVisible());
    }

    void theMainWindowsOwnTrayMenuIsUsed()
    {
        QMenu* own = tray().menu();
        QMenu systray("&Systray");
        tray().useMenu(&systray);
        QCOMPARE(tray().menu(), &systray);
        tray().useMenu(nullptr);
        QCOMPARE(tray().menu(), own);
    }
};

QTEST_MAIN(TestTray)
#include "test_tray.moc"
