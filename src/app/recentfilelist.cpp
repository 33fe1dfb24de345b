#include "app/recentfilelist.h"

#include "app/profile.h"

namespace orvo::app {

void RecentFileList::load()
{
    m_files = profile::readRecentFiles(kSize);
}

void RecentFileList::add(const QString& path)
{
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > kSize) {
        m_files.removeLast();
    }
    save();
}

void RecentFileList::remove(int index)
{
    if (index < 0 || index >= m_files.size()) {
        return;
    }
    m_files.removeAt(index);
    save();
}

// Saved at every change rather than only at exit, so that a run that does
// not end normally keeps its list too.
void RecentFileList::save() const
{
    profile::writeRecentFiles(m_files);
}

} // namespace orvo::app
