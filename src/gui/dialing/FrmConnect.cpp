// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialing/FrmConnect.h"

#include "core/dialing/Dialer.h"
#include "gui/common/Twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

namespace telvaro {
namespace {

// Places in twips.
constexpr int kPictureLeft = 560;
constexpr int kPictureTop = 1080;
constexpr int kPictureSize = 720;
constexpr int kFrameLeft = 1440;
constexpr int kFrameTop = 420;
constexpr int kFrameWidth = 3420;
constexpr int kFrameHeight = 1680;
constexpr int kLabelInset = 150;
constexpr int kLabelTop = 600; // within the frame
constexpr int kLabelHeight = 1020;
constexpr int kButtonTop = 2250;
constexpr int kButtonWidth = 1260;
constexpr int kButtonHeight = 420;

// A telephone handset drawn in `color`, with `mark` for the state.
enum class Mark { Dots, Cross, Waves };

QPixmap handset(const QColor& color, Mark mark, int size, qreal dpr)
{
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // The handset: two round ends joined by a curved grip.
    QPainterPath path;
    path.moveTo(0.10 * s, 0.42 * s);
    path.cubicTo(0.10 * s, 0.20 * s, 0.30 * s, 0.12 * s, 0.50 * s, 0.12 * s);
    path.cubicTo(0.70 * s, 0.12 * s, 0.90 * s, 0.20 * s, 0.90 * s, 0.42 * s);
    path.lineTo(0.72 * s, 0.50 * s);
    path.lineTo(0.66 * s, 0.36 * s);
    path.cubicTo(0.56 * s, 0.32 * s, 0.44 * s, 0.32 * s, 0.34 * s, 0.36 * s);
    path.lineTo(0.28 * s, 0.50 * s);
    path.closeSubpath();
    p.setPen(QPen(color.darker(140), 1.2));
    p.setBrush(color);
    p.drawPath(path);
    // The base.
    QPainterPath base;
    base.addRoundedRect(QRectF(0.22 * s, 0.52 * s, 0.56 * s, 0.34 * s), 0.06 * s, 0.06 * s);
    p.drawPath(base);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    switch (mark) {
    case Mark::Dots:
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF((0.36 + 0.14 * i) * s, 0.69 * s), 0.045 * s, 0.045 * s);
        break;
    case Mark::Cross:
        p.setPen(QPen(Qt::white, 0.07 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0.40 * s, 0.60 * s), QPointF(0.60 * s, 0.78 * s));
        p.drawLine(QPointF(0.60 * s, 0.60 * s), QPointF(0.40 * s, 0.78 * s));
        break;
    case Mark::Waves:
        p.setPen(QPen(Qt::white, 0.06 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0.38 * s, 0.69 * s), QPointF(0.47 * s, 0.77 * s));
        p.drawLine(QPointF(0.47 * s, 0.77 * s), QPointF(0.63 * s, 0.60 * s));
        break;
    }
    return pm;
}

} // namespace

