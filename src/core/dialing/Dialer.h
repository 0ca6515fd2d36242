#pragma once

#include "core/dialing/DialRequest.h"
#include "core/dialing/NumberTranslation.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
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
    QString cancelCaption = QStringLiteral("&Hang Up");
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
// The waits sleep in a local event loop, so line events and button clicks run
// inside them and end them through BusyDetected and StopRequested.
class Dialer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRecentNumbersKept = 20;

    // What the dial procedure needs of the main window; filled by the windows.
    struct MainWindowHooks
    {
        std::function<void()> minimize;
        std::function<bool()> isMinimized;
        std::function<void(bool)> setEnabled;
    };
    MainWindowHooks mainWindow;

    // The fixed waits that process nothing (3 s before redialing over a call
    // still marked placed, 0.1 s / 2 s between touch tones, 1 s after OK).
    // Tests may shorten them.
    std::function<void(double seconds)> pause;

    Dialer();

    const ConnectWindowState& connectWindow() const { return m_window; }
    const PadButtonState& padButtons() const { return m_pad; }
    int redialCount() const { return m_redialCount; }
    bool connectedShown() const { return m_connectedShown; }
    const CurrentLocation& currentLocation() const { return m_location; }
    const QString& firstDialPiece() const { return m_firstPiece; }

    // Newest first; the list grows while the program runs.
    const QStringList& recentNumbers() const { return m_recent; }
    void setRecentNumbers(const QStringList& numbers);

    // Dials the number of `request` (see dialNumber for the steps).
    void dial(const DialRequest& request);
    // DialNumber: dials PendingNumber (see the .cpp for the steps).
    void dialNumber();
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
    // A number is about to be dialed (an open entry editor closes).
    void dialStarting();
    // The user took a call to a directory entry: its memo pad opens.
    void memoRequested(const QString& entryKey);

private:
    void loadConnectWindow();
    void setWindow(const ConnectWindowState& next);
    void setPad(bool dial, bool hangUp, bool ok);
    void dialWithoutModem(const QString& number);
    // Sleeps in the event loop for at most `ms`, running what arrives.
    static void processEventsFor(int ms);
    static double secondsSince(std::chrono::steady_clock::time_point start);

    ConnectWindowState m_window;
    PadButtonState m_pad;
    QStringList m_recent;
    CurrentLocation m_location;
    QString m_firstPiece;
    // The number as the user gave it (cleaned, before translation): what the
    // recent numbers keep, so that a redial dials what this dial did.
    QString m_givenNumber;
    int m_redialCount = 0;
    bool m_connectedShown = false;
    // Who the call in progress is for, as its dial gave it.
    struct CallParty
    {
        QString name;
        QString displayNumber;
        QString entryKey;
    };
    std::optional<CallParty> m_party;
    quint64 m_waitToken = 0; // a connection wait gives way when a newer one starts
};

Dialer& dialer();

// Fills the dialing seams (dialNumber, showConnectWindow, handleConnected,
// handleBusy, showCallError, recentNumbers, setRecentNumbers) and the call log
// seams.
void installDialing();

} // namespace telvaro
