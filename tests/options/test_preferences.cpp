// SPDX-License-Identifier: GPL-3.0-or-later
// The [Preferences] keys: reading them into the live settings, the click
// reactions that reading runs, the OK and Cancel corrections and the write of
// the 27 keys.

#include "common/TestEnv.h"
#include "core/options/Preferences.h"
#include "core/telephony/LineService.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"

#include <QtTest>

using namespace telvaro;
using telvaro::test::TestEnv;
using S = OptionsStore;

namespace {

const QByteArray kHeader =
    "The following lines are required by Telvaro - do NOT edit or remove\r\n\r\n";

// Three modems whose lines record what the reactions do with them; an open
// may be made to fail (after doing what `refuse` does).
struct LineLog final : LineProviderSource
{
    QStringList calls;
    std::function<void()> refuse;

    struct Line final : ProviderLine
    {
        LineLog* log;
        explicit Line(LineLog* owner) : log(owner) {}
        ~Line() override { log->calls << "close"; }
        void setReceiving(bool on) override { log->calls << QString("receiving %1").arg(on); }
        LineResult makeCall(HCALL, quint32, const QString&, const LineCallParams&) override
        {
            return LINEERR_OPERATIONFAILED;
        }
        LineResult dial(HCALL, quint32, const QString&) override { return LINEERR_OPERATIONFAILED; }
        LineResult drop(HCALL, quint32) override { return LINEERR_OPERATIONFAILED; }
        void release(HCALL) override {}
    };
    struct Modems final : LineProvider
    {
        LineLog* log;
        explicit Modems(LineLog* owner) : log(owner) {}
        int deviceCount() const override { return 3; }
        bool devCaps(int index, LineDevCaps* caps) override
        {
            caps->lineName = QStringList{"Modem A", "Modem B", "USB Modem"}.at(index);
            return true;
        }
        std::unique_ptr<ProviderLine> open(int index, LineSink*, LineResult* error) override
        {
            log->calls << QString("open %1").arg(index);
            if (log->refuse) {
                log->refuse();
                *error = LINEERR_OPERATIONFAILED;
                return nullptr;
            }
            return std::make_unique<Line>(log);
        }
    };
    std::vector<std::unique_ptr<LineProvider>> providers() override
    {
        std::vector<std::unique_ptr<LineProvider>> v;
        v.push_back(std::make_unique<Modems>(this));
        return v;
    }
};

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

    LineLog log;
    // The line service following the options, on the modems above.
    std::unique_ptr<LineService> line;

private Q_SLOTS:
    void initTestCase()
    {
        installOptionReactions(options());
        // The tab mode options, as the directory takes them.
        connect(&options(), &S::optionClicked, this, [this](S::Option o) {
            if (o == S::optIndex)
                log.calls << "index";
            else if (o == S::optSubject)
                log.calls << "subject";
        });
    }

    void init()
    {
        options().resetToDesigned();
        line = std::make_unique<LineService>(&log);
        {
            TestEnv session; // its record goes to a folder of its own
            line->initialize();
        }
        (void)line->queryDevice(0);
        line->followOptions(options());
        log.calls.clear();
        log.refuse = nullptr;
    }

    void cleanup() { line.reset(); }

    void headerOnlyFileGivesDesignedDefaults()
    {
        TestEnv env;
        TestEnv::writeFile(env.settingsFile(), kHeader);
        IniFile ini(env.settingsFile());
        S& o = options();
        applyPreferences(ini, o);

        for (S::Check c :
             {S::chkSoundRed, S::chkSoundIn, S::chkRedial, S::chkLoad, S::chkPad, S::chkIcon,
              S::chkModem, S::chkDelOutgoing, S::chkDelIncoming, S::chkCallingCard, S::chkSpecial})
            QVERIFY2(o.isChecked(c), QMetaEnum::fromType<S::Check>().valueToKey(c));
        for (S::Check c : {S::chkSoundEndRed, S::chkNoModem, S::chkIgnore, S::chkBlockID,
                           S::chkCommand, S::chkCallDisplay})
            QCOMPARE(o.check(c), 0);
        QVERIFY(o.isSelected(S::optIndex));
        QVERIFY(o.isSelected(S::optTone));
        QVERIFY(o.isSelected(S::optMode1));
        QCOMPARE(o.text(S::TxtRedial), QString("3"));
        QCOMPARE(o.text(S::txtMinutes), QString("2"));
        QCOMPARE(o.text(S::txtSeconds), QString("1"));
        QCOMPARE(o.text(S::txtDays), QString("30"));
        QCOMPARE(o.text(S::txtInDays), QString("5"));
        QCOMPARE(o.text(S::txtDelayTimer), QString("9"));
        QVERIFY(!subjectModePreferred(ini));
        // No "Modem" key: the device list is filled and its first name shown.
        QCOMPARE(o.text(S::cmbLineDevices), QString("Modem A"));
        // Nothing changed state, so no reaction reached another part.
        QCOMPARE(log.calls, QStringList{});
        // The day boxes step from the value they show.
        o.setSpinValue(S::txtDays, o.spinValue(S::txtDays) + 1);
        QCOMPARE(o.text(S::txtDays), QString("31"));
    }

