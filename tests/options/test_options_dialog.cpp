// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog as the user sees it: pages, controls bound to the live
// settings both ways, OK and Cancel.

#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/options/Preferences.h"
#include "gui/options/FrmOptions.h"
#include "gui/shell/TrayIcon.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace telvaro;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;
using S = OptionsStore;

namespace {
const QByteArray kHeader =
    "The following lines are required by Telvaro - do NOT edit or remove\r\n\r\n";
}

class TestOptionsDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompter> prompts;
    std::unique_ptr<FrmOptions> dlg;
    QStringList calls;
    std::unique_ptr<QWidget> mainWindow; // the window the tray serves
    TrayIcon icon;
    TrayIcon& tray() { return icon; }

    // The dialog's controls as a user finds them: by name.
    template <typename T> T* control(const char* name) const
    {
        T* found = dlg->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(found);
        return found;
    }
    QCheckBox* check(S::Check c) const
    {
        return control<QCheckBox>(QMetaEnum::fromType<S::Check>().valueToKey(c));
    }
    QRadioButton* option(S::Option o) const
    {
        return control<QRadioButton>(QMetaEnum::fromType<S::Option>().valueToKey(o));
    }
    SpinTextBox* spin(S::Text t) const
    {
        return control<SpinTextBox>(QMetaEnum::fromType<S::Text>().valueToKey(t));
    }
    QWidget* page(int index) const
    {
        return control<QWidget>(QStringLiteral("fra%1").arg(index + 1).toLatin1().constData());
    }
    QLineEdit* edit(S::Text t) { return spin(t)->findChild<QLineEdit*>(); }
    // A user's click: on the button's own page, by the mouse when the dialog
    // is on screen.
    void click(QAbstractButton* b)
    {
        for (int page = 0; page < 3; ++page) {
            if (this->page(page)->isAncestorOf(b))
                control<QTabWidget>("tbsOptions")->setCurrentIndex(page);
        }
        if (b->isVisible()) {
            const QPoint inside =
                b->inherits("QPushButton") ? b->rect().center() : QPoint(6, b->height() / 2);
            QTest::mouseClick(b, Qt::LeftButton, {}, inside);
        } else {
            b->click();
        }
    }
    QList<QByteArray> preferenceLines()
    {
        QList<QByteArray> lines = TestEnv::readFile(env->settingsFile()).split('\n');
        QList<QByteArray> out;
        bool in = false;
        for (QByteArray l : lines) {
            l = l.trimmed();
            if (l.startsWith('['))
                in = l == "[Preferences]";
            else if (in && !l.isEmpty())
                out << l;
        }
        return out;
    }

