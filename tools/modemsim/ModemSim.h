// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QSocketNotifier;
class QTimer;

namespace telvaro::modemsim {

// What the simulated modem does, set from the command line.
struct Script
{
    QString logFile;           // every command line received, one a line
    int busyDials = 0;         // the first N calls end BUSY
    bool noDialTone = false;   // every call ends NO DIALTONE
    bool lineInUse = false;    // every dial is answered ERROR
    bool connect = false;      // a data call is answered CONNECT
    int dialDelayMs = 200;     // how long dialing takes before the result
    int carrierWaitMs = 30000; // a data call without CONNECT ends NO CARRIER after this
    int incomingEverySec = 0;  // an incoming call every S seconds (0: none)
    int incomingFirstMs = -1;  // the first incoming call after this (default: S seconds)
    int rings = 3;             // RINGs per incoming call
    int ringIntervalMs = 6000;
    QString cidStyle = QStringLiteral("spaced"); // none, spaced, compact, clip
    QStringList cidStyles; // when set, each incoming call takes the next style of the list
    QString cidNumber = QStringLiteral("5551234");
    QString cidName = QStringLiteral("JOHN DOE");
    QStringList cidAccept; // caller ID switches the modem accepts
    int silentAfter = -1;  // answer nothing after N command lines (0: never answer)
    int garbageAfter = -1; // answer noise after N command lines
    int hangupAfter = -1;  // vanish (close the pty) after N command lines
    QString modelName = QStringLiteral("Telvaro Simulated Voice Modem");
    QString link; // a symbolic link to the pty's device

    // Caller ID timing, as exchanges and modems differ.
    bool cidBeforeRing = false; // the report comes before the first RING
    int cidDelayMs = 0;         // between the RING and its report (or report and RING)
    // Dialing as long as on a telephone line, and the less common answers.
    int dialToneWaitMs = 1000;    // from off-hook until the dial tone is heard
    QString refuse;               // every dial answered DELAYED, BLACKLISTED or this line alone
    bool progressAfterOk = false; // a busy voice call reports BUSY after the dial's OK
    // The last digit of each number dialed picks how that call ends: 1 busy
    // the first time (answered when redialed), 2 no dial tone, 3 refused
    // (DELAYED), 4 the line in use (ERROR), 5 no answer (NO CARRIER).
    bool outcomeByNumber = false;
    int busyDetectMs = 1500;      // how long the busy signal takes to recognise
    bool numeric = false;         // the stored profile answers in digits (V0)
    int ringInCommand = -1;       // RING arrives while command line N is answered
    int maxLine = 40;             // longest command line taken, after "AT" (0: any)
    // What each call ends in, one word per call in order (later calls: the
    // plain behaviour): ok, busy, noanswer, nocarrier, delayed, error,
    // connect, silent (the modem stops answering), or ok+RESULT (the voice
    // dial's OK, then RESULT a --busy-detect time later).
    QStringList outcomes;
    bool vcon = false;    // a voice dial in +FCLASS=8 is answered VCON, not OK
    bool cidUtf8 = false; // caller names go out in UTF-8 (else Windows-1252)
};

// A voice modem on the master side of a pseudo-terminal.
class Modem : public QObject
{
    Q_OBJECT

public:
    explicit Modem(Script script, QObject* parent = nullptr);
    ~Modem() override;

    // Opens the pseudo-terminal; returns the slave's path, empty on failure.
    QString start(QString* error);

private:
    enum class DialState { None, Dialing, WaitingCarrier };

    void onReadable();
    void handleLine(const QByteArray& line);
    void execute(const QByteArray& commandLine);
    bool executeBasic(const QByteArray& body, QByteArray* error);
    void dial(const QByteArray& rest);
    void finishDial();
    void abortDial();
    void result(const char* verbose, int numeric);
    void send(const QByteArray& text);
    void sendLine(const QByteArray& text);
    void startIncoming();
    void ring();
    void sendCallerId();
    void callerIdAfterRing();
    QByteArray messageBlock() const;
    void log(const QByteArray& line);
    void vanish();
    int dialDurationMs(const QByteArray& rest) const;
    void reportProgress();
    QString outcomeOfCall() const;
    void voiceDialDone();
    void endCall(const char* verbose, int numeric);
    void goOnline();
    void onControl();
    void onlineData(const char* data, qsizetype size);
    QByteArray nameBytes() const;

    Script m_s;
    int m_master = -1;
    int m_slaveHold = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_dialTimer = nullptr;
    QTimer* m_carrierTimer = nullptr;
    QTimer* m_incomingTimer = nullptr;
    QTimer* m_ringTimer = nullptr;
    QTimer* m_progressTimer = nullptr;
    QTimer* m_lateTimer = nullptr;   // the result that follows a voice dial's OK
    QTimer* m_escapeTimer = nullptr; // the guard time after "+++"
    QSocketNotifier* m_control = nullptr;
    QByteArray m_controlInput;
    QMap<int, int> m_sreg; // S registers set by ATSn=v
    QFile m_log;
    QByteArray m_input;
    int m_commandLines = 0;

    // Modem state.
    bool m_echo = true;
    bool m_verbose = true;
    bool m_quiet = false;
    bool m_offHook = false;
    bool m_callerId = false;
    int m_calls = 0; // calls dialed (a call ends with the dial without ";")
    bool m_callStarted = false;
    QByteArray m_number;         // the digits of the last dial
    QSet<QByteArray> m_busyOnce; // numbers that were busy once
    DialState m_dial = DialState::None;
    bool m_dialVoice = false;
    int m_ringsLeft = 0;
    bool m_firstRingOfCall = false;
    bool m_crc = false; // AT+CRC=1: rings as +CRING:
    bool m_fclass8 = false;
    bool m_online = false; // connected: what comes is data until "+++"
    bool m_mute = false;   // told to go silent: no echo, no answer
    int m_plus = 0;        // "+" of an escape so far
    qint64 m_lastData = 0; // when the last data byte came (ms)
    QByteArray m_lateResult;
    int m_lateNumeric = 0;
};

} // namespace telvaro::modemsim
