#pragma once

// The character's ears for the agent runtime in the page: an object that the
// view publishes on the page's web channel as "orvoHearing". The runtime
// tells it the voice commands of the page (their spoken phrases); while the
// user holds the listening key (or the toolbar button) the microphone
// records, and on release the utterance is recognized on a worker thread
// against those commands. The page hears back the command heard, and the
// texts of the listening tip that it shows beside the character.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace orvo::app {

class Microphone;
class RecognitionWorker;

class HearingBridge final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HearingBridge)
    // Whether there is a microphone (as of the last commands set).
    Q_PROPERTY(bool canHear READ canHear NOTIFY canHearChanged)

public:
    explicit HearingBridge(std::unique_ptr<Microphone> microphone, QObject* parent = nullptr);
    ~HearingBridge() override;

    // The voice commands of a page, replacing the earlier ones; `owner`
    // numbers the runtime (page or frame) that sets them, and an empty list
    // from an owner that no longer has them is ignored.
    Q_INVOKABLE void setCommands(int owner, const QStringList& phrases);
    // The page's script starts (or stops) listening, as holding (releasing)
    // the key does.
    Q_INVOKABLE void listen(bool on);

    bool hasCommands() const { return !m_phrases.isEmpty(); }
    bool canHear() const { return m_canHear; }
    bool isListening() const { return m_listening; }

    // The listening key or button: held down, then released. Nothing
    // happens while the page has no voice commands.
    void press();
    void release();
    // The page is left: its commands go, and so does what it was saying.
    void clear();

signals:
    void hasCommandsChanged(bool hasCommands);
    void canHearChanged(bool canHear);
    // A text for the listening tip of `owner`'s page; `whileHeld` while the
    // key is still held (the tip stays), else an answer (it goes after a
    // while).
    void tip(int owner, const QString& text, bool whileHeld);
    // The command at `index` of `owner`'s phrases was heard, with a
    // confidence of -100..100; `text` is the tip that says so.
    void heard(int owner, int index, int confidence, const QString& text);

private:
    void onRecognized(int generation, int index, double confidence);

    std::unique_ptr<Microphone> m_microphone;
    std::unique_ptr<RecognitionWorker> m_worker;
    QStringList m_phrases;
    int m_owner = 0;
    // Numbers every list of commands: a result for an older list is stale.
    int m_generation = 0;
    bool m_canHear = false;
    bool m_listening = false;
    // A key held down for ever does not record for ever.
    QTimer m_limit;
};

} // namespace orvo::app
