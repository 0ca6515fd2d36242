// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/options/FrmOptions.h"

#include "core/common/Prompter.h"
#include "core/options/Preferences.h"
#include "platform/Autostart.h"
#include "settings/IniFile.h"
#include "settings/Paths.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace telvaro {

using S = OptionsStore;

// ---------------------------------------------------------------------------
// SpinTextBox

SpinTextBox::SpinTextBox(OptionsStore& store, OptionsStore::Text box, QWidget* parent)
    : QAbstractSpinBox(parent), m_store(store), m_box(box)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(true);
    setKeyboardTracking(true);
    lineEdit()->setText(m_store.text(m_box));
    connect(lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { m_store.setText(m_box, text); });
    connect(&m_store, &OptionsStore::textChanged, this, [this](OptionsStore::Text t) {
        if (t == m_box)
            refresh();
    });
    connect(&m_store, &OptionsStore::spinValueChanged, this, [this](OptionsStore::Text t) {
        if (t == m_box)
            update();
    });
}

void SpinTextBox::setMaxLength(int length)
{
    lineEdit()->setMaxLength(length);
}

void SpinTextBox::refresh()
{
    const QString text = m_store.text(m_box);
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
    update();
}

void SpinTextBox::stepBy(int steps)
{
    m_store.setSpinValue(m_box, m_store.spinValue(m_box) + steps);
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled SpinTextBox::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (!isEnabled())
        return enabled;
    const int value = m_store.spinValue(m_box);
    if (value < OptionsStore::spinMaximum(m_box))
        enabled |= StepUpEnabled;
    if (value > OptionsStore::spinMinimum(m_box))
        enabled |= StepDownEnabled;
    return enabled;
}

void LineDeviceCombo::showPopup()
{
    Q_EMIT aboutToDropDown();
    QComboBox::showPopup();
}

// ---------------------------------------------------------------------------
// FrmOptions

FrmOptions::FrmOptions(OptionsStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_store(store), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("Options"));
    setModal(false);

    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setAccessibleName(tr("Option pages"));
    tbsOptions->tabBar()->setAccessibleName(tbsOptions->accessibleName());
    fra[0] = buildGeneralPage();
    fra[1] = buildAdvancedPage();
    fra[2] = buildExpertPage();
    tbsOptions->addTab(fra[0], tr("&General"));
    tbsOptions->addTab(fra[1], tr("&Advanced"));
    tbsOptions->addTab(fra[2], tr("&Expert"));
    connect(tbsOptions, &QTabWidget::currentChanged, this, &FrmOptions::pageSwitch);

    cmdOK = new QPushButton(tr("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdCancel = new QPushButton(tr("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp = new QPushButton(tr("&Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    connect(cmdOK, &QPushButton::clicked, this, &FrmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmOptions::cmdCancel_Click);
    connect(cmdHelp, &QPushButton::clicked, this,
            [this] { Q_EMIT helpRequested(QStringLiteral("options")); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {cmdOK, cmdCancel, cmdHelp}) {
        b->setMinimumWidth(88);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(&m_store, &OptionsStore::checkClicked, this, &FrmOptions::checkChanged);
    connect(&m_store, &OptionsStore::optionClicked, this, [this] { refreshOptions(); });
    connect(&m_store, &OptionsStore::textChanged, this, [this](OptionsStore::Text t) {
        if (t == S::cmbLineDevices)
            refreshDevices();
    });
    connect(&m_store, &OptionsStore::lineDeviceNamesChanged, this, &FrmOptions::refreshDevices);
    connect(&m_store, &OptionsStore::selectedLineDeviceChanged, this, &FrmOptions::refreshDevices);

    for (int c = 0; c < S::CheckCount; ++c)
        refreshCheck(static_cast<S::Check>(c));
    refreshOptions();
    refreshDevices();
    refreshStates();
}

QCheckBox* FrmOptions::makeCheck(OptionsStore::Check c, const QString& caption)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(QMetaEnum::fromType<S::Check>().valueToKey(c)));
    checks[c] = box;
    connect(box, &QCheckBox::clicked, this,
            [this, c] { m_store.setCheck(c, m_store.check(c) == 1 ? 0 : 1); });
    return box;
}

QRadioButton* FrmOptions::makeOption(OptionsStore::Option o, const QString& caption)
{
    auto* button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(QMetaEnum::fromType<S::Option>().valueToKey(o)));
    opts[o] = button;
    connect(button, &QRadioButton::clicked, this, [this, o] { m_store.select(o); });
    return button;
}

SpinTextBox* FrmOptions::makeSpin(OptionsStore::Text t, int maxLength)
{
    auto* box = new SpinTextBox(m_store, t);
    box->setObjectName(QString::fromLatin1(QMetaEnum::fromType<S::Text>().valueToKey(t)));
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    const int digits = maxLength > 0 ? maxLength : 3;
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(digits + 1, u'9')) + 36);
    spins[t] = box;
    return box;
}

