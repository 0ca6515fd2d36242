// SPDX-License-Identifier: GPL-3.0-or-later
// The modem properties, system modems and query windows: what they write to
// the telephony configuration, and detection and queries against modems on
// pseudo-terminals.
#include "Accessible.h"
#include "FakeModem.h"
#include "ModalHelper.h"
#include "app/ProgramParts.h"
#include "common/Find.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/telephony/LineService.h"
#include "core/telephony/lineapi/ModemConfig.h"
#include "core/telephony/locations/ModemProbe.h"
#include "core/telephony/sip/SipPasswords.h"
#include "gui/options/FrmOptions.h"
#include "gui/telephony/locations/CallingCardsDialog.h"
#include "gui/telephony/locations/DialingPropertiesDialog.h"
#include "gui/telephony/locations/LineDialogs.h"
#include "gui/telephony/locations/ModemDialogs.h"
#include "gui/telephony/sip/SipPhoneDialog.h"
#include "settings/OptionsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace telvaro;
using telvaro::test::child;
using telvaro::test::FakeModem;
using telvaro::test::onModal;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

namespace {

void clickOk(QDialog* dialog)
{
    auto* box = dialog->findChild<QDialogButtonBox*>();
    QVERIFY(box);
    box->button(QDialogButtonBox::Ok)->click();
}

ModemSettings modemOn(const QString& port, const QString& name = {})
{
    ModemSettings m;
    m.port = port;
    m.name = name;
    return m;
}

} // namespace

// The serial ports a case says the system has.
class ListedPorts final : public SerialPorts
{
public:
    QStringList names;
    QStringList list() const override { return names; }
};

class TestModemDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("TELVARO_LOCK_DIR", QFile::encodeName(m_locks.path())); }
    void init() { m_ports.names = QStringList{u"/dev/ttyS0"_qs, u"/dev/ttyACM0"_qs}; }

    void addedModemIsStoredAsTheNextLineDevice();
    void removeAsksAndWrites();
    void detectFindsModemsWithoutFreezing();
    void detectCanBeStopped();
    void queryShowsEachAnswer();
    void queryOfAMissingPortSaysSo();
    void modemPropertiesAreWrittenForTheNextOpen();
    void modemPropertiesWithoutAModem();
    void lineDialogsOpenTheDialogs();
    void addedModemShowsInTheOptionsDeviceList();
    void everyControlIsNamedAndOnTheTabRound();

private:
    QTemporaryDir m_locks;
    ListedPorts m_ports;
    SipPasswords m_passwords;
};

void TestModemDialogs::addedModemIsStoredAsTheNextLineDevice()
{
    TestEnv env;
    ScriptedPrompter prompts;
    QVERIFY(saveModems({modemOn(u"/dev/ttyS0"_qs, u"Old modem"_qs)}));

    SystemModemsDialog d(m_passwords, prompts, nullptr, m_ports);
    QCOMPARE(child<QTreeWidget>(&d, "twModems")->topLevelItemCount(), 1);
    // The port already in use is refused; the dialog stays open for another.
    onModal<AddModemDialog>([&](AddModemDialog* add) {
        QCOMPARE(child<QComboBox>(add, "cmbPort")->currentText(),
                 u"/dev/ttyACM0"_qs); // the first free port
        child<QComboBox>(add, "cmbPort")->setCurrentText(u"/dev/ttyS0"_qs);
        clickOk(add);
        QVERIFY(add->isVisible());
        child<QComboBox>(add, "cmbPort")->setCurrentText(u"/dev/ttyUSB3"_qs);
        child<QLineEdit>(add, "txtName")->setText(u"Office modem"_qs);
        clickOk(add);
    });
    child<QPushButton>(&d, "cmdAdd")->click();
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages.front().text.contains(u"Old modem is already set up on /dev/ttyS0"));

    QCOMPARE(child<QTreeWidget>(&d, "twModems")->topLevelItemCount(), 2);
    QCOMPARE(child<QTreeWidget>(&d, "twModems")->currentItem()->text(0), u"Office modem"_qs);
    // Written at once: the next reader of the configuration (the device
    // list of the options dialog) sees device 1.
    const std::vector<ModemSettings> stored = loadModems();
    QCOMPARE(stored.size(), size_t(2));
    QCOMPARE(stored[1].port, u"/dev/ttyUSB3"_qs);
    QCOMPARE(stored[1].displayName(), u"Office modem"_qs);
}

