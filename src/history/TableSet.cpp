#include "history/TableSet.h"

#include <QDateTime>
#include <algorithm>

namespace trevolo {

TableSet::TableSet(QObject *parent)
    : QObject(parent), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    Add();
}

TableSet::~TableSet() = default;

int TableSet::IndexOf(const SpinHistory &history) const
{
    for (int i = 0; i < Count(); ++i)
        if (&At(i).history == &history)
            return i;
    return -1;
}

QString TableSet::FreeName() const
{
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Стол %1").arg(n);
        const bool taken = std::any_of(m_tables.begin(), m_tables.end(), [&](const auto &table) {
            return table->name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!taken)
            return name;
    }
}

int TableSet::Add()
{
    if (Count() >= MaxTables)
        return -1;
    auto table = std::make_unique<Table>();
    table->name = FreeName();
    Table *raw = table.get();
    connect(&raw->history, &SpinHistory::edited, this,
            [this, raw](const SpinEdit &edit) { FollowEntries(*raw, edit); });
    m_tables.push_back(std::move(table));
    const int index = Count() - 1;
    Q_EMIT tableAdded(index);
    return index;
}

void TableSet::Remove(int index)
{
    if (Count() <= 1 || index < 0 || index >= Count())
        return;
    const bool wasCurrent = index == m_current;
    // Taken out first, so the signals see the set as it now is; deleted
    // after them, as whoever follows the history lets it go there.
    std::unique_ptr<Table> gone = std::move(m_tables[size_t(index)]);
    m_tables.erase(m_tables.begin() + index);
    if (m_current > index || m_current == Count())
        --m_current;
    Q_EMIT tableRemoved(index);
    if (wasCurrent)
        Q_EMIT currentChanged(m_current);
}

void TableSet::Move(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= Count() || to >= Count())
        return;
    const Table *current = &Current();
    auto table = std::move(m_tables[size_t(from)]);
    m_tables.erase(m_tables.begin() + from);
    m_tables.insert(m_tables.begin() + to, std::move(table));
    for (int i = 0; i < Count(); ++i)
        if (&At(i) == current)
            m_current = i;
    Q_EMIT tableMoved(from, to);
}

void TableSet::SetCurrent(int index)
{
    if (index < 0 || index >= Count() || index == m_current)
        return;
    m_current = index;
    Q_EMIT currentChanged(index);
}

QString TableSet::RenameRefusal(int index, const QString &name) const
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("Название не может быть пустым.");
    for (int i = 0; i < Count(); ++i)
        if (i != index && At(i).name.compare(trimmed, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Стол «%1» уже есть.").arg(At(i).name);
    return QString();
}

bool TableSet::Rename(int index, const QString &name)
{
    if (index < 0 || index >= Count() || !RenameRefusal(index, name).isEmpty())
        return false;
    const QString trimmed = name.trimmed();
    if (At(index).name != trimmed) {
        At(index).name = trimmed;
        Q_EMIT tableRenamed(index);
    }
    At(index).named = true;
    return true;
}

void TableSet::SetUnsaved(int index, bool unsaved)
{
    if (At(index).unsaved == unsaved)
        return;
    At(index).unsaved = unsaved;
    Q_EMIT unsavedChanged(index);
}

void TableSet::SetFilePath(int index, const QString &path)
{
    At(index).filePath = path;
}

void TableSet::FollowEntries(Table &table, const SpinEdit &edit)
{
    std::vector<qint64> &times = table.entryTimes;
    if (edit.whole) {
        times.assign(size_t(table.history.LineCount()), 0);
        return;
    }
    const auto first = times.begin() + std::min<qsizetype>(edit.first, qsizetype(times.size()));
    const auto last = first + std::min<qsizetype>(edit.removed, times.end() - first);
    const auto at = times.erase(first, last);
    times.insert(at, size_t(edit.added), m_clock());
    // A change reported out of step is taken as untimed lines.
    times.resize(size_t(table.history.LineCount()), 0);
}

} // namespace trevolo
