#include "app/entrypad/EntryPadForm.h"

#include "analysis/NumberClasses.h"
#include "analysis/Statistics.h"
#include "app/desktop/Guard.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/CloseKeys.h"
#include "app/widgets/Controls.h"
#include "app/widgets/PocketColours.h"
#include "history/SpinHistory.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace trevolo {

namespace {

constexpr int RecentCount = 12;
constexpr int MaxTypedDigits = 2; // no wheel number has more
constexpr int PocketSize = 34;    // pixels, each side of a number's button

} // namespace

EntryPadForm::EntryPadForm(const SpinHistory &history, Environment &environment, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_history(&history), m_environment(environment)
{
    setObjectName(QStringLiteral("EntryPadForm"));
    setWindowTitle(QStringLiteral("Панель ввода"));
    // The buttons take no focus, so every key reaches the pad itself.
    setFocusPolicy(Qt::StrongFocus);

    auto *column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->addLayout(BuildTable());

    auto *commands = new QHBoxLayout;
    m_typedLabel = new QLabel(this);
    m_typedLabel->setObjectName(QStringLiteral("PadTyped"));
    m_typedLabel->setTextFormat(Qt::PlainText);
    m_typedLabel->setFrameShape(QFrame::StyledPanel);
    m_typedLabel->setAlignment(Qt::AlignCenter);
    m_typedLabel->setFixedSize(2 * PocketSize, PocketSize - 8);
    m_typedLabel->setToolTip(QStringLiteral("Цифры, затем Enter"));
    commands->addWidget(m_typedLabel);
    commands->addStretch();
    m_undo = AddCommand(u"PadUndo", u"Отменить", u"Ctrl+Z", &EntryPadForm::Undo);
    m_redoButton = AddCommand(u"PadRedo", u"Вернуть", u"Ctrl+Shift+Z", &EntryPadForm::Redo);
    commands->addWidget(m_undo);
    commands->addWidget(m_redoButton);
    column->addLayout(commands);

    m_recent = new QLabel(this);
    m_recent->setObjectName(QStringLiteral("PadRecent"));
    m_recent->setTextFormat(Qt::RichText);
    // As wide as the table, whatever the spins shown.
    m_recent->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    column->addWidget(m_recent);

    m_historyFollow =
        connect(m_history, &SpinHistory::edited, this, &EntryPadForm::HistoryChanged);
    Refresh();
    // Esc closes it too, once no digits are typed (keyPressEvent).
    AddCloseKeys(*this, {QKeySequence(Qt::CTRL | Qt::Key_W)});
}

QString EntryPadForm::SpokenNumber(int number)
{
    const QString colour = number == 0     ? QStringLiteral("зеро")
                           : IsRed(number) ? QStringLiteral("красное")
                                           : QStringLiteral("чёрное");
    return QString::number(number) + QStringLiteral(", ") + colour;
}

QGridLayout *EntryPadForm::BuildTable()
{
    // Zero on the left over all three rows; then twelve columns of three,
    // 3, 6, ..., 36 on the top row and 1, 4, ..., 34 at the bottom.
    auto *table = new QGridLayout;
    table->setSpacing(2);
    for (int number = 0; number <= 36; ++number) {
        auto *button = new QPushButton(QString::number(number), this);
        button->setObjectName(QStringLiteral("Pad%1").arg(number));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(SpokenNumber(number));
        button->setMinimumSize(PocketSize, PocketSize);
        button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
        button->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; color: white;"
                           " font-weight: bold; border: 1px solid #c8c8c8; }"
                           " QPushButton:pressed { background-color: %2; }")
                .arg(PocketColour(number).name(), PocketColour(number).lighter(150).name()));
        connect(button, &QPushButton::clicked, this,
                [this, number] { Q_EMIT spinEntered(number); });
        if (number == 0)
            table->addWidget(button, 0, 0, 3, 1);
        else
            table->addWidget(button, 2 - (number - 1) % 3, 1 + (number - 1) / 3);
    }
    return table;
}