void TestModemDialogs::removeAsksAndWrites()
{
    TestEnv env;
    ScriptedPrompter prompts;
    QVERIFY(saveModems({modemOn(u"/dev/ttyS0"_qs), modemOn(u"/dev/ttyS1"_qs)}));
    SystemModemsDialog d(m_passwords, prompts, nullptr, m_ports);
    auto* modems = child<QTreeWidget>(&d, "twModems");
    modems->setCurrentItem(modems->topLevelItem(0));
    prompts.messageAnswers << MsgResult::No << MsgResult::Yes;
    d.removeModem();
    QCOMPARE(loadModems().size(), size_t(2));
    d.removeModem();
    QCOMPARE(prompts.messages.back().defaultButton, 2); // "No" is the default
    const auto stored = loadModems();
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].port, u"/dev/ttyS1"_qs);
    QCOMPARE(child<QTreeWidget>(&d, "twModems")->topLevelItemCount(), 1);
}

void TestModemDialogs::detectFindsModemsWithoutFreezing()
{
    TestEnv env;
    ScriptedPrompter prompts;
    FakeModem named;
    named.answers.insert(u"ATI3"_qs, u"Fake Voice 56K V.92\nOK"_qs);
    FakeModem gsm;
    gsm.answers.insert(u"AT+GMM"_qs, u"+GMM: Quectel EC25\nOK"_qs);
    FakeModem silent;
    silent.silent = true;
    QVERIFY(named.ok() && gsm.ok() && silent.ok());
    QVERIFY(saveModems({modemOn(u"/dev/ttyS0"_qs)}));
    m_ports.names =
        QStringList{u"/dev/ttyS0"_qs, named.path(), silent.path(), u"/dev/ttyGONE"_qs, gsm.path()};

    SystemModemsDialog d(m_passwords, prompts, nullptr, m_ports);
    d.setAnswerTimeout(400);
    d.show();
    child<QPushButton>(&d, "cmdDetect")->click();
    QVERIFY(d.detecting());
    QVERIFY(child<QProgressBar>(&d, "prgDetect")->isVisible());
    QCOMPARE(child<QPushButton>(&d, "cmdDetect")->text(), u"&Stop"_qs);
    QVERIFY(!child<QPushButton>(&d, "cmdAdd")->isEnabled());
    // The window keeps answering while the ports are probed.
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(20);
    QTRY_VERIFY_WITH_TIMEOUT(!d.detecting(), 15000);
    QVERIFY(ticks > 5);
    telvaro::test::screenshot(&d, u"system-modems"_qs);

    QCOMPARE(child<QLabel>(&d, "lblStatus")->text(), u"Found 2 new modems."_qs);
    QVERIFY(!child<QProgressBar>(&d, "prgDetect")->isVisible());
    const auto stored = loadModems();
    QCOMPARE(stored.size(), size_t(3));
    QCOMPARE(stored[1].port, named.path());
    QCOMPARE(stored[1].name, u"Fake Voice 56K V.92"_qs);
    QCOMPARE(stored[2].port, gsm.path());
    QCOMPARE(stored[2].name, u"Quectel EC25"_qs);
    QVERIFY(named.received.contains(u"AT"_qs));
    QVERIFY(!named.received.contains(u"AT+GMM"_qs)); // ATI3 named it
    QVERIFY(gsm.received.contains(u"ATI3"_qs));
}