    void readsEveryEncodingAndRunsReactionsOnChangeOnly()
    {
        TestEnv env;
        TestEnv::writeFile(env.settingsFile(),
                           kHeader + "[Preferences]\r\nMode= 1\r\nLine No= 2\r\nModem=USB Modem\r\n"
                                     "UseModem=0\r\nTone Dial=0\r\nDialing Mode=2\r\n"
                                     "Command Line=1\r\nBlock ID=1\r\nCall Display=1\r\n"
                                     "Busy Delay Timer=15\r\nSysTray Enabled=0\r\n"
                                     "Redials Number=012\r\nInterval Minutes=abc\r\n"
                                     "Interval Seconds=-1\r\nOutLog Days=45\r\nInLog Days=x\r\n"
                                     "Special Characters=yes\r\nIgnore Dialing Properties=7\r\n"
                                     "Dialing Pad=0\r\n");
        IniFile ini(env.settingsFile());
        S& o = options();
        QVERIFY(subjectModePreferred(ini));
        applyDialingPadPreference(ini, o);
        QVERIFY(!o.isChecked(S::chkPad));
        applyPreferences(ini, o);

        QCOMPARE(o.selectedLineDevice(), 2);
        QCOMPARE(o.text(S::cmbLineDevices), QString("USB Modem"));
        QCOMPARE(o.check(S::chkModem), 0);
        QCOMPARE(o.check(S::chkNoModem), 1);
        QVERIFY(o.isSelected(S::optPulse));
        QVERIFY(o.isSelected(S::optMode2));
        QVERIFY(o.isChecked(S::chkCommand));
        QVERIFY(o.isChecked(S::chkBlockID));
        QVERIFY(o.isChecked(S::chkCallDisplay));
        QCOMPARE(o.text(S::txtDelayTimer), QString("15"));
        QCOMPARE(o.spinValue(S::txtDelayTimer), 15);
        QVERIFY(!o.isChecked(S::chkIcon));
        // Number texts keep the stored text; unusable ones are treated as missing.
        QCOMPARE(o.text(S::TxtRedial), QString("012"));
        QCOMPARE(o.spinValue(S::TxtRedial), 12);
        QCOMPARE(o.text(S::txtMinutes), QString("2"));
        QCOMPARE(o.text(S::txtSeconds), QString("1"));
        QCOMPARE(o.text(S::txtDays), QString("45"));
        QCOMPARE(o.spinValue(S::txtDays), 45);
        QCOMPARE(o.text(S::txtInDays), QString("5"));
        // Unreadable check and one values leave their controls as they were.
        QVERIFY(o.isChecked(S::chkSpecial));
        QCOMPARE(o.check(S::chkIgnore), 0);

        // Receiving opens the line; other programs' requests reach this one.
        QCOMPARE(log.calls, (QStringList{"open 2", "receiving 1"}));
        QVERIFY(line->isReceiving());
        QCOMPARE(tapiRequestMakeCall("5551234", "test", {}, {}), 0);
        LineReqMakeCall request;
        QVERIFY(line->takeRequest(&request));

        // The same file again changes nothing and runs no reaction.
        log.calls.clear();
        applyPreferences(ini, o);
        QCOMPARE(log.calls, QStringList{});
    }

