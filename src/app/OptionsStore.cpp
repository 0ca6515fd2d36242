#include "app/OptionsStore.h"

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
    // The days boxes show their own designed text; their spin bars start at 2.
    m_spins = {3, 2, 1, 2, 2, 9, 0};
    m_texts = {QStringLiteral("3"), QStringLiteral("2"),  QStringLiteral("1"),
               QStringLiteral("30"), QStringLiteral("5"), QStringLiteral("9"),
               QString()};
    m_selectedLineDevice = 0;
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
    if (t == cmbLineDevices || m_spins[t] == value)
        return;
    m_spins[t] = value;
    Q_EMIT spinValueChanged(t);
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
