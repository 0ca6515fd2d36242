// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialing/DialPad.h"

#include "core/dialing/DialString.h"
#include "core/dialing/Dialer.h"
#include "core/telephony/SoundPlayer.h"
#include "settings/OptionsStore.h"

#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvaro {
namespace {

constexpr int kTooltipLength = 15;

QString tooltipFor(const QString& number)
{
    return number.size() >= kTooltipLength ? number : QString();
}

} // namespace

QString DialPad::recentTip()
{
    return tr("Scroll recent called numbers");
}

QString DialPad::keyName(QChar key)
{
    if (key == u'*')
        return tr("Dial star");
    if (key == u'#')
        return tr("Dial pound");
    //: A key of the dialing pad; %1 is its digit
    return tr("Dial %1").arg(key);
}

void PadNumberBox::keyPressEvent(QKeyEvent* event)
{
    // Pasting replaces the whole number, as the Edit menu's Paste does.
    if (event->matches(QKeySequence::Paste)) {
        setText(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    const QString text = event->text();
    if (text.size() != 1 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar typed = text.front();
    // Other control keys (Enter, Tab, Escape, Delete) keep their usual meaning.
    if ((typed.unicode() < 0x20 && typed != u'\b') || typed.unicode() == 0x7f) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar key = dialstr::padKey(typed, options().isChecked(OptionsStore::chkIgnore));
    if (key.isNull()) {
        event->accept();
        return;
    }
    if (key == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    insert(QString(key));
    event->accept();
}

void PadNumberBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    Q_EMIT clicked();
}

DialPad::DialPad(Dialer& dialer, SoundPlayer& sound, QWidget* parent)
    : QWidget(parent), m_dialer(dialer), m_sound(sound)
{
    setObjectName(QStringLiteral("DialPad"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(5);

    txtDial = new PadNumberBox(this);
    txtDial->setObjectName(QStringLiteral("txtDial"));
    txtDial->setAlignment(Qt::AlignRight);
    txtDial->setPlaceholderText(tr("Number"));
    txtDial->setAccessibleName(tr("Number to dial"));
    txtDial->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(txtDial);

    CmbDial = new QComboBox(this);
    CmbDial->setObjectName(QStringLiteral("CmbDial"));
    CmbDial->setToolTip(recentTip());
    CmbDial->setAccessibleName(tr("Recent numbers"));
    // Reached by Tab; a click leaves the focus in the number box.
    CmbDial->setFocusPolicy(Qt::TabFocus);
    CmbDial->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CmbDial->setMinimumContentsLength(4);
    CmbDial->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(CmbDial);

    auto* keys = new QGridLayout;
    keys->setSpacing(3);
    const QString order = QStringLiteral("123456789*0#");
    for (int i = 0; i < order.size(); ++i) {
        const QChar c = order[i];
        auto* b = new QPushButton(QString(c), this);
        b->setFocusPolicy(Qt::TabFocus);
        b->setAccessibleName(keyName(c));
        b->setMinimumSize(20, 28);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        keys->addWidget(b, i / 3, i % 3);
        if (c.isDigit()) {
            cmdNumber[size_t(c.unicode() - u'0')] = b;
            b->setObjectName(QStringLiteral("cmdNumber%1").arg(c));
        }
        const QString tone = toneResourceName(c);
        if (c == u'*') {
            CmdStar = b;
            b->setObjectName(QStringLiteral("CmdStar"));
            // The star sounds on the click, the others as the key goes down.
            connect(b, &QPushButton::clicked, this,
                    [this, tone] { m_sound.playNamed(tone, PlayMode::Async); });
        } else {
            if (c == u'#') {
                CmdNo = b;
                b->setObjectName(QStringLiteral("CmdNo"));
            }
            connect(b, &QPushButton::pressed, this,
                    [this, tone] { m_sound.playNamed(tone, PlayMode::Async); });
        }
        connect(b, &QPushButton::clicked, this, [this, c] { insertKey(c); });
    }
    layout->addLayout(keys);
    layout->addSpacing(4);

    CmdDial = new QPushButton(tr("&DIAL"), this);
    CmdDial->setObjectName(QStringLiteral("CmdDial"));
    cmdCancel = new QPushButton(tr("&HANG UP"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    //: Takes the connected call (the dialing pad's button)
    cmdOK = new QPushButton(tr("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    for (QPushButton* b : {CmdDial, cmdCancel, cmdOK}) {
        b->setMinimumSize(40, 30);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        layout->addWidget(b);
    }
    layout->addStretch(1);
    CmdDial->setEnabled(false);

    connect(txtDial, &QLineEdit::textChanged, this, [this] {
        numberChanged();
        Q_EMIT numberEdited();
    });
    connect(txtDial, &PadNumberBox::clicked, this, [this] { numberChanged(); });
    connect(txtDial, &QLineEdit::returnPressed, this, [this] {
        if (CmdDial->isVisible() && CmdDial->isEnabled())
            dial();
    });
    connect(CmbDial, &QComboBox::activated, this, [this](int index) {
        txtDial->setText(CmbDial->itemText(index));
        numberChanged();
    });
    connect(CmbDial, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!txtDial->text().isEmpty()) {
            CmdDial->setEnabled(true);
            Q_EMIT numberEdited();
        } else {
            CmdDial->setEnabled(false);
        }
        CmbDial->setToolTip(text.size() >= kTooltipLength ? text : recentTip());
    });
    connect(CmdDial, &QPushButton::clicked, this, [this] { dial(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { m_dialer.hangUp(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { m_dialer.confirmCall(); });

    Dialer& d = m_dialer;
    connect(&d, &Dialer::padButtonsChanged, this, [this] { showButtons(); });
    connect(&d, &Dialer::recentNumbersChanged, this, [this] { showRecentNumbers(); });
    connect(&d, &Dialer::padTextRequested, this, &DialPad::showNumber);
    showRecentNumbers();
    showButtons();
}

void DialPad::insertKey(QChar key)
{
    QString text = txtDial->text();
    if (txtDial->hasSelectedText())
        text.replace(txtDial->selectionStart(), txtDial->selectedText().size(), key);
    else
        text.append(key);
    txtDial->setText(text);
    txtDial->setCursorPosition(int(text.size()));
}

QString DialPad::selectedNumber() const
{
    return txtDial->selectedText();
}

void DialPad::deleteSelectedNumber()
{
    if (txtDial->hasSelectedText())
        txtDial->del();
}

void DialPad::showNumber(const QString& number)
{
    txtDial->setText(number);
}

void DialPad::numberChanged()
{
    const QString text = txtDial->text();
    CmdDial->setEnabled(!text.isEmpty());
    txtDial->setToolTip(tooltipFor(text));
}

void DialPad::showRecentNumbers()
{
    const QSignalBlocker block(CmbDial);
    CmbDial->clear();
    CmbDial->addItems(m_dialer.recentNumbers());
    CmbDial->setCurrentIndex(-1);
}

void DialPad::showButtons()
{
    const PadButtonState& s = m_dialer.padButtons();
    CmdDial->setVisible(s.dialVisible);
    cmdCancel->setVisible(s.hangUpVisible);
    cmdOK->setVisible(s.okVisible);
}

void DialPad::dial()
{
    // A number typed or chosen in the pad belongs to no directory entry.
    m_dialer.dial(DialRequest{txtDial->text(), QString(), QStringLiteral("0"), DialOrigin::Pad});
}

} // namespace telvaro
