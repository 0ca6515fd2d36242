// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Autostart.h"

#include "settings/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace telvaro::autostart {

QString entryFile()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart/telvaro.desktop");
}

QString quoteExecArgument(const QString& argument)
{
    // Desktop entries: an argument with reserved characters goes in double
    // quotes, with " ` $ \ escaped by a backslash; a literal % is doubled.
    // The value is a string, so every backslash is then escaped once more.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (QChar c : argument) {
        if (reserved.contains(c))
            needsQuotes = true;
    }
    QString out;
    for (QChar c : argument) {
        if (c == u'%') {
            out += QStringLiteral("%%");
            continue;
        }
        if (needsQuotes && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            out += u'\\';
        out += c;
    }
    if (needsQuotes)
        out = u'"' + out + u'"';
    out.replace(u'\\', QStringLiteral("\\\\"));
    // A line break would end the key; it cannot be part of a usable path.
    out.replace(u'\n', QStringLiteral("\\n"));
    return out;
}

QByteArray entryText(const QString& programFile)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Shortcut to Telvaro\n"
                                  "Comment=Starts Telvaro when you log in\n");
    text += QStringLiteral("Exec=") + quoteExecArgument(programFile) + u'\n';
    text += QStringLiteral("Icon=telvaro\n"
                           "Terminal=false\n"
                           "X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

Result create(const QString& programFile)
{
    const QString file = entryFile();
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        return Result::failure(
            QCoreApplication::translate("telvaro::Files", "Cannot create the folder %1")
                .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath())));
    }
    return writeFileAtomically(file, entryText(programFile));
}

Result remove()
{
    QFile file(entryFile());
    if (!file.exists() || file.remove())
        return Result::success();
    return Result::failure(file.errorString());
}

} // namespace telvaro::autostart
