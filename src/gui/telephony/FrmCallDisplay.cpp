// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/telephony/FrmCallDisplay.h"

#include "core/telephony/LineService.h"
#include "core/telephony/SoundPlayer.h"
#include "gui/common/Twips.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSharedPointer>
#include <QTextOption>

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
constexpr int kLabelTop = 330; // within the frame
constexpr int kButtonTop = 2250;
constexpr int kButtonWidth = 1260;
constexpr int kButtonHeight = 420;

enum class Caller { Unknown, Known };

// A ringing telephone: waves about the handset; a question mark on the base
// while the caller is unknown, a caller's head and shoulders when known.
QPixmap ringingPhone(const QColor& color, Caller caller, int size, qreal dpr)
{
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // Ringing waves.
    p.setPen(QPen(color, 0.04 * s, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const qreal r = (0.08 + 0.07 * i) * s;
        p.drawArc(QRectF(0.08 * s - r, 0.16 * s - r, 2 * r, 2 * r), 60 * 16, 90 * 16);
        p.drawArc(QRectF(0.92 * s - r, 0.16 * s - r, 2 * r, 2 * r), 30 * 16, 90 * 16);
    }
    // The handset.
    QPainterPath handset;
    handset.moveTo(0.16 * s, 0.44 * s);
    handset.cubicTo(0.16 * s, 0.24 * s, 0.34 * s, 0.18 * s, 0.50 * s, 0.18 * s);
    handset.cubicTo(0.66 * s, 0.18 * s, 0.84 * s, 0.24 * s, 0.84 * s, 0.44 * s);
    handset.lineTo(0.70 * s, 0.50 * s);
    handset.lineTo(0.64 * s, 0.38 * s);
    handset.cubicTo(0.55 * s, 0.35 * s, 0.45 * s, 0.35 * s, 0.36 * s, 0.38 * s);
    handset.lineTo(0.30 * s, 0.50 * s);
    handset.closeSubpath();
    p.setPen(QPen(color.darker(140), 1.2));
    p.setBrush(color);
    p.drawPath(handset);
    // The base.
    QPainterPath base;
    base.addRoundedRect(QRectF(0.22 * s, 0.52 * s, 0.56 * s, 0.38 * s), 0.06 * s, 0.06 * s);
    p.drawPath(base);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    if (caller == Caller::Known) {
        p.drawEllipse(QPointF(0.50 * s, 0.64 * s), 0.06 * s, 0.06 * s);
        p.drawPie(QRectF(0.38 * s, 0.71 * s, 0.24 * s, 0.22 * s), 0, 180 * 16);
    } else {
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(int(0.30 * s));
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0.22 * s, 0.54 * s, 0.56 * s, 0.34 * s), Qt::AlignCenter,
                   QStringLiteral("?"));
    }
    return pm;
}

// The caller's label: a number too long for one line breaks where it must,
// other text at word boundaries.
class CallerLabel final : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        p.drawText(QRectF(contentsRect()), text(), option);
    }
};

} // namespace

