#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <QVariantMap>

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
    bool changed() const { return m_changed; }

    // Writes every value to the file (through a new file renamed over the
    // old one), when something changed and the file may be replaced.
    // False, with one line on stderr, when it cannot be written.
    bool save();

private:
    void read();
    void warn(const QString& what) const;
    void warnSave(const QString& what);

    QString m_path;
    QString m_problem;
    QMap<QString, QVariant> m_values;
    bool m_mayReplace = true;
    bool m_changed = false;
    mutable bool m_warnedValue = false;
    bool m_warnedSave = false;
};

}  // namespace common
