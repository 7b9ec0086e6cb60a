#pragma once

#include "history/SpinHistory.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace trevolo {

// One table the player follows: its history with everything that belongs to
// it. The settings (threshold, risk levels, window options) are common to
// all tables and kept elsewhere.
struct Table
{
    QString name;
    // The file it was loaded from or saved to last; empty until then.
    QString filePath;
    // Spins it holds that no file has.
    bool unsaved = false;
    // Named by the player (or after a file): a load no longer names it.
    bool named = false;
    SpinHistory history;
    // When each line was entered (milliseconds since the epoch), by line;
    // 0 for a line that was loaded, recovered or put back whole.
    std::vector<qint64> entryTimes;
};

// The tables of a window, in the order the player keeps them, one of them
// current: the one the window shows and every command works on. There is
// always at least one. Names are unique without regard to case. Not
// thread-safe.
class TableSet : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxTables = 64;

    // One empty table, "Стол 1", current.
    explicit TableSet(QObject *parent = nullptr);
    ~TableSet() override;

    int Count() const { return int(m_tables.size()); }
    int CurrentIndex() const { return m_current; }
    Table &At(int index) { return *m_tables[size_t(index)]; }
    const Table &At(int index) const { return *m_tables[size_t(index)]; }
    Table &Current() { return At(m_current); }
    const Table &Current() const { return At(m_current); }
    // The index of the table that owns this history, or -1.
    int IndexOf(const SpinHistory &history) const;

    // "Стол <n>" with the smallest n no table is called.
    QString FreeName() const;
    // A new empty table at the end, named by FreeName, not made current.
    // Its index, or -1 when there are MaxTables already.
    int Add();
    // Removes the table (not the only one); the current one stays current
    // unless it is the one removed, whose place the next (else the one
    // before) takes.
    void Remove(int index);
    // The table at `from` goes to `to`, the others close up.
    void Move(int from, int to);
    void SetCurrent(int index);

    // Why the table cannot take this name (blank, or another table's,
    // case aside); empty when it can.
    QString RenameRefusal(int index, const QString &name) const;
    // Renames it when RenameRefusal has nothing against the name (blanks
    // around it dropped); it counts as named from then on.
    bool Rename(int index, const QString &name);
    void SetUnsaved(int index, bool unsaved);
    void SetFilePath(int index, const QString &path);

    // Where entry times come from (milliseconds since the epoch); the system
    // clock unless set.
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

Q_SIGNALS:
    void currentChanged(int index);
    void tableAdded(int index);
    void tableRemoved(int index);
    void tableRenamed(int index);
    void tableMoved(int from, int to);
    void unsavedChanged(int index);

private:
    void FollowEntries(Table &table, const SpinEdit &edit);

    std::vector<std::unique_ptr<Table>> m_tables;
    int m_current = 0;
    std::function<qint64()> m_clock;
};

} // namespace trevolo
