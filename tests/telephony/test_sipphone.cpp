// SPDX-License-Identifier: GPL-3.0-or-later
// Dialing through a SIP phone end to end: the program's main window and the
// real line layer with its SIP provider, and SIPp (on 127.0.0.1) playing the
// user's phone and the PBX.

#include "SipPeer.h"
#include "directory/WindowParts.h"

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/CountingEnder.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/CurrentProfile.h"
#include "core/dialing/Dialer.h"
#include "core/directory/DirectoryStore.h"
#include "core/telephony/LineService.h"
#include "core/telephony/sip/SipConfig.h"
#include "core/telephony/sip/SipPasswords.h"
#include "dialing/DialWindowControls.h"
#include "directory/DirectoryTestStore.h"
#include "gui/dialing/DialPad.h"
#include "gui/directory/DirectoryView.h"
#include "gui/telephony/FrmCallDisplay.h"
#include "gui/telephony/locations/ModemDialogs.h"
#include "gui/telephony/sip/SipPhoneDialog.h"
#include "settings/Cp1252.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFile.h"

#include "locations/ModalHelper.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

using namespace telvaro;
using namespace telvaro::test;

namespace {

QWidget* callWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("FrmConnect") && w->isVisible())
            return w;
    return nullptr;
}

QString callWindowTitle()
{
    QWidget* w = callWindow();
    auto* frame = w ? w->findChild<QGroupBox*>(QStringLiteral("fra1")) : nullptr;
    return frame ? frame->title() : QString();
}

FrmCallDisplay* shownDisplay()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<FrmCallDisplay*>(w); d && d->isVisible())
            return d;
    }
    return nullptr;
}

QList<calllog::CallLogRow> incomingLog()
{
    return calllog::readLog(
        calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Incoming),
        calllog::LogKind::Incoming);
}

// The files under `dir` (and its subfolders) whose bytes hold `text`.
QStringList filesHolding(const QString& dir, const QByteArray& text)
{
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (TestEnv::readFile(path).contains(text))
            out << path;
    }
    return out;
}

QList<calllog::CallLogRow> outgoingLog()
{
    return calllog::readLog(
        calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing),
        calllog::LogKind::Outgoing);
}

} // namespace

