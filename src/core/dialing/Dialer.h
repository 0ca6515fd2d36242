// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/CallOutcome.h"
#include "core/common/DialRequest.h"
#include "core/dialing/NumberTranslation.h"
#include "core/telephony/ClockWait.h"
#include "core/telephony/LineService.h"
#include "core/telephony/SoundPlayer.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace telvaro {

enum class ConnectPicture { Dialing, Busy, Connected };

// The controls of the call progress window FrmConnect. The dial procedure and
// the call waits set them; the window only shows them.
struct ConnectWindowState
{
    bool loaded = false;
    bool visible = false;
    QString frameCaption;      // fra1
    QString label;             // lbl1
    int labelTopTwips = -1;    // -1: its designed place
    int frameHeightTwips = -1; // -1: designed height
    ConnectPicture picture = ConnectPicture::Dialing;
    bool cancelVisible = true; // cmdCancel
    QString cancelCaption = QCoreApplication::translate("telvaro::Dialer", "&Hang Up");
    bool okVisible = false; // CmdOK

    friend bool operator==(const ConnectWindowState&, const ConnectWindowState&) = default;
};

// Which of the dialing pad's three command buttons show.
struct PadButtonState
{
    bool dialVisible = true;    // "&DIAL"
    bool hangUpVisible = false; // "&HANG UP"
    bool okVisible = false;     // "&OK"

    friend bool operator==(const PadButtonState&, const PadButtonState&) = default;
};

// The dialing module: the one dial procedure every way of dialing ends in,
// the recent numbers, and the two waits that decide a modem call's outcome
// (connected after a quiet delay, or busy and redialed after a countdown).
// Every wait is a timer on the program's clock: line events and button clicks
// arrive while it runs and end it through BusyDetected and StopRequested.
// Dials that arrive while the dialer is busy with a fixed wait (touch tones,
// the pause before redialing over a placed call, the second after OK) are
// kept and dialed in turn.
class Dialer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRecentNumbersKept = 20;

    // The fixed waits (3 s before redialing over a call still marked placed,
    // 0.1 s / 2 s between touch tones, 1 s after OK).
    static constexpr double kPlacedCallPause = 3.0;
    static constexpr double kToneGap = 0.1;
    static constexpr double kCommaPause = 2.0;
    static constexpr double kAfterOkPause = 1.0;

    // `line`: where calls are placed and dropped; `translation`: the dialing
    // locations and number translation; `sound`: touch tones and the call's
    // sounds.
    Dialer(DialLine& line, LineTranslation& translation, SoundPlayer& sound,
           QObject* parent = nullptr);

    const ConnectWindowState& connectWindow() const { return m_window; }
    const PadButtonState& padButtons() const { return m_pad; }
    int redialCount() const { return m_redialCount; }
    const CurrentLocation& currentLocation() const { return m_location; }
    const QString& firstDialPiece() const { return m_firstPiece; }
    // The dial being made (or the last made): what was asked for, the dial
    // string and the number shown.
    const DialRequest& request() const { return m_request; }
    const QString& dialString() const { return m_dialString; }
    const QString& displayNumber() const { return m_displayNumber; }
    // True while touch tones of a dial without modem are still to play.
    bool playingTones() const { return m_toneWait.isActive(); }
    // True while a fixed wait holds new dials back (tones, pauses).
    bool holdingDials() const { return m_holdWait.isActive() || m_toneWait.isActive(); }

    // Newest first; the list grows while the program runs.
    const QStringList& recentNumbers() const { return m_recent; }
    // The newest kRecentNumbersKept of them: what a profile keeps.
    QStringList keptRecentNumbers() const { return m_recent.mid(0, kRecentNumbersKept); }
    void setRecentNumbers(const QStringList& numbers);

    // DialNumber: dials the number of `request` (see the .cpp for the steps).
    void dial(const DialRequest& request);
    // Puts `text` into the pad's number box (a number chosen elsewhere).
    void showInPad(const QString& text) { Q_EMIT padTextRequested(text); }
    void readLocationInfo();
    // Sets DialString and DisplayNumber (both empty when translation fails).
    void translateNumber(const QString& number);
    void placeCall();

    // The call progress window: shown (loaded first when it is not), closed.
    void showConnectWindow();
    void unloadConnectWindow();
    // A telephony error: busy picture, Hang Up, the captions given (a null
    // text leaves the label as it is), shown.
    void showCallError(const QString& frameCaption, const QString& text);

    void handleConnected();
    void handleBusy();
    // cmdCancel in the window and the pad's "&HANG UP".
    void hangUp();
    // CmdOK in the window and the pad's "&OK": the user has taken the call.
    void confirmCall();

    // Back to a fresh start (tests).
    void reset();

