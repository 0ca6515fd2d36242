// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/Sounds.h"

#include <QString>

#include <chrono>
#include <memory>

namespace telvaro {

enum class PlayMode {
    Sync, // returns when the sound has been played
    Async // returns at once; the sound plays on until it ends or is stopped
};

// Plays the program's sounds. Every play first stops a sound that is still
// playing asynchronously, as PlaySound did. The program has one (the parts
// that sound get it in their constructors); tests hand their own.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const WaveSound& sound, PlayMode mode) = 0;
    // Stops an asynchronous sound; nothing when none plays.
    virtual void stop() = 0;
    // The standard beep of the desktop.
    virtual void beep() = 0;

    // Plays the program's sound `name` (see waveResource); false, and nothing
    // played, when the program has no sound of that name.
    bool playNamed(const QString& name, PlayMode mode);
};

// The program's player: ALSA's default device (which reaches PipeWire or
// PulseAudio). Without a sound device it plays nothing but a synchronous play
// still takes the sound's time. With TELVARO_AUDIO_CAPTURE=FILE.wav everything
// played, and the silences between, is also written to FILE.wav.
std::unique_ptr<SoundPlayer> makeProgramSoundPlayer();

// Records what a player plays into one WAV file on a single time line: each
// sound starts where it started in time, the gaps are silence, and a sound
// stopped early is cut where it stopped. The file takes the format of the
// first sound; later sounds of another rate or width are converted to it. The
// file is rewritten (atomically) after every change, so it is complete
// whenever the program ends.
class SoundCapture
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit SoundCapture(QString path);
    void started(const WaveSound& sound, TimePoint at);
    void stopped(TimePoint at);

    const WaveSound& recorded() const { return m_recorded; }

private:
    qsizetype offsetOf(TimePoint at) const;
    void save();

    QString m_path;
    WaveSound m_recorded;
    TimePoint m_origin{};
    bool m_started = false;
    qsizetype m_lastStart = 0; // byte offset of the last sound
};

} // namespace telvaro
