// SPDX-License-Identifier: GPL-3.0-or-later
// How long the main window stops answering while it dials: the longest gap
// between the ticks of a 1 ms timer during a 20-digit dial through the sound
// card, and during a busy call redialed against telvaro-modemsim on a
// pseudo-terminal. The real main window, pad, sound player and line layer.

#include "../tests/telephony/SimModem.h"

#include "app/FrmDialer.h"
#include "common/CountingEnder.h"
#include "common/TestEnv.h"
#include "settings/Cp1252.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

using namespace telvaro;
using namespace telvaro::test;

namespace {

// Runs the event loop with a 1 ms timer until `done` holds or `limitMs`
// passes; `start` runs from inside the loop once it turns. Returns the
// longest gap between two ticks in milliseconds.
template <typename Start, typename Done> double longestStall(Start start, Done done, int limitMs)
{
    QEventLoop loop;
    QElapsedTimer since;
    QElapsedTimer total;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        longest = std::max(longest, since.nsecsElapsed());
        if (done() || total.elapsed() > limitMs)
            loop.quit();
        since.restart(); // the bench's own look is no stall of the program
    });
    QTimer::singleShot(0, &loop, [&] {
        since.start();
        total.start();
        tick.start();
        start();
        longest = std::max(longest, since.nsecsElapsed());
        since.restart();
    });
    loop.exec();
    return double(longest) / 1e6;
}

// The program started on a settings file with these preferences.
std::unique_ptr<FrmDialer> startProgram(const TestEnv& env, const QByteArray& preferences)
{
    TestEnv::writeFile(env.settingsFile(), cp1252::encode(settings::kHeader) +
                                               "\r\n\r\n[Preferences]\r\n" + preferences);
    static CountingEnder ender;
    auto window = std::make_unique<FrmDialer>(ender);
    window->formLoad(QString());
    return window;
}

void dialFromThePad(FrmDialer& window, const QString& number)
{
    window.findChild<QLineEdit*>(QStringLiteral("txtDial"))->setText(number);
    window.findChild<QPushButton*>(QStringLiteral("CmdDial"))->click();
}

void finish(std::unique_ptr<FrmDialer>& window)
{
    window->exitProgram(FrmDialer::ExitMode::NoQuestions);
    window.reset();
    resetProgram();
}

// Twenty touch tones through the sound card (the program's own player: a
// machine without a sound device keeps each tone's time).
void BM_StallSoundCardDial(benchmark::State& st)
{
    for (auto _ : st) {
        TestEnv env;
        resetProgram();
        auto window = startProgram(env, "UseModem=0\r\n");
        QElapsedTimer elapsed;
        const double stall = longestStall(
            [&] {
                elapsed.start();
                dialFromThePad(*window, QStringLiteral("12345678901234567890"));
            },
            // 20 tones of about 0.11 s, each after 0.1 s.
            [&] { return elapsed.isValid() && elapsed.elapsed() > 5500; }, 8000);
        st.counters["longest_stall_ms"] = stall;
        finish(window);
    }
}
BENCHMARK(BM_StallSoundCardDial)->Unit(benchmark::kMillisecond)->Iterations(1);

// A busy number redialed after 1 s and then connected (delay timer 1 s),
// against the modem simulator.
void BM_StallBusyRedial(benchmark::State& st)
{
    for (auto _ : st) {
        TestEnv env;
        resetProgram();
        SimModem sim({QStringLiteral("--outcomes"), QStringLiteral("busy,ok"),
                      QStringLiteral("--busy-detect"), QStringLiteral("400")});
        if (!sim.started()) {
            st.SkipWithError("the modem simulator did not start");
            return;
        }
        auto window = startProgram(env, "UseModem=1\r\nBusy Delay Timer=1\r\nDialing Mode=0\r\n"
                                        "Redial Enabled=1\r\nRedials Number=3\r\n"
                                        "Interval Minutes=0\r\nInterval Seconds=1\r\n");
        QElapsedTimer connected;
        QElapsedTimer looked;
        looked.start();
        const double stall = longestStall(
            [&] { dialFromThePad(*window, QStringLiteral("5550101")); },
            [&] {
                // Done 2.5 s after the redial (the modem's log read now and then).
                if (!connected.isValid() && looked.elapsed() > 100) {
                    looked.restart();
                    if (sim.log().filter(QRegularExpression(QStringLiteral("^ATD"))).size() >= 2)
                        connected.start();
                }
                return connected.isValid() && connected.elapsed() > 2500;
            },
            20000);
        if (!connected.isValid())
            st.SkipWithError("the redial never came");
        st.counters["longest_stall_ms"] = stall;
        finish(window);
    }
}
BENCHMARK(BM_StallBusyRedial)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    if (qEnvironmentVariableIsEmpty("TELVARO_BUILD_DIR"))
        qputenv("TELVARO_BUILD_DIR", TELVARO_BUILD_DIR_DEFAULT);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
