#include "reader/services/recovery_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>

#include "common/fileio.h"

namespace velreader {

RecoveryWriter::RecoveryWriter(QString path) : m_path(std::move(path)) {
    m_thread = std::thread([this] { run(); });
}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard guard(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
    // No work of this window is left: its lock file goes too.
    if (m_lock.locked() && !QFileInfo::exists(m_path)) QFile::remove(common::FileLock::lockPathOf(m_path));
}

void RecoveryWriter::setReport(std::function<void(const QString&)> report) {
    std::lock_guard guard(m_mutex);
    m_report = std::move(report);
}

void RecoveryWriter::write(RecoveredBook work, const QString& thenRemove) {
    {
        std::lock_guard guard(m_mutex);
        // A file still waiting to be removed after the work before stays
        // waiting: it goes once this work is on disk.
        QString remove = thenRemove;
        if (remove.isEmpty() && m_pending) remove = m_pending->thenRemove;
        m_pending = Job{std::move(work), remove};
    }
    m_wake.notify_all();
}

void RecoveryWriter::remove(const QString& thenRemove) {
    {
        std::lock_guard guard(m_mutex);
        // A recovered file still waiting to be removed goes too: its work
        // was saved or let go with this window's.
        QString recovered = thenRemove;
        if (recovered.isEmpty() && m_pending) recovered = m_pending->thenRemove;
        m_pending = Job{std::nullopt, recovered};
    }
    m_wake.notify_all();
}

bool RecoveryWriter::flush(int timeoutMs) {
    std::unique_lock guard(m_mutex);
    // The delay is skipped: whoever waits wants the work on disk now.
    m_hurry = true;
    m_wake.notify_all();
    const bool done =
        m_idle.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return !m_pending && !m_busy; });
    m_hurry = false;
    return done;
}

QString RecoveryWriter::lastProblem() {
    std::lock_guard guard(m_mutex);
    return m_lastProblem;
}

void RecoveryWriter::run() {
    std::unique_lock guard(m_mutex);
    for (;;) {
        m_wake.wait(guard, [this] { return m_pending || m_stopping; });
        if (!m_pending) return;  // stopping with nothing to do
        // A burst of changes gives one write; a flush or the end cuts the wait.
        m_wake.wait_for(guard, std::chrono::milliseconds(WriteDelayMs), [this] { return m_stopping || m_hurry; });
        Job job = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        guard.unlock();
        const QString problem = perform(job);
        guard.lock();
        m_busy = false;
        m_lastProblem = problem;
        if (m_report) m_report(problem);
        if (!m_pending) m_idle.notify_all();
    }
}

QString RecoveryWriter::perform(const Job& job) {
    if (!job.work) {
        removeRecovered(job.thenRemove);
        if (!QFile::exists(m_path)) return {};
        if (!QFile::remove(m_path)) return QStringLiteral("%1 を消せません").arg(m_path);
        common::syncFolder(QFileInfo(m_path).absolutePath());
        return {};
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) return QStringLiteral("%1：フォルダを作れません").arg(folder);
    // The lock says "a running reader keeps this file" to every other start.
    if (!m_lock.locked()) m_lock = common::FileLock::tryAcquire(m_path);
    const common::FileError error =
        common::replaceFileWith(m_path, [&](const common::BytePut& put) { return writeRecovery(*job.work, put); });
    if (!error.ok()) return QStringLiteral("%1：%2").arg(m_path, error.japaneseReason());
    removeRecovered(job.thenRemove);
    return {};
}

void RecoveryWriter::removeRecovered(const QString& path) {
    if (path.isEmpty() || path == m_path) return;
    QFile::remove(path);
    QFile::remove(common::FileLock::lockPathOf(path));
    common::syncFolder(QFileInfo(path).absolutePath());
}

}  // namespace velreader
