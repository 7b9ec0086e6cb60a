#include "settings/LanguageEntry.h"

#include "common/IntegerText.h"

namespace trevolo {

LanguageEntryKey ParseLanguageEntryKey(QStringView key)
{
    const qsizetype hash = key.indexOf(u'#');
    if (hash < 0)
        return {key.toString(), std::nullopt};
    return {key.first(hash).toString(), StrToInt(key.sliced(hash + 1))};
}

} // namespace trevolo
