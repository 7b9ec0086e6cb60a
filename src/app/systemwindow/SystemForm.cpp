#include "app/systemwindow/SystemForm.h"

#include "app/widgets/Charts.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/CloseKeys.h"
#include "app/widgets/Controls.h"
#include "app/widgets/FigureLabel.h"
#include "common/RussianPlural.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <utility>

namespace trevolo {

namespace {

enum LabelIndex
{
    Sessions,
    SessionRuinShare,
    Series,
    SeriesWon,
    SeriesLost,
    Net,
    Staked,
    MaxDrawdown,
    WorstRun,
    HitRate,
    RandomEntry,
    NoWholeLoss,
    SeriesLossChance,
    ExpectedPerSeries,
    ExpectedPerBet,
    RuinChance,
    Verdict,
};

constexpr const char16_t *Boxes[] = {u"Система", u"На этой последовательности",
                                     u"На честном колесе"};
constexpr int CaptionWidth = 180; // pixels; a longer caption of a figure wraps

// The fields after the combination, in the order of SystemForm::Field, with
// the inputs each stands for.
struct FieldRow
{
    const char16_t *caption;
    const char16_t *name;
    SystemField field;
};
constexpr FieldRow FieldRows[] = {
    {u"Начать после пропусков подряд", u"SystemTrigger", SystemField::Trigger},
    {u"Первая ставка", u"SystemMinStake", SystemField::MinStake},
    {u"Умножение", u"SystemMultiplier", SystemField::Multiplier},
    {u"Ставок в серии, не больше", u"SystemSteps", SystemField::Steps},
    {u"Предел стола (0 — без предела)", u"SystemTableLimit", SystemField::TableLimit},
    {u"Начальный банк", u"SystemBankroll", SystemField::Bankroll},
    {u"Остановиться при банке", u"SystemTarget", SystemField::Target},
};

// One figure: its box (1 replayed, 2 exact), its caption and its name, in
// the order they show.
struct LabelRow
{
    int box;
    const char16_t *caption;
    const char16_t *name;
};
constexpr LabelRow LabelRows[] = {
    {1, u"Сессий", u"LabelSessions"},
    {1, u"Разорений среди законченных сессий", u"LabelSessionRuinShare"},
    {1, u"Серий начато", u"LabelSeries"},
    {1, u"Выиграно серий", u"LabelSeriesWon"},
    {1, u"Проиграно серий", u"LabelSeriesLost"},
    {1, u"Итог", u"LabelNet"},
    {1, u"Поставлено всего", u"LabelStaked"},
    {1, u"Наибольшая просадка", u"LabelMaxDrawdown"},
    {1, u"Проиграно серий подряд, наибольшее", u"LabelWorstRun"},
    {1, u"Выигранных ставок", u"LabelHitRate"},
    {1, u"Вход на случайном спине, итог серии", u"LabelRandomEntry"},
    {1, u"Почему история выглядит выигрышной", u"LabelNoWholeLoss"},
    {2, u"Шанс проиграть серию целиком", u"LabelSeriesLossChance"},
    {2, u"Ожидаемый итог серии", u"LabelExpectedPerSeries"},
    {2, u"Ожидаемая потеря", u"LabelExpectedPerBet"},
    {2, u"Шанс разориться раньше цели", u"LabelRuinChance"},
    {2, u"Вывод", u"LabelSystemVerdict"},
};
static_assert(std::size(LabelRows) == Verdict + 1);

QString Money(qint64 value)
{
    return QString::number(value);
}

// A share as a percentage with one decimal: "48,6 %".
QString Percent(double share)
{
    return FormatDecimal(share * 100, 1) + QStringLiteral(" %");
}

// "из 1 ставки", "из 21 ставки"; "из 5 ставок" after any other count.
QString Of(qint64 count, const QString &one, const QString &many)
{
    return QStringLiteral("из ") + Counted(count, one, many, many);
}

QString OfBets(int count)
{
    return Of(count, QStringLiteral("ставки"), QStringLiteral("ставок"));
}

// The system's mean against the fair-wheel distribution of the mean of as
// many series: how often a fair wheel does as well (or as badly).
QString JudgedMean(const SystemReplay &r)
{
    const QString of = Of(r.wholeSeries, QStringLiteral("серии"), QStringLiteral("серий"));
    if (std::isnan(r.seriesMeanChance))
        return QStringLiteral("у системы нет законченных серий");
    const double chance = r.seriesMeanChance;
    const QString judged = chance < 0.01 ? QStringLiteral("очень необычно для честного колеса")
                           : chance < 0.05 ? QStringLiteral("необычно для честного колеса")
                                           : QStringLiteral("обычное дело");
    return QStringLiteral("у системы %1 %2: на честном колесе среднее %3 — с шансом %4, %5")
        .arg(FormatDecimal(r.seriesMean, 2), of,
             r.seriesMeanAbove ? QStringLiteral("не ниже") : QStringLiteral("не выше"),
             FormatChance(chance), judged);
}

// Why a short history looks profitable: m fair series often lose none whole.
QString NoWholeLossText(const SystemReplay &r)
{
    if (std::isnan(r.noWholeLossChance))
        return NoFigure();
    const double chance = r.noWholeLossChance;
    const QString so =
        chance >= 0.9
            ? QStringLiteral(" — поэтому короткая история почти всегда выглядит выигрышной.")
        : chance >= 0.5
            ? QStringLiteral(" — поэтому короткая история чаще всего выглядит выигрышной.")
            : QStringLiteral(": на такой длине проигрыш целой серии — обычное дело.");
    return QStringLiteral("В %1 историй %2 ни одна серия не проигрывается целиком")
               .arg(FormatChance(chance),
                    Of(r.wholeSeries, QStringLiteral("серии"), QStringLiteral("серий"))) +
           so;
}

} // namespace

// Certain ruin is no rounding: "100 %". A chain refused says how large it is.
QString RuinText(const RuinFigure &figure)
{
    switch (figure.status) {
    case RuinStatus::Solved:
        return figure.certain ? QStringLiteral("100 %") : FormatChance(figure.chance);
    case RuinStatus::TooLarge:
        return QStringLiteral("не считается: %1 состояний банка — слишком много для точного "
                              "расчёта")
            .arg(QLocale(QLocale::Russian).toString(figure.states));
    case RuinStatus::Invalid:
    case RuinStatus::Cancelled:
        break;
    }
    return NoFigure();
}

SystemForm::SystemForm(const SpinHistory &history, const CombinationCaptions &captions,
                       QWidget *parent)
    : QWidget(parent, Qt::Window), m_history(&history)
{
    setObjectName(QStringLiteral("SystemForm"));
    setWindowTitle(QStringLiteral("Проверка системы"));

    QFormLayout *forms[std::size(Boxes)];
    auto *top = new QWidget;
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t b = 0; b < std::size(Boxes); ++b) {
        auto *box = new QGroupBox(QString::fromUtf16(Boxes[b]));
        forms[b] = new QFormLayout(box);
        forms[b]->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        // The figures have room to grow, the fields do not need it.
        topLayout->addWidget(box, b == 0 ? 0 : 1);
    }

