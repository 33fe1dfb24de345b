#include "app/conversionjob.h"

#include "config/presentation.h"
#include "convert/converter.h"
#include "markup/tagnode.h"
#include "platform/messages.h"

namespace orvo::app {

namespace {

std::size_t countPages(const config::Presentation& presentation)
{
    const markup::TagNode* body = presentation.findTag("body");
    const markup::TagNode::Children* pages = body ? body->getChildren() : nullptr;
    return pages ? pages->size() : 0;
}

} // namespace

ConversionJob::ConversionJob(config::Presentation& presentation, platform::Messages& messages)
    : m_presentation(presentation), m_messages(messages)
{
}

ConversionJob::~ConversionJob()
{
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void ConversionJob::start()
{
    m_worker = std::thread([this] { run(); });
}

void ConversionJob::run()
{
    config::Presentation& p = m_presentation;
    // Every conversion works on a fresh read of the file.
    // Parsed by page: the conversion needs the tags of one page at a time.
    bool ok = p.readMarkupFile() && p.parseTreeByPage();
    if (ok) {
        m_pageCount = countPages(p);
        emit pagesCounted();
        emit changed();
        convert::ConvertOptions options;
        options.progress = [this](std::size_t done, std::size_t total) { pageDone(done, total); };
        options.cancelRequested = [this] { return m_cancel.load(); };
        ok = convert::convert(p, m_messages, options).ok();
    }
    m_succeeded = ok;
    m_finished = true;
    emit changed();
}

void ConversionJob::pageDone(std::size_t done, std::size_t total)
{
    const std::size_t before = m_pagesDone.exchange(done);
    // About a hundred updates for any size: the window needs no more.
    if (total < 100 || done * 100 / total != before * 100 / total) {
        emit changed();
    }
}

} // namespace orvo::app
