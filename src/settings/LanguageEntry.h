#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace trevolo {

// The key of one entry of a language section: the name of a window component,
// and for a combo box item the item index after "#" (ComboBox1#2).
struct LanguageEntryKey
{
    QString componentName;
    std::optional<qint32> index;

    friend bool operator==(const LanguageEntryKey &, const LanguageEntryKey &) = default;
};

// Splits a key at its first "#": the name is the text before it, the index
// the whole text after it, read by the integer rule. A key without "#" is all
// name and has no index. An index text that the rule refuses raises
// ConvertError.
LanguageEntryKey ParseLanguageEntryKey(QStringView key);

} // namespace trevolo
