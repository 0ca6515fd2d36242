// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/telephony/locations/ModemDialogs.h"

#include "core/common/Prompter.h"
#include "core/telephony/locations/ModemProbe.h"
#include "gui/telephony/sip/SipPhoneDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSerialPortInfo>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace telvaro {

namespace {

class SystemSerialPorts final : public SerialPorts
{
public:
    QStringList list() const override
    {
        QStringList ports;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            ports << info.systemLocation();
        ports.sort();
        return ports;
    }
};

void fillPorts(QComboBox* box, const QString& current, const SerialPorts& available)
{
    box->setEditable(true);
    QStringList ports = available.list();
    if (!current.isEmpty() && !ports.contains(current))
        ports.prepend(current);
    box->addItems(ports);
    box->setCurrentText(current);
    // A device path: no blanks, no line ends.
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\s]{0,200}")), box));
}

void fillSpeeds(QComboBox* box, int current)
{
    for (int speed : modemSpeeds())
        box->addItem(QString::number(speed), speed);
    box->setCurrentIndex(std::max(box->findData(current), 0));
}

// Commands typed for the modem: printable characters only.
QValidator* commandValidator(QObject* parent)
{
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[ -~]{0,200}")),
                                           parent);
}

QString portUser(const std::vector<ModemSettings>& modems, const QString& port, int except = -1)
{
    for (size_t i = 0; i < modems.size(); ++i) {
        if (int(i) != except && modems[i].port == port)
            return modems[i].displayName();
    }
    return {};
}

} // namespace

const SerialPorts& systemSerialPorts()
{
    static const SystemSerialPorts system;
    return system;
}

// ---- Modem Properties ----

