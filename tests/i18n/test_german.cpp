// SPDX-License-Identifier: GPL-3.0-or-later
// Telvaro on a German desktop: the program's translation and Qt's own are
// loaded for the locale, and the main window speaks German.
#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "app/Translations.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace telvaro;

class TestGerman : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindowSpeaksGerman()
    {
        test::TestEnv env;
        test::ScriptedPrompter prompts;
        options().resetToDesigned();
        ProgramParts parts(nullptr, PartDoubles{.prompter = &prompts});
        FrmDialer window(&parts);
        window.show();

        QStringList titles;
        for (QAction* a : window.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "E&xtras", "&Hilfe"}));
        QStringList file;
        for (QAction* a : window.menuBar()->actions().constFirst()->menu()->actions())
            file << a->text();
        QVERIFY2(file.contains("&Beenden"), qPrintable(file.join('|')));

        // The pad's menu item says what it does next, in German, and still
        // does it.
        auto* pad = window.findChild<QAction*>("mnuHide");
        QVERIFY(pad);
        QCOMPARE(pad->text(), QString("&Wähltastatur ausblenden"));
        pad->trigger();
        QVERIFY(!window.findChild<QFrame*>("fraPad")->isVisible());
        QCOMPARE(pad->text(), QString("&Wähltastatur einblenden"));
        pad->trigger();
        QVERIFY(window.findChild<QFrame*>("fraPad")->isVisible());

        // Qt's own texts come in German too.
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QString("Abbrechen"));
    }
};

int main(int argc, char* argv[])
{
    // A German desktop, whatever the test's environment says.
    qunsetenv("LANGUAGE");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    installTranslations(app);
    TestGerman test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_german.moc"
