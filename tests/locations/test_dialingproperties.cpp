// SPDX-License-Identifier: GPL-3.0-or-later
// The dialing properties and calling cards dialogs: what the user changes
// there is what the next translated number follows.
#include "ModalHelper.h"
#include "common/Find.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/telephony/LineService.h"
#include "core/telephony/locations/LineTranslate.h"
#include "core/telephony/sip/SipPasswords.h"
#include "gui/telephony/locations/CallingCardsDialog.h"
#include "gui/telephony/locations/DialingPropertiesDialog.h"
#include "gui/telephony/locations/LineDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace telvaro;
using telvaro::test::child;
using telvaro::test::onModal;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

namespace {

QString dialed(const QString& address, quint32 options = 0)
{
    LineTranslateOutput out;
    if (lineTranslateAddress(0, 0, 0x00020000, address, 0, options, out) != 0)
        return QStringLiteral("(failed)");
    return out.dialableString;
}

void chooseCountry(DialingPropertiesDialog& d, quint32 id)
{
    auto* country = child<QComboBox>(&d, "cmbCountry");
    const int index = country->findData(id);
    QVERIFY(index >= 0);
    country->setCurrentIndex(index);
}

} // namespace

class TestDialingProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void newLocationSavedAndChosenChangesTheNextTranslation();
    void cancelKeepsTheOldRules();
    void removingTheCurrentLocationChoosesAnother();
    void locationNamesStayDistinct();
    void cardWithPinIsDialedButNotShown();
    void propertiesShowTheLastNumberDialed();
    void lastNumberCaptionCutsLongNumbers();
    void failedSaveKeepsTheDialogOpen();
    void cardRulesWaitForTheBillingToneButNotForTheUser();
};

void TestDialingProperties::newLocationSavedAndChosenChangesTheNextTranslation()
{
    TestEnv env;
    ScriptedPrompter prompts;
    QCOMPARE(dialed(u"+1 (415) 5551234"_qs), u"T14155551234"_qs);

    prompts.inputAnswers << u"Office"_qs;
    DialingPropertiesDialog d(u"Last number dialed:     5551234"_qs, nullptr, prompts);
    d.show();
    telvaro::test::screenshot(&d, u"dialing-properties"_qs);
    d.newLocation();
    QCOMPARE(child<QComboBox>(&d, "cmbLocation")->count(), 2);
    QCOMPARE(child<QComboBox>(&d, "cmbLocation")->currentText(), u"Office"_qs);
    chooseCountry(d, 1);
    child<QLineEdit>(&d, "txtAreaCode")->setText(u"415"_qs);
    child<QLineEdit>(&d, "txtLocalAccess")->setText(u"9,"_qs);
    child<QLineEdit>(&d, "txtLongDistanceAccess")->setText(u"8,"_qs);
    child<QCheckBox>(&d, "chkCallWaiting")->setChecked(true);
    child<QComboBox>(&d, "cmbCallWaiting")->setCurrentText(u"*70,"_qs);
    child<QRadioButton>(&d, "optPulse")->setChecked(true);
    // The example numbers follow the edits at once.
    QVERIFY2(d.sampleText().contains(u"8 1 555 0123456"), qPrintable(d.sampleText()));
    child<QDialogButtonBox>(&d, "buttons")->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));

    QCOMPARE(dialed(u"+1 (415) 5551234"_qs), u"P9,5551234"_qs);
    QCOMPARE(dialed(u"+1 (212) 5551234"_qs, LINETRANSLATEOPTION_CANCELCALLWAITING),
             u"P*70,8,12125551234"_qs);
    QCOMPARE(dialed(u"+44 (20) 7123"_qs), u"P8,01144207123"_qs);

    // Choosing the first location again and applying makes it current.
    DialingPropertiesDialog again(QString{}, nullptr, prompts);
    QCOMPARE(child<QComboBox>(&again, "cmbLocation")->currentText(), u"Office"_qs);
    child<QComboBox>(&again, "cmbLocation")->setCurrentIndex(0);
    QVERIFY(again.apply());
    QCOMPARE(dialed(u"+1 (415) 5551234"_qs), u"T14155551234"_qs);
}

