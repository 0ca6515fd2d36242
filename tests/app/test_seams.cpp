// Every seam of the running program has a provider once all its parts are
// installed: an empty seam is a feature that silently does nothing.

#include "app/FrmDialer.h"
#include "settings/OptionsStore.h"
#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using namespace telvaro;

class TestSeams : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySeamHasAProvider()
    {
        test::TestEnv env;
        test::ScriptedPrompter prompts;
        resetState();
        options().resetToDesigned();
        seams() = {};

        // The seams as declared; a seam added there must be listed below.
        QFile header(test::sourceDir() + "/src/core/common/Seams.h");
        QVERIFY(header.open(QIODevice::ReadOnly));
        QStringList declared;
        // A member may be wrapped over lines; comments hold no declarations.
        QString text = QString::fromUtf8(header.readAll());
        text.remove(QRegularExpression(R"(//[^\n]*)"));
        const QRegularExpression seam(R"(std::function<[^;{}]*>\s+(\w+)\s*;)");
        for (auto it = seam.globalMatch(text); it.hasNext();)
            declared << it.next().captured(1);
        QVERIFY(declared.size() > 40);

        // The real program's parts, installed by its main window.
        FrmDialer window;
        const Seams& s = seams();
        // clang-format off
#define SEAM(name) {QStringLiteral(#name), bool(s.name)}
        const QList<QPair<QString, bool>> all = {
            SEAM(initializeTelephony), SEAM(shutdownTelephony), SEAM(cleanUpStaleSession),
            SEAM(queryLineDevice), SEAM(fillLineDeviceList), SEAM(openLine), SEAM(closeLine),
            SEAM(lineIsOpen), SEAM(lineReceiving), SEAM(dropCall), SEAM(makeCall),
            SEAM(dialNextPart), SEAM(releaseCall), SEAM(showModemProperties),
            SEAM(showSystemModems), SEAM(showDialingProperties), SEAM(logIncomingCall),
            SEAM(showCallDisplay), SEAM(closeCallDisplay), SEAM(processCallRequest), SEAM(hook),
            SEAM(unhook), SEAM(registerRequestRecipient),
            SEAM(dialNumber), SEAM(showConnectWindow), SEAM(handleConnected), SEAM(handleBusy),
            SEAM(showCallError), SEAM(recentNumbers), SEAM(setRecentNumbers), SEAM(setDialText),
            SEAM(showOptions), SEAM(applyPreferences), SEAM(trayAdd), SEAM(trayModify),
            SEAM(trayDelete), SEAM(restoreMainWindow), SEAM(mainWindowResized), SEAM(showHelp),
            SEAM(showAbout), SEAM(appendOutgoingRecord), SEAM(appendIncomingRecord),
            SEAM(mainWindow), SEAM(setReceiveMenuCaption), SEAM(setIncomingLogMenusEnabled),
            SEAM(exitProgram),
        };
        // clang-format on
#undef SEAM
        QStringList listed;
        QStringList empty;
        for (const auto& [name, filled] : all) {
            listed << name;
            if (!filled)
                empty << name;
        }
        QStringList unlisted;
        for (const QString& name : declared)
            if (!listed.contains(name))
                unlisted << name;
        QVERIFY2(unlisted.isEmpty(), qPrintable("not checked here: " + unlisted.join(", ")));
        QVERIFY2(empty.isEmpty(), qPrintable("no provider: " + empty.join(", ")));
    }
};

QTEST_MAIN(TestSeams)
#include "test_seams.moc"
