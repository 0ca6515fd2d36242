// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestEnv.h"
#include "platform/SingleInstance.h"
#include "settings/Cp1252.h"
#include "settings/SettingsFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace telvaro;
using telvaro::test::TestEnv;

namespace {

QString program()
{
    return test::buildDir() + QStringLiteral("/telvaro");
}

QByteArray header()
{
    return cp1252::encode(settings::kHeader) + "\r\n\r\n";
}

// Runs a blocking send on another thread while this one serves the socket.
template <typename F> auto offThread(F f)
{
    using R = decltype(f());
    R result{};
    bool done = false;
    std::thread t([&] {
        result = f();
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    t.join();
    return result;
}

bool waitForFile(const QString& path, const QByteArray& prefix, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (TestEnv::readFile(path).startsWith(prefix) &&
            QFileInfo::exists(SingleInstance::socketPath()))
            return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageLayout()
    {
        QCOMPARE(SingleInstance::encodeMessage(1, QString()),
                 QByteArray("\x01\0\0\0\x01\0\0\0\0", 9));
        QCOMPARE(SingleInstance::encodeMessage(3, QStringLiteral("55\u00e9")),
                 QByteArray("\x03\0\0\0\x04\0\0\0"
                            "55\xE9\0",
                            12));
        // Texts are cut to 254 characters: 255 bytes with the NUL.
        const QByteArray longMessage =
            SingleInstance::encodeMessage(3, QString(300, QLatin1Char('7')));
        QCOMPARE(longMessage.size(), 8 + 255);
        QCOMPARE(longMessage.mid(4, 4), QByteArray("\xFF\0\0\0", 4));
        QVERIFY(longMessage.endsWith(QByteArray(1, '\0')));
    }

    void secondClaimFindsTheFirstAndHandsItsText()
    {
        TestEnv env;
        SingleInstance first;
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        SingleInstance second;
        QCOMPARE(second.claim(), SingleInstance::Claim::Second);
        QVERIFY(!second.isListening());

        QVERIFY(offThread([] { return SingleInstance::send(QStringLiteral("5551234")); }));
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toInt(), 3);
        QCOMPARE(received.at(0).at(1).toString(), QString("5551234"));

        QVERIFY(offThread([] { return SingleInstance::send(QString()); }));
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received.at(1).at(0).toInt(), 1);
        QCOMPARE(received.at(1).at(1).toString(), QString());

        const QString exact(254, QLatin1Char('1'));
        QVERIFY(offThread([&] { return SingleInstance::send(exact + QStringLiteral("999")); }));
        QTRY_COMPARE(received.size(), 3);
        QCOMPARE(received.at(2).at(1).toString(), exact);
    }

    void badMessagesAreDroppedAndTheServerGoesOn()
    {
        TestEnv env;
        SingleInstance first;
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        // A byte count beyond any message of ours.
        const bool answered = offThread([] {
            QLocalSocket s;
            s.connectToServer(SingleInstance::socketPath());
            if (!s.waitForConnected(1000))
                return true;
            QByteArray m("\x03\0\0\0\xFF\xFF\xFF\x7F", 8);
            s.write(m + QByteArray(64, 'x'));
            s.waitForBytesWritten(1000);
            return s.waitForReadyRead(1000) && s.bytesAvailable() > 0;
        });
        QVERIFY(!answered);

        // Text after a NUL is not taken; an unknown tag arrives as it is.
        QVERIFY(offThread([] {
            return SingleInstance::sendMessage(3, QByteArray("123\0"
                                                             "456\0",
                                                             8));
        }));
        QVERIFY(offThread([] { return SingleInstance::sendMessage(9, QByteArray("x\0", 2)); }));
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received.at(0).at(1).toString(), QString("123"));
        QCOMPARE(received.at(1).at(0).toInt(), 9);
    }

