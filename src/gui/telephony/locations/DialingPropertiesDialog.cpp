// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/telephony/locations/DialingPropertiesDialog.h"

#include "core/common/Prompter.h"
#include "core/telephony/locations/Countries.h"
#include "core/telephony/locations/LineTranslate.h"
#include "gui/telephony/locations/CallingCardsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace telvaro {

namespace {

const char* const kTitle =
    QT_TRANSLATE_NOOP("telvaro::DialingPropertiesDialog", "Dialing Properties");

// Codes typed into the dialog: what a modem dials, nothing else.
QValidator* dialCodeValidator(QObject* parent)
{
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9*#,!WwTtPp@$]{0,20}")), parent);
}

} // namespace

DialingPropertiesDialog::DialingPropertiesDialog(const QString& caption, QWidget* parent,
                                                 Prompter& prompter)
    : QDialog(parent), m_prompter(prompter), m_data(loadLocations())
{
    setWindowTitle(tr(kTitle));
    setObjectName(QStringLiteral("DialingPropertiesDialog"));

    // Where I am.
    cmbLocation = new QComboBox;
    cmbLocation->setObjectName(QStringLiteral("cmbLocation"));
    cmbLocation->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbLocation->setMinimumContentsLength(22);
    cmdNew = new QPushButton(tr("&New..."));
    cmdRename = new QPushButton(tr("Re&name..."));
    cmdRemove = new QPushButton(tr("&Remove"));
    cmdNew->setObjectName(QStringLiteral("cmdNew"));
    cmdRename->setObjectName(QStringLiteral("cmdRename"));
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    auto* locationRow = new QHBoxLayout;
    locationRow->addWidget(cmbLocation, 1);
    locationRow->addWidget(cmdNew);
    locationRow->addWidget(cmdRename);
    locationRow->addWidget(cmdRemove);

    cmbCountry = new QComboBox;
    cmbCountry->setObjectName(QStringLiteral("cmbCountry"));
    cmbCountry->setMaxVisibleItems(20);
    {
        std::vector<const Country*> sorted;
        for (const Country& c : countries())
            sorted.push_back(&c);
        QCollator collator;
        std::sort(sorted.begin(), sorted.end(), [&](const Country* a, const Country* b) {
            return collator.compare(a->name, b->name) < 0;
        });
        for (const Country* c : sorted)
            cmbCountry->addItem(QStringLiteral("%1 (%2)").arg(c->name).arg(c->code), c->id);
    }
    txtAreaCode = new QLineEdit;
    txtAreaCode->setObjectName(QStringLiteral("txtAreaCode"));
    txtAreaCode->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), this));
    txtAreaCode->setMaximumWidth(fontMetrics().horizontalAdvance(u'0') * 12);

    auto* where = new QGroupBox(tr("Where I am"));
    auto* whereForm = new QFormLayout(where);
    auto* locationLabel = new QLabel(tr("I am &dialing from:"));
    locationLabel->setBuddy(cmbLocation);
    whereForm->addRow(locationLabel, locationRow);
    whereForm->addRow(tr("I am &in:"), cmbCountry);
    whereForm->addRow(tr("The &area code is:"), txtAreaCode);

    // How I dial from this location.
    txtLocalAccess = new QLineEdit;
    txtLocalAccess->setObjectName(QStringLiteral("txtLocalAccess"));
    txtLongDistanceAccess = new QLineEdit;
    txtLongDistanceAccess->setObjectName(QStringLiteral("txtLongDistanceAccess"));
    for (QLineEdit* e : {txtLocalAccess, txtLongDistanceAccess}) {
        e->setValidator(dialCodeValidator(this));
        e->setMaximumWidth(fontMetrics().horizontalAdvance(u'0') * 10);
    }
    auto* accessRow = new QHBoxLayout;
    auto* localLabel = new QLabel(tr("for &local calls:"));
    localLabel->setBuddy(txtLocalAccess);
    accessRow->addWidget(localLabel);
    accessRow->addWidget(txtLocalAccess);
    accessRow->addSpacing(12);
    auto* ldLabel = new QLabel(tr("for long &distance calls:"));
    ldLabel->setBuddy(txtLongDistanceAccess);
    accessRow->addWidget(ldLabel);
    accessRow->addWidget(txtLongDistanceAccess);
    accessRow->addStretch(1);

    chkCallWaiting = new QCheckBox(tr("This location has call &waiting. To disable it, dial:"));
    chkCallWaiting->setObjectName(QStringLiteral("chkCallWaiting"));
    cmbCallWaiting = new QComboBox;
    cmbCallWaiting->setObjectName(QStringLiteral("cmbCallWaiting"));
    cmbCallWaiting->setEditable(true);
    cmbCallWaiting->setAccessibleName(tr("Code that disables call waiting"));
    cmbCallWaiting->addItems(
        {QStringLiteral("*70,"), QStringLiteral("70#,"), QStringLiteral("1170,")});
    cmbCallWaiting->setValidator(dialCodeValidator(this));
    auto* waitingRow = new QHBoxLayout;
    waitingRow->addWidget(chkCallWaiting);
    waitingRow->addWidget(cmbCallWaiting);
    waitingRow->addStretch(1);

    txtBlockCallerId = new QLineEdit;
    txtBlockCallerId->setObjectName(QStringLiteral("txtBlockCallerId"));
    txtBlockCallerId->setValidator(dialCodeValidator(this));
    txtBlockCallerId->setMaximumWidth(fontMetrics().horizontalAdvance(u'0') * 10);

    optTone = new QRadioButton(tr("&Tone dialing"));
    optTone->setObjectName(QStringLiteral("optTone"));
    optPulse = new QRadioButton(tr("&Pulse dialing"));
    optPulse->setObjectName(QStringLiteral("optPulse"));
    auto* toneGroup = new QButtonGroup(this);
    toneGroup->addButton(optTone);
    toneGroup->addButton(optPulse);
    auto* toneRow = new QHBoxLayout;
    toneRow->addWidget(optTone);
    toneRow->addWidget(optPulse);
    toneRow->addStretch(1);

    cmbCard = new QComboBox;
    cmbCard->setObjectName(QStringLiteral("cmbCard"));
    cmbCard->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbCard->setMinimumContentsLength(20);
    cmdCards = new QPushButton(tr("Calling &Cards..."));
    cmdCards->setObjectName(QStringLiteral("cmdCards"));
    auto* cardRow = new QHBoxLayout;
    cardRow->addWidget(cmbCard, 1);
    cardRow->addWidget(cmdCards);

    auto* how = new QGroupBox(tr("How I dial from this location"));
    auto* howForm = new QFormLayout(how);
    howForm->addRow(new QLabel(tr("To access an outside line, first dial:")));
    howForm->addRow(accessRow);
    howForm->addRow(waitingRow);
    howForm->addRow(tr("To &block caller ID, dial:"), txtBlockCallerId);
    howForm->addRow(tr("The phone system uses:"), toneRow);
    auto* cardLabel = new QLabel(tr("Dial using calling car&d:"));
    cardLabel->setBuddy(cmbCard);
    howForm->addRow(cardLabel, cardRow);

    auto* sampleBox = new QGroupBox(tr("Numbers dialed from this location"));
    auto* sampleForm = new QFormLayout(sampleBox);
    const QString sampleLabels[] = {tr("Local call:"), tr("Long distance call:"),
                                    tr("International call:")};
    for (int i = 0; i < 3; ++i) {
        lblSample[i] = new QLabel;
        lblSample[i]->setObjectName(QStringLiteral("lblSample%1").arg(i));
        lblSample[i]->setTextFormat(Qt::PlainText);
        lblSample[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        sampleForm->addRow(sampleLabels[i], lblSample[i]);
    }

    lblAddress = new QLabel(caption);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setTextFormat(Qt::PlainText);
    lblAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                   QDialogButtonBox::Apply);
    buttons->setObjectName(QStringLiteral("buttons"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(how);
    layout->addWidget(sampleBox);
    layout->addWidget(lblAddress);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    fillCards();
    fillLocations();

    connect(cmbLocation, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loading)
            return;
        m_data.currentLocationId = cmbLocation->currentData().toUInt();
        showLocation();
    });
    for (QLineEdit* e : {txtAreaCode, txtLocalAccess, txtLongDistanceAccess, txtBlockCallerId})
        connect(e, &QLineEdit::textChanged, this, &DialingPropertiesDialog::storeLocation);
    connect(cmbCallWaiting, &QComboBox::currentTextChanged, this,
            &DialingPropertiesDialog::storeLocation);
    connect(chkCallWaiting, &QCheckBox::toggled, this, [this](bool on) {
        cmbCallWaiting->setEnabled(on);
        storeLocation();
    });
    connect(cmbCountry, &QComboBox::currentIndexChanged, this,
            &DialingPropertiesDialog::storeLocation);
    connect(cmbCard, &QComboBox::currentIndexChanged, this,
            &DialingPropertiesDialog::storeLocation);
    connect(optPulse, &QRadioButton::toggled, this, &DialingPropertiesDialog::storeLocation);
    connect(cmdNew, &QPushButton::clicked, this, &DialingPropertiesDialog::newLocation);
    connect(cmdRename, &QPushButton::clicked, this, &DialingPropertiesDialog::renameLocation);
    connect(cmdRemove, &QPushButton::clicked, this, &DialingPropertiesDialog::removeLocation);
    connect(cmdCards, &QPushButton::clicked, this, &DialingPropertiesDialog::editCards);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (apply())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &DialingPropertiesDialog::apply);
}

