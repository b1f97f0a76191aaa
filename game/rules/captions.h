#pragma once

#include <QString>
#include <cstdint>

// The captions the handlers give the buttons and labels. Numbers are plain
// decimal with ASCII digits.
namespace captions {

inline QString sheepCount(int16_t count) { return QStringLiteral("羊の数：%1").arg(count); }
inline QString wool(int16_t grams) { return QStringLiteral("羊毛：%1g").arg(grams); }
inline QString successes(int16_t count) { return QStringLiteral("成功：%1").arg(count); }
inline QString best(int16_t grams) { return QStringLiteral("最高：%1g").arg(grams); }
inline QString round(int16_t round) { return QStringLiteral("%1回目").arg(round); }
inline QString start() { return QStringLiteral("はじめる"); }
inline QString stopAt777() { return QStringLiteral("777de止め"); }
inline QString shear() { return QStringLiteral("羊毛を刈る"); }

}  // namespace captions