void TestModemDialogs::detectCanBeStopped()
{
    TestEnv env;
    ScriptedPrompter prompts;
    FakeModem silent;
    silent.silent = true;
    m_ports.names = QStringList{silent.path()};
    SystemModemsDialog d(m_passwords, prompts, nullptr, m_ports);
    d.setAnswerTimeout(5000);
    child<QPushButton>(&d, "cmdDetect")->click();
    QTRY_VERIFY(!silent.received.isEmpty());
    child<QPushButton>(&d, "cmdDetect")->click();
    QVERIFY(!d.detecting());
    QCOMPARE(child<QLabel>(&d, "lblStatus")->text(), u"Detection stopped."_qs);
    QCOMPARE(child<QPushButton>(&d, "cmdDetect")->text(), u"&Detect"_qs);
    QTest::qWait(50);
    QVERIFY(loadModems().empty());

    // No ports at all: said plainly.
    m_ports.names.clear();
    child<QPushButton>(&d, "cmdDetect")->click();
    QVERIFY(!d.detecting());
    QVERIFY(child<QLabel>(&d, "lblStatus")->text().contains(u"no serial port"));
}

void TestModemDialogs::queryShowsEachAnswer()
{
    TestEnv env;
    FakeModem modem;
    modem.answers.insert(u"ATI"_qs, u"5601\nOK"_qs);
    modem.answers.insert(u"ATI3"_qs, u"Fake Voice 56K V.92\nOK"_qs);
    modem.answers.insert(u"AT+VCID=?"_qs, u"(0-2)\nOK"_qs);
    QueryModemDialog q(modemOn(modem.path(), u"Fake"_qs));
    q.setAnswerTimeout(500);
    q.show();
    QTRY_VERIFY_WITH_TIMEOUT(q.finished(), 10000);
    telvaro::test::screenshot(&q, u"query-modem"_qs);
    QCOMPARE(child<QLabel>(&q, "lblStatus")->text(), u"Done."_qs);
    const QStringList commands = ModemProbe::queryCommands();
    auto* answers = child<QTreeWidget>(&q, "twAnswers");
    QCOMPARE(answers->topLevelItemCount(), int(commands.size()));
    QHash<QString, QString> shown;
    for (int i = 0; i < answers->topLevelItemCount(); ++i)
        shown.insert(answers->topLevelItem(i)->text(0), answers->topLevelItem(i)->text(1));
    QCOMPARE(shown.value(u"ATI"_qs), u"5601\nOK"_qs);
    QCOMPARE(shown.value(u"AT+VCID=?"_qs), u"(0-2)\nOK"_qs);
    QCOMPARE(shown.value(u"AT#CID=?"_qs), u"ERROR"_qs);
    QVERIFY(shown.contains(u"AT+CLIP=?"_qs));
    QCOMPARE(modem.received, commands);
}

void TestModemDialogs::queryOfAMissingPortSaysSo()
{
    TestEnv env;
    QueryModemDialog q(modemOn(u"/dev/ttyNOSUCH"_qs));
    q.show();
    QTRY_VERIFY(q.finished());
    QVERIFY(
        child<QLabel>(&q, "lblStatus")->text().contains(u"There is no serial port /dev/ttyNOSUCH"));
    QCOMPARE(child<QTreeWidget>(&q, "twAnswers")->topLevelItemCount(), 0);

    // A modem that never answers: every command says so, and the query ends.
    FakeModem silent;
    silent.silent = true;
    QueryModemDialog mute(modemOn(silent.path()));
    mute.setAnswerTimeout(100);
    mute.show();
    QTRY_VERIFY_WITH_TIMEOUT(mute.finished(), 5000);
    QCOMPARE(child<QTreeWidget>(&mute, "twAnswers")->topLevelItem(0)->text(1), u"(no answer)"_qs);
}