namespace {

QButtonGroup* pairGroup(QObject* parent, QRadioButton* a, QRadioButton* b)
{
    auto* group = new QButtonGroup(parent);
    group->addButton(a);
    group->addButton(b);
    return group;
}

QLabel* label(const QString& text)
{
    return new QLabel(text);
}

} // namespace

QWidget* FrmOptions::buildGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("fra1"));

    auto* fraSound = new QGroupBox(tr("Play sound when:"));
    fraSound->setObjectName(QStringLiteral("fraSound"));
    auto* sound = new QVBoxLayout(fraSound);
    sound->addWidget(makeCheck(S::chkSoundRed, tr("Connected after redialing &busy line")));
    sound->addWidget(makeCheck(S::chkSoundIn, tr("Recei&ving incoming call")));
    sound->addWidget(makeCheck(S::chkSoundEndRed, tr("&Reached the end of redials")));

    FraRedial = new QGroupBox;
    FraRedial->setObjectName(QStringLiteral("FraRedial"));
    auto* redial = new QVBoxLayout(FraRedial);
    redial->addWidget(makeCheck(S::chkRedial, tr("E&nable Automatic Redial:")));
    auto* row = new QHBoxLayout;
    auto* label2 = label(tr("Redial:"));
    label2->setBuddy(makeSpin(S::TxtRedial, 3));
    row->addSpacing(20);
    row->addWidget(label2);
    row->addWidget(spins[S::TxtRedial]);
    row->addWidget(label(tr("times,  every")));
    row->addWidget(makeSpin(S::txtMinutes));
    spins[S::txtMinutes]->setAccessibleName(tr("Minutes between redials"));
    row->addWidget(label(tr("minutes")));
    row->addWidget(makeSpin(S::txtSeconds, 2));
    spins[S::txtSeconds]->setAccessibleName(tr("Seconds between redials"));
    row->addWidget(label(tr("seconds")));
    row->addStretch(1);
    redial->addLayout(row);

    auto* fraOptions = new QGroupBox(tr("Options:"));
    fraOptions->setObjectName(QStringLiteral("fraOptions"));
    auto* general = new QVBoxLayout(fraOptions);
    general->addWidget(makeCheck(S::chkLoad, tr("&Load Telvaro when I log in")));
    general->addWidget(makeCheck(S::chkPad, tr("Show Dialing &Pad at Telvaro startup")));
    general->addWidget(makeOption(S::optIndex, tr("Start Dialer in the &Index Mode")));
    general->addWidget(makeOption(S::optSubject, tr("Start Dialer in the &Subject Mode ")));
    general->addWidget(makeCheck(S::chkIcon, tr("Sho&w program's icon in the system tray")));
    pairGroup(page, opts[S::optIndex], opts[S::optSubject]);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraSound);
    layout->addWidget(FraRedial);
    layout->addWidget(fraOptions);
    layout->addStretch(1);
    return page;
}

