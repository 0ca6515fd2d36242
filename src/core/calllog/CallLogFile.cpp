// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calllog/CallLogFile.h"

#include "core/common/Clock.h"
#include "settings/AtomicFile.h"
#include "settings/Cp1252.h"
#include "settings/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

#include <algorithm>

namespace telvaro::calllog {
namespace {

constexpr qsizetype kNameWidth = 42;
constexpr qsizetype kNumberWidth = 55;
constexpr qsizetype kDateTimeWidth = 20;

// Appends `text` and as many spaces as make it `width` long (none when longer).
void appendField(QString& line, const QString& text, qsizetype width)
{
    line.append(text);
    if (text.size() < width)
        line.append(QString(width - text.size(), u' '));
}

QString trimmedRight(QStringView s)
{
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == u' ')
        --end;
    return s.left(end).toString();
}

QStringView piece(QStringView line, qsizetype from, qsizetype length = -1)
{
    if (from >= line.size())
        return {};
    return length < 0 ? line.mid(from) : line.mid(from, std::min(length, line.size() - from));
}

CallLogRow parseRecord(QStringView line, LogKind kind)
{
    // Records are written with one leading space; a line without it (edited
    // by hand) is read as if it had it.
    qsizetype at = 1;
    if (line.isEmpty() || line[0] != u' ') {
        while (!line.isEmpty() && line.back() == u' ')
            line.chop(1);
        at = 0;
    }
    CallLogRow row;
    row.name = trimmedRight(piece(line, at, kNameWidth));
    row.number = trimmedRight(piece(line, at + kNameWidth, kNumberWidth));
    const qsizetype dateAt = at + kNameWidth + kNumberWidth;
    if (kind == LogKind::Incoming) {
        row.dateTime = trimmedRight(piece(line, dateAt));
    } else {
        row.dateTime = trimmedRight(piece(line, dateAt, kDateTimeWidth));
        // The key follows one blank; anything else there belongs to the key.
        QStringView key = piece(line, dateAt + kDateTimeWidth);
        if (key.startsWith(u' '))
            key = key.mid(1);
        row.entryKey = trimmedRight(key);
    }
    return row;
}

} // namespace

QString headerLine2(HeaderVariant variant)
{
    const char* which = variant == HeaderVariant::Outgoing   ? "Outgoing"
                        : variant == HeaderVariant::Incoming ? "Incoming"
                                                             : "*******";
    return QStringLiteral("To print this file in the tabular format use \"\"Print %1 Calls Log\"\" "
                          "from Telvaro menu.")
        .arg(QLatin1String(which));
}

QByteArray headerBytes(HeaderVariant variant)
{
    return QByteArray(kWarningLine) + "\r\n" + cp1252::encode(headerLine2(variant)) + "\r\n";
}

QString logPath(const QString& profileName, LogKind kind)
{
    return paths::dataDir() + u'/' + profileName +
           (kind == LogKind::Outgoing ? QStringLiteral("Out.log") : QStringLiteral("In.log"));
}

QString backupPath(const QString& profileName, LogKind kind)
{
    return paths::dataDir() + u'/' + profileName +
           (kind == LogKind::Outgoing ? QStringLiteral("Out.bak") : QStringLiteral("In.bak"));
}

QString cutName(const QString& name)
{
    return name.size() > 37 ? name.left(38) + u'*' : name;
}

QString cutNumber(const QString& number, LogKind kind)
{
    const qsizetype limit = kind == LogKind::Outgoing ? 52 : 51;
    return number.size() > limit ? number.left(52) + u'*' : number;
}

QString formatDateTime(const QDateTime& when)
{
    return when.toString(QStringLiteral("MM-dd-yyyy  HH:mm:ss"));
}

QString cleanField(const QString& text)
{
    const auto breaksLine = [](QChar c) { return c == u'\r' || c == u'\n'; };
    if (std::none_of(text.cbegin(), text.cend(), breaksLine))
        return text;
    QString clean = text;
    for (QChar& c : clean) {
        if (breaksLine(c))
            c = u' ';
    }
    return clean;
}

