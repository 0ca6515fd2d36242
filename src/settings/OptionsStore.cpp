// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/OptionsStore.h"

#include <algorithm>

namespace telvaro {

OptionsStore::OptionsStore(QObject* parent) : QObject(parent)
{
    resetToDesigned();
}

void OptionsStore::resetToDesigned()
{
    m_checks.fill(0);
    for (Check c : {chkSoundRed, chkSoundIn, chkRedial, chkLoad, chkPad, chkIcon, chkModem,
                    chkDelOutgoing, chkDelIncoming, chkCallingCard, chkSpecial})
        m_checks[c] = 1;
    m_options.fill(false);
    m_options[optIndex] = true;
    m_options[optTone] = true;
    m_options[optMode1] = true;
    // The days boxes' spin bars start at the value their text shows, so that
    // the first click on an arrow steps from 30 (or 5), not from an unrelated
    // value.
    m_spins = {3, 2, 1, 30, 5, 9, 0};
    m_texts = {QStringLiteral("3"),
               QStringLiteral("2"),
               QStringLiteral("1"),
               QStringLiteral("30"),
               QStringLiteral("5"),
               QStringLiteral("9"),
               QString()};
    m_selectedLineDevice = 0;
    m_lineDeviceNames.clear();
}

void OptionsStore::setCheck(Check c, int state)
{
    if (m_checks[c] == state)
        return;
    m_checks[c] = state;
    Q_EMIT checkClicked(c);
}

OptionsStore::Option OptionsStore::partner(Option o)
{
    return static_cast<Option>(o ^ 1);
}

void OptionsStore::select(Option o)
{
    if (m_options[o])
        return;
    m_options[o] = true;
    m_options[partner(o)] = false;
    Q_EMIT optionClicked(o);
}

void OptionsStore::setText(Text t, const QString& value)
{
    if (m_texts[t] == value)
        return;
    m_texts[t] = value;
    Q_EMIT textChanged(t);
    if (!hasSpinBar(t))
        return;
    const std::optional<int> spin = spinValueOfText(t, value);
    if (spin && *spin != m_spins[t]) {
        m_spins[t] = *spin;
        Q_EMIT spinValueChanged(t);
    }
}

std::optional<int> OptionsStore::spinValueOfText(Text t, const QString& text)
{
    if (!hasSpinBar(t))
        return std::nullopt;
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int value = digits.toInt();
    if (value < spinMinimum(t) || value > spinMaximum(t))
        return std::nullopt;
    return value;
}

QString OptionsStore::validText(Text t) const
{
    if (!hasSpinBar(t) || spinValueOfText(t, m_texts[t]))
        return m_texts[t];
    return QString::number(m_spins[t]);
}

int OptionsStore::spinMinimum(Text t)
{
    return (t == TxtRedial || t == txtSeconds) ? 1 : 0;
}

int OptionsStore::spinMaximum(Text t)
{
    return t == TxtRedial ? 999 : 99;
}

void OptionsStore::setSpinValue(Text t, int value)
{
    if (!hasSpinBar(t))
        return;
    value = std::clamp(value, spinMinimum(t), spinMaximum(t));
    if (m_spins[t] != value) {
        m_spins[t] = value;
        Q_EMIT spinValueChanged(t);
    }
    const QString text = QString::number(value);
    if (m_texts[t] != text) {
        m_texts[t] = text;
        Q_EMIT textChanged(t);
    }
}

void OptionsStore::setLineDeviceNames(const QStringList& names)
{
    if (m_lineDeviceNames == names)
        return;
    m_lineDeviceNames = names;
    Q_EMIT lineDeviceNamesChanged();
}

void OptionsStore::setSelectedLineDevice(int device)
{
    if (m_selectedLineDevice == device)
        return;
    m_selectedLineDevice = device;
    Q_EMIT selectedLineDeviceChanged(device);
}

OptionsStore& options()
{
    static OptionsStore store;
    return store;
}

} // namespace telvaro