DialingLocation* DialingPropertiesDialog::current()
{
    return m_data.location(cmbLocation->currentData().toUInt());
}

void DialingPropertiesDialog::fillLocations()
{
    m_loading = true;
    cmbLocation->clear();
    int select = 0;
    for (const DialingLocation& l : m_data.locations) {
        if (l.id == m_data.currentLocationId)
            select = cmbLocation->count();
        cmbLocation->addItem(l.name, l.id);
    }
    cmbLocation->setCurrentIndex(select);
    m_loading = false;
    cmdRemove->setEnabled(m_data.locations.size() > 1);
    showLocation();
}

void DialingPropertiesDialog::fillCards()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    cmbCard->clear();
    cmbCard->addItem(tr("None (Direct Dial)"), 0u);
    for (const CallingCard& c : m_data.cards)
        cmbCard->addItem(c.name, c.id);
    m_loading = wasLoading;
}

void DialingPropertiesDialog::showLocation()
{
    const DialingLocation* l = current();
    if (!l)
        return;
    m_loading = true;
    int country = cmbCountry->findData(l->countryId);
    cmbCountry->setCurrentIndex(std::max(country, 0));
    txtAreaCode->setText(l->areaCode);
    txtLocalAccess->setText(l->localAccess);
    txtLongDistanceAccess->setText(l->longDistanceAccess);
    chkCallWaiting->setChecked(l->disableCallWaiting);
    cmbCallWaiting->setEnabled(l->disableCallWaiting);
    cmbCallWaiting->setCurrentText(l->callWaitingCode);
    txtBlockCallerId->setText(l->blockCallerIdCode);
    (l->pulse ? optPulse : optTone)->setChecked(true);
    cmbCard->setCurrentIndex(std::max(cmbCard->findData(l->cardId), 0));
    m_loading = false;
    updateSample();
}