CallLogRow cleanRow(const CallLogRow& row)
{
    return {cleanField(row.name), cleanField(row.number), cleanField(row.dateTime),
            cleanField(row.entryKey)};
}

QString formatRecord(const CallLogRow& row, LogKind kind)
{
    QString line;
    line.reserve(128);
    line.append(u' ');
    appendField(line, cleanField(row.name), kNameWidth);
    appendField(line, cleanField(row.number), kNumberWidth);
    if (kind == LogKind::Outgoing) {
        // Keep the key in its column even for a row without a date.
        appendField(line, cleanField(row.dateTime), kDateTimeWidth);
        line.append(u' ');
        line.append(cleanField(row.entryKey));
    } else {
        line.append(cleanField(row.dateTime));
    }
    return line;
}

qint64 dateSortKey(QStringView t)
{
    const auto number = [&](qsizetype at, qsizetype length) -> int {
        if (at + length > t.size())
            return -1;
        int value = 0;
        for (qsizetype i = at; i < at + length; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const int month = number(0, 2);
    const int day = number(3, 2);
    const int year = number(6, 4);
    if (month < 0 || day < 0 || year < 0 || !QDate::isValid(year, month, day))
        return -1;
    qint64 key = (qint64(year) * 100 + month) * 100 + day;
    const int hour = number(12, 2);
    const int minute = number(15, 2);
    const int second = number(18, 2);
    const bool timeRead = hour >= 0 && minute >= 0 && second >= 0;
    return key * 1000000 + (timeRead ? (hour * 100 + minute) * 100 + second : 0);
}

Result appendRecord(const QString& path, LogKind kind, const CallLogRow& given)
{
    const CallLogRow row = cleanRow(given);
    const HeaderVariant variant =
        kind == LogKind::Outgoing ? HeaderVariant::Outgoing : HeaderVariant::Incoming;
    if (isReadOnlyFile(path))
        return Result::failure(CallLogWriter::tr("The file is read-only."));
    // The record goes in by replacing the whole file: a kill or a crash at any
    // moment leaves the log with the record or without it, never half a line.
    QByteArray bytes;
    QFile file(path);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return Result::failure(CallLogWriter::tr("%1 is not a file.").arg(path));
    if (info.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            return Result::failure(file.errorString());
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return Result::failure(file.errorString());
        file.close();
    } else {
        QDir().mkpath(QFileInfo(path).absolutePath());
    }
    if (bytes.isEmpty()) {
        // A new or emptied log starts with its header.
        bytes = headerBytes(variant);
    } else if (!bytes.endsWith('\n') && !bytes.endsWith('\r')) {
        // A file whose last line lacks its end (cut off by hand) still gets
        // the record on a line of its own.
        bytes.append("\r\n");
    }
    bytes.append(cp1252::encode(formatRecord(row, kind)));
    bytes.append("\r\n");
    return writeFileAtomically(path, bytes);
}

bool LogHeader::isHeaderLine(QByteArrayView line)
{
    ++m_lineNo;
    if (m_lineNo == 1 && line == QByteArrayView(kWarningLine)) {
        m_warningSeen = true;
        return true;
    }
    return m_lineNo == 2 && m_warningSeen &&
           line.startsWith(QByteArrayView("To print this file in the tabular format use"));
}

bool isBlankLine(QByteArrayView line)
{
    return line.trimmed().isEmpty();
}

QList<CallLogRow> parseLog(QByteArrayView bytes, LogKind kind)
{
    QList<CallLogRow> rows;
    rows.reserve(bytes.size() / 120 + 1);
    LogHeader header;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (!header.isHeaderLine(line) && !isBlankLine(line))
            rows.append(parseRecord(cp1252::decode(line), kind));
    });
    return rows;
}

QList<CallLogRow> readLog(const QString& path, LogKind kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseLog(file.readAll(), kind);
}

namespace {

// Writes `text` as the bytes of a field at `out` (CR and LF as blanks, as
// cleanField() has them; one byte per character), then blanks up to `width`
// characters. Returns the end.
char* putField(char* out, QStringView text, qsizetype width = 0)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\r' || c == u'\n')
            *out++ = ' ';
        else if (c < 0x80)
            *out++ = char(c);
        else
            *out++ = cp1252::encode(QStringView(&ch, 1)).at(0);
    }
    if (text.size() < width) {
        std::fill_n(out, width - text.size(), ' ');
        out += width - text.size();
    }
    return out;
}

} // namespace

