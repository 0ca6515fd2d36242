// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialTestSupport.h"
#include "DialWindowControls.h"
#include "FakeLine.h"
#include "core/calllog/CallLog.h"

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/AnsweringDevices.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/CurrentProfile.h"
#include "gui/dialing/DialPad.h"
#include "gui/dialing/FrmConnect.h"
#include "settings/OptionsStore.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace telvaro;

using test::shoot;

class TestDialingWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> env;
    test::FakeTranslation translation;
    std::unique_ptr<test::FakeLine> line;
    CurrentProfile profile;
    calllog::CallLogWriter logs;
    std::unique_ptr<Dialer> dialer;
    std::unique_ptr<CallLog> log; // the outgoing log's writer, as the main window wires it
    std::unique_ptr<test::RecordingPlayer> player;
    std::unique_ptr<DialPad> padWidget;
    std::unique_ptr<FrmConnect> window;
    std::optional<test::PadControls> pad;
    std::optional<test::ConnectControls> call;

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<test::TestEnv>();
        test::resetDialing();
        line = std::make_unique<test::FakeLine>();
        translation.present = false; // no line layer session
        player = std::make_unique<test::RecordingPlayer>();
        dialer = std::make_unique<Dialer>(*line, translation, *player);
        line->watch(*dialer);
        log = std::make_unique<CallLog>(profile, logs);
        connect(dialer.get(), &Dialer::callEnded, log.get(), &CallLog::recordOutgoing);
        padWidget = std::make_unique<DialPad>(*dialer, *player);
        padWidget->resize(128, 380);
        padWidget->show();
        pad.emplace(padWidget.get());
        window = std::make_unique<FrmConnect>(*dialer);
        call.emplace(window.get());
        options().setText(OptionsStore::txtDelayTimer, QStringLiteral("3"));
        options().setText(OptionsStore::txtMinutes, QStringLiteral("0"));
        options().setText(OptionsStore::txtSeconds, QStringLiteral("5"));
        options().setText(OptionsStore::TxtRedial, QStringLiteral("3"));
    }
    void cleanup()
    {
        call.reset();
        window.reset();
        pad.reset();
        padWidget.reset();
        player.reset();
        dialer.reset();
        line.reset();
        env.reset();
    }

    void typingMapsLettersAndDropsTheRest()
    {
        QTest::keyClicks(pad->txtDial, QStringLiteral("1-800-FLOWERS!"));
        QCOMPARE(pad->txtDial->text(), QStringLiteral("1-800-3569377"));
        QTest::keyClick(pad->txtDial, Qt::Key_Backspace);
        QCOMPARE(pad->txtDial->text(), QStringLiteral("1-800-356937"));

        pad->txtDial->clear();
        options().setChecked(OptionsStore::chkIgnore, true);
        QTest::keyClicks(pad->txtDial, QStringLiteral("W@$"));
        QCOMPARE(pad->txtDial->text(), QStringLiteral("W@$"));
    }

    void startUpShowsTheRecentNumbersAndTheNewestInTheNumberBox()
    {
        // What the main window's start-up does with [Last Dialed Numbers].
        dialer->setRecentNumbers(QStringList{"5551234", "", "777"});
        dialer->showInPad(QStringLiteral("5551234"));
        QCOMPARE(pad->CmbDial->count(), 3);
        QCOMPARE(pad->CmbDial->itemText(2), QStringLiteral("777"));
        QCOMPARE(pad->txtDial->text(), QStringLiteral("5551234"));
        QVERIFY(pad->CmdDial->isEnabled());
    }

    void keysSoundAndReplaceTheSelection()
    {
        pad->txtDial->setText(QStringLiteral("1234"));
        pad->txtDial->setSelection(1, 2);
        QTest::mouseClick(pad->key('5'), Qt::LeftButton);
        QCOMPARE(pad->txtDial->text(), QStringLiteral("154"));
        QCOMPARE(pad->txtDial->cursorPosition(), 3);
        QTest::mouseClick(pad->CmdNo, Qt::LeftButton);
        QTest::mouseClick(pad->CmdStar, Qt::LeftButton);
        QCOMPARE(pad->txtDial->text(), QStringLiteral("154#*"));
        QCOMPARE(player->events,
                 (QStringList{QStringLiteral("async:900@8000"), QStringLiteral("async:756@8000"),
                              QStringLiteral("async:868@8000")}));
    }

    void dialIsEnabledByANumberAndLongNumbersGetATooltip()
    {
        QVERIFY(!pad->CmdDial->isEnabled());
        pad->txtDial->setText(QStringLiteral("12345678901234"));
        QVERIFY(pad->CmdDial->isEnabled());
        QVERIFY(pad->txtDial->toolTip().isEmpty());
        QTest::keyClick(pad->txtDial, Qt::Key_5);
        QCOMPARE(pad->txtDial->toolTip(), QStringLiteral("123456789012345"));
        pad->txtDial->clear();
        QVERIFY(!pad->CmdDial->isEnabled());
        QVERIFY(pad->txtDial->toolTip().isEmpty());
    }

    // The pad as it sits in the main window: Delete edits the number box;
    // a recent number redials exactly what its first dial did (with the
    // outside-line code once); an international number keeps the card
    // digits its rule puts after the number.
    void mainWindowPadEditsAndRedialsAsDialed()
    {
        test::ScriptedPrompter prompts;
        test::AnsweringDevices fake;
        test::FakeTranslation translation;
        translation.outsideLine = QStringLiteral("9");
        ProgramParts parts(nullptr, {&fake, &translation, player.get(), &prompts});
        FrmDialer main(&parts);
        parts.line().initialize(); // as start-up does
        (void)parts.line().queryDevice(0);
        const test::PadControls inMain(test::child<DialPad>(&main, "DialPad"));
        main.show();

        QTest::keyClicks(inMain.txtDial, QStringLiteral("5551234"));
        QTest::keyClick(inMain.txtDial, Qt::Key_Home);
        QTest::keyClick(inMain.txtDial, Qt::Key_Delete);
        QCOMPARE(inMain.txtDial->text(), QStringLiteral("551234"));
        QTest::keyClick(inMain.txtDial, Qt::Key_Delete, Qt::KeypadModifier);
        QCOMPARE(inMain.txtDial->text(), QStringLiteral("51234"));

        inMain.txtDial->setText(QStringLiteral("555-1234"));
        QTest::mouseClick(inMain.CmdDial, Qt::LeftButton);
        QCOMPARE(fake.calls, QStringList{QStringLiteral("95551234")});
        QCOMPARE(parts.dialer().displayNumber(), QStringLiteral("9 5551234"));
        QCOMPARE(inMain.CmbDial->itemText(0), QStringLiteral("5551234"));
        QTest::mouseClick(inMain.cmdCancel, Qt::LeftButton);

        inMain.txtDial->clear();
        Q_EMIT inMain.CmbDial->activated(0);
        QTest::mouseClick(inMain.CmdDial, Qt::LeftButton);
        QCOMPARE(fake.calls.last(), QStringLiteral("95551234"));
        QTest::mouseClick(inMain.cmdCancel, Qt::LeftButton);

        translation.cardTail = QStringLiteral(",,1234#");
        inMain.txtDial->setText(QStringLiteral("01144201234"));
        QTest::mouseClick(inMain.CmdDial, Qt::LeftButton);
        QCOMPARE(fake.calls.last(), QStringLiteral("901144201234,,1234#"));
        QCOMPARE(parts.dialer().displayNumber(), QStringLiteral("9 011 44201234,,1234#"));
        QTest::mouseClick(inMain.cmdCancel, Qt::LeftButton);
    }

    void padDialsAreRememberedOnceNewestFirst()
    {
        options().setChecked(OptionsStore::chkIgnore, true);
        line->showsProgress = false; // no call window in the way
        line->answers = false;
        QTest::keyClicks(pad->txtDial, QStringLiteral("555 1234"));
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        pad->txtDial->setText(QStringLiteral("777"));
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QCOMPARE(pad->CmbDial->count(), 2);
        QCOMPARE(pad->CmbDial->itemText(0), QStringLiteral("777"));
        QCOMPARE(pad->CmbDial->itemText(1), QStringLiteral("555 1234"));
        QCOMPARE(dialer->request().entryKey, QStringLiteral("0"));

        // Choosing a recent number puts it into the number box.
        pad->txtDial->clear();
        pad->CmbDial->setCurrentIndex(1);
        Q_EMIT pad->CmbDial->activated(1);
        QCOMPARE(pad->txtDial->text(), QStringLiteral("555 1234"));
        QVERIFY(pad->CmdDial->isEnabled());
    }

    void callFromThePadEndToEnd()
    {
        test::FastClock fast(10);
        line->busyCalls = 2;
        // Typed letters are digits here; the number is cleaned before dialing.
        QTest::keyClicks(pad->txtDial, QStringLiteral("555-CALL"));
        QCOMPARE(pad->txtDial->text(), QStringLiteral("555-2255"));
        // What the window shows during the countdown (which runs inside the
        // waits, so it is looked at as it changes).
        QString countdownTitle;
        bool countdownPicture = false;
        connect(dialer.get(), &Dialer::connectWindowChanged, window.get(), [&] {
            if (countdownTitle.isEmpty() &&
                call->lbl1->text().startsWith(QStringLiteral("   Busy. Redial in"))) {
                countdownTitle = call->fra1->title();
                countdownPicture = call->imaDialing->isVisible() && !call->imaBusy->isVisible();
                shoot(window.get(), QStringLiteral("connect-countdown"));
            }
        });
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QVERIFY(window->isVisible());
        QVERIFY(pad->CmdDial->isHidden() && !pad->cmdCancel->isHidden());
        shoot(window.get(), QStringLiteral("connect-dialing"));

        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Connected"), 10000);
        QCOMPARE(call->lbl1->text(), QStringLiteral("  Lift the handset up and press OK"));
        QVERIFY(call->CmdOK->isVisible() && !call->cmdCancel->isVisible());
        QVERIFY(call->imaConnect->isVisible());
        QVERIFY(pad->CmdDial->isHidden() && pad->cmdCancel->isHidden() && !pad->cmdOK->isHidden());
        QCOMPARE(line->calls.size(), 3);
        QCOMPARE(countdownTitle, QStringLiteral("Redialing:  ")); // a pad dial names nobody
        QVERIFY(countdownPicture);
        shoot(window.get(), QStringLiteral("connect-connected"));
        shoot(padWidget.get(), QStringLiteral("pad-connected"));

        // Escape never hangs up a connected call; Shift with a key is its OK.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
        QTest::keyClick(window.get(), Qt::Key_A, Qt::ShiftModifier);
        QVERIFY(!window->isVisible());
        QVERIFY(!pad->CmdDial->isHidden() && pad->cmdOK->isHidden());
        QVERIFY(line->memos.isEmpty()); // dialed from the pad: no memo
        const auto rows = calllog::readLog(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing),
            calllog::LogKind::Outgoing);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], (calllog::CallLogRow{QString(), QStringLiteral("5552255"),
                                               QStringLiteral("04-01-2026  14:30:00"),
                                               QStringLiteral("0")}));
        QCOMPARE(line->calls.first(), QStringLiteral("T5552255"));
        QCOMPARE(pad->CmbDial->itemText(0), QStringLiteral("5552255"));
        QCOMPARE(pad->txtDial->text(), QStringLiteral("5552255"));
    }

    void theWindowIsAnEllipseThatCanBeDragged()
    {
        line->answers = false; // the window shows; the call goes no further
        dialer->dial(
            DialRequest{QStringLiteral("XX5551234"), {}, QStringLiteral("0"), DialOrigin::Pad});
        QVERIFY(window->isVisible());
        const QRegion mask = window->mask();
        QVERIFY(mask.contains(window->rect().center()));
        QVERIFY(!mask.contains(QPoint(2, 2)));
        QVERIFY(!mask.contains(QPoint(window->width() - 3, window->height() - 3)));

        // Modified keys do nothing before the call is connected.
        QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(window->isVisible());

        const QPoint start = window->pos();
        const QPoint grip(40, window->height() / 2);
        QTest::mousePress(window.get(), Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(30, 20)),
                         QPointF(window->mapToGlobal(grip + QPoint(30, 20))), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &move);
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, grip + QPoint(30, 20));
        QCOMPARE(window->pos(), start + QPoint(30, 20));

        dialer->showCallError(QStringLiteral("Modem error!"),
                              QStringLiteral("The selected line is in use or it is not "
                                             "connected."));
        QVERIFY(call->imaBusy->isVisible());
        shoot(window.get(), QStringLiteral("connect-error"));
        // Escape is the window's cancelling button.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void endOfRedialsLooksRight()
    {
        test::FastClock fast(20);
        options().setText(OptionsStore::TxtRedial, QStringLiteral("1"));
        line->busyCalls = 100;
        dialer->dial(
            DialRequest{QStringLiteral("XX4165551234"), {}, QStringLiteral("0"), DialOrigin::Pad});
        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Disconnected"), 5000);
        QCOMPARE(call->cmdCancel->text(), QStringLiteral("OK"));
        QVERIFY(call->lbl1->text().startsWith(QStringLiteral("Redialed   1 times.")));
        QVERIFY(!pad->cmdCancel->isHidden() && pad->CmdDial->isHidden() && pad->cmdOK->isHidden());
        shoot(window.get(), QStringLiteral("connect-disconnected"));
        QTest::mouseClick(pad->cmdCancel, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(!pad->CmdDial->isHidden());
    }
};

QTEST_MAIN(TestDialingWindows)
#include "test_dialingwindows.moc"
