#pragma once

// The recognizer on a thread of its own: loading the acoustic model, making
// a grammar and decoding an utterance each take a moment, and the window
// must keep turning meanwhile. Its calls are queued to that thread, so they
// run one after another in the order given; the model is loaded by the
// first of them.

#include "speech/utterance.h"

#include <QObject>
#include <QStringList>
#include <QThread>

#include <memory>

namespace orvo::speech {
class Recognizer;
}

namespace orvo::app {

class RecognitionWorker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecognitionWorker)

public:
    // What `recognized` gives for its index when no command was heard.
    static constexpr int kNothingHeard = -1;
    // ... and when nothing can be heard: no acoustic model, or no grammar
    // could be made of the commands.
    static constexpr int kUnavailable = -2;

    explicit RecognitionWorker(QObject* parent = nullptr);
    // Waits for the call that runs, if any.
    ~RecognitionWorker() override;

    // The commands (spoken phrases) that `recognize` listens for from now
    // on; `generation` numbers this list.
    void setCommands(int generation, const QStringList& commands);
    // Hears `utterance` against the latest commands; the answer comes as
    // `recognized`.
    void recognize(speech::Utterance utterance);

signals:
    // `index` into the commands of `generation` (or one of the two values
    // above); confidence 0..1.
    void recognized(int generation, int index, double confidence);

private:
    // These run on m_thread.
    bool ensureRecognizer();
    void applyCommands(int generation, const QStringList& commands);
    void hear(const speech::Utterance& utterance);

    QThread m_thread;
    QObject* m_context = nullptr; // lives on m_thread: queued calls go through it
    std::unique_ptr<speech::Recognizer> m_recognizer;
    int m_generation = 0;
    bool m_commandsOk = false;
};

} // namespace orvo::app
