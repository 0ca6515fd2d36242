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
#include <QLabel>
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

    void windowsKeepTheirControlsInside()
    {
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
        auto inside = [](QWidget* w, QWidget* in) {
            return QRect(QPoint(0, 0), in->size())
                .contains(QRect(w->mapTo(in, QPoint(0, 0)), w->size()));
        };
        auto rightEdge = [&](int b) {
            return view->lblNo[b - 1]->mapTo(view, QPoint(view->lblNo[b - 1]->width(), 0)).x();
        };
        const int labelsEnd = rightEdge(1);
        view->hsbPage->setValue(8);
        shoot(&window, "main-subject-page9");
        // The labels move left for three digits but stay next to their buttons.
        QCOMPARE(rightEdge(1), labelsEnd);
        for (int b = 1; b <= 12; ++b) {
            QVERIFY(inside(view->CmdS[b - 1], window.fraMain));
            QVERIFY(inside(view->lblNo[b - 1], window.fraMain));
            QVERIFY(rightEdge(b) <= view->CmdS[b - 1]->x());
        }
        for (QWidget* w :
             std::initializer_list<QWidget*>{view->hsbPage, view->fraRight, view->cmdIndex})
            QVERIFY(inside(w, window.fraMain));
        view->hsbPage->setValue(0);

        view->editSpeed(4);
        FrmSpeedDial* editor = view->editor();
        QVERIFY(editor);
        editor->chkIgnore->setChecked(true);
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        shoot(editor, "editor");
        QVERIFY(editor->x() > window.x() + window.width());
        for (QWidget* w : std::initializer_list<QWidget*>{editor->CmdCancel, editor->lblPulse,
                                                          editor->TxtNumber})
            QVERIFY(inside(w, editor));
        editor->cancel();
        QTRY_VERIFY(!view->editor());

        state().currentEntryKey = "0101";
        view->openMemo();
        FrmMemo* memo = view->memoPad();
        QVERIFY(QTest::qWaitForWindowExposed(memo));
        shoot(memo, "memo");
        memo->resize(200, 150); // below the smallest size
        QTRY_VERIFY(memo->width() > 200 && memo->height() > 150);
        shoot(memo, "memo-small");
        for (QWidget* w :
             {static_cast<QWidget*>(memo->CmdSave), static_cast<QWidget*>(memo->CmdOK),
              static_cast<QWidget*>(memo->CmdEdit), static_cast<QWidget*>(memo->TxtLog),
              static_cast<QWidget*>(memo->TxtMemo)})
            QVERIFY(inside(w, memo));
        QVERIFY(memo->CmdSave->geometry().right() < memo->CmdOK->x());
        QVERIFY(memo->CmdOK->geometry().right() < memo->CmdEdit->x());
        QVERIFY(memo->TxtMemo->geometry().bottom() < memo->CmdOK->y());
        QVERIFY(memo->TxtLog->geometry().bottom() < memo->LblMemo->y() + 2);
        memo->close();
    }
};

QTEST_MAIN(TestDirectoryWindow)
#include "test_directory_window.moc"
