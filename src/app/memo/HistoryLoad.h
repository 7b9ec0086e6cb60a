#pragma once

#include <QString>
#include <vector>

namespace trevolo {

// A history file as read: its text, the codes of its lines
// (SpinHistoryModel) and the hash (qHash) of the text.
struct ReadHistory
{
    QString text;
    std::vector<quint8> codes;
    size_t hash = 0;
};

// Reads a history file (LoadHistoryFile) on a worker thread while this
// thread goes on handling events, and works out its lines and hash there
// too; rethrows what the read throws. THistoryMemo::Load shows it.
ReadHistory ReadHistoryBesideEvents(const QString &path);

} // namespace trevolo