QPushButton *EntryPadForm::AddCommand(QStringView name, QStringView caption, QStringView shortcut,
                                      void (EntryPadForm::*handler)())
{
    const QKeySequence keys(shortcut.toString(), QKeySequence::PortableText);
    const auto run = [this, handler] {
        RunGuarded(m_environment, this, [this, handler] { (this->*handler)(); });
    };

    auto *button = new QPushButton(caption.toString(), this);
    button->setObjectName(name.toString());
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(keys.toString(QKeySequence::NativeText));
    connect(button, &QPushButton::clicked, this, run);

    // The keys work while the pad is the active window, also when the
    // command is unavailable: the handler then does nothing.
    auto *action = new QAction(this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    addAction(action);
    return button;
}

void EntryPadForm::SetStayOnTop(bool onTop)
{
    SetStaysOnTop(*this, onTop);
}

Placement EntryPadForm::Placing(QSize size)
{
    constexpr int Gap = 8;
    return {size, size, Gap, true};
}

void EntryPadForm::EnterTyped()
{
    if (m_typed.isEmpty())
        return;
    // Anything else stays as typed, shown in red.
    if (const qint32 spin = SpinOfLine(m_typed); spin >= 0) {
        SetTyped(QString());
        Q_EMIT spinEntered(spin);
    }
}

void EntryPadForm::SetTyped(const QString &typed)
{
    m_typed = typed;
    m_typedLabel->setText(typed);
    const bool refused = !typed.isEmpty() && SpinOfLine(typed) < 0;
    QPalette palette = m_typedLabel->palette();
    palette.setColor(QPalette::WindowText,
                     refused ? QColor(Qt::red) : this->palette().color(QPalette::WindowText));
    m_typedLabel->setPalette(palette);
}

void EntryPadForm::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (m_typed.size() < MaxTypedDigits)
            SetTyped(m_typed + QChar(u'0' + (key - Qt::Key_0)));
    } else if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        EnterTyped();
    } else if (plain && key == Qt::Key_Backspace) {
        SetTyped(m_typed.chopped(m_typed.isEmpty() ? 0 : 1));
    } else if (plain && key == Qt::Key_Escape) {
        if (m_typed.isEmpty())
            CloseToParent(*this);
        else
            SetTyped(QString());
    } else {
        QWidget::keyPressEvent(event);
    }
}

void EntryPadForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Refresh();
}

void EntryPadForm::Undo()
{
    Q_EMIT undoRequested();
}

void EntryPadForm::Redo()
{
    Q_EMIT redoRequested();
}

void EntryPadForm::SetRedoAvailable(bool available)
{
    m_redoAvailable = available;
    m_redoButton->setEnabled(available);
}

void EntryPadForm::FollowHistory(const SpinHistory &history, const QString &tableName)
{
    if (FollowTable(*this, QStringLiteral("Панель ввода"), tableName, m_history, m_historyFollow,
                    history, &EntryPadForm::HistoryChanged))
        HistoryChanged();
}

void EntryPadForm::HistoryChanged()
{
    if (isVisible())
        Refresh();
}

void EntryPadForm::Refresh()
{
    // Newest first.
    const std::span<const quint8> last = m_history->LastSpins(RecentCount);
    QStringList numbers;
    QString chips = QStringLiteral("Последние:");
    for (auto it = last.rbegin(); it != last.rend(); ++it) {
        const int spin = *it;
        numbers.append(QString::number(spin));
        chips += QStringLiteral("&nbsp; <span style=\"background-color: %1; color: white;"
                                " font-weight: bold;\">&nbsp;%2&nbsp;</span>")
                     .arg(PocketColour(spin).name())
                     .arg(spin);
    }
    m_recent->setText(chips);
    m_recent->setAccessibleName(
        (QStringLiteral("Последние: ") + numbers.join(QStringLiteral(", "))).trimmed());
    m_undo->setEnabled(!last.empty());
    m_redoButton->setEnabled(m_redoAvailable);
}

} // namespace trevolo
