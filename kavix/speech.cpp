#include "speech.h"

#include <espeak-ng/speak_lib.h>

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>

#include <cstring>

namespace kavix {

namespace {

// eSpeak NG keeps one synthesizer per process; it is started once.
int synthesizerRate(QString* why)
{
    static const int rate = [] {
        const int r = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        if (r > 0) {
            espeak_SetSynthCallback([](short* wav, int count, espeak_EVENT* events) -> int {
                auto* out = static_cast<std::vector<std::int16_t>*>(events ? events->user_data : nullptr);
                if (out && wav && count > 0)
                    out->insert(out->end(), wav, wav + count);
                return 0;
            });
            espeak_SetVoiceByName("en");
        }
        return r;
    }();
    if (rate <= 0 && why)
        *why = QStringLiteral("the speech synthesizer (eSpeak NG) could not start: its voice data is missing");
    return rate;
}

void putLE(QByteArray& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

bool synthesize(const QString& text, Speech& out, QString* why)
{
    out = {};
    const int rate = synthesizerRate(why);
    if (rate <= 0)
        return false;
    const QByteArray utf8 = text.trimmed().toUtf8();
    out.sampleRate = rate;
    if (utf8.isEmpty())
        return true;
    const espeak_ERROR e = espeak_Synth(utf8.constData(), static_cast<std::size_t>(utf8.size()) + 1, 0, POS_CHARACTER,
                                        0, espeakCHARS_UTF8, nullptr, &out.samples);
    espeak_Synchronize();
    if (e != EE_OK) {
        if (why)
            *why = QStringLiteral("the speech synthesizer (eSpeak NG) failed");
        return false;
    }
    return true;
}

QByteArray wavBytes(const Speech& speech)
{
    const auto dataBytes = static_cast<std::uint32_t>(speech.samples.size() * sizeof(std::int16_t));
    const auto rate = static_cast<std::uint32_t>(speech.sampleRate);
    QByteArray b;
    b.reserve(static_cast<qsizetype>(44 + dataBytes));
    b.append("RIFF");
    putLE(b, 36 + dataBytes, 4);
    b.append("WAVEfmt ");
    putLE(b, 16, 4);       // format block size
    putLE(b, 1, 2);        // PCM
    putLE(b, 1, 2);        // mono
    putLE(b, rate, 4);
    putLE(b, rate * 2, 4);  // bytes per second
    putLE(b, 2, 2);        // bytes per frame
    putLE(b, 16, 2);       // bits per sample
    b.append("data");
    putLE(b, dataBytes, 4);
    for (std::int16_t s : speech.samples)
        putLE(b, static_cast<std::uint16_t>(s), 2);
    return b;
}

QStringList& SpeechPlayer::players()
{
    static QStringList list = {QStringLiteral("pw-play"), QStringLiteral("paplay"), QStringLiteral("aplay")};
    return list;
}

SpeechPlayer::SpeechPlayer(QObject* parent) : QObject(parent) {}

SpeechPlayer::~SpeechPlayer()
{
    if (process_) {
        process_->disconnect(this);
        process_->kill();
        process_->waitForFinished(1000);
    }
}

bool SpeechPlayer::isPlaying() const { return process_ != nullptr; }

void SpeechPlayer::speak(const QString& word, std::function<void(const QString&)> done)
{
    if (process_)
        return;  // one word at a time
    done_ = std::move(done);
    Speech speech;
    QString why;
    if (!synthesize(word, speech, &why))
        return finish(why);
    QString player;
    for (const QString& name : players()) {
        player = QStandardPaths::findExecutable(name);
        if (!player.isEmpty())
            break;
    }
    if (player.isEmpty())
        return finish(QStringLiteral("no sound player (%1) is installed").arg(players().join(QStringLiteral(", "))));

    file_ = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/kavix-word-XXXXXX.wav"), this);
    if (!file_->open() || file_->write(wavBytes(speech)) < 0 || !file_->flush())
        return finish(QStringLiteral("the sound could not be written to a temporary file"));
    file_->close();

    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->setStandardOutputFile(QProcess::nullDevice());
    auto* limit = new QTimer(process_);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, process_, &QProcess::kill);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(QStringLiteral("the sound player could not be started"));
    });
    connect(process_, &QProcess::finished, this, [this, limit](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code == 0)
            return finish({});
        const QString said = QString::fromLocal8Bit(process_->readAllStandardError()).trimmed().section('\n', 0, 0);
        const bool timedOut = !limit->isActive() && status == QProcess::CrashExit;
        finish(timedOut ? QStringLiteral("the sound device did not respond")
                        : QStringLiteral("no sound device is available") +
                              (said.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(said)));
    });
    process_->start(player, {file_->fileName()});
    limit->start(kPlayLimitMs);
}

void SpeechPlayer::finish(const QString& failure)
{
    if (process_) {
        process_->deleteLater();
        process_ = nullptr;
    }
    delete file_;
    file_ = nullptr;
    if (auto done = std::exchange(done_, nullptr))
        done(failure);
}

}  // namespace kavix
