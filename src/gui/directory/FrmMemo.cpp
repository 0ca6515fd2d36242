// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/directory/FrmMemo.h"

#include "core/common/Clock.h"
#include "core/common/Prompter.h"
#include "core/directory/DirectoryRules.h"
#include "core/directory/DirectoryStore.h"
#include "gui/common/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

namespace telvaro {

using namespace directory;

namespace {

// Qt's text boxes break lines with LF; the stored log with CR LF.
QString toEditor(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString fromEditor(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

// The space the window frame took on the system the sizes were laid down for.
constexpr int kFrameWidthTwips = 40;
constexpr int kFrameHeightTwips = 300;

} // namespace

FrmMemo::FrmMemo(DirectoryStore& store, Prompter& prompter, const QString& entryKey,
                 bool subjectMode, QWidget* parent)
    : QWidget(parent, Qt::Window), m_store(store), m_prompter(prompter), m_key(entryKey),
      m_subjectMode(subjectMode)
{
    setObjectName(QStringLiteral("FrmMemo"));
    setAttribute(Qt::WA_DeleteOnClose);

    LblLog = new QLabel(tr("LOG:"), this);
    LblLog->setObjectName(QStringLiteral("LblLog"));
    TxtLog = new QPlainTextEdit(this);
    TxtLog->setObjectName(QStringLiteral("TxtLog"));
    TxtLog->setReadOnly(true);
    TxtLog->setAccessibleName(tr("Log"));
    LblLog->setBuddy(TxtLog);
    TxtLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LblMemo = new QLabel(tr("MEMO:"), this);
    LblMemo->setObjectName(QStringLiteral("LblMemo"));
    TxtMemo = new QPlainTextEdit(this);
    TxtMemo->setObjectName(QStringLiteral("TxtMemo"));
    TxtMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TxtMemo->viewport()->installEventFilter(this);
    TxtMemo->setAccessibleName(tr("New note"));
    LblMemo->setBuddy(TxtMemo);
    // Tab moves on to the next control, so that the buttons are reached by
    // keyboard.
    for (QPlainTextEdit* box : {TxtLog, TxtMemo})
        box->setTabChangesFocus(true);
    TxtLog->verticalScrollBar()->setAccessibleName(tr("Scroll the log"));
    TxtLog->horizontalScrollBar()->setAccessibleName(tr("Scroll the log sideways"));
    TxtMemo->verticalScrollBar()->setAccessibleName(tr("Scroll the note"));
    TxtMemo->horizontalScrollBar()->setAccessibleName(tr("Scroll the note sideways"));
    CmdSave = new QPushButton(tr("&Add to Log"), this);
    //: Stores the memo pad's log and closes it
    CmdOK = new QPushButton(tr("&OK"), this);
    CmdEdit = new QPushButton(tr("&Edit Log"), this);
    CmdSave->setObjectName(QStringLiteral("CmdSave"));
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdEdit->setObjectName(QStringLiteral("CmdEdit"));
    for (QPushButton* b : {CmdSave, CmdOK, CmdEdit})
        b->resize(twipsToPixelsX(1215), twipsToPixelsY(375));

    connect(CmdSave, &QPushButton::clicked, this, &FrmMemo::addToLog);
    connect(CmdOK, &QPushButton::clicked, this, &FrmMemo::ok);
    connect(CmdEdit, &QPushButton::clicked, this, &FrmMemo::editLog);
    connect(TxtMemo, &QPlainTextEdit::textChanged, this, [this] { CmdSave->setEnabled(true); });

    setMinimumSize(twipsToPixelsX(4995 - kFrameWidthTwips),
                   twipsToPixelsY(3570 - kFrameHeightTwips));
    resize(twipsToPixelsX(6000 - kFrameWidthTwips), twipsToPixelsY(5200 - kFrameHeightTwips));
}

void FrmMemo::showPad(const QString& caption)
{
    Q_EMIT openChanged(true);

    {
        const QSignalBlocker block(TxtMemo);
        TxtMemo->setPlainText(toEditor(memoDateStamp(clock().now())));
    }
    TxtMemo->moveCursor(QTextCursor::End);
    TxtLog->setPlainText(toEditor(decodeNoteLog(m_store.readNoteLog(m_subjectMode, m_key))));
    setWindowTitle(caption);
    CmdSave->setEnabled(false);
    show();
    raise();
    activateWindow();
    TxtMemo->setFocus();
}

void FrmMemo::followEntry(const QString& key)
{
    m_key = key;
}

void FrmMemo::addToLog()
{
    TxtLog->setPlainText(TxtLog->toPlainText() + QLatin1Char('\n') + TxtMemo->toPlainText());
    TxtMemo->clear();
    TxtLog->moveCursor(QTextCursor::End);
    TxtLog->setReadOnly(true);
}

void FrmMemo::editLog()
{
    TxtLog->setReadOnly(false);
    TxtLog->setFocus();
}

int FrmMemo::logLength() const
{
    return int(fromEditor(TxtLog->toPlainText()).size());
}

bool FrmMemo::ok()
{
    const int n = logLength();
    const MemoCapacity capacity = memoCapacity(n);
    if (capacity.verdict == MemoCapacity::Refuse) {
        showMessage(m_prompter, this, capacity.text, capacity.title, MsgButtons::Ok,
                    MsgIcon::Critical);
        return false;
    }
    if (capacity.verdict == MemoCapacity::StoreWithWarning)
        showMessage(m_prompter, this, capacity.text, capacity.title, MsgButtons::Ok,
                    MsgIcon::Information);
    DirectoryStore& store = m_store;
    // The log goes back where it was read from, even if the view has
    // switched directories meanwhile.
    if (!store.writeNoteLog(m_subjectMode, m_key,
                            encodeNoteLog(fromEditor(TxtLog->toPlainText())))) {
        showMessage(
            m_prompter, this,
            tr("The memo could not be saved in the settings file.\n%1").arg(store.lastError()), {},
            MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    TxtLog->setReadOnly(true);
    close();
    return true;
}

void FrmMemo::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    Q_EMIT openChanged(false);
}

bool FrmMemo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TxtMemo->viewport() && event->type() == QEvent::MouseButtonPress)
        CmdSave->setEnabled(true);
    return QWidget::eventFilter(watched, event);
}

void FrmMemo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Sizes in twips of the whole window, as the layout was laid down.
    const int W = pixelsToTwipsX(width()) + kFrameWidthTwips;
    const int H = pixelsToTwipsY(height()) + kFrameHeightTwips;
    const int left = 30;
    const int logH = H / 2 - 600;
    LblLog->setGeometry(twipsRect(left, 0, 1000, 200));
    TxtLog->setGeometry(twipsRect(left, 200, W - 100 - left, logH));
    LblMemo->setGeometry(twipsRect(left, logH + 175, 1000, 195));
    const int memoH = H - logH - 1120;
    // The note box ends a little above the buttons instead of touching them.
    TxtMemo->setGeometry(twipsRect(left, logH + 370, W - 100 - left, memoH - 80));
    const int top = memoH + logH + 360;
    const int bw = pixelsToTwipsX(CmdSave->width());
    CmdSave->move(twipsToPixelsX(30), twipsToPixelsY(top));
    CmdOK->move(twipsToPixelsX(W / 2 - 500 - kFrameWidthTwips / 2), twipsToPixelsY(top));
    CmdEdit->move(twipsToPixelsX(W - bw - 100), twipsToPixelsY(top));
}

} // namespace telvaro