void DialingPropertiesDialog::storeLocation()
{
    if (m_loading)
        return;
    DialingLocation* l = current();
    if (!l)
        return;
    l->countryId = cmbCountry->currentData().toUInt();
    l->areaCode = txtAreaCode->text();
    l->localAccess = txtLocalAccess->text();
    l->longDistanceAccess = txtLongDistanceAccess->text();
    l->disableCallWaiting = chkCallWaiting->isChecked();
    l->callWaitingCode = cmbCallWaiting->currentText();
    l->blockCallerIdCode = txtBlockCallerId->text();
    l->pulse = optPulse->isChecked();
    l->cardId = cmbCard->currentData().toUInt();
    updateSample();
}

void DialingPropertiesDialog::updateSample()
{
    const DialingLocation* l = current();
    const Country* country = l ? findCountry(l->countryId) : nullptr;
    if (!l || !country) {
        for (QLabel* label : lblSample)
            label->clear();
        return;
    }
    const CallingCard* card = m_data.card(l->cardId);
    // A number in this area, one in another area of this country, and one
    // abroad.
    const QString otherArea = l->areaCode == u"555" ? QStringLiteral("556") : QStringLiteral("555");
    const quint32 abroad = country->code == 44 ? 1 : 44;
    const QString samples[] = {
        QStringLiteral("+%1 (%2) 0123456").arg(country->code).arg(l->areaCode),
        QStringLiteral("+%1 (%2) 0123456").arg(country->code).arg(otherArea),
        QStringLiteral("+%1 (555) 0123456").arg(abroad),
    };
    for (int i = 0; i < 3; ++i) {
        LineTranslateOutput out;
        const LineResult r = translateAddress(*l, *country, card, samples[i],
                                              LINETRANSLATEOPTION_CANCELCALLWAITING, out);
        lblSample[i]->setText(r == 0 ? out.displayableString : QStringLiteral("-"));
    }
}