    m_group = new QComboBox;
    m_group->setObjectName(QStringLiteral("SystemGroup"));
    for (const QString &caption : captions)
        m_group->addItem(caption);
    m_group->setAccessibleName(QStringLiteral("Ставка на"));
    forms[0]->addRow(QStringLiteral("Ставка на:"), m_group);
    for (int f = 0; f < FieldCount; ++f) {
        auto *edit = new QLineEdit;
        edit->setObjectName(QString::fromUtf16(FieldRows[f].name));
        edit->setAccessibleName(QString::fromUtf16(FieldRows[f].caption));
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("8888888888888")));
        forms[0]->addRow(QString::fromUtf16(FieldRows[f].caption) + u':', edit);
        connect(edit, &QLineEdit::textChanged, this, &SystemForm::InputsChanged);
        m_fields[f] = edit;
    }
    m_problems = new QLabel;
    m_problems->setObjectName(QStringLiteral("SystemInputProblems"));
    m_problems->setTextFormat(Qt::PlainText);
    m_problems->setWordWrap(true);
    QPalette warning = m_problems->palette();
    warning.setColor(QPalette::WindowText, QColor(0x90, 0x00, 0x00));
    m_problems->setPalette(warning);
    forms[0]->addRow(m_problems);
    connect(m_group, &QComboBox::currentIndexChanged, this, &SystemForm::InputsChanged);

    for (std::size_t i = 0; i < std::size(LabelRows); ++i) {
        const LabelRow &row = LabelRows[i];
        QLabel *label = NewFigureLabel(QString::fromUtf16(row.name));
        m_captions[i] = QString::fromUtf16(row.caption);
        label->setAccessibleName(m_captions[i] + QStringLiteral(": ") + label->text());
        // A long caption wraps, so the three columns fit a small screen.
        auto *caption = new QLabel(m_captions[i] + u':');
        caption->setWordWrap(true);
        caption->setMaximumWidth(CaptionWidth);
        caption->setBuddy(label);
        forms[row.box]->addRow(caption, label);
        m_labels[i] = label;
    }

    // The figures keep the height their wrapped lines need; the chart takes
    // the rest.
    BuildChart();
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(top, 0);
    layout->addWidget(m_chartView, 1);
    // Smaller than its content, the window scrolls.
    auto *area = new QScrollArea;
    area->setWidget(content);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    // The keyboard starts in the first field; Tab goes to the fields and
    // figures, and the area scrolls to each in turn.
    area->setFocusPolicy(Qt::NoFocus);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    resize(PreferredSize);

    // The main window adds the shortcut that opens it.
    AddCloseKeys(*this, {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    m_historyFollow = connect(m_history, &SpinHistory::edited, this, &SystemForm::Follow);

    connect(&m_ruin, &RuinSolver::Solved, this, &SystemForm::ShowRuin);
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(RefreshDelay);
    connect(&m_refresh, &QTimer::timeout, this, &SystemForm::ShowReplay);
    const SystemInputs standard;
    SetStartingValues(standard.minStake, standard.multiplier);
}

SystemForm::~SystemForm() = default;

void SystemForm::BuildChart()
{
    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    m_bankrollLine = new QLineSeries;
    m_bankrollLine->setName(QStringLiteral("Банк сессии"));
    m_bankrollLine->setPen(QPen(QColor(0x2c, 0x5d, 0xa8), 1.5));
    m_startLine = new QLineSeries;
    m_startLine->setName(QStringLiteral("Начальный банк"));
    m_startLine->setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5, Qt::DashLine));
    m_targetLine = new QLineSeries;
    m_targetLine->setName(QStringLiteral("Цель"));
    m_targetLine->setPen(QPen(QColor(0x2e, 0x8b, 0x3a), 1.5, Qt::DashLine));
    for (QLineSeries *line : {m_bankrollLine, m_startLine, m_targetLine})
        chart->addSeries(line);
    m_ruinMarks = new QScatterSeries;
    m_ruinMarks->setName(QStringLiteral("Разорение"));
    m_ruinMarks->setColor(QColor(0xc0, 0x20, 0x20));
    m_ruinMarks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_targetMarks = new QScatterSeries;
    m_targetMarks->setName(QStringLiteral("Цель достигнута"));
    m_targetMarks->setColor(QColor(0x2e, 0x8b, 0x3a));
    for (QScatterSeries *marks : {m_ruinMarks, m_targetMarks}) {
        marks->setMarkerSize(8);
        marks->setBorderColor(Qt::white);
        chart->addSeries(marks);
    }

    m_spinAxis = new QValueAxis;
    m_spinAxis->setTitleText(QStringLiteral("Спинов"));
    m_spinAxis->setLabelFormat(QStringLiteral("%d"));
    m_spinAxis->setTickType(QValueAxis::TicksDynamic);
    m_spinAxis->setTickAnchor(0);
    m_moneyAxis = new QValueAxis;
    m_moneyAxis->setTitleText(QStringLiteral("Банк"));
    m_moneyAxis->setLabelFormat(QStringLiteral("%d"));
    m_chartView = MakeChartView(chart, m_spinAxis, m_moneyAxis, QStringLiteral("ChartBankroll"));
    m_chartView->setMinimumHeight(220);
    m_chartView->setAccessibleName(QStringLiteral("Банк по сессиям"));
}

