#include "app/recognitionworker.h"

#include "speech/recognizer.h"

#include <string>
#include <utility>
#include <vector>

namespace orvo::app {

RecognitionWorker::RecognitionWorker(QObject* parent) : QObject(parent)
{
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("recognition"));
    m_thread.start();
}

RecognitionWorker::~RecognitionWorker()
{
    m_thread.quit();
    m_thread.wait();
}

void RecognitionWorker::setCommands(int generation, const QStringList& commands)
{
    QMetaObject::invokeMethod(
        m_context, [this, generation, commands] { applyCommands(generation, commands); },
        Qt::QueuedConnection);
}

void RecognitionWorker::recognize(speech::Utterance utterance)
{
    QMetaObject::invokeMethod(
        m_context, [this, heard = std::move(utterance)] { hear(heard); }, Qt::QueuedConnection);
}

bool RecognitionWorker::ensureRecognizer()
{
    if (m_recognizer == nullptr) {
        m_recognizer = std::make_unique<speech::Recognizer>();
    }
    return m_recognizer->ready();
}

void RecognitionWorker::applyCommands(int generation, const QStringList& commands)
{
    m_generation = generation;
    m_commandsOk = false;
    if (commands.isEmpty() || !ensureRecognizer()) {
        return;
    }
    std::vector<std::string> phrases;
    phrases.reserve(static_cast<std::size_t>(commands.size()));
    for (const QString& command : commands) {
        phrases.push_back(command.toStdString());
    }
    m_commandsOk = m_recognizer->setCommands(phrases);
}

void RecognitionWorker::hear(const speech::Utterance& utterance)
{
    if (!m_commandsOk) {
        emit recognized(m_generation, kUnavailable, 0);
        return;
    }
    const auto heard = m_recognizer->recognize(utterance);
    if (!heard) {
        emit recognized(m_generation, kNothingHeard, 0);
        return;
    }
    emit recognized(m_generation, static_cast<int>(heard->index), heard->confidence);
}

} // namespace orvo::app
