#pragma once

#include "app/Controls.h"
#include "app/Environment.h"

#include <QMainWindow>
#include <QString>
#include <vector>

namespace trevolo {

// While alive: a busy cursor, and the window's menus and controls take no
// input (events are still handled, so it repaints).
class WindowBusy
{
public:
    explicit WindowBusy(QMainWindow &window);
    ~WindowBusy();
    WindowBusy(const WindowBusy &) = delete;
    WindowBusy &operator=(const WindowBusy &) = delete;

private:
    QMainWindow &m_window;
};

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
// too; rethrows what the read throws.
ReadHistory ReadHistoryBesideEvents(const QString &path);

// Puts the history read into the memo as one change with one change notification,
// without freezing the window: the new document is built beside the old one
// in pieces of about 30 ms each, with the events handled between pieces and
// the progress reported in percent of lines. When the user cancels, the memo
// is left exactly as it was and false is returned.
bool LoadIntoMemo(THistoryMemo &memo, const ReadHistory &history, Environment &environment,
                  QWidget *parent);

// Pastes `pasted` over the memo's selection the way LoadIntoMemo loads: the
// document as the paste leaves it is built beside the events and shown in
// place of the current one, which Undo brings back. False when cancelled,
// with the memo as it was.
bool PasteIntoMemo(THistoryMemo &memo, const QString &pasted, Environment &environment,
                   QWidget *parent);

} // namespace trevolo
