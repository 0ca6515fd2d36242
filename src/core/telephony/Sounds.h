// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

namespace telvaro {

// A mono PCM sound: 8-bit samples are unsigned (silence 128), 16-bit samples
// signed little-endian.
struct WaveSound
{
    int sampleRate = 8000;
    int bitsPerSample = 16;
    QByteArray data;

    int bytesPerSample() const { return bitsPerSample / 8; }
    int sampleCount() const
    {
        return bytesPerSample() > 0 ? int(data.size()) / bytesPerSample() : 0;
    }
    double seconds() const { return sampleRate > 0 ? double(sampleCount()) / sampleRate : 0.0; }
    bool isEmpty() const { return data.isEmpty(); }
    // Sample i scaled to -1 .. 1.
    double sampleAt(int i) const;
};

// The program's own sounds, by name: the twelve touch tones "one" ... "nine",
// "zero", "pound", "star" (DTMF pairs of ITU-T Q.23, 16-bit at 8000/s, 900
// samples, "pound" 756, "star" 868), "connected" and "enddial" (8-bit at
// 22050/s, 40192 samples) and "incoming" (8-bit at 11025/s, 27720 samples).
// Names match without regard to case; an unknown name gives nullptr. The
// sounds are made on first use and kept.
const WaveSound* waveResource(const QString& name);

// The sound name of a telephone key: "1" -> "one" ... "0" -> "zero",
// "#" -> "pound", "*" -> "star"; any other character is its own name.
QString toneResourceName(QChar key);

// The ITU-T Q.23 frequency pair of a key (0-9, *, #, A-D); false for others.
bool dtmfFrequencies(QChar key, int* lowHz, int* highHz);

// A RIFF/WAVE file holding `sound`.
QByteArray wavFileBytes(const WaveSound& sound);
// Reads a PCM WAV file (mono, 8 or 16 bits); an empty sound when it is not one.
WaveSound parseWavFile(const QByteArray& bytes);

} // namespace telvaro