FrmCallDisplay::FrmCallDisplay(LineService& line, SoundPlayer& sound, QWidget* parent)
    : EllipticalWindow(parent), m_line(line), m_sound(sound)
{
    setObjectName(QStringLiteral("FrmCallDisplay"));
    setWindowTitle(QStringLiteral("Telvaro"));
    setAccessibleName(tr("Incoming call"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(twipsToPixelsX(kWidth), twipsToPixelsY(kHeight));

    const qreal dpr = devicePixelRatioF();
    const int picture = twipsToPixelsX(kPictureSize);
    auto makePicture = [&](const char* name, const QString& shows, const QColor& color,
                           Caller caller) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setAccessibleName(shows);
        l->setPixmap(ringingPhone(color, caller, picture, dpr));
        l->setGeometry(twipsRect(kPictureLeft, kPictureTop, kPictureSize, kPictureSize));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        return l;
    };
    imaDialing =
        makePicture("imaDialing", tr("Unknown caller"), QColor(0x2f, 0x6f, 0xb5), Caller::Unknown);
    imaConnect =
        makePicture("imaConnect", tr("Known caller"), QColor(0x27, 0x8f, 0x4e), Caller::Known);

    fra1 = new QGroupBox(tr("Incoming Call from:"), this);
    fra1->setObjectName(QStringLiteral("fra1"));
    QFont heading = fra1->font();
    heading.setBold(true);
    fra1->setFont(heading);
    fra1->setGeometry(twipsRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight));

    lbl1 = new CallerLabel(this);
    lbl1->setObjectName(QStringLiteral("lbl1"));
    lbl1->setTextFormat(Qt::PlainText);
    lbl1->setWordWrap(true);
    lbl1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl1->setGeometry(twipsRect(kFrameLeft + kLabelInset, kFrameTop + kLabelTop,
                                kFrameWidth - 2 * kLabelInset, kFrameHeight - kLabelTop - 90));

    CmdOK = new QPushButton(tr("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setGeometry(
        twipsRect((kWidth - kButtonWidth) / 2, kButtonTop, kButtonWidth, kButtonHeight));
    CmdOK->setDefault(true);
    connect(CmdOK, &QPushButton::clicked, this, &FrmCallDisplay::acknowledge);
    refresh();
}

QString FrmCallDisplay::callerText(const QString& number, const QString& name)
{
    if (number.isEmpty())
        return QStringLiteral("     ") + tr("Caller Unknown");
    return number + QString(10, u' ') + name;
}

void FrmCallDisplay::refresh()
{
    lbl1->setText(callerText(m_line.callerNumber(), m_line.callerName()));
    // Who calls, for a screen reader.
    setAccessibleDescription(lbl1->text().simplified());
    const bool known = !m_line.callerNumber().isEmpty();
    imaDialing->setVisible(!known);
    imaConnect->setVisible(known);
    CmdOK->setVisible(true);
    lbl1->raise();
}

void FrmCallDisplay::openFor(HCALL call)
{
    const bool newCall = call != m_line.callDisplayCall() || isHidden();
    m_line.setCallDisplayCall(call);
    refresh();
    if (!newCall)
        return;
    if (isHidden()) {
        // The main window may be hidden in the tray: the middle of the screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
    raise();
    // The sound plays on while the window is open; OK stops it.
    if (options().isChecked(OptionsStore::chkSoundIn))
        m_sound.playNamed(QStringLiteral("incoming"), PlayMode::Async);
}

void FrmCallDisplay::acknowledge()
{
    m_line.acknowledgeCallDisplay();
    m_sound.stop();
    hide();
}

void FrmCallDisplay::dismiss()
{
    m_line.setCallDisplayCall(0);
    m_line.call().displayShown = false;
    hide();
}

void FrmCallDisplay::keyPressEvent(QKeyEvent* event)
{
    // Enter and Esc are OK, as in a message box.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        acknowledge();
        return;
    }
    QWidget::keyPressEvent(event);
}

void installIncomingCalls(QWidget& window, QAction& receiveSwitch, LineService& line,
                          SoundPlayer& sound)
{
    // The window belongs to this main window's program run; it has no owner
    // (it shows while the main window is in the tray) and goes with it.
    auto display = QSharedPointer<QPointer<FrmCallDisplay>>::create();
    const auto shown = [display] { return *display && (*display)->isVisible(); };
    QObject::connect(&line, &LineService::callerIdentified, &window,
                     [display, shown, &line](HCALL call) {
                         // Caller information that came after the window
                         // opened is shown at once (without a second sound).
                         if (shown() && line.callDisplayCall() == call)
                             (*display)->refresh();
                     });
    QObject::connect(&line, &LineService::callOffered, &window,
                     [display, &line, &sound](HCALL call) {
                         if (!*display)
                             *display = new FrmCallDisplay(line, sound);
                         (*display)->openFor(call);
                     });
    QObject::connect(&line, &LineService::callDisplayMayClose, &window, [shown, display, &line] {
        // Only when the window's own call has ended: the idle state of
        // another call leaves it open.
        if (shown() && !line.incomingCallLive(line.callDisplayCall()))
            (*display)->dismiss();
    });
    QObject::connect(&window, &QObject::destroyed, [display] { delete display->data(); });

    // The receive switch flips "Allow Call I&D (Call Display) ", whose
    // reaction closes and reopens the line once and sets the caption.
    QObject::connect(&receiveSwitch, &QAction::triggered, &window, [] {
        options().setChecked(OptionsStore::chkCallDisplay,
                             !options().isChecked(OptionsStore::chkCallDisplay));
    });
}

} // namespace telvaro