QWidget* FrmOptions::buildAdvancedPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("fra2"));

    auto* modemBox = new QGroupBox(tr("Dialing:"));
    auto* modem = new QVBoxLayout(modemBox);
    modem->addWidget(makeCheck(S::chkNoModem, tr("&Dial without modem")));
    modem->addWidget(makeCheck(S::chkModem, tr("Dial using &modem:")));
    fraModem = new QWidget;
    fraModem->setObjectName(QStringLiteral("fraModem"));
    auto* device = new QHBoxLayout(fraModem);
    device->setContentsMargins(20, 0, 0, 0);
    cmbLineDevices = new LineDeviceCombo;
    cmbLineDevices->setObjectName(QStringLiteral("cmbLineDevices"));
    cmbLineDevices->setAccessibleName(tr("Modem"));
    cmbLineDevices->setMinimumContentsLength(24);
    cmbLineDevices->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(cmbLineDevices, &LineDeviceCombo::aboutToDropDown, this, &FrmOptions::deviceDropDown);
    connect(cmbLineDevices, &QComboBox::activated, this, &FrmOptions::deviceChosen);
    cmdModProp = new QPushButton(tr("Modem &Properties"));
    cmdModProp->setObjectName(QStringLiteral("cmdModProp"));
    connect(cmdModProp, &QPushButton::clicked, this, [this] {
        Q_EMIT modemPropertiesRequested(m_store.selectedLineDevice());
        focusIfVisible(cmbLineDevices);
    });
    device->addWidget(cmbLineDevices, 1);
    device->addWidget(cmdModProp);
    modem->addWidget(fraModem);

    auto* fraAdd = new QGroupBox(tr("Add, Remove && Diagnostics"));
    fraAdd->setObjectName(QStringLiteral("fraAdd"));
    auto* add = new QHBoxLayout(fraAdd);
    cmdSysModems = new QPushButton(tr("&System modems "));
    cmdSysModems->setObjectName(QStringLiteral("cmdSysModems"));
    connect(cmdSysModems, &QPushButton::clicked, this, [this] {
        Q_EMIT systemModemsRequested();
        focusIfVisible(cmbLineDevices);
    });
    add->addWidget(cmdSysModems);
    auto* addText = label(tr("Add or remove modems, detect them and test them."));
    cmdSysModems->setAccessibleDescription(addText->text());
    add->addWidget(addText, 1);

    auto* fraCallingCard = new QGroupBox(tr("Call logs and calling card:"));
    fraCallingCard->setObjectName(QStringLiteral("fraCallingCard"));
    auto* logs = new QGridLayout(fraCallingCard);
    logs->addWidget(makeCheck(S::chkDelOutgoing, tr("&Keep Outgoing Logged Calls for:")), 0, 0);
    logs->addWidget(makeSpin(S::txtDays), 0, 1);
    spins[S::txtDays]->setAccessibleName(tr("Days to keep outgoing logged calls"));
    logs->addWidget(label(tr("days")), 0, 2);
    logs->addWidget(makeCheck(S::chkDelIncoming, tr("Keep &Incoming Logged Calls for:")), 1, 0);
    logs->addWidget(makeSpin(S::txtInDays), 1, 1);
    spins[S::txtInDays]->setAccessibleName(tr("Days to keep incoming logged calls"));
    logs->addWidget(label(tr("days")), 1, 2);
    logs->addWidget(makeCheck(S::chkCallingCard, tr("Do not &use Calling Card for local calls")), 2,
                    0, 1, 3);
    logs->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(modemBox);
    layout->addWidget(fraAdd);
    layout->addWidget(fraCallingCard);
    layout->addStretch(1);
    return page;
}

