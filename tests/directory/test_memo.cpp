// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/common/Clock.h"
#include "core/directory/DirectoryStore.h"
#include "directory/DirectoryTestStore.h"
#include "directory/WindowParts.h"
#include "gui/directory/DirectoryView.h"
#include "gui/directory/FrmMemo.h"
#include "gui/directory/FrmSpeedDial.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace telvaro;
using namespace telvaro::directory;
using telvaro::test::directoryStore;
using telvaro::test::part;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

namespace {

class FixedClock : public Clock
{
public:
    QDateTime at{QDate(2026, 12, 8), QTime(9, 5, 7)};
    QDateTime now() const override { return at; }
    std::chrono::steady_clock::time_point monotonic() const override { return {}; }
};

// The log box text as stored (line breaks as CR LF).
QString storedLog(bool subject, const QString& key)
{
    return decodeNoteLog(directoryStore().readNoteLog(subject, key));
}

const QString kStamp = "12-08-2026          09:05:07";

} // namespace

class TestMemo : public QObject
{
    Q_OBJECT

private:
    FixedClock m_clock;
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ScriptedPrompter> m_prompts;
    std::unique_ptr<DirectoryView> m_view;
    // What the memo pad told the program: open, and each close (waiting
    // requests of other programs may then be taken).
    bool m_memoOpen = false;
    int m_requestsTaken = 0;

    // Opens the pad as the entry editor's "Edit Memo" does.
    FrmMemo* openFor(const QString& key)
    {
        m_view->openMemo(key);
        return m_view->memoPad();
    }

private Q_SLOTS:
    void init()
    {
        setClock(&m_clock);
        m_env = std::make_unique<TestEnv>();
        directoryStore().writeEntryName(false, "0101", "Anna");
        directoryStore().writeEntryName(false, "0230", "Zoe on tab B");
        m_prompts = std::make_unique<ScriptedPrompter>();
        m_view = std::make_unique<DirectoryView>(directoryStore(), *m_prompts);
        m_view->showIndexTabs();
        m_memoOpen = false;
        m_requestsTaken = 0;
        connect(m_view.get(), &DirectoryView::memoOpenChanged, this, [this](bool open) {
            m_memoOpen = open;
            m_requestsTaken += open ? 0 : 1;
        });
    }

    void cleanup()
    {
        m_view.reset();
        QTest::qWait(0);
        m_prompts.reset();
        setClock(nullptr);
        m_env.reset();
    }

    void opensWithStampAndEmptyLog()
    {
        FrmMemo* pad = openFor("0101");
        QVERIFY(pad && pad->isVisible());
        QCOMPARE(pad->windowTitle(), QString("Anna"));
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtMemo")->toPlainText(), kStamp + "\n");
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtMemo")->textCursor().position(), kStamp.size() + 1);
        QVERIFY(part<QPlainTextEdit>(pad, "TxtLog")->toPlainText().isEmpty());
        QVERIFY(part<QPlainTextEdit>(pad, "TxtLog")->isReadOnly());
        QVERIFY(!part<QPushButton>(pad, "CmdSave")->isEnabled());
        QTest::mouseClick(part<QPlainTextEdit>(pad, "TxtMemo")->viewport(), Qt::LeftButton);
        QVERIFY(part<QPushButton>(pad, "CmdSave")->isEnabled());

        // A second opening while it is shown brings up the same pad.
        m_view->openMemo();
        QCOMPARE(m_view->memoPad(), pad);
    }

    void notesAreAddedAndStoredWithOk()
    {
        FrmMemo* pad = openFor("0101");
        QTest::keyClicks(part<QPlainTextEdit>(pad, "TxtMemo"), "Call back Tuesday");
        // Tab moves on to the buttons instead of going into the note.
        QTest::keyClick(part<QPlainTextEdit>(pad, "TxtMemo"), Qt::Key_Tab);
        QVERIFY(!part<QPlainTextEdit>(pad, "TxtMemo")->toPlainText().contains(u'\t'));
        QVERIFY(part<QPushButton>(pad, "CmdSave")->isEnabled());
        part<QPushButton>(pad, "CmdSave")->click();
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtLog")->toPlainText(),
                 "\n" + kStamp + "\nCall back Tuesday");
        QVERIFY(part<QPlainTextEdit>(pad, "TxtMemo")->toPlainText().isEmpty());
        // The second note carries no stamp unless the user types one.
        QTest::keyClicks(part<QPlainTextEdit>(pad, "TxtMemo"), "mail a@@b");
        part<QPushButton>(pad, "CmdSave")->click();
        // A note not added to the log is not stored.
        QTest::keyClicks(part<QPlainTextEdit>(pad, "TxtMemo"), "never added");
        QVERIFY(pad->ok());
        QTRY_VERIFY(!m_view->memoPad());
        QVERIFY(!m_memoOpen);
        QCOMPARE(m_requestsTaken, 1);
        QCOMPARE(directoryStore().readNoteLog(false, "0101"),
                 "@@" + kStamp + "@@Call back Tuesday@@mail a@@b" + QChar(0xDE));

