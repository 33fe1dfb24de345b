#pragma once

// One conversion of a presentation (read the markup file, parse it, convert
// it) on a worker thread, so that the window's event loop keeps turning while
// a large presentation converts. Its messages go through the presentation's
// Messages and the one given here, which are called from the worker: they
// must hand the messages over to the window's thread (WindowThreadMessages).
//
// While the job runs, the presentation belongs to the worker: the window
// thread must not touch it until finished() is true.

#include <QObject>

#include <atomic>
#include <cstddef>
#include <thread>

namespace orvo::config {
class Presentation;
}
namespace orvo::platform {
class Messages;
}

namespace orvo::app {

class ConversionJob final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConversionJob)

public:
    // `messages` is called from the worker; it and the presentation must
    // outlive the job.
    ConversionJob(config::Presentation& presentation, platform::Messages& messages);
    // Waits for the worker.
    ~ConversionJob() override;

    void start();
    // Asks the worker to stop before the next page.
    void cancel() { m_cancel = true; }

    bool finished() const { return m_finished; }
    // True when read, parse and convert all succeeded; meaningful once
    // finished.
    bool succeeded() const { return m_succeeded; }
    bool cancelRequested() const { return m_cancel; }
    // The number of pages, once the markup is parsed; 0 before.
    std::size_t pageCount() const { return m_pageCount; }
    std::size_t pagesDone() const { return m_pagesDone; }

signals:
    // From the worker, delivered queued before anything that the conversion
    // shows: the markup is parsed and pageCount() is known.
    void pagesCounted();
    // From the worker, delivered queued: the page count became known, another
    // hundredth of the pages is done, or the job finished.
    void changed();

private:
    void run();
    void pageDone(std::size_t done, std::size_t total);

    config::Presentation& m_presentation;
    platform::Messages& m_messages;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_succeeded{false};
    std::atomic<std::size_t> m_pageCount{0};
    std::atomic<std::size_t> m_pagesDone{0};
};

} // namespace orvo::app
