// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Find.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/dialing/DialRequest.h"
#include "core/directory/DirectoryStore.h"
#include "directory/DirectoryTestStore.h"
#include "directory/WindowParts.h"
#include "gui/directory/DirectoryView.h"
#include "gui/directory/FrmMemo.h"
#include "gui/directory/FrmSpeedDial.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace telvaro;
using namespace telvaro::directory;
using telvaro::test::child;
using telvaro::test::directoryStore;
using telvaro::test::part;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

namespace {

// A main window with the directory and the dialing pad's number box.
struct Main
{
    QWidget window;
    DirectoryView* view;
    QLineEdit* txtDial;
    QStringList dialed; // "number|name" of each dial
    QList<QMenu*> popups;

    explicit Main(Prompter& ask, bool subject = false)
    {
        auto* layout = new QVBoxLayout(&window);
        txtDial = new QLineEdit(&window);
        txtDial->setObjectName("txtDial");
        view = new DirectoryView(directoryStore(), ask, &window);
        layout->addWidget(txtDial);
        layout->addWidget(view);
        // The user closes every pop-up menu the view shows.
        for (QMenu* menu : {child<QMenu>(view, "mnuMouse"), child<QMenu>(view, "mnuMouse1")})
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] {
                popups << menu;
                QTimer::singleShot(0, menu, &QMenu::close);
            });
        QObject::connect(view, &DirectoryView::padNumberWanted, txtDial, &QLineEdit::setText);
        // As the dialing pad answers the Edit menu.
        QObject::connect(view, &DirectoryView::padSelectionWanted,
                         [this] { view->setPadSelection(txtDial->selectedText()); });
        QObject::connect(view, &DirectoryView::padSelectionDeleteRequested, [this] {
            if (txtDial->hasSelectedText())
                txtDial->del();
        });
        QObject::connect(view, &DirectoryView::dialRequested,
                         [this](const DialRequest& r) { dialed << r.number + "|" + r.name; });
        window.resize(300, 480);
        window.show();
        view->showStartupTabs(subject);
    }
    ~Main() { options().resetToDesigned(); }
    FrmSpeedDial* editor() { return view->editor(); }
};

void pressKey(DirectoryView* view, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(part<QTabBar>(view, "TabS"), Qt::Key(key), mods);
}

QStringList labels(DirectoryView* view)
{
    QStringList out;
    for (int b = 1; b <= 12; ++b)
        out << view->labelCaption(b);
    return out;
}

} // namespace

