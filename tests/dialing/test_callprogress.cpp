// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialTestSupport.h"
#include "FakeLine.h"
#include "core/calllog/CallLog.h"
#include "core/telephony/Call.h"

#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/CurrentProfile.h"
#include "settings/OptionsStore.h"

#include <QRegularExpression>
#include <QTest>

#include <sys/resource.h>

using namespace telvaro;

namespace {
double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
} // namespace

class TestCallProgress : public QObject
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
    QList<ConnectWindowState> seen;
    std::function<void(const ConnectWindowState&)> onChange;

    QStringList seenCaptions() const
    {
        QStringList out;
        for (const ConnectWindowState& w : seen)
            if (out.isEmpty() || out.last() != w.frameCaption)
                out.append(w.frameCaption);
        return out;
    }
    // How each call ended, with the entry it was for.
    QStringList ended;
    bool sawLabel(const QString& prefix) const
    {
        for (const ConnectWindowState& w : seen)
            if (w.label.startsWith(prefix))
                return true;
        return false;
    }
    void dial(const QString& number, const QString& name = {},
              const QString& key = QStringLiteral("0"))
    {
        dialer->dial(DialRequest{number, name, key, DialOrigin::Pad});
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<test::TestEnv>();
        test::resetDialing();
        line = std::make_unique<test::FakeLine>();
        player = std::make_unique<test::RecordingPlayer>();
        dialer = std::make_unique<Dialer>(*line, translation, *player);
        line->watch(*dialer);
        log = std::make_unique<CallLog>(profile, logs);
        connect(dialer.get(), &Dialer::callEnded, log.get(), &CallLog::recordOutgoing);
        seen.clear();
        ended.clear();
        onChange = nullptr;
        connect(dialer.get(), &Dialer::callEnded, this,
                [this](const DialRequest& r, const QString& number, CallOutcome outcome) {
                    ended.append(QStringLiteral("%1|%2|%3|%4")
                                     .arg(r.name, number, r.entryKey)
                                     .arg(int(outcome)));
                });
        connect(dialer.get(), &Dialer::connectWindowChanged, this, [this] {
            seen.append(dialer->connectWindow());
            if (onChange)
                onChange(dialer->connectWindow());
        });
        options().setText(OptionsStore::txtDelayTimer, QStringLiteral("3"));
        options().setText(OptionsStore::txtMinutes, QStringLiteral("0"));
        options().setText(OptionsStore::txtSeconds, QStringLiteral("5"));
        options().setText(OptionsStore::TxtRedial, QStringLiteral("3"));
    }
    void cleanup()
    {
        dialer.reset();
        player.reset();
        line.reset();
        env.reset();
    }

    void busyTwiceThenConnectedAndOkLogsTheCall()
    {
        test::FastClock fast(10);
        line->busyCalls = 2;
        dial(QStringLiteral("XX555-1234"), QStringLiteral("Ann Lee"), QStringLiteral("0105"));
        QTRY_COMPARE_WITH_TIMEOUT(dialer->connectWindow().frameCaption, QStringLiteral("Connected"),
                                  10000);

        QCOMPARE(line->calls, QStringList(3, QStringLiteral("T555-1234")));
        QCOMPARE(seenCaptions(),
                 (QStringList{QStringLiteral("Dialing:  Ann Lee"), QStringLiteral("Busy"),
                              QStringLiteral("Redialing:  Ann Lee"), QStringLiteral("Busy"),
                              QStringLiteral("Redialing:  Ann Lee"), QStringLiteral("Connected")}));
        // The countdown counts the 5 seconds down.
        QList<int> countdown;
        const QRegularExpression shown(QStringLiteral("^   Busy\\. Redial in :   (\\d+) seconds$"));
        for (const ConnectWindowState& w : seen) {
            const auto m = shown.match(w.label);
            if (m.hasMatch() && (countdown.isEmpty() || countdown.last() != m.captured(1).toInt()))
                countdown.append(m.captured(1).toInt());
        }
        QVERIFY2(countdown.size() >= 6, qPrintable(QString::number(countdown.size())));
        QVERIFY(countdown.first() <= 5 && countdown.first() >= 4);
        QVERIFY(countdown.contains(2));
        QVERIFY(sawLabel(QStringLiteral("555-1234\n   Busy. Redialing  x 2")));
        const ConnectWindowState& w = dialer->connectWindow();
        QCOMPARE(w.label, QStringLiteral("  Lift the handset up and press OK"));
        QCOMPARE(w.picture, ConnectPicture::Connected);
        QVERIFY(w.okVisible && !w.cancelVisible && w.visible);
        QCOMPARE(w.frameHeightTwips, 750);
        QCOMPARE(dialer->padButtons(), (PadButtonState{false, false, true}));
        // Connected after redialing: the chime, not the beep.
        QCOMPARE(player->events, QStringList{QStringLiteral("async:40192@22050")});
        // The earlier waits give way: "Connected" is declared once.
        QTest::qWait(600);
        QCOMPARE(seenCaptions().count(QStringLiteral("Connected")), 1);

        dialer->confirmCall();
        QCOMPARE(line->memos, QStringList{QStringLiteral("0105")});
        // One call, taken, for the party its dial named (redials included).
        QCOMPARE(ended,
                 QStringList{
                     QStringLiteral("Ann Lee|555-1234|0105|%1").arg(int(CallOutcome::Connected))});
        QCOMPARE(player->events.last(), QStringLiteral("stop"));
        QVERIFY(!dialer->connectWindow().loaded);
        QCOMPARE(dialer->padButtons(), (PadButtonState{true, false, false}));
        QCOMPARE(dialer->redialCount(), 0);
        const auto rows = calllog::readLog(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing),
            calllog::LogKind::Outgoing);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], (calllog::CallLogRow{
                              QStringLiteral("Ann Lee"), QStringLiteral("555-1234"),
                              QStringLiteral("04-01-2026  14:30:00"), QStringLiteral("0105")}));
        // Waiting requests go on once the modem had its second.
        QTRY_VERIFY_WITH_TIMEOUT(line->requestsServed >= 1, 3000);
    }

    void aRedialIsNotTakenForBusyBeforeTheLineReportsDialing()
    {
        test::FastClock fast(10);
        line->busyCalls = 1;
        line->reportsDialing = false;
        dial(QStringLiteral("XX5551234"));
        QTRY_COMPARE_WITH_TIMEOUT(dialer->connectWindow().frameCaption, QStringLiteral("Connected"),
                                  5000);
        QCOMPARE(line->calls.size(), 2);
    }

    void fourthBusyEndsTheRedials()
    {
        test::FastClock fast(10);
        options().setChecked(OptionsStore::chkSoundEndRed, true);
        line->busyCalls = 100;
        dial(QStringLiteral("XX5551234"));
        QTRY_COMPARE_WITH_TIMEOUT(dialer->connectWindow().frameCaption,
                                  QStringLiteral("Disconnected"), 10000);
        QCOMPARE(line->calls.size(), 4);
        const ConnectWindowState w = dialer->connectWindow();
        QCOMPARE(w.label, QStringLiteral("Redialed   3 times. To increase No.of redials: change "
                                         "settings in Tools/Options"));
        QCOMPARE(w.cancelCaption, QStringLiteral("OK"));
        QCOMPARE(w.labelTopTwips, 400);
        QCOMPARE(w.picture, ConnectPicture::Busy);
        QCOMPARE(dialer->padButtons(), (PadButtonState{false, true, false}));
        QCOMPARE(player->events, QStringList{QStringLiteral("async:40192@22050")});
        QVERIFY(!seenCaptions().contains(QStringLiteral("Connected")));
        QCOMPARE(dialer->redialCount(), 0);
        QCOMPARE(ended.size(), 1);
        QVERIFY(ended[0].endsWith(u'|' + QString::number(int(CallOutcome::Busy))));

        // Its OK button is the window's Hang Up: nothing is logged.
        dialer->hangUp();
        QCOMPARE(ended.size(), 1); // the call ended once
        QVERIFY(!dialer->connectWindow().loaded);
        QCOMPARE(line->requestsServed, 1);
        QVERIFY(!QFile::exists(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing)));
        QTest::qWait(300);
        QCOMPARE(line->calls.size(), 4);
    }

    void hangUpDuringTheCountdownDialsNothingMore()
    {
        test::FastClock fast(10);
        line->busyCalls = 100;
        bool pressed = false;
        onChange = [this, &pressed](const ConnectWindowState& w) {
            if (!pressed && w.label.startsWith(QStringLiteral("   Busy. Redial in :"))) {
                pressed = true;
                QTimer::singleShot(20, [this] { dialer->hangUp(); });
            }
        };
        dial(QStringLiteral("XX5551234"));
        QTRY_VERIFY_WITH_TIMEOUT(pressed && !dialer->connectWindow().loaded, 5000);
        QTest::qWait(1000); // twice the redial interval
        QCOMPARE(line->calls.size(), 1);
        QVERIFY(!dialer->connectWindow().visible);
        QCOMPARE(dialer->padButtons(), (PadButtonState{true, false, false}));
        QVERIFY(line->drops >= 2);
        QCOMPARE(ended.size(), 1);
        QVERIFY(ended[0].endsWith(u'|' + QString::number(int(CallOutcome::Cancelled))));
        QVERIFY(!QFile::exists(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing)));
    }

    void busyWithoutAutomaticRedialAdvises()
    {
        test::FastClock fast(10);
        options().setChecked(OptionsStore::chkRedial, false);
        line->busyCalls = 1;
        dial(QStringLiteral("XX5551234"));
        QTRY_COMPARE_WITH_TIMEOUT(dialer->connectWindow().frameCaption, QStringLiteral("   Busy"),
                                  5000);
        const ConnectWindowState w = dialer->connectWindow();
        QCOMPARE(w.label, QStringLiteral("    -To automatically redial: set Auto Redial\n"
                                         "       in Tools/Options-"));
        QCOMPARE(w.cancelCaption, QStringLiteral("OK"));
        QVERIFY(w.cancelVisible && !w.okVisible);
        QTest::qWait(500);
        QCOMPARE(line->calls.size(), 1);
    }

    void pulseDialingWaitsNineSecondsLonger()
    {
        test::FastClock fast(20);
        options().setText(OptionsStore::txtDelayTimer, QStringLiteral("5"));
        double shownAt = -1;
        onChange = [&](const ConnectWindowState& w) {
            if (shownAt < 0 && w.frameCaption == QLatin1String("Connected"))
                shownAt = fast.seconds();
        };
        const double start = fast.seconds();
        dial(QStringLiteral("XXP5551234"));
        QTRY_VERIFY_WITH_TIMEOUT(shownAt > 0, 5000);
        QVERIFY2(shownAt - start >= 14.0 && shownAt - start < 15.5,
                 qPrintable(QString::number(shownAt - start)));
        // A first-attempt connection only beeps.
        QCOMPARE(player->events, QStringList{QStringLiteral("beep")});
    }

    void anIdleWaitSleeps()
    {
        options().setText(OptionsStore::txtDelayTimer, QStringLiteral("1"));
        const double cpuBefore = cpuSeconds();
        dial(QStringLiteral("XX5551234"));
        QTRY_COMPARE_WITH_TIMEOUT(dialer->connectWindow().frameCaption, QStringLiteral("Connected"),
                                  5000);
        const double used = cpuSeconds() - cpuBefore;
        QVERIFY2(used < 0.2, qPrintable(QString::number(used)));
    }

    void windowShowsNameNumberAndErrors()
    {
        line->answers = false; // the window shows; the call goes no further
        dial(QStringLiteral("XX") + QString(40, u'8'));
        QCOMPARE(dialer->connectWindow().label, QString(37, u'8') + QStringLiteral("..."));
        QCOMPARE(dialer->connectWindow().frameCaption, QStringLiteral("Dialing No:"));
        QCOMPARE(dialer->connectWindow().picture, ConnectPicture::Dialing);
        dialer->unloadConnectWindow();
        dial(QStringLiteral("XX") + QString(35, u'8'));
        QCOMPARE(dialer->connectWindow().label, QString(35, u'8'));

        dialer->showCallError(QStringLiteral("Modem error!"), QStringLiteral("No Dialtone"));
        const ConnectWindowState w = dialer->connectWindow();
        QCOMPARE(w.frameCaption, QStringLiteral("Modem error!"));
        QCOMPARE(w.label, QStringLiteral("No Dialtone"));
        QCOMPARE(w.picture, ConnectPicture::Busy);
        QVERIFY(w.visible && w.cancelVisible && !w.okVisible);
        // Hang Up after an error lets a waiting request through.
        dialer->hangUp();
        QCOMPARE(line->requestsServed, 1);
        QCOMPARE(line->call().error(), CallOutcome::None);
    }
};

QTEST_GUILESS_MAIN(TestCallProgress)
#include "test_callprogress.moc"
