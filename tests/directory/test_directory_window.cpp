#include "app/FrmDialer.h"
#include "app/OptionsStore.h"
#include "app/ProgramState.h"
#include "app/Seams.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "directory/DirectoryStore.h"
#include "directory/DirectoryView.h"
#include "directory/FrmMemo.h"
#include "directory/FrmSpeedDial.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

using namespace telvaro;
using namespace telvaro::directory;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

namespace {

// Saves a picture of a window when TELVARO_SCREENSHOT_DIR names a folder.
void shoot(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("TELVARO_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    w->grab().save(dir + "/" + name + ".png");
}

void fill(bool subject)
{
    DirectoryStore& s = directoryStore();
    const QStringList names = {"Anna Berg", "Dr. Kowalski", "Pizza & Pasta",
                               "Mum",       "Plumber",      "",
                               "Office",    "Taxi",         "Bank hotline",
                               "",          "School",       "Abcdefghijklmnopqrstuvwxy"};
    for (int b = 1; b <= 12; ++b) {
        if (names[b - 1].isEmpty())
            continue;
        s.writeEntryName(subject, entryKey(1, b), names[b - 1]);
        s.writeEntryNumber(subject, entryKey(1, b), QString("555 01%1").arg(b, 2, 10, QChar('0')));
    }
    if (subject) {
        const QStringList titles = {"Family", "Work colleagues", "Doctors", "Shops", "", "Friends"};
        for (int t = 1; t <= titles.size(); ++t)
            if (!titles[t - 1].isEmpty())
                s.writeTabTitle(t, titles[t - 1]);
    }
}

} // namespace

class TestDirectoryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        resetState();
        options().resetToDesigned();
        seams() = {};
    }
    void cleanup()
    {
        seams() = {};
        resetState();
    }

    void viewSitsInTheMainWindowAndTakesEachKeyOnce()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        fill(false);
        FrmDialer window;
        auto* view = window.fraMain->findChild<DirectoryView*>();
        QVERIFY(view);
        QCOMPARE(window.editSpeed(1)->text(), QString("01.")); // until the first page is shown
        state().startupModeSwitch = 4;
        callSeam(seams().showIndexTabs);
        state().startupModeSwitch = 0;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.editSpeed(1)->text(), QString(" &1."));
        QCOMPARE(window.editSpeed(12)->text(), QString("12&:"));
        QCOMPARE(view->caption(1), QString("Anna Berg"));
        QVERIFY(window.mnuIndex->isChecked());
        // The pad button stays visible over the view.
        QVERIFY(window.cmdHide->isVisible());
        const QRect subject(view->cmdSubject->mapTo(window.fraMain, QPoint(0, 0)),
                            view->cmdSubject->size());
        QVERIFY(!subject.intersects(window.cmdHide->geometry()));
        shoot(&window, "main-index");

        view->TabS->setFocus();
        QTest::keyClick(view->TabS, Qt::Key_Up);
        QCOMPARE(view->page(), 1);
        QCOMPARE(window.editSpeed(1)->text(), QString("1&3."));
        QTest::keyClick(view->TabS, Qt::Key_Right);
        QCOMPARE(view->selectedTab(), 2);
        QCOMPARE(view->page(), 0);
        QTest::keyClicks(view->TabS, "e");
        QCOMPARE(view->selectedTab(), 5);

        // Menu items of the window run the directory's commands.
        window.mnuSubject->trigger();
        QVERIFY(state().subjectMode);
        QVERIFY(window.mnuSubject->isChecked());
        QVERIFY(window.mnuArrange->isEnabled());
        window.mnuIndex->trigger();
        QVERIFY(!state().subjectMode);
        QVERIFY(!window.mnuArrange->isEnabled());
        QVERIFY(prompts.inputs.isEmpty());
        view->selectTab(1);

        window.EditSpeed[2]->trigger();
        QVERIFY(view->editor());
        QCOMPARE(view->editor()->TxtName->text(), QString("Pizza & Pasta"));
        QCOMPARE(view->CmdS[2]->text(), QString("Pizza && Pasta")); // shown as typed
        view->editor()->cancel();
        QTRY_VERIFY(!view->editor());

        // Ctrl+E hides the dialing pad through the window.
        QTest::keyClick(view->TabS, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(window.fraPad->isHidden());
        QVERIFY(window.cmdShow->isVisible());
        shoot(&window, "main-index-nopad");
    }

    void pictures()
    {
        if (qEnvironmentVariable("TELVARO_SCREENSHOT_DIR").isEmpty())
            QSKIP("set TELVARO_SCREENSHOT_DIR to take pictures of the windows");
        TestEnv env;
        fill(true);
        directoryStore().writeNoteLog(true, "0101",
                                      encodeNoteLog("12-01-2026          10:15:00\r\nCall back "
                                                    "about the party\r\nBring the photos"));
        FrmDialer window;
        auto* view = window.fraMain->findChild<DirectoryView*>();
        state().startupModeSwitch = 4;
        callSeam(seams().showSubjectTabs);
        state().startupModeSwitch = 0;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        shoot(&window, "main-subject");
        view->hsbPage->setValue(8);
        shoot(&window, "main-subject-page9");
        view->hsbPage->setValue(0);

        view->editSpeed(4);
        QVERIFY(view->editor());
        view->editor()->chkIgnore->setChecked(true);
        QVERIFY(QTest::qWaitForWindowExposed(view->editor()));
        shoot(view->editor(), "editor");
        view->editor()->cancel();
        QTRY_VERIFY(!view->editor());

        state().currentEntryKey = "0101";
        view->openMemo();
        QVERIFY(QTest::qWaitForWindowExposed(view->memoPad()));
        shoot(view->memoPad(), "memo");
        view->memoPad()->resize(200, 150); // below the minimum size
        QTest::qWait(10);
        shoot(view->memoPad(), "memo-small");
        view->memoPad()->close();
    }
};

QTEST_MAIN(TestDirectoryWindow)
#include "test_directory_window.moc"
