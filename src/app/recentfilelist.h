#pragma once

// The recent-file list: the last documents opened through the application,
// most recent first, kept in the profile so that it survives the run.

#include <QString>
#include <QStringList>

namespace orvo::app {

class RecentFileList {
public:
    // Number of entries the list keeps.
    static constexpr int kSize = 5;

    // Reads the list from the profile.
    void load();
    // Puts path first (moving it up when it is listed already), drops the
    // oldest entry beyond kSize and saves the list.
    void add(const QString& path);
    // Removes the entry at index (0 is the most recent) and saves the list.
    void remove(int index);

    const QStringList& files() const { return m_files; }

private:
    void save() const;

    QStringList m_files;
};

} // namespace orvo::app
