// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/lineapi/UucpLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace telvaro {

QString UucpLock::lockDir()
{
    const QByteArray env = qgetenv("TELVARO_LOCK_DIR");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    if (QFileInfo(QStringLiteral("/run/lock")).isDir())
        return QStringLiteral("/run/lock");
    return QStringLiteral("/var/lock");
}

QString UucpLock::lockFileFor(const QString& device)
{
    QString name = device;
    if (name.startsWith(QStringLiteral("/dev/")))
        name = name.mid(5);
    else
        name = QFileInfo(name).fileName();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return lockDir() + QStringLiteral("/LCK..") + name;
}

qint64 UucpLock::ownerOf(const QString& lockFile)
{
    QFile f(lockFile);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return ownerOfBytes(f.read(128));
}

qint64 UucpLock::ownerOfBytes(QByteArrayView data)
{
    // Linux process ids never exceed 2^22 (the largest pid_max).
    constexpr qint64 kLargestPid = qint64(1) << 22;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const bool text = std::all_of(data.begin(), data.end(),
                                  [&](char c) { return isBlank(c) || (c >= 0x20 && c <= 0x7e); });
    if (!text) {
        if (data.size() != 4)
            return 0;
        // Old binary lock files hold the id as a 4-byte integer.
        quint32 raw = 0;
        for (int i = 3; i >= 0; --i)
            raw = raw << 8 | quint8(data[i]);
        return raw <= kLargestPid ? qint64(raw) : 0;
    }
    qsizetype at = 0;
    while (at < data.size() && isBlank(data[at]))
        ++at;
    const qsizetype digitsFrom = at;
    qint64 pid = 0;
    while (at < data.size() && data[at] >= '0' && data[at] <= '9' && pid <= kLargestPid)
        pid = pid * 10 + (data[at++] - '0');
    if (at == digitsFrom || (at < data.size() && !isBlank(data[at])))
        return 0;
    return pid <= kLargestPid ? pid : 0;
}

bool UucpLock::processAlive(qint64 pid)
{
    // An id outside pid_t would be cut to another one (-1: every process).
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    if (::kill(pid_t(pid), 0) == 0)
        return true;
    return errno == EPERM; // running, but someone else's
}

bool UucpLock::removeStale(const QString& device)
{
    const QString file = lockFileFor(device);
    if (!QFileInfo::exists(file))
        return false;
    const qint64 owner = ownerOf(file);
    if (owner == QCoreApplication::applicationPid() || processAlive(owner))
        return false;
    return QFile::remove(file);
}

bool UucpLock::removeIfOwnedBy(const QString& device, qint64 pid)
{
    const QString file = lockFileFor(device);
    if (pid <= 0 || ownerOf(file) != pid)
        return false;
    if (pid != QCoreApplication::applicationPid() && processAlive(pid))
        return false;
    return QFile::remove(file);
}

UucpLock::Result UucpLock::acquire(const QString& device, qint64* owner, QString* error)
{
    release();
    const QString file = lockFileFor(device);
    const qint64 me = QCoreApplication::applicationPid();
    const QByteArray content = QByteArray::number(me).rightJustified(10, ' ') + '\n';
    const QByteArray path = QFile::encodeName(file);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            const ssize_t n = ::write(fd, content.constData(), size_t(content.size()));
            ::close(fd);
            if (n != content.size()) {
                ::unlink(path.constData());
                if (error)
                    *error = QStringLiteral("cannot write %1").arg(file);
                return Result::Failed;
            }
            m_file = file;
            return Result::Locked;
        }
        if (errno != EEXIST) {
            if (error)
                *error =
                    QStringLiteral("%1: %2").arg(file, QString::fromLocal8Bit(strerror(errno)));
            return Result::Failed;
        }
        const qint64 pid = ownerOf(file);
        if (pid == me) {
            // Ours already (a line of this process holds the port).
            if (owner)
                *owner = pid;
            return Result::Busy;
        }
        if (processAlive(pid)) {
            if (owner)
                *owner = pid;
            return Result::Busy;
        }
        // Stale: its process is gone. Take it over once.
        ::unlink(path.constData());
    }
    if (error)
        *error = QStringLiteral("cannot lock %1").arg(device);
    return Result::Failed;
}

void UucpLock::release()
{
    if (m_file.isEmpty())
        return;
    if (ownerOf(m_file) == QCoreApplication::applicationPid())
        QFile::remove(m_file);
    m_file.clear();
}

} // namespace telvaro