void TestDialingProperties::cancelKeepsTheOldRules()
{
    TestEnv env;
    ScriptedPrompter prompts;
    DialingPropertiesDialog d(QString{}, nullptr, prompts);
    child<QLineEdit>(&d, "txtLongDistanceAccess")->setText(u"8"_qs);
    child<QDialogButtonBox>(&d, "buttons")->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(dialed(u"+1 (415) 5551234"_qs), u"T14155551234"_qs);
}

void TestDialingProperties::removingTheCurrentLocationChoosesAnother()
{
    TestEnv env;
    ScriptedPrompter prompts;
    prompts.inputAnswers << u"Cottage"_qs;
    DialingPropertiesDialog d(QString{}, nullptr, prompts);
    QVERIFY(!child<QPushButton>(&d, "cmdRemove")->isEnabled()); // the last location cannot go
    d.newLocation();
    chooseCountry(d, 44);
    QVERIFY(child<QPushButton>(&d, "cmdRemove")->isEnabled());

    prompts.messageAnswers << MsgResult::No;
    d.removeLocation();
    QCOMPARE(child<QComboBox>(&d, "cmbLocation")->count(), 2);

    prompts.messageAnswers << MsgResult::Yes;
    d.removeLocation();
    QCOMPARE(child<QComboBox>(&d, "cmbLocation")->count(), 1);
    QCOMPARE(prompts.messages.last().text, u"Remove the location \"Cottage\"?"_qs);
    QVERIFY(d.apply());
    const TelephonyLocations stored = loadLocations();
    QCOMPARE(stored.locations.size(), size_t(1));
    QCOMPARE(stored.currentLocation()->name, u"My Location"_qs);
}

void TestDialingProperties::locationNamesStayDistinct()
{
    TestEnv env;
    ScriptedPrompter prompts;
    prompts.inputAnswers << u"  my   location "_qs << u"Home"_qs << std::nullopt;
    DialingPropertiesDialog d(QString{}, nullptr, prompts);
    d.newLocation();
    QCOMPARE(prompts.messages.size(), 1); // the name is taken: asked again
    QCOMPARE(child<QComboBox>(&d, "cmbLocation")->currentText(), u"Home"_qs);
    d.renameLocation(); // cancelled
    QCOMPARE(child<QComboBox>(&d, "cmbLocation")->currentText(), u"Home"_qs);
}

void TestDialingProperties::cardWithPinIsDialedButNotShown()
{
    TestEnv env;
    ScriptedPrompter prompts;
    DialingPropertiesDialog d(QString{}, nullptr, prompts);
    chooseCountry(d, 1);
    child<QLineEdit>(&d, "txtAreaCode")->setText(u"212"_qs);

    prompts.inputAnswers << u"Travel"_qs;
    onModal<CallingCardsDialog>([&](CallingCardsDialog* cards) {
        telvaro::test::screenshot(cards, u"calling-cards"_qs);
        cards->newCard();
        child<QLineEdit>(cards, "txtAccount")->setText(u"123456789"_qs);
        child<QLineEdit>(cards, "txtPin")->setText(u"4321"_qs);
        child<QLineEdit>(cards, "txtLongDistanceAccess")->setText(u"18002255288"_qs);
        child<QLineEdit>(cards, "txtLongDistanceRule")->setText(u"J,K,H,1FG"_qs);
        QCOMPARE(child<QLineEdit>(cards, "txtPin")->echoMode(), QLineEdit::Password);
        telvaro::test::screenshot(cards, u"calling-cards-filled"_qs);
        cards->accept();
    });
    d.editCards();
    QCOMPARE(child<QComboBox>(&d, "cmbCard")->count(), 2);
    QCOMPARE(child<QComboBox>(&d, "cmbCard")->currentIndex(),
             0); // the location keeps dialing directly
    child<QComboBox>(&d, "cmbCard")->setCurrentIndex(1);
    QVERIFY(!d.sampleText().contains(u"4321"));
    QVERIFY(d.sampleText().contains(u"[PIN]"));
    QVERIFY(d.apply());

    LineTranslateOutput out;
    QCOMPARE(lineTranslateAddress(0, 0, 0, u"+1 (415) 5551234"_qs, 0, 0, out), 0);
    QCOMPARE(out.dialableString, u"T18002255288,123456789,4321,14155551234"_qs);
    QVERIFY(!out.displayableString.contains(u"4321"));

    // Removing the card in the cards dialog sends the location back to
    // direct dial.
    prompts.messageAnswers << MsgResult::Yes;
    onModal<CallingCardsDialog>([&](CallingCardsDialog* cards) {
        cards->removeCard();
        QVERIFY(!child<QLineEdit>(cards, "txtPin")->isEnabled());
        cards->accept();
    });
    d.editCards();
    QCOMPARE(child<QComboBox>(&d, "cmbCard")->count(), 1);
    QVERIFY(d.apply());
    QCOMPARE(dialed(u"+1 (415) 5551234"_qs), u"T14155551234"_qs);
}

