// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/locations/LocationStore.h"

#include "core/common/Prompter.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace telvaro {

// "Calling Cards": the cards with their account number, PIN, access numbers
// and dialing rules. Works on a copy of the configuration, taken back by the
// dialing properties dialog when OK is pressed.
// A card whose dialing rules or access numbers hold "?" (wait for the user
// to go on), which no modem can dial; nullptr when there is none. The text
// tells the user so.
const CallingCard* cardWithPrompt(const TelephonyLocations& data);
QString promptRefusal(const CallingCard& card);

class CallingCardsDialog : public QDialog
{
    Q_OBJECT

public:
    // `prompter` asks the dialog's questions.
    CallingCardsDialog(const TelephonyLocations& data, quint32 selectedCard, QWidget* parent,
                       Prompter& prompter);

    const TelephonyLocations& data() const { return m_data; }
    // The card shown when the dialog closed (0: none).
    quint32 selectedCard() const;

    void newCard();
    void removeCard();
    // OK: the cards are taken unless one holds "?".
    void tryAccept();

private:
    QComboBox* cmbCard = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdRemove = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtAccount = nullptr;
    QLineEdit* txtPin = nullptr;
    QLineEdit* txtLocalAccess = nullptr;
    QLineEdit* txtLongDistanceAccess = nullptr;
    QLineEdit* txtInternationalAccess = nullptr;
    QLineEdit* txtSameAreaRule = nullptr;
    QLineEdit* txtLongDistanceRule = nullptr;
    QLineEdit* txtInternationalRule = nullptr;

    CallingCard* current();
    void fillCards(quint32 select);
    void showCard();
    void storeCard();

    Prompter& m_prompter;
    TelephonyLocations m_data;
    QList<QWidget*> m_fields;
    bool m_loading = false;
};

} // namespace telvaro
