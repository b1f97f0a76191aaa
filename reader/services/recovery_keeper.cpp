#include "reader/services/recovery_keeper.h"

#include <QDateTime>
#include <atomic>
#include <utility>

#include "common/file_lock.h"
#include "reader/services/recovery_files.h"
#include "reader/services/recovery_writer.h"

namespace velreader {
namespace {

// Numbers the windows of this process: each has a recovery file of its own.
std::atomic<int> windowsMade{0};

// How long a stop waits for the work to reach the disk.
constexpr int FlushMs = 5000;

QString when(const QDateTime& time) { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm")); }

}  // namespace

RecoveryKeeper::RecoveryKeeper(QString folder) : m_folder(std::move(folder)) {}

RecoveryKeeper::~RecoveryKeeper() = default;

const QString& RecoveryKeeper::ownFile() const {
    static const QString none;
    return m_writer ? m_writer->path() : none;
}

void RecoveryKeeper::lookForEarlierWork(const QString& legacyFile, std::function<void()> first) {
    if (lookingStarted()) return;
    // Only copies cross to the thread; nothing of this object is touched there.
    m_looking = std::async(std::launch::async, [folder = m_folder, legacyFile, first = std::move(first)] {
        if (first) first();
        EarlierWork found;
        if (folder.isEmpty()) return found;
        recovery::adoptLegacyFile(legacyFile, folder);
        found.files = recovery::orphans(folder);
        if (!found.files.isEmpty()) found.last = recovery::writtenAt(found.files.last());
        return found;
    });
}

QString RecoveryKeeper::offer() {
    if (!m_looking.valid()) return {};
    const EarlierWork found = m_looking.get();
    m_looked = true;
    m_offered = found.files;
    if (m_offered.isEmpty()) return {};
    return QStringLiteral("前回までに保存されないまま終わった本が %1 冊あります（最後は %2）。記録 >「復元」で開けます。")
        .arg(m_offered.size())
        .arg(when(found.last));
}

QList<RecoveryListEntry> RecoveryKeeper::list() {
    m_offered = recovery::orphans(m_folder);
    m_offered.removeAll(m_adoptedFrom);
    QList<RecoveryListEntry> entries;
    for (const QString& path : std::as_const(m_offered)) {
        const SummaryResult read = readRecoverySummary(path);
        RecoveryListEntry entry;
        entry.path = path;
        if (read.summary) {
            entry.summary = *read.summary;
        } else {
            entry.summary.written = recovery::writtenAt(path);
            entry.problem = read.error;
        }
        entries << entry;
    }
    return entries;
}

ParsedRecovery RecoveryKeeper::open(const QString& path) {
    // The list of the start may hold a file that a reader started at the
    // same moment was making: checked again now.
    if (common::FileLock::heldElsewhere(path))
        return {std::nullopt, ParsedRecovery::Problem::Malformed, QStringLiteral("動いている別のリーダーのファイルです")};
    ParsedRecovery parsed = readRecoveryFile(path);
    if (!parsed.book) return parsed;
    m_adoptedFrom = path;
    m_offered.removeAll(path);
    return parsed;
}

bool RecoveryKeeper::discard(const QString& path) {
    if (path.isEmpty() || path == m_adoptedFrom || path == ownFile()) return false;
    const bool gone = recovery::discard(path);
    if (gone) m_offered.removeAll(path);
    return gone;
}

void RecoveryKeeper::keepCurrent(bool unsaved, quint64 revision, const ReaderState& state) {
    if (m_folder.isEmpty()) return;
    if (unsaved) {
        if (m_keptRevision == revision) return;
        if (!m_writer) {
            m_writer = std::make_unique<RecoveryWriter>(m_folder + recovery::newFileName(++windowsMade));
            if (m_report) m_writer->setReport(m_report);
        }
        // The texts are shared with the state, not copied: this costs
        // nothing even for the largest book.
        m_writer->write(RecoveredBook::of(state, QDateTime::currentDateTime()), std::exchange(m_adoptedFrom, QString()));
        m_keptRevision = revision;
    } else if (m_keptRevision != 0 || !m_adoptedFrom.isEmpty()) {
        // Saved or loaded: nothing unsaved is left to keep. Not waited for:
        // the window goes on at once.
        letGo(false);
    }
}

QString RecoveryKeeper::flush() {
    if (!m_writer) return {};
    if (!m_writer->flush(FlushMs)) return QStringLiteral("%1：時間内に書き終わりませんでした").arg(m_writer->path());
    return m_writer->lastProblem();
}

void RecoveryKeeper::finishCleanClose() { letGo(true); }

void RecoveryKeeper::letGo(bool wait) {
    m_keptRevision = 0;
    const QString adopted = std::exchange(m_adoptedFrom, QString());
    if (!m_writer) {
        // Opened but never written by this window: its work is let go too.
        if (!adopted.isEmpty()) recovery::discard(adopted);
        return;
    }
    m_writer->remove(adopted);
    if (wait) m_writer->flush(FlushMs);
}

void RecoveryKeeper::setReport(std::function<void(const QString&)> report) {
    m_report = std::move(report);
    if (m_writer) m_writer->setReport(m_report);
}

}  // namespace velreader
