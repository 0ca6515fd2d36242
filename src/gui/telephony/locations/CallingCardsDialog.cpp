// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/telephony/locations/CallingCardsDialog.h"

#include "core/common/Prompter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace telvaro {

namespace {

const char* const kTitle = QT_TRANSLATE_NOOP("telvaro::CallingCardsDialog", "Calling Cards");

QLineEdit* field(const char* name, const QString& allowed, QObject* owner)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    if (!allowed.isEmpty())
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(allowed), owner));
    return e;
}

} // namespace

const CallingCard* cardWithPrompt(const TelephonyLocations& data)
{
    for (const CallingCard& c : data.cards) {
        for (const QString* s :
             {&c.localAccessNumber, &c.longDistanceAccessNumber, &c.internationalAccessNumber,
              &c.sameAreaRule, &c.longDistanceRule, &c.internationalRule}) {
            if (s->contains(QLatin1Char('?')))
                return &c;
        }
    }
    return nullptr;
}

QString promptRefusal(const CallingCard& card)
{
    return CallingCardsDialog::tr(
               "The calling card \"%1\" holds \"?\" (wait for you to go on), which "
               "a modem cannot dial.\n\nUse \",\" (a pause) or \"$\" (wait for the "
               "billing tone) in its place.")
        .arg(card.name);
}

