// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a check that names the property that failed
// (and the input, in the regression run), and a reader that takes structured
// values from the fuzzer's bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace telvaro::fuzz {

// The input file the regression run is feeding, for the failure report.
inline const char* currentInput = nullptr;

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property failed: %s%s%s\n", file, line, what,
                 currentInput ? "\n  input: " : "", currentInput ? currentInput : "");
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void(0) : ::telvaro::fuzz::fail(#condition, __FILE__, __LINE__))

// Takes values from the front of the input; past its end every value is 0 or
// empty.
class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), qsizetype(size))
    {
    }

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    uint8_t byte() { return atEnd() ? 0 : uint8_t(m_bytes[m_pos++]); }
    bool flag() { return byte() & 1; }
    // A number below `bound` (bound > 0).
    uint32_t below(uint32_t bound)
    {
        const uint32_t v = uint32_t(byte()) | uint32_t(byte()) << 8;
        return v % bound;
    }
    // A length-prefixed run of bytes (at most 255).
    QByteArrayView bytes()
    {
        const qsizetype n = std::min<qsizetype>(byte(), m_bytes.size() - m_pos);
        const QByteArrayView v = m_bytes.sliced(m_pos, n);
        m_pos += n;
        return v;
    }
    // A length-prefixed text, its bytes taken as Latin-1.
    QString text() { return QString::fromLatin1(bytes()); }
    // Everything not yet taken.
    QByteArrayView rest()
    {
        const QByteArrayView v = m_bytes.sliced(m_pos);
        m_pos = m_bytes.size();
        return v;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// A folder of the fuzz run's own, removed at its end, for targets that read
// files (a settings folder, a lock folder).
inline QString scratchFolder()
{
    static QTemporaryDir dir;
    return dir.path();
}

} // namespace telvaro::fuzz