void TestDialingProperties::propertiesShowTheLastNumberDialed()
{
    TestEnv env;
    ScriptedPrompter prompts;
    LineService line;
    SipPasswords passwords;
    LineDialogs dialogs(line, passwords, prompts);
    QString shown;
    onModal<DialingPropertiesDialog>([&](DialingPropertiesDialog* d) {
        shown = child<QLabel>(d, "lblAddress")->text();
        d->reject();
    });
    dialogs.showDialingProperties(nullptr, u"9 1 212 5551234"_qs);
    QCOMPARE(shown, u"Last number dialed:     9 1 212 5551234"_qs);
}

void TestDialingProperties::lastNumberCaptionCutsLongNumbers()
{
    const QString n66(66, u'5');
    const QString n67(67, u'5');
    QCOMPARE(lastNumberCaption(n66), u"Last number dialed:     "_qs + n66);
    QCOMPARE(lastNumberCaption(n67),
             u"Last number dialed:     "_qs + QString(55, u'5') + u"..."_qs);
    QCOMPARE(lastNumberCaption(QString()), u"Last number dialed:     "_qs);
}

void TestDialingProperties::failedSaveKeepsTheDialogOpen()
{
    TestEnv env;
    ScriptedPrompter prompts;
    DialingPropertiesDialog d(QString{}, nullptr, prompts);
    d.show();
    // A folder where the file should be: nobody can replace it.
    QVERIFY(QFile::remove(env.configDir() + u"/Telephony.ini"_qs));
    QVERIFY(QDir().mkpath(env.configDir() + u"/Telephony.ini"_qs));
    child<QLineEdit>(&d, "txtAreaCode")->setText(u"30"_qs);
    child<QDialogButtonBox>(&d, "buttons")->button(QDialogButtonBox::Ok)->click();
    QVERIFY(d.isVisible());
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(
        prompts.messages.front().text.startsWith(u"The dialing properties could not be saved."));
    QCOMPARE(prompts.messages.front().icon, MsgIcon::Critical);
}

// "?" (wait for the user) cannot be dialed by a modem: the card is refused
// with a message and stays open; "$" (wait for the billing tone) is kept.
void TestDialingProperties::cardRulesWaitForTheBillingToneButNotForTheUser()
{
    TestEnv env;
    ScriptedPrompter prompts;
    DialingPropertiesDialog d(QString{}, nullptr, prompts);
    chooseCountry(d, 1);
    child<QLineEdit>(&d, "txtAreaCode")->setText(u"212"_qs);
    prompts.inputAnswers << u"Travel"_qs;
    onModal<CallingCardsDialog>([&](CallingCardsDialog* cards) {
        cards->newCard();
        child<QLineEdit>(cards, "txtLongDistanceAccess")->setText(u"18002255288"_qs);
        child<QLineEdit>(cards, "txtLongDistanceRule")->setText(u"J?1FG"_qs);
        QPushButton* ok = cards->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        ok->click();
        QVERIFY(cards->isVisible());
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.front().text.contains(u"\"Travel\" holds \"?\""));
        child<QLineEdit>(cards, "txtLongDistanceRule")->setText(u"J$1FG"_qs);
        ok->click();
    });
    d.editCards();
    child<QComboBox>(&d, "cmbCard")->setCurrentIndex(1);
    QVERIFY(d.apply());
    QCOMPARE(dialed(u"+1 (415) 5551234"_qs), u"T18002255288$14155551234"_qs);
}

QTEST_MAIN(TestDialingProperties)
#include "test_dialingproperties.moc"
