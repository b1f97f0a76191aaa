#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "common/fileio.h"

namespace common {

// A program's settings in the user's configuration folder, kept with
// QSettings in an INI file: $XDG_CONFIG_HOME/woolmere/<program>.conf, else
// ~/.config/woolmere/<program>.conf. Never beside the program.
//
// The file is read once, when the store is made, and only when it is a
// regular file of a sane size: a folder, a pipe (whose reading would block),
// a device, an unreadable, huge or malformed file gives the defaults, with
// one line on stderr. Such a file is left as it is until the user changes a
// preference (allowReplacing()); until then save() writes nothing. Values are
// checked as they are read: a value of the wrong kind or out of range is its
// default. Nothing here ever shows a message box or stops the program.
//
// Two windows of a program share the file: save() reads it again under a
// lock ("<file>.lock"), puts this store's own changes (the values set and
// removed since the last save) over what it holds now and writes the
// result, so that neither window undoes the other's changes.
class SettingsStore {
public:
    // A settings file larger than this is not read.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    // The settings file of `program` ("fleeceslot", "velreader"), or an
    // empty text when there is no configuration folder.
    static QString userFile(const QString& program);

    // Reads the file at `path` (an empty path: no file, every value its default).
    explicit SettingsStore(QString path);

    const QString& path() const { return m_path; }
    // Why the file was not read (empty when it was read or does not exist).
    const QString& problem() const { return m_problem; }

    bool contains(const QString& key) const { return m_values.contains(key); }
    QVariant value(const QString& key) const { return m_values.value(key); }
    // A whole number in [min, max], else `fallback`.
    int intValue(const QString& key, int fallback, int min, int max) const;
    // A number in [min, max], else `fallback`.
    double doubleValue(const QString& key, double fallback, double min, double max) const;
    // "true" or "false" (as QSettings writes them), else `fallback`.
    bool boolValue(const QString& key, bool fallback) const;
    // Any text; `fallback` when the key is missing or not a text.
    QString stringValue(const QString& key, const QString& fallback = {}) const;

    void setValue(const QString& key, const QVariant& value);
    // Removes `key` and every key below it ("places" removes "places/1/path").
    void remove(const QString& key);

    // An array of records, as QSettings::beginReadArray reads them: at most
    // `maxRows` rows, each the fields found under "name/<i>/".
    QList<QVariantMap> array(const QString& name, int maxRows) const;
    // Replaces the array `name` with `rows`.
    void setArray(const QString& name, const QList<QVariantMap>& rows);

    // The user changed a preference: a file that could not be read may now
    // be replaced by what the program holds.
    void allowReplacing() { m_mayReplace = true; }
    // True when something changed since the file was read or last saved.
    bool changed() const { return !m_changes.isEmpty(); }

    // What save() did.
    struct SaveResult {
        enum class Status {
            Saved,      // the file holds the values now
            Unchanged,  // nothing changed: nothing to write
            Kept,       // a file that could not be read was kept as it is: the values are not saved
            Failed,     // the file could not be written: the values are not saved
        };
        Status status = Status::Unchanged;
        FileError error;  // for Failed: why
        QString problem;  // for Kept and Failed: what happened, in English

        bool ok() const { return status == Status::Saved || status == Status::Unchanged; }
        explicit operator bool() const { return ok(); }
    };

    // Merges this store's changes into the file as it is now and writes the
    // result (through a new file renamed over the old one), under the lock.
    // A failure gives one line on stderr (the first time only) and keeps
    // the changes for the next save.
    SaveResult save();

private:
    // One change made since the last save: a value set, or a key removed
    // with everything below it.
    struct Change {
        QString key;
        QVariant value;
        bool removal = false;
    };
    enum class ReadOutcome { Read, Missing, Broken };
    // Reads the file at `path` into `values`; `problem` says why it is broken.
    static ReadOutcome readValues(const QString& path, QMap<QString, QVariant>& values, QString& problem);
    static void applyChange(QMap<QString, QVariant>& values, const Change& change);
    static void removeBelow(QMap<QString, QVariant>& values, const QString& key);
    void read();
    void warn(const QString& what) const;
    SaveResult failSave(SaveResult::Status status, const QString& what, FileError error = {});

    QString m_path;
    QString m_problem;
    QMap<QString, QVariant> m_values;
    QList<Change> m_changes;
    bool m_mayReplace = true;
    mutable bool m_warnedValue = false;
    bool m_warnedSave = false;
};

}  // namespace common
