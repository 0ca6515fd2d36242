// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/SoundPlayer.h"

#include "core/common/Clock.h"
#include "settings/AtomicFile.h"

#include <QtEndian>

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>
#include <thread>

namespace telvaro {
namespace {

// Writes `value` (-1 .. 1) as one sample of `bits` bits.
void appendSample(QByteArray& out, int bits, double value)
{
    value = std::clamp(value, -1.0, 1.0);
    if (bits == 8) {
        out.append(char(uchar(std::clamp(128 + std::lround(value * 127.0), 0L, 255L))));
    } else {
        char b[2];
        qToLittleEndian(qint16(std::lround(value * 32767.0)), b);
        out.append(b, 2);
    }
}

// `sound` in the rate and width of `format` (linear interpolation).
QByteArray convertTo(const WaveSound& sound, const WaveSound& format)
{
    if (sound.sampleRate == format.sampleRate && sound.bitsPerSample == format.bitsPerSample)
        return sound.data;
    QByteArray out;
    const int inCount = sound.sampleCount();
    if (inCount == 0)
        return out;
    const auto outCount =
        qsizetype(std::llround(double(inCount) * format.sampleRate / sound.sampleRate));
    out.reserve(outCount * format.bytesPerSample());
    for (qsizetype i = 0; i < outCount; ++i) {
        const double pos = double(i) * sound.sampleRate / format.sampleRate;
        const int a = std::min(int(pos), inCount - 1);
        const int b = std::min(a + 1, inCount - 1);
        const double f = pos - a;
        appendSample(out, format.bitsPerSample,
                     sound.sampleAt(a) * (1.0 - f) + sound.sampleAt(b) * f);
    }
    return out;
}

const WaveSound& beepSound()
{
    static const WaveSound sound = [] {
        WaveSound s;
        s.sampleRate = 8000;
        s.bitsPerSample = 16;
        const int n = 1600; // 0.2 s
        for (int i = 0; i < n; ++i) {
            const double edge = std::min(1.0, std::min(i, n - 1 - i) / 40.0);
            appendSample(s.data, 16,
                         0.4 * edge * std::sin(2.0 * std::numbers::pi * 880.0 * i / 8000.0));
        }
        return s;
    }();
    return sound;
}

void silentAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

class AlsaSoundPlayer final : public SoundPlayer
{
public:
    AlsaSoundPlayer()
    {
        snd_lib_error_set_handler(&silentAlsaErrors);
        const QString capturePath = QString::fromLocal8Bit(qgetenv("TELVARO_AUDIO_CAPTURE"));
        if (!capturePath.isEmpty())
            m_capture = std::make_unique<SoundCapture>(capturePath);
    }
    ~AlsaSoundPlayer() override { stopWorker(); }

    void play(const WaveSound& sound, PlayMode mode) override
    {
        stopWorker();
        const auto now = clock().monotonic();
        if (m_capture) {
            m_capture->stopped(now);
            m_capture->started(sound, now);
        }
        if (mode == PlayMode::Sync) {
            std::atomic<bool> never{false};
            render(sound, never);
            return;
        }
        m_stop = false;
        m_worker = std::thread([this, sound] { render(sound, m_stop); });
    }

    void stop() override
    {
        stopWorker();
        if (m_capture)
            m_capture->stopped(clock().monotonic());
    }

    void beep() override { play(beepSound(), PlayMode::Async); }

private:
    void stopWorker()
    {
        if (!m_worker.joinable())
            return;
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_worker.join();
    }

    // Plays `sound` on the calling thread until it ends or `stop` is set.
    void render(const WaveSound& sound, std::atomic<bool>& stop)
    {
        snd_pcm_t* pcm = nullptr;
        const snd_pcm_format_t format =
            sound.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0 ||
            snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                               unsigned(sound.sampleRate), 1, 100000) < 0) {
            if (pcm)
                snd_pcm_close(pcm);
            // No device: keep the sound's time.
            std::unique_lock lock(m_mutex);
            m_wake.wait_for(lock, std::chrono::microseconds(std::llround(sound.seconds() * 1e6)),
                            [&stop] { return stop.load(); });
            return;
        }
        const int frameBytes = sound.bytesPerSample();
        const snd_pcm_uframes_t chunk = snd_pcm_uframes_t(std::max(1, sound.sampleRate / 50));
        snd_pcm_uframes_t done = 0;
        const auto total = snd_pcm_uframes_t(sound.sampleCount());
        bool failed = false;
        while (done < total && !stop) {
            const snd_pcm_uframes_t n = std::min(chunk, total - done);
            snd_pcm_sframes_t written =
                snd_pcm_writei(pcm, sound.data.constData() + done * frameBytes, n);
            if (written < 0)
                written = snd_pcm_recover(pcm, int(written), 1);
            if (written < 0) {
                failed = true;
                break;
            }
            done += snd_pcm_uframes_t(written);
        }
        if (stop || failed)
            snd_pcm_drop(pcm);
        else
            snd_pcm_drain(pcm);
        snd_pcm_close(pcm);
    }

    std::unique_ptr<SoundCapture> m_capture;
    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
};

} // namespace

std::unique_ptr<SoundPlayer> makeProgramSoundPlayer()
{
    return std::make_unique<AlsaSoundPlayer>();
}

bool SoundPlayer::playNamed(const QString& name, PlayMode mode)
{
    const WaveSound* sound = waveResource(name);
    if (!sound)
        return false;
    play(*sound, mode);
    return true;
}

SoundCapture::SoundCapture(QString path) : m_path(std::move(path)) {}

qsizetype SoundCapture::offsetOf(TimePoint at) const
{
    const double seconds = std::chrono::duration<double>(at - m_origin).count();
    return qsizetype(std::llround(std::max(0.0, seconds) * m_recorded.sampleRate)) *
           m_recorded.bytesPerSample();
}

void SoundCapture::started(const WaveSound& sound, TimePoint at)
{
    if (sound.isEmpty())
        return;
    if (!m_started) {
        m_started = true;
        m_origin = at;
        m_recorded.sampleRate = sound.sampleRate;
        m_recorded.bitsPerSample = sound.bitsPerSample;
    }
    const qsizetype start = std::max(offsetOf(at), m_recorded.data.size());
    const char silence = m_recorded.bitsPerSample == 8 ? char(128) : char(0);
    m_recorded.data.append(start - m_recorded.data.size(), silence);
    m_lastStart = start;
    m_recorded.data.append(convertTo(sound, m_recorded));
    save();
}

void SoundCapture::stopped(TimePoint at)
{
    if (!m_started)
        return;
    const qsizetype cut = std::max(offsetOf(at), m_lastStart);
    if (cut < m_recorded.data.size()) {
        m_recorded.data.truncate(cut);
        save();
    }
}

void SoundCapture::save()
{
    (void)writeFileAtomically(m_path, wavFileBytes(m_recorded));
}

} // namespace telvaro