    void staleSocketIsRemoved()
    {
        TestEnv env;
        // A socket file left behind by a crashed instance: nobody listens.
        const QByteArray path = QFile::encodeName(SingleInstance::socketPath());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, path.constData(), sizeof(addr.sun_path) - 1);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(SingleInstance::socketPath()));

        SingleInstance first;
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        first.release();
        QVERIFY(!QFileInfo::exists(SingleInstance::socketPath()));
        QVERIFY(!SingleInstance::send(QStringLiteral("1")));
    }

    // ---- the real program ----

    void versionAndHelp()
    {
        QProcess p;
        p.start(program(), {QStringLiteral("--version")});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput(), QByteArray("Telvaro " TELVARO_VERSION "\n"));

        p.start(program(), {QStringLiteral("--help")});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().startsWith("Usage: telvaro"));

        p.start(program(), {QStringLiteral("--frobnicate")});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 2);
    }

    void freshStartAndTerminationWriteTheSettingsFile_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void freshStartAndTerminationWriteTheSettingsFile()
    {
        QFETCH(int, signalNumber);
        TestEnv env;
        QProcess p;
        p.start(program(), {});
        QVERIFY(p.waitForStarted());
        QVERIFY(waitForFile(env.settingsFile(), header()));
        QCOMPARE(TestEnv::readFile(env.settingsFile()), header());

        ::kill(pid_t(p.processId()), signalNumber);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(TestEnv::readFile(env.settingsFile()),
                 header() +
                     "[Last Dialed Numbers]\r\nCount= 0\r\n[Preferences]\r\nCall Display=0\r\n");
        QVERIFY(!QFileInfo::exists(SingleInstance::socketPath()));
    }

    void laterStartHandsItsNumberToTheRunningOne()
    {
        TestEnv env;
        SingleInstance first;
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        for (const auto& [argument, tag, text] :
             {std::tuple{QStringLiteral("/5551234"), 3, QStringLiteral("5551234")},
              std::tuple{QString(), 1, QString()},
              std::tuple{QStringLiteral("tel:+1%20555%20123"), 3, QStringLiteral("+1 555 123")}}) {
            received.clear();
            QProcess p;
            QElapsedTimer t;
            t.start();
            p.start(program(), argument.isEmpty() ? QStringList() : QStringList{argument});
            QVERIFY(p.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, 5000);
            QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
            QCOMPARE(p.exitCode(), 0);
            QTRY_COMPARE(received.size(), 1);
            QCOMPARE(received.at(0).at(0).toInt(), tag);
            QCOMPARE(received.at(0).at(1).toString(), text);
        }
        // The later start never touched the settings file.
        QVERIFY(!QFileInfo::exists(env.settingsFile()));
    }

    // A first instance that is busy longer than a later start waits: the
    // later start reports its failure, and the number it gave up on is not
    // dialed when the first instance gets to it. One answered in time is
    // acted on once.
    void laterStartThatGivesUpIsNeverActedOn()
    {
        TestEnv env;
        SingleInstance first;
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        QProcess late;
        late.start(program(), {QStringLiteral("/5551234")});
        QVERIFY(late.waitForStarted());
        // Stalls past the later start's wait without turning the event loop.
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        QVERIFY(late.waitForFinished(5000));
        QCOMPARE(late.exitCode(), 1);
        QVERIFY(late.readAllStandardError().contains("did not answer"));
        QTest::qWait(500);
        QCOMPARE(received.size(), 0);

        // The same exchange done by hand, stopped after the answer: nothing
        // is acted on without the confirmation.
        const QByteArray answer = offThread([] {
            QLocalSocket s;
            s.connectToServer(SingleInstance::socketPath());
            if (!s.waitForConnected(1000))
                return QByteArray();
            s.write(SingleInstance::encodeMessage(SingleInstance::kDialTag, "777"));
            s.waitForBytesWritten(1000);
            s.waitForReadyRead(1000);
            return s.readAll();
        });
        QCOMPARE(answer, QByteArray(1, SingleInstance::kAck));
        QTest::qWait(300);
        QCOMPARE(received.size(), 0);

        QVERIFY(offThread([] { return SingleInstance::send(QStringLiteral("5551234")); }));
        QTRY_COMPARE(received.size(), 1);
        QTest::qWait(300);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(1).toString(), QString("5551234"));
    }

    void twoRealStarts()
    {
        TestEnv env;
        QProcess first;
        first.start(program(), {});
        QVERIFY(first.waitForStarted());
        QVERIFY(waitForFile(env.settingsFile(), header()));

        QProcess second;
        QElapsedTimer t;
        t.start();
        second.start(program(), {QStringLiteral("/5551234")});
        QVERIFY(second.waitForFinished(5000));
        QVERIFY(t.elapsed() < 2000);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        ::kill(pid_t(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitCode(), 0);
    }

    void simultaneousStartsGiveOneFirstInstance()
    {
        TestEnv env;
        constexpr int kStarts = 4;
        std::vector<std::unique_ptr<QProcess>> starts;
        for (int i = 0; i < kStarts; ++i) {
            starts.push_back(std::make_unique<QProcess>());
            starts.back()->start(program(), {});
        }
        // All but one end on their own, with status 0.
        QElapsedTimer t;
        t.start();
        auto running = [&] {
            int n = 0;
            for (auto& p : starts)
                n += p->state() != QProcess::NotRunning;
            return n;
        };
        while (running() > 1 && t.elapsed() < 10000)
            QTest::qWait(50);
        QTest::qWait(500);
        QCOMPARE(running(), 1);
        for (auto& p : starts) {
            if (p->state() == QProcess::NotRunning) {
                QCOMPARE(p->exitCode(), 0);
            } else {
                ::kill(pid_t(p->processId()), SIGTERM);
                QVERIFY(p->waitForFinished(10000));
                QCOMPARE(p->exitCode(), 0);
            }
        }
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
