// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialTestSupport.h"

#include "core/telephony/Sounds.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace telvaro;

namespace {
std::vector<double> samplesOf(const WaveSound& s, int from = 0, int count = -1)
{
    if (count < 0)
        count = s.sampleCount() - from;
    std::vector<double> out;
    for (int i = from; i < from + count && i < s.sampleCount(); ++i)
        out.push_back(s.sampleAt(i));
    return out;
}
} // namespace

class TestSounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void touchTonesCarryTheirFrequencyPairs_data()
    {
        QTest::addColumn<QChar>("key");
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        const int lows[] = {941, 697, 697, 697, 770, 770, 770, 852, 852, 852};
        const int highs[] = {1336, 1209, 1336, 1477, 1209, 1336, 1477, 1209, 1336, 1477};
        for (int d = 0; d <= 9; ++d)
            QTest::addRow("%d", d) << QChar(u'0' + d) << 900 << lows[d] << highs[d];
        QTest::addRow("pound") << QChar(u'#') << 756 << 941 << 1477;
        QTest::addRow("star") << QChar(u'*') << 868 << 941 << 1209;
    }
    void touchTonesCarryTheirFrequencyPairs()
    {
        QFETCH(QChar, key);
        QFETCH(int, samples);
        QFETCH(int, low);
        QFETCH(int, high);
        const WaveSound* tone = waveResource(toneResourceName(key));
        QVERIFY(tone);
        QCOMPARE(tone->sampleRate, 8000);
        QCOMPARE(tone->bitsPerSample, 16);
        QCOMPARE(tone->sampleCount(), samples);
        const auto pair = test::strongestDtmfPair(samplesOf(*tone), 8000);
        QCOMPARE(pair.first, low);
        QCOMPARE(pair.second, high);

        // Loud enough for a handset microphone, never clipped, and starting
        // and ending at rest so the receiver hears no click.
        double peak = 0;
        for (double v : samplesOf(*tone))
            peak = std::max(peak, std::abs(v));
        QVERIFY2(peak > 0.5 && peak < 0.95, qPrintable(QString::number(peak)));
        QVERIFY(std::abs(tone->sampleAt(0)) < 0.01);
        QVERIFY(std::abs(tone->sampleAt(samples - 1)) < 0.01);
        // The other row/column frequencies are far below the pair.
        const std::vector<double> all = samplesOf(*tone);
        const double wanted = test::goertzel(all, 8000, low);
        for (int f : {697, 770, 852, 941})
            if (f != low)
                QVERIFY(test::goertzel(all, 8000, f) < wanted / 10);
    }

    void chimesHaveTheirFormatsAndAreAudible()
    {
        struct Want
        {
            const char* name;
            int rate;
            int samples;
        };
        for (const Want& w : {Want{"connected", 22050, 40192}, Want{"enddial", 22050, 40192},
                              Want{"incoming", 11025, 27720}}) {
            const WaveSound* s = waveResource(QLatin1String(w.name));
            QVERIFY(s);
            QCOMPARE(s->bitsPerSample, 8);
            QCOMPARE(s->sampleRate, w.rate);
            QCOMPARE(s->sampleCount(), w.samples);
            double peak = 0;
            for (int i = 0; i < s->sampleCount(); ++i)
                peak = std::max(peak, std::abs(s->sampleAt(i)));
            QVERIFY(peak > 0.3 && peak <= 1.0);
            QVERIFY(std::abs(s->sampleAt(s->sampleCount() - 1)) < 0.02);
        }
        QVERIFY(waveResource(QStringLiteral("CONNECTED")));
        QVERIFY(!waveResource(QStringLiteral("X")));
    }

    void wavFilesRoundTrip()
    {
        const WaveSound* s = waveResource(QStringLiteral("incoming"));
        const QByteArray bytes = wavFileBytes(*s);
        QCOMPARE(bytes.size(), 44 + s->data.size());
        const WaveSound back = parseWavFile(bytes);
        QCOMPARE(back.sampleRate, 11025);
        QCOMPARE(back.bitsPerSample, 8);
        QCOMPARE(back.data, s->data);
        QVERIFY(parseWavFile("RIFF\x10\0\0\0WAVEjunk").isEmpty());
        QVERIFY(parseWavFile(bytes.left(30)).isEmpty());
    }

    void captureKeepsSilencesAndCutsStoppedSounds()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/cap.wav");
        SoundCapture cap(path);
        const auto t0 = std::chrono::steady_clock::now();
        const WaveSound* one = waveResource(QStringLiteral("one"));
        cap.started(*one, t0);
        // A second sound half a second later: silence up to it.
        cap.started(*waveResource(QStringLiteral("two")), t0 + std::chrono::milliseconds(500));
        QCOMPARE(cap.recorded().sampleCount(), 4000 + 900);
        // A chime of another format joins converted and is cut where stopped.
        const auto t1 = t0 + std::chrono::milliseconds(1000);
        cap.started(*waveResource(QStringLiteral("connected")), t1);
        cap.stopped(t1 + std::chrono::milliseconds(250));
        QCOMPARE(cap.recorded().sampleCount(), 8000 + 2000);
        const WaveSound file = parseWavFile([&] {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }());
        QCOMPARE(file.sampleRate, 8000);
        QCOMPARE(file.sampleCount(), 10000);
        for (int i = 900; i < 4000; ++i)
            QCOMPARE(file.sampleAt(i), 0.0);
        QCOMPARE(test::strongestDtmfPair(samplesOf(file, 4000, 900), 8000),
                 std::make_pair(697, 1336));
    }
};

QTEST_GUILESS_MAIN(TestSounds)
#include "test_sounds.moc"