void SystemForm::SetStartingValues(qint32 minStake, qint32 multiplier)
{
    const SystemInputs in = DefaultSystemInputs(minStake, multiplier);
    const qint32 values[FieldCount] = {in.trigger,    in.minStake, in.multiplier, in.steps,
                                       in.tableLimit, in.bankroll, in.target};
    for (int f = 0; f < FieldCount; ++f) {
        const QSignalBlocker quiet(m_fields[f]);
        m_fields[f]->setText(QString::number(values[f]));
    }
    InputsChanged();
}

SystemInputCheck SystemForm::Inputs() const
{
    const auto text = [this](Field f) { return m_fields[f]->text(); };
    return ReadSystemInputs(m_group->currentIndex(),
                            {text(Trigger), text(MinStake), text(Multiplier), text(Steps),
                             text(TableLimit), text(Bankroll), text(Target)});
}

void SystemForm::Follow()
{
    if (isVisible() && !m_refresh.isActive())
        m_refresh.start();
}

void SystemForm::FollowHistory(const SpinHistory &history, const QString &tableName)
{
    if (FollowTable(*this, QStringLiteral("Проверка системы"), tableName, m_history,
                    m_historyFollow, history, &SystemForm::Follow) &&
        isVisible())
        Refresh();
}

void SystemForm::Refresh()
{
    m_refresh.stop();
    ShowReplay();
}