CallingCardsDialog::CallingCardsDialog(const TelephonyLocations& data, quint32 selectedCard,
                                       QWidget* parent, Prompter& prompter)
    : QDialog(parent), m_prompter(prompter), m_data(data)
{
    setWindowTitle(tr(kTitle));
    setObjectName(QStringLiteral("CallingCardsDialog"));

    cmbCard = new QComboBox;
    cmbCard->setObjectName(QStringLiteral("cmbCard"));
    cmbCard->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbCard->setMinimumContentsLength(24);
    cmbCard->setPlaceholderText(tr("No calling card yet: click New..."));
    cmdNew = new QPushButton(tr("&New..."));
    cmdRemove = new QPushButton(tr("&Remove"));
    cmdNew->setObjectName(QStringLiteral("cmdNew"));
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    auto* top = new QHBoxLayout;
    auto* cardLabel = new QLabel(tr("Ca&rd:"));
    cardLabel->setBuddy(cmbCard);
    top->addWidget(cardLabel);
    top->addWidget(cmbCard, 1);
    top->addWidget(cmdNew);
    top->addWidget(cmdRemove);

    const QString digits = QStringLiteral("[0-9*#]{0,40}");
    const QString dialCodes = QStringLiteral("[0-9*#,!WwTtPp@$]{0,40}");
    const QString rules = QStringLiteral("[0-9*#,!EeFfGgHhJjKkWwTtPp@$?]{0,60}");
    txtName = field("txtName", QString(), this);
    txtName->setMaxLength(60);
    txtAccount = field("txtAccount", digits, this);
    txtPin = field("txtPin", digits, this);
    txtPin->setEchoMode(QLineEdit::Password);
    txtLocalAccess = field("txtLocalAccess", dialCodes, this);
    txtLongDistanceAccess = field("txtLongDistanceAccess", dialCodes, this);
    txtInternationalAccess = field("txtInternationalAccess", dialCodes, this);
    txtSameAreaRule = field("txtSameAreaRule", rules, this);
    txtLongDistanceRule = field("txtLongDistanceRule", rules, this);
    txtInternationalRule = field("txtInternationalRule", rules, this);

    auto* card = new QGroupBox(tr("Card"));
    auto* cardForm = new QFormLayout(card);
    cardForm->addRow(tr("Card &name:"), txtName);
    cardForm->addRow(tr("&Account number:"), txtAccount);
    cardForm->addRow(tr("&PIN:"), txtPin);

    auto* access = new QGroupBox(tr("Access numbers (J)"));
    auto* accessForm = new QFormLayout(access);
    accessForm->addRow(tr("For &local calls:"), txtLocalAccess);
    accessForm->addRow(tr("For long &distance calls:"), txtLongDistanceAccess);
    accessForm->addRow(tr("For &international calls:"), txtInternationalAccess);

    auto* rulesBox = new QGroupBox(tr("Dialing rules"));
    auto* rulesForm = new QFormLayout(rulesBox);
    rulesForm->addRow(tr("Calls within the &same area:"), txtSameAreaRule);
    rulesForm->addRow(tr("Long distance &calls:"), txtLongDistanceRule);
    rulesForm->addRow(tr("In&ternational calls:"), txtInternationalRule);
    auto* legend = new QLabel(
        tr("E country code, F area code, G number, J access number, K account number, H PIN;\n"
           "W wait for dial tone, $ wait for billing tone, @ wait for quiet, ? wait for me;\n"
           "a comma pauses, T and P switch to tone or pulse. An empty rule dials that kind\n"
           "of call directly, without the card."));
    legend->setObjectName(QStringLiteral("lblLegend"));
    QFont small = legend->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    legend->setFont(small);
    legend->setEnabled(false);
    rulesForm->addRow(legend);

    m_fields = {txtName,
                txtAccount,
                txtPin,
                txtLocalAccess,
                txtLongDistanceAccess,
                txtInternationalAccess,
                txtSameAreaRule,
                txtLongDistanceRule,
                txtInternationalRule};

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(card);
    layout->addWidget(access);
    layout->addWidget(rulesBox);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    fillCards(selectedCard);

    connect(cmbCard, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            showCard();
    });
    for (QWidget* w : m_fields)
        connect(static_cast<QLineEdit*>(w), &QLineEdit::textChanged, this,
                &CallingCardsDialog::storeCard);
    connect(txtName, &QLineEdit::editingFinished, this, [this] {
        if (CallingCard* c = current()) {
            if (txtName->text().simplified().isEmpty()) {
                txtName->setText(c->name.isEmpty() ? tr("Card") : c->name);
            }
            cmbCard->setItemText(cmbCard->currentIndex(), c->name);
        }
    });
    connect(cmdNew, &QPushButton::clicked, this, &CallingCardsDialog::newCard);
    connect(cmdRemove, &QPushButton::clicked, this, &CallingCardsDialog::removeCard);
    connect(buttons, &QDialogButtonBox::accepted, this, &CallingCardsDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CallingCardsDialog::tryAccept()
{
    const CallingCard* bad = cardWithPrompt(m_data);
    if (!bad) {
        accept();
        return;
    }
    const quint32 id = bad->id;
    showMessage(m_prompter, this, promptRefusal(*bad), tr(kTitle), MsgButtons::Ok,
                MsgIcon::Warning);
    cmbCard->setCurrentIndex(cmbCard->findData(id));
}

quint32 CallingCardsDialog::selectedCard() const
{
    return cmbCard->currentData().toUInt();
}

CallingCard* CallingCardsDialog::current()
{
    return m_data.card(cmbCard->currentData().toUInt());
}

void CallingCardsDialog::fillCards(quint32 select)
{
    m_loading = true;
    cmbCard->clear();
    int index = 0;
    for (const CallingCard& c : m_data.cards) {
        if (c.id == select)
            index = cmbCard->count();
        cmbCard->addItem(c.name, c.id);
    }
    if (cmbCard->count() > 0)
        cmbCard->setCurrentIndex(index);
    m_loading = false;
    showCard();
}

void CallingCardsDialog::showCard()
{
    const CallingCard* c = current();
    const bool any = c != nullptr;
    for (QWidget* w : m_fields)
        w->setEnabled(any);
    cmdRemove->setEnabled(any);
    cmbCard->setEnabled(any);
    m_loading = true;
    txtName->setText(any ? c->name : QString());
    txtAccount->setText(any ? c->accountNumber : QString());
    txtPin->setText(any ? c->pin : QString());
    txtLocalAccess->setText(any ? c->localAccessNumber : QString());
    txtLongDistanceAccess->setText(any ? c->longDistanceAccessNumber : QString());
    txtInternationalAccess->setText(any ? c->internationalAccessNumber : QString());
    txtSameAreaRule->setText(any ? c->sameAreaRule : QString());
    txtLongDistanceRule->setText(any ? c->longDistanceRule : QString());
    txtInternationalRule->setText(any ? c->internationalRule : QString());
    m_loading = false;
}

void CallingCardsDialog::storeCard()
{
    if (m_loading)
        return;
    CallingCard* c = current();
    if (!c)
        return;
    const QString name = txtName->text().simplified();
    if (!name.isEmpty())
        c->name = name;
    c->accountNumber = txtAccount->text();
    c->pin = txtPin->text();
    c->localAccessNumber = txtLocalAccess->text();
    c->longDistanceAccessNumber = txtLongDistanceAccess->text();
    c->internationalAccessNumber = txtInternationalAccess->text();
    c->sameAreaRule = txtSameAreaRule->text();
    c->longDistanceRule = txtLongDistanceRule->text();
    c->internationalRule = txtInternationalRule->text();
}

void CallingCardsDialog::newCard()
{
    InputRequest request;
    request.title = tr("New Calling Card");
    request.prompt = tr("Name of the new calling card:");
    request.defaultText = tr("Calling Card");
    const std::optional<QString> answer = m_prompter.input(this, request);
    if (!answer || answer->simplified().isEmpty())
        return;
    const quint32 id = m_data.addCard(answer->simplified()).id;
    fillCards(id);
    txtAccount->setFocus();
}

void CallingCardsDialog::removeCard()
{
    const CallingCard* c = current();
    if (!c)
        return;
    if (showMessage(m_prompter, this, tr("Remove the calling card \"%1\"?").arg(c->name),
                    tr(kTitle), MsgButtons::YesNo, MsgIcon::Question, 2) != MsgResult::Yes)
        return;
    m_data.removeCard(c->id);
    fillCards(m_data.cards.empty() ? 0 : m_data.cards.front().id);
}

} // namespace telvaro
