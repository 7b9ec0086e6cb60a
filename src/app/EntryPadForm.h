#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QWidget>

class QGridLayout;
class QLabel;
class QPushButton;

namespace trevolo {

class TForm1;
class THistoryMemo;

// "Панель ввода": the table layout as buttons, one click per spin, for a
// player who enters the numbers as they fall. A tool window over the main
// window, which it never blocks. Clicks and typed numbers go through
// TForm1::EnterSpin; "Отменить" and "Вернуть" edit the end of the history
// memo directly, one edit each, so each runs one statistics pass and takes
// one step on the memo's own undo stack. The strip below the buttons shows
// the latest spins.
//
// Keys while the pad has the focus: digits and Enter enter a number,
// Backspace drops the last digit, Esc drops them all. A number above 36 is
// not entered: the typed digits turn red until they are corrected.
class EntryPadForm : public QWidget
{
    Q_OBJECT

public:
    explicit EntryPadForm(TForm1 &form);

    // Follows the main window's "Всегда сверху": the pad keeps its place and
    // stays shown if it was.
    void SetStayOnTop(bool onTop);

    // Puts the pad beside the window, on its right where the screen has room,
    // else on its left, level with its top and within the screen.
    void PlaceBeside(const QWidget &window);

    // "Отменить": removes the last line that holds a spin together with the
    // lines after it.
    void Undo();
    // "Вернуть": puts back what the latest undo removed, as long as nothing
    // else has changed the history since.
    void Redo();
    bool CanRedo() const { return !m_redo.isEmpty(); }

    // The digits typed so far.
    QString Typed() const { return m_typed; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QGridLayout *BuildTable();
    // A command button with its keys, which work while the pad is active.
    QPushButton *AddCommand(QStringView name, QStringView caption, QStringView shortcut,
                            void (EntryPadForm::*handler)());
    void Enter(int number);
    void EnterTyped();
    void SetTyped(const QString &typed);
    // Runs an edit of the end of the history as one change of the memo,
    // which does not count as a change by someone else.
    template <typename F>
    void OwnEdit(F &&edit);
    // Follows the changes of the document the memo shows now.
    void WatchDocument();
    void HistoryChanged();
    // The recent strip and the two commands, from the history as it is.
    void Refresh();

    TForm1 &m_form;
    THistoryMemo &m_memo;
    // What each undo removed, the latest last, exactly as it stood.
    QList<QString> m_redo;
    bool m_ownEdit = false;
    QMetaObject::Connection m_watch;
    QString m_typed;

    QLabel *m_typedLabel = nullptr;
    QLabel *m_recent = nullptr;
    QPushButton *m_undo = nullptr;
    QPushButton *m_redoButton = nullptr;
};

} // namespace trevolo