void TestModemDialogs::modemPropertiesAreWrittenForTheNextOpen()
{
    TestEnv env;
    ScriptedPrompter prompts;
    QVERIFY(saveModems({modemOn(u"/dev/ttyS0"_qs), modemOn(u"/dev/ttyS1"_qs, u"Second"_qs)}));
    onModal<ModemPropertiesDialog>([&](ModemPropertiesDialog* p) {
        telvaro::test::screenshot(p, u"modem-properties"_qs);
        QCOMPARE(child<QComboBox>(p, "cmbPort")->currentText(), u"/dev/ttyS1"_qs);
        child<QComboBox>(p, "cmbPort")->setCurrentText(QString());
        clickOk(p); // no port: refused, stays open
        QVERIFY(p->isVisible());
        child<QComboBox>(p, "cmbPort")->setCurrentText(u"/dev/ttyUSB0"_qs);
        child<QComboBox>(p, "cmbSpeed")
            ->setCurrentIndex(child<QComboBox>(p, "cmbSpeed")->findData(57600));
        child<QCheckBox>(p, "chkDialTone")->setChecked(false);
        child<QSpinBox>(p, "spnDialTimeout")->setValue(45);
        child<QComboBox>(p, "cmbSpeakerMode")->setCurrentIndex(0);
        child<QLineEdit>(p, "txtInit")->setText(u"ATZ|ATE0V1|ATS7=50"_qs);
        clickOk(p);
    });
    QCOMPARE(lineConfigDialog(1, nullptr, u"comm"_qs, m_passwords, prompts), 0);
    QCOMPARE(prompts.messages.size(), 1);
    const auto stored = loadModems();
    QCOMPARE(stored.size(), size_t(2));
    QCOMPARE(stored[0].port, u"/dev/ttyS0"_qs); // the other modem is untouched
    QCOMPARE(stored[1].name, u"Second"_qs);
    QCOMPARE(stored[1].port, u"/dev/ttyUSB0"_qs);
    QCOMPARE(stored[1].speed, 57600);
    QVERIFY(!stored[1].waitForDialTone);
    QCOMPARE(stored[1].dialTimeout, 45);
    QCOMPARE(stored[1].speakerMode, 0);
    QCOMPARE(stored[1].initCommands(), (QStringList{u"ATZ"_qs, u"ATE0V1"_qs, u"ATS7=50"_qs}));

    QCOMPARE(lineConfigDialog(0, nullptr, u"wave/out"_qs, m_passwords, prompts),
             LINEERR_INVALDEVICECLASS);
}

void TestModemDialogs::modemPropertiesWithoutAModem()
{
    TestEnv env;
    ScriptedPrompter prompts;
    prompts.messageAnswers << MsgResult::No;
    QCOMPARE(lineConfigDialog(0, nullptr, u"comm"_qs, m_passwords, prompts), LINEERR_BADDEVICEID);
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages.front().text.startsWith(u"There is no modem set up yet."));

    // "Yes" leads to the system modems, where one can be added.
    prompts.messageAnswers << MsgResult::Yes;
    bool opened = false;
    onModal<SystemModemsDialog>([&](SystemModemsDialog* s) {
        opened = true;
        QVERIFY(child<QLabel>(s, "lblStatus")->text().startsWith(u"No modem is set up."));
        s->reject();
    });
    QCOMPARE(lineConfigDialog(0, nullptr, u"comm"_qs, m_passwords, prompts), LINEERR_BADDEVICEID);
    QVERIFY(opened);
}

void TestModemDialogs::lineDialogsOpenTheDialogs()
{
    TestEnv env;
    ScriptedPrompter prompts;
    LineService line;
    LineDialogs dialogs(line, m_passwords, prompts);
    QVERIFY(saveModems({modemOn(u"/dev/ttyS0"_qs)}));
    bool properties = false;
    onModal<ModemPropertiesDialog>([&](ModemPropertiesDialog* p) {
        properties = true;
        p->reject();
    });
    dialogs.showModemProperties(nullptr, 0);
    QVERIFY(properties);
    bool system = false;
    onModal<SystemModemsDialog>([&](SystemModemsDialog* s) {
        system = true;
        s->reject();
    });
    dialogs.showSystemModems(nullptr);
    QVERIFY(system);
    QVERIFY(prompts.messages.isEmpty());
}