class TestDirectoryView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() {}

    void pagesShowNumberLabelsAndBeepAtTheEnds()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        Main m(prompts);
        QCOMPARE(labels(m.view), QStringList({" &1.", " &2.", " &3.", " &4.", " &5.", " &6.",
                                              " &7.", " &8.", " &9.", "1&0.", "11&.", "12&:"}));
        QCOMPARE(child<QAction>(m.view, "EditSpeed10")->text(), QString("1&0."));
        QCOMPARE(m.view->pageText(), QString(" 1"));
        const int shiftedLeft = part<QFrame>(m.view, "fralblNo")->x();

        part<QScrollBar>(m.view, "hsbPage")->setValue(8);
        QCOMPARE(m.view->labelCaption(1), QString("  9&7."));
        QCOMPARE(m.view->labelCaption(4), QString("10&0."));
        QCOMPARE(m.view->labelCaption(12), QString("108&:"));
        QCOMPARE(child<QAction>(m.view, "EditSpeed1")->text(), QString("  9&7."));
        QCOMPARE(m.view->pageText(), QString(" 9"));
        QVERIFY(part<QFrame>(m.view, "fralblNo")->x() < shiftedLeft); // room for three digits

        // Up on the last page beeps and stays; Down on the first likewise.
        part<QScrollBar>(m.view, "hsbPage")->setValue(82);
        QCOMPARE(m.view->pageText(), QString("83"));
        QCOMPARE(m.view->labelCaption(12), QString("996&:"));
        pressKey(m.view, Qt::Key_Up);
        QCOMPARE(m.view->page(), 82);
        QCOMPARE(m.view->beepCount, 1);
        pressKey(m.view, Qt::Key_Down, Qt::ControlModifier); // two pages back
        QCOMPARE(m.view->page(), 80);
        part<QScrollBar>(m.view, "hsbPage")->setValue(0);
        pressKey(m.view, Qt::Key_Down);
        QCOMPARE(m.view->page(), 0);
        QCOMPARE(m.view->pageText(), QString(" 1"));
        QCOMPARE(m.view->beepCount, 2);

        // Tabs: Left on A beeps, Right steps, Z is the end.
        pressKey(m.view, Qt::Key_Left);
        QCOMPARE(m.view->selectedTab(), 1);
        QCOMPARE(m.view->beepCount, 3);
        pressKey(m.view, Qt::Key_Right);
        QCOMPARE(m.view->selectedTab(), 2);
        m.view->selectTab(26);
        pressKey(m.view, Qt::Key_Right);
        QCOMPARE(m.view->selectedTab(), 26);
        QCOMPARE(m.view->beepCount, 4);
    }

    void namesAreCutAfterPagingAndTabsSelectPageOne()
    {
        TestEnv env;
        const QString name25 = "Abcdefghijklmnopqrstuvwxy";
        directoryStore().writeEntryName(false, entryKey(2, 1), name25);
        directoryStore().writeEntryNumber(false, entryKey(2, 1), "XX555 0001");
        directoryStore().writeEntryName(false, entryKey(2, 13), "Page two");
        ScriptedPrompter prompts;
        Main m(prompts);
        m.view->selectTab(2);
        QCOMPARE(m.view->caption(1), name25); // whole right after the tab was chosen
        QCOMPARE(m.view->tag(1), QString("XX555 0001"));
        QCOMPARE(part<QPushButton>(m.view, "CmdS1")->toolTip(), QString("555 0001"));
        pressKey(m.view, Qt::Key_Up);
        QCOMPARE(m.view->caption(1), QString("Page two"));
        pressKey(m.view, Qt::Key_Down);
        QCOMPARE(m.view->caption(1), name25.left(18));
        QCOMPARE(part<QPushButton>(m.view, "CmdS1")->text(), name25.left(18));

        // Selecting another tab returns to page 1; letters jump to tabs.
        pressKey(m.view, Qt::Key_Up);
        m.view->letterJump('q');
        QCOMPARE(m.view->selectedTab(), 17);
        QCOMPARE(m.view->page(), 0);
        QTest::keyClicks(part<QTabBar>(m.view, "TabS"), "B");
        QCOMPARE(m.view->selectedTab(), 2);
        m.view->letterJump('7');
        QCOMPARE(m.view->selectedTab(), 2);
    }

    void subjectTabsTitlesTooltipsAndTitlePrompt()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        directoryStore().writeTabTitle(1, "Home");
        directoryStore().writeTabTitle(2, "Work colleagues"); // more than 8 characters
        directoryStore().writeTabTitle(4, "walking club");
        directoryStore().writeEntryName(true, entryKey(1, 1), "Mum");
        directoryStore().writeEntryName(false, entryKey(1, 1), "Index entry");
        Main m(prompts, true);
        QVERIFY(m.view->subjectMode());
        QCOMPARE(m.view->caption(1), QString("Mum"));
        QCOMPARE(part<QTabBar>(m.view, "TabS")->tabText(1), QString("Work colleagues"));
        QCOMPARE(part<QTabBar>(m.view, "TabS")->tabToolTip(1), QString("Work colleagues"));
        QCOMPARE(part<QTabBar>(m.view, "TabS")->tabToolTip(0), QString("Home"));
        QVERIFY(child<QAction>(m.view, "mnuSubject")->isChecked());
        QVERIFY(!child<QAction>(m.view, "mnuIndex")->isChecked());
        QVERIFY(child<QAction>(m.view, "mnuArrange")->isEnabled());
        QVERIFY(part<QPushButton>(m.view, "cmdIndex")->isVisibleTo(m.view));
        QVERIFY(!part<QPushButton>(m.view, "cmdSubject")->isVisibleTo(m.view));
        QVERIFY(prompts.inputs.isEmpty()); // not while start-up builds the view

        // "w" picks the first title starting with W or w.
        m.view->letterJump('W');
        QCOMPARE(m.view->selectedTab(), 2);

        // The tab scroll bar passes unnamed tabs without asking.
        part<QScrollBar>(m.view, "hsbTabs")->setValue(3);
        QCOMPARE(m.view->selectedTab(), 3);
        QVERIFY(prompts.inputs.isEmpty());
        // Its buttons refuse clicks until the tab is named.
        m.view->clickButton(1);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0].text,
                 QString("You can't use this Speed Dial until the Tab is named."));
        QVERIFY(!m.editor());
        m.view->rightClickButton(2, {});
        QCOMPARE(prompts.messages.size(), 2);
        QVERIFY(m.popups.isEmpty());

        // Choosing an unnamed tab asks for its title; the answer is stored.
        prompts.inputAnswers.enqueue(QString("Doctors"));
        part<QTabBar>(m.view, "TabS")->setCurrentIndex(4);
        QCOMPARE(prompts.inputs.size(), 1);
        QCOMPARE(prompts.inputs[0].prompt, QString("Please enter Tab title"));
        QCOMPARE(prompts.inputs[0].title, QString("Edit Tab"));
        QCOMPARE(part<QTabBar>(m.view, "TabS")->tabText(4), QString("Doctors"));
        QCOMPARE(directoryStore().readTabTitle(5), QString("Doctors"));
        // A cancelled prompt leaves the tab unnamed.
        part<QTabBar>(m.view, "TabS")->setCurrentIndex(6);
        QCOMPARE(prompts.inputs.size(), 2);
        QCOMPARE(directoryStore().readTabTitle(7), QString());

        // Ctrl+I goes back to the index directory and its own entries.
        pressKey(m.view, Qt::Key_I, Qt::ControlModifier);
        QVERIFY(!m.view->subjectMode());
        QCOMPARE(m.view->selectedTab(), 1);
        QCOMPARE(part<QTabBar>(m.view, "TabS")->tabText(1), QString("B"));
        QCOMPARE(m.view->caption(1), QString("Index entry"));
        QCOMPARE(prompts.inputs.size(), 2);
    }

    void clickingDialsRunsCommandsAndAltKeysClick()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        directoryStore().writeEntryName(false, entryKey(1, 15), "Fifteen");
        directoryStore().writeEntryNumber(false, entryKey(1, 15), "XX 1 212 555 0115");
        directoryStore().writeEntryName(false, entryKey(1, 16), "Broken tool");
        directoryStore().writeEntryNumber(false, entryKey(1, 16),
                                          "\"/nonexistent/telvaro-no-such-program --flag");
        directoryStore().writeEntryName(false, entryKey(1, 17), "Tool");
        directoryStore().writeEntryNumber(false, entryKey(1, 17), "\"true with args");
        Main m(prompts);
        pressKey(m.view, Qt::Key_Up); // page 2
        pressKey(m.view, Qt::Key_3, Qt::AltModifier);
        QCOMPARE(m.view->currentEntryKey(), QString("0115"));
        QCOMPARE(m.dialed, QStringList({"XX 1 212 555 0115|Fifteen"}));
        QCOMPARE(m.txtDial->text(), QString(" 1 212 555 0115"));

        // A command entry starts its program and dials nothing.
        m.view->clickButton(5);
        QVERIFY(prompts.messages.isEmpty());
        // One that cannot start tells the user; nothing is dialed.
        pressKey(m.view, Qt::Key_4, Qt::AltModifier);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages[0].text.contains("/nonexistent/telvaro-no-such-program"));
        QCOMPARE(prompts.messages[0].icon, MsgIcon::Critical);
        QCOMPARE(m.dialed.size(), 1);

        // Alt alone or with a letter clicks nothing.
        pressKey(m.view, Qt::Key_A, Qt::AltModifier);
        pressKey(m.view, Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(m.dialed.size(), 1);
        QVERIFY(!m.editor());
        // Alt+semicolon is button 12: an empty slot opens the editor.
        pressKey(m.view, Qt::Key_Semicolon, Qt::AltModifier);
        QVERIFY(m.editor());
        QCOMPARE(m.view->currentEntryKey(), QString("0124"));
        QCOMPARE(m.dialed.size(), 1); // an empty slot dials nothing
    }

    void editorRulesKeypadLettersAndSaving()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        Main m(prompts);
        m.view->clickButton(2);
        FrmSpeedDial* e = m.editor();
        QVERIFY(e);
        QVERIFY(e->isModal());
        QCOMPARE(e->windowTitle(), QString("Speed Dial"));
        QVERIFY(part<QLineEdit>(e, "TxtName")->text().isEmpty());
        QVERIFY(!part<QPushButton>(e, "CmdSave")->isEnabled());
        QVERIFY(!part<QPushButton>(e, "CmdSaveDial")->isEnabled());
        QVERIFY(!part<QPushButton>(e, "CmdMemo")->isEnabled());
        QVERIFY(e->x() >= m.window.frameGeometry().right()); // to the right of the main window

        QTest::keyClicks(part<QLineEdit>(e, "TxtName"), "  Flower shop ");
        QVERIFY(part<QPushButton>(e, "CmdSave")->isEnabled());
        QVERIFY(part<QPushButton>(e, "CmdMemo")->isEnabled());
        QVERIFY(!part<QPushButton>(e, "CmdSaveDial")->isEnabled());
        QCOMPARE(m.view->caption(2), QString("Flower shop")); // the button follows the typing

        QTest::keyClicks(part<QLineEdit>(e, "TxtNumber"), "FLOWERS+/!\"p");
        QCOMPARE(part<QLineEdit>(e, "TxtNumber")->text(), QString("35693777"));
        QVERIFY(part<QPushButton>(e, "CmdSaveDial")->isEnabled());
        QTest::keyClick(part<QLineEdit>(e, "TxtNumber"), Qt::Key_Backspace);
        QCOMPARE(part<QLineEdit>(e, "TxtNumber")->text(), QString("3569377"));

        // With the box ticked every key is taken as typed.
        QVERIFY(part<QLabel>(e, "lblPulse")->isHidden());
        part<QCheckBox>(e, "chkIgnore")->click();
        QVERIFY(!part<QLabel>(e, "lblPulse")->isHidden());
        QTest::keyClicks(part<QLineEdit>(e, "TxtNumber"), " P+");
        QCOMPARE(part<QLineEdit>(e, "TxtNumber")->text(), QString("3569377 P+"));
        QTest::keyClick(part<QLineEdit>(e, "TxtNumber"),
                        Qt::Key_Return); // Save is the default button
        QTRY_VERIFY(!m.editor());

        // The name is stored as typed (reading drops the blanks around it).
        QVERIFY(TestEnv::readFile(env.settingsFile()).contains("Name0102=  Flower shop \r\n"));
        QCOMPARE(directoryStore().readNumber(false, "0102"), QString("XX3569377 P+"));
        QCOMPARE(m.view->caption(2), QString("Flower shop"));
        QCOMPARE(m.view->tag(2), QString("XX3569377 P+"));

        // Reopened from the Edit menu: the box ticked, the number without "XX".
        child<QAction>(m.view, "EditSpeed2")->trigger();
        e = m.editor();
        QVERIFY(e);
        QVERIFY(part<QCheckBox>(e, "chkIgnore")->isChecked());
        QCOMPARE(part<QLineEdit>(e, "TxtNumber")->text(), QString("3569377 P+"));
        // Cancel puts the name back and stores nothing.
        part<QLineEdit>(e, "TxtName")->setText("Changed");
        QCOMPARE(m.view->caption(2), QString("Changed"));
        QTest::keyClick(e, Qt::Key_Escape);
        QTRY_VERIFY(!m.editor());
        QCOMPARE(m.view->caption(2), QString("Flower shop"));
        QCOMPARE(m.view->currentEntryKey(), QString("0"));
        QCOMPARE(directoryStore().readName(false, "0102"), QString("Flower shop"));

        // The options dialog's ignore box lets any key through too.
        options().setChecked(OptionsStore::chkIgnore, true);
        m.view->editSpeed(3);
        e = m.editor();
        QTest::keyClicks(part<QLineEdit>(e, "TxtName"), "Shell");
        QTest::keyClicks(part<QLineEdit>(e, "TxtNumber"), "\"xterm");
        QCOMPARE(part<QLineEdit>(e, "TxtNumber")->text(), QString("\"xterm"));
        part<QPushButton>(e, "CmdSaveDial")->click();
        QTRY_VERIFY(!m.editor());
        QCOMPARE(m.dialed, QStringList({"\"xterm|Shell"})); // the entry's name, just stored
        QCOMPARE(m.txtDial->text(), QString("\"xterm"));

        // A settings file that cannot be written: the user is told, the
        // editor stays open with what was typed, and nothing is dialed.
        QFile::setPermissions(env.settingsFile(), QFile::ReadOwner);
        m.view->editSpeed(4);
        e = m.editor();
        QTest::keyClicks(part<QLineEdit>(e, "TxtName"), "Lost?");
        QTest::keyClicks(part<QLineEdit>(e, "TxtNumber"), "123");
        part<QPushButton>(e, "CmdSaveDial")->click();
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0].icon, MsgIcon::Critical);
        QCOMPARE(m.editor(), e);
        QCOMPARE(m.view->tag(4), QString());
        QCOMPARE(m.dialed.size(), 1);
        e->cancel();
        QTRY_VERIFY(!m.editor());
        QCOMPARE(m.view->caption(4), QString());
    }

    void copyPasteAndDelete()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        DirectoryStore& store = directoryStore();
        store.writeEntryName(false, "0101", "Anna");
        store.writeEntryNumber(false, "0101", "XX555 0101");
        store.writeNoteLog(false, "0101", encodeNoteLog("Anna's log"));
        store.writeEntryName(false, "0102", "Bert");
        store.writeEntryNumber(false, "0102", "555 0102");
        {
            Main m(prompts);
            m.view->rightClickButton(1, {});
            QCOMPARE(m.popups.size(), 1);
            QCOMPARE(child<QAction>(m.view, "mnuMouseEdit")->text(), QString("Edit \"Anna\""));
            QCOMPARE(child<QAction>(m.view, "mnuMouseCopy")->text(), QString("Copy \"Anna\""));
            QCOMPARE(child<QAction>(m.view, "mnuMouseDelete")->text(), QString("Delete \"Anna\""));
            QVERIFY(!child<QAction>(m.view, "mnuMousePaste")->isEnabled());
            child<QAction>(m.view, "mnuMouseCopy")->trigger();

            // Right-clicking B, then an empty button, offers Anna.
            m.view->rightClickButton(2, {});
            QVERIFY(child<QAction>(m.view, "mnuMousePaste")->isEnabled());
            m.view->rightClickButton(5, {});
            QCOMPARE(child<QAction>(m.view, "mnuMouseEdit")->text(), QString("Add new entry"));
            QCOMPARE(child<QAction>(m.view, "mnuMousePaste")->text(), QString("Paste \"Anna\""));
            QVERIFY(child<QAction>(m.view, "mnuMousePaste")->isEnabled());
            QVERIFY(!child<QAction>(m.view, "mnuMouseCopy")->isEnabled());

            // A click on an empty button pastes without a question.
            m.view->clickButton(7);
            QVERIFY(prompts.messages.isEmpty());
            QVERIFY(!m.editor());
            QCOMPARE(m.view->caption(7), QString("Anna"));
            QCOMPARE(child<QAction>(m.view, "mnuMousePaste")->text(), QString("Paste"));
            QVERIFY(!child<QAction>(m.view, "mnuMousePaste")->isEnabled());
            QCOMPARE(store.readName(false, "0101"), QString("Anna")); // a copy, not a move

            // Pasting over an entry asks; No ends the pending copy.
            m.view->rightClickButton(1, {});
            child<QAction>(m.view, "mnuMouseCopy")->trigger();
            m.view->rightClickButton(2, {});
            prompts.messageAnswers.enqueue(MsgResult::No);
            child<QAction>(m.view, "mnuMousePaste")->trigger();
            QCOMPARE(prompts.messages.size(), 1);
            QCOMPARE(prompts.messages[0].text,
                     QString("Existing SpeedDial will be overwritten.Continue?"));
            QCOMPARE(prompts.messages[0].buttons, MsgButtons::YesNo);
            QCOMPARE(m.view->caption(2), QString("Bert"));
            QVERIFY(!m.view->copyPending());
            m.view->clickButton(9); // nothing pending: the editor, not a paste
            QVERIFY(m.editor());
            m.editor()->cancel();
            QTRY_VERIFY(!m.editor());

            // Delete asks with Cancel as default; the log stays stored.
            m.view->rightClickButton(1, {});
            prompts.messageAnswers.enqueue(MsgResult::Ok);
            child<QAction>(m.view, "mnuMouseDelete")->trigger();
            const MessageRequest& ask = prompts.messages.last();
            QCOMPARE(ask.text, QString("Do you really want to delete   \"Anna\"  entry?"));
            QCOMPARE(ask.title, QString("Delete SpeedDial Entry"));
            QCOMPARE(ask.buttons, MsgButtons::OkCancel);
            QCOMPARE(ask.defaultButton, 2);
            QCOMPARE(m.view->caption(1), QString());
            QCOMPARE(store.readName(false, "0101"), QString());
            QCOMPARE(store.readNumber(false, "0101"), QString());
            QCOMPARE(decodeNoteLog(store.readNoteLog(false, "0101")), QString("Anna's log"));

            // A new entry saved in the same slot shows the old log.
            m.view->clickButton(1);
            QVERIFY(m.editor());
            QTest::keyClicks(part<QLineEdit>(m.editor(), "TxtName"), "Carla");
            part<QPushButton>(m.editor(), "CmdMemo")->click();
            QTRY_VERIFY(!m.editor());
            QVERIFY(m.view->memoPad());
            QCOMPARE(m.view->memoPad()->windowTitle(), QString("Carla"));
            QCOMPARE(part<QPlainTextEdit>(m.view->memoPad(), "TxtLog")->toPlainText(),
                     QString("Anna's log"));
            m.view->memoPad()->close();
        }
        // After a restart the pasted entry is there with Anna's log.
        IniFile fresh(env.settingsFile());
        QCOMPARE(fresh.read(u"Speed Dial", u"Name0107"), QString("Anna"));
        QCOMPARE(fresh.read(u"Speed Dial", u"Number0107"), QString("XX555 0101"));
        QCOMPARE(decodeNoteLog(fresh.read(u"MemoLog", u"Log0107", 6000)), QString("Anna's log"));
    }

    void dialPadEditMenu()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        Main m(prompts);
        m.txtDial->setText("5551234");
        QGuiApplication::clipboard()->setText("from clipboard");
        m.view->updateEditMenu();
        QVERIFY(!child<QAction>(m.view, "mnuCut")->isEnabled());
        QVERIFY(!child<QAction>(m.view, "mnuCopy")->isEnabled());
        QVERIFY(child<QAction>(m.view, "mnuPaste")->isEnabled());
        m.txtDial->setSelection(0, 3);
        m.view->updateEditMenu();
        QVERIFY(child<QAction>(m.view, "mnuCut")->isEnabled());
        child<QAction>(m.view, "mnuCut")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("555"));
        QCOMPARE(m.txtDial->text(), QString("1234"));
        child<QAction>(m.view, "mnuPaste")->trigger();
        QCOMPARE(m.txtDial->text(), QString("555"));
        // The Delete key on the tab strip is the strip's: the pad's number stays.
        m.txtDial->setSelection(0, 2);
        pressKey(m.view, Qt::Key_Delete);
        QCOMPARE(m.txtDial->text(), QString("555"));
    }
};

QTEST_MAIN(TestDirectoryView)
#include "test_directory_view.moc"
