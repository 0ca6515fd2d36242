// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
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
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

using namespace telvaro;
using namespace telvaro::directory;
using telvaro::test::child;
using telvaro::test::directoryStore;
using telvaro::test::part;
using telvaro::test::ScriptedPrompter;
using telvaro::test::shoot;
using telvaro::test::TestEnv;

namespace {

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

void putEntry(bool subject, int tab, int slot, const QString& name, const QString& log = {})
{
    DirectoryStore& s = directoryStore();
    const QString key = entryKey(tab, slot);
    s.writeEntryName(subject, key, name);
    s.writeEntryNumber(subject, key, "555 " + key);
    if (!log.isEmpty())
        s.writeNoteLog(subject, key, encodeNoteLog(log));
}

QString storedName(bool subject, int tab, int slot)
{
    return directoryStore().readName(subject, entryKey(tab, slot));
}

QString storedLog(bool subject, int tab, int slot)
{
    return decodeNoteLog(directoryStore().readNoteLog(subject, entryKey(tab, slot)));
}

// Every key of the directory's sections with its value.
QMap<QString, QString> directoryIn(const QString& path)
{
    IniFile f(path);
    QMap<QString, QString> out;
    for (const QString section : {"Speed Dial", "TabName", "MemoLog"})
        for (const QString& key : f.keyNames(section))
            out[section + "/" + key.toLower()] = f.read(section, key, 1 << 20);
    return out;
}

// A translation that changes every text the program shows.
class EveryTextTranslated : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char* = nullptr,
                      int = -1) const override
    {
        return QStringLiteral("~") + QString::fromUtf8(source);
    }
};

// The main window in subject or index mode, its tab menu answered by the
// test: `choose` is triggered while the menu is shown, as a user's pick.
struct MainWindow
{
    ProgramParts parts;
    FrmDialer window{&parts};
    DirectoryView* view = nullptr;
    QAction* choose = nullptr;
    QStringList shown; // "caption|enabled" of the tab menu's items, last shown

    MainWindow(bool subject, Prompter& prompts) : parts(nullptr, PartDoubles{.prompter = &prompts})
    {
        view = child<QFrame>(&window, "fraMain")->findChild<DirectoryView*>();
        for (QMenu* menu : {child<QMenu>(&window, "mnuMouse"), child<QMenu>(&window, "mnuMouse1")})
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] {
                shown.clear();
                for (QAction* a : menu->actions())
                    if (!a->isSeparator())
                        shown << a->text() + (a->isEnabled() ? "|on" : "|off");
                if (QAction* a = std::exchange(choose, nullptr))
                    a->trigger();
                QTimer::singleShot(0, menu, &QMenu::close);
            });
        view->showStartupTabs(subject);
        window.show();
    }
    // A tab chosen with the mouse (the strip scrolls it into view).
    void selectTab(int tab) { part<QTabBar>(view, "TabS")->setCurrentIndex(tab - 1); }
    void clickSelectedTab(Qt::MouseButton button = Qt::LeftButton)
    {
        const QRect r =
            part<QTabBar>(view, "TabS")->tabRect(part<QTabBar>(view, "TabS")->currentIndex());
        QTest::mouseClick(part<QTabBar>(view, "TabS"), button, {}, r.center());
    }
    void tabMenu(QAction* item)
    {
        choose = item;
        clickSelectedTab(Qt::RightButton);
    }
};

} // namespace

class TestDirectoryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { options().resetToDesigned(); }
    void cleanup() {}

    void viewSitsInTheMainWindowAndTakesEachKeyOnce()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        fill(false);
        ProgramParts parts(nullptr, PartDoubles{.prompter = &prompts});
        FrmDialer window(&parts);
        auto* view = child<QFrame>(&window, "fraMain")->findChild<DirectoryView*>();
        QVERIFY(view);
        QCOMPARE(child<QAction>(&window, "EditSpeed1")->text(),
                 QString("01.")); // until the first page is shown
        view->showStartupTabs(false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(child<QAction>(&window, "EditSpeed1")->text(), QString(" &1."));
        QCOMPARE(child<QAction>(&window, "EditSpeed12")->text(), QString("12&:"));
        QCOMPARE(view->caption(1), QString("Anna Berg"));
        QVERIFY(child<QAction>(&window, "mnuIndex")->isChecked());
        // The pad button stays visible over the view.
        QVERIFY(child<QToolButton>(&window, "cmdHide")->isVisible());
        const QRect subject(part<QPushButton>(view, "cmdSubject")
                                ->mapTo(child<QFrame>(&window, "fraMain"), QPoint(0, 0)),
                            part<QPushButton>(view, "cmdSubject")->size());
        QVERIFY(!subject.intersects(child<QToolButton>(&window, "cmdHide")->geometry()));
        shoot(&window, "main-index");

        part<QTabBar>(view, "TabS")->setFocus();
        QTest::keyClick(part<QTabBar>(view, "TabS"), Qt::Key_Up);
        QCOMPARE(view->page(), 1);
        QCOMPARE(child<QAction>(&window, "EditSpeed1")->text(), QString("1&3."));
        QTest::keyClick(part<QTabBar>(view, "TabS"), Qt::Key_Right);
        QCOMPARE(view->selectedTab(), 2);
        QCOMPARE(view->page(), 0);
        QTest::keyClicks(part<QTabBar>(view, "TabS"), "e");
        QCOMPARE(view->selectedTab(), 5);

        // Menu items of the window run the directory's commands.
        child<QAction>(&window, "mnuSubject")->trigger();
        QVERIFY(view->subjectMode());
        QVERIFY(child<QAction>(&window, "mnuSubject")->isChecked());
        QVERIFY(child<QAction>(&window, "mnuArrange")->isEnabled());
        child<QAction>(&window, "mnuIndex")->trigger();
        QVERIFY(!view->subjectMode());
        QVERIFY(!child<QAction>(&window, "mnuArrange")->isEnabled());
        QVERIFY(prompts.inputs.isEmpty());
        view->selectTab(1);

        child<QAction>(&window, "EditSpeed3")->trigger();
        QVERIFY(view->editor());
        QCOMPARE(part<QLineEdit>(view->editor(), "TxtName")->text(), QString("Pizza & Pasta"));
        QCOMPARE(part<QPushButton>(view, "CmdS3")->text(),
                 QString("Pizza && Pasta")); // shown as typed
        view->editor()->cancel();
        QTRY_VERIFY(!view->editor());

        // Ctrl+E hides the dialing pad through the window.
        QTest::keyClick(part<QTabBar>(view, "TabS"), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(child<QFrame>(&window, "fraPad")->isHidden());
        QVERIFY(child<QToolButton>(&window, "cmdShow")->isVisible());
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
        auto* view = child<QFrame>(&window, "fraMain")->findChild<DirectoryView*>();
        view->showStartupTabs(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        shoot(&window, "main-subject");
        auto inside = [](QWidget* w, QWidget* in) {
            return QRect(QPoint(0, 0), in->size())
                .contains(QRect(w->mapTo(in, QPoint(0, 0)), w->size()));
        };
        auto rightEdge = [&](int b) {
            return part<QLabel>(view, "lblNo" + QString::number(b))
                ->mapTo(view, QPoint(part<QLabel>(view, "lblNo" + QString::number(b))->width(), 0))
                .x();
        };
        const int labelsEnd = rightEdge(1);
        part<QScrollBar>(view, "hsbPage")->setValue(8);
        shoot(&window, "main-subject-page9");
        // The labels move left for three digits but stay next to their buttons.
        QCOMPARE(rightEdge(1), labelsEnd);
        for (int b = 1; b <= 12; ++b) {
            QVERIFY(inside(part<QPushButton>(view, "CmdS" + QString::number(b)),
                           child<QFrame>(&window, "fraMain")));
            QVERIFY(inside(part<QLabel>(view, "lblNo" + QString::number(b)),
                           child<QFrame>(&window, "fraMain")));
            QVERIFY(rightEdge(b) <= part<QPushButton>(view, "CmdS" + QString::number(b))->x());
        }
        for (QWidget* w : std::initializer_list<QWidget*>{part<QScrollBar>(view, "hsbPage"),
                                                          part<QFrame>(view, "fraRight"),
                                                          part<QPushButton>(view, "cmdIndex")})
            QVERIFY(inside(w, child<QFrame>(&window, "fraMain")));
        part<QScrollBar>(view, "hsbPage")->setValue(0);

        view->editSpeed(4);
        FrmSpeedDial* editor = view->editor();
        QVERIFY(editor);
        part<QCheckBox>(editor, "chkIgnore")->setChecked(true);
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        shoot(editor, "editor");
        QVERIFY(editor->x() > window.x() + window.width());
        for (QWidget* w : std::initializer_list<QWidget*>{part<QPushButton>(editor, "CmdCancel"),
                                                          part<QLabel>(editor, "lblPulse"),
                                                          part<QLineEdit>(editor, "TxtNumber")})
            QVERIFY(inside(w, editor));
        editor->cancel();
        QTRY_VERIFY(!view->editor());

        view->openMemo("0101");
        FrmMemo* memo = view->memoPad();
        QVERIFY(QTest::qWaitForWindowExposed(memo));
        shoot(memo, "memo");
        memo->resize(200, 150); // below the smallest size
        QTRY_VERIFY(memo->width() > 200 && memo->height() > 150);
        shoot(memo, "memo-small");
        for (QWidget* w : {static_cast<QWidget*>(part<QPushButton>(memo, "CmdSave")),
                           static_cast<QWidget*>(part<QPushButton>(memo, "CmdOK")),
                           static_cast<QWidget*>(part<QPushButton>(memo, "CmdEdit")),
                           static_cast<QWidget*>(part<QPlainTextEdit>(memo, "TxtLog")),
                           static_cast<QWidget*>(part<QPlainTextEdit>(memo, "TxtMemo"))})
            QVERIFY(inside(w, memo));
        QVERIFY(part<QPushButton>(memo, "CmdSave")->geometry().right() <
                part<QPushButton>(memo, "CmdOK")->x());
        QVERIFY(part<QPushButton>(memo, "CmdOK")->geometry().right() <
                part<QPushButton>(memo, "CmdEdit")->x());
        QVERIFY(part<QPlainTextEdit>(memo, "TxtMemo")->geometry().bottom() <
                part<QPushButton>(memo, "CmdOK")->y());
        QVERIFY(part<QPlainTextEdit>(memo, "TxtLog")->geometry().bottom() <
                part<QLabel>(memo, "LblMemo")->y() + 2);
        memo->close();
    }

    void tabMenuMovesTabsWithTheirLogsAndAsksForTitles()
    {
        TestEnv env;
        {
            IniFile::Batch batch(directoryStore().file());
            directoryStore().writeTabTitle(1, "Family");
            directoryStore().writeTabTitle(3, "Work");
            putEntry(true, 1, 1, "Mum");
            putEntry(true, 3, 1, "Ann", "Ann's notes");
            putEntry(true, 3, 2, "Ben");
            putEntry(true, 3, 15, "Cleo", "Cleo's notes");
            // The untitled tab 7 holds an entry saved through the Edit menu
            // and the log of an entry deleted long ago.
            putEntry(true, 7, 5, "Kept");
            directoryStore().writeNoteLog(true, "0701", encodeNoteLog("old note"));
        }
        ScriptedPrompter prompts;
        MainWindow d(true, prompts);
        FrmDialer& w = d.window;
        d.selectTab(3);
        d.tabMenu(nullptr);
        QCOMPARE(d.shown, QStringList({"Edit Tab:  \"Work\"|on", "Move Tab:  \"Work\"|on",
                                       "Paste Tab|off", "Delete Tab:  \"Work\"|on"}));
        d.tabMenu(child<QAction>(&w, "mnuMoveTab"));
        QCOMPARE(d.view->moveSourceTab(), 3);
        // Renaming the tab being moved only renames it.
        prompts.inputAnswers << QString("Work");
        d.tabMenu(child<QAction>(&w, "mnuEditTab"));
        QCOMPARE(prompts.inputs.last().prompt, QString("Please enter Tab title"));
        QCOMPARE(prompts.inputs.last().title, QString("Edit Tab"));
        QCOMPARE(prompts.inputs.last().defaultText, QString("Work"));
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(storedName(true, 3, 1), QString("Ann"));

        // The untitled tab 7 is chosen without a prompt; its menu pastes.
        d.selectTab(7);
        QCOMPARE(prompts.inputs.size(), 1);
        d.tabMenu(nullptr);
        QCOMPARE(d.shown, QStringList({"Name this Tab|on", "Move Tab:|off",
                                       "Paste Tab:  \"Work\"|on", "Delete Tab:|off"}));
        prompts.messageAnswers << MsgResult::Yes;
        d.tabMenu(child<QAction>(&w, "mnuPasteTab"));
        QCOMPARE(prompts.messages.last().text, QString("Move Tab:  \"Work\"into this location?"));
        QCOMPARE(prompts.messages.last().title, QString("Moving Tab:  \"Work\""));
        QCOMPARE(prompts.messages.last().buttons, MsgButtons::YesNo);
        QCOMPARE(d.view->tabCaption(7), QString("Work"));
        QCOMPARE(d.view->tabCaption(3), QString());
        QCOMPARE(d.view->caption(1), QString("Ann"));
        QCOMPARE(d.view->caption(5), QString("Kept"));
        QCOMPARE(child<QAction>(&w, "mnuPasteTab")->text(), QString());
        QVERIFY(!child<QAction>(&w, "mnuPasteTab")->isEnabled());
        QCOMPARE(d.view->moveSourceTab(), 0);
        {
            IniFile f(env.settingsFile());
            QCOMPARE(f.read(u"TabName", u"07"), QString("Work"));
            QCOMPARE(f.read(u"TabName", u"03"), QString());
            QCOMPARE(f.read(u"Speed Dial", u"NName0715"), QString("Cleo"));
            QCOMPARE(f.read(u"Speed Dial", u"NNumber0702"), QString("555 0302"));
            QCOMPARE(f.read(u"Speed Dial", u"NName0301"), QString());
            QCOMPARE(f.read(u"Speed Dial", u"NNumber0315"), QString());
        }
        QCOMPARE(storedLog(true, 7, 1), QString("Ann's notes"));
        QCOMPARE(storedLog(true, 7, 15), QString("Cleo's notes"));
        QCOMPARE(storedLog(true, 3, 1), QString("old note")); // no log lost or misplaced

        // A pending move never pastes into a titled tab being renamed.
        d.tabMenu(child<QAction>(&w, "mnuMoveTab"));
        d.selectTab(1);
        prompts.inputAnswers << QString("Family");
        d.tabMenu(child<QAction>(&w, "mnuEditTab"));
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(storedName(true, 7, 1), QString("Ann"));
        QCOMPARE(storedName(true, 1, 1), QString("Mum"));

        // No at the move question changes nothing and ends the move.
        d.selectTab(9);
        const QByteArray before = TestEnv::readFile(env.settingsFile());
        prompts.messageAnswers << MsgResult::No;
        d.tabMenu(child<QAction>(&w, "mnuPasteTab"));
        QCOMPARE(TestEnv::readFile(env.settingsFile()), before);
        QCOMPARE(child<QAction>(&w, "mnuPasteTab")->text(), QString());
        QVERIFY(!child<QAction>(&w, "mnuPasteTab")->isEnabled());
        QCOMPARE(d.view->moveSourceTab(), 0);

        // Blanks are no title; a second click on the unnamed tab asks again.
        const int asked = int(prompts.inputs.size());
        prompts.inputAnswers << QString("   ");
        d.clickSelectedTab();
        QCOMPARE(prompts.inputs.size(), asked + 1);
        QCOMPARE(d.view->tabCaption(9), QString());
        QVERIFY(!IniFile(env.settingsFile()).contains(u"TabName", u"09"));
        d.clickSelectedTab();
        QCOMPARE(prompts.inputs.size(), asked + 2);
        prompts.inputAnswers << QString("R&D");
        d.clickSelectedTab();
        QCOMPARE(d.view->tabCaption(9), QString("R&D"));
        QCOMPARE(part<QTabBar>(d.view, "TabS")->tabText(8), QString("R&&D")); // shown as typed
        d.tabMenu(nullptr);
        QCOMPARE(d.shown.first(), QString("Edit Tab:  \"R&&D\"|on"));
    }

    void deleteTabAndWritesThatFail()
    {
        TestEnv env;
        {
            IniFile::Batch batch(directoryStore().file());
            directoryStore().writeTabTitle(2, "Doctors");
            putEntry(true, 2, 1, "Dr. A", "notes A");
            putEntry(true, 2, 13, "Dr. B");
            directoryStore().writeTabTitle(4, "Shops");
        }
        ScriptedPrompter prompts;
        MainWindow d(true, prompts);
        FrmDialer& w = d.window;
        d.selectTab(2);
        const QByteArray before = TestEnv::readFile(env.settingsFile());
        d.tabMenu(child<QAction>(&w, "mnuDeleteTab")); // the default answer
        const MessageRequest warning = prompts.messages.last();
        QCOMPARE(warning.text,
                 QString("WARNING!\nDeleting the Tab will erase data from the Speed Dials within "
                         "it!"));
        QCOMPARE(warning.title, QString("Delete Tab  \"Doctors\"."));
        QCOMPARE(warning.buttons, MsgButtons::OkCancel);
        QCOMPARE(warning.icon, MsgIcon::Warning);
        QCOMPARE(warning.defaultButton, 2);
        QCOMPARE(TestEnv::readFile(env.settingsFile()), before);
        QCOMPARE(d.view->caption(1), QString("Dr. A"));

        // A settings file that cannot be written: each command says so and
        // changes nothing.
        QFile::setPermissions(env.settingsFile(), QFile::ReadOwner | QFile::ReadGroup);
        auto reported = [&] {
            return prompts.messages.last().icon == MsgIcon::Critical &&
                   prompts.messages.last().text.contains("could not be saved");
        };
        prompts.messageAnswers << MsgResult::Ok;
        d.tabMenu(child<QAction>(&w, "mnuDeleteTab"));
        QVERIFY(reported());
        QCOMPARE(d.view->tabCaption(2), QString("Doctors"));
        QCOMPARE(d.view->caption(1), QString("Dr. A"));
        QCOMPARE(storedName(true, 2, 1), QString("Dr. A"));
        d.tabMenu(child<QAction>(&w, "mnuMoveTab"));
        d.selectTab(6);
        prompts.messageAnswers << MsgResult::Yes;
        d.tabMenu(child<QAction>(&w, "mnuPasteTab"));
        QVERIFY(reported());
        QCOMPARE(d.view->tabCaption(6), QString());
        QCOMPARE(d.view->caption(1), QString());
        QCOMPARE(d.view->moveSourceTab(), 2); // still pending, to be tried again
        prompts.messageAnswers << MsgResult::Yes;
        child<QAction>(&w, "mnuArrange")->trigger();
        QVERIFY(reported());
        QCOMPARE(child<QAction>(&w, "mnuCut")->text(), QString("Cu&t"));
        QCOMPARE(d.view->tabCaption(1), QString());
        QCOMPARE(TestEnv::readFile(env.settingsFile()), before);
        QFile::setPermissions(env.settingsFile(), QFile::ReadOwner | QFile::WriteOwner);

        // Deleting the tab of a pending move ends the move; the logs stay.
        d.selectTab(2);
        prompts.messageAnswers << MsgResult::Ok;
        d.tabMenu(child<QAction>(&w, "mnuDeleteTab"));
        QCOMPARE(d.view->tabCaption(2), QString());
        for (int b = 1; b <= 12; ++b)
            QCOMPARE(d.view->caption(b), QString());
        QCOMPARE(storedName(true, 2, 13), QString());
        QCOMPARE(directoryStore().readTabTitle(2), QString());
        QCOMPARE(storedLog(true, 2, 1), QString("notes A"));
        QCOMPARE(d.view->moveSourceTab(), 0);
        QCOMPARE(child<QAction>(&w, "mnuPasteTab")->text(), QString());
        // Clicking the tab again asks for a title, with no paste question.
        const int messages = int(prompts.messages.size());
        d.clickSelectedTab();
        QCOMPARE(prompts.inputs.size(), 1);
        QCOMPARE(prompts.messages.size(), messages);
    }

    void tabSortKeepsTabsWholeAndUndoBringsBackTheDirectoryBeforeIt()
    {
        TestEnv env;
        {
            IniFile::Batch batch(directoryStore().file());
            DirectoryStore& s = directoryStore();
            s.writeTabTitle(1, "Zoo");
            putEntry(true, 1, 1, "Zebra", "stripes");
            putEntry(true, 1, 996, "Last");
            s.writeTabTitle(2, "Apple");
            putEntry(true, 2, 1, "Ann");
            putEntry(true, 3, 3, "Loose"); // an untitled tab's entry
            s.writeTabTitle(4, "Home");
            putEntry(true, 4, 1, "H4");
            s.writeTabTitle(5, "Mail");
            putEntry(true, 5, 13, "Mo", "mail log");
            s.writeTabTitle(6, "Home1");
            putEntry(true, 6, 1, "H1");
            s.writeTabTitle(8, "Home");
            putEntry(true, 8, 1, "H8");
            putEntry(true, 8, 996, "H8 last");
            putEntry(false, 1, 1, "Index entry");
        }
        ScriptedPrompter prompts;
        MainWindow d(true, prompts);
        FrmDialer& w = d.window;
        // An edit made since the file was last saved as a profile, and a
        // pending move.
        putEntry(true, 2, 2, "Edited");
        d.selectTab(5);
        d.tabMenu(child<QAction>(&w, "mnuMoveTab"));
        const QMap<QString, QString> beforeSort = directoryIn(env.settingsFile());

        prompts.messageAnswers << MsgResult::Yes;
        child<QAction>(&w, "mnuArrange")->trigger();
        QCOMPARE(prompts.messages.last().text,
                 QString("Do you want to alphabetically sort the Subject Tabs?\nIt will take "
                         "about 2-5 minutes depending on your hardware."));
        QCOMPARE(prompts.messages.last().title, QString("Alphabetical order"));
        const QStringList titles = {"Apple", "Home", "Home", "Home1", "Mail", "Zoo", ""};
        for (int t = 1; t <= titles.size(); ++t)
            QCOMPARE(d.view->tabCaption(t), titles[t - 1]);
        QCOMPARE(storedName(true, 1, 2), QString("Edited"));
        QCOMPARE(storedName(true, 2, 1), QString("H4"));
        QCOMPARE(storedName(true, 3, 1), QString("H8"));
        QCOMPARE(storedName(true, 3, 996), QString("H8 last"));
        QCOMPARE(storedName(true, 4, 1), QString("H1"));
        QCOMPARE(storedName(true, 5, 13), QString("Mo"));
        QCOMPARE(storedLog(true, 5, 13), QString("mail log"));
        QCOMPARE(storedName(true, 6, 996), QString("Last"));
        QCOMPARE(storedLog(true, 6, 1), QString("stripes"));
        QCOMPARE(storedName(true, 7, 3), QString("Loose"));
        QCOMPARE(storedName(true, 8, 1), QString());
        QCOMPARE(storedName(false, 1, 1), QString("Index entry"));
        QCOMPARE(d.view->moveSourceTab(), 0);
        QCOMPARE(d.view->selectedTab(), 1);
        QCOMPARE(d.view->caption(1), QString("Ann"));

        QCOMPARE(child<QAction>(&w, "mnuCut")->text(), QString("&Undo Sorting"));
        Q_EMIT child<QMenu>(&w, "mnuEdit")->aboutToShow();
        QVERIFY(child<QAction>(&w, "mnuCut")->isEnabled());
        child<QAction>(&w, "mnuCut")->trigger();
        QCOMPARE(directoryIn(env.settingsFile()), beforeSort);
        QCOMPARE(d.view->tabCaption(1), QString("Zoo"));
        QCOMPARE(d.view->caption(1), QString("Zebra"));
        QCOMPARE(child<QAction>(&w, "mnuCut")->text(), QString("Cu&t"));
        QVERIFY(!child<QAction>(&w, "mnuCut")->isEnabled());
    }

    // Undo Sorting never takes back what was made after the sort, and a tab
    // selected by the program never asks for its title.
    void undoSortingKeepsLaterWorkAndAsksForNoTitle()
    {
        TestEnv env;
        {
            IniFile::Batch batch(directoryStore().file());
            directoryStore().writeTabTitle(2, "Zoo");
            putEntry(true, 2, 1, "Zebra");
            directoryStore().writeTabTitle(5, "Apple");
            putEntry(true, 5, 1, "Ann");
        }
        ScriptedPrompter prompts;
        MainWindow d(true, prompts);
        FrmDialer& w = d.window;
        QVERIFY(QTest::qWaitForWindowActive(&w)); // the window's keys reach it
        QCOMPARE(d.view->tabCaption(1), QString());
        prompts.messageAnswers << MsgResult::No << MsgResult::Yes;
        child<QAction>(&w, "mnuArrange")->trigger();
        child<QAction>(&w, "mnuArrange")->trigger();
        QCOMPARE(d.view->tabCaption(1), QString("Apple"));
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(d.view->tabCaption(1), QString());
        QVERIFY(prompts.inputs.isEmpty());

        // After a sort, a note stored by the memo pad's OK turns the item
        // back into Cut at once; an entry saved later is kept by Ctrl+X too.
        prompts.messageAnswers << MsgResult::Yes;
        child<QAction>(&w, "mnuArrange")->trigger();
        QCOMPARE(child<QAction>(&w, "mnuCut")->text(), QString("&Undo Sorting"));
        d.view->openMemo("0101");
        FrmMemo* memo = d.view->memoPad();
        QTest::keyClicks(part<QPlainTextEdit>(memo, "TxtMemo"), "met at the zoo");
        part<QPushButton>(memo, "CmdSave")->click();
        QCOMPARE(child<QAction>(&w, "mnuCut")->text(), QString("&Undo Sorting"));
        part<QPushButton>(memo, "CmdOK")->click();
        QCOMPARE(child<QAction>(&w, "mnuCut")->text(), QString("Cu&t"));
        child<QAction>(&w, "EditSpeed2")->trigger();
        part<QLineEdit>(d.view->editor(), "TxtName")->setText("Apricot");
        part<QLineEdit>(d.view->editor(), "TxtNumber")->setText("555 0102");
        part<QPushButton>(d.view->editor(), "CmdSave")->click();
        QTRY_VERIFY(!d.view->editor());
        const QByteArray kept = TestEnv::readFile(env.settingsFile());
        QVERIFY(kept.contains("NName0102=Apricot\r\n"));
        QVERIFY(kept.contains("met at the zoo"));
        Q_EMIT child<QMenu>(&w, "mnuEdit")->aboutToShow();
        QVERIFY(!child<QAction>(&w, "mnuCut")->isEnabled());
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(TestEnv::readFile(env.settingsFile()), kept);
        QCOMPARE(d.view->caption(2), QString("Apricot"));
        QVERIFY(prompts.inputs.isEmpty());
    }

    // Subject tabs show their whole titles, measured in the strip's font, and
    // the title as tooltip; only a title wider than the strip is elided.
    void subjectTabsShowTheirWholeTitles()
    {
        TestEnv env;
        const QStringList titles = {"Work", "Subject tabs", "Family & friends", "W",
                                    QString("Very long title ").repeated(12).trimmed()};
        for (int t = 1; t <= titles.size(); ++t)
            directoryStore().writeTabTitle(t, titles[t - 1]);
        ScriptedPrompter prompts;
        MainWindow d(true, prompts);
        QVERIFY(QTest::qWaitForWindowExposed(&d.window));
        QTabBar* bar = part<QTabBar>(d.view, "TabS");
        const QFontMetrics metrics(bar->font());
        for (int t = 0; t < titles.size(); ++t)
            QCOMPARE(bar->tabToolTip(t), titles[t]);
        for (int t = 0; t < 4; ++t)
            QVERIFY2(bar->tabRect(t).width() > metrics.horizontalAdvance(titles[t]),
                     qPrintable(titles[t]));
        QVERIFY(bar->tabRect(4).width() <= bar->width());
        QVERIFY(bar->tabRect(3).width() >= part<DirectoryTabBar>(d.view, "TabS")->fixedTabWidth());
        shoot(&d.window, "subject-tabs");
        QVERIFY(prompts.inputs.isEmpty());
    }

    void subtitleGroupsSortByName()
    {
        TestEnv env;
        {
            IniFile::Batch batch(directoryStore().file());
            putEntry(false, 1, 13, "*Family");
            putEntry(false, 1, 14, "Bob", "bob log");
            putEntry(false, 1, 20, "Anna", "anna log");
            putEntry(false, 1, 30, "Carl");
            directoryStore().writeNoteLog(false, "0125", encodeNoteLog("orphan"));
            putEntry(false, 1, 37, "*Work");
            putEntry(false, 1, 40, "Xavier");
            putEntry(false, 1, 949, "*Misc");
            putEntry(false, 1, 960, "Zed");
            putEntry(false, 1, 990, "Al");
            putEntry(false, 1, 996, "Stay");
        }
        ScriptedPrompter prompts;
        MainWindow d(false, prompts);
        FrmDialer& w = d.window;
        d.clickSelectedTab(Qt::RightButton); // index tabs have no tab menu
        QVERIFY(d.shown.isEmpty());
        const QMap<QString, QString> beforeSorts = directoryIn(env.settingsFile());
        part<QScrollBar>(d.view, "hsbPage")->setValue(1);
        d.view->openMemo("0120"); // Anna's memo pad stays with her
        prompts.messageAnswers << MsgResult::Yes;
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS1"), Qt::LeftButton);
        QCOMPARE(d.view->memoPad()->entryKey(), QString("0114"));
        d.view->memoPad()->close();
        QCOMPARE(prompts.messages.last().text,
                 QString("Do you want to alphabetically sort the Speed Dial buttons\nbelonging to "
                         "the *Family subtitle?"));
        QCOMPARE(prompts.messages.last().title, QString("Alphabetical order"));
        QCOMPARE(d.view->caption(2), QString("Anna"));
        QCOMPARE(d.view->caption(3), QString("Bob"));
        QCOMPARE(d.view->caption(4), QString("Carl"));
        QCOMPARE(d.view->currentEntryKey(), QString());
        QCOMPARE(storedLog(false, 1, 14), QString("anna log"));
        QCOMPARE(storedLog(false, 1, 15), QString("bob log"));
        QStringList orphan;
        for (int s = 17; s <= 36; ++s) {
            QCOMPARE(storedName(false, 1, s), QString());
            if (!storedLog(false, 1, s).isEmpty())
                orphan << storedLog(false, 1, s);
        }
        QCOMPARE(orphan, QStringList({"orphan"})); // kept, on no entry
        QCOMPARE(storedName(false, 1, 37), QString("*Work"));
        QCOMPARE(storedName(false, 1, 40), QString("Xavier"));

        // The last group runs to slot 995; slot 996 stays.
        part<QScrollBar>(d.view, "hsbPage")->setValue(79);
        prompts.messageAnswers << MsgResult::Yes;
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS1"), Qt::LeftButton);
        QCOMPARE(storedName(false, 1, 950), QString("Al"));
        QCOMPARE(storedName(false, 1, 951), QString("Zed"));
        QCOMPARE(storedName(false, 1, 990), QString());
        QCOMPARE(storedName(false, 1, 996), QString("Stay"));
        // Undo brings back the directory as it was before the first of the
        // two sorts, and shows the subject tabs.
        d.view->openMemo("01950");
        child<QAction>(&w, "mnuCut")->trigger();
        QCOMPARE(d.view->memoPad()->entryKey(), QString("01990"));
        d.view->memoPad()->close();
        QCOMPARE(directoryIn(env.settingsFile()), beforeSorts);
        QVERIFY(d.view->subjectMode());
    }

    // Translated, the items show other captions; what they do stays the same.
    void itemsWorkInAnyLanguage()
    {
        TestEnv env;
        {
            IniFile::Batch batch(directoryStore().file());
            putEntry(false, 1, 1, "*Group");
            putEntry(false, 1, 2, "Zed");
            putEntry(false, 1, 3, "Al");
        }
        EveryTextTranslated translation; // goes after the window
        QCoreApplication::installTranslator(&translation);
        ScriptedPrompter prompts;
        MainWindow d(false, prompts);
        FrmDialer& w = d.window;
        QCOMPARE(child<QAction>(&w, "mnuHide")->text(), QString("~Hide Dialing &Pad"));
        child<QAction>(&w, "mnuHide")->trigger();
        QVERIFY(!w.padShown());
        child<QAction>(&w, "mnuHide")->trigger();
        QVERIFY(w.padShown());

        // Nothing copied: an empty button opens the editor; copied: it pastes.
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS5"), Qt::LeftButton);
        QVERIFY(d.view->editor());
        d.view->closeEditor();
        QTRY_VERIFY(!d.view->editor());
        d.choose = child<QAction>(&w, "mnuMouseCopy");
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS2"), Qt::RightButton);
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS5"), Qt::LeftButton);
        QCOMPARE(storedName(false, 1, 5), QString("Zed"));

        // The Cut item undoes a sort.
        const QMap<QString, QString> beforeSort = directoryIn(env.settingsFile());
        prompts.messageAnswers << MsgResult::Yes;
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS1"), Qt::LeftButton);
        QCOMPARE(storedName(false, 1, 2), QString("Al"));
        QCOMPARE(child<QAction>(&w, "mnuCut")->text(), QString("~&Undo Sorting"));
        child<QAction>(&w, "mnuCut")->trigger();
        QCOMPARE(directoryIn(env.settingsFile()), beforeSort);
    }

    void keysEditMenuAndLongNamesInTheMainWindow()
    {
        TestEnv env;
        putEntry(false, 1, 1, "Dr. Kowalski Dental Clinic");
        putEntry(false, 1, 2, "Plumber");
        ScriptedPrompter prompts;
        QStringList dialed;
        MainWindow d(false, prompts);
        FrmDialer& w = d.window;
        // The dials the buttons ask for are the test's.
        QObject::disconnect(d.view, &DirectoryView::dialRequested, nullptr, nullptr);
        QObject::connect(d.view, &DirectoryView::dialRequested,
                         [&](const DialRequest& r) { dialed << r.number; });
        part<QScrollBar>(d.view, "hsbPage")->setValue(1);
        part<QScrollBar>(d.view, "hsbPage")->setValue(0);
        QCOMPARE(d.view->caption(1), QString("Dr. Kowalski Denta"));
        // The editor and Copy take the whole stored name.
        d.choose = child<QAction>(&w, "mnuMouseCopy");
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS1"), Qt::RightButton);
        QTest::mouseClick(part<QPushButton>(d.view, "CmdS5"),
                          Qt::LeftButton); // an empty button pastes
        QCOMPARE(storedName(false, 1, 5), QString("Dr. Kowalski Dental Clinic"));
        child<QAction>(&w, "EditSpeed1")->trigger();
        QCOMPARE(part<QLineEdit>(d.view->editor(), "TxtName")->text(),
                 QString("Dr. Kowalski Dental Clinic"));
        part<QPushButton>(d.view->editor(), "CmdSave")->click();
        QTRY_VERIFY(!d.view->editor());
        QCOMPARE(storedName(false, 1, 1), QString("Dr. Kowalski Dental Clinic"));

        // Letters typed with Ctrl or Alt jump to no tab; Alt+2 clicks button 2.
        QTest::keyClick(part<QTabBar>(d.view, "TabS"), Qt::Key_K, Qt::AltModifier);
        QTest::keyClick(part<QTabBar>(d.view, "TabS"), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(d.view->selectedTab(), 1);
        QTest::keyClick(part<QTabBar>(d.view, "TabS"), Qt::Key_2, Qt::AltModifier);
        QCOMPARE(dialed, QStringList({"555 0102"}));
        QCOMPARE(d.view->selectedTab(), 1);
        QTest::keyClick(part<QTabBar>(d.view, "TabS"), Qt::Key_K);
        QCOMPARE(d.view->selectedTab(), 11);

        // The Edit menu works on the selection of the pad's number box.
        auto* txtDial = w.findChild<QLineEdit*>("txtDial");
        QVERIFY(txtDial);
        txtDial->setText("5551234");
        txtDial->setSelection(0, 3);
        Q_EMIT child<QMenu>(&w, "mnuEdit")->aboutToShow();
        QVERIFY(child<QAction>(&w, "mnuCut")->isEnabled() &&
                child<QAction>(&w, "mnuCopy")->isEnabled() &&
                child<QAction>(&w, "mnuDelete")->isEnabled());
        child<QAction>(&w, "mnuCopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("555"));
        child<QAction>(&w, "mnuDelete")->trigger();
        QCOMPARE(txtDial->text(), QString("1234"));
        txtDial->setCursorPosition(0);
        Q_EMIT child<QMenu>(&w, "mnuEdit")->aboutToShow();
        QVERIFY(!child<QAction>(&w, "mnuDelete")->isEnabled());
        child<QAction>(&w, "mnuDelete")->trigger();
        QCOMPARE(txtDial->text(), QString("1234")); // no selection: nothing goes
        txtDial->setSelection(1, 2);
        Q_EMIT child<QMenu>(&w, "mnuEdit")->aboutToShow();
        child<QAction>(&w, "mnuCut")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("23"));
        QCOMPARE(txtDial->text(), QString("14"));
        // Ctrl+V in the box replaces its whole text, as the menu's Paste does.
        QGuiApplication::clipboard()->setText("0800 123");
        txtDial->setFocus();
        txtDial->setCursorPosition(1);
        QTest::keyClick(txtDial, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(txtDial->text(), QString("0800 123"));

        // Ctrl+S and Ctrl+P are the File menu's; the help's key list says so.
        int saved = 0;
        QObject::disconnect(child<QAction>(&w, "mnuSave"), &QAction::triggered, nullptr, nullptr);
        QObject::connect(child<QAction>(&w, "mnuSave"), &QAction::triggered, [&] { ++saved; });
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(part<QTabBar>(d.view, "TabS"), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved, 1);
        QVERIFY(!d.view->subjectMode());
        QFile help(":/help/directory.html");
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(help.readAll());
        QVERIFY(page.contains("<h2>Keys</h2>"));
        QVERIFY(page.contains("<b>Ctrl+S</b> and <b>Ctrl+P</b> belong to the File menu"));
    }
};

QTEST_MAIN(TestDirectoryWindow)
#include "test_directory_window.moc"