void SystemForm::setVisible(bool visible)
{
    // While hidden it followed nothing, so it starts from the history as it
    // stands now.
    if (visible && !isVisible())
        Refresh();
    QWidget::setVisible(visible);
}

// A chain still being solved is dropped while the window is hidden and
// asked for again when it shows.
void SystemForm::hideEvent(QHideEvent *event)
{
    m_refresh.stop();
    if (m_ruin.Busy()) {
        m_ruin.Cancel();
        m_ruinDropped = true;
    }
    QWidget::hideEvent(event);
}

void SystemForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (std::exchange(m_ruinDropped, false))
        m_ruin.Solve(m_inputs.inputs);
}

namespace {

void Show(QLabel &label, const QString &caption, const QString &text)
{
    if (label.text() == text)
        return;
    label.setText(text);
    label.setAccessibleName(caption + QStringLiteral(": ") + text);
}

} // namespace

void SystemForm::InputsChanged()
{
    m_inputs = Inputs();
    // A refused field turns red and says why, beside the fields and to a
    // screen reader.
    QStringList reasons;
    for (int f = 0; f < FieldCount; ++f) {
        QLineEdit &edit = *m_fields[f];
        const bool refused = m_inputs.invalid.testFlag(FieldRows[f].field);
        QPalette palette; // inherited
        if (refused) {
            palette = this->palette();
            palette.setColor(QPalette::Base, QColor(0xff, 0xc8, 0xc8));
            palette.setColor(QPalette::Text, QColor(0x90, 0x00, 0x00));
        }
        edit.setPalette(palette);
        const QString reason = SystemFieldReason(m_inputs.inputs, FieldRows[f].field);
        if (edit.accessibleDescription() != reason)
            edit.setAccessibleDescription(reason);
        if (!reason.isEmpty())
            reasons << reason;
    }
    const QString problems = reasons.join(u'\n');
    if (m_problems->text() != problems) {
        m_problems->setText(problems);
        m_problems->setAccessibleName(problems);
    }

    const auto show = [this](LabelIndex index, const QString &text) {
        Show(*m_labels[index], m_captions[index], text);
    };
    const std::optional<SystemExact> exact = ExactFigures(m_inputs.inputs);
    if (exact) {
        show(SeriesLossChance, FormatChance(exact->seriesLossChance) + QStringLiteral(", серия ") +
                                   OfBets(exact->bets));
        show(ExpectedPerSeries, FormatDecimal(exact->expectedNet, 2));
        show(ExpectedPerBet,
             FormatChance(exact->expectedLossPerUnit) + QStringLiteral(" от поставленного (1/37)"));
    } else {
        for (const LabelIndex index : {SeriesLossChance, ExpectedPerSeries, ExpectedPerBet})
            show(index, NoFigure());
    }
    m_expectedNet = exact ? exact->expectedNet : NoValue;

    m_ruinDropped = false;
    if (exact) {
        m_ruinText = QStringLiteral("…");
        show(RuinChance, m_ruinText);
        m_ruin.Solve(m_inputs.inputs); // a quick chain answers at once
    } else {
        m_ruin.Cancel();
        m_ruinText = NoFigure();
        show(RuinChance, m_ruinText);
    }

    // Hidden, the replay waits until the window shows.
    m_refresh.stop();
    if (isVisible())
        ShowReplay();
}