ModemPropertiesDialog::ModemPropertiesDialog(const ModemSettings& modem, QWidget* parent,
                                             const SerialPorts& ports, Prompter& prompter)
    : QDialog(parent), m_prompter(prompter), m_modem(modem)
{
    setWindowTitle(tr("%1 Properties").arg(modem.displayName()));
    setObjectName(QStringLiteral("ModemPropertiesDialog"));

    txtName = new QLineEdit(modem.name);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setPlaceholderText(tr("Modem on port"));
    txtName->setMaxLength(80);
    cmbPort = new QComboBox;
    cmbPort->setObjectName(QStringLiteral("cmbPort"));
    fillPorts(cmbPort, modem.port, ports);
    cmbSpeed = new QComboBox;
    cmbSpeed->setObjectName(QStringLiteral("cmbSpeed"));
    fillSpeeds(cmbSpeed, modem.speed);

    auto* general = new QGroupBox(tr("Modem"));
    auto* generalForm = new QFormLayout(general);
    generalForm->addRow(tr("&Name:"), txtName);
    generalForm->addRow(tr("&Port:"), cmbPort);
    generalForm->addRow(tr("Maximum &speed:"), cmbSpeed);

    sldVolume = new QSlider(Qt::Horizontal);
    sldVolume->setObjectName(QStringLiteral("sldVolume"));
    sldVolume->setRange(0, 3);
    sldVolume->setPageStep(1);
    sldVolume->setTickPosition(QSlider::TicksBelow);
    sldVolume->setTickInterval(1);
    sldVolume->setValue(modem.speakerVolume);
    auto* volumeRow = new QHBoxLayout;
    volumeRow->addWidget(new QLabel(tr("Low")));
    volumeRow->addWidget(sldVolume, 1);
    volumeRow->addWidget(new QLabel(tr("High")));
    cmbSpeakerMode = new QComboBox;
    cmbSpeakerMode->setObjectName(QStringLiteral("cmbSpeakerMode"));
    cmbSpeakerMode->addItems(
        {tr("Off"), tr("On until connected"), tr("Always on"), tr("On while answering")});
    cmbSpeakerMode->setCurrentIndex(std::clamp(modem.speakerMode, 0, 3));

    auto* speaker = new QGroupBox(tr("Speaker"));
    auto* speakerForm = new QFormLayout(speaker);
    auto* volumeLabel = new QLabel(tr("&Volume:"));
    volumeLabel->setBuddy(sldVolume);
    speakerForm->addRow(volumeLabel, volumeRow);
    speakerForm->addRow(tr("Spea&ker:"), cmbSpeakerMode);

    chkDialTone = new QCheckBox(tr("&Wait for dial tone before dialing"));
    chkDialTone->setObjectName(QStringLiteral("chkDialTone"));
    chkDialTone->setChecked(modem.waitForDialTone);
    spnDialTimeout = new QSpinBox;
    spnDialTimeout->setObjectName(QStringLiteral("spnDialTimeout"));
    spnDialTimeout->setRange(1, 255);
    spnDialTimeout->setSuffix(tr(" seconds"));
    spnDialTimeout->setValue(std::clamp(modem.dialTimeout, 1, 255));
    auto* dialing = new QGroupBox(tr("Dialing"));
    auto* dialingForm = new QFormLayout(dialing);
    dialingForm->addRow(chkDialTone);
    dialingForm->addRow(tr("&Cancel the call if not connected within:"), spnDialTimeout);

    txtInit = new QLineEdit(modem.initString);
    txtInit->setObjectName(QStringLiteral("txtInit"));
    txtInit->setValidator(commandValidator(this));
    txtInit->setToolTip(tr("Commands sent when the line is opened, separated by |"));
    txtCallerId = new QLineEdit(modem.callerIdCommand);
    txtCallerId->setObjectName(QStringLiteral("txtCallerId"));
    txtCallerId->setValidator(commandValidator(this));
    txtCallerId->setPlaceholderText(tr("Find out (AT+VCID=1, AT#CID=1 ...)"));
    auto* advanced = new QGroupBox(tr("Commands"));
    auto* advancedForm = new QFormLayout(advanced);
    advancedForm->addRow(tr("&Initialization:"), txtInit);
    advancedForm->addRow(tr("Caller &ID on:"), txtCallerId);

    auto* note = new QLabel(tr("Changes take effect the next time the line is opened."));
    note->setEnabled(false);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(speaker);
    layout->addWidget(dialing);
    layout->addWidget(advanced);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);

    connect(buttons, &QDialogButtonBox::accepted, this, &ModemPropertiesDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ModemSettings ModemPropertiesDialog::settings() const
{
    ModemSettings m = m_modem;
    m.name = txtName->text().simplified();
    m.port = cmbPort->currentText().trimmed();
    m.speed = cmbSpeed->currentData().toInt();
    m.speakerVolume = sldVolume->value();
    m.speakerMode = cmbSpeakerMode->currentIndex();
    m.waitForDialTone = chkDialTone->isChecked();
    m.dialTimeout = spnDialTimeout->value();
    m.initString = txtInit->text().trimmed();
    m.callerIdCommand = txtCallerId->text().trimmed();
    m.normalize();
    return m;
}

void ModemPropertiesDialog::tryAccept()
{
    if (cmbPort->currentText().trimmed().isEmpty()) {
        showMessage(m_prompter, this, tr("Please choose the serial port of the modem."),
                    windowTitle(), MsgButtons::Ok, MsgIcon::Information);
        cmbPort->setFocus();
        return;
    }
    accept();
}

// ---- Add Modem ----

AddModemDialog::AddModemDialog(const std::vector<ModemSettings>& existing, QWidget* parent,
                               const SerialPorts& ports, Prompter& prompter)
    : QDialog(parent), m_prompter(prompter), m_existing(existing)
{
    setWindowTitle(tr("Add Modem"));
    setObjectName(QStringLiteral("AddModemDialog"));
    cmbPort = new QComboBox;
    cmbPort->setObjectName(QStringLiteral("cmbPort"));
    QString first;
    for (const QString& p : ports.list()) {
        if (portUser(existing, p).isEmpty()) {
            first = p;
            break;
        }
    }
    fillPorts(cmbPort, first, ports);
    txtName = new QLineEdit;
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setPlaceholderText(tr("Modem on port"));
    txtName->setMaxLength(80);
    cmbSpeed = new QComboBox;
    cmbSpeed->setObjectName(QStringLiteral("cmbSpeed"));
    fillSpeeds(cmbSpeed, 115200);

    auto* intro = new QLabel(
        tr("Choose the serial port the modem is connected to. USB modems are usually\n"
           "/dev/ttyACM0 or /dev/ttyUSB0. \"Detect\" in System Modems finds them for you."));
    auto* form = new QFormLayout;
    form->addRow(tr("&Port:"), cmbPort);
    form->addRow(tr("&Name:"), txtName);
    form->addRow(tr("Maximum &speed:"), cmbSpeed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons, &QDialogButtonBox::accepted, this, &AddModemDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ModemSettings AddModemDialog::settings() const
{
    ModemSettings m;
    m.port = cmbPort->currentText().trimmed();
    m.name = txtName->text().simplified();
    m.speed = cmbSpeed->currentData().toInt();
    m.normalize();
    return m;
}

void AddModemDialog::tryAccept()
{
    const QString port = cmbPort->currentText().trimmed();
    if (port.isEmpty()) {
        showMessage(m_prompter, this, tr("Please choose the serial port of the modem."),
                    windowTitle(), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    if (const QString user = portUser(m_existing, port); !user.isEmpty()) {
        showMessage(m_prompter, this, tr("%1 is already set up on %2.").arg(user, port),
                    windowTitle(), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    accept();
}

// ---- Query Modem ----

QueryModemDialog::QueryModemDialog(const ModemSettings& modem, QWidget* parent)
    : QDialog(parent), m_modem(modem)
{
    setWindowTitle(tr("Query Modem - %1").arg(modem.displayName()));
    setObjectName(QStringLiteral("QueryModemDialog"));
    twAnswers = new QTreeWidget;
    twAnswers->setObjectName(QStringLiteral("twAnswers"));
    twAnswers->setAccessibleName(tr("The modem's answers"));
    twAnswers->setColumnCount(2);
    twAnswers->setHeaderLabels({tr("Command"), tr("Response")});
    twAnswers->setRootIsDecorated(false);
    twAnswers->setAlternatingRowColors(true);
    twAnswers->setUniformRowHeights(false);
    twAnswers->setWordWrap(true);
    twAnswers->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    twAnswers->header()->setStretchLastSection(true);
    twAnswers->setMinimumSize(fontMetrics().averageCharWidth() * 70, fontMetrics().height() * 16);
    lblStatus = new QLabel;
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 on %2").arg(modem.displayName(), modem.port)));
    layout->addWidget(twAnswers, 1);
    layout->addWidget(lblStatus);
    layout->addWidget(buttons);

    probe = new ModemProbe(this);
    probe->setTimeout(std::clamp(modem.commandTimeout, 500, 5000));
    connect(probe, &ModemProbe::answered, this,
            [this](const QString& command, const QString& answer) {
                auto* item = new QTreeWidgetItem(twAnswers, {command, answer});
                item->setTextAlignment(0, Qt::AlignLeft | Qt::AlignTop);
                item->setTextAlignment(1, Qt::AlignLeft | Qt::AlignTop);
                twAnswers->scrollToItem(item);
            });
    connect(probe, &ModemProbe::queryFinished, this, [this] {
        m_finished = true;
        lblStatus->setText(tr("Done."));
    });
    connect(probe, &ModemProbe::queryFailed, this, [this](const QString& reason) {
        m_finished = true;
        lblStatus->setText(reason);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QueryModemDialog::setAnswerTimeout(int ms)
{
    probe->setTimeout(ms);
}

QueryModemDialog::~QueryModemDialog()
{
    probe->cancel();
}

void QueryModemDialog::start()
{
    if (m_started)
        return;
    m_started = true;
    lblStatus->setText(tr("Asking the modem..."));
    probe->query(m_modem.port, m_modem.speed);
}

void QueryModemDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    start();
}

// ---- System Modems ----

SystemModemsDialog::SystemModemsDialog(SipPasswords& passwords, Prompter& prompter, QWidget* parent,
                                       const SerialPorts& ports)
    : QDialog(parent), m_ports(ports), m_passwords(passwords), m_prompter(prompter),
      m_modems(loadModems())
{
    setWindowTitle(tr("System Modems"));
    setObjectName(QStringLiteral("SystemModemsDialog"));

    twModems = new QTreeWidget;
    twModems->setObjectName(QStringLiteral("twModems"));
    twModems->setAccessibleName(tr("Modems set up"));
    twModems->setColumnCount(3);
    twModems->setHeaderLabels({tr("Modem"), tr("Port"), tr("Speed")});
    twModems->setRootIsDecorated(false);
    twModems->setAlternatingRowColors(true);
    twModems->setAllColumnsShowFocus(true);
    twModems->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    twModems->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    twModems->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    twModems->setMinimumSize(fontMetrics().averageCharWidth() * 56, fontMetrics().height() * 10);

    cmdAdd = new QPushButton(tr("&Add..."));
    cmdRemove = new QPushButton(tr("&Remove"));
    cmdProperties = new QPushButton(tr("&Properties..."));
    cmdDetect = new QPushButton(tr("&Detect"));
    cmdQuery = new QPushButton(tr("&Query Modem..."));
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdProperties->setObjectName(QStringLiteral("cmdProperties"));
    cmdDetect->setObjectName(QStringLiteral("cmdDetect"));
    cmdQuery->setObjectName(QStringLiteral("cmdQuery"));
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdRemove, cmdProperties})
        side->addWidget(b);
    side->addSpacing(12);
    side->addWidget(cmdDetect);
    side->addWidget(cmdQuery);
    side->addSpacing(12);
    cmdSipPhones = new QPushButton(tr("&SIP Phones..."));
    cmdSipPhones->setObjectName(QStringLiteral("cmdSipPhones"));
    connect(cmdSipPhones, &QPushButton::clicked, this,
            [this] { SipPhonesDialog(m_passwords, this, m_prompter).exec(); });
    side->addWidget(cmdSipPhones);
    side->addStretch(1);

    auto* intro = new QLabel(tr("The following modems are set up for Telvaro. The "
                                "first is line device 0, the next 1, and so on."));
    intro->setWordWrap(true);

    prgDetect = new QProgressBar;
    prgDetect->setObjectName(QStringLiteral("prgDetect"));
    prgDetect->setAccessibleName(tr("Detection progress"));
    prgDetect->setVisible(false);
    lblStatus = new QLabel;
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* grid = new QGridLayout(this);
    grid->addWidget(intro, 0, 0, 1, 2);
    grid->addWidget(twModems, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addWidget(prgDetect, 2, 0, 1, 2);
    grid->addWidget(lblStatus, 3, 0, 1, 2);
    grid->addWidget(buttons, 4, 0, 1, 2);
    grid->setRowStretch(1, 1);

    probe = new ModemProbe(this);
    probe->setTimeout(1500);
    connect(probe, &ModemProbe::portStarted, this,
            [this](int index, int count, const QString& port) {
                prgDetect->setRange(0, count);
                prgDetect->setValue(index);
                lblStatus->setText(tr("Looking for a modem on %1...").arg(port));
            });
    connect(probe, &ModemProbe::modemFound, this, [this](const QString& port, const QString& name) {
        ModemSettings m;
        m.port = port;
        m.name = name;
        m.normalize();
        m_modems.push_back(m);
        save();
        fill(int(m_modems.size()) - 1);
    });
    connect(probe, &ModemProbe::detectFinished, this, [this](int found) {
        endDetect(found == 0   ? tr("No new modem answered.")
                  : found == 1 ? tr("Found 1 new modem.")
                               : tr("Found %1 new modems.").arg(found));
    });

    connect(twModems, &QTreeWidget::currentItemChanged, this, &SystemModemsDialog::updateButtons);
    connect(twModems, &QTreeWidget::itemDoubleClicked, this, &SystemModemsDialog::editModem);
    connect(cmdAdd, &QPushButton::clicked, this, &SystemModemsDialog::addModem);
    connect(cmdRemove, &QPushButton::clicked, this, &SystemModemsDialog::removeModem);
    connect(cmdProperties, &QPushButton::clicked, this, &SystemModemsDialog::editModem);
    connect(cmdDetect, &QPushButton::clicked, this, &SystemModemsDialog::detectModems);
    connect(cmdQuery, &QPushButton::clicked, this, &SystemModemsDialog::queryModem);
    connect(buttons, &QDialogButtonBox::rejected, this, &SystemModemsDialog::reject);

    fill(0);
}

void SystemModemsDialog::setAnswerTimeout(int ms)
{
    probe->setTimeout(ms);
}

SystemModemsDialog::~SystemModemsDialog()
{
    probe->cancel();
}

void SystemModemsDialog::fill(int select)
{
    twModems->clear();
    for (const ModemSettings& m : m_modems) {
        new QTreeWidgetItem(twModems, {m.displayName(), m.port, QString::number(m.speed)});
    }
    if (twModems->topLevelItemCount() > 0) {
        select = std::clamp(select, 0, twModems->topLevelItemCount() - 1);
        twModems->setCurrentItem(twModems->topLevelItem(select));
    }
    if (m_modems.empty() && !detecting())
        lblStatus->setText(tr("No modem is set up. Add one by its port, or let Detect find it."));
    updateButtons();
}

bool SystemModemsDialog::detecting() const
{
    return probe->running();
}

void SystemModemsDialog::updateButtons()
{
    const bool busy = detecting();
    const bool chosen = twModems->currentItem() != nullptr;
    cmdAdd->setEnabled(!busy);
    cmdRemove->setEnabled(!busy && chosen);
    cmdProperties->setEnabled(!busy && chosen);
    cmdQuery->setEnabled(!busy && chosen);
    cmdDetect->setText(busy ? tr("&Stop") : tr("&Detect"));
}

bool SystemModemsDialog::save()
{
    const Result saved = saveModems(m_modems);
    if (saved)
        return true;
    showMessage(m_prompter, this, tr("The modems could not be saved.\n\n%1").arg(saved.error),
                windowTitle(), MsgButtons::Ok, MsgIcon::Critical);
    m_modems = loadModems(); // show what is really set up
    fill(0);
    return false;
}

void SystemModemsDialog::addModem()
{
    AddModemDialog dialog(m_modems, this, m_ports, m_prompter);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_modems.push_back(dialog.settings());
    if (save())
        fill(int(m_modems.size()) - 1);
}

void SystemModemsDialog::removeModem()
{
    const int row = twModems->indexOfTopLevelItem(twModems->currentItem());
    if (row < 0 || row >= int(m_modems.size()))
        return;
    if (showMessage(m_prompter, this,
                    tr("Remove %1 (%2)?\n\nThe modems after it move up one place in "
                       "the list of line devices.")
                        .arg(m_modems[size_t(row)].displayName(), m_modems[size_t(row)].port),
                    windowTitle(), MsgButtons::YesNo, MsgIcon::Question, 2) != MsgResult::Yes)
        return;
    m_modems.erase(m_modems.begin() + row);
    if (save())
        fill(row);
}

void SystemModemsDialog::editModem()
{
    const int row = twModems->indexOfTopLevelItem(twModems->currentItem());
    if (row < 0 || row >= int(m_modems.size()) || detecting())
        return;
    ModemPropertiesDialog dialog(m_modems[size_t(row)], this, m_ports, m_prompter);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ModemSettings edited = dialog.settings();
    if (const QString user = portUser(m_modems, edited.port, row); !user.isEmpty()) {
        showMessage(m_prompter, this, tr("%1 is already set up on %2.").arg(user, edited.port),
                    windowTitle(), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    m_modems[size_t(row)] = edited;
    if (save())
        fill(row);
}

void SystemModemsDialog::detectModems()
{
    if (detecting()) {
        probe->cancel();
        endDetect(tr("Detection stopped."));
        return;
    }
    QStringList ports;
    for (const QString& p : m_ports.list()) {
        if (portUser(m_modems, p).isEmpty())
            ports << p;
    }
    if (ports.isEmpty()) {
        lblStatus->setText(m_modems.empty() ? tr("There is no serial port on this computer. Is "
                                                 "the modem plugged in?")
                                            : tr("Every serial port already has its modem."));
        return;
    }
    prgDetect->setRange(0, int(ports.size()));
    prgDetect->setValue(0);
    prgDetect->setVisible(true);
    probe->detect(ports);
    updateButtons();
}

void SystemModemsDialog::endDetect(const QString& status)
{
    prgDetect->setValue(prgDetect->maximum());
    prgDetect->setVisible(false);
    lblStatus->setText(status);
    updateButtons();
}

void SystemModemsDialog::queryModem()
{
    const int row = twModems->indexOfTopLevelItem(twModems->currentItem());
    if (row < 0 || row >= int(m_modems.size()))
        return;
    QueryModemDialog dialog(m_modems[size_t(row)], this);
    dialog.exec();
}

void SystemModemsDialog::reject()
{
    probe->cancel();
    QDialog::reject();
}

} // namespace telvaro