private Q_SLOTS:
    void initTestCase() { installOptionReactions(options()); }

    void init()
    {
        env = std::make_unique<TestEnv>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(env->root() + "/xdg"));
        TestEnv::writeFile(env->settingsFile(), kHeader);
        options().resetToDesigned();
        calls.clear();
        mainWindow = std::make_unique<QWidget>();
        installTray(tray(), *mainWindow);
        // The line service fills the list when it is wanted.
        connect(&options(), &S::lineDevicesWanted, this, [this] {
            calls << "fill";
            options().setLineDeviceNames({"Modem A", "Modem B", "Modem C"});
        });
        prompts = std::make_unique<ScriptedPrompter>();
        dlg = std::make_unique<FrmOptions>(options(), *prompts);
    }

    void cleanup()
    {
        tray().remove();
        mainWindow.reset();
        dlg.reset();
        prompts.reset();
        disconnect(&options(), &S::lineDevicesWanted, this, nullptr);
        qunsetenv("XDG_CONFIG_HOME");
        env.reset();
    }

    void captionsPagesAndDesignedState()
    {
        QCOMPARE(dlg->windowTitle(), QString("Options"));
        QCOMPARE(control<QTabWidget>("tbsOptions")->count(), 3);
        QCOMPARE(control<QTabWidget>("tbsOptions")->tabText(0), QString("&General"));
        QCOMPARE(control<QTabWidget>("tbsOptions")->tabText(1), QString("&Advanced"));
        QCOMPARE(control<QTabWidget>("tbsOptions")->tabText(2), QString("&Expert"));
        QVERIFY(control<QPushButton>("cmdOK")->isDefault());
        QCOMPARE(check(S::chkRedial)->text(), QString("E&nable Automatic Redial:"));
        QCOMPARE(check(S::chkLoad)->text(), QString("&Load Telvaro when I log in"));
        QCOMPARE(check(S::chkSpecial)->text(),
                 QString("Allow &special dialing characters: \"W\", \"@\", \"$\""));
        QVERIFY(check(S::chkIcon)->isChecked());
        QVERIFY(!check(S::chkNoModem)->isChecked());
        QVERIFY(option(S::optIndex)->isChecked());
        QCOMPARE(edit(S::txtDays)->text(), QString("30"));
        QCOMPARE(edit(S::TxtRedial)->maxLength(), 3);
        QCOMPARE(edit(S::txtSeconds)->maxLength(), 2);
        // Ignore Dialing Properties cleared: tone and pulse disabled, their
        // frame hidden and the Dialing Properties button shown instead.
        QVERIFY(!option(S::optTone)->isEnabled());
        QVERIFY(control<QWidget>("fraIgnoreInside")->isHidden());
        QVERIFY(!control<QPushButton>("cmdDialingProperties")->isHidden());
        click(check(S::chkIgnore));
        QVERIFY(option(S::optPulse)->isEnabled());
        QVERIFY(!control<QWidget>("fraIgnoreInside")->isHidden());
        QVERIFY(control<QPushButton>("cmdDialingProperties")->isHidden());
    }

    void generalPageFirstOnEveryOpening()
    {
        dlg->showOptions();
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->isModal());
        control<QTabWidget>("tbsOptions")->setCurrentIndex(2);
        dlg->cmdCancel_Click();
        QVERIFY(!dlg->isVisible());
        dlg->showOptions();
        QCOMPARE(control<QTabWidget>("tbsOptions")->currentIndex(), 0);
    }

    void modemBoxesAreAlwaysOpposite()
    {
        dlg->showOptions();
        QCheckBox* noModem = check(S::chkNoModem);
        QCheckBox* modem = check(S::chkModem);
        click(noModem);
        QVERIFY(noModem->isChecked());
        QVERIFY(!modem->isChecked());
        QVERIFY(!control<LineDeviceCombo>("cmbLineDevices")->isEnabled());
        QVERIFY(!control<QWidget>("fraModem")->isEnabled());
        click(noModem);
        QVERIFY(modem->isChecked());
        QVERIFY(control<LineDeviceCombo>("cmbLineDevices")->isEnabled());
        click(modem);
        QVERIFY(noModem->isChecked());
        // A change from elsewhere shows too.
        options().setChecked(S::chkModem, true);
        QVERIFY(modem->isChecked());
        QVERIFY(!noModem->isChecked());
    }

    void clearingRedialGreysItsBoxesOnEveryPage()
    {
        dlg->showOptions();
        click(check(S::chkRedial));
        for (S::Text t : {S::TxtRedial, S::txtMinutes, S::txtSeconds})
            QVERIFY(!spin(t)->isEnabled());
        for (int page : {1, 2, 0}) {
            control<QTabWidget>("tbsOptions")->setCurrentIndex(page);
            for (S::Text t : {S::TxtRedial, S::txtMinutes, S::txtSeconds})
                QVERIFY(!spin(t)->isEnabled());
        }
        click(check(S::chkRedial));
        for (S::Text t : {S::TxtRedial, S::txtMinutes, S::txtSeconds})
            QVERIFY(spin(t)->isEnabled());
        // Checking it again moves the focus to the count, while the dialog is
        // on screen; a change while it is hidden moves nothing.
        QVERIFY(spin(S::TxtRedial)->hasFocus() || edit(S::TxtRedial)->hasFocus() ||
                dlg->focusWidget() == spin(S::TxtRedial));
        dlg->cmdCancel_Click();
        check(S::chkSoundIn)->setFocus();
        options().setChecked(S::chkRedial, false);
        options().setChecked(S::chkRedial, true);
        QCOMPARE(dlg->focusWidget(), check(S::chkSoundIn));
        dlg->showOptions();

        // Days boxes follow their check boxes.
        click(check(S::chkDelOutgoing));
        QVERIFY(!spin(S::txtDays)->isEnabled());
        control<QTabWidget>("tbsOptions")->setCurrentIndex(1);
        click(check(S::chkDelIncoming));
        QVERIFY(!spin(S::txtInDays)->isEnabled());
    }

    void typingMovesTheSpinBarOnlyForValidNumbers()
    {
        dlg->showOptions();
        QLineEdit* seconds = edit(S::txtSeconds);
        seconds->selectAll();
        QTest::keyClicks(seconds, "12");
        QCOMPARE(options().text(S::txtSeconds), QString("12"));
        QCOMPARE(options().spinValue(S::txtSeconds), 12);
        spin(S::txtSeconds)->stepUp();
        QCOMPARE(seconds->text(), QString("13"));

        seconds->selectAll();
        QTest::keyClicks(seconds, "ab");
        QCOMPARE(seconds->text(), QString("ab"));
        QCOMPARE(options().spinValue(S::txtSeconds), 13);
        seconds->selectAll();
        QTest::keyClick(seconds, Qt::Key_Up); // the keyboard steps the bar too
        QCOMPARE(seconds->text(), QString("14"));

        // At the ends of the range the arrows stop.
        options().setSpinValue(S::txtSeconds, 99);
        spin(S::txtSeconds)->stepUp();
        QCOMPARE(seconds->text(), QString("99"));
        options().setSpinValue(S::txtSeconds, 1);
        spin(S::txtSeconds)->stepDown();
        QCOMPARE(seconds->text(), QString("1"));
    }

    void okCorrectsWritesAndFollowsLoadAtStartup()
    {
        const QString entry = env->root() + "/xdg/autostart/telvaro.desktop";
        dlg->showOptions();
        edit(S::TxtRedial)->selectAll();
        QTest::keyClick(edit(S::TxtRedial), Qt::Key_Backspace);
        edit(S::txtSeconds)->selectAll();
        QTest::keyClicks(edit(S::txtSeconds), "0");
        edit(S::txtMinutes)->selectAll();
        QTest::keyClicks(edit(S::txtMinutes), "0");
        click(control<QPushButton>("cmdOK"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(options().text(S::TxtRedial), QString("1"));
        QCOMPARE(options().text(S::txtSeconds), QString("1"));
        QVERIFY(QFile::exists(entry));

        QList<QByteArray> keys;
        for (const QByteArray& line : preferenceLines())
            keys << line.left(line.indexOf('='));
        QList<QByteArray> order;
        for (const QString& k : preferences::writeOrder())
            order << k.toLatin1();
        QCOMPARE(keys, order);
        QVERIFY(preferenceLines().contains("Redials Number=1"));
        QVERIFY(preferenceLines().contains("Interval Seconds=1"));

        dlg->showOptions();
        click(check(S::chkLoad));
        QVERIFY(QFile::exists(entry)); // only OK changes the entry
        click(control<QPushButton>("cmdOK"));
        QVERIFY(!QFile::exists(entry));
        QVERIFY(preferenceLines().contains("Load @ startup=0"));
    }

    void okStillSavesWhenTheAutostartEntryCannotBeWritten()
    {
        TestEnv::writeFile(env->root() + "/xdg", "not a folder");
        dlg->showOptions();
        click(control<QPushButton>("cmdOK"));
        QVERIFY(!dlg->isVisible());
        QVERIFY(preferenceLines().contains("Load @ startup=1"));
    }

    void aSettingsFileThatCannotBeWrittenIsReported()
    {
        dlg->setSettingsFile(env->root()); // a folder
        dlg->showOptions();
        click(control<QPushButton>("cmdOK"));
        QCOMPARE(prompts->messages.size(), 1);
        QVERIFY(prompts->messages[0].text.contains("could not be saved"));
        QVERIFY(!dlg->isVisible());
    }

    void cancelCorrectsWritesNothingAndRestoresTheDevice()
    {
        options().setLineDeviceNames({"Modem A", "Modem B", "Modem C"});
        options().setText(S::cmbLineDevices, "Modem A");
        dlg->showOptions();
        control<QTabWidget>("tbsOptions")->setCurrentIndex(1);
        QCOMPARE(control<LineDeviceCombo>("cmbLineDevices")->currentText(), QString("Modem A"));
        control<LineDeviceCombo>("cmbLineDevices")->setCurrentIndex(2);
        Q_EMIT control<LineDeviceCombo>("cmbLineDevices")->activated(2);
        QCOMPARE(options().selectedLineDevice(), 2);
        QCOMPARE(options().text(S::cmbLineDevices), QString("Modem C"));

        // The tray box acts at once, even when the dialog is cancelled.
        control<QTabWidget>("tbsOptions")->setCurrentIndex(0);
        tray().add();
        QVERIFY(!tray().toolTip().isEmpty());
        click(check(S::chkIcon));
        QCOMPARE(tray().toolTip(), QString()); // removed
        edit(S::TxtRedial)->selectAll();
        QTest::keyClicks(edit(S::TxtRedial), "0");
        click(control<QPushButton>("cmdCancel"));

        QVERIFY(!dlg->isVisible());
        QCOMPARE(options().selectedLineDevice(), 0);
        QCOMPARE(options().text(S::cmbLineDevices), QString("Modem A"));
        QCOMPARE(options().text(S::TxtRedial), QString("3"));
        QVERIFY(!options().isChecked(S::chkIcon));
        QVERIFY(preferenceLines().isEmpty());
        QVERIFY(!QFile::exists(env->root() + "/xdg/autostart/telvaro.desktop"));
    }

    // Pick a device, drop the list down again and close it, Cancel: the box
    // shows the device calls go out on, and a later OK stores that pair.
    void cancelKeepsDeviceAndNameTogether()
    {
        options().setLineDeviceNames({"Modem A", "Modem B", "Modem C"});
        options().setText(S::cmbLineDevices, "Modem A");
        dlg->showOptions();
        control<QTabWidget>("tbsOptions")->setCurrentIndex(1);
        control<LineDeviceCombo>("cmbLineDevices")->showPopup();
        control<LineDeviceCombo>("cmbLineDevices")->hidePopup();
        control<LineDeviceCombo>("cmbLineDevices")->setCurrentIndex(2);
        Q_EMIT control<LineDeviceCombo>("cmbLineDevices")->activated(2);
        control<LineDeviceCombo>("cmbLineDevices")->showPopup();
        control<LineDeviceCombo>("cmbLineDevices")->hidePopup();
        click(control<QPushButton>("cmdCancel"));
        const int device = options().selectedLineDevice();
        QCOMPARE(options().text(S::cmbLineDevices), options().lineDeviceNames().at(device));
        dlg->showOptions();
        QCOMPARE(control<LineDeviceCombo>("cmbLineDevices")->currentText(),
                 options().lineDeviceNames().at(device));
        click(control<QPushButton>("cmdOK"));
        const QList<QByteArray> stored = preferenceLines();
        QVERIFY(stored.contains(QStringLiteral("Line No=%1").arg(device).toLatin1()));
        QVERIFY(stored.contains(("Modem=" + options().lineDeviceNames().at(device)).toLatin1()));
    }

    void dropDownRefillsAndRemembersTheDevice()
    {
        options().setText(S::cmbLineDevices, "Old Modem");
        options().setSelectedLineDevice(1);
        dlg->showOptions();
        QCOMPARE(control<LineDeviceCombo>("cmbLineDevices")->count(), 0);
        QCOMPARE(control<LineDeviceCombo>("cmbLineDevices")->placeholderText(),
                 QString("Old Modem"));
        control<QTabWidget>("tbsOptions")->setCurrentIndex(1);
        control<LineDeviceCombo>("cmbLineDevices")->showPopup();
        QVERIFY(calls.contains("fill"));
        QCOMPARE(control<LineDeviceCombo>("cmbLineDevices")->count(), 3);
        QCOMPARE(control<LineDeviceCombo>("cmbLineDevices")->currentText(), QString("Modem B"));
        control<LineDeviceCombo>("cmbLineDevices")->hidePopup();
        Q_EMIT control<LineDeviceCombo>("cmbLineDevices")->activated(0);
        QCOMPARE(options().selectedLineDevice(), 0);
        dlg->cmdCancel_Click();
        QCOMPARE(options().selectedLineDevice(), 1);
    }

    void escapeIsCancel()
    {
        options().setSelectedLineDevice(1);
        dlg->showOptions();
        options().setSelectedLineDevice(2);
        QTest::keyClick(dlg.get(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(options().selectedLineDevice(), 1);
    }

    void screenshots()
    {
        const QString dir = qEnvironmentVariable("TELVARO_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("set TELVARO_SCREENSHOT_DIR to write screenshots");
        dlg->showOptions();
        for (int page = 0; page < 3; ++page) {
            control<QTabWidget>("tbsOptions")->setCurrentIndex(page);
            QApplication::processEvents();
            QVERIFY(dlg->grab().save(QString("%1/options-%2.png").arg(dir).arg(page + 1)));
        }
        click(check(S::chkIgnore));
        control<QTabWidget>("tbsOptions")->setCurrentIndex(2);
        QApplication::processEvents();
        QVERIFY(dlg->grab().save(dir + "/options-3-ignore.png"));
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "test_options_dialog.moc"
