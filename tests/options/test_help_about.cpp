// SPDX-License-Identifier: GPL-3.0-or-later
// The help window with Telvaro's own pages, and the about box.

#include "app/ProgramParts.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "gui/shell/FrmAbout.h"
#include "gui/shell/HelpWindow.h"
#include "gui/shell/TrayIcon.h"

#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

using namespace telvaro;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

// Stands in for the desktop's handlers of web and mail links.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

class TestHelpAbout : public QObject
{
    Q_OBJECT

    UrlCatcher urls;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(scheme, &urls, "open");
    }

    void cleanupTestCase()
    {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init() { urls.opened.clear(); }

    void everyTopicHasAPageAndEveryLinkLeadsSomewhere()
    {
        QStringList names;
        for (const auto& topic : HelpWindow::topics())
            names << topic.first;
        for (const QString& name : names) {
            QFile page(":/help/" + name + ".html");
            QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(name));
            const QString html = QString::fromUtf8(page.readAll());
            QVERIFY2(html.size() > 600, qPrintable(name + " is too short to help"));
            static const QRegularExpression link("href=\"([^\":#]+)");
            for (const auto& m : link.globalMatch(html))
                QVERIFY2(names.contains(m.captured(1)), qPrintable(name + " -> " + m.captured(1)));
            static const QRegularExpression image("src=\"([^\"]+)");
            for (const auto& m : image.globalMatch(html))
                QVERIFY2(!QImage(m.captured(1)).isNull(), qPrintable(m.captured(1)));
        }
        // The topics the program promises.
        for (const char* required :
             {"getting-started", "directory", "dialing-modem", "dialing-tones", "redial", "logs",
              "profiles", "options", "modems"})
            QVERIFY(names.contains(required));
    }

    void helpOpensOnATopicAndFollowsLinks()
    {
        ProgramParts parts;
        parts.showHelp();
        HelpWindow& help = *parts.helpWindow();
        QVERIFY(help.isVisible());
        QCOMPARE(help.windowTitle(), QString("Telvaro Help"));
        QCOMPARE(help.currentTopic(), QString("contents"));

        parts.showHelpTopic("options");
        QCOMPARE(help.currentTopic(), QString("options"));
        QVERIFY(help.findChild<QTextBrowser*>("txtPage")->toPlainText().contains(
            "Enable Automatic Redial"));
        QCOMPARE(help.findChild<QListWidget*>("lstContents")->currentItem()->text(),
                 QString("Options"));

        Q_EMIT help.findChild<QTextBrowser*>("txtPage")->anchorClicked(QUrl("redial"));
        QCOMPARE(help.currentTopic(), QString("redial"));
        help.findChild<QListWidget*>("lstContents")->setCurrentRow(1);
        QCOMPARE(help.currentTopic(), QString("getting-started"));
        parts.showHelpTopic("no-such-topic");
        QCOMPARE(help.currentTopic(), QString("contents"));

        Q_EMIT help.findChild<QTextBrowser*>("txtPage")->anchorClicked(
            QUrl("https://example.org/x"));
        QCOMPARE(urls.opened, QList<QUrl>{QUrl("https://example.org/x")});
        QCOMPARE(parts.helpWindow(), &help); // one window, reused
        help.close();
    }

    void aboutBoxCaptionsLinksAndSystemInformation()
    {
        ScriptedPrompter prompts;
        FrmAbout about(prompts);
        auto label = [&about](const char* name) { return about.findChild<QLabel*>(name); };
        auto button = [&about](const char* name) { return about.findChild<QPushButton*>(name); };
        QCOMPARE(about.windowTitle(), QString("About Telvaro"));
        QVERIFY(label("LblVer")->text().startsWith("Version 3.7 "));
        QVERIFY(label("LblAbout")->text().startsWith("OS:   "));
        QCOMPARE(label("Label1")->text(), QString("Please send comments to:"));
        QCOMPARE(about.findChild<QGroupBox*>("Frame1")->title(), QString("WARNING:"));
        QCOMPARE(button("cmdSysInfo")->text(), QString("&System Info..."));
        QCOMPARE(label("Text1")->toolTip(), QString("Click to start message"));
        QCOMPARE(label("txtPrimary")->toolTip(), QString("Click to go to web site"));
        QCOMPARE(label("txtSecondary")->toolTip(), QString("Click to go to web site"));
        QVERIFY(button("cmdOK")->isDefault());

        Q_EMIT label("Text1")->linkActivated(FrmAbout::kCommentsAddress);
        Q_EMIT label("txtPrimary")->linkActivated(FrmAbout::kPrimarySite);
        Q_EMIT label("txtSecondary")->linkActivated(FrmAbout::kSecondarySite);
        QCOMPARE(urls.opened,
                 (QList<QUrl>{QUrl("mailto:" + FrmAbout::kCommentsAddress),
                              QUrl(FrmAbout::kPrimarySite), QUrl(FrmAbout::kSecondarySite)}));

        TestEnv env;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(env.root()));
        button("cmdSysInfo")->click();
        qputenv("PATH", oldPath);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0].text,
                 QString("System Information Is Unavailable At This Time"));

        const QString shots = qEnvironmentVariable("TELVARO_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            about.show();
            QApplication::processEvents();
            QVERIFY(about.grab().save(shots + "/about.png"));
            ProgramParts parts;
            HelpWindow& help = parts.showHelpTopic("getting-started");
            QApplication::processEvents();
            QVERIFY(help.grab().save(shots + "/help.png"));
        }
    }

    void iconsRenderAtTrayAndWindowSizes()
    {
        for (const QIcon& icon : {programIcon(), phoneOnIcon()}) {
            for (int size : {16, 22, 32, 48, 128}) {
                const QImage image = icon.pixmap(size, size).toImage();
                QCOMPARE(image.width(), size);
                // Not blank: the picture covers most of the square.
                int opaque = 0;
                for (int y = 0; y < size; ++y)
                    for (int x = 0; x < size; ++x)
                        opaque += qAlpha(image.pixel(x, y)) > 128;
                QVERIFY(opaque > size * size / 2);
            }
        }
    }
};

QTEST_MAIN(TestHelpAbout)
#include "test_help_about.moc"
