// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/Clock.h"
#include "core/dialing/Dialer.h"
#include "core/dialing/NumberTranslation.h"
#include "core/telephony/SoundPlayer.h"
#include "settings/OptionsStore.h"

#include <QStringList>

#include <chrono>
#include <cmath>
#include <numbers>

namespace telvaro::test {

// A fresh program for each dialing test: state and options as at a first
// start.
inline void resetDialing()
{
    options().resetToDesigned();
}

// Records what would have been played.
class RecordingPlayer final : public SoundPlayer
{
public:
    QStringList events;     // "sync:<samples>@<rate>", "async:...", "stop", "beep"
    QList<double> playedAt; // seconds since the player was made, per play
    void play(const WaveSound& s, PlayMode mode) override
    {
        playedAt.append(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_made).count());
        events.append(
            QStringLiteral("%1:%2@%3")
                .arg(mode == PlayMode::Sync ? QStringLiteral("sync") : QStringLiteral("async"))
                .arg(s.sampleCount())
                .arg(s.sampleRate));
    }
    void stop() override { events.append(QStringLiteral("stop")); }
    void beep() override { events.append(QStringLiteral("beep")); }

private:
    std::chrono::steady_clock::time_point m_made = std::chrono::steady_clock::now();
};

// A monotonic clock that runs `factor` times faster than the real one, so
// that waits of many seconds pass quickly while keeping their order.
class FastClock final : public Clock
{
public:
    explicit FastClock(double factor) : m_factor(factor) { setClock(this); }
    ~FastClock() override { setClock(nullptr); }
    QDateTime now() const override { return QDateTime(QDate(2026, 4, 1), QTime(14, 30, 0)); }
    std::chrono::steady_clock::time_point monotonic() const override
    {
        const auto real = std::chrono::steady_clock::now() - m_start;
        return m_start +
               std::chrono::duration_cast<std::chrono::steady_clock::duration>(real * m_factor);
    }
    double seconds() const { return std::chrono::duration<double>(monotonic() - m_start).count(); }

private:
    double m_factor;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// A location in Toronto: area 416, long distance "1FG", international "011EFG".
// Not `present`: the line layer tells nothing, as when it has no session.
class FakeTranslation final : public LineTranslation
{
public:
    QStringList requests; // canonical addresses asked for
    bool present = true;
    bool fail = false;
    QString outsideLine; // put before every number, as "9" + " " when shown
    QString cardTail;    // what a card rule puts after the number

    CurrentLocation location;
    FakeTranslation()
    {
        location.countryCode = 1;
        location.areaCode = QStringLiteral("416");
        location.longDistanceRule = QStringLiteral("1FG");
        location.internationalRule = QStringLiteral("011EFG");
    }
    bool readLocation(CurrentLocation* out) override
    {
        *out = location;
        return present;
    }
    // Translates like a North American location: local numbers as they are,
    // others with 1 + area, international with 011 + country.
    std::optional<TranslatedAddress> translateAddress(const QString& canonical, int, int) override
    {
        if (!present)
            return std::nullopt;
        requests.append(canonical);
        if (fail)
            return std::nullopt;
        const qsizetype open = canonical.indexOf(u'(');
        const qsizetype close = canonical.indexOf(u')');
        const QString country = canonical.mid(1, open - 2);
        const QString area = canonical.mid(open + 1, close - open - 1);
        const QString number = canonical.mid(close + 2);
        TranslatedAddress out;
        if (country != QLatin1String("1"))
            out = {QStringLiteral("011 ") + country + u' ' + area + u' ' + number,
                   QStringLiteral("011 ") + country + u' ' + area + u' ' + number};
        else if (area == location.areaCode)
            out = {number, number};
        else
            out = {QStringLiteral("1") + area + number,
                   QStringLiteral("1 ") + area + u' ' + number};
        if (!outsideLine.isEmpty())
            out = {outsideLine + out.dialable, outsideLine + u' ' + out.displayable};
        return TranslatedAddress{out.dialable + cardTail, out.displayable + cardTail};
    }
};

// Power of `hz` in `samples` (Goertzel).
inline double goertzel(const std::vector<double>& samples, int rate, double hz)
{
    const double w = 2.0 * std::numbers::pi * hz / rate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0;
    double s2 = 0;
    for (double x : samples) {
        const double s0 = x + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

// The strongest of the four row and of the four column frequencies.
inline std::pair<int, int> strongestDtmfPair(const std::vector<double>& samples, int rate)
{
    auto best = [&](std::initializer_list<int> freqs) {
        int top = 0;
        double power = -1;
        for (int f : freqs) {
            const double p = goertzel(samples, rate, f);
            if (p > power) {
                power = p;
                top = f;
            }
        }
        return top;
    };
    return {best({697, 770, 852, 941}), best({1209, 1336, 1477, 1633})};
}

} // namespace telvaro::test