void SystemForm::ShowRuin(const RuinFigure &figure)
{
    m_ruinText = RuinText(figure);
    Show(*m_labels[RuinChance], m_captions[RuinChance], m_ruinText);
    ShowSessionRuinShare();
}

void SystemForm::ShowSessionRuinShare()
{
    QString text = NoFigure();
    const qint64 ended = m_sessionsTarget + m_sessionsRuined;
    const QString exact = QStringLiteral(" (точный шанс разорения %1)").arg(m_ruinText);
    if (m_sessionsTarget < 0)
        text = NoFigure();
    else if (ended == 0)
        text = QStringLiteral("нет законченных сессий") + exact;
    else
        text = QStringLiteral("%1 из %2 = %3")
                   .arg(Money(m_sessionsRuined), Money(ended),
                        Percent(double(m_sessionsRuined) / double(ended))) +
               exact;
    Show(*m_labels[SessionRuinShare], m_captions[SessionRuinShare], text);
}

void SystemForm::ShowReplay()
{
    const std::optional<SystemReplay> replay =
        m_inputs.invalid ? std::nullopt : ReplaySystem(m_history->Codes(), m_inputs.inputs);
    const auto show = [this](LabelIndex index, const QString &text) {
        Show(*m_labels[index], m_captions[index], text);
    };
    if (!replay) {
        for (int index = Sessions; index <= NoWholeLoss; ++index)
            show(LabelIndex(index), NoFigure());
        m_sessionsTarget = m_sessionsRuined = -1;
        show(Verdict, SystemVerdict(m_expectedNet));
        ShowChart(nullptr, m_inputs.inputs);
        return;
    }
    const SystemReplay &r = *replay;
    m_sessionsTarget = r.sessionsTarget;
    m_sessionsRuined = r.sessionsRuined;
    show(Sessions, QStringLiteral("%1: до цели %2, разорений %3, не закончена %4")
                       .arg(Money(r.sessions), Money(r.sessionsTarget), Money(r.sessionsRuined))
                       .arg(r.sessionOpen ? 1 : 0));
    ShowSessionRuinShare();
    const qint64 open = r.series - r.seriesWon - r.seriesLost;
    show(Series, open > 0 ? QStringLiteral("%1, последняя ещё идёт").arg(Money(r.series))
                          : Money(r.series));
    show(SeriesWon, Money(r.seriesWon));
    show(SeriesLost, r.seriesCut > 0 ? QStringLiteral("%1, из них оборвано банком %2")
                                           .arg(Money(r.seriesLost), Money(r.seriesCut))
                                     : Money(r.seriesLost));
    show(Net, Money(r.net));
    show(Staked, Money(r.staked));
    show(MaxDrawdown, Money(r.maxDrawdown));
    show(WorstRun, Money(r.worstLostRun));
    show(HitRate, r.bets == 0 ? NoFigure()
                              : QStringLiteral("%1 из %2: %3 (95 %: %4–%5); честно %6")
                                    .arg(Money(r.betsWon), Money(r.bets), Percent(r.hitRate),
                                         FormatDecimal(r.hitLow * 100, 1), Percent(r.hitHigh),
                                         Percent(r.fairChance)));
    show(RandomEntry,
         std::isnan(r.randomMean)
             ? NoFigure()
             : QStringLiteral("%1 в среднем (вход на каждом %2); %3")
                   .arg(FormatDecimal(r.randomMean, 2),
                        Of(r.randomSeries, QStringLiteral("спина"), QStringLiteral("спинов")),
                        JudgedMean(r)));
    show(NoWholeLoss, NoWholeLossText(r));
    QString verdict = SystemVerdict(m_expectedNet);
    if (!std::isnan(m_expectedNet))
        verdict += QStringLiteral(" На этой последовательности разорением кончилось сессий: %1 "
                                  "из %2.")
                       .arg(Money(r.sessionsRuined), Money(r.sessions));
    show(Verdict, verdict);
    ShowChart(&r, m_inputs.inputs);
}