    void lineNumberTakesOnlyADeviceId()
    {
        TestEnv env;
        for (const auto& [value, expected] : QList<QPair<QByteArray, int>>{
                 {" 2", 2}, {"2.6", 3}, {"-1", 5}, {"abc", 5}, {"1e99", 5}}) {
            TestEnv::writeFile(env.settingsFile(),
                               kHeader + "[Preferences]\r\nLine No=" + value + "\r\n");
            IniFile ini(env.settingsFile());
            options().setSelectedLineDevice(5);
            applyPreferences(ini, options());
            QCOMPARE(options().selectedLineDevice(), expected);
        }
    }

    void receiveOffReactionAndModemPair()
    {
        S& o = options();
        o.setChecked(S::chkCallDisplay, true);
        log.calls.clear();
        o.setChecked(S::chkCallDisplay, false);
        QCOMPARE(log.calls, (QStringList{"close", "open 0", "receiving 0"}));
        QVERIFY(line->isOpen() && !line->isReceiving());

        // A failed open that clears the box does not loop: the box is
        // checked again once.
        log.calls.clear();
        log.refuse = [] { options().setChecked(S::chkCallDisplay, false); };
        o.setChecked(S::chkCallDisplay, true);
        QVERIFY(o.isChecked(S::chkCallDisplay));
        QCOMPARE(log.calls.count("open 0"), 2); // the open and its fallback, once

        for (bool noModem : {true, false, true}) {
            o.setChecked(S::chkNoModem, noModem);
            QCOMPARE(o.isChecked(S::chkModem), !noModem);
        }
        o.setChecked(S::chkModem, true);
        QVERIFY(!o.isChecked(S::chkNoModem));

        log.calls.clear();
        o.select(S::optSubject);
        o.select(S::optSubject);
        o.select(S::optIndex);
        QCOMPARE(log.calls, (QStringList{"subject", "index"}));
    }

    void spinPairsFollowValidTextOnly()
    {
        S& o = options();
        o.setText(S::txtSeconds, "12");
        QCOMPARE(o.spinValue(S::txtSeconds), 12);
        o.setSpinValue(S::txtSeconds, o.spinValue(S::txtSeconds) + 1);
        QCOMPARE(o.text(S::txtSeconds), QString("13"));
        for (const char* bad : {"abc", "0", "", "-4", "1 2", "100"}) {
            o.setText(S::txtSeconds, bad);
            QCOMPARE(o.spinValue(S::txtSeconds), 13);
        }
        o.setSpinValue(S::txtSeconds, 500);
        QCOMPARE(o.text(S::txtSeconds), QString("99"));
        o.setText(S::TxtRedial, "999");
        QCOMPARE(o.spinValue(S::TxtRedial), 999);
    }

    void okAndCancelCorrections_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("redials");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QStringList>("expected"); // redials, minutes, seconds, delay

