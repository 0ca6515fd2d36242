#include "core/dialing/Dialer.h"

#include "core/common/Clock.h"
#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "core/dialing/DialString.h"
#include "core/dialing/ExternalRequests.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineSession.h"
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

Dialer::Dialer()
{
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

Dialer& dialer()
{
    static Dialer instance;
    return instance;
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
    outgoingCall().reset();
    disconnect(&outgoingCall(), nullptr, this, nullptr);
    m_party.reset();
    m_origin = DialOrigin::Pad;
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

void Dialer::dial(const DialRequest& request)
{
    if (holdingDials()) {
        m_waitingDials.append(request);
        return;
    }
    ProgramState& s = state();
    s.pendingNumber = request.number;
    s.pendingName = request.name;
    s.currentEntryKey = request.entryKey;
    m_origin = request.origin;
    dialNumber();
    m_origin = DialOrigin::Pad;
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
        ProgramState& s = state();
        s.pendingNumber = m_heldDial->number;
        s.pendingName = m_heldDial->name;
        s.currentEntryKey = m_heldDial->entryKey;
        m_origin = m_heldDial->origin;
        m_heldDial.reset();
        dialNow();
    } else if (hold == Hold::AfterOk) {
        finishConfirm();
    }
    dialHeld();
}

void Dialer::dialNumber()
{
    ProgramState& s = state();
    if (holdingDials()) {
        m_waitingDials.append(
            DialRequest{s.pendingNumber, s.pendingName, s.currentEntryKey, m_origin});
        return;
    }
    if (m_window.visible)
        return; // the call in progress is not disturbed
    unloadConnectWindow();
    if (outgoingCall().placed) {
        // The line gets a moment to let go of the call still marked placed.
        m_heldDial = DialRequest{s.pendingNumber, s.pendingName, s.currentEntryKey, m_origin};
        m_hold = Hold::BeforeDial;
        m_holdWait.start(kPlacedCallPause);
        return;
    }
    dialNow();
}

void Dialer::dialNow()
{
    ProgramState& s = state();
    outgoingCall().stopRequested = false;
    outgoingCall().displayShown = false;
    if (s.pendingNumber.isEmpty())
        return;
    Q_EMIT dialStarting();

    QString number = s.pendingNumber;
    if (!number.startsWith(QLatin1String("XX")) && !checked(OptionsStore::chkIgnore)) {
        number = dialstr::cleanNumber(number);
        s.pendingNumber = number;
        // Nothing dialable is left (letters only): dialing nothing would go
        // off-hook and later report a call that never was.
        if (number.isEmpty())
            return;
    }

    Q_EMIT mainWindowWanted(!s.externalNumber.isEmpty());

    if (!checked(OptionsStore::chkModem)) {
        dialWithoutModem(number);
        return;
    }

    if (!callSeam<bool>(seams().lineIsOpen))
        callSeam<bool>(seams().openLine, 0, 0);

    m_givenNumber = number;
    const dialstr::NumberSplit split = dialstr::splitNumber(number);
    dialstr::DialChoice choice;
    if (checked(OptionsStore::chkIgnore)) {
        // A modem cannot dial "+": the location's prefix stands for it, as
        // for a number from another program.
        if (number.trimmed().startsWith(u'+'))
            number = dialableOutsideNumber(number);
        choice = dialstr::ignoredPropertiesDialString(number,
                                                      options().isSelected(OptionsStore::optTone));
    } else if (split.head.startsWith(QLatin1String("XX"))) {
        choice = dialstr::exactDialString(split);
    } else {
        readLocationInfo();
        s.dialString.clear();
        s.displayNumber.clear();
        translateNumber(split.head);
        if (!s.dialString.isEmpty()) {
            choice = {s.dialString + split.tail, s.displayNumber + split.tail};
        } else {
            choice = {QStringLiteral("T") + number, number};
        }
    }
    s.dialString = choice.dialString;
    s.displayNumber = choice.displayNumber;
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
            soundPlayer().play(*tone, PlayMode::Async);
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
    if (!lineTranslation().readLocation(&location))
        location = {};
    m_location = location;
}

void Dialer::translateNumber(const QString& number)
{
    const dialstr::DialChoice choice = telvaro::translateNumber(
        number, &m_location, checked(OptionsStore::chkCallingCard), lineTranslation());
    state().dialString = choice.dialString;
    state().displayNumber = choice.displayNumber;
}

void Dialer::placeCall()
{
    ProgramState& s = state();
    outgoingCall().stopRequested = false;
    outgoingCall().displayShown = false;
    // A busy signal belongs to the attempt it ended; a redial starts without
    // one, even before the line reports it dialing.
    outgoingCall().busyDetected = false;

    // A new call (not a redial) is for the party the dial procedure was
    // given; what others set meanwhile does not change it.
    if (m_redialCount == 0 || !m_party)
        m_party =
            CallParty{DialRequest{s.pendingNumber, s.pendingName, s.currentEntryKey, m_origin},
                      s.displayNumber};
    outgoingCall().connectedShown = false; // of this attempt, once its wait is over
    const QString given = m_givenNumber.isEmpty() ? s.displayNumber : m_givenNumber;
    if (m_recent.isEmpty() || m_recent.front() != given) {
        m_recent.prepend(given);
        Q_EMIT recentNumbersChanged();
    }
    Q_EMIT padTextRequested(m_recent.front());

    const QStringList pieces = dialstr::splitDialParts(s.dialString);
    outgoingCall().start(m_party->request, s.dialString, s.displayNumber, pieces);
    m_firstPiece = pieces.front();
    // A wait of an earlier attempt gives way to this call.
    m_connectionWait.stop();
    m_redialWait.stop();
    callSeam(seams().makeCall, m_firstPiece);
}

// ---------------------------------------------------------------------------
// Call progress window

void Dialer::loadConnectWindow()
{
    ConnectWindowState w;
    w.loaded = true;
    w.visible = m_window.visible;
    const QString& name = state().pendingName;
    w.frameCaption =
        name.isEmpty() ? QStringLiteral("Dialing No:") : QStringLiteral("Dialing:  ") + name;
    w.picture = ConnectPicture::Dialing;
    w.cancelVisible = true;
    w.okVisible = false;
    // Only a number too long for the label is cut.
    const QString& number = state().displayNumber;
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
    if (outgoingCall().busyDetected)
        return false; // HandleBusy takes over
    if (outgoingCall().stopRequested) {
        callSeam(seams().dropCall);
        return false;
    }
    // The call ended (no answer, no carrier, an error): its outcome is
    // shown; it was never connected.
    return outgoingCall().error() == CallOutcome::None && outgoingCall().placed;
}

void Dialer::declareConnected()
{
    outgoingCall().connectedShown = true;
    outgoingCall().setState(CallState::Connected);
    setPad(false, false, true);
    ConnectWindowState w = m_window;
    w.frameCaption = QStringLiteral("Connected");
    w.frameHeightTwips = 750;
    w.picture = ConnectPicture::Connected;
    w.cancelVisible = false;
    w.okVisible = true;
    w.label = QStringLiteral("  Lift the handset up and press OK");
    setWindow(w);
    if (checked(OptionsStore::chkRedial) && m_redialCount > 0)
        playSound(QStringLiteral("connected"), PlayMode::Async);
    else
        beep();
}

void Dialer::handleBusy()
{
    ProgramState& s = state();
    if (!m_window.loaded)
        loadConnectWindow();
    ConnectWindowState w = m_window;
    w.visible = true;
    w.okVisible = false;
    w.picture = ConnectPicture::Busy;
    w.cancelVisible = true;
    w.frameCaption = QStringLiteral("Busy");
    w.label = s.displayNumber + u'\n' + QStringLiteral("   Busy.");
    setWindow(w);

    // After Hang Up the window stays closed whatever follows.
    const bool closed = outgoingCall().stopRequested;
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
        w.cancelCaption = QStringLiteral("OK");
        w.frameCaption = QStringLiteral("   Busy");
        w.label = QStringLiteral("    -To automatically redial: set Auto Redial\n"
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
        w.frameCaption =
            QStringLiteral("Redialing:  ") + (m_party ? m_party->request.name : s.pendingName);
        update(w);
        if (outgoingCall().stopRequested)
            return;

        m_connectionWait.stop();
        m_redialWait.start(textValue(OptionsStore::txtMinutes) * 60.0 +
                           textValue(OptionsStore::txtSeconds));
        return;
    }

    w = m_window;
    w.frameCaption = QStringLiteral("Disconnected");
    w.labelTopTwips = 400;
    w.label = QStringLiteral("Redialed   %1 times. To increase No.of redials: change settings in "
                             "Tools/Options")
                  .arg(m_redialCount - 1);
    w.cancelCaption = QStringLiteral("OK");
    update(w);
    m_redialCount = 0;
    setPad(false, true, false);
    endCall(CallOutcome::Busy);
    if (checked(OptionsStore::chkSoundEndRed))
        playSound(QStringLiteral("enddial"), PlayMode::Async);
    else
        beep();
}

void Dialer::redialCountdownTick()
{
    if (outgoingCall().stopRequested) {
        m_redialWait.stop();
        return;
    }
    ConnectWindowState w = m_window;
    w.label =
        QStringLiteral("   Busy. Redial in :   %1 seconds").arg(std::llround(m_redialWait.left()));
    setWindow(w);
}

void Dialer::redialNow()
{
    ProgramState& s = state();
    if (outgoingCall().stopRequested)
        return;
    ConnectWindowState w = m_window;
    w.label = s.displayNumber + u'\n' + QStringLiteral("   Busy. Redialing  x ") +
              QString::number(m_redialCount);
    setWindow(w);
    placeCall();
    handleConnected();
}

void Dialer::hangUp()
{
    outgoingCall().stopRequested = true;
    // A countdown to a redial ends with the call it was for.
    m_redialWait.stop();
    callSeam(seams().dropCall);
    endCall(CallOutcome::Cancelled);
    outgoingCall().busyDetected = false;
    m_redialCount = 0;
    setPad(true, false, false);
    Q_EMIT mainWindowReleased();
    // What the user saw as the window closed: a busy (or error) picture means
    // the call attempt is over.
    const bool busyShown = m_window.loaded && m_window.picture == ConnectPicture::Busy;
    unloadConnectWindow();
    if (busyShown || outgoingCall().connectedShown || outgoingCall().idleSeen) {
        outgoingCall().placed = false;
        outgoingCall().requestInProgress = false;
        callSeam(seams().processCallRequest);
    }
    outgoingCall().setError(CallOutcome::None);
}

void Dialer::confirmCall()
{
    if (m_hold == Hold::AfterOk)
        return; // taken already; the window closes in a moment
    ProgramState& s = state();
    // The record and the memo are the placed call's, whatever a number
    // refused meanwhile left behind.
    const CallParty party = m_party.value_or(CallParty{
        DialRequest{s.pendingNumber, s.pendingName, s.currentEntryKey, m_origin}, s.displayNumber});
    m_party.reset();
    s.pendingName = party.request.name;
    s.displayNumber = party.displayNumber;
    s.currentEntryKey = party.request.entryKey;
    if (party.request.hasEntry() && !s.memoOpen)
        Q_EMIT memoRequested(party.request.entryKey);
    callSeam(seams().dropCall);
    // The "connected" or "enddial" sound may still be playing.
    stopSound();
    outgoingCall().busyDetected = false;
    outgoingCall().stopRequested = true;
    outgoingCall().dialToneSeen = false;
    outgoingCall().connectedShown = false;
    m_redialCount = 0;
    setPad(true, false, false);
    outgoingCall().end(CallOutcome::Connected);
    Q_EMIT callEnded(party.request, party.displayNumber, CallOutcome::Connected);
    unloadConnectWindow();
    // The modem gets a second to let go of the line; dials wait for it.
    m_hold = Hold::AfterOk;
    m_holdWait.start(kAfterOkPause);
}

void Dialer::finishConfirm()
{
    outgoingCall().placed = false;
    outgoingCall().requestInProgress = false;
    callSeam(seams().processCallRequest);
}

void Dialer::endCall(CallOutcome outcome)
{
    // A call the line ended in an error ended in that error.
    if (outgoingCall().error() != CallOutcome::None)
        outcome = outgoingCall().error();
    outgoingCall().end(outcome);
    if (!m_party)
        return;
    const CallParty party = *m_party;
    m_party.reset();
    Q_EMIT callEnded(party.request, party.displayNumber, outcome);
}

// ---------------------------------------------------------------------------

void installDialing()
{
    Seams& s = seams();
    s.dialNumber = [] { dialer().dialNumber(); };
    // The outgoing call tells the dialer what the line did.
    Dialer* d = &dialer();
    Call* call = &outgoingCall();
    QObject::connect(call, &Call::progressWanted, d, &Dialer::showConnectWindow,
                     Qt::UniqueConnection);
    QObject::connect(call, &Call::proceeding, d, &Dialer::handleConnected, Qt::UniqueConnection);
    QObject::connect(call, &Call::busyDropped, d, &Dialer::handleBusy, Qt::UniqueConnection);
    QObject::connect(call, &Call::failed, d, &Dialer::showCallError, Qt::UniqueConnection);
    s.recentNumbers = [] { return dialer().recentNumbers().mid(0, Dialer::kRecentNumbersKept); };
    s.setRecentNumbers = [](const QStringList& numbers) {
        dialer().setRecentNumbers(numbers.mid(0, Dialer::kRecentNumbersKept));
    };
    s.setDialText = [](const QString& text) { Q_EMIT dialer().padTextRequested(text); };
}

} // namespace telvaro
