#pragma once

// Page files built and written by a second thread while the conversion
// generates the next pages' scripts and reads their source pages: the two
// halves cost about the same, and they overlap on a machine with more than
// one core.
//
// The queue is a ring of pages whose buffers are kept from page to page, so
// the steady state allocates nothing. The caller takes a page with next(),
// fills it, and hands it over with submit(); pages come back to the caller,
// in the order they were submitted, once they are written: through the
// `done` callback of next() and finish(), always on the caller's thread.
// The writer thread sleeps until a batch of pages waits, so that it is not
// woken once per page.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "convert/pagefilebuilder.h"
#include "platform/deferredmessages.h"

namespace orvo::platform {
class OpenFolder;
}

namespace orvo::convert {

class PageFileQueue {
public:
    struct Page {
        // Filled by the caller.
        int number = 0;
        std::string name; // the file's name in the output folder
        PreparedPage prepared;
        bool write = false; // false: the page has no file to write
        bool built = false; // the caller built the file into `bytes` itself
        // The page's messages, shown when the page comes back.
        platform::DeferredMessages::List messages;
        // Filled by the writer: the file, whether it was written, and if
        // not, the system's error number.
        std::string bytes;
        bool written = false;
        int error = 0;
    };
    using Done = std::function<void(Page&)>;

    explicit PageFileQueue(const platform::OpenFolder& output, std::size_t ringSize = 32);
    // Writes what was submitted and stops the thread; the pages that did not
    // come back through finish() are dropped.
    ~PageFileQueue();
    PageFileQueue(const PageFileQueue&) = delete;
    PageFileQueue& operator=(const PageFileQueue&) = delete;

    // A free page, emptied of its last use (its storage kept). Pages already
    // written come back through `done` first; when the ring is full, waits
    // for the oldest to be written.
    Page& next(const Done& done);
    // Hands the page from next() to the writer.
    void submit();
    // Whether the writer lags behind: half the ring waits for it. The caller
    // then builds the files itself for a while, so that the two threads
    // share the work whichever half is the heavier on this machine.
    bool writerBehind();
    // Waits until every submitted page is written and gives them all back.
    void finish(const Done& done);

private:
    void writeLoop();
    // Gives back the written pages not yet given back (caller's thread).
    void giveBack(const Done& done);

    const platform::OpenFolder& m_output;
    std::vector<Page> m_ring;
    std::size_t m_batch;
    std::mutex m_lock;
    std::condition_variable m_work;    // the writer waits here
    std::condition_variable m_written; // the caller waits here
    // Counts of pages since the start: submitted, written by the writer,
    // given back to the caller. given <= written <= submitted.
    std::size_t m_submitted = 0;
    std::size_t m_writtenCount = 0;
    std::size_t m_given = 0;
    // The caller waits for a write: the writer starts without a full batch.
    bool m_urgent = false;
    bool m_callerWaiting = false;
    bool m_stop = false;
    std::thread m_writer;
};

} // namespace orvo::convert