void SystemForm::ShowChart(const SystemReplay *replay, const SystemInputs &inputs)
{
    DescribeChart(replay, inputs);
    if (!replay) {
        for (QXYSeries *line : std::initializer_list<QXYSeries *>{
                 m_bankrollLine, m_startLine, m_targetLine, m_ruinMarks, m_targetMarks})
            line->clear();
        return;
    }
    const double bankroll = inputs.bankroll;
    const double target = inputs.target;
    const auto pointsOf = [](const std::vector<ResultPoint> &from) {
        QList<QPointF> points;
        points.reserve(qsizetype(from.size()));
        for (const ResultPoint &point : from)
            points.append({double(point.spin), double(point.bank)});
        return points;
    };
    double low = std::min(bankroll, target), high = std::max(bankroll, target);
    for (const ResultPoint &point : replay->chart) {
        low = std::min(low, double(point.bank));
        high = std::max(high, double(point.bank));
    }
    const double last = std::max<double>(1, double(replay->spins));
    m_bankrollLine->replace(pointsOf(replay->chart));
    m_ruinMarks->replace(pointsOf(replay->ruins));
    m_targetMarks->replace(pointsOf(replay->targets));
    m_startLine->replace({{0, bankroll}, {last, bankroll}});
    m_targetLine->replace({{0, target}, {last, target}});

    const double margin = std::max(1.0, (high - low) * 0.05);
    // Ticks at whole spins of 1, 2 or 5 times a power of ten, at most ten.
    double interval = std::pow(10.0, std::floor(std::log10(last)));
    for (const double part : {0.2, 0.5, 1.0})
        if (last / (interval * part) <= 10) {
            interval = std::max(1.0, interval * part);
            break;
        }
    m_spinAxis->setTickInterval(interval);
    m_spinAxis->setRange(0, last);
    // A bankroll is never below 0, nor is the axis.
    m_moneyAxis->setRange(std::max(0.0, low - margin), high + margin);
    m_moneyAxis->applyNiceNumbers();
    if (m_moneyAxis->min() < 0)
        m_moneyAxis->setMin(0);
}

// What the chart shows, in words, for a screen reader.
void SystemForm::DescribeChart(const SystemReplay *replay, const SystemInputs &inputs)
{
    QString description = QStringLiteral("Нет данных: исправьте поля, отмеченные красным.");
    if (replay) {
        qint64 low = inputs.bankroll, high = inputs.bankroll;
        for (const ResultPoint &point : replay->chart) {
            low = std::min(low, point.bank);
            high = std::max(high, point.bank);
        }
        description =
            QStringLiteral("Банк каждой сессии от %1 до цели %2 за %3 спинов: сессий %4, "
                           "до цели %5, разорений %6. Самый низкий банк %7, самый высокий %8, "
                           "в конце %9.")
                .arg(Money(inputs.bankroll), Money(inputs.target), Money(replay->spins),
                     Money(replay->sessions), Money(replay->sessionsTarget),
                     Money(replay->sessionsRuined), Money(low), Money(high),
                     Money(replay->chart.back().bank));
    }
    if (m_chartView->accessibleDescription() != description)
        m_chartView->setAccessibleDescription(description);
}

} // namespace trevolo
