// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/Helpers.h"

#include "core/common/Clock.h"
#include "settings/AtomicFile.h"
#include "settings/Paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace telvaro {

Result CopyTextFile(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!QFileInfo(source).isFile())
        return Result::success();
    const auto cannotRead = [&] {
        return Result::failure(QCoreApplication::translate("telvaro::Files", "Cannot read %1: %2")
                                   .arg(source, in.errorString()));
    };
    if (!in.open(QIODevice::ReadOnly))
        return cannotRead();
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return cannotRead();

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
    return writeFileAtomically(destination, out);
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