FrmConnect::FrmConnect(Dialer& dialer, QWidget* parent) : EllipticalWindow(parent), m_dialer(dialer)
{
    setObjectName(QStringLiteral("FrmConnect"));
    setWindowTitle(QStringLiteral("Telvaro"));
    setAccessibleName(tr("Call progress"));
    setFixedSize(twipsToPixelsX(kWidth), twipsToPixelsY(kHeight));
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground, false);

    const qreal dpr = devicePixelRatioF();
    const int picture = twipsToPixelsX(kPictureSize);
    auto makePicture = [&](const char* name, const QString& shows, const QColor& color, Mark mark) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setAccessibleName(shows);
        l->setPixmap(handset(color, mark, picture, dpr));
        l->setGeometry(twipsRect(kPictureLeft, kPictureTop, kPictureSize, kPictureSize));
        l->installEventFilter(this);
        return l;
    };
    //: The picture of the call progress window while the number is dialed
    imaDialing = makePicture("imaDialing", tr("Dialing"), QColor(0x2f, 0x6f, 0xb5), Mark::Dots);
    //: The picture of the call progress window when the line is busy or the call failed
    imaBusy = makePicture("imaBusy", tr("Not connected"), QColor(0xc0, 0x39, 0x2b), Mark::Cross);
    //: The picture of the call progress window once the call is connected
    imaConnect = makePicture("imaConnect", tr("Connected"), QColor(0x27, 0x8f, 0x4e), Mark::Waves);

    fra1 = new QGroupBox(this);
    fra1->setObjectName(QStringLiteral("fra1"));
    QFont heading = fra1->font();
    heading.setBold(true);
    fra1->setFont(heading);
    fra1->installEventFilter(this);

    lbl1 = new QLabel(this);
    lbl1->setObjectName(QStringLiteral("lbl1"));
    lbl1->setTextFormat(Qt::PlainText);
    lbl1->setWordWrap(true);
    lbl1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl1->installEventFilter(this);

    cmdCancel = new QPushButton(tr("&Hang Up"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    CmdOK = new QPushButton(tr("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    for (QPushButton* b : {cmdCancel, CmdOK}) {
        b->setGeometry(
            twipsRect((kWidth - kButtonWidth) / 2, kButtonTop, kButtonWidth, kButtonHeight));
        b->installEventFilter(this);
    }
    connect(cmdCancel, &QPushButton::clicked, this, [this] { m_dialer.hangUp(); });
    connect(CmdOK, &QPushButton::clicked, this, [this] { m_dialer.confirmCall(); });
    connect(&m_dialer, &Dialer::connectWindowChanged, this, [this] { refresh(); });
    refresh();
}

void FrmConnect::refresh()
{
    const ConnectWindowState& s = m_dialer.connectWindow();
    fra1->setTitle(s.frameCaption);
    const int frameHeight = s.frameHeightTwips > 0 ? s.frameHeightTwips : kFrameHeight;
    fra1->setGeometry(twipsRect(kFrameLeft, kFrameTop, kFrameWidth, frameHeight));
    // A shortened frame holds just its one line of message.
    if (s.frameHeightTwips > 0) {
        lbl1->setGeometry(twipsRect(kFrameLeft + kLabelInset, kFrameTop + 330,
                                    kFrameWidth - 2 * kLabelInset, frameHeight - 400));
    } else {
        const int labelTop = kFrameTop + (s.labelTopTwips >= 0 ? s.labelTopTwips : kLabelTop);
        lbl1->setGeometry(twipsRect(kFrameLeft + kLabelInset, labelTop,
                                    kFrameWidth - 2 * kLabelInset,
                                    std::max(kLabelHeight, kButtonTop - 60 - labelTop)));
    }
    lbl1->setText(s.label);
    // What the window shows, for a screen reader: its heading and message.
    setAccessibleDescription(
        QStringLiteral("%1\n%2").arg(s.frameCaption.trimmed(), s.label.trimmed()));
    lbl1->raise();
    imaDialing->setVisible(s.picture == ConnectPicture::Dialing);
    imaBusy->setVisible(s.picture == ConnectPicture::Busy);
    imaConnect->setVisible(s.picture == ConnectPicture::Connected);
    cmdCancel->setText(s.cancelCaption);
    cmdCancel->setVisible(s.cancelVisible);
    CmdOK->setVisible(s.okVisible);

    if (s.visible) {
        if (!m_placed && parentWidget()) {
            // First showing: centred over the main window.
            const QRect owner = parentWidget()->window()->frameGeometry();
            move(owner.center() - rect().center());
            m_placed = true;
        }
        if (isHidden()) {
            show();
            raise();
        }
        if (s.okVisible)
            CmdOK->setDefault(true);
        repaint();
    } else if (!isHidden()) {
        hide();
        m_placed = false;
    }
}

bool FrmConnect::eventFilter(QObject* watched, QEvent* event)
{
    // Over the heading, a picture or a button the pointer is the usual one.
    if (event->type() == QEvent::Enter && !isDragging())
        unsetCursor();
    return QWidget::eventFilter(watched, event);
}

void FrmConnect::keyPressEvent(QKeyEvent* event)
{
    const bool modified =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool modifierOnly = event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control ||
                              event->key() == Qt::Key_Alt || event->key() == Qt::Key_Meta;
    // Only a connected call can be taken: elsewhere it would log a call that
    // never got through.
    if (modified && !modifierOnly && m_dialer.connectWindow().okVisible) {
        m_dialer.confirmCall();
        return;
    }
    // Escape is the window's cancelling button (Hang Up, or the OK that
    // closes a busy or failed call); it never takes a connected call.
    if (event->key() == Qt::Key_Escape && !modified) {
        if (cmdCancel->isVisible())
            cmdCancel->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace telvaro
