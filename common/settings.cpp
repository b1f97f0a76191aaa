#include "common/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <limits>

#include "common/file_lock.h"
#include "common/leftovers.h"
#include "common/fileio.h"

namespace common {
namespace {

// True when `bytes` hold nothing QSettings would read a key from: blank
// lines, comments and section headers only. Such a file is empty, not broken.
bool holdsNoKeys(const QByteArray& bytes) {
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[') && line.endsWith(']')) continue;
        return false;
    }
    return true;
}

bool isBelow(const QString& key, const QString& prefix) {
    return key == prefix || key.startsWith(prefix + u'/');
}

}  // namespace

QString SettingsStore::userFile(const QString& program) {
    // Follows XDG_CONFIG_HOME, else ~/.config.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) return {};
    return base + QStringLiteral("/woolmere/") + program + QStringLiteral(".conf");
}

SettingsStore::SettingsStore(QString path) : m_path(std::move(path)) {
    if (m_path.isEmpty()) return;
    // What a save killed half-way left beside the file.
    const QFileInfo file(m_path);
    removeLeftoverTemporaries(file.absolutePath(), [name = file.fileName()](const QString& target) { return target == name; });
    read();
}

SettingsStore::ReadOutcome SettingsStore::readValues(const QString& path, QMap<QString, QVariant>& values,
                                                     QString& problem) {
    // Read through the project's file access first: it never opens a pipe
    // or a device (QSettings would wait on a pipe for ever) and refuses a
    // huge file before reading it.
    const ReadResult file = readFile(path, MaxFileSize);
    if (file.error.kind == FileError::Kind::Missing) return ReadOutcome::Missing;
    if (!file.ok()) {
        problem = file.error.englishReason();
        return ReadOutcome::Broken;
    }
    QSettings settings(path, QSettings::IniFormat);
    const QStringList keys = settings.allKeys();
    if (settings.status() != QSettings::NoError || (keys.isEmpty() && !holdsNoKeys(file.bytes))) {
        problem = QStringLiteral("it is not a settings file");
        return ReadOutcome::Broken;
    }
    for (const QString& key : keys) values.insert(key, settings.value(key));
    return ReadOutcome::Read;
}

void SettingsStore::read() {
    if (readValues(m_path, m_values, m_problem) != ReadOutcome::Broken) return;
    m_values.clear();
    m_mayReplace = false;
    warn(QStringLiteral("settings file %1 ignored (%2); using the defaults").arg(m_path, m_problem));
}

SettingsStore::SaveResult SettingsStore::failSave(SaveResult::Status status, const QString& what, FileError error) {
    // One line for a file that cannot be written, not one for every attempt.
    if (!m_warnedSave && status == SaveResult::Status::Failed) warn(what);
    if (status == SaveResult::Status::Failed) m_warnedSave = true;
    return {status, error, what};
}

void SettingsStore::warn(const QString& what) const {
    std::fprintf(stderr, "%s\n", qPrintable(what));
}

int SettingsStore::intValue(const QString& key, int fallback, int min, int max) const {
    if (!m_values.contains(key)) return fallback;
    bool ok = false;
    const int v = m_values.value(key).toString().trimmed().toInt(&ok);
    if (ok && v >= min && v <= max) return v;
    if (!m_warnedValue) warn(QStringLiteral("settings file %1: %2 is not valid; using the default").arg(m_path, key));
    m_warnedValue = true;
    return fallback;
}

double SettingsStore::doubleValue(const QString& key, double fallback, double min, double max) const {
    if (!m_values.contains(key)) return fallback;
    bool ok = false;
    const double v = m_values.value(key).toString().trimmed().toDouble(&ok);
    if (ok && v >= min && v <= max) return v;
    if (!m_warnedValue) warn(QStringLiteral("settings file %1: %2 is not valid; using the default").arg(m_path, key));
    m_warnedValue = true;
    return fallback;
}

bool SettingsStore::boolValue(const QString& key, bool fallback) const {
    if (!m_values.contains(key)) return fallback;
    const QString v = m_values.value(key).toString().trimmed();
    if (v == u"true") return true;
    if (v == u"false") return false;
    if (!m_warnedValue) warn(QStringLiteral("settings file %1: %2 is not valid; using the default").arg(m_path, key));
    m_warnedValue = true;
    return fallback;
}

QString SettingsStore::stringValue(const QString& key, const QString& fallback) const {
    const QVariant v = m_values.value(key);
    if (v.typeId() != QMetaType::QString) return fallback;
    return v.toString();
}

void SettingsStore::setValue(const QString& key, const QVariant& value) {
    auto it = m_values.find(key);
    if (it != m_values.end() && it.value() == value) return;
    m_values.insert(key, value);
    m_changes.append({key, value, false});
}

void SettingsStore::removeBelow(QMap<QString, QVariant>& values, const QString& key) {
    for (auto it = values.lowerBound(key); it != values.end() && it.key().startsWith(key);) {
        if (isBelow(it.key(), key)) {
            it = values.erase(it);
        } else {
            ++it;
        }
    }
}

