#include "core/common/Helpers.h"

#include "settings/AtomicFile.h"
#include "core/common/Clock.h"
#include "settings/Paths.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace telvaro {

void Pause(float seconds)
{
    if (!(seconds > 0.0f)) // also not-a-number
        return;
    using namespace std::chrono;
    // A year is more than any wait of the program; it keeps the arithmetic
    // below far from overflow.
    const double capped = std::min(double(seconds), 365.0 * 24 * 3600);
    const auto length = duration_cast<steady_clock::duration>(duration<double>(capped));
    const auto end = clock().monotonic() + length;
    for (;;) {
        const auto now = clock().monotonic();
        if (now >= end)
            return;
        // Sleep in short steps so a clock installed by a test, which moves on
        // its own schedule, is read again soon.
        std::this_thread::sleep_for(std::min<steady_clock::duration>(end - now, milliseconds(20)));
    }
}

bool CopyTextFile(const QString& source, const QString& destination, QString* error)
{
    QFile in(source);
    if (!QFileInfo(source).isFile())
        return true;
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(source, in.errorString());
        return false;
    }
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(source, in.errorString());
        return false;
    }

    // Line ends: CR LF, LF alone and CR alone all end a line; each line is
    // written back with CR LF.
    QByteArray out;
    out.reserve(data.size() + data.size() / 32 + 2);
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\n' && c != '\r')
            continue;
        out.append(data.constData() + start, i - start);
        out.append("\r\n", 2);
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n) {
        out.append(data.constData() + start, n - start);
        out.append("\r\n", 2);
    }
    return writeFileAtomically(destination, out, error);
}

QString TrimAtNull(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString WindowsDirectory()
{
    return paths::configDir();
}

QString SystemDirectory()
{
    return QFileInfo(paths::programFile()).absolutePath();
}

bool IsWindowsNT()
{
    return true;
}

bool IsWindows9x()
{
    return false;
}

} // namespace telvaro
