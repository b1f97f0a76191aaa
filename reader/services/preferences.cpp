#include "reader/services/preferences.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/settings.h"

namespace velreader {
namespace {

const QString ResumeKey = QStringLiteral("player/resumeOnOpen");
const QString AutoPlayKey = QStringLiteral("player/autoPlaySpeed");
const QString TextSpeedKey = QStringLiteral("player/textSpeed");
const QString ZoomKey = QStringLiteral("window/zoom");
const QString AozoraKey = QStringLiteral("aozora/interpret");
const QString RubyKey = QStringLiteral("aozora/ruby");
const QString RubyOmitted = QStringLiteral("omit");
const QString RubyInParentheses = QStringLiteral("parentheses");
const QString PlacesKey = QStringLiteral("places");
const QString RecentKey = QStringLiteral("recent");
const QString PathField = QStringLiteral("path");
const QString StepField = QStringLiteral("step");

}  // namespace

ReaderPreferences ReaderPreferences::read(const common::SettingsStore& settings) {
    ReaderPreferences p;
    p.resumeOnOpen = settings.boolValue(ResumeKey, p.resumeOnOpen);
    p.autoPlaySpeed = settings.doubleValue(AutoPlayKey, p.autoPlaySpeed, MinAutoPlaySpeed, MaxAutoPlaySpeed);
    p.textSpeed = settings.intValue(TextSpeedKey, p.textSpeed, 0, MaxTextSpeed);
    if (p.textSpeed != 0 && p.textSpeed < MinTextSpeed) p.textSpeed = 0;
    p.zoom = settings.intValue(ZoomKey, p.zoom, 1, MaxZoom);
    p.interpretAozora = settings.boolValue(AozoraKey, p.interpretAozora);
    // Anything but the one other word keeps the default.
    if (settings.value(RubyKey).toString() == RubyOmitted) p.rubyStyle = RubyStyle::Omit;
    return p;
}

void ReaderPreferences::write(common::SettingsStore& settings) const {
    settings.setValue(ResumeKey, resumeOnOpen);
    settings.setValue(AutoPlayKey, autoPlaySpeed);
    settings.setValue(TextSpeedKey, textSpeed);
    settings.setValue(ZoomKey, zoom);
    settings.setValue(AozoraKey, interpretAozora);
    settings.setValue(RubyKey, rubyStyle == RubyStyle::Omit ? RubyOmitted : RubyInParentheses);
}

int autoPlayWaitMs(const QString& line, double speed) {
    speed = std::clamp(speed, ReaderPreferences::MinAutoPlaySpeed, ReaderPreferences::MaxAutoPlaySpeed);
    return int(std::lround((1000.0 + 70.0 * double(line.size())) / speed));
}

QString documentKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

std::optional<int> ReadingPlaces::place(const QString& key) const {
    const auto it = m_places.find(key);
    if (it == m_places.end()) return std::nullopt;
    return it->step;
}

void ReadingPlaces::remember(const QString& key, int step) {
    if (key.isEmpty()) return;
    m_places.insert(key, {std::max(0, step), ++m_clock});
    if (m_places.size() <= MaxPlaces) return;
    auto oldest = std::min_element(m_places.begin(), m_places.end(),
                                   [](const Place& a, const Place& b) { return a.used < b.used; });
    m_places.erase(oldest);
}

void ReadingPlaces::read(const common::SettingsStore& settings) {
    m_places.clear();
    const QList<QVariantMap> rows = settings.array(PlacesKey, MaxPlaces);
    // The file lists the latest first.
    m_clock = rows.size();
    qint64 used = m_clock;
    for (const QVariantMap& row : rows) {
        const QString path = row.value(PathField).toString();
        bool ok = false;
        const int step = row.value(StepField).toString().toInt(&ok);
        if (!path.isEmpty() && ok && step >= 0 && !m_places.contains(path)) m_places.insert(path, {step, used});
        --used;
    }
}

void ReadingPlaces::write(common::SettingsStore& settings) const {
    QList<std::pair<qint64, QString>> order;
    order.reserve(m_places.size());
    for (auto it = m_places.begin(); it != m_places.end(); ++it) order.append({it->used, it.key()});
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<QVariantMap> rows;
    rows.reserve(order.size());
    for (const auto& [used, path] : order) rows.append({{PathField, path}, {StepField, m_places.value(path).step}});
    settings.setArray(PlacesKey, rows);
}

void RecentFiles::add(const QString& path) {
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > MaxFiles) m_files.removeLast();
}

void RecentFiles::remove(const QString& path) { m_files.removeAll(path); }

void RecentFiles::read(const common::SettingsStore& settings) {
    m_files.clear();
    // However many a file lists, only the first few are read.
    for (const QVariantMap& row : settings.array(RecentKey, MaxFiles * 4)) {
        const QString path = row.value(PathField).toString();
        if (!path.isEmpty() && !m_files.contains(path)) m_files.append(path);
        if (m_files.size() == MaxFiles) break;
    }
}

void RecentFiles::write(common::SettingsStore& settings) const {
    QList<QVariantMap> rows;
    for (const QString& path : m_files) rows.append({{PathField, path}});
    settings.setArray(RecentKey, rows);
}

ReaderSettings ReaderSettings::read(const QString& path) {
    ReaderSettings settings{std::make_unique<common::SettingsStore>(path), {}, {}, {}};
    settings.preferences = ReaderPreferences::read(*settings.store);
    settings.places.read(*settings.store);
    settings.recent.read(*settings.store);
    return settings;
}

}  // namespace velreader
