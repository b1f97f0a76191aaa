#include "common/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstdio>
#include <limits>

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
    if (!m_path.isEmpty()) read();
}

void SettingsStore::read() {
    // Read through the project's file access first: it never opens a pipe
    // or a device (QSettings would wait on a pipe for ever) and refuses a
    // huge file before reading it.
    const ReadResult file = readFile(m_path, MaxFileSize);
    if (file.error.kind == FileError::Kind::Missing) return;
    if (!file.ok()) {
        m_problem = file.error.englishReason();
    } else {
        QSettings settings(m_path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        if (settings.status() != QSettings::NoError || (keys.isEmpty() && !holdsNoKeys(file.bytes))) {
            m_problem = QStringLiteral("it is not a settings file");
        } else {
            for (const QString& key : keys) m_values.insert(key, settings.value(key));
        }
    }
    if (!m_problem.isEmpty()) {
        m_mayReplace = false;
        warn(QStringLiteral("settings file %1 ignored (%2); using the defaults").arg(m_path, m_problem));
    }
}

void SettingsStore::warnSave(const QString& what) {
    // One line for a file that cannot be written, not one for every attempt.
    if (!m_warnedSave) warn(what);
    m_warnedSave = true;
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
    m_changed = true;
}

void SettingsStore::remove(const QString& key) {
    for (auto it = m_values.lowerBound(key); it != m_values.end() && it.key().startsWith(key);) {
        if (isBelow(it.key(), key)) {
            it = m_values.erase(it);
            m_changed = true;
        } else {
            ++it;
        }
    }
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
    remove(name);
    m_values.insert(name + QStringLiteral("/size"), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString prefix = name + u'/' + QString::number(i + 1) + u'/';
        for (auto it = rows[i].begin(); it != rows[i].end(); ++it) m_values.insert(prefix + it.key(), it.value());
    }
    m_changed = true;
}

bool SettingsStore::save() {
    if (m_path.isEmpty() || !m_changed || !m_mayReplace) return true;
    const QFileInfo target(m_path);
    if (!QDir().mkpath(target.absolutePath())) {
        warnSave(QStringLiteral("settings not saved: cannot make the folder %1").arg(target.absolutePath()));
        return false;
    }
    // QSettings writes the values into a file of its own, whose bytes then
    // replace the settings file through a new file renamed over it: the old
    // file is never read again (it may be junk), and a failure leaves it
    // as it was.
    QTemporaryFile temporary(QDir(target.absolutePath()).filePath(QStringLiteral(".settings-XXXXXX")));
    if (!temporary.open()) {
        warnSave(QStringLiteral("settings not saved: cannot write in %1").arg(target.absolutePath()));
        return false;
    }
    temporary.close();
    {
        QSettings out(temporary.fileName(), QSettings::IniFormat);
        for (auto it = m_values.begin(); it != m_values.end(); ++it) out.setValue(it.key(), it.value());
        out.sync();
        if (out.status() != QSettings::NoError) {
            warnSave(QStringLiteral("settings not saved: cannot write %1").arg(temporary.fileName()));
            return false;
        }
    }
    const ReadResult written = readFile(temporary.fileName(), MaxFileSize * 4);
    const FileError error = written.ok() ? replaceFile(m_path, written.bytes) : written.error;
    if (!error.ok()) {
        warnSave(QStringLiteral("settings not saved: %1: %2").arg(m_path, error.englishReason()));
        return false;
    }
    m_changed = false;
    m_problem.clear();
    return true;
}

}  // namespace common
