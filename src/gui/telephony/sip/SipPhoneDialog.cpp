// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/telephony/sip/SipPhoneDialog.h"

#include "core/common/Prompter.h"
#include "core/telephony/sip/SipPasswords.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace telvaro {

namespace {

const char* const kPropertiesTitle =
    QT_TRANSLATE_NOOP("telvaro::SipPhoneDialog", "SIP Phone Properties");

QLineEdit* field(const QString& name, const QString& text, const QString& placeholder = {})
{
    auto* e = new QLineEdit(text);
    e->setObjectName(name);
    e->setPlaceholderText(placeholder);
    return e;
}

} // namespace

SipPhoneDialog::SipPhoneDialog(const SipAccount& account, bool isNew, QWidget* parent,
                               Prompter& prompter)
    : QDialog(parent), m_prompter(prompter), m_account(account), m_new(isNew)
{
    setWindowTitle(isNew ? tr("Add SIP Phone") : SipPhoneDialog::tr(kPropertiesTitle));
    setObjectName(QStringLiteral("SipPhoneDialog"));

    txtName = field(QStringLiteral("txtName"), account.name, tr("SIP phone"));
    txtRegistrar = field(QStringLiteral("txtRegistrar"), account.registrar,
                         tr("pbx.example.com (empty: none)"));
    txtDomain = field(QStringLiteral("txtDomain"), account.domain, QStringLiteral("example.com"));
    txtUser = field(QStringLiteral("txtUser"), account.user, QStringLiteral("201"));
    txtAuthUser = field(QStringLiteral("txtAuthUser"), account.authUser, tr("(the user name)"));
    txtPassword = field(QStringLiteral("txtPassword"), QString(),
                        isNew ? QString() : tr("(kept in the keyring)"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPhone =
        field(QStringLiteral("txtPhone"), account.phoneAddress, tr("sip:201@10.0.0.7 or 201"));
    cmbTransport = new QComboBox;
    cmbTransport->setObjectName(QStringLiteral("cmbTransport"));
    for (auto t :
         {SipAccount::Transport::Udp, SipAccount::Transport::Tcp, SipAccount::Transport::Tls})
        cmbTransport->addItem(transportName(t), int(t));
    cmbTransport->setCurrentIndex(int(account.transport));
    chkRegister = new QCheckBox(tr("&Register to show the callers of incoming calls"));
    chkRegister->setObjectName(QStringLiteral("chkRegister"));
    chkRegister->setChecked(account.registerForCallerId);
    spnDialTimeout = new QSpinBox;
    spnDialTimeout->setObjectName(QStringLiteral("spnDialTimeout"));
    spnDialTimeout->setRange(5, 300);
    spnDialTimeout->setSuffix(tr(" seconds"));
    spnDialTimeout->setValue(account.dialTimeout);

    auto* intro =
        new QLabel(tr("Telvaro calls your phone, which answers by itself or rings for you to "
                      "pick up, and asks it to call the number. The password is kept in the "
                      "desktop's keyring, never in a file."));
    intro->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("&Name:"), txtName);
    form->addRow(tr("Registrar / &proxy:"), txtRegistrar);
    form->addRow(tr("&Domain:"), txtDomain);
    form->addRow(tr("&User:"), txtUser);
    form->addRow(tr("&Authentication user:"), txtAuthUser);
    form->addRow(tr("Pass&word:"), txtPassword);
    form->addRow(tr("Your p&hone's address:"), txtPhone);
    form->addRow(tr("&Transport:"), cmbTransport);
    form->addRow(tr("Wait for an &answer:"), spnDialTimeout);
    form->addRow(QString(), chkRegister);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SipPhoneDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

SipAccount SipPhoneDialog::settings() const
{
    SipAccount a = m_account;
    a.name = txtName->text();
    a.registrar = txtRegistrar->text();
    a.domain = txtDomain->text();
    a.user = txtUser->text();
    a.authUser = txtAuthUser->text();
    a.phoneAddress = txtPhone->text();
    a.transport = SipAccount::Transport(cmbTransport->currentData().toInt());
    a.registerForCallerId = chkRegister->isChecked();
    a.dialTimeout = spnDialTimeout->value();
    a.normalize();
    return a;
}

QString SipPhoneDialog::password() const
{
    return txtPassword->text();
}

void SipPhoneDialog::tryAccept()
{
    const SipAccount a = settings();
    QString problem;
    if (a.phoneUri().isEmpty())
        problem = tr("Please give your phone's address, so that Telvaro can call it.");
    else if (a.user.isEmpty())
        problem = tr("Please give the account's user name.");
    else if (a.domain.isEmpty() && a.registrar.isEmpty())
        problem = tr("Please give the account's domain or its registrar.");
    else if (a.registerForCallerId && a.registrar.isEmpty())
        problem = tr("To show the callers of incoming calls Telvaro registers with the "
                     "registrar: please give it.");
    if (!problem.isEmpty()) {
        showMessage(m_prompter, this, problem, windowTitle(), MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    accept();
}

// ------------------------------------------------------------ list

SipPhonesDialog::SipPhonesDialog(SipPasswords& passwords, QWidget* parent, Prompter& prompter)
    : QDialog(parent), m_passwords(passwords), m_prompter(prompter), m_phones(loadSipAccounts())
{
    setWindowTitle(tr("SIP Phones"));
    setObjectName(QStringLiteral("SipPhonesDialog"));
    twPhones = new QTreeWidget;
    twPhones->setObjectName(QStringLiteral("twPhones"));
    twPhones->setAccessibleName(tr("SIP phones set up"));
    twPhones->setColumnCount(3);
    twPhones->setHeaderLabels({tr("SIP phone"), tr("Account"), tr("Phone")});
    twPhones->setRootIsDecorated(false);
    twPhones->setAllColumnsShowFocus(true);
    twPhones->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    twPhones->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    twPhones->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    twPhones->setMinimumSize(fontMetrics().averageCharWidth() * 80, fontMetrics().height() * 8);

    cmdAdd = new QPushButton(tr("&Add..."));
    cmdRemove = new QPushButton(tr("&Remove"));
    cmdProperties = new QPushButton(tr("&Properties..."));
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdProperties->setObjectName(QStringLiteral("cmdProperties"));
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdRemove, cmdProperties})
        side->addWidget(b);
    side->addStretch(1);
    connect(cmdAdd, &QPushButton::clicked, this, &SipPhonesDialog::addPhone);
    connect(cmdRemove, &QPushButton::clicked, this, &SipPhonesDialog::removePhone);
    connect(cmdProperties, &QPushButton::clicked, this, &SipPhonesDialog::editPhone);
    connect(twPhones, &QTreeWidget::itemDoubleClicked, this, &SipPhonesDialog::editPhone);
    connect(twPhones, &QTreeWidget::currentItemChanged, this, [this] {
        const int row = twPhones->indexOfTopLevelItem(twPhones->currentItem());
        lblStatus->setText(
            row >= 0 && row < int(m_phones.size()) ? sipProblem(m_phones[size_t(row)]) : QString());
    });

    auto* intro = new QLabel(
        tr("Telvaro can dial through your own SIP phone (a desk phone or a softphone). The phones "
           "follow the modems in the list of line devices."));
    intro->setWordWrap(true);
    lblStatus = new QLabel;
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(intro, 0, 0, 1, 2);
    grid->addWidget(twPhones, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addWidget(lblStatus, 2, 0, 1, 2);
    grid->addWidget(close, 3, 0, 1, 2);
    fill(0);
}

void SipPhonesDialog::fill(int select)
{
    twPhones->clear();
    for (const SipAccount& a : m_phones) {
        auto* item = new QTreeWidgetItem(twPhones);
        item->setText(0, a.displayName());
        item->setText(1, a.accountUri().mid(4));
        item->setText(2, a.phoneUri());
    }
    if (!m_phones.empty())
        twPhones->setCurrentItem(
            twPhones->topLevelItem(std::clamp(select, 0, int(m_phones.size()) - 1)));
    cmdRemove->setEnabled(!m_phones.empty());
    cmdProperties->setEnabled(!m_phones.empty());
}

bool SipPhonesDialog::save()
{
    const Result saved = saveSipAccounts(m_phones);
    if (saved)
        return true;
    showMessage(m_prompter, this, tr("The SIP phones could not be saved.\n\n%1").arg(saved.error),
                windowTitle(), MsgButtons::Ok, MsgIcon::Critical);
    m_phones = loadSipAccounts();
    fill(0);
    return false;
}

void SipPhonesDialog::addPhone()
{
    SipPhoneDialog dialog(SipAccount{}, true, this, m_prompter);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_phones.push_back(dialog.settings());
    if (!save())
        return;
    fill(int(m_phones.size()) - 1);
    if (!dialog.password().isEmpty())
        storeSipPassword(m_phones.back(), dialog.password(), this, m_passwords, m_prompter);
}

void SipPhonesDialog::removePhone()
{
    const int row = twPhones->indexOfTopLevelItem(twPhones->currentItem());
    if (row < 0 || row >= int(m_phones.size()))
        return;
    m_phones.erase(m_phones.begin() + row);
    if (save())
        fill(row);
}

void SipPhonesDialog::editPhone()
{
    const int row = twPhones->indexOfTopLevelItem(twPhones->currentItem());
    if (row < 0 || row >= int(m_phones.size()))
        return;
    if (editSipPhone(row, this, m_passwords, m_prompter)) {
        m_phones = loadSipAccounts();
        fill(row);
    }
}

bool editSipPhone(int index, QWidget* owner, SipPasswords& passwords, Prompter& prompter)
{
    std::vector<SipAccount> phones = loadSipAccounts();
    if (index < 0 || index >= int(phones.size()))
        return false;
    SipPhoneDialog dialog(phones[size_t(index)], false, owner, prompter);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // Another window may have changed the list meanwhile: change only this
    // phone, as it is now.
    phones = loadSipAccounts();
    if (index >= int(phones.size()))
        phones.resize(size_t(index) + 1);
    phones[size_t(index)] = dialog.settings();
    if (const Result saved = saveSipAccounts(phones); !saved) {
        showMessage(prompter, owner,
                    SipPhoneDialog::tr("The SIP phone could not be saved.\n\n%1").arg(saved.error),
                    SipPhoneDialog::tr(kPropertiesTitle), MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    if (!dialog.password().isEmpty())
        storeSipPassword(phones[size_t(index)], dialog.password(), owner, passwords, prompter);
    return true;
}

void storeSipPassword(const SipAccount& account, const QString& password, QWidget* owner,
                      SipPasswords& passwords, Prompter& prompter)
{
    QPointer<QWidget> guard(owner);
    QObject* context = owner ? static_cast<QObject*>(owner) : QCoreApplication::instance();
    passwords.store(account, password, context, [guard, account, &prompter](QString error) {
        if (error.isEmpty())
            return;
        showMessage(
            prompter, guard,
            SipPhoneDialog::tr("The password of %1 could not be kept in the keyring (%2).\n\n"
                               "Telvaro uses it until it ends and asks for it once the next "
                               "time it runs.")
                .arg(account.displayName(), error),
            SipPhoneDialog::tr(kPropertiesTitle), MsgButtons::Ok, MsgIcon::Warning);
    });
}

void SipPasswordPrompt::askPassword(SipPasswords& passwords, const SipAccount& account,
                                    const QString& why)
{
    InputRequest r;
    r.title = SipPhoneDialog::tr("SIP Phone Password");
    r.secret = true;
    r.prompt = SipPhoneDialog::tr("%1\n\nPassword of %2 (user %3):")
                   .arg(why, account.displayName(), account.authName());
    passwords.answerAsked(account, m_prompter.input(nullptr, r));
}

} // namespace telvaro
