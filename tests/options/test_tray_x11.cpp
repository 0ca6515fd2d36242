// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon on a real X display with a notification area: Xvfb with
// Debian's `trayer` as the tray host. Skipped when either is missing.

#include "gui/shell/TrayIcon.h"
#include "settings/OptionsStore.h"

#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QtTest>

#include <unistd.h>

using namespace telvaro;
using S = OptionsStore;

namespace {

QProcess* g_xvfb = nullptr;
QProcess* g_trayer = nullptr;
QString g_skipReason;

bool runXdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable("xdotool"), args);
    return p.waitForFinished(5000) && p.exitCode() == 0;
}

} // namespace

class TestTrayX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<QMainWindow> window;
    TrayIcon icon;
    TrayIcon& tray() { return icon; }

private Q_SLOTS:
    void initTestCase()
    {
        if (!g_skipReason.isEmpty())
            QSKIP(qPrintable(g_skipReason));
        QDeadlineTimer deadline(10000);
        while (!QSystemTrayIcon::isSystemTrayAvailable() && !deadline.hasExpired())
            QTest::qWait(100);
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("the tray host did not come up");
    }

    void init()
    {
        options().resetToDesigned();
        tray().setReceiving(false);
        window = std::make_unique<QMainWindow>();
        window->setWindowTitle("Telvaro");
        window->setWindowIcon(programIcon());
        window->resize(320, 240);
        installTray(tray(), *window);
        // As the program's wiring does for its main window.
        connect(&tray(), &TrayIcon::restoreWanted, window.get(),
                [w = window.get()] { restoreMainWindow(w); });
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        tray().remove();
        window.reset();
    }

    void iconAppearsWithTheTooltipOfTheReceiveState()
    {
        tray().add();
        QVERIFY(tray().isShown());
        QCOMPARE(tray().toolTip(), QString("Telvaro-disabled call receiving"));
        QTRY_VERIFY(tray().iconGeometry().isValid());

        tray().setReceiving(true); // the line opened for receiving
        QCOMPARE(tray().toolTip(), QString("Telvaro-ready to receive"));
        tray().remove();
        QVERIFY(!tray().isShown());
        tray().add();
        QCOMPARE(tray().toolTip(), QString("Telvaro-ready to receive calls"));

        const QString shots = qEnvironmentVariable("TELVARO_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            QTest::qWait(500);
            QGuiApplication::primaryScreen()
                ->grabWindow(0, 1024 - 160, 0, 160, 40)
                .save(shots + "/tray.png");
        }
    }

    void minimisingHidesAndAClickOnTheIconRestores()
    {
        tray().add();
        QTRY_VERIFY(tray().iconGeometry().isValid());
        // A minimise from the title bar changes the state alone.
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());

        // The icon is a small window embedded in the tray host; click it
        // through its X window.
        QWidget* iconWindow = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->inherits("QSystemTrayIconSys"))
                iconWindow = w;
        }
        QVERIFY(iconWindow);
        QVERIFY(QTest::qWaitForWindowExposed(iconWindow));
        QTest::qWait(300); // the tray host has settled the embedded window
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("xdotool is needed to click the icon");
        QVERIFY(runXdotool({"mousemove", "--window", QString::number(iconWindow->winId()),
                            QString::number(iconWindow->width() / 2),
                            QString::number(iconWindow->height() / 2), "click", "1"}));
        QTRY_VERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
    }

    void switchingTheTrayOffBringsAHiddenWindowBack()
    {
        tray().add();
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());
        options().setChecked(S::chkIcon, false); // its reaction deletes the icon
        tray().remove();
        QVERIFY(window->isVisible());
        QVERIFY(window->isMinimized());
    }

    void startUpEndsMinimisedOnTheTaskBar()
    {
        // Start-up minimises the window and then shows it: it stays
        // minimised and visible, with the icon beside it.
        tray().add();
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
        window->show();
        QTest::qWait(200);
        QVERIFY(window->isVisible());
        QVERIFY(window->isMinimized());
        QVERIFY(tray().isShown());
    }

    void withTheTrayOptionOffMinimisingKeepsTheWindow()
    {
        tray().add();
        options().setChecked(S::chkIcon, false);
        window->setWindowState(Qt::WindowMinimized);
        QTest::qWait(300);
        QVERIFY(window->isVisible());
    }

    // Autostart at login: Telvaro comes before the panel. Minimising keeps
    // the window on the task bar while there is no tray; the icon appears
    // with the tray, and from then on minimising hides into it.
    void trayStartedAfterTelvaro()
    {
        tray().remove();
        g_trayer->kill();
        g_trayer->waitForFinished(5000);
        QTRY_VERIFY_WITH_TIMEOUT(!QSystemTrayIcon::isSystemTrayAvailable(), 10000);

        TrayIcon tray; // the program's icon, made at its start
        tray.setMainWindow(window.get());
        tray.add();
        window->setWindowState(Qt::WindowMinimized);
        QTest::qWait(300);
        QVERIFY(window->isVisible());

        g_trayer->start();
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(tray.iconGeometry().isValid(), 10000);
        window->setWindowState(Qt::WindowNoState);
        window->show();
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());
    }
};

int main(int argc, char* argv[])
{
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString trayer = QStandardPaths::findExecutable("trayer");
    QString display;
    if (xvfb.isEmpty() || trayer.isEmpty()) {
        g_skipReason = "Xvfb and trayer are needed for this test";
    } else {
        int number = 300 + (::getpid() % 500);
        while (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number)) ||
               QFile::exists(QString("/tmp/.X%1-lock").arg(number)))
            ++number;
        display = QString(":%1").arg(number);
        g_xvfb = new QProcess;
        g_xvfb->start(xvfb, {display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QDeadlineTimer up(10000);
        while (!QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number)) && !up.hasExpired())
            ::usleep(50000);
        if (!QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number))) {
            g_skipReason = "Xvfb did not start";
        } else {
            qputenv("DISPLAY", display.toLatin1());
            g_trayer = new QProcess;
            g_trayer->start(trayer, {"--edge", "top", "--align", "right", "--widthtype", "pixel",
                                     "--width", "120", "--height", "32", "--transparent", "false",
                                     "--SetDockType", "true"});
            g_trayer->waitForStarted(5000);
            qputenv("QT_QPA_PLATFORM", "xcb");
        }
    }
    int status = 0;
    {
        QApplication app(argc, argv);
        TestTrayX11 test;
        status = QTest::qExec(&test, argc, argv);
    }
    for (QProcess* p : {g_trayer, g_xvfb}) {
        if (p) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(1000);
            delete p;
        }
    }
    return status;
}

#include "test_tray_x11.moc"
