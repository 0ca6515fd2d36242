// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/lineapi/ModemConfig.h"

#include "settings/IniFile.h"
#include "settings/Paths.h"

#include <QFileInfo>

#include <algorithm>

namespace telvaro {
namespace {

const QString kModems = QStringLiteral("Modems");
const QString kCount = QStringLiteral("Count");

QString sectionOf(int index)
{
    return QStringLiteral("Modem%1").arg(index);
}

int readInt(IniFile& ini, const QString& section, const QString& key, int fallback)
{
    bool ok = false;
    const int v = ini.read(section, key).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

// The most modems a file can list; protects against a hand-edited count.
constexpr int kMaxModems = 256;

} // namespace

QString ModemSettings::displayName() const
{
    if (!name.trimmed().isEmpty())
        return name.trimmed();
    if (port.isEmpty())
        return QStringLiteral("Modem");
    return QStringLiteral("Modem on %1").arg(QFileInfo(port).fileName());
}

QStringList ModemSettings::initCommands() const
{
    QStringList out;
    for (const QString& piece : initString.split(QLatin1Char('|'))) {
        const QString c = piece.trimmed();
        if (!c.isEmpty())
            out << c;
    }
    return out;
}

const QList<int>& modemSpeeds()
{
    static const QList<int> speeds{300,   1200,  2400,   4800,   9600,   19200,
                                   38400, 57600, 115200, 230400, 460800, 921600};
    return speeds;
}

void ModemSettings::normalize()
{
    port = port.trimmed();
    if (!modemSpeeds().contains(speed))
        speed = 115200;
    dialTimeout = std::clamp(dialTimeout, 1, 255);
    commandTimeout = std::clamp(commandTimeout, 100, 60000);
    speakerVolume = std::clamp(speakerVolume, 0, 3);
    speakerMode = std::clamp(speakerMode, 0, 3);
    ringTimeout = std::clamp(ringTimeout, 1000, 60000);
    maxCommandLength = std::clamp(maxCommandLength, 20, 250);
    callerIdCommand = callerIdCommand.trimmed();
    // Line ends inside a command would let a hand-edited file smuggle in
    // further commands; they are dropped.
    for (QString* s : {&initString, &callerIdCommand, &name}) {
        s->remove(QLatin1Char('\r'));
        s->remove(QLatin1Char('\n'));
    }
}

std::vector<ModemSettings> loadModems(const QString& file)
{
    IniFile ini(file.isEmpty() ? paths::telephonyConfigFile() : file);
    const int count = std::clamp(readInt(ini, kModems, kCount, 0), 0, kMaxModems);
    std::vector<ModemSettings> modems;
    modems.reserve(count);
    const ModemSettings d;
    for (int i = 0; i < count; ++i) {
        const QString s = sectionOf(i);
        ModemSettings m;
        m.name = ini.read(s, QStringLiteral("Name"));
        m.port = ini.read(s, QStringLiteral("Port"));
        m.speed = readInt(ini, s, QStringLiteral("Speed"), d.speed);
        if (ini.contains(s, QStringLiteral("InitString")))
            m.initString = ini.read(s, QStringLiteral("InitString"));
        else if (!ini.keyNames(s).contains(QStringLiteral("InitString"), Qt::CaseInsensitive))
            m.initString = d.initString;
        else
            m.initString.clear(); // present and empty: no init commands
        m.dialTimeout = readInt(ini, s, QStringLiteral("DialTimeout"), d.dialTimeout);
        m.commandTimeout = readInt(ini, s, QStringLiteral("CommandTimeout"), d.commandTimeout);
        m.speakerVolume = readInt(ini, s, QStringLiteral("SpeakerVolume"), d.speakerVolume);
        m.speakerMode = readInt(ini, s, QStringLiteral("SpeakerMode"), d.speakerMode);
        m.waitForDialTone = readInt(ini, s, QStringLiteral("WaitForDialTone"), 1) != 0;
        m.callerIdCommand = ini.read(s, QStringLiteral("CallerIdCommand"));
        m.ringTimeout = readInt(ini, s, QStringLiteral("RingTimeout"), d.ringTimeout);
        m.maxCommandLength =
            readInt(ini, s, QStringLiteral("MaxCommandLength"), d.maxCommandLength);
        m.billingToneWait = readInt(ini, s, QStringLiteral("BillingToneWait"), 0) != 0;
        m.normalize();
        modems.push_back(m);
    }
    return modems;
}

Result saveModems(const std::vector<ModemSettings>& modems, const QString& file)
{
    IniFile ini(file.isEmpty() ? paths::telephonyConfigFile() : file);
    IniFile::Batch batch(ini);
    // Sections of modems that are no longer listed go, as do stray ones a
    // hand edit may have left behind.
    for (const QString& section : ini.sectionNames()) {
        if (section.startsWith(QStringLiteral("Modem"), Qt::CaseInsensitive) &&
            section.compare(kModems, Qt::CaseInsensitive) != 0)
            ini.removeSection(section);
    }
    ini.write(kModems, kCount, QString::number(modems.size()));
    for (size_t i = 0; i < modems.size(); ++i) {
        ModemSettings m = modems[i];
        m.normalize();
        const QString s = sectionOf(int(i));
        ini.write(s, QStringLiteral("Name"), m.name);
        ini.write(s, QStringLiteral("Port"), m.port);
        ini.write(s, QStringLiteral("Speed"), QString::number(m.speed));
        ini.write(s, QStringLiteral("InitString"), m.initString);
        ini.write(s, QStringLiteral("DialTimeout"), QString::number(m.dialTimeout));
        ini.write(s, QStringLiteral("CommandTimeout"), QString::number(m.commandTimeout));
        ini.write(s, QStringLiteral("SpeakerVolume"), QString::number(m.speakerVolume));
        ini.write(s, QStringLiteral("SpeakerMode"), QString::number(m.speakerMode));
        ini.write(s, QStringLiteral("WaitForDialTone"),
                  m.waitForDialTone ? QStringLiteral("1") : QStringLiteral("0"));
        ini.write(s, QStringLiteral("CallerIdCommand"), m.callerIdCommand);
        ini.write(s, QStringLiteral("RingTimeout"), QString::number(m.ringTimeout));
        ini.write(s, QStringLiteral("MaxCommandLength"), QString::number(m.maxCommandLength));
        ini.write(s, QStringLiteral("BillingToneWait"),
                  m.billingToneWait ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return batch.commit() ? Result::success() : Result::failure(ini.lastError());
}

} // namespace telvaro