class TestSipPhone : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompter> prompts;
    std::unique_ptr<SipPasswordPrompt> asker;
    std::unique_ptr<SipPasswords> passwords; // the run's, kept across windows
    std::unique_ptr<ProgramParts> parts;
    std::unique_ptr<FrmDialer> window;
    QStringList captions; // every heading of the call window, once per change

    // The program started with `account` as its only line device and a
    // directory entry "Ann Lee" on the first button.
    void startTelvaro(const SipAccount& account, const QByteArray& preferences = {})
    {
        // An account without a phone: none set up yet.
        QVERIFY(saveSipAccounts(account.phoneAddress.isEmpty() ? std::vector<SipAccount>{}
                                                               : std::vector{account}));
        TestEnv::writeFile(env->settingsFile(), cp1252::encode(settings::kHeader) +
                                                    "\r\n\r\n[Preferences]\r\nUseModem=1\r\n" +
                                                    preferences);
        directoryStore().writeEntryName(false, directory::entryKey(1, 1),
                                        QStringLiteral("Ann Lee"));
        directoryStore().writeEntryNumber(false, directory::entryKey(1, 1),
                                          QStringLiteral("555-0101"));
        static test::CountingEnder ender;
        parts.reset();
        parts = std::make_unique<ProgramParts>(
            nullptr, PartDoubles{.prompter = prompts.get(), .sipPasswords = passwords.get()});
        window = std::make_unique<FrmDialer>(parts.get(), profiles::ProfileOperation::None, &ender);
        window->formLoad(QString());
        window->show();
        options().setText(OptionsStore::txtDelayTimer, QStringLiteral("2"));
        options().setText(OptionsStore::txtMinutes, QStringLiteral("0"));
        options().setText(OptionsStore::txtSeconds, QStringLiteral("1"));
        options().setText(OptionsStore::TxtRedial, QStringLiteral("3"));
        options().setChecked(OptionsStore::chkRedial, true);
        Dialer& dialer = window->parts().dialer();
        connect(&dialer, &Dialer::connectWindowChanged, window.get(), [this, &dialer] {
            const QString c = dialer.connectWindow().frameCaption;
            if (captions.isEmpty() || captions.last() != c)
                captions.append(c);
        });
    }

    DirectoryView* directoryView() const { return window->findChild<DirectoryView*>(); }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompts = std::make_unique<ScriptedPrompter>();
        test::resetProgram();
        asker = std::make_unique<SipPasswordPrompt>(*prompts);
        passwords = std::make_unique<SipPasswords>(asker.get());
        captions.clear();
    }

    void cleanup()
    {
        if (window)
            window->exitProgram(FrmDialer::ExitMode::NoQuestions);
        window.reset();
        parts.reset();
        passwords.reset();
        asker.reset();
        prompts.reset();
        env.reset();
    }

    // A directory button dials through the phone: the phone is called with
    // the auto-answer hints, asked to call the translated number, reports
    // ringing and busy; the program redials, the phone reports ringing and
    // the answer, the window says Connected and OK logs the call once.
    void directoryButtonDialsThroughThePhone()
    {
        SipPeer phone(QStringLiteral("phone_transfer.xml"),
                      {QStringLiteral("-inf"),
                       sourceDir() + QStringLiteral("/tests/telephony/sip/busy_then_ok.csv")},
                      2);
        QVERIFY2(phone.error().isEmpty(), qPrintable(phone.error()));
        startTelvaro(SipPeer::account(phone.address()));
        // The phone is the line device (no modems before it).
        LineDevCaps caps;
        const TelephonySession& session = window->parts().line().session();
        QCOMPARE(lineGetDevCaps(session.lineApp, 0, session.lineApiVersion, 0, &caps), 0);
        QCOMPARE(caps.lineName, QStringLiteral("Desk phone"));
        QCOMPARE(caps.providerInfo, QStringLiteral("Telvaro SIP phone"));

        QTest::mouseClick(part<QPushButton>(directoryView(), "CmdS1"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(callWindowTitle(), QStringLiteral("Connected"), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(phone.finished(), 10000);
        QVERIFY2(phone.exitCode() == 0, qPrintable(phone.errors()));

        const QStringList invites = phone.received(QStringLiteral("INVITE"));
        QCOMPARE(invites.size(), 2);
        QVERIFY(invites[0].contains(QStringLiteral("answer-after=0")));
        QVERIFY(invites[0].contains(QStringLiteral("info=alert-autoanswer")));
        const QStringList refers = phone.received(QStringLiteral("REFER"));
        QCOMPARE(refers.size(), 2);
        for (const QString& r : refers)
            QVERIFY2(r.contains(QStringLiteral("Refer-To: <sip:5550101@example.com>")),
                     qPrintable(r));
        QCOMPARE(phone.received(QStringLiteral("BYE")).size(), 2);
        // Ringing is still dialing; busy is known before any connection.
        QCOMPARE(captions,
                 (QStringList{"Dialing:  Ann Lee", "Busy", "Redialing:  Ann Lee", "Connected"}));

        QWidget* w = callWindow();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdOK")), Qt::LeftButton);
        const auto rows = outgoingLog();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("Ann Lee"));
        QCOMPARE(rows[0].number, QStringLiteral("5550101"));
    }

    // A number too long for one dial command reaches the line in pieces; the
    // phone is asked for all of it at once.
    void longNumberIsReferredWhole()
    {
        SipPeer phone(QStringLiteral("phone_transfer.xml"),
                      {QStringLiteral("-inf"),
                       sourceDir() + QStringLiteral("/tests/telephony/sip/answered.csv")});
        QVERIFY2(phone.error().isEmpty(), qPrintable(phone.error()));
        startTelvaro(SipPeer::account(phone.address()));
        const QString number = QStringLiteral("0123456789").repeated(10);
        auto* pad = window->findChild<DialPad*>();
        test::child<QLineEdit>(pad, "txtDial")->setText(number);
        QTest::mouseClick(test::child<QPushButton>(pad, "CmdDial"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(callWindowTitle(), QStringLiteral("Connected"), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(phone.finished(), 10000);
        const QStringList refers = phone.received(QStringLiteral("REFER"));
        QCOMPARE(refers.size(), 1);
        QVERIFY2(refers[0].contains(QStringLiteral("Refer-To: <sip:%1@example.com>").arg(number)),
                 qPrintable(refers[0]));
    }

    // A registrar that refuses the password: the phones' dialog says so,
    // naming the account, and it is not tried again at once.
    void refusedRegistrationIsToldNamingTheAccount()
    {
        SipPeer pbx(QStringLiteral("pbx_register.xml"), {});
        QVERIFY2(pbx.error().isEmpty(), qPrintable(pbx.error()));
        SipAccount account = SipPeer::account(QStringLiteral("127.0.0.1:9"));
        account.registrar = pbx.address();
        account.registerForCallerId = true;
        passwords->remember(account, QStringLiteral("wrong"));
        startTelvaro(account, "Call Display=1\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(pbx.finished(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!sipProblem(account).isEmpty(), 5000);
        QCOMPARE(sipProblem(account),
                 QStringLiteral("Desk phone: registration failed: the password or user name was "
                                "refused (403 Forbidden)."));
        SipPhonesDialog list(*passwords, window.get(), *prompts);
        QCOMPARE(test::child<QLabel>(&list, "lblStatus")->text(), sipProblem(account));
        QCOMPARE(pbx.received(QStringLiteral("REGISTER")).size(), 2);
    }

    // Hang Up while the phone still rings cancels the call to it.
    void hangUpCancelsTheRingingPhone()
    {
        SipPeer phone(QStringLiteral("phone_no_answer.xml"), {});
        QVERIFY2(phone.error().isEmpty(), qPrintable(phone.error()));
        SipAccount account = SipPeer::account(phone.address());
        account.dialTimeout = 60;
        startTelvaro(account);
        QTest::mouseClick(part<QPushButton>(directoryView(), "CmdS1"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(phone.received(QStringLiteral("INVITE")).size(), 1, 10000);
        QTest::qWait(300); // ringing
        QTest::mouseClick(callWindow()->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(phone.finished(), 10000);
        QVERIFY2(phone.exitCode() == 0, qPrintable(phone.errors()));
        QCOMPARE(phone.received(QStringLiteral("CANCEL")).size(), 1);
        QVERIFY(!captions.contains(QStringLiteral("Connected")));
    }

    // Calls that go nowhere end in the call window's error, never in
    // "Connected", and the phone's leg is ended.
    void failedCallsAreErrors_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("status"); // the phone's answer
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("ending");  // the request that ends the leg
        QTest::addColumn<QString>("problem"); // what the phones' dialog tells

        const QString inUse = QStringLiteral("The selected line is in use or it is not connected.");
        const QString notAble = QStringLiteral("Not able to make a call.");
        QTest::newRow("phone on another call")
            << "phone_refuses.xml" << QStringList{} << "486 Busy Here" << inUse << "ACK"
            << "did not take the call (486 Busy Here).";
        QTest::newRow("phone forbids")
            << "phone_refuses.xml" << QStringList{} << "403 Forbidden" << inUse << "ACK"
            << "did not take the call (403 Forbidden).";
        QTest::newRow("phone not picked up")
            << "phone_no_answer.xml" << QStringList{} << "" << inUse << "CANCEL"
            << "did not take the call (no answer within 5 seconds).";
        QTest::newRow("password asked, then the number is not found")
            << "phone_digest.xml"
            << QStringList{"-inf", sourceDir() + "/tests/telephony/sip/not_found.csv"} << ""
            << notAble << "BYE"
            << "";
    }
    void failedCallsAreErrors()
    {
        QFETCH(QString, scenario);
        QFETCH(QStringList, args);
        QFETCH(QString, status);
        QFETCH(QString, label);
        QFETCH(QString, ending);
        QFETCH(QString, problem);
        SipPeer phone(scenario, args, 1, 40, status);
        QVERIFY2(phone.error().isEmpty(), qPrintable(phone.error()));
        const SipAccount account = SipPeer::account(phone.address());
        passwords->remember(account, QStringLiteral("secret"));
        startTelvaro(account);

        QTest::mouseClick(part<QPushButton>(directoryView(), "CmdS1"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(callWindowTitle(), QStringLiteral("Modem error!"), 15000);
        QWidget* w = callWindow();
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lbl1"))->text(), label);
        QTRY_VERIFY_WITH_TIMEOUT(phone.finished(), 10000);
        QVERIFY2(phone.exitCode() == 0, qPrintable(phone.errors()));
        QCOMPARE(phone.received(ending).size(), 1);
        QVERIFY(!captions.contains(QStringLiteral("Connected")));
        if (!problem.isEmpty())
            QCOMPARE(sipProblem(account), QStringLiteral("Desk phone: the phone sip:phone@%1 %2")
                                              .arg(phone.address(), problem));
        else
            QCOMPARE(sipProblem(account), QString()); // the phone was fine; the number was not
        if (scenario == QLatin1String("phone_digest.xml")) {
            const QStringList invites = phone.received(QStringLiteral("INVITE"));
            QCOMPARE(invites.size(), 2);
            QVERIFY(invites[1].contains(QStringLiteral("Authorization: Digest username=\"201\"")));
        }
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
        QVERIFY(outgoingLog().isEmpty());
    }

    // Registered for caller ID (answering the registrar's digest challenge),
    // a call the PBX forks to Telvaro rings, shows the caller it asserts and
    // is cancelled when answered elsewhere: one record, never answered.
    void forkedCallShowsTheCallerOnce()
    {
        SipPeer pbx(QStringLiteral("pbx_register.xml"), {});
        QVERIFY2(pbx.error().isEmpty(), qPrintable(pbx.error()));
        const quint16 own = SipPeer::freePort();
        SipAccount account = SipPeer::account(QStringLiteral("127.0.0.1:9"));
        account.registrar = pbx.address();
        account.registerForCallerId = true;
        account.localAddress = QStringLiteral("127.0.0.1:%1").arg(own);
        passwords->remember(account, QStringLiteral("secret"));
        startTelvaro(account, "Call Display=1\r\n");
        window->hide(); // as in the tray
        QTRY_VERIFY_WITH_TIMEOUT(pbx.finished(), 10000);
        QVERIFY2(pbx.exitCode() == 0, qPrintable(pbx.errors()));
        const QStringList registers = pbx.received(QStringLiteral("REGISTER"));
        QCOMPARE(registers.size(), 2);
        QVERIFY(registers[1].contains(QStringLiteral("Authorization: Digest username=\"201\"")));

        SipPeer caller(QStringLiteral("pbx_forked_call.xml"),
                       {QStringLiteral("127.0.0.1:%1").arg(own)});
        QVERIFY2(caller.error().isEmpty(), qPrintable(caller.error()));
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 10000);
        QPointer<FrmCallDisplay> display = shownDisplay();
        QTRY_COMPARE_WITH_TIMEOUT(display ? test::child<QLabel>(display.data(), "lbl1")->text()
                                          : QString(),
                                  QStringLiteral("+15551234          John Doe"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(caller.finished(), 10000);
        QVERIFY2(caller.exitCode() == 0, qPrintable(caller.errors()));
        QVERIFY(
            !caller.messages().contains(QStringLiteral("SIP/2.0 200 OK\nVia"))); // never answered
        const auto rows = incomingLog();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("John Doe"));
        QCOMPARE(rows[0].number, QStringLiteral("+15551234"));
    }

    // The phone set up in its dialog (reached from the system modems): the
    // settings go to Telephony.ini, the password to no file. Without a
    // keyring the user is told so, the password serves this run, and in the
    // next run it is asked for once, saying why.
    void phoneSetUpInItsDialogKeepsThePasswordOutOfFiles()
    {
        SipPeer phone(QStringLiteral("phone_digest.xml"),
                      {QStringLiteral("-inf"),
                       sourceDir() + QStringLiteral("/tests/telephony/sip/not_found.csv")},
                      3, 60);
        QVERIFY2(phone.error().isEmpty(), qPrintable(phone.error()));
        startTelvaro(SipAccount{});          // no phone yet
        const QByteArray password("secret"); // what the scenario's digest expects

        {
            SystemModemsDialog modems(*passwords, *prompts, window.get());
            onModal<SipPhonesDialog>([&](SipPhonesDialog* list) {
                onModal<SipPhoneDialog>([&](SipPhoneDialog* d) {
                    test::child<QLineEdit>(d, "txtName")->setText(QStringLiteral("Desk phone"));
                    test::child<QLineEdit>(d, "txtDomain")->setText(QStringLiteral("example.com"));
                    test::child<QLineEdit>(d, "txtUser")->setText(QStringLiteral("201"));
                    test::child<QLineEdit>(d, "txtPassword")
                        ->setText(QString::fromLatin1(password));
                    test::child<QLineEdit>(d, "txtPhone")
                        ->setText(QStringLiteral("sip:phone@") + phone.address());
                    test::child<QComboBox>(d, "cmbTransport")->setCurrentIndex(0);
                    screenshot(d, QStringLiteral("sip-phone-dialog"));
                    test::child<QDialogButtonBox>(d, "buttons")
                        ->button(QDialogButtonBox::Ok)
                        ->click();
                });
                test::child<QPushButton>(list, "cmdAdd")->click();
                QTRY_VERIFY(!prompts->messages.isEmpty()); // the keyring's answer
                screenshot(list, QStringLiteral("sip-phones"));
                list->reject();
            });
            test::child<QPushButton>(&modems, "cmdSipPhones")->click();
            QVERIFY(prompts->messages.last().text.contains(
                QStringLiteral("could not be kept in the keyring")));
        }

        std::vector<SipAccount> saved = loadSipAccounts();
        QCOMPARE(saved.size(), size_t(1));
        QCOMPARE(saved[0].user, QStringLiteral("201"));
        QCOMPARE(saved[0].phoneAddress, QStringLiteral("sip:phone@") + phone.address());
        QVERIFY(TestEnv::readFile(env->configDir() + QStringLiteral("/Telephony.ini"))
                    .contains("[SipPhone0]"));
        // The line must listen on 127.0.0.1 only (a hand-edited setting).
        saved[0].localAddress = QStringLiteral("127.0.0.1");
        QVERIFY(saveSipAccounts(saved));
        window->exitProgram(FrmDialer::ExitMode::NoQuestions);
        window.reset();
        const SipAccount account = saved[0];

        // This run knows the password; the next one asks once.
        for (int run = 0; run < 2; ++run) {
            if (run == 1) {
                parts.reset(); // the next run
                passwords = std::make_unique<SipPasswords>(asker.get());
                prompts->inputAnswers << QString::fromLatin1(password);
            }
            startTelvaro(account);
            for (int call = 0; call < (run == 0 ? 1 : 2); ++call) {
                captions.clear();
                QTest::mouseClick(part<QPushButton>(directoryView(), "CmdS1"), Qt::LeftButton);
                QTRY_COMPARE_WITH_TIMEOUT(callWindowTitle(), QStringLiteral("Modem error!"), 15000);
                QCOMPARE(callWindow()->findChild<QLabel*>(QStringLiteral("lbl1"))->text(),
                         QStringLiteral("Not able to make a call.")); // number not found
                QTest::mouseClick(
                    callWindow()->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                    Qt::LeftButton);
                QTRY_VERIFY_WITH_TIMEOUT(!callWindow(), 5000);
            }
            window->exitProgram(FrmDialer::ExitMode::NoQuestions);
            window.reset();
        }
        QCOMPARE(prompts->inputs.size(), 1);
        QVERIFY(prompts->inputs[0].secret);
        QVERIFY(prompts->inputs[0].prompt.contains(QStringLiteral("No keyring service")));
        QVERIFY(prompts->inputs[0].prompt.contains(QStringLiteral("Desk phone")));
        QTRY_VERIFY_WITH_TIMEOUT(phone.finished(), 10000);
        QCOMPARE(phone.received(QStringLiteral("INVITE")).filter("Authorization:").size(), 3);

        QCOMPARE(filesHolding(env->configDir(), password), QStringList());
        QCOMPARE(filesHolding(env->dataDir(), password), QStringList());
    }

    // Registered, Telvaro gets garbage, an oversized header, wrong lengths,
    // an unknown method and a flood of calls: it keeps answering, rings for
    // one call only, and that call leaves one record.
    void hostileTrafficWhileRegistered()
    {
        SipPeer pbx(QStringLiteral("pbx_register.xml"), {});
        QVERIFY2(pbx.error().isEmpty(), qPrintable(pbx.error()));
        const quint16 own = SipPeer::freePort();
        SipAccount account = SipPeer::account(QStringLiteral("127.0.0.1:9"));
        account.registrar = pbx.address();
        account.registerForCallerId = true;
        account.localAddress = QStringLiteral("127.0.0.1:%1").arg(own);
        passwords->remember(account, QStringLiteral("secret"));
        startTelvaro(account, "Call Display=1\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(pbx.finished(), 10000);
        QCOMPARE(pbx.exitCode(), 0);

        QUdpSocket peer;
        QVERIFY(peer.bind(QHostAddress::LocalHost, 0));
        const QByteArray target = "sip:201@127.0.0.1:" + QByteArray::number(own);
        auto send = [&](const QByteArray& m) {
            peer.writeDatagram(m, QHostAddress::LocalHost, own);
        };
        auto headers = [&](const QByteArray& method, int n) {
            return method + " " + target + " SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:" +
                   QByteArray::number(peer.localPort()) + ";branch=z9hG4bK-h" +
                   QByteArray::number(n) + "\r\nFrom: \"Caller " + QByteArray::number(n) +
                   "\" <sip:trunk@pbx.example.com>;tag=f" + QByteArray::number(n) +
                   "\r\nTo: <sip:201@example.com>\r\nCall-ID: hostile-" + QByteArray::number(n) +
                   "@test\r\nCSeq: 1 " + method + "\r\nMax-Forwards: 70\r\n";
        };
        auto invite = [&](int n, const QByteArray& extra = {}) {
            return headers("INVITE", n) +
                   "Contact: <sip:pbx@127.0.0.1:" + QByteArray::number(peer.localPort()) +
                   ">\r\nP-Asserted-Identity: \"Caller " + QByteArray::number(n) +
                   "\" <tel:+1555000" + QByteArray::number(n) + ">\r\n" + extra;
        };

        QRandomGenerator random(22);
        for (int i = 0; i < 200; ++i) {
            QByteArray junk(int(random.bounded(1, 1400)), Qt::Uninitialized);
            for (char& c : junk)
                c = char(random.bounded(256));
            send(i % 2 ? junk : "INVITE " + junk);
            if (i % 20 == 19)
                QTest::qWait(20); // a burst at a time: UDP drops what overflows
        }
        send(invite(900, "Subject: " + QByteArray(60000, 'x') + "\r\nContent-Length: 0\r\n\r\n"));
        send(invite(901, "Content-Length: 5000\r\n\r\nv=0\r\n"));
        send(invite(902, "Content-Length: -7\r\n\r\n"));
        send(headers("FROBNICATE", 903) + "Content-Length: 0\r\n\r\n");
        QTest::qWait(50);
        for (int n = 0; n < 40; ++n)
            send(invite(n, "Content-Length: 0\r\n\r\n"));

        // Every answer, by call.
        QMultiMap<QByteArray, int> answers;
        QMap<QByteArray, QByteArray> toTags;
        auto collect = [&] {
            while (peer.hasPendingDatagrams()) {
                QByteArray d(int(peer.pendingDatagramSize()), Qt::Uninitialized);
                peer.readDatagram(d.data(), d.size());
                if (!d.startsWith("SIP/2.0 "))
                    continue;
                const int code = d.mid(8, 3).toInt();
                const qsizetype c = d.indexOf("Call-ID: ");
                const QByteArray id = d.mid(c + 9, d.indexOf('\r', c) - c - 9);
                answers.insert(id, code);
                const qsizetype t = d.indexOf(";tag=", d.indexOf("\nTo:"));
                if (t > 0)
                    toTags[id] = d.mid(t + 5, d.indexOf('\r', t) - t - 5);
            }
        };
        QTRY_VERIFY_WITH_TIMEOUT((collect(), answers.contains("hostile-903@test") &&
                                                 answers.contains("hostile-39@test")),
                                 10000);
        QTest::qWait(1000);
        collect();
        QVERIFY(answers.value("hostile-903@test") >= 400); // unknown method refused
        QList<QByteArray> ringing;
        for (auto it = answers.cbegin(); it != answers.cend(); ++it)
            if (it.value() == 180 && !ringing.contains(it.key()))
                ringing << it.key();
        QCOMPARE(ringing.size(), 1);
        for (int n = 0; n < 40; ++n) {
            const QByteArray id = "hostile-" + QByteArray::number(n) + "@test";
            QVERIFY2(answers.contains(id), id.constData());
            QVERIFY(answers.values(id).contains(180) || answers.values(id).contains(486));
        }
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 5000);

        // The ringing call is cancelled: the display goes, one record stays.
        const int n = ringing[0].mid(8, ringing[0].indexOf('@') - 8).toInt();
        send(headers("CANCEL", n) + "Content-Length: 0\r\n\r\n");
        QTRY_VERIFY_WITH_TIMEOUT((collect(), answers.values(ringing[0]).contains(487)), 5000);
        send(headers("ACK", n).replace("To: <sip:201@example.com>",
                                       "To: <sip:201@example.com>;tag=" + toTags[ringing[0]]) +
             "Content-Length: 0\r\n\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 5000);
        const auto rows = incomingLog();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("Caller %1").arg(n));
        QCOMPARE(rows[0].number, QStringLiteral("+1555000%1").arg(n));
    }

    // A real user agent as the phone: baresip, headless, answering by itself
    // and transferring the call to the number, reporting its progress.
    void baresipAsThePhone()
    {
        const QString baresip = QStandardPaths::findExecutable(QStringLiteral("baresip"));
        QVERIFY2(!baresip.isEmpty(), "baresip is not installed (make deps installs baresip-core)");
        SipPeer callee(QStringLiteral("callee_answers.xml"), {});
        QVERIFY2(callee.error().isEmpty(), qPrintable(callee.error()));
        const quint16 phonePort = SipPeer::freePort();
        QTemporaryDir dir;
        TestEnv::writeFile(dir.path() + QStringLiteral("/config"),
                           "sip_listen 127.0.0.1:" + QByteArray::number(phonePort) +
                               "\nnet_interface 127.0.0.1\nmodule_path /usr/lib/baresip/modules\n"
                               "module g711.so\nmodule ausine.so\nmodule aubridge.so\n"
                               "module account.so\nmodule menu.so\n"
                               "audio_source ausine,440\nausrc_srate 48000\nausrc_channels 2\n"
                               "audio_player aubridge,telvaro\naudio_alert aubridge,telvaro\n"
                               "rtp_ports 46000-46100\n");
        TestEnv::writeFile(dir.path() + QStringLiteral("/accounts"),
                           "<sip:phone@127.0.0.1>;regint=0;answermode=auto\n");
        QProcess phone;
        phone.setProcessChannelMode(QProcess::MergedChannels);
        phone.start(baresip,
                    {QStringLiteral("-f"), dir.path(), QStringLiteral("-t"), QStringLiteral("40")});
        QVERIFY(phone.waitForStarted(5000));
        QByteArray output;
        QVERIFY(QTest::qWaitFor(
            [&] {
                output += phone.readAll();
                return output.contains("baresip is ready");
            },
            10000));
        SipAccount account = SipPeer::account(QStringLiteral("127.0.0.1:%1").arg(phonePort));
        account.domain = callee.address(); // the number is called there
        startTelvaro(account);

        QTest::mouseClick(part<QPushButton>(directoryView(), "CmdS1"), Qt::LeftButton);
        const bool ended = QTest::qWaitFor(
            [] {
                return callWindowTitle() == QLatin1String("Connected") ||
                       callWindowTitle() == QLatin1String("Modem error!");
            },
            20000);
        Q_UNUSED(ended); // the title says how
        QTest::qWait(300);
        output += phone.readAll();
        QVERIFY2(callWindowTitle() == QLatin1String("Connected"), output.right(2000).constData());
        QTRY_VERIFY_WITH_TIMEOUT(callee.finished(), 15000);
        output += phone.readAll();
        QVERIFY2(callee.exitCode() == 0, qPrintable(callee.errors() + output));
        const QStringList invites = callee.received(QStringLiteral("INVITE"));
        QCOMPARE(invites.size(), 1);
        QVERIFY2(invites[0].startsWith(QStringLiteral("INVITE sip:5550101@") + callee.address()),
                 qPrintable(invites[0]));
        QTest::mouseClick(callWindow()->findChild<QPushButton*>(QStringLiteral("CmdOK")),
                          Qt::LeftButton);
        QCOMPARE(outgoingLog().size(), 1);
        phone.terminate();
        if (!phone.waitForFinished(3000))
            phone.kill();
        phone.waitForFinished(3000);
    }
};

QTEST_MAIN(TestSipPhone)
#include "test_sipphone.moc"
