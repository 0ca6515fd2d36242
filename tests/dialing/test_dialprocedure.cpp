// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialTestSupport.h"
#include "FakeLine.h"
#include "core/telephony/Call.h"

#include "common/TestEnv.h"
#include "core/dialing/DialString.h"
#include "core/dialing/Dialer.h"
#include "settings/OptionsStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace telvaro;

class TestDialProcedure : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> env;
    std::unique_ptr<test::FakeTranslation> translation;
    std::unique_ptr<test::FakeLine> line;
    std::unique_ptr<test::RecordingPlayer> player;
    std::unique_ptr<Dialer> dialer;

    void dial(const QString& number)
    {
        dialer->dial(DialRequest{number, {}, QStringLiteral("0"), DialOrigin::Pad});
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<test::TestEnv>();
        test::resetDialing();
        translation = std::make_unique<test::FakeTranslation>();
        translation->present = false; // no line layer session
        line = std::make_unique<test::FakeLine>();
        line->showsProgress = false;
        line->answers = false;
        player = std::make_unique<test::RecordingPlayer>();
        dialer = std::make_unique<Dialer>(*line, *translation, *player);
    }
    void cleanup() { dialer.reset(); }

    void cleanNumbersAndLetters()
    {
        QCOMPARE(dialstr::cleanNumber(QStringLiteral("+1 (416) 555-1234 ext,*9#")),
                 QStringLiteral("14165551234,*9#"));
        QCOMPARE(dialstr::mapLetters(QStringLiteral("1-800-FLOWERS")),
                 QStringLiteral("1-800-3569377"));
        QCOMPARE(dialstr::mapLetters(QStringLiteral("pqrs tuv wxyz")),
                 QStringLiteral("7777 888 9999"));
        QCOMPARE(dialstr::leadingNumber(QStringLiteral(" 12abc")), 12);
        QCOMPARE(dialstr::leadingNumber(QStringLiteral("abc")), 0);
        QCOMPARE(dialstr::leadingNumber(QString()), 0);
        QCOMPARE(dialstr::leadingNumber(QStringLiteral("99999999999999999999")), 1'000'000'000);
    }

    void padKeysAreFilteredUnlessPropertiesAreIgnored()
    {
        QString typed;
        for (QChar c : QStringLiteral("1-800-FLOWERS!@$\t"))
            if (const QChar k = dialstr::padKey(c, false); !k.isNull())
                typed.append(k);
        QCOMPARE(typed, QStringLiteral("1-800-3569377"));
        QCOMPARE(dialstr::padKey(u'\b', false), QChar(u'\b'));
        for (QChar c : QStringLiteral("W@$"))
            QCOMPARE(dialstr::padKey(c, true), c);
    }

    void longDialStringsGoOutInPieces()
    {
        const QString s = QString(160, u'5');
        const QStringList parts = dialstr::splitDialParts(s);
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QString(78, u'5') + u';');
        QCOMPARE(parts[1], QString(78, u'5') + u';');
        QCOMPARE(parts[2], QString(4, u'5'));
        QCOMPARE(dialstr::splitDialParts(QString(78, u'1')), QStringList{QString(78, u'1')});
        QCOMPARE(dialstr::splitDialParts(QString(156, u'1')).last(), QString(78, u'1'));

        options().setChecked(OptionsStore::chkIgnore, true);
        dial(QString(159, u'5'));
        QCOMPARE(line->call().piecesLeft(), 3);
        QCOMPARE(line->call().piecesLeft(), 3);
        QCOMPARE(line->calls, QStringList{u'T' + QString(77, u'5') + u';'});
    }

    void exactAndIgnoredNumbers()
    {
        dial(QStringLiteral("XXP9,5551234"));
        QCOMPARE(line->calls.last(), QStringLiteral("P9,5551234"));
        QCOMPARE(dialer->displayNumber(), QStringLiteral("9,5551234"));
        dial(QStringLiteral("XXt555"));
        QCOMPARE(line->calls.last(), QStringLiteral("T555"));
        dial(QStringLiteral("XX5551234"));
        QCOMPARE(line->calls.last(), QStringLiteral("T5551234"));
        QCOMPARE(dialer->displayNumber(), QStringLiteral("5551234"));

        options().setChecked(OptionsStore::chkIgnore, true);
        options().select(OptionsStore::optPulse);
        dial(QStringLiteral("555 1234"));
        QCOMPARE(line->calls.last(), QStringLiteral("P555 1234"));
        QCOMPARE(dialer->displayNumber(), QStringLiteral("555 1234"));
    }

    void dialingPropertiesTranslateTheCleanedNumber()
    {
        test::FakeTranslation& location = *translation;
        location.present = true;
        dial(QStringLiteral("555-1234 (home)"));
        QCOMPARE(location.requests.last(), QStringLiteral("+1 (416) 5551234"));
        QCOMPARE(line->calls.last(), QStringLiteral("5551234"));
        QCOMPARE(dialer->request().number, QStringLiteral("5551234"));

        // A local number carrying its own area code loses it.
        dial(QStringLiteral("416-555-1234"));
        QCOMPARE(location.requests.last(), QStringLiteral("+1 (416) 5551234"));
        // Long distance: the area code follows the prefix.
        dial(QStringLiteral("1 212 555 1234"));
        QCOMPARE(location.requests.last(), QStringLiteral("+1 (212) 5551234"));
        QCOMPARE(line->calls.last(), QStringLiteral("12125551234"));
        QCOMPARE(dialer->displayNumber(), QStringLiteral("1 212 5551234"));
        // International: the digits after 011 are dialed unchanged, after the
        // prefixes the location adds.
        dial(QStringLiteral("011 44 20 7946 0000"));
        QCOMPARE(location.requests.last(), QStringLiteral("+977 (416) 011442079460000"));
        QCOMPARE(line->calls.last(), QStringLiteral("011442079460000"));
        QCOMPARE(dialer->displayNumber(), QStringLiteral("011 442079460000"));

        // Translation fails: tone dialing of the cleaned number.
        location.fail = true;
        dial(QStringLiteral("(905) 555-0000"));
        QCOMPARE(line->calls.last(), QStringLiteral("T9055550000"));
        QCOMPARE(dialer->displayNumber(), QStringLiteral("9055550000"));
    }

    void longNumbersTranslateTheirHeadOnly()
    {
        test::FakeTranslation& location = *translation;
        location.present = true;
        const QString number = QStringLiteral("5551234,") + QString(292, u'9'); // 300
        dial(number);
        QCOMPARE(location.requests.last(), QStringLiteral("+1 (416) ") + number.left(254));
        QCOMPARE(dialer->dialString(), number);
        QCOMPARE(line->call().piecesLeft(), 4);
    }

    void recentNumbersListEachDialOnceAtTheTop()
    {
        QStringList padTexts;
        connect(dialer.get(), &Dialer::padTextRequested, this,
                [&padTexts](const QString& t) { padTexts.append(t); });
        options().setChecked(OptionsStore::chkIgnore, true);
        dial(QStringLiteral("555 1234"));
        dial(QStringLiteral("555 1234"));
        dial(QStringLiteral("777"));
        QCOMPARE(dialer->recentNumbers(),
                 (QStringList{QStringLiteral("777"), QStringLiteral("555 1234")}));
        QCOMPARE(padTexts.last(), QStringLiteral("777"));
    }

    void requestsThatMustNotDial()
    {
        // Nothing to dial.
        dial(QString());
        dial(QStringLiteral("abc"));
        QVERIFY(line->calls.isEmpty());
        // A call window on screen: the call in progress is left alone.
        line->showsProgress = true;
        dial(QStringLiteral("5551234"));
        dial(QStringLiteral("5559999"));
        QCOMPARE(line->calls, QStringList{QStringLiteral("T5551234")});
        QCOMPARE(dialer->padButtons(), (PadButtonState{false, true, false}));
    }

    void theLineIsOpenedWhenClosed()
    {
        line->lineOpen = false;
        dial(QStringLiteral("5551234"));
        QCOMPARE(line->opens, QList<LineUse>{LineUse::Dial});
        // A line that cannot be opened still goes on to MakeCall, which reports.
        QCOMPARE(line->calls.size(), 1);
    }

    void withoutModemTheTonesPlayWithTheirWaits()
    {
        options().setChecked(OptionsStore::chkModem, false);
        QSignalSpy released(dialer.get(), &Dialer::mainWindowReleased);
        QSignalSpy wanted(dialer.get(), &Dialer::mainWindowWanted);
        // A number from the command line is dialed with the window minimized.
        dialer->dial(
            DialRequest{QStringLiteral("1,2#"), {}, QStringLiteral("0"), DialOrigin::CommandLine});
        // The dial returns at once; the tones follow while events run.
        QVERIFY(player->events.isEmpty());
        QVERIFY(dialer->playingTones());
        // A dial meanwhile waits for the tones and then plays its own.
        dialer->dial(DialRequest{QStringLiteral("3"), {}, QStringLiteral("0"), DialOrigin::Pad});
        QTRY_VERIFY_WITH_TIMEOUT(!dialer->playingTones() && player->events.size() == 4, 10000);
        QCOMPARE(player->events,
                 (QStringList{QStringLiteral("async:900@8000"), QStringLiteral("async:900@8000"),
                              QStringLiteral("async:756@8000"), QStringLiteral("async:900@8000")}));
        // 0.1 s before a tone, the tone's length after it, 2 s for a comma.
        const QList<double>& at = player->playedAt;
        const double tone = 900.0 / 8000;
        const QList<double> least{0.1, tone + 2.0 + 0.1, tone + 0.1, 756.0 / 8000 + 0.1};
        for (int i = 0; i < 4; ++i) {
            const double gap = at[i] - (i ? at[i - 1] : 0.0);
            QVERIFY2(gap >= least[i] - 0.002 && gap < least[i] + 0.3,
                     qPrintable(QStringLiteral("%1: %2").arg(i).arg(gap)));
        }
        QCOMPARE(released.size(), 2); // after each dial's tones
        // The user's own dial after it brings the window up, though no call
        // was released in between.
        QCOMPARE(wanted.size(), 2);
        QCOMPARE(wanted[0][0].toBool(), true);
        QCOMPARE(wanted[1][0].toBool(), false);
        QVERIFY(line->calls.isEmpty());
        QVERIFY(dialer->recentNumbers().isEmpty());
    }

    void withoutModemTheCaptureHoldsToneSilenceTone()
    {
        // The program's own player: no sound device here, so it keeps the
        // time and records into the capture.
        const QString capture = env->root() + QStringLiteral("/capture.wav");
        qputenv("TELVARO_AUDIO_CAPTURE", QFile::encodeName(capture));
        options().setChecked(OptionsStore::chkModem, false);
        const std::unique_ptr<SoundPlayer> own = makeProgramSoundPlayer();
        dialer = std::make_unique<Dialer>(*line, *translation, *own);
        dial(QStringLiteral("1,2"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialer->playingTones(), 10000);
        QTest::qWait(200); // the last tone sounds to its end
        qunsetenv("TELVARO_AUDIO_CAPTURE");

        const WaveSound wav = parseWavFile(test::TestEnv::readFile(capture));
        QCOMPARE(wav.sampleRate, 8000);
        // Find the sounding stretches.
        QList<std::pair<int, int>> runs;
        for (int i = 0; i < wav.sampleCount();) {
            if (std::abs(wav.sampleAt(i)) < 1e-3) {
                ++i;
                continue;
            }
            int end = i;
            for (int quiet = 0; end < wav.sampleCount() && quiet < 16; ++end)
                quiet = std::abs(wav.sampleAt(end)) < 1e-3 ? quiet + 1 : 0;
            runs.append({i, end - 16});
            i = end;
        }
        QCOMPARE(runs.size(), 2);
        const double gap = double(runs[1].first - runs[0].second) / 8000;
        QVERIFY2(gap > 2.05 && gap < 2.4, qPrintable(QString::number(gap)));
        std::vector<double> first;
        std::vector<double> second;
        for (int i = runs[0].first; i < runs[0].second; ++i)
            first.push_back(wav.sampleAt(i));
        for (int i = runs[1].first; i < runs[1].second; ++i)
            second.push_back(wav.sampleAt(i));
        QVERIFY(first.size() > 850 && first.size() <= 900);
        QCOMPARE(test::strongestDtmfPair(first, 8000), std::make_pair(697, 1209));
        QCOMPARE(test::strongestDtmfPair(second, 8000), std::make_pair(697, 1336));
        dialer.reset(); // before its player goes
    }
};

QTEST_GUILESS_MAIN(TestDialProcedure)
#include "test_dialprocedure.moc"
