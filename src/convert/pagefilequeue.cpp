#include "convert/pagefilequeue.h"

#include <algorithm>
#include <cerrno>

#include "platform/files.h"

namespace orvo::convert {

PageFileQueue::PageFileQueue(const platform::OpenFolder& output, std::size_t ringSize)
    : m_output(output), m_ring(std::max<std::size_t>(ringSize, 2)),
      m_batch(std::max<std::size_t>(m_ring.size() / 4, 1))
{
    m_writer = std::thread([this] { writeLoop(); });
}

PageFileQueue::~PageFileQueue()
{
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        m_stop = true;
    }
    m_work.notify_one();
    m_writer.join();
}

void PageFileQueue::writeLoop()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_work.wait(lock, [this] {
            const std::size_t waiting = m_submitted - m_writtenCount;
            return waiting >= m_batch || m_stop || (waiting > 0 && m_urgent);
        });
        if (m_stop && m_submitted == m_writtenCount) {
            return;
        }
        while (m_writtenCount < m_submitted) {
            Page& page = m_ring[m_writtenCount % m_ring.size()];
            lock.unlock();
            if (page.write && !page.built) {
                buildPageFile(page.prepared, page.bytes);
            }
            page.written = page.write && m_output.writeNewFile(page.name, page.bytes);
            page.error = page.written ? 0 : errno;
            lock.lock();
            ++m_writtenCount;
            if (m_callerWaiting) {
                m_written.notify_one();
            }
        }
        m_urgent = false;
    }
}

void PageFileQueue::giveBack(const Done& done)
{
    std::size_t written = 0;
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        written = m_writtenCount;
    }
    while (m_given < written) {
        // Counted before the callback, which may itself ask for pages back.
        Page& page = m_ring[m_given++ % m_ring.size()];
        done(page);
    }
}

PageFileQueue::Page& PageFileQueue::next(const Done& done)
{
    giveBack(done);
    if (m_submitted - m_given == m_ring.size()) {
        {
            std::unique_lock<std::mutex> lock(m_lock);
            m_urgent = true;
            m_callerWaiting = true;
            m_work.notify_one();
            m_written.wait(lock, [this] { return m_writtenCount > m_given; });
            m_callerWaiting = false;
        }
        giveBack(done);
    }
    Page& page = m_ring[m_submitted % m_ring.size()];
    page.number = 0;
    page.name.clear();
    page.write = false;
    page.built = false;
    page.messages.clear();
    page.written = false;
    page.error = 0;
    return page;
}

void PageFileQueue::submit()
{
    bool wake = false;
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        ++m_submitted;
        wake = m_submitted - m_writtenCount >= m_batch;
    }
    if (wake) {
        m_work.notify_one();
    }
}

bool PageFileQueue::writerBehind()
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_submitted - m_writtenCount >= m_ring.size() / 2;
}

void PageFileQueue::finish(const Done& done)
{
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_urgent = true;
        m_callerWaiting = true;
        m_work.notify_one();
        m_written.wait(lock, [this] { return m_writtenCount == m_submitted; });
        m_callerWaiting = false;
    }
    giveBack(done);
}

} // namespace orvo::convert
