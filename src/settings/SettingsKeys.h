#pragma once

#include "common/IntegerText.h"

#include <QString>
#include <QStringView>

namespace trevolo {

// Names in the settings file: the section of the window options and its keys.
inline constexpr QStringView CommonSection = u"Common";
inline constexpr QStringView StayOnTopKey = u"StayOnTop";
inline constexpr QStringView AlphaBlendKey = u"AlphaBlend";
inline constexpr QStringView AlphaBlendValueKey = u"AlphaBlendValue";
inline constexpr QStringView LevelKey = u"Level";

// Suffixes of the risk-level keys: the boundaries of the 18/37 combinations
// ("lo", "hi") and of the 12/37 combinations ("lo2", "hi2").
inline constexpr QStringView RiskLowSuffix = u"lo";
inline constexpr QStringView RiskHighSuffix = u"hi";
inline constexpr QStringView RiskLow2Suffix = u"lo2";
inline constexpr QStringView RiskHigh2Suffix = u"hi2";

// Values used when the file lacks a key or holds a text that does not convert.
inline constexpr bool DefaultStayOnTop = true;
inline constexpr bool DefaultAlphaBlend = false;
inline constexpr qint32 DefaultAlphaBlendValue = 100; // opacity in percent
inline constexpr qint32 DefaultLevel = 1;             // the preset "Средний"
inline constexpr qint32 DefaultRiskLow = 2;
inline constexpr qint32 DefaultRiskHigh = 8;
inline constexpr qint32 DefaultRiskLow2 = 2;
inline constexpr qint32 DefaultRiskHigh2 = 8;

// The key of one risk boundary of a preset: "Level", the preset index in
// decimal, then the suffix, e.g. Level1hi2.
inline QString RiskLevelKey(qint32 preset, QStringView suffix)
{
    QString key = LevelKey.toString() + IntToStr(preset);
    key += suffix;
    return key;
}

} // namespace trevolo