void TestModemDialogs::addedModemShowsInTheOptionsDeviceList()
{
    TestEnv env;
    ScriptedPrompter prompts;
    options().resetToDesigned();
    ProgramParts parts(nullptr, PartDoubles{.prompter = &prompts});
    parts.line().initialize();

    FrmOptions& dlg = parts.optionsDialog();
    dlg.findChild<QComboBox*>("cmbLineDevices")->showPopup();
    dlg.findChild<QComboBox*>("cmbLineDevices")->hidePopup();
    QCOMPARE(dlg.findChild<QComboBox*>("cmbLineDevices")->count(), 0); // no modem yet

    onModal<SystemModemsDialog>([&](SystemModemsDialog* s) {
        onModal<AddModemDialog>([&](AddModemDialog* add) {
            child<QComboBox>(add, "cmbPort")->setCurrentText(u"/dev/ttyS5"_qs);
            child<QLineEdit>(add, "txtName")->setText(u"Office modem"_qs);
            clickOk(add);
        });
        child<QPushButton>(s, "cmdAdd")->click();
        s->reject();
    });
    dlg.findChild<QPushButton*>("cmdSysModems")->click();
    QCOMPARE(loadModems().size(), size_t(1));

    dlg.findChild<QComboBox*>("cmbLineDevices")->showPopup();
    dlg.findChild<QComboBox*>("cmbLineDevices")->hidePopup();
    QCOMPARE(dlg.findChild<QComboBox*>("cmbLineDevices")->count(), 1);
    QCOMPARE(dlg.findChild<QComboBox*>("cmbLineDevices")->itemText(0), u"Office modem"_qs);

    // Renamed in its properties: the list follows too.
    onModal<ModemPropertiesDialog>([&](ModemPropertiesDialog* p) {
        child<QLineEdit>(p, "txtName")->setText(u"Study modem"_qs);
        clickOk(p);
    });
    dlg.findChild<QPushButton*>("cmdModProp")->click();
    dlg.findChild<QComboBox*>("cmbLineDevices")->showPopup();
    dlg.findChild<QComboBox*>("cmbLineDevices")->hidePopup();
    QCOMPARE(dlg.findChild<QComboBox*>("cmbLineDevices")->itemText(0), u"Study modem"_qs);
    QVERIFY(prompts.messages.isEmpty());

    parts.line().shutdown();
}

// The options dialog and the dialogs it leads to, for a screen reader and
// the keyboard alone.
void TestModemDialogs::everyControlIsNamedAndOnTheTabRound()
{
    TestEnv env;
    ScriptedPrompter prompts;
    const ModemSettings modem = modemOn(u"/dev/ttyS0"_qs, u"Office modem"_qs);
    FrmOptions options(telvaro::options(), prompts);
    ModemPropertiesDialog properties(modem, nullptr, m_ports, prompts);
    AddModemDialog add({modem}, nullptr, m_ports, prompts);
    QueryModemDialog query(modem);
    SystemModemsDialog system(m_passwords, prompts, nullptr, m_ports);
    SipPhoneDialog phone(SipAccount{}, true, nullptr, prompts);
    SipPhonesDialog phones(m_passwords, nullptr, prompts);
    DialingPropertiesDialog dialing(lastNumberCaption(u"5551234"_qs), nullptr, prompts);
    CallingCardsDialog cards(dialing.data(), 0, nullptr, prompts);
    QStringList faults;
    for (QWidget* w : std::initializer_list<QWidget*>{&options, &properties, &add, &query, &system,
                                                      &phone, &phones, &dialing, &cards}) {
        for (const QString& fault : telvaro::test::accessFaults(w))
            faults << w->objectName() + u": "_qs + fault;
    }
    QCOMPARE(faults.join(u"; "), QString());
}

QTEST_MAIN(TestModemDialogs)
#include "test_modemdialogs.moc"
