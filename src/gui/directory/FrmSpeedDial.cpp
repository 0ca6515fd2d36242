// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/directory/FrmSpeedDial.h"

#include "core/dialing/DialRequest.h"
#include "core/directory/DirectoryRules.h"
#include "core/directory/DirectoryStore.h"
#include "gui/common/Twips.h"
#include "gui/directory/DirectoryView.h"
#include "gui/directory/FrmMemo.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvaro {

using namespace directory;

FrmSpeedDial::FrmSpeedDial(DirectoryView& view, int button)
    : QDialog(view.window()), m_view(view), m_button(button)
{
    setObjectName(QStringLiteral("FrmSpeedDial"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(tr("Speed Dial"));

    Label2 = new QLabel(tr("&Name:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    TxtName = new QLineEdit(this);
    TxtName->setObjectName(QStringLiteral("TxtName"));
    TxtName->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Label2->setBuddy(TxtName);
    Label3 = new QLabel(tr("N&umber to dial:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    TxtNumber = new QLineEdit(this);
    TxtNumber->setObjectName(QStringLiteral("TxtNumber"));
    Label3->setBuddy(TxtNumber);
    TxtNumber->installEventFilter(this);
    chkIgnore = new QCheckBox(tr("&Ignore Dialing Properties"), this);
    chkIgnore->setObjectName(QStringLiteral("chkIgnore"));
    lblPulse = new QLabel(QStringLiteral("  ") + tr("Start with P for Pulse Dialing"), this);
    lblPulse->setObjectName(QStringLiteral("lblPulse"));
    lblPulse->setVisible(false);

    //: Stores the directory entry's name and number
    CmdSave = new QPushButton(tr("&Save"), this);
    CmdSaveDial = new QPushButton(tr("Save and &Dial"), this);
    CmdMemo = new QPushButton(tr("&Edit Memo"), this);
    CmdCancel = new QPushButton(tr("&Cancel"), this);
    CmdSave->setObjectName(QStringLiteral("CmdSave"));
    CmdSaveDial->setObjectName(QStringLiteral("CmdSaveDial"));
    CmdMemo->setObjectName(QStringLiteral("CmdMemo"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdSave->setDefault(true);
    for (QPushButton* b : {CmdSaveDial, CmdMemo, CmdCancel})
        b->setAutoDefault(false);
    for (QPushButton* b : {CmdSave, CmdSaveDial, CmdMemo})
        b->setEnabled(false);

    auto* fields = new QVBoxLayout;
    fields->addWidget(Label2);
    fields->addWidget(TxtName);
    fields->addSpacing(6);
    fields->addWidget(Label3);
    fields->addWidget(TxtNumber);
    fields->addSpacing(4);
    fields->addWidget(chkIgnore);
    fields->addWidget(lblPulse);
    fields->addStretch(1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {CmdSave, CmdSaveDial, CmdMemo, CmdCancel})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    TxtName->setMinimumWidth(twipsToPixelsX(3000));
    // Keeps the pulse hint's place so the window does not jump when it shows.
    lblPulse->setMinimumHeight(lblPulse->sizeHint().height());
    QSizePolicy keep = lblPulse->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    lblPulse->setSizePolicy(keep);

    connect(TxtName, &QLineEdit::textChanged, this, &FrmSpeedDial::onNameChanged);
    connect(TxtNumber, &QLineEdit::textChanged, this, &FrmSpeedDial::onNumberChanged);
    connect(chkIgnore, &QCheckBox::toggled, lblPulse, &QLabel::setVisible);
    connect(CmdSave, &QPushButton::clicked, this, &FrmSpeedDial::save);
    connect(CmdSaveDial, &QPushButton::clicked, this, &FrmSpeedDial::saveAndDial);
    connect(CmdMemo, &QPushButton::clicked, this, &FrmSpeedDial::editMemo);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmSpeedDial::cancel);

    // The whole stored name (the button may show it cut), the number without
    // its marker.
    TxtName->setText(m_view.entryName(m_button));
    const QString v = m_view.tag(m_button);
    if (ignoresDialingProperties(v)) {
        TxtNumber->setText(v.mid(2));
        chkIgnore->setChecked(true);
    } else {
        TxtNumber->setText(v);
        chkIgnore->setChecked(false);
    }
    m_startName = TxtName->text();
    TxtName->setFocus();
}

void FrmSpeedDial::open()
{
    adjustSize();
    const QWidget* main = m_view.window();
    if (main && main != this) {
        const QRect frame = main->frameGeometry();
        move(frame.x() + frame.width() + twipsToPixelsX(100), frame.y() + width() / 2);
    }
    show();
    raise();
    activateWindow();
}

void FrmSpeedDial::onNameChanged(const QString& text)
{
    if (!text.isEmpty()) {
        CmdSave->setEnabled(true);
        CmdMemo->setEnabled(true);
        if (!TxtNumber->text().isEmpty())
            CmdSaveDial->setEnabled(true);
    } else {
        CmdSave->setEnabled(false);
        CmdMemo->setEnabled(false);
        CmdSaveDial->setEnabled(false);
    }
    m_view.setCaption(m_button, text.trimmed());
}

void FrmSpeedDial::onNumberChanged(const QString& text)
{
    CmdSaveDial->setEnabled(!text.isEmpty() && !TxtName->text().isEmpty());
}

QString FrmSpeedDial::numberValue() const
{
    const QString number = TxtNumber->text().trimmed();
    return chkIgnore->isChecked() ? QStringLiteral("XX") + number : number;
}

bool FrmSpeedDial::store()
{
    const bool subject = m_view.subjectMode();
    const QString key = m_view.currentEntryKey();
    const QString v = numberValue();
    DirectoryStore& store = m_view.store();
    bool ok = true;
    {
        IniFile::Batch batch(store.file());
        store.writeEntryName(subject, key, TxtName->text());
        store.writeEntryNumber(subject, key, v);
        ok = batch.commit();
    }
    // An entry that could not be stored is reported, and the editor stays
    // open so that nothing typed is lost.
    if (!m_view.checkStored(ok))
        return false;
    m_view.setCaption(m_button, TxtName->text().trimmed());
    m_view.setTag(m_button, v);
    return true;
}

void FrmSpeedDial::save()
{
    if (TxtName->text().isEmpty() || !store())
        return;
    close();
}

void FrmSpeedDial::saveAndDial()
{
    if (TxtName->text().isEmpty() || TxtNumber->text().isEmpty() || !store())
        return;
    m_view.setDialPadNumber(TxtNumber->text().trimmed());
    // The call is the entry's, under the name just stored.
    const DialRequest request{numberValue(), TxtName->text().trimmed(), m_view.currentEntryKey(),
                              DialOrigin::Directory};
    close();
    m_view.window()->update();
    Q_EMIT m_view.dialRequested(request);
}

void FrmSpeedDial::editMemo()
{
    if (TxtName->text().isEmpty() || !store())
        return;
    const QString key = m_view.currentEntryKey();
    close();
    if (!m_view.memoPad() || !m_view.memoPad()->isVisible())
        m_view.openMemo(key);
}

void FrmSpeedDial::cancel()
{
    TxtName->setText(m_startName);
    m_view.setCurrentEntryKey(QStringLiteral("0"));
    close();
}

void FrmSpeedDial::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool FrmSpeedDial::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != TxtNumber || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    if (chkIgnore->isChecked() || options().isChecked(OptionsStore::chkIgnore))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
        key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Delete)
        return false; // keys that type nothing: editing and moving keys
    const std::optional<QChar> c = filterNumberKey(text[0]);
    if (!c)
        return true;
    if (*c == QLatin1Char('\b'))
        return false;
    TxtNumber->insert(QString(*c));
    return true;
}

} // namespace telvaro