QString DialingPropertiesDialog::sampleText() const
{
    QStringList lines;
    for (const QLabel* label : lblSample)
        lines << label->text();
    return lines.join(u'\n');
}

bool DialingPropertiesDialog::askName(const QString& title, const QString& prompt, QString& name,
                                      quint32 self)
{
    InputRequest request;
    request.title = title;
    request.prompt = prompt;
    request.defaultText = name;
    for (;;) {
        const std::optional<QString> answer = m_prompter.input(this, request);
        if (!answer)
            return false;
        const QString text = answer->simplified();
        if (text.isEmpty())
            return false;
        const bool taken = std::any_of(
            m_data.locations.begin(), m_data.locations.end(), [&](const DialingLocation& l) {
                return l.id != self && l.name.compare(text, Qt::CaseInsensitive) == 0;
            });
        if (!taken) {
            name = text;
            return true;
        }
        showMessage(m_prompter, this,
                    tr("There is already a location named \"%1\". "
                       "Please choose another name.")
                        .arg(text),
                    title, MsgButtons::Ok, MsgIcon::Information);
        request.defaultText = text;
    }
}

void DialingPropertiesDialog::newLocation()
{
    QString name = tr("New Location");
    if (!askName(tr("New Location"), tr("Name of the new location:"), name, 0))
        return;
    // A new location starts as a copy of the one shown, which is usually
    // close (same country, same telephone system).
    DialingLocation copy = current() ? *current() : defaultLocation();
    DialingLocation& added = m_data.addLocation(name);
    const quint32 id = added.id;
    copy.id = id;
    copy.name = name;
    added = copy;
    m_data.currentLocationId = id;
    fillLocations();
}

void DialingPropertiesDialog::renameLocation()
{
    DialingLocation* l = current();
    if (!l)
        return;
    QString name = l->name;
    if (!askName(tr("Rename Location"), tr("New name of the location:"), name, l->id))
        return;
    l->name = name;
    cmbLocation->setItemText(cmbLocation->currentIndex(), name);
}

void DialingPropertiesDialog::removeLocation()
{
    const DialingLocation* l = current();
    if (!l || m_data.locations.size() < 2)
        return;
    if (showMessage(m_prompter, this, tr("Remove the location \"%1\"?").arg(l->name), tr(kTitle),
                    MsgButtons::YesNo, MsgIcon::Question, 2) != MsgResult::Yes)
        return;
    m_data.removeLocation(l->id);
    fillLocations();
}

void DialingPropertiesDialog::editCards()
{
    const DialingLocation* l = current();
    CallingCardsDialog dialog(m_data, l ? l->cardId : 0, this, m_prompter);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The locations keep their cards; those whose card was removed dial
    // directly.
    m_data.cards = dialog.data().cards;
    for (DialingLocation& each : m_data.locations) {
        if (!m_data.card(each.cardId))
            each.cardId = 0;
    }
    fillCards();
    showLocation();
}

bool DialingPropertiesDialog::apply()
{
    storeLocation();
    m_data.currentLocationId = cmbLocation->currentData().toUInt();
    // Cards from a file of another program may hold what no modem dials.
    if (const CallingCard* bad = cardWithPrompt(m_data)) {
        showMessage(m_prompter, this, promptRefusal(*bad), tr(kTitle), MsgButtons::Ok,
                    MsgIcon::Warning);
        return false;
    }
    const Result saved = saveLocations(m_data);
    if (saved)
        return true;
    showMessage(m_prompter, this,
                tr("The dialing properties could not be saved.\n\n%1").arg(saved.error), tr(kTitle),
                MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

} // namespace telvaro
