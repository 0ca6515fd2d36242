// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/FrmAbout.h"

#include "gui/shell/HelpWindow.h"
#include "platform/ShellServices.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace telvaro {

const QString FrmAbout::kCommentsAddress = QStringLiteral("comments@telvaro.example");
const QString FrmAbout::kPrimarySite = QStringLiteral("https://telvaro.example/");
const QString FrmAbout::kSecondarySite = QStringLiteral("https://www.telvaro.example/support/");

namespace {

// A field showing an address that opens when clicked.
QLabel* linkField(const QString& objectName, const QString& shown, const QString& toolTip)
{
    auto* field = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(shown.toHtmlEscaped()));
    field->setObjectName(objectName);
    field->setTextFormat(Qt::RichText);
    field->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    field->setOpenExternalLinks(false);
    field->setToolTip(toolTip);
    // A screen reader reads the address, not the markup around it.
    field->setAccessibleName(shown);
    field->setAccessibleDescription(toolTip);
    field->setCursor(Qt::PointingHandCursor);
    return field;
}

} // namespace

FrmAbout::FrmAbout(Prompter& prompter, QWidget* parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(tr("About Telvaro"));
    setModal(true);

    imgPicture = new QLabel;
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setPixmap(QIcon(QStringLiteral(":/icons/telvaro.svg")).pixmap(72, 72));
    imgPicture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    imgPicture->setAccessibleName(tr("Telvaro's icon"));

    auto* title = new QLabel(QStringLiteral("Telvaro"));
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);

    LblVer = new QLabel(tr("Version 3.7 (Telvaro %1 for Linux, built with Qt %2)")
                            .arg(QStringLiteral(TELVARO_VERSION), QStringLiteral(QT_VERSION_STR)));
    LblVer->setObjectName(QStringLiteral("LblVer"));
    LblAbout = new QLabel(tr("OS:   Linux desktops (X11 and Wayland)"));
    LblAbout->setObjectName(QStringLiteral("LblAbout"));

    Label1 = new QLabel(tr("Please send comments to:"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = linkField(QStringLiteral("Text1"), kCommentsAddress, tr("Click to start message"));
    connect(Text1, &QLabel::linkActivated, this, [this] {
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + kCommentsAddress));
        cmdOK->setFocus(Qt::OtherFocusReason);
    });

    auto* sites = new QLabel(tr("On the web:"));
    sites->setObjectName(QStringLiteral("lblWeb"));
    txtPrimary =
        linkField(QStringLiteral("txtPrimary"), kPrimarySite, tr("Click to go to web site"));
    txtSecondary =
        linkField(QStringLiteral("txtSecondary"), kSecondarySite, tr("Click to go to web site"));
    for (QLabel* link : {txtPrimary, txtSecondary}) {
        connect(link, &QLabel::linkActivated, this,
                [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    }

    Frame1 = new QGroupBox(tr("WARNING:"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* notice = new QLabel(
        tr("Telvaro places real telephone calls. Your telephone company charges every call it "
           "dials, and every automatic redial, like a call dialed by hand. Check your dialing "
           "location and the numbers in your directory before you dial long-distance or "
           "international numbers, and always dial emergency numbers yourself."));
    notice->setObjectName(QStringLiteral("lblWarning"));
    notice->setWordWrap(true);
    auto* noticeLayout = new QVBoxLayout(Frame1);
    noticeLayout->addWidget(notice);

    cmdOK = new QPushButton(tr("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    cmdSysInfo = new QPushButton(tr("&System Info..."));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdSysInfo, &QPushButton::clicked, this,
            [this] { showSystemInformation(m_prompter, this); });

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(LblVer);
    text->addWidget(LblAbout);
    text->addSpacing(10);
    auto* contact = new QGridLayout;
    contact->addWidget(Label1, 0, 0);
    contact->addWidget(Text1, 0, 1);
    contact->addWidget(sites, 1, 0, Qt::AlignTop);
    contact->addWidget(txtPrimary, 1, 1);
    contact->addWidget(txtSecondary, 2, 1);
    contact->setColumnStretch(1, 1);
    text->addLayout(contact);

    auto* top = new QHBoxLayout;
    top->addWidget(imgPicture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QVBoxLayout;
    cmdOK->setMinimumWidth(110);
    cmdSysInfo->setMinimumWidth(110);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Frame1, 1);
    bottom->addSpacing(8);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    notice->setMinimumWidth(300);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

FrmAbout* showAbout(Prompter& prompter, QWidget* parent)
{
    // Modal without a nested event loop: the box ends itself on OK.
    auto* about = new FrmAbout(prompter, parent);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
    return about;
}

} // namespace telvaro