        // Reopened, the typed "@@" has become a line break.
        pad = openFor("0101");
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtLog")->toPlainText(),
                 "\n" + kStamp + "\nCall back Tuesday\nmail a\nb");
    }

    void capacityMessagesAtOk()
    {
        ScriptedPrompter& prompts = *m_prompts;
        FrmMemo* pad = openFor("0101");
        pad->editLog();
        QVERIFY(!part<QPlainTextEdit>(pad, "TxtLog")->isReadOnly());

        // Line breaks count as the two characters they are stored as.
        part<QPlainTextEdit>(pad, "TxtLog")->setPlainText(QString(5897, 'a') + "\n");
        QCOMPARE(pad->logLength(), 5899);
        QVERIFY(pad->ok());
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(storedLog(false, "0101").size(), 5899);

        pad = openFor("0101");
        part<QPlainTextEdit>(pad, "TxtLog")->setPlainText(QString(5900, 'b'));
        QVERIFY(pad->ok());
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0].title, QString("Memo Pad full"));
        QVERIFY(prompts.messages[0].text.endsWith("additional 98 characters"));
        QCOMPARE(prompts.messages[0].icon, MsgIcon::Information);
        QCOMPARE(storedLog(false, "0101"), QString(5900, 'b'));

        pad = openFor("0101");
        part<QPlainTextEdit>(pad, "TxtLog")->setPlainText(QString(5997, 'c'));
        QVERIFY(pad->ok());
        QVERIFY(prompts.messages[1].text.endsWith("additional 1 characters"));
        QCOMPARE(storedLog(false, "0101"), QString(5997, 'c'));

        // 5998 characters are refused; the pad stays open and nothing is stored.
        pad = openFor("0101");
        part<QPlainTextEdit>(pad, "TxtLog")->setPlainText(QString(5998, 'd'));
        QVERIFY(!pad->ok());
        QCOMPARE(prompts.messages[2].title, QString("Text exceeds capacity"));
        QCOMPARE(prompts.messages[2].text,
                 QString("Memo cannot save this entry.\nThere are too many 1 characters"));
        QCOMPARE(prompts.messages[2].icon, MsgIcon::Critical);
        QVERIFY(pad->isVisible());
        QVERIFY(m_memoOpen);
        QCOMPARE(storedLog(false, "0101"), QString(5997, 'c'));
        part<QPlainTextEdit>(pad, "TxtLog")->setPlainText(QString(6000, 'd'));
        QVERIFY(!pad->ok());
        QVERIFY(prompts.messages[3].text.endsWith("too many 3 characters"));
    }

    void closingWithTheFrameStoresNothing()
    {
        directoryStore().writeNoteLog(false, "0101", encodeNoteLog("old"));
        FrmMemo* pad = openFor("0101");
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtLog")->toPlainText(), QString("old"));
        pad->editLog();
        part<QPlainTextEdit>(pad, "TxtLog")->setPlainText("changed");
        pad->close();
        QTRY_VERIFY(!m_view->memoPad());
        QVERIFY(!m_memoOpen);
        QCOMPARE(m_requestsTaken, 1);
        QCOMPARE(storedLog(false, "0101"), QString("old"));
    }

    void captionAndModeOfEntriesOffThePage()
    {
        // An entry of another tab: its name read from the store.
        FrmMemo* pad = openFor("0230");
        QCOMPARE(pad->windowTitle(), QString("Zoe on tab B"));
        pad->close();
        QTRY_VERIFY(!m_view->memoPad());
        // A call dialed from the pad has no entry: an empty caption.
        pad = openFor("0");
        QCOMPARE(pad->windowTitle(), QString());
        pad->close();
        QTRY_VERIFY(!m_view->memoPad());

        // The log goes back to the directory it was read from, even when the
        // view switches directories while the pad is open.
        directoryStore().writeNoteLog(false, "0101", encodeNoteLog("index log"));
        directoryStore().writeNoteLog(true, "0101", encodeNoteLog("subject log"));
        pad = openFor("0101");
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtLog")->toPlainText(), QString("index log"));
        m_view->showSubjectTabs();
        pad->editLog();
        part<QPlainTextEdit>(pad, "TxtLog")->setPlainText("index log, edited");
        QVERIFY(pad->ok());
        QCOMPARE(storedLog(false, "0101"), QString("index log, edited"));
        QCOMPARE(storedLog(true, "0101"), QString("subject log"));
        // Opened in subject mode, the same key shows the subject log.
        pad = openFor("0101");
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtLog")->toPlainText(), QString("subject log"));
    }

    void editorEditMemoKeepsTheEntryAndOpensItsOldLog()
    {
        // A deleted entry's log shows again for a new entry in its slot.
        directoryStore().writeNoteLog(false, "0105", encodeNoteLog("from the old entry"));
        m_view->clickButton(5);
        FrmSpeedDial* editor = m_view->editor();
        QVERIFY(editor);
        QTest::keyClicks(part<QLineEdit>(editor, "TxtName"), "New one");
        part<QCheckBox>(editor, "chkIgnore")->setChecked(true);
        QTest::keyClicks(part<QLineEdit>(editor, "TxtNumber"), "P555");
        part<QPushButton>(editor, "CmdMemo")->click();
        QTRY_VERIFY(!m_view->editor());
        QCOMPARE(directoryStore().readNumber(false, "0105"), QString("XXP555"));
        FrmMemo* pad = m_view->memoPad();
        QVERIFY(pad && pad->isVisible());
        QCOMPARE(pad->entryKey(), QString("0105"));
        QCOMPARE(pad->windowTitle(), QString("New one"));
        QCOMPARE(part<QPlainTextEdit>(pad, "TxtLog")->toPlainText(), QString("from the old entry"));
    }
};

QTEST_MAIN(TestMemo)
#include "test_memo.moc"
