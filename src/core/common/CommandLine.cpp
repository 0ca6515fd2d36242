// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/CommandLine.h"

#include <QCoreApplication>
#include <QUrl>

namespace telvaro {

QString withoutControlCharacters(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.category() != QChar::Other_Control)
            out.append(c);
    }
    return out;
}

QString numberFromLink(const QString& text)
{
    for (const QLatin1String scheme : {QLatin1String("tel:"), QLatin1String("callto:")}) {
        if (!text.startsWith(scheme, Qt::CaseInsensitive))
            continue;
        QString rest = text.mid(scheme.size());
        if (rest.startsWith(QLatin1String("//")))
            rest = rest.mid(2); // callto://number
        // tel: parameters (";ext=12", ";phone-context=...") and a callto:
        // query are not part of the number: an extension is not dialed.
        const qsizetype end = rest.indexOf(scheme.size() == 4 ? u';' : u'?');
        if (end >= 0)
            rest.truncate(end);
        return QUrl::fromPercentEncoding(rest.toUtf8());
    }
    return text;
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    QStringList words;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--version")) {
            result.action = CommandLine::Action::Version;
            return result;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (argument.startsWith(QLatin1String("--"))) {
            result.action = CommandLine::Action::Error;
            result.error = QCoreApplication::translate("telvaro::CommandLine", "unknown option %1")
                               .arg(argument);
            return result;
        }
        words.append(argument);
    }
    // The number is the whole command line, as one text.
    result.number = withoutControlCharacters(numberFromLink(words.join(QLatin1Char(' '))));
    return result;
}

QString usageText()
{
    return QCoreApplication::translate(
        "telvaro::CommandLine",
        "Usage: telvaro [NUMBER | tel:NUMBER | callto:NUMBER]\n"
        "       telvaro --version | --help\n"
        "\n"
        "Telvaro dials telephone numbers through a voice modem or with touch tones.\n"
        "NUMBER (one leading \"/\" is removed) is dialed at start when \"Accept dialing\n"
        "numbers from other applications\" is on; when Telvaro already runs, the number\n"
        "is handed to it and this start ends (status 1 when it does not answer, 2 when\n"
        "the number is longer than 254 characters). A number starting with \"+\" is\n"
        "international.\n"
        "\n"
        "Folders: TELVARO_CONFIG_DIR (settings), TELVARO_DATA_DIR (call logs,\n"
        "profiles), TELVARO_RUNTIME_DIR (instance socket).\n");
}

QString versionText()
{
    return QStringLiteral("Telvaro " TELVARO_VERSION "\n");
}

} // namespace telvaro