QWidget* FrmOptions::buildExpertPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("fra3"));

    auto* fraIgnore = new QGroupBox(tr("Dialing properties:"));
    fraIgnore->setObjectName(QStringLiteral("fraIgnore"));
    auto* ignore = new QVBoxLayout(fraIgnore);
    ignore->addWidget(
        makeCheck(S::chkIgnore, tr("&Ignore Dialing Properties for all SpeedDials ")));

    fraIgnoreInside = new QWidget;
    fraIgnoreInside->setObjectName(QStringLiteral("fraIgnoreInside"));
    auto* inside = new QGridLayout(fraIgnoreInside);
    inside->setContentsMargins(20, 0, 0, 0);
    inside->addWidget(
        makeCheck(S::chkSpecial, tr("Allow &special dialing characters: \"W\", \"@\", \"$\"")), 0,
        0, 1, 4);
    auto* words = new QHBoxLayout;
    words->setSpacing(0);
    //: One sentence in three labels: "Dial characters", " exactly " (bold), " as entered using:".
    words->addWidget(label(tr("Dial characters")));
    auto* exactly = label(tr(" exactly "));
    QFont bold = exactly->font();
    bold.setBold(true);
    exactly->setFont(bold);
    words->addWidget(exactly);
    words->addWidget(label(tr(" as entered using:")));
    words->addStretch(1);
    inside->addLayout(words, 1, 0, 1, 4);
    auto* tones = new QHBoxLayout;
    tones->addSpacing(20);
    tones->addWidget(makeOption(S::optTone, tr("&Tone Dial")));
    tones->addSpacing(16);
    tones->addWidget(makeOption(S::optPulse, tr("&Pulse Dial")));
    tones->addStretch(1);
    inside->addLayout(tones, 2, 0, 1, 4);
    pairGroup(page, opts[S::optTone], opts[S::optPulse]);
    //: How a screen reader describes the two choices below "Dial characters exactly as entered
    //: using:".
    const QString asEntered = tr("Dials the characters exactly as entered");
    opts[S::optTone]->setAccessibleDescription(asEntered);
    opts[S::optPulse]->setAccessibleDescription(asEntered);
    QSizePolicy keep = fraIgnoreInside->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    fraIgnoreInside->setSizePolicy(keep);

    cmdDialingProperties = new QPushButton(tr("Dialing &Properties"));
    cmdDialingProperties->setObjectName(QStringLiteral("cmdDialingProperties"));
    connect(cmdDialingProperties, &QPushButton::clicked, this,
            [this] { Q_EMIT dialingPropertiesRequested(); });
    auto* stack = new QGridLayout;
    stack->addWidget(fraIgnoreInside, 0, 0);
    stack->addWidget(cmdDialingProperties, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    ignore->addLayout(stack);

    auto* frame1 = new QGroupBox(tr("Special options:"));
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* special = new QVBoxLayout(frame1);
    special->addWidget(makeCheck(S::chkBlockID, tr("Co&nceal identity (when calling out)")));
    auto* delay = new QHBoxLayout;
    auto* label7 = label(tr("Connected Call detection delay timer:"));
    delay->addWidget(label7);
    delay->addWidget(makeSpin(S::txtDelayTimer));
    label7->setBuddy(spins[S::txtDelayTimer]);
    delay->addWidget(label(tr("seconds")));
    delay->addStretch(1);
    special->addLayout(delay);
    special->addWidget(
        makeCheck(S::chkCommand, tr("Accept dialing numbers &from other applications")));
    special->addWidget(makeCheck(S::chkCallDisplay, tr("Allow Call I&D (Call Display ) ")));
    auto* modes = new QHBoxLayout;
    modes->addWidget(makeOption(S::optMode1, tr("Mode &1 (most modems)")));
    modes->addSpacing(16);
    modes->addWidget(makeOption(S::optMode2, tr("Mode &2 (some Winmodems)")));
    modes->addStretch(1);
    special->addLayout(modes);
    pairGroup(page, opts[S::optMode1], opts[S::optMode2]);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraIgnore);
    layout->addWidget(frame1);
    layout->addStretch(1);
    return page;
}

void FrmOptions::showOptions()
{
    if (tbsOptions->currentIndex() != 0)
        tbsOptions->setCurrentIndex(0);
    else
        pageSwitch(0);
    m_textAtOpening = m_store.text(S::cmbLineDevices);
    m_cancelDevice = m_store.selectedLineDevice();
    m_cancelText = m_textAtOpening;
    refreshStates();
    show();
    raise();
    activateWindow();
}

void FrmOptions::pageSwitch(int index)
{
    refreshStates();
    if (index == 1 && m_store.isChecked(S::chkModem))
        focusIfVisible(cmbLineDevices);
}

void FrmOptions::focusIfVisible(QWidget* widget)
{
    if (isVisible() && widget->isVisible() && widget->isEnabled())
        widget->setFocus(Qt::OtherFocusReason);
}

void FrmOptions::checkChanged(OptionsStore::Check c)
{
    refreshCheck(c);
    refreshStates();
    if (c == S::chkRedial && m_store.isChecked(S::chkRedial))
        focusIfVisible(spins[S::TxtRedial]);
    else if (c == S::chkDelOutgoing && m_store.isChecked(S::chkDelOutgoing))
        focusIfVisible(spins[S::txtDays]);
}

void FrmOptions::refreshCheck(OptionsStore::Check c)
{
    QCheckBox* box = checks[c];
    const QSignalBlocker block(box);
    const int state = m_store.check(c);
    box->setTristate(state == 2);
    box->setCheckState(state == 1 ? Qt::Checked
                                  : (state == 2 ? Qt::PartiallyChecked : Qt::Unchecked));
}

