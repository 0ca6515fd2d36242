// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace telvaro {

// UUCP lock files for serial ports: /run/lock/LCK..ttyACM0 (or /var/lock)
// holding the owner's process id as ten right-aligned digits and a line end,
// as other serial programs on the system (minicom, ModemManager, pppd) expect.
// A lock whose process is gone is stale and is taken over.
class UucpLock
{
public:
    enum class Result { Locked, Busy, Failed };

    // The folder of the lock files: $TELVARO_LOCK_DIR when set (tests), else
    // /run/lock when it exists, else /var/lock.
    static QString lockDir();
    // The lock file of a device: /dev/ttyACM0 -> LCK..ttyACM0, /dev/pts/3 ->
    // LCK..pts_3.
    static QString lockFileFor(const QString& device);
    // The process id in a lock file; 0 when there is none or it is unreadable.
    static qint64 ownerOf(const QString& lockFile);
    // The process id the bytes of a lock file hold: a text lock (printable
    // characters: blanks, the decimal id, then a blank, a line end or the
    // end), or an old binary lock of exactly four bytes that are not all
    // text, holding the id as a little-endian integer. 0 for anything else,
    // and for an id larger than a process id can be: text that is not a
    // number is never read as a binary id.
    static qint64 ownerOfBytes(QByteArrayView data);
    // Whether the process with this id is running.
    static bool processAlive(qint64 pid);
    // Removes the lock of `device` when its owner is gone, or when it names
    // process `pid` (a run of ours that was killed). Returns true when a lock
    // was removed.
    static bool removeStale(const QString& device);
    static bool removeIfOwnedBy(const QString& device, qint64 pid);

    UucpLock() = default;
    ~UucpLock() { release(); }
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    // Locks `device` for this process. Busy: a running process holds it
    // (`owner` tells which); Failed: the lock folder cannot be written
    // (`error` tells why).
    Result acquire(const QString& device, qint64* owner = nullptr, QString* error = nullptr);
    // Removes the lock when it is ours.
    void release();
    bool isHeld() const { return !m_file.isEmpty(); }
    QString file() const { return m_file; }

private:
    QString m_file;
};

} // namespace telvaro
