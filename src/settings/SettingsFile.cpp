// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsFile.h"

#include "settings/AtomicFile.h"
#include "settings/Cp1252.h"
#include "settings/Paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <memory>

namespace telvaro::settings {
namespace {

bool isNumberBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

// Reads a number from `text` at `pos` (blanks skipped throughout); returns
// nullopt when no digit was found. `pos` ends after the last character used.
std::optional<double> scanNumber(QStringView text, qsizetype& pos)
{
    const qsizetype n = text.size();
    auto skip = [&] {
        while (pos < n && isNumberBlank(text[pos]))
            ++pos;
    };
    auto isDigit = [&](qsizetype i) {
        return i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
    };

    QByteArray number;
    skip();
    if (pos < n && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
        number.append(char(text[pos].unicode()));
        ++pos;
        skip();
    }
    bool digits = false;
    while (isDigit(pos)) {
        number.append(char(text[pos].unicode()));
        digits = true;
        ++pos;
        skip();
    }
    if (pos < n && text[pos] == QLatin1Char('.')) {
        number.append('.');
        ++pos;
        skip();
        while (isDigit(pos)) {
            number.append(char(text[pos].unicode()));
            digits = true;
            ++pos;
            skip();
        }
    }
    if (!digits)
        return std::nullopt;
    // An exponent only counts when digits follow it.
    if (pos < n && (text[pos] == QLatin1Char('e') || text[pos] == QLatin1Char('E') ||
                    text[pos] == QLatin1Char('d') || text[pos] == QLatin1Char('D'))) {
        qsizetype p = pos + 1;
        QByteArray exponent("e");
        while (p < n && isNumberBlank(text[p]))
            ++p;
        if (p < n && (text[p] == QLatin1Char('+') || text[p] == QLatin1Char('-')))
            exponent.append(char(text[p++].unicode()));
        while (p < n && isNumberBlank(text[p]))
            ++p;
        if (isDigit(p)) {
            while (isDigit(p) || (p < n && isNumberBlank(text[p]))) {
                if (!isNumberBlank(text[p]))
                    exponent.append(char(text[p].unicode()));
                ++p;
            }
            number.append(exponent);
            pos = p;
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok) // out of the range of a double
        return number.startsWith('-') ? -std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::infinity();
    return value;
}

struct SharedFile
{
    QString path;
    std::unique_ptr<IniFile> ini;
};

SharedFile& shared()
{
    static SharedFile s;
    return s;
}

} // namespace

IniFile& file()
{
    SharedFile& s = shared();
    const QString path = paths::settingsFile();
    if (!s.ini || s.path != path) {
        s.path = path;
        s.ini = std::make_unique<IniFile>(path);
    }
    return *s.ini;
}

QString read(const QString& section, const QString& key)
{
    return file().read(section, key);
}

bool write(const QString& section, const QString& key, const QString& value)
{
    return file().write(section, key, value);
}

QString discardedCopyPath()
{
    return paths::settingsFile() + QStringLiteral(".bad");
}

FileCheck checkFile()
{
    const QString path = paths::settingsFile();
    const QByteArray fresh = cp1252::encode(kHeader) + "\r\n\r\n";
    const QFileInfo info(path);

    if (!info.exists() && !info.isSymLink()) {
        if (const Result written = writeFileAtomically(path, fresh); !written)
            return {CheckResult::Failed, written.error};
        return {CheckResult::Created, {}};
    }

    QFile f(path);
    if (info.isDir() || !f.open(QIODevice::ReadOnly)) {
        return {CheckResult::Failed,
                info.isDir()
                    ? QCoreApplication::translate("telvaro::Files", "%1 is a folder").arg(path)
                    : QCoreApplication::translate("telvaro::Files", "Cannot read %1: %2")
                          .arg(path, f.errorString())};
    }
    // Only the first line matters; a file of one endless line is not read whole.
    const qint64 limit = qint64(kHeader.size()) + 2;
    QByteArray first = f.readLine(limit + 1);
    if (first.endsWith('\n'))
        first.chop(1);
    if (first.endsWith('\r'))
        first.chop(1);
    if (first == cp1252::encode(kHeader))
        return {CheckResult::Kept, {}};

    // Keep what is about to be discarded; without that copy the file stays
    // as it is, so nothing of it is lost.
    f.seek(0);
    const QByteArray old = f.readAll();
    f.close();
    if (!old.isEmpty()) {
        if (const Result kept = writeFileAtomically(discardedCopyPath(), old); !kept)
            return {CheckResult::Failed, kept.error};
    }
    if (const Result written = writeFileAtomically(path, fresh); !written)
        return {CheckResult::Failed, written.error};
    return {CheckResult::Reset, {}};
}

double leadingNumber(QStringView text)
{
    qsizetype pos = 0;
    return scanNumber(text, pos).value_or(0.0);
}

int countValue(QStringView text)
{
    const double value = std::nearbyint(leadingNumber(text)); // halves to even
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

std::optional<double> numericValue(QStringView text)
{
    qsizetype pos = 0;
    const std::optional<double> value = scanNumber(text, pos);
    if (!value)
        return std::nullopt;
    while (pos < text.size() && isNumberBlank(text[pos]))
        ++pos;
    if (pos != text.size())
        return std::nullopt;
    return value;
}

std::optional<bool> oneValue(QStringView text)
{
    const std::optional<double> value = numericValue(text);
    if (!value)
        return std::nullopt;
    return *value == 1.0;
}

std::optional<int> checkValue(QStringView text)
{
    const std::optional<double> value = numericValue(text);
    if (!value)
        return std::nullopt;
    const double state = std::nearbyint(*value);
    if (state != 0.0 && state != 1.0 && state != 2.0)
        return std::nullopt;
    return int(state);
}

QString profileNameFromFileName(const QString& value)
{
    QString name = value.size() > 4 ? value.left(value.size() - 4) : value;
    // The last component of a path only (either kind of separator).
    const qsizetype cut =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (cut >= 0)
        name = name.mid(cut + 1);
    // Control characters have no place in a file name or a caption.
    name.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    bool onlyDots = true;
    for (QChar c : name)
        onlyDots = onlyDots && c == QLatin1Char('.');
    if (name.isEmpty() || onlyDots)
        return QStringLiteral("Untitled");
    return name;
}

QString recentNumberKey(int index)
{
    return QStringLiteral("Last Dialed No %1").arg(index);
}

QStringList readRecentNumbers(IniFile& ini)
{
    const int count =
        std::min(countValue(ini.read(kRecentSection, QStringLiteral("Count"))), kMaxRecentNumbers);
    QStringList numbers;
    for (int i = 0; i < count; ++i)
        numbers.append(ini.read(kRecentSection, recentNumberKey(i)));
    return numbers;
}

bool writeRecentNumbers(IniFile& ini, const QStringList& numbers)
{
    const int n = int(std::min<qsizetype>(numbers.size(), kMaxRecentNumbers));
    IniFile::Batch batch(ini);
    ini.write(kRecentSection, QStringLiteral("Count"), QStringLiteral(" %1").arg(n));
    for (int i = 0; i < n; ++i)
        ini.write(kRecentSection, recentNumberKey(i), numbers.at(i));
    return batch.commit();
}

} // namespace telvaro::settings
