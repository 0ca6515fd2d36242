// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/locations/LocationStore.h"

#include "core/common/Prompter.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace telvaro {

// "Dialing Properties": the dialing locations with their country, area code,
// outside-line codes, call waiting, caller-ID blocking, tone or pulse and
// calling card; the location chosen in "I am dialing from" becomes the
// current one. OK and Apply write the telephony configuration, so the next
// translated number follows the new rules.
class DialingPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    // `prompter` asks the dialog's questions.
    DialingPropertiesDialog(const QString& caption, QWidget* parent, Prompter& prompter);

    // Writes the edited locations and cards; tells the user when that fails.
    bool apply();

    const TelephonyLocations& data() const { return m_data; }

    // How a local, a long-distance and an international call are dialed
    // from the location shown, one line each.
    QString sampleText() const;

    // The buttons' actions (also reached by clicking them).
    void newLocation();
    void renameLocation();
    void removeLocation();
    void editCards();

private:
    QComboBox* cmbLocation = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdRename = nullptr;
    QPushButton* cmdRemove = nullptr;
    QComboBox* cmbCountry = nullptr;
    QLineEdit* txtAreaCode = nullptr;
    QLineEdit* txtLocalAccess = nullptr;
    QLineEdit* txtLongDistanceAccess = nullptr;
    QCheckBox* chkCallWaiting = nullptr;
    QComboBox* cmbCallWaiting = nullptr;
    QLineEdit* txtBlockCallerId = nullptr;
    QRadioButton* optTone = nullptr;
    QRadioButton* optPulse = nullptr;
    QComboBox* cmbCard = nullptr;
    QPushButton* cmdCards = nullptr;
    QLabel* lblAddress = nullptr;
    // How a local, a long-distance and an international call are dialed.
    QLabel* lblSample[3] = {};
    QDialogButtonBox* buttons = nullptr;

    DialingLocation* current();
    void fillLocations();
    void fillCards();
    void showLocation();
    void storeLocation();
    void updateSample();
    bool askName(const QString& title, const QString& prompt, QString& name, quint32 self);

    Prompter& m_prompter;
    TelephonyLocations m_data;
    bool m_loading = false;
};

} // namespace telvaro
