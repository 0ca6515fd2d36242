// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dialing/Dialer.h"

#include "core/common/Clock.h"
#include "core/dialing/DialString.h"
#include "core/dialing/ExternalRequests.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineService.h"
#include "core/telephony/SoundPlayer.h"
#include "core/telephony/Sounds.h"
#include "settings/OptionsStore.h"

#include <cmath>

namespace telvaro {
namespace {

bool checked(OptionsStore::Check c)
{
    return options().isChecked(c);
}

int textValue(OptionsStore::Text t)
{
    return dialstr::leadingNumber(options().text(t));
}

} // namespace

Dialer::Dialer(DialLine& line, LineTranslation& translation, SoundPlayer& sound, QObject* parent)
    : QObject(parent), m_line(line), m_call(line.call()), m_translation(translation), m_sound(sound)
{
    // The outgoing call tells the dialer what the line did.
    connect(&m_call, &Call::progressWanted, this, &Dialer::showConnectWindow);
    connect(&m_call, &Call::proceeding, this, &Dialer::handleConnected);
    connect(&m_call, &Call::busyDropped, this, &Dialer::handleBusy);
    connect(&m_call, &Call::failed, this, &Dialer::showCallError);
    connect(&m_connectionWait, &ClockWait::ticked, this, [this] {
        if (!connectionWaitGoesOn())
            m_connectionWait.stop();
    });
    connect(&m_connectionWait, &ClockWait::finished, this, [this] {
        if (connectionWaitGoesOn())
            declareConnected();
    });
    connect(&m_redialWait, &ClockWait::ticked, this, &Dialer::redialCountdownTick);
    connect(&m_redialWait, &ClockWait::finished, this, &Dialer::redialNow);
    connect(&m_toneWait, &ClockWait::finished, this, &Dialer::nextTone);
    connect(&m_holdWait, &ClockWait::finished, this, &Dialer::afterHold);
}

void Dialer::reset()
{
    m_window = {};
    m_pad = {};
    m_recent.clear();
    m_location = {};
    m_firstPiece.clear();
    m_givenNumber.clear();
    m_redialCount = 0;
    m_call.reset();
    m_party.reset();
    m_request = {};
    m_dialString.clear();
    m_displayNumber.clear();
    m_connectionWait.stop();
    m_redialWait.stop();
    m_toneWait.stop();
    m_tones.clear();
    m_nextTone = 0;
    m_gapBeforeTone = false;
    m_holdWait.stop();
    m_hold = Hold::None;
    m_heldDial.reset();
    m_waitingDials.clear();
}

void Dialer::setRecentNumbers(const QStringList& numbers)
{
    m_recent = numbers;
    Q_EMIT recentNumbersChanged();
}

void Dialer::setWindow(const ConnectWindowState& next)
{
    if (next == m_window)
        return;
    m_window = next;
    Q_EMIT connectWindowChanged();
}

void Dialer::setPad(bool dial, bool hangUp, bool ok)
{
    const PadButtonState next{dial, hangUp, ok};
    if (next == m_pad)
        return;
    m_pad = next;
    Q_EMIT padButtonsChanged();
}

// ---------------------------------------------------------------------------
// Dial procedure

// The one dial procedure: a dial that comes while a fixed wait holds dials
// back waits its turn; one that comes while the call window shows is not
// taken (the call in progress is not disturbed); over a call still marked
// placed the line gets a moment first.
void Dialer::dial(const DialRequest& request)
{
    if (holdingDials()) {
        m_waitingDials.append(request);
        return;
    }
    if (m_window.visible)
        return;
    unloadConnectWindow();
    if (m_call.placed) {
        // The line gets a moment to let go of the call still marked placed.
        m_heldDial = request;
        m_hold = Hold::BeforeDial;
        m_holdWait.start(kPlacedCallPause);
        return;
    }
    m_request = request;
    dialNow();
}

void Dialer::dialHeld()
{
    while (!holdingDials() && !m_waitingDials.isEmpty())
        dial(m_waitingDials.takeFirst());
}

void Dialer::afterHold()
{
    const Hold hold = m_hold;
    m_hold = Hold::None;
    if (hold == Hold::BeforeDial && m_heldDial) {
        // The dial goes on for the number it was given.
        m_request = *m_heldDial;
        m_heldDial.reset();
        dialNow();
    } else if (hold == Hold::AfterOk) {
        finishConfirm();
    }
    dialHeld();
}

void Dialer::dialNow()
{
    m_call.stopRequested = false;
    m_call.displayShown = false;
    if (m_request.number.isEmpty())
        return;
    Q_EMIT dialStarting();

    QString number = m_request.number;
    if (!number.startsWith(QLatin1String("XX")) && !checked(OptionsStore::chkIgnore)) {
        number = dialstr::cleanNumber(number);
        m_request.number = number;
        // Nothing dialable is left (letters only): dialing nothing would go
        // off-hook and later report a call that never was.
        if (number.isEmpty())
            return;
    }

    // A number handed over on the command line or by a later start is dialed
    // with the window minimized.
    Q_EMIT mainWindowWanted(m_request.origin == DialOrigin::CommandLine ||
                            m_request.origin == DialOrigin::SecondStart);

    if (!checked(OptionsStore::chkModem)) {
        dialWithoutModem(number);
        return;
    }

    if (!m_line.isOpen())
        (void)m_line.open(LineUse::Dial);

    m_givenNumber = number;
    const dialstr::NumberSplit split = dialstr::splitNumber(number);
    dialstr::DialChoice choice;
    if (checked(OptionsStore::chkIgnore)) {
        // A modem cannot dial "+": the location's prefix stands for it, as
        // for a number from another program.
        if (number.trimmed().startsWith(u'+'))
            number = dialableOutsideNumber(number, m_translation);
        choice = dialstr::ignoredPropertiesDialString(number,
                                                      options().isSelected(OptionsStore::optTone));
    } else if (split.head.startsWith(QLatin1String("XX"))) {
        choice = dialstr::exactDialString(split);
    } else {
        readLocationInfo();
        m_dialString.clear();
        m_displayNumber.clear();
        translateNumber(split.head);
        if (!m_dialString.isEmpty()) {
            choice = {m_dialString + split.tail, m_displayNumber + split.tail};
        } else {
            choice = {QStringLiteral("T") + number, number};
        }
    }
    m_dialString = choice.dialString;
    m_displayNumber = choice.displayNumber;
    placeCall();
}

void Dialer::dialWithoutModem(const QString& number)
{
    m_tones = number;
    m_nextTone = 0;
    m_gapBeforeTone = false;
    nextTone();
}

// One step of the touch tones: a comma waits 2 s, every other character
// waits 0.1 s and then sounds its tone for the tone's length.
void Dialer::nextTone()
{
    if (m_gapBeforeTone) {
        m_gapBeforeTone = false;
        // A character the program has no tone for plays nothing.
        if (const WaveSound* tone = waveResource(toneResourceName(m_tones.at(m_nextTone - 1)))) {
            m_sound.play(*tone, PlayMode::Async);
            m_toneWait.start(tone->seconds());
            return;
        }
    }
    if (m_nextTone >= m_tones.size()) {
        m_tones.clear();
        m_nextTone = 0;
        Q_EMIT mainWindowReleased();
        dialHeld();
        return;
    }
    if (m_tones.at(m_nextTone++) == u',') {
        m_toneWait.start(kCommaPause);
    } else {
        m_gapBeforeTone = true;
        m_toneWait.start(kToneGap);
    }
}

void Dialer::readLocationInfo()
{
    CurrentLocation location;
    if (!m_translation.readLocation(&location))
        location = {};
    m_location = location;
}

void Dialer::translateNumber(const QString& number)
{
    const dialstr::DialChoice choice = telvaro::translateNumber(
        number, &m_location, checked(OptionsStore::chkCallingCard), m_translation);
    m_dialString = choice.dialString;
    m_displayNumber = choice.displayNumber;
}

void Dialer::placeCall()
{
    m_call.stopRequested = false;
    m_call.displayShown = false;
    // A busy signal belongs to the attempt it ended; a redial starts without
    // one, even before the line reports it dialing.
    m_call.busyDetected = false;

    // A new call (not a redial) is for the party the dial procedure was
    // given; what others set meanwhile does not change it.
    if (m_redialCount == 0 || !m_party)
        m_party = CallParty{m_request, m_displayNumber};
    m_call.connectedShown = false; // of this attempt, once its wait is over
    const QString given = m_givenNumber.isEmpty() ? m_displayNumber : m_givenNumber;
    if (m_recent.isEmpty() || m_recent.front() != given) {
        m_recent.prepend(given);
        Q_EMIT recentNumbersChanged();
    }
    Q_EMIT padTextRequested(m_recent.front());

    const QStringList pieces = dialstr::splitDialParts(m_dialString);
    m_call.start(m_party->request, m_dialString, m_displayNumber, pieces);
    m_firstPiece = pieces.front();
    // A wait of an earlier attempt gives way to this call.
    m_connectionWait.stop();
    m_redialWait.stop();
    m_line.makeCall(m_firstPiece);
}

// ---------------------------------------------------------------------------
// Call progress window

void Dialer::loadConnectWindow()
{
    ConnectWindowState w;
    w.loaded = true;
    w.visible = m_window.visible;
    const QString& name = m_request.name;
    w.frameCaption = name.isEmpty() ? tr("Dialing No:") : tr("Dialing:  %1").arg(name);
    w.picture = ConnectPicture::Dialing;
    w.cancelVisible = true;
    w.okVisible = false;
    // Only a number too long for the label is cut.
    const QString& number = m_displayNumber;
    w.label = number.size() > 37 ? number.left(37) + QStringLiteral("...") : number;
    setWindow(w);
}

void Dialer::showConnectWindow()
{
    if (!m_window.loaded)
        loadConnectWindow();
    ConnectWindowState w = m_window;
    w.visible = true;
    setWindow(w);
    // The pad follows the call: while it is in progress it offers Hang Up.
    setPad(false, true, false);
}

void Dialer::unloadConnectWindow()
{
    ConnectWindowState w;
    w.loaded = false;
    w.visible = false;
    setWindow(w);
}

void Dialer::showCallError(const QString& frameCaption, const QString& text)
{
    if (!m_window.loaded)
        loadConnectWindow();
    ConnectWindowState w = m_window;
    w.picture = ConnectPicture::Busy;
    w.cancelVisible = true;
    w.okVisible = false;
    w.frameCaption = frameCaption;
    if (!text.isNull())
        w.label = text;
    w.visible = true;
    setWindow(w);
    setPad(false, true, false);
}

void Dialer::handleConnected()
{
    // A newer wait (the line's "proceeding" arriving after a redial, or a
    // redial placed meanwhile) decides the call; it replaces this one, so
    // "Connected" is declared once.
    const double length =
        textValue(OptionsStore::txtDelayTimer) + (m_firstPiece.startsWith(u'T') ? 0.0 : 9.0);
    m_connectionWait.start(length);
}

bool Dialer::connectionWaitGoesOn()
{
    if (m_call.busyDetected)
        return false; // HandleBusy takes over
    if (m_call.stopRequested) {
        m_line.dropCall();
        return false;
    }
    // The call ended (no answer, no carrier, an error): its outcome is
    // shown; it was never connected.
    return m_call.error() == CallOutcome::None && m_call.placed;
}

void Dialer::declareConnected()
{
    m_call.connectedShown = true;
    m_call.setState(CallState::Connected);
    setPad(false, false, true);
    ConnectWindowState w = m_window;
    w.frameCaption = tr("Connected");
    w.frameHeightTwips = 750;
    w.picture = ConnectPicture::Connected;
    w.cancelVisible = false;
    w.okVisible = true;
    w.label = tr("  Lift the handset up and press OK");
    setWindow(w);
    if (checked(OptionsStore::chkRedial) && m_redialCount > 0)
        m_sound.playNamed(QStringLiteral("connected"), PlayMode::Async);
    else
        m_sound.beep();
}

void Dialer::handleBusy()
{
    if (!m_window.loaded)
        loadConnectWindow();
    ConnectWindowState w = m_window;
    w.visible = true;
    w.okVisible = false;
    w.picture = ConnectPicture::Busy;
    w.cancelVisible = true;
    w.frameCaption = tr("Busy");
    //: %1 is the number dialed
    w.label = tr("%1\n   Busy.").arg(m_displayNumber);
    setWindow(w);

    // After Hang Up the window stays closed whatever follows.
    const bool closed = m_call.stopRequested;
    auto update = [this, closed](ConnectWindowState next) {
        if (closed) {
            next.loaded = false;
            next.visible = false;
        }
        setWindow(next);
    };
    if (closed)
        update(m_window);

    if (!checked(OptionsStore::chkRedial)) {
        w = m_window;
        w.okVisible = false;
        w.picture = ConnectPicture::Busy;
        w.cancelVisible = true;
        //: The call progress window's button that closes it
        w.cancelCaption = tr("OK");
        w.frameCaption = tr("   Busy");
        w.label = tr("    -To automatically redial: set Auto Redial\n"
                     "       in Tools/Options-");
        update(w);
        return;
    }

    ++m_redialCount;
    if (textValue(OptionsStore::TxtRedial) >= m_redialCount) {
        w = m_window;
        w.okVisible = false;
        w.picture = ConnectPicture::Dialing;
        w.cancelVisible = true;
        w.frameCaption = tr("Redialing:  %1").arg(m_party ? m_party->request.name : m_request.name);
        update(w);
        if (m_call.stopRequested)
            return;

        m_connectionWait.stop();
        m_redialWait.start(textValue(OptionsStore::txtMinutes) * 60.0 +
                           textValue(OptionsStore::txtSeconds));
        return;
    }

    w = m_window;
    w.frameCaption = tr("Disconnected");
    w.labelTopTwips = 400;
    w.label = tr("Redialed   %1 times. To increase No.of redials: change settings in Tools/Options")
                  .arg(m_redialCount - 1);
    w.cancelCaption = tr("OK");
    update(w);
    m_redialCount = 0;
    setPad(false, true, false);
    endCall(CallOutcome::Busy);
    if (checked(OptionsStore::chkSoundEndRed))
        m_sound.playNamed(QStringLiteral("enddial"), PlayMode::Async);
    else
        m_sound.beep();
}

void Dialer::redialCountdownTick()
{
    if (m_call.stopRequested) {
        m_redialWait.stop();
        return;
    }
    ConnectWindowState w = m_window;
    w.label = tr("   Busy. Redial in :   %1 seconds").arg(std::llround(m_redialWait.left()));
    setWindow(w);
}

void Dialer::redialNow()
{
    if (m_call.stopRequested)
        return;
    ConnectWindowState w = m_window;
    w.label =
        tr("%1\n   Busy. Redialing  x %2").arg(m_displayNumber, QString::number(m_redialCount));
    setWindow(w);
    placeCall();
    handleConnected();
}

void Dialer::hangUp()
{
    m_call.stopRequested = true;
    // A countdown to a redial ends with the call it was for.
    m_redialWait.stop();
    m_line.dropCall();
    endCall(CallOutcome::Cancelled);
    m_call.busyDetected = false;
    m_redialCount = 0;
    setPad(true, false, false);
    Q_EMIT mainWindowReleased();
    // What the user saw as the window closed: a busy (or error) picture means
    // the call attempt is over.
    const bool busyShown = m_window.loaded && m_window.picture == ConnectPicture::Busy;
    unloadConnectWindow();
    if (busyShown || m_call.connectedShown || m_call.idleSeen) {
        m_call.placed = false;
        m_call.requestInProgress = false;
        Q_EMIT readyForRequests();
    }
    m_call.setError(CallOutcome::None);
}

void Dialer::confirmCall()
{
    if (m_hold == Hold::AfterOk)
        return; // taken already; the window closes in a moment
    // The record and the memo are the placed call's.
    const CallParty party = m_party.value_or(CallParty{m_request, m_displayNumber});
    m_party.reset();
    if (party.request.hasEntry())
        Q_EMIT memoRequested(party.request.entryKey);
    m_line.dropCall();
    // The "connected" or "enddial" sound may still be playing.
    m_sound.stop();
    m_call.busyDetected = false;
    m_call.stopRequested = true;
    m_call.dialToneSeen = false;
    m_call.connectedShown = false;
    m_redialCount = 0;
    setPad(true, false, false);
    m_call.end(CallOutcome::Connected);
    Q_EMIT callEnded(party.request, party.displayNumber, CallOutcome::Connected);
    unloadConnectWindow();
    // The modem gets a second to let go of the line; dials wait for it.
    m_hold = Hold::AfterOk;
    m_holdWait.start(kAfterOkPause);
}

void Dialer::finishConfirm()
{
    m_call.placed = false;
    m_call.requestInProgress = false;
    Q_EMIT readyForRequests();
}

void Dialer::endCall(CallOutcome outcome)
{
    // A call the line ended in an error ended in that error.
    if (m_call.error() != CallOutcome::None)
        outcome = m_call.error();
    m_call.end(outcome);
    if (!m_party)
        return;
    const CallParty party = *m_party;
    m_party.reset();
    Q_EMIT callEnded(party.request, party.displayNumber, outcome);
}

} // namespace telvaro
