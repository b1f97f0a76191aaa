#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include <QString>

#include "common/file_lock.h"
#include "reader/services/recovery.h"

namespace velreader {

// Keeps one window's unsaved work in its own recovery file, written on a
// thread of its own: the window hands over the work (its texts are shared,
// not copied, so that costs nothing even for the largest book), and the
// thread turns it into bytes and writes them through a new file renamed
// over the old one, flushed and with the folder flushed, at most
// WriteDelayMs after it was handed over. Only the latest work is written.
// The window's lock on the file is held from the start to the end.
class RecoveryWriter {
public:
    // Work handed over is on disk at most this long after.
    static constexpr int WriteDelayMs = 300;

    // The file at `path`; its folder is made when the first work is written.
    explicit RecoveryWriter(QString path);
    // Finishes what was handed over, then lets go of the file.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    const QString& path() const { return m_path; }

    // Writes `work` soon. Once it is on disk, the file at `thenRemove` (a
    // recovered file this work was opened from) is removed, when given.
    void write(RecoveredBook work, const QString& thenRemove = {});
    // Removes the file: the work was saved, or let go; and the recovered
    // file at `thenRemove` (or the one a write still waiting named) too.
    void remove(const QString& thenRemove = {});
    // Waits until everything handed over is done (at most `timeoutMs`);
    // false when it is not done by then.
    bool flush(int timeoutMs);

    // Why the last write or removal failed; empty when it went well.
    QString lastProblem();

    // Called on the writer's thread after every write or removal: an empty
    // text when it went well, else why it failed (in Japanese).
    void setReport(std::function<void(const QString&)> report);

private:
    struct Job {
        std::optional<RecoveredBook> work;  // nothing: remove the file
        QString thenRemove;
    };
    void run();
    QString perform(const Job& job);
    // Removes a recovered file whose work this window's file now holds.
    void removeRecovered(const QString& path);

    QString m_path;
    common::FileLock m_lock;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_pending;
    bool m_busy = false;
    bool m_hurry = false;  // a flush waits: no delay
    bool m_stopping = false;
    QString m_lastProblem;
    std::function<void(const QString&)> m_report;
    std::thread m_thread;
};

}  // namespace velreader
