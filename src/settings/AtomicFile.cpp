// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telvaro {
namespace {

QString systemError(const QString& what, int err)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(err)));
}

bool writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

bool isReadOnlyFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st
    {
    };
    if (::stat(native.constData(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(native.constData(), W_OK) != 0;
}

Result writeFileAtomically(const QString& linkOrPath, const QByteArray& data)
{
    // A file kept elsewhere through a symbolic link (a chain of them, too)
    // stays linked: the new file replaces the link's target.
    QString path = linkOrPath;
    for (int hops = 0; hops < 40 && QFileInfo(path).isSymLink(); ++hops)
        path = QFileInfo(path).symLinkTarget();

    auto fail = [](const QString& message) { return Result::failure(message); };

    const QByteArray native = QFile::encodeName(path);
    struct stat st
    {
    };
    mode_t mode = 0;
    bool exists = false;
    if (::stat(native.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(QCoreApplication::translate("telvaro::Files", "%1 is a folder").arg(path));
        if (isReadOnlyFile(path))
            return fail(QCoreApplication::translate("telvaro::Files", "%1 is read-only").arg(path));
        exists = true;
        mode = st.st_mode & 07777;
    }

    const QFileInfo info(path);
    QByteArray tmpl = QFile::encodeName(info.absolutePath() + QLatin1Char('/') + QLatin1Char('.') +
                                        info.fileName() + ".XXXXXX");
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return fail(systemError(
            QCoreApplication::translate("telvaro::Files", "Cannot write %1").arg(path), errno));

    auto abandon = [&](const QString& message) {
        ::close(fd);
        ::unlink(tmpl.constData());
        return fail(message);
    };

    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    if (!writeAll(fd, data))
        return abandon(systemError(
            QCoreApplication::translate("telvaro::Files", "Cannot write %1").arg(path), errno));
    if (::fsync(fd) != 0)
        return abandon(systemError(
            QCoreApplication::translate("telvaro::Files", "Cannot write %1").arg(path), errno));
    if (::close(fd) != 0) {
        ::unlink(tmpl.constData());
        return fail(systemError(
            QCoreApplication::translate("telvaro::Files", "Cannot write %1").arg(path), errno));
    }
    if (::rename(tmpl.constData(), native.constData()) != 0) {
        const int err = errno;
        ::unlink(tmpl.constData());
        return fail(systemError(
            QCoreApplication::translate("telvaro::Files", "Cannot replace %1").arg(path), err));
    }

    // Make the rename itself durable.
    const int dirFd = ::open(QFile::encodeName(info.absolutePath()).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return Result::success();
}

} // namespace telvaro
