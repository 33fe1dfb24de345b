#include "app/hearingbridge.h"

#include "app/apptexts.h"
#include "app/microphone.h"
#include "app/recognitionworker.h"
#include "app/uitext.h"

#include <cmath>

namespace orvo::app {

namespace {

// The longest utterance recorded at one hold of the key: voice commands are
// a word or a short phrase.
constexpr int kMaxUtteranceMs = 10000;

// The recognizer's 0..1 on the Agent control's scale of -100..100, where 0
// is the least confidence that still counts as heard.
int agentConfidence(double confidence)
{
    const int scaled = static_cast<int>(std::lround(confidence * 200.0 - 100.0));
    return scaled < -100 ? -100 : (scaled > 100 ? 100 : scaled);
}

} // namespace

HearingBridge::HearingBridge(std::unique_ptr<Microphone> microphone, QObject* parent)
    : QObject(parent), m_microphone(std::move(microphone)),
      m_worker(std::make_unique<RecognitionWorker>())
{
    connect(m_worker.get(), &RecognitionWorker::recognized, this, &HearingBridge::onRecognized);
    m_limit.setSingleShot(true);
    m_limit.setInterval(kMaxUtteranceMs);
    connect(&m_limit, &QTimer::timeout, this, &HearingBridge::release);
}

HearingBridge::~HearingBridge()
{
    if (m_listening) {
        m_microphone->stop();
    }
}

void HearingBridge::setCommands(int owner, const QStringList& phrases)
{
    if (phrases.isEmpty() && owner != m_owner) {
        return;
    }
    const bool had = hasCommands();
    m_owner = owner;
    m_phrases = phrases;
    ++m_generation;
    // The model and the grammar are made now, before the user speaks.
    m_worker->setCommands(m_generation, m_phrases);
    if (hasCommands()) {
        const bool canHear = m_microphone->available();
        if (canHear != m_canHear) {
            m_canHear = canHear;
            emit canHearChanged(canHear);
        }
    }
    if (had != hasCommands()) {
        emit hasCommandsChanged(hasCommands());
    }
}

void HearingBridge::listen(bool on)
{
    if (on) {
        press();
    } else {
        release();
    }
}

void HearingBridge::press()
{
    if (!hasCommands() || m_listening) {
        return;
    }
    if (!m_microphone->available() || !m_microphone->start()) {
        emit tip(m_owner, uiText(texts::kNoMicrophone), false);
        return;
    }
    m_listening = true;
    m_limit.start();
    emit tip(m_owner, uiText(texts::kListening), true);
}

void HearingBridge::release()
{
    if (!m_listening) {
        return;
    }
    m_listening = false;
    m_limit.stop();
    m_worker->recognize(m_microphone->stop());
}

void HearingBridge::clear()
{
    if (m_listening) {
        m_listening = false;
        m_limit.stop();
        m_microphone->stop();
    }
    setCommands(m_owner, {});
}

void HearingBridge::onRecognized(int generation, int index, double confidence)
{
    // The commands changed while the utterance was heard: what was heard
    // is no command of the page now, and the tip must not go on listening.
    if (generation != m_generation) {
        emit tip(m_owner, uiText(texts::kNotUnderstood), false);
        return;
    }
    if (index >= 0 && index < m_phrases.size()) {
        emit heard(m_owner, index, agentConfidence(confidence),
                   uiText(texts::kHeardCommand).arg(m_phrases.at(index)));
    } else if (index == RecognitionWorker::kUnavailable) {
        emit tip(m_owner, uiText(texts::kHearingUnavailable), false);
    } else {
        emit tip(m_owner, uiText(texts::kNotUnderstood), false);
    }
}

} // namespace orvo::app