QByteArray serializeLog(LogKind kind, const QList<CallLogRow>& rows, HeaderVariant variant)
{
    // The bytes of formatRecord() for every row, written straight into one
    // buffer of the right size: a big log saves without a text per record.
    const bool outgoing = kind == LogKind::Outgoing;
    const QByteArray header = headerBytes(variant);
    qsizetype size = header.size();
    for (const CallLogRow& row : rows) {
        size += 1 + std::max(row.name.size(), kNameWidth) +
                std::max(row.number.size(), kNumberWidth) + 2;
        size += outgoing ? std::max(row.dateTime.size(), kDateTimeWidth) + 1 + row.entryKey.size()
                         : row.dateTime.size();
    }
    QByteArray bytes(size, Qt::Uninitialized);
    char* out = std::copy(header.cbegin(), header.cend(), bytes.data());
    for (const CallLogRow& row : rows) {
        *out++ = ' ';
        out = putField(out, row.name, kNameWidth);
        out = putField(out, row.number, kNumberWidth);
        if (outgoing) {
            out = putField(out, row.dateTime, kDateTimeWidth);
            *out++ = ' ';
            out = putField(out, row.entryKey);
        } else {
            out = putField(out, row.dateTime);
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    return bytes;
}

Result saveLog(const QString& path, LogKind kind, const QList<CallLogRow>& rows,
               HeaderVariant variant)
{
    const QByteArray bytes = serializeLog(kind, rows, variant);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFileAtomically(path, bytes);
}

QString incomingName(const QString& name)
{
    const QString cut = cutName(name);
    return cut.isEmpty() ? QStringLiteral("Unknown Caller") : cut;
}

QString incomingNumber(const QString& number)
{
    const QString cut = cutNumber(number, LogKind::Incoming);
    return cut.isEmpty() ? QStringLiteral("Unknown #") : cut;
}

CallLogRow CallLogWriter::appendOutgoingCall(const QString& path, const QString& name,
                                             const QString& number, const QString& entryKey)
{
    const CallLogRow row{cutName(name), cutNumber(number, LogKind::Outgoing),
                         formatDateTime(clock().now()), entryKey};
    append(path, LogKind::Outgoing, row, false);
    return cleanRow(row);
}

CallLogRow CallLogWriter::appendIncomingCall(const QString& path, const QString& name,
                                             const QString& number, const QDateTime& when)
{
    const CallLogRow row = cleanRow({incomingName(name),
                                     incomingNumber(number),
                                     formatDateTime(when.isValid() ? when : clock().now()),
                                     {}});
    // The incoming record is written inside a line event: its failure is
    // told once that event is over, so a message box cannot let later line
    // events overtake it.
    append(path, LogKind::Incoming, row, true);
    return row;
}

bool CallLogWriter::append(const QString& path, LogKind kind, const CallLogRow& given, bool later)
{
    const CallLogRow row = cleanRow(given);
    const Result appended = appendRecord(path, kind, row);
    if (appended) {
        m_reported.remove(path);
        Q_EMIT recordAppended(path, kind, row);
        return true;
    }
    if (later) {
        QTimer::singleShot(0, this, [this, path, kind, error = appended.error] {
            reportFailure(path, kind, error);
        });
    } else {
        reportFailure(path, kind, appended.error);
    }
    return false;
}

void CallLogWriter::reportFailure(const QString& path, LogKind kind, const QString& reason)
{
    if (m_reported.contains(path))
        return;
    m_reported.insert(path);
    Q_EMIT writeFailed((kind == LogKind::Outgoing
                            ? tr("This call could not be written to the outgoing calls "
                                 "log\n%1\n\n%2\n\nThe calls already in the log are kept.")
                            : tr("This call could not be written to the incoming calls "
                                 "log\n%1\n\n%2\n\nThe calls already in the log are kept."))
                           .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace telvaro::calllog