void SettingsStore::applyChange(QMap<QString, QVariant>& values, const Change& change) {
    if (change.removal) {
        removeBelow(values, change.key);
    } else {
        values.insert(change.key, change.value);
    }
}

void SettingsStore::remove(const QString& key) {
    // Kept as a change also when this store holds nothing there: another
    // window may have written it since.
    removeBelow(m_values, key);
    m_changes.append({key, {}, true});
}

QList<QVariantMap> SettingsStore::array(const QString& name, int maxRows) const {
    QList<QVariantMap> rows;
    const int size = intValue(name + QStringLiteral("/size"), 0, 0, std::numeric_limits<int>::max());
    const int count = std::min(size, maxRows);
    rows.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const QString prefix = name + u'/' + QString::number(i) + u'/';
        QVariantMap row;
        for (auto it = m_values.lowerBound(prefix); it != m_values.end() && it.key().startsWith(prefix); ++it)
            row.insert(it.key().mid(prefix.size()), it.value());
        rows.append(row);
    }
    return rows;
}

void SettingsStore::setArray(const QString& name, const QList<QVariantMap>& rows) {
    if (array(name, std::numeric_limits<int>::max()) == rows && contains(name + QStringLiteral("/size"))) return;
    // The whole array is one change: another window's rows of the same
    // array give way to these.
    removeBelow(m_values, name);
    m_changes.append({name, {}, true});
    setValue(name + QStringLiteral("/size"), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString prefix = name + u'/' + QString::number(i + 1) + u'/';
        for (auto it = rows[i].begin(); it != rows[i].end(); ++it) setValue(prefix + it.key(), it.value());
    }
}

SettingsStore::SaveResult SettingsStore::save() {
    using Status = SaveResult::Status;
    if (m_changes.isEmpty()) return {};
    if (m_path.isEmpty()) return failSave(Status::Kept, QStringLiteral("settings not saved: there is no configuration folder"));
    if (!m_mayReplace)
        return failSave(Status::Kept, QStringLiteral("settings not saved: %1 could not be read and is kept").arg(m_path));
    const QFileInfo target(m_path);
    if (!QDir().mkpath(target.absolutePath()))
        return failSave(Status::Failed,
                        QStringLiteral("settings not saved: cannot make the folder %1").arg(target.absolutePath()),
                        {FileError::Kind::MissingFolder, ENOENT});

    // Read, merge and write under the lock: another window of the program
    // may be saving at the same moment. A lock that cannot be had (a folder
    // that cannot be written) leaves the write to say why.
    const FileLock lock = FileLock::acquire(m_path);
    QMap<QString, QVariant> merged;
    QString ignored;
    const ReadOutcome onDisk = readValues(m_path, merged, ignored);
    if (onDisk == ReadOutcome::Broken) {
        // Broken since it was read, or broken from the start and the user
        // changed a preference: what this store holds replaces it.
        merged = m_values;
    }
    const QMap<QString, QVariant> before = merged;
    for (const Change& change : std::as_const(m_changes)) applyChange(merged, change);
    if (onDisk == ReadOutcome::Read && merged == before) {
        // The file holds these values already (another window wrote them).
        m_values = std::move(merged);
        m_changes.clear();
        return {};
    }

    // QSettings writes the values into a scratch file of its own (in the
    // temporary folder, where nothing is left beside the settings), whose
    // bytes then replace the settings file through a new file renamed over
    // it: the old file is never read by QSettings again (it may be junk), and
    // a failure leaves it as it was.
    QTemporaryFile scratch(QDir(QDir::tempPath()).filePath(QStringLiteral("woolmere-settings-XXXXXX")));
    if (!scratch.open())
        return failSave(Status::Failed, QStringLiteral("settings not saved: cannot write in %1").arg(QDir::tempPath()),
                        {FileError::Kind::System, EACCES});
    scratch.close();
    {
        QSettings out(scratch.fileName(), QSettings::IniFormat);
        for (auto it = merged.begin(); it != merged.end(); ++it) out.setValue(it.key(), it.value());
        out.sync();
        if (out.status() != QSettings::NoError)
            return failSave(Status::Failed, QStringLiteral("settings not saved: cannot write %1").arg(scratch.fileName()),
                            {FileError::Kind::System, EIO});
    }
    const ReadResult written = readFile(scratch.fileName(), MaxFileSize * 4);
    const FileError error = written.ok() ? replaceFile(m_path, written.bytes) : written.error;
    if (!error.ok())
        return failSave(Status::Failed, QStringLiteral("settings not saved: %1: %2").arg(m_path, error.englishReason()),
                        error);
    m_values = std::move(merged);
    m_changes.clear();
    m_problem.clear();
    m_warnedSave = false;
    return {Status::Saved, {}, {}};
}

}  // namespace common
