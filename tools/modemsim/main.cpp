// SPDX-License-Identifier: GPL-3.0-or-later
// telvaro-modemsim: a voice modem on a pseudo-terminal, for trying Telvaro
// without a modem and for its tests. It prints the device to open, answers
// V.250 commands as scripted by its options and logs every command it gets.

#include "ModemSim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {
volatile std::sig_atomic_t g_stop = 0;
}

using telvaro::modemsim::Modem;
using telvaro::modemsim::Script;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("telvaro-modemsim"));
    std::signal(SIGPIPE, SIG_IGN);

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "A voice modem on a pseudo-terminal. Prints the device to use as the modem's port,\n"
        "then answers AT commands until it is stopped."));
    p.addHelpOption();
    const QCommandLineOption log({"l", "log"}, "Append every command line received to FILE.",
                                 "FILE");
    const QCommandLineOption busy("busy", "The first N calls end BUSY.", "N", "0");
    const QCommandLineOption noDial("no-dialtone", "Every call ends NO DIALTONE.");
    const QCommandLineOption inUse("line-in-use", "Every dial is answered ERROR.");
    const QCommandLineOption conn("connect", "A data call is answered CONNECT.");
    const QCommandLineOption dialDelay(
        "dial-delay", "The result comes MS milliseconds after the last digit.", "MS", "200");
    const QCommandLineOption carrier(
        "carrier-wait", "A data call without CONNECT ends NO CARRIER after MS.", "MS", "30000");
    const QCommandLineOption incoming("incoming", "An incoming call every S seconds.", "S", "0");
    const QCommandLineOption first("first-call", "The first incoming call after MS milliseconds.",
                                   "MS", "-1");
    const QCommandLineOption rings("rings", "RINGs per incoming call.", "N", "3");
    const QCommandLineOption ringInterval("ring-interval", "Milliseconds between RINGs.", "MS",
                                          "6000");
    const QCommandLineOption cid("cid",
                                 "Caller ID report style: none, spaced (NMBR = ), compact (NMBR=),"
                                 " clip (+CLIP: after every RING), mesg (MESG = data block in"
                                 " hex).",
                                 "STYLE", "spaced");
    const QCommandLineOption cidCycle("cid-cycle",
                                      "Each incoming call takes the next caller ID style of the"
                                      " comma list, round and round.",
                                      "LIST");
    p.addOption(cidCycle);
    const QCommandLineOption cidNumber("cid-number", "Caller's number; P private, O unavailable.",
                                       "NUMBER", "5551234");
    const QCommandLineOption cidName("cid-name", "Caller's name (empty: none).", "NAME",
                                     "JOHN DOE");
    const QCommandLineOption cidAccept("cid-accept",
                                       "Caller ID switches accepted (comma list, e.g. AT#CID=1);"
                                       " default all.",
                                       "LIST");
    const QCommandLineOption silent("silent", "Never answer anything.");
    const QCommandLineOption silentAfter("silent-after", "Stop answering after N command lines.",
                                         "N", "-1");
    const QCommandLineOption garbage("garbage", "Answer every command with noise.");
    const QCommandLineOption garbageAfter("garbage-after", "Answer noise after N command lines.",
                                          "N", "-1");
    const QCommandLineOption hangup(
        "vanish-after", "Vanish like an unplugged modem after N command lines.", "N", "-1");
    const QCommandLineOption model("model", "The modem's name (ATI3, AT+GMM).", "TEXT");
    const QCommandLineOption link("link", "Also make PATH a symbolic link to the device.", "PATH");
    // Caller ID timing.
    const QCommandLineOption cidBeforeRing("cid-before-ring",
                                           "The caller ID report comes before the first RING.");
    const QCommandLineOption cidDelay(
        "cid-delay", "Milliseconds between a RING and its caller ID (or the report and the RING).",
        "MS", "0");
    p.addOption(cidBeforeRing);
    p.addOption(cidDelay);
    // Dialing in real time, and the modems that answer less commonly.
    const QCommandLineOption toneWait(
        "dial-tone-wait", "Milliseconds from off-hook until the dial tone is heard.", "MS", "1000");
    const QCommandLineOption refuse(
        "refuse",
        "Every dial is refused: delayed or blacklisted (a redialer's limits), or any other"
        " TEXT answered alone.",
        "HOW");
    const QCommandLineOption progress(
        "progress", "Report BUSY after a busy voice call's OK, as GSM modems do.");
    const QCommandLineOption busyDetect(
        "busy-detect", "Milliseconds after the OK until BUSY is reported.", "MS", "1500");
    const QCommandLineOption byNumber(
        "outcome-by-number",
        "The last digit of each number picks how its call ends: 1 busy once, 2 no dial tone,"
        " 3 refused (DELAYED), 4 line in use (ERROR), 5 no answer (NO CARRIER).");
    p.addOption(byNumber);
    const QCommandLineOption numeric("numeric", "The stored profile answers in digits (ATV0).");
    const QCommandLineOption ringIn("ring-in-command",
                                    "A RING arrives while command line N is answered.", "N", "-1");
    const QCommandLineOption maxLine(
        "max-line", "Refuse command lines longer than N characters after AT (0: any).", "N", "40");
    const QCommandLineOption outcomes(
        "outcomes",
        "How each call ends, one word per call (comma list): ok, busy, noanswer, nocarrier,"
        " delayed, error, connect, silent, or ok+RESULT (OK to the voice dial, then RESULT).",
        "LIST");
    const QCommandLineOption vcon("vcon", "A voice dial in +FCLASS=8 is answered VCON.");
    const QCommandLineOption cidUtf8("cid-utf8", "Caller names go out in UTF-8.");
    for (const auto* o : {&toneWait, &refuse, &progress, &busyDetect, &numeric, &ringIn, &maxLine,
                          &outcomes, &vcon, &cidUtf8})
        p.addOption(*o);
    for (const auto* o : {&log,          &busy,     &noDial,    &inUse,  &conn,         &dialDelay,
                          &carrier,      &incoming, &first,     &rings,  &ringInterval, &cid,
                          &cidNumber,    &cidName,  &cidAccept, &silent, &silentAfter,  &garbage,
                          &garbageAfter, &hangup,   &model,     &link})
        p.addOption(*o);
    p.process(app);

    auto toInt = [&](const QCommandLineOption& o) {
        bool ok = false;
        const int v = p.value(o).toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "telvaro-modemsim: --%s needs a number\n",
                         qPrintable(o.names().constLast()));
            std::exit(2);
        }
        return v;
    };

    Script s;
    s.logFile = p.value(log);
    s.busyDials = toInt(busy);
    s.noDialTone = p.isSet(noDial);
    s.lineInUse = p.isSet(inUse);
    s.connect = p.isSet(conn);
    s.dialDelayMs = toInt(dialDelay);
    s.carrierWaitMs = toInt(carrier);
    s.incomingEverySec = toInt(incoming);
    s.incomingFirstMs = toInt(first);
    s.rings = toInt(rings);
    s.ringIntervalMs = toInt(ringInterval);
    s.cidStyle = p.value(cid);
    if (!QStringList{"none", "spaced", "compact", "clip", "mesg"}.contains(s.cidStyle)) {
        std::fprintf(stderr, "telvaro-modemsim: unknown caller ID style %s\n",
                     qPrintable(s.cidStyle));
        return 2;
    }
    s.cidStyles = p.value(cidCycle).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& style : s.cidStyles) {
        if (!QStringList{"none", "spaced", "compact", "clip", "mesg"}.contains(style)) {
            std::fprintf(stderr, "telvaro-modemsim: unknown caller ID style %s\n",
                         qPrintable(style));
            return 2;
        }
    }
    s.cidNumber = p.value(cidNumber);
    s.cidName = p.value(cidName);
    if (p.isSet(cidAccept))
        s.cidAccept = p.value(cidAccept).split(QLatin1Char(','), Qt::SkipEmptyParts);
    s.silentAfter = p.isSet(silent) ? 0 : toInt(silentAfter);
    s.garbageAfter = p.isSet(garbage) ? 0 : toInt(garbageAfter);
    s.hangupAfter = toInt(hangup);
    if (p.isSet(model))
        s.modelName = p.value(model);
    s.link = p.value(link);
    s.cidBeforeRing = p.isSet(cidBeforeRing);
    s.cidDelayMs = toInt(cidDelay);
    s.dialToneWaitMs = toInt(toneWait);
    s.refuse = p.value(refuse);
    if (s.refuse.compare(QLatin1String("delayed"), Qt::CaseInsensitive) == 0 ||
        s.refuse.compare(QLatin1String("blacklisted"), Qt::CaseInsensitive) == 0)
        s.refuse = s.refuse.toLower();
    s.progressAfterOk = p.isSet(progress);
    s.outcomeByNumber = p.isSet(byNumber);
    s.busyDetectMs = toInt(busyDetect);
    s.numeric = p.isSet(numeric);
    s.ringInCommand = toInt(ringIn);
    s.maxLine = toInt(maxLine);
    s.outcomes = p.value(outcomes).split(QLatin1Char(','), Qt::SkipEmptyParts);
    s.vcon = p.isSet(vcon);
    s.cidUtf8 = p.isSet(cidUtf8);

    Modem modem(s);
    QString error;
    const QString device = modem.start(&error);
    if (device.isEmpty()) {
        std::fprintf(stderr, "telvaro-modemsim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(device));
    std::fflush(stdout);

    // Stop cleanly on SIGTERM / SIGINT so the link is removed.
    for (int sig : {SIGTERM, SIGINT})
        std::signal(sig, [](int) { g_stop = 1; });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [] {
        if (g_stop)
            QCoreApplication::exit(0);
    });
    poll.start(100);
    return app.exec();
}