        QTest::newRow("ok empty") << true << ""
                                  << ""
                                  << ""
                                  << "" << QStringList{"1", "0", "1", "0"};
        QTest::newRow("cancel empty") << false << ""
                                      << ""
                                      << ""
                                      << "" << QStringList{"3", "0", "5", ""};
        QTest::newRow("ok zero") << true << "0"
                                 << "0"
                                 << "0"
                                 << "4" << QStringList{"1", "0", "1", "4"};
        QTest::newRow("cancel zero") << false << "0"
                                     << "0"
                                     << "00"
                                     << "4" << QStringList{"3", "0", "5", "4"};
        QTest::newRow("zero seconds with minutes stays") << true << "5"
                                                         << "2"
                                                         << "0"
                                                         << "9" << QStringList{"5", "2", "0", "9"};
        // Letters are no number: the count counts as zero; the bar's last
        // valid value replaces other garbage.
        QTest::newRow("ok letters") << true << "ab"
                                    << "7"
                                    << "x1"
                                    << "?" << QStringList{"1", "7", "1", "9"};
    }

    void okAndCancelCorrections()
    {
        QFETCH(bool, ok);
        QFETCH(QString, redials);
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(QString, delay);
        QFETCH(QStringList, expected);
        S& o = options();
        o.setText(S::TxtRedial, redials);
        o.setText(S::txtMinutes, minutes);
        o.setText(S::txtSeconds, seconds);
        o.setText(S::txtDelayTimer, delay);
        ok ? correctForOk(o) : correctForCancel(o);
        QCOMPARE((QStringList{o.text(S::TxtRedial), o.text(S::txtMinutes), o.text(S::txtSeconds),
                              o.text(S::txtDelayTimer)}),
                 expected);
        // Each box's spin bar agrees with a valid text.
        for (S::Text t : {S::TxtRedial, S::txtSeconds}) {
            if (const auto value = S::spinValueOfText(t, o.text(t)))
                QCOMPARE(o.spinValue(t), *value);
        }
    }

    void redialCountIsLeftAloneWhileRedialIsOff()
    {
        S& o = options();
        o.setChecked(S::chkRedial, false);
        o.setText(S::TxtRedial, "0");
        correctForOk(o);
        QCOMPARE(o.text(S::TxtRedial), QString("0"));
    }

    void writesTheKeysInOrderWithTheirEncodings()
    {
        TestEnv env;
        TestEnv::writeFile(env.settingsFile(),
                           kHeader + "[Preferences]\r\nSavePath=/home/u/a.tlx\r\nMode=0\r\n"
                                     "[Speed Dial]\r\n0101=Ann\r\n");
        IniFile ini(env.settingsFile());
        S& o = options();
        o.setLineDeviceNames({"Modem A", "Modem B"});
        o.setSelectedLineDevice(1);
        o.setText(S::cmbLineDevices, "Modem B");
        o.select(S::optSubject);
        o.select(S::optPulse);
        o.setCheck(S::chkCallDisplay, 2); // grey counts as not checked
        o.setChecked(S::chkSoundEndRed, true);
        o.setText(S::txtDays, "100");
        QVERIFY(writePreferences(ini, o));

        const QByteArray expected =
            kHeader +
            "[Preferences]\r\nSavePath=/home/u/a.tlx\r\nMode=1\r\nLine No=1\r\nModem=Modem B\r\n"
            "Load @ startup=1\r\nDialing Pad=1\r\nSysTray Enabled=1\r\n"
            "SoundRedial Enabled=1\r\nSoundIncoming Enabled=1\r\nSoundEndRedials Enabled=1\r\n"
            "Redial Enabled=1\r\nRedials Number=3\r\nInterval Minutes=2\r\n"
            "Interval Seconds=1\r\nUseModem=1\r\nTrim OutLog Enabled=1\r\nOutLog Days=100\r\n"
            "Trim InLog Enabled=1\r\nInLog Days=5\r\nCalling Card for local calls=1\r\n"
            "Ignore Dialing Properties=0\r\nTone Dial=0\r\nSpecial Characters=1\r\n"
            "Dialing Mode=1\r\nCommand Line=0\r\nBlock ID=0\r\nCall Display=0\r\n"
            "Busy Delay Timer=9\r\n[Speed Dial]\r\n0101=Ann\r\n";
        QCOMPARE(TestEnv::readFile(env.settingsFile()), expected);

        // A fresh start reads back what was written.
        options().resetToDesigned();
        applyPreferences(ini, options());
        QVERIFY(options().isSelected(S::optPulse));
        QCOMPARE(options().text(S::cmbLineDevices), QString("Modem B"));
        QCOMPARE(options().selectedLineDevice(), 1);
        QCOMPARE(options().text(S::txtDays), QString("100"));
    }

    void aFailedWriteIsReported()
    {
        TestEnv env;
        const QString folder = env.root() + "/locked";
        QDir().mkpath(folder);
        IniFile ini(folder); // a folder where the file should be
        const Result failed = writePreferences(ini, options());
        QVERIFY(!failed);
        QVERIFY(!failed.error.isEmpty());

        // A device name the file cannot hold is a failure too, with its
        // reason; the other keys are written.
        IniFile good(env.settingsFile());
        options().setText(OptionsStore::cmbLineDevices, "Modem\nB");
        const Result refused = writePreferences(good, options());
        QVERIFY(!refused);
        QVERIFY2(refused.error.contains("Modem"), qPrintable(refused.error));
        QCOMPARE(good.read(u"Preferences", u"Modem"), QString());
        QCOMPARE(good.read(u"Preferences", u"Busy Delay Timer"),
                 options().text(OptionsStore::txtDelayTimer));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "test_preferences.moc"
