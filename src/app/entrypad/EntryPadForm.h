#pragma once

#include "app/widgets/WindowPlacement.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <QWidget>

class QGridLayout;
class QLabel;
class QPushButton;

namespace trevolo {

class Environment;
class SpinHistory;

// "Панель ввода": the table layout as buttons, one click per spin, for a
// player who enters the numbers as they fall. A tool window over the window
// it is given, which it never blocks. It edits nothing itself: clicks and
// typed numbers are emitted as spinEntered, "Отменить" as undoRequested and
// "Вернуть" as redoRequested, for the window that keeps the history to carry
// out (one change each). The strip below the buttons shows the latest spins
// of the history it follows. Its commands run guarded: an error is shown in
// the standard error box.
//
// Keys while the pad has the focus: digits and Enter enter a number,
// Backspace drops the last digit, Esc drops them all and, with none typed,
// closes the pad, as Ctrl+W does. A number above 36 is not entered: the typed
// digits turn red until they are corrected. A screen reader reads a number's
// button as the number and its colour ("17, чёрное").
class EntryPadForm : public QWidget
{
    Q_OBJECT

public:
    // Shows the latest spins of `history`, which must outlive the pad.
    EntryPadForm(const SpinHistory &history, Environment &environment, QWidget *parent);

    // Follows the main window's "Всегда сверху": the pad keeps its place and
    // stays shown if it was.
    void SetStayOnTop(bool onTop);
    // Shows the spins of another history from now on (the current table's),
    // which must outlive the window, and the table's name after its title
    // (none: the title alone).
    void FollowHistory(const SpinHistory &history, const QString &tableName);

    // How a pad of `size` stands beside the main window (PlaceChildWindow):
    // at that size, a little apart from it, on its right where the screen has
    // room, else on its left, else below it; on a screen too small for any
    // of these it overlaps the window's lower right, never its menu bar.
    static Placement Placing(QSize size);

    // How a screen reader reads the button of a wheel number: "17, чёрное",
    // "3, красное", "0, зеро".
    static QString SpokenNumber(int number);

    // "Отменить": asks for the last line that holds a spin to be removed
    // together with the lines after it.
    void Undo();
    // "Вернуть": asks for what the latest undo removed to be put back.
    void Redo();
    // Whether "Вернуть" has something to put back, as its keeper says.
    void SetRedoAvailable(bool available);
    bool CanRedo() const { return m_redoAvailable; }

    // The digits typed so far.
    QString Typed() const { return m_typed; }

Q_SIGNALS:
    // A click on a number, or a number typed and Enter.
    void spinEntered(int number);
    void undoRequested();
    void redoRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QGridLayout *BuildTable();
    // A command button with its keys, which work while the pad is active.
    QPushButton *AddCommand(QStringView name, QStringView caption, QStringView shortcut,
                            void (EntryPadForm::*handler)());
    void EnterTyped();
    void SetTyped(const QString &typed);
    void HistoryChanged();
    // The recent strip and the two commands, from the history as it is.
    void Refresh();

    const SpinHistory *m_history;
    QMetaObject::Connection m_historyFollow;
    Environment &m_environment;
    bool m_redoAvailable = false;
    QString m_typed;

    QLabel *m_typedLabel = nullptr;
    QLabel *m_recent = nullptr;
    QPushButton *m_undo = nullptr;
    QPushButton *m_redoButton = nullptr;
};

} // namespace trevolo