Q_SIGNALS:
    void connectWindowChanged();
    void padButtonsChanged();
    void recentNumbersChanged();
    // PlaceCall puts the newest recent number into the pad's number box.
    void padTextRequested(const QString& text);
    // A dial begins: the main window comes up, or is minimized first for a
    // number another program or a later start handed over.
    void mainWindowWanted(bool minimized);
    // The touch tones are over: the main window takes input again.
    void mainWindowReleased();
    // A call attempt is over: taken, busy for good, or hung up. The number
    // is the one the call showed.
    void callEnded(const telvaro::DialRequest& request, const QString& displayNumber,
                   telvaro::CallOutcome outcome);
    // A number is about to be dialed (an open entry editor closes).
    void dialStarting();
    // The user took a call to a directory entry: its memo pad opens.
    void memoRequested(const QString& entryKey);
    // The call is over and the line free: a waiting request of another
    // program may be taken.
    void readyForRequests();

private:
    void loadConnectWindow();
    void setWindow(const ConnectWindowState& next);
    void setPad(bool dial, bool hangUp, bool ok);
    void dialHeld();
    void dialNow();
    void dialWithoutModem(const QString& number);
    void nextTone();
    void afterHold();
    void finishConfirm();
    // The connection wait's look at the call: false when it is over (busy,
    // hung up, ended) and the wait gives way.
    bool connectionWaitGoesOn();
    void declareConnected();
    void redialCountdownTick();
    void redialNow();

    DialLine& m_line;
    Call& m_call;
    LineTranslation& m_translation;
    SoundPlayer& m_sound;
    ConnectWindowState m_window;
    PadButtonState m_pad;
    QStringList m_recent;
    CurrentLocation m_location;
    QString m_firstPiece;
    // The number as the user gave it (cleaned, before translation): what the
    // recent numbers keep, so that a redial dials what this dial did.
    QString m_givenNumber;
    int m_redialCount = 0;
    // Who the call in progress is for, as its dial gave it.
    struct CallParty
    {
        DialRequest request;
        QString displayNumber;
    };
    std::optional<CallParty> m_party;
    // The dial being made, its dial string and the number it shows.
    DialRequest m_request;
    QString m_dialString;
    QString m_displayNumber;
    // The call is over for the user: its party goes with `callEnded`.
    void endCall(CallOutcome outcome);
    // The connection wait (a newer one replaces it) and the busy countdown.
    ClockWait m_connectionWait{this};
    ClockWait m_redialWait{this};
    // Touch tones: the number, the next character, and whether the wait
    // running is the gap before a tone (else the tone itself).
    ClockWait m_toneWait{this, 5}; // short waits: looks often
    QString m_tones;
    qsizetype m_nextTone = 0;
    bool m_gapBeforeTone = false;
    // A fixed wait that holds dials back: before a dial over a placed call,
    // or after OK.
    enum class Hold { None, BeforeDial, AfterOk };
    ClockWait m_holdWait{this};
    Hold m_hold = Hold::None;
    std::optional<DialRequest> m_heldDial; // the dial the pause is before
    QList<DialRequest> m_waitingDials;     // dials that came meanwhile
};

} // namespace telvaro
