// SPDX-License-Identifier: GPL-3.0-or-later
// The SIP account passwords in a real keyring: gnome-keyring's Secret
// Service on a D-Bus session bus of the test's own (never the user's).

#include "common/TestEnv.h"
#include "core/telephony/sip/SipConfig.h"
#include "core/telephony/sip/SipPasswords.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace telvaro;
using namespace telvaro::test;

namespace {

// Answers the questions for a password as the test says, counting them.
struct ScriptedAsker final : SipPasswordAsker
{
    int asked = 0;
    QString why;
    std::optional<QString> typed;
    void askPassword(SipPasswords& passwords, const SipAccount& account, const QString& w) override
    {
        ++asked;
        why = w;
        passwords.answerAsked(account, typed);
    }
};

} // namespace

class TestSipKeyring : public QObject
{
    Q_OBJECT

    QTemporaryDir home; // the keyring's own files, apart from Telvaro's folders
    QProcess bus;
    QProcess keyring;

    static std::optional<QString> fetched(SipPasswords& passwords, const SipAccount& account)
    {
        std::optional<QString> out;
        bool done = false;
        QObject context;
        passwords.fetch(account, &context, [&](std::optional<QString> p) {
            out = p;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 10000))
            return QStringLiteral("<no answer>");
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // make deps installs both: CI must run this test.
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        const QString gnome =
            QStandardPaths::findExecutable(QStringLiteral("gnome-keyring-daemon"));
        QVERIFY2(!daemon.isEmpty() && !gnome.isEmpty(),
                 "dbus-daemon and gnome-keyring-daemon are needed (make deps)");
        bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                           QStringLiteral("--print-address=1")});
        QVERIFY(bus.waitForStarted(5000));
        QVERIFY(QTest::qWaitFor([this] { return bus.canReadLine(); }, 5000));
        const QByteArray address = bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());

        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromLatin1(address));
        keyring.setProcessEnvironment(env);
        keyring.start(gnome, {QStringLiteral("--foreground"),
                              QStringLiteral("--components=secrets"), QStringLiteral("--unlock")});
        QVERIFY(keyring.waitForStarted(5000));
        keyring.write("keyring-password");
        keyring.closeWriteChannel();
        // This process talks to the test's bus from now on.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
        QTest::qWait(500);
    }

    void cleanupTestCase()
    {
        for (QProcess* p : {&keyring, &bus}) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(3000);
        }
    }

    // A password stored from a dialog is found again by the next run in the
    // keyring, without asking, and is in none of Telvaro's files.
    void storedPasswordComesBackFromTheKeyring()
    {
        TestEnv env;
        ScriptedAsker asker; // refuses
        auto passwords = std::make_unique<SipPasswords>(&asker);
        SipAccount account;
        account.name = QStringLiteral("Desk phone");
        account.user = QStringLiteral("201");
        account.domain = QStringLiteral("example.com");
        QString error = QStringLiteral("<none>");
        QObject context;
        passwords->store(account, QStringLiteral("k3yring-only"), &context,
                         [&](QString e) { error = e; });
        QTRY_VERIFY_WITH_TIMEOUT(error != QLatin1String("<none>"), 10000);
        QCOMPARE(error, QString());

        passwords = std::make_unique<SipPasswords>(&asker); // the next run
        QCOMPARE(fetched(*passwords, account),
                 std::optional<QString>(QStringLiteral("k3yring-only")));
        QCOMPARE(asker.asked, 0);
        QVERIFY(!passwords->keyringMissing());

        // Another account has none there: the user is asked, and told why.
        SipAccount other = account;
        other.user = QStringLiteral("202");
        asker.typed = QStringLiteral("typed");
        QCOMPARE(fetched(*passwords, other), std::optional<QString>(QStringLiteral("typed")));
        QVERIFY(asker.why.contains(QStringLiteral("The keyring holds no password")));

        for (const QString& dir : {env.configDir(), env.dataDir()}) {
            QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                QVERIFY2(!TestEnv::readFile(path).contains("k3yring-only"), qPrintable(path));
            }
        }
    }
};

QTEST_MAIN(TestSipKeyring)
#include "test_sipkeyring.moc"
