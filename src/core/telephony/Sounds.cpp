// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/Sounds.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <vector>

namespace telvaro {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Touch tones: 16-bit at 8000/s. The low group sits at about -9 dBFS and the
// high group 2 dB above it (the usual positive twist, since the line loses
// more of the high group); together they peak below -2 dBFS. A 4 ms raised
// cosine rise and fall keeps clicks out of the receiver.
constexpr int kToneRate = 8000;
constexpr double kLowLevel = 0.35;
constexpr double kHighLevel = 0.44;
constexpr int kToneRamp = 32;

WaveSound makeTone(int lowHz, int highHz, int samples)
{
    WaveSound s;
    s.sampleRate = kToneRate;
    s.bitsPerSample = 16;
    s.data.resize(samples * 2);
    auto* out = reinterpret_cast<uchar*>(s.data.data());
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / kToneRate;
        double v =
            kLowLevel * std::sin(kTwoPi * lowHz * t) + kHighLevel * std::sin(kTwoPi * highHz * t);
        const int fromEdge = std::min(i, samples - 1 - i);
        if (fromEdge < kToneRamp)
            v *= 0.5 - 0.5 * std::cos(std::numbers::pi * fromEdge / kToneRamp);
        const auto sample = qint16(std::lround(v * 32767.0));
        qToLittleEndian(sample, out + 2 * i);
    }
    return s;
}

// A soft bell note: a sine with two quiet overtones and an exponential decay,
// with a short attack so that it starts without a click.
struct Note
{
    double startSeconds;
    double hz;
    double level;
    double decayPerSecond;
};

WaveSound makeChime(int rate, int samples, const std::vector<Note>& notes)
{
    std::vector<double> mix(samples, 0.0);
    for (const Note& n : notes) {
        const int first = int(n.startSeconds * rate);
        for (int i = std::max(first, 0); i < samples; ++i) {
            const double t = double(i - first) / rate;
            const double attack = std::min(1.0, t / 0.006);
            const double env = attack * std::exp(-n.decayPerSecond * t);
            if (env < 1e-4 && t > 0.1)
                break;
            const double w = kTwoPi * n.hz * t;
            mix[i] += n.level * env *
                      (std::sin(w) + 0.25 * std::sin(2 * w) + 0.08 * std::sin(3 * w)) / 1.33;
        }
    }
    // Fade the last 50 ms to silence.
    const int fade = rate / 20;
    for (int i = std::max(0, samples - fade); i < samples; ++i)
        mix[i] *= double(samples - 1 - i) / fade;
    WaveSound s;
    s.sampleRate = rate;
    s.bitsPerSample = 8;
    s.data.resize(samples);
    for (int i = 0; i < samples; ++i) {
        const double v = std::clamp(mix[i], -1.0, 1.0);
        s.data[i] = char(uchar(std::clamp(128 + std::lround(v * 127.0), 0L, 255L)));
    }
    return s;
}

WaveSound makeResource(const QString& name)
{
    static const QHash<QString, QChar> toneKeys = {
        {QStringLiteral("one"), u'1'},   {QStringLiteral("two"), u'2'},
        {QStringLiteral("three"), u'3'}, {QStringLiteral("four"), u'4'},
        {QStringLiteral("five"), u'5'},  {QStringLiteral("six"), u'6'},
        {QStringLiteral("seven"), u'7'}, {QStringLiteral("eight"), u'8'},
        {QStringLiteral("nine"), u'9'},  {QStringLiteral("zero"), u'0'},
        {QStringLiteral("pound"), u'#'}, {QStringLiteral("star"), u'*'},
    };
    if (const auto it = toneKeys.constFind(name); it != toneKeys.constEnd()) {
        int low = 0;
        int high = 0;
        dtmfFrequencies(*it, &low, &high);
        const int samples = *it == u'#' ? 756 : *it == u'*' ? 868 : 900;
        return makeTone(low, high, samples);
    }
    // A rising major triad: the call got through.
    if (name == QLatin1String("connected"))
        return makeChime(22050, 40192,
                         {{0.00, 523.25, 0.45, 3.0},
                          {0.18, 659.25, 0.40, 3.0},
                          {0.36, 783.99, 0.40, 2.5},
                          {0.36, 1046.50, 0.12, 3.5}});
    // A falling minor third, lower and slower: the redials are used up.
    if (name == QLatin1String("enddial"))
        return makeChime(
            22050, 40192,
            {{0.00, 587.33, 0.45, 3.0}, {0.30, 493.88, 0.45, 2.8}, {0.60, 392.00, 0.50, 2.2}});
    // Two short pairs of bell strokes, like a quiet telephone bell.
    if (name == QLatin1String("incoming"))
        return makeChime(11025, 27720,
                         {{0.00, 880.00, 0.35, 6.0},
                          {0.00, 1318.51, 0.20, 7.0},
                          {0.15, 880.00, 0.35, 6.0},
                          {0.15, 1318.51, 0.20, 7.0},
                          {1.00, 880.00, 0.35, 6.0},
                          {1.00, 1318.51, 0.20, 7.0},
                          {1.15, 880.00, 0.35, 6.0},
                          {1.15, 1318.51, 0.20, 7.0}});
    return {};
}

} // namespace

