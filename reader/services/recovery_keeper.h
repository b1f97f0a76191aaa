#pragma once

#include <functional>
#include <future>
#include <memory>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "reader/services/recovery.h"
#include "reader/state/reader_state.h"

namespace velreader {

class RecoveryWriter;

// A window's unsaved work, kept as it goes in a recovery file of the
// window's own (RecoveryWriter, in the folder of recovery_files.h), and the
// work that readers which are gone left there, offered to the user.
class RecoveryKeeper {
public:
    // `folder`: where the recovery files are ("<data folder>/recovery/");
    // empty: nowhere, and nothing is kept.
    explicit RecoveryKeeper(QString folder);
    // Finishes what was handed over to the writer.
    ~RecoveryKeeper();
    RecoveryKeeper(const RecoveryKeeper&) = delete;
    RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;

    const QString& folder() const { return m_folder; }
    // This window's file (empty before it first wrote one).
    const QString& ownFile() const;

    // At start, on a thread of its own while the window is built: runs
    // `first` (what else the start cleans), then finds the work of readers
    // that are gone (taking in the single file `legacyFile` of earlier
    // versions). Started once.
    void lookForEarlierWork(const QString& legacyFile, std::function<void()> first);
    bool lookingStarted() const { return m_looking.valid() || m_looked; }
    // Waits for what lookForEarlierWork() found: what `Text1` says of it;
    // empty when there is none.
    QString offer();
    // True while such work was found and not opened.
    bool available() const { return !m_offered.isEmpty(); }
    // The work kept last, or an empty text.
    QString latest() const { return m_offered.isEmpty() ? QString() : m_offered.last(); }
    // Every work of readers that are gone, oldest first, with its summary
    // (looked for again: a reader may have ended since the start).
    QList<RecoveryListEntry> list();
    // Reads and checks the work at `path` whole. Once read, it is this
    // window's unsaved work: the file goes when the window's own file holds
    // it (or when the window lets the work go).
    ParsedRecovery open(const QString& path);
    // Removes the work at `path`, unless a running reader holds it.
    bool discard(const QString& path);

    // After a handler: hands `state` to the writer when the unsaved work
    // changed (`revision` differs from the last handed over); with nothing
    // unsaved, removes this window's file.
    void keepCurrent(bool unsaved, quint64 revision, const ReaderState& state);
    // Waits until what was handed over is on disk: an empty text, or why it
    // is not.
    QString flush();
    // The work was saved or let go: this window's file goes.
    void finishCleanClose();
    // Told on the writer's thread after each write: empty, or why it failed.
    void setReport(std::function<void(const QString&)> report);

private:
    // Removes this window's file and an opened one; `wait`: until done.
    void letGo(bool wait);

    // What the search at start found: the files, oldest first, and the
    // time of the last.
    struct EarlierWork {
        QStringList files;
        QDateTime last;
    };

    QString m_folder;
    std::future<EarlierWork> m_looking;
    bool m_looked = false;
    std::unique_ptr<RecoveryWriter> m_writer;
    std::function<void(const QString&)> m_report;
    quint64 m_keptRevision = 0;  // the revision handed over; 0: none
    QStringList m_offered;       // work left by readers that are gone
    QString m_adoptedFrom;       // opened; removed once this window's file holds it
};

}  // namespace velreader