void FrmOptions::refreshOptions()
{
    for (int o = 0; o < S::OptionCount; ++o) {
        const QSignalBlocker block(opts[o]);
        if (m_store.isSelected(static_cast<S::Option>(o)))
            opts[o]->setChecked(true);
    }
}

void FrmOptions::refreshStates()
{
    const bool modem = m_store.isChecked(S::chkModem);
    fraModem->setEnabled(modem);
    cmbLineDevices->setEnabled(modem);

    const bool redial = m_store.isChecked(S::chkRedial);
    for (S::Text t : {S::TxtRedial, S::txtMinutes, S::txtSeconds})
        spins[t]->setEnabled(redial);
    spins[S::txtDays]->setEnabled(m_store.isChecked(S::chkDelOutgoing));
    spins[S::txtInDays]->setEnabled(m_store.isChecked(S::chkDelIncoming));

    const bool ignore = m_store.isChecked(S::chkIgnore);
    opts[S::optTone]->setEnabled(ignore);
    opts[S::optPulse]->setEnabled(ignore);
    fraIgnoreInside->setVisible(ignore);
    cmdDialingProperties->setVisible(!ignore);
}

void FrmOptions::refreshDevices()
{
    if (m_refreshingDevices)
        return;
    m_refreshingDevices = true;
    const QStringList names = m_store.lineDeviceNames();
    const QSignalBlocker block(cmbLineDevices);
    QStringList shown;
    for (int i = 0; i < cmbLineDevices->count(); ++i)
        shown << cmbLineDevices->itemText(i);
    if (shown != names) {
        cmbLineDevices->clear();
        cmbLineDevices->addItems(names);
    }
    const QString text = m_store.text(S::cmbLineDevices);
    const int at = names.indexOf(text);
    cmbLineDevices->setPlaceholderText(at < 0 ? text : QString());
    cmbLineDevices->setCurrentIndex(at);
    m_refreshingDevices = false;
}

void FrmOptions::deviceDropDown()
{
    m_store.setText(S::cmbLineDevices, m_textAtOpening);
    m_cancelDevice = m_store.selectedLineDevice();
    m_store.refreshLineDevices();
    const QStringList names = m_store.lineDeviceNames();
    const int device = m_store.selectedLineDevice();
    if (device >= 0 && device < names.size())
        m_store.setText(S::cmbLineDevices, names[device]);
    m_cancelText = m_store.text(S::cmbLineDevices);
    refreshDevices();
}

void FrmOptions::deviceChosen(int index)
{
    if (index < 0)
        return;
    m_store.setSelectedLineDevice(index);
    m_store.setText(S::cmbLineDevices, cmbLineDevices->itemText(index));
}

void FrmOptions::cmdOK_Click()
{
    correctForOk(m_store);

    // The start-up entry follows chkLoad on every OK; a failure must not keep
    // the settings from being saved.
    const Result autostartDone = m_store.isChecked(S::chkLoad)
                                     ? autostart::create(paths::programFile())
                                     : autostart::remove();
    if (!autostartDone)
        qWarning("Telvaro: start-up entry not changed: %s", qPrintable(autostartDone.error));

    std::optional<IniFile> own;
    if (!m_settingsFile.isEmpty())
        own.emplace(m_settingsFile);
    IniFile& ini = own ? *own : settings::file();
    if (const Result saved = writePreferences(ini, m_store); !saved) {
        showMessage(m_prompter, this,
                    tr("The options could not be saved in %1:\n%2\n\nThey stay in "
                       "effect until Telvaro ends.")
                        .arg(ini.path(), saved.error),
                    QString(), MsgButtons::Ok, MsgIcon::Warning);
    }
    hide();
}

void FrmOptions::cmdCancel_Click()
{
    m_store.setSelectedLineDevice(m_cancelDevice);
    // The box shows the device that is selected again, so that a later OK
    // stores a matching number and name.
    m_store.setText(S::cmbLineDevices, m_cancelText);
    correctForCancel(m_store);
    hide();
}

void FrmOptions::reject()
{
    cmdCancel_Click();
}

} // namespace telvaro