double WaveSound::sampleAt(int i) const
{
    if (bitsPerSample == 8)
        return (int(uchar(data[i])) - 128) / 128.0;
    return qFromLittleEndian<qint16>(data.constData() + 2 * i) / 32768.0;
}

const WaveSound* waveResource(const QString& name)
{
    static std::mutex mutex;
    static QHash<QString, WaveSound> cache;
    const QString key = name.toLower();
    std::lock_guard lock(mutex);
    auto it = cache.find(key);
    if (it == cache.end()) {
        WaveSound made = makeResource(key);
        if (made.isEmpty())
            return nullptr;
        it = cache.insert(key, std::move(made));
    }
    return &*it;
}

QString toneResourceName(QChar key)
{
    static const char* const digits[] = {"zero", "one", "two",   "three", "four",
                                         "five", "six", "seven", "eight", "nine"};
    if (key >= u'0' && key <= u'9')
        return QLatin1String(digits[key.unicode() - u'0']);
    if (key == u'#')
        return QStringLiteral("pound");
    if (key == u'*')
        return QStringLiteral("star");
    return QString(key);
}

bool dtmfFrequencies(QChar key, int* lowHz, int* highHz)
{
    static constexpr int low[] = {697, 770, 852, 941};
    static constexpr int high[] = {1209, 1336, 1477, 1633};
    static const QString layout = QStringLiteral("123A456B789C*0#D");
    const qsizetype at = layout.indexOf(key.toUpper());
    if (at < 0)
        return false;
    *lowHz = low[at / 4];
    *highHz = high[at % 4];
    return true;
}

QByteArray wavFileBytes(const WaveSound& sound)
{
    QByteArray out;
    out.reserve(44 + sound.data.size());
    auto put32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    const auto dataSize = quint32(sound.data.size());
    out.append("RIFF", 4);
    put32(36 + dataSize);
    out.append("WAVEfmt ", 8);
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(quint32(sound.sampleRate));
    put32(quint32(sound.sampleRate * sound.bytesPerSample()));
    put16(quint16(sound.bytesPerSample()));
    put16(quint16(sound.bitsPerSample));
    out.append("data", 4);
    put32(dataSize);
    out.append(sound.data);
    if (dataSize % 2)
        out.append('\0');
    return out;
}

WaveSound parseWavFile(const QByteArray& bytes)
{
    WaveSound s;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (size > quint32(bytes.size() - body))
            return {};
        if (id == "fmt " && size >= 16) {
            const auto format = qFromLittleEndian<quint16>(bytes.constData() + body);
            const auto channels = qFromLittleEndian<quint16>(bytes.constData() + body + 2);
            s.sampleRate = int(qFromLittleEndian<quint32>(bytes.constData() + body + 4));
            s.bitsPerSample = qFromLittleEndian<quint16>(bytes.constData() + body + 14);
            if (format != 1 || channels != 1 || (s.bitsPerSample != 8 && s.bitsPerSample != 16))
                return {};
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            s.data = bytes.mid(body, size);
            return s;
        }
        at = body + size + (size % 2);
    }
    return {};
}

} // namespace telvaro
