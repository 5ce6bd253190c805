#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QProcess;
class QTemporaryFile;

namespace kavix {

// A text spoken by eSpeak NG, as 16-bit mono samples in memory.
struct Speech {
    std::vector<std::int16_t> samples;
    int sampleRate = 0;
};

// Synthesizes the text in memory, in English. False, with the reason, when
// eSpeak NG cannot start (its voice data missing).
bool synthesize(const QString& text, Speech& out, QString* why = nullptr);

// The speech as the bytes of a WAV file.
QByteArray wavBytes(const Speech& speech);

// Speaks a word: the speech is made in memory, written to a temporary WAV
// file and played by the system's own player (pw-play, paplay or aplay),
// which runs as a separate process, so the window never waits on a sound
// device; a player that has not finished after kPlayLimitMs is stopped.
// `done` gets an empty text on success, else what went wrong.
class SpeechPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kPlayLimitMs = 15000;

    explicit SpeechPlayer(QObject* parent = nullptr);
    ~SpeechPlayer() override;

    void speak(const QString& word, std::function<void(const QString& failure)> done);
    bool isPlaying() const;

    // The players tried, in order; tests replace them.
    static QStringList& players();

private:
    void finish(const QString& failure);

    QProcess* process_ = nullptr;
    QTemporaryFile* file_ = nullptr;
    std::function<void(const QString&)> done_;
};

}  // namespace kavix
