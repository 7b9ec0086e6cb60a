#include "app/analysiswindow/AnalysisForm.h"

#include "analysis/Chances.h"
#include "app/analysiswindow/Figures.h"
#include "app/analysiswindow/GapsPage.h"
#include "app/analysiswindow/WheelPage.h"
#include "app/analysiswindow/WheelView.h"
#include "app/widgets/Charts.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/CloseKeys.h"
#include "app/widgets/Controls.h"
#include "common/IntegerText.h"

#include <QAction>
#include <QApplication>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFocusFrame>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace trevolo {

namespace {

enum LabelIndex
{
    Spins,
    ChiSquare,
    ChiSquareP,
    Verdict,
    VerdictNote,
    Power,
    BreakEven,
    Hottest,
    HottestP,
    HottestFamilyP,
    HottestEverP,
    HottestInterval,
    Drought,
    DroughtP,
    DroughtFamilyP,
    DroughtEverP,
    NextSpin,
    AlarmRate,
    GroupsMostUnusual,
    GroupsFamilyP,
    GroupsEverP,
    SectorsMostUnusual,
    SectorsFamilyP,
    SectorsEverP,
};

// The simulated figure beside each one-moment family chance.
constexpr std::array<std::pair<LabelIndex, EverFamily>, EverFamilyCount> EverLabels = {{
    {HottestEverP, EverHottest},
    {DroughtEverP, EverDrought},
    {GroupsEverP, EverGroups},
    {SectorsEverP, EverSectors},
}};

struct BoxRow
{
    const char16_t *title;
    int column; // 0 beside 1; the table of groups opens column 1
};

constexpr BoxRow Boxes[] = {
    {u"История", 0},
    {u"Равномерность (χ², 36 степеней свободы)", 0},
    {u"Самое частое число", 0},
    {u"Самое долгое отсутствие", 0},
    {u"Сигнализация", 1},
    {u"Комбинации и сектора", 1},
};
constexpr int GroupsBox = 5;

// One label of the window: its box, the caption before it (none: a line of
// its own), its name and the widest text it can show (none: it wraps), in
// the order they show. Counts have room for eight digits.
struct LabelRow
{
    int box;
    const char16_t *caption;
    const char16_t *name;
    const char16_t *widest;
};

constexpr const char16_t *Chance = u"< 0,0001 %";
constexpr const char16_t *EverCaption = u"Хоть раз за историю такой длины:";
constexpr const char16_t *EverChanceText = u"< 0,0001 % ± 0,0001 %";
constexpr int CaptionWidth = 230;  // pixels; a longer caption wraps
constexpr int SentenceWidth = 340; // pixels: a line of its own
constexpr LabelRow LabelRows[] = {
    {0, u"Спинов:", u"LabelSpins", u"999 (всего спинов меньше 1000)"},
    {1, u"Статистика χ²:", u"LabelChiSquare", u"8888888888,88"},
    {1, u"Шанс такого или большего χ² на честном колесе:", u"LabelChiSquareP", Chance},
    {1, nullptr, u"LabelVerdict", nullptr},
    {1, nullptr, u"LabelVerdictNote", nullptr},
    {1,
     u"Смещение заметно (с шансом 80 % при p < 1 %), если одно число выпадает с шансом "
     u"не меньше:",
     u"LabelPower", Chance},
    {1, nullptr, u"LabelBreakEven", nullptr},
    {2, nullptr, u"LabelHottest", u"36: 88888888 (ожидается 8888888,8)"},
    {2, u"Шанс выпасть столько раз или чаще (это число):", u"LabelHottestP", Chance},
    {2, u"Хотя бы для одного из 37 сейчас:", u"LabelHottestFamilyP", Chance},
    {2, EverCaption, u"LabelHottestEverP", EverChanceText},
    {2, u"95 % интервал его шанса (с поправкой на выбор из 37):", u"LabelHottestInterval",
     u"0,00088–0,00088 %"},
    {3, u"Число: спинов без него", u"LabelDrought", u"36: 88888888"},
    {3, u"Шанс такого отсутствия (заранее выбранное число):", u"LabelDroughtP", Chance},
    {3, u"Хотя бы для одного из 37 сейчас:", u"LabelDroughtFamilyP", Chance},
    {3, EverCaption, u"LabelDroughtEverP", EverChanceText},
    {3, nullptr, u"LabelNextSpin", nullptr},
    {4, u"Доля спинов, когда горит хотя бы одно число (честное колесо):", u"LabelAlarmRate",
     Chance},
    {5, u"Самая необычная комбинация:", u"LabelGroupsMostUnusual", u"1,4,7,10...: 88888888"},
    {5, u"Такое хотя бы у одной из 12 сейчас:", u"LabelGroupsFamilyP", Chance},
    {5, EverCaption, u"LabelGroupsEverP", EverChanceText},
    {5, u"Самый необычный сектор:", u"LabelSectorsMostUnusual", u"Соседи зеро: 88888888"},
    {5, u"Такое хотя бы у одного из 4 сейчас:", u"LabelSectorsFamilyP", Chance},
    {5, EverCaption, u"LabelSectorsEverP", EverChanceText},
};
static_assert(std::size(LabelRows) == SectorsEverP + 1);

enum GroupColumn
{
    NameColumn,
    RunColumn,
    ChanceColumn,
    GroupColumnCount
};

// The caption a screen reader says before a label's figure: the one beside
// it, or its box's title for a label on a line of its own.
QString SpokenCaption(int index)
{
    const LabelRow &row = LabelRows[index];
    return row.caption ? QString::fromUtf16(row.caption)
                       : QString::fromUtf16(Boxes[row.box].title) + u':';
}

// A page that scrolls once the window is too small for it.
QScrollArea *Scrolled(QWidget *page)
{
    auto *area = new QScrollArea;
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    // Tab goes to the figures on it, and the page scrolls to each in turn.
    area->setFocusPolicy(Qt::NoFocus);
    return area;
}

} // namespace

AnalysisForm::AnalysisForm(const SpinHistory &history, const QLineEdit &threshold,
                           const CombinationCaptions &captions, QWidget *parent)
    : QWidget(parent, Qt::Window), m_captions(captions), m_history(&history), m_threshold(threshold)
{
    setObjectName(QStringLiteral("AnalysisForm"));
    m_everSimulator = new EverSimulator(this);
    connect(m_everSimulator, &EverSimulator::Finished, this, &AnalysisForm::ShowEverChances);
    setWindowTitle(QStringLiteral("Анализ последовательности"));

    m_span = new QComboBox;
    m_span->setObjectName(QStringLiteral("AnalysisSpan"));
    for (const qint32 span : SpanLengths)
        m_span->addItem(span == 0 ? QStringLiteral("Вся история")
                                  : QStringLiteral("Последние ") + IntToStr(span));
    auto *spanCaption = new QLabel(QStringLiteral("Период:"));
    spanCaption->setBuddy(m_span);
    auto *spanRow = new QHBoxLayout;
    spanRow->addWidget(spanCaption);
    spanRow->addWidget(m_span);
    spanRow->addStretch(1);

    QStringList groupNames;
    for (int row = 0; row < GroupRowCount; ++row)
        groupNames << GroupName(row);
    m_gaps = new GapsPage(groupNames);
    m_wheelPage = new WheelPage;
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("AnalysisPages"));
    m_pages->addTab(Scrolled(BuildSummaryPage()), QStringLiteral("Сводка"));
    m_chartView->setAccessibleName(QStringLiteral("Выпадения чисел"));
    m_groups->setAccessibleName(QStringLiteral("Серии комбинаций и секторов"));
    m_pages->addTab(Scrolled(m_gaps), QStringLiteral("Пропуски"));
    OrderSummaryTabs();
    m_pages->addTab(Scrolled(m_wheelPage), QStringLiteral("Колесо"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(spanRow);
    layout->addWidget(m_pages, 1);
    resize(PreferredSize);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(RefreshDelay);
    connect(&m_refresh, &QTimer::timeout, this, &AnalysisForm::ShowCharts);
    connect(m_span, &QComboBox::currentIndexChanged, this, &AnalysisForm::Refresh);
    connect(m_pages, &QTabWidget::currentChanged, this, &AnalysisForm::Refresh);
    m_historyFollow = connect(m_history, &SpinHistory::edited, this, &AnalysisForm::Follow);
    connect(&m_threshold, &QLineEdit::textChanged, this, &AnalysisForm::Follow);
    connect(m_gaps, &GapsPage::groupChosen, this, &AnalysisForm::ShowCharts);

    // The main window adds the shortcut that opens it.
    AddCloseKeys(*this, {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});

    // Ctrl+Tab and Ctrl+PgDown turn the pages wherever the focus is, the
    // span above them included; with Shift, or Ctrl+PgUp, backwards.
    for (const bool forward : {true, false}) {
        auto *turn = new QAction(this);
        turn->setShortcutContext(Qt::WindowShortcut);
        turn->setShortcuts(
            forward ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Tab),
                                          QKeySequence(Qt::CTRL | Qt::Key_PageDown)}
                    : QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                          QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
        connect(turn, &QAction::triggered, this, [this, forward] {
            m_pages->setCurrentIndex(
                (m_pages->currentIndex() + (forward ? 1 : -1) + m_pages->count()) %
                m_pages->count());
        });
        addAction(turn);
    }

    // The focused widget gets a ring in the highlight colour around it.
    m_focusFrame = new QFocusFrame(this);
    QPalette ring = m_focusFrame->palette();
    ring.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    m_focusFrame->setPalette(ring);
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
            m_focusFrame->setWidget(now && now != this && now->window() == this ? now : nullptr);
        });
}

AnalysisForm::~AnalysisForm()
{
    // Closing the window as it goes moves the focus, which must not reach a
    // window half destroyed.
    disconnect(m_focusWatch);
}

QWidget *AnalysisForm::BuildSummaryPage()
{
    QWidget *columns[2] = {new QWidget, new QWidget};
    QFormLayout *forms[std::size(Boxes)];
    for (std::size_t b = 0; b < std::size(Boxes); ++b) {
        auto *box = new QGroupBox(QString::fromUtf16(Boxes[b].title));
        forms[b] = new QFormLayout(box);
        forms[b]->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        if (b == 0 || Boxes[b].column != Boxes[b - 1].column)
            new QVBoxLayout(columns[Boxes[b].column]);
        columns[Boxes[b].column]->layout()->addWidget(box);
    }
    for (QWidget *column : columns)
        qobject_cast<QVBoxLayout *>(column->layout())->addStretch();

    m_groups = new QTableWidget(GroupRowCount, GroupColumnCount);
    m_groups->setObjectName(QStringLiteral("TableGroups"));
    m_groups->setHorizontalHeaderLabels({QStringLiteral("Группа"),
                                         QStringLiteral("Не выпадает, спинов"),
                                         QStringLiteral("Шанс такой паузы")});
    m_groups->verticalHeader()->hide();
    m_groups->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_groups->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    m_groups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_groups->setSelectionMode(QAbstractItemView::NoSelection);
    m_groups->setFocusPolicy(Qt::StrongFocus);
    m_groups->setTabKeyNavigation(false);
    for (int row = 0; row < GroupRowCount; ++row) {
        for (int column = 0; column < GroupColumnCount; ++column) {
            auto *cell = new QTableWidgetItem(column == NameColumn ? GroupName(row) : QString());
            if (column != NameColumn)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_groups->setItem(row, column, cell);
        }
    }
    m_groups->resizeColumnsToContents();
    m_groups->setFixedHeight(m_groups->horizontalHeader()->sizeHint().height() +
                             GroupRowCount * m_groups->verticalHeader()->defaultSectionSize() +
                             2 * m_groups->frameWidth());
    m_groups->setMinimumWidth(
        std::max(300, m_groups->horizontalHeader()->length() + 2 * m_groups->frameWidth()));
    forms[GroupsBox]->addRow(m_groups);

    for (std::size_t i = 0; i < std::size(LabelRows); ++i) {
        const LabelRow &row = LabelRows[i];
        // Of fixed size, so a new text repaints the label alone and does not
        // lay the window out again; a sentence wraps at a width of its own,
        // so its height is known (WrapText) and the column keeps its width.
        QLabel *label = NewFigureLabel(QString::fromUtf16(row.name),
                                       row.widest ? QString::fromUtf16(row.widest) : QString());
        if (!row.widest) {
            label->setFixedWidth(SentenceWidth);
            m_wrapped.append(label);
        }
        if (row.caption) {
            // A long caption wraps, so the column keeps its width.
            const QString caption = QString::fromUtf16(row.caption);
            auto *captionLabel = new QLabel(caption);
            captionLabel->setWordWrap(true);
            captionLabel->setFixedWidth(CaptionWidth);
            captionLabel->setBuddy(label);
            m_wrapped.append(captionLabel);
            forms[row.box]->addRow(captionLabel, label);
        } else {
            forms[row.box]->addRow(label);
        }
        m_labels[i] = label;
    }

    BuildChart();

    auto *top = new QWidget;
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(columns[0]);
    topLayout->addWidget(columns[1]);
    topLayout->addStretch(1);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(top);
    splitter->addWidget(m_chartView);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    return splitter;
}

void AnalysisForm::OrderSummaryTabs()
{
    // Down the first column's boxes, then the second's, as the figures read;
    // the chart below them last.
    QList<QWidget *> order;
    for (int box = 0; box < int(std::size(Boxes)); ++box) {
        if (box == GroupsBox)
            order << m_groups;
        for (std::size_t i = 0; i < std::size(LabelRows); ++i)
            if (LabelRows[i].box == box)
                order << m_labels[i];
    }
    order << m_chartView;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

WheelView *AnalysisForm::wheelView() const
{
    return m_wheelPage->wheel();
}

void AnalysisForm::setVisible(bool visible)
{
    // While hidden it followed nothing, so it starts from the history as it
    // stands now.
    if (visible && !isVisible())
        Refresh();
    QWidget::setVisible(visible);
}

void AnalysisForm::FitHeight(QLabel &label)
{
    label.setFixedHeight(label.heightForWidth(label.width()));
}

void AnalysisForm::showEvent(QShowEvent *event)
{
    // The lines a wrapped text takes are known once it has the window's font.
    for (QLabel *label : std::as_const(m_wrapped))
        FitHeight(*label);
    QWidget::showEvent(event);
}

void AnalysisForm::hideEvent(QHideEvent *event)
{
    m_refresh.stop();
    QWidget::hideEvent(event);
}

void AnalysisForm::BuildChart()
{
    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);

    m_bars = new QBarSet(QStringLiteral("Выпадений"));
    m_bars->setColor(QColor(0x5b, 0x7d, 0xb1));
    for (int n = 0; n < WheelSize; ++n)
        m_bars->append(0);
    auto *bars = new QBarSeries;
    bars->setBarWidth(0.8);
    bars->append(m_bars);

    // The band and the line span the whole axis, from before the first bar
    // to after the last.
    m_bandUpper = new QLineSeries;
    m_bandLower = new QLineSeries;
    auto *band = new QAreaSeries(m_bandUpper, m_bandLower);
    m_bandUpper->setParent(band);
    m_bandLower->setParent(band);
    band->setName(QStringLiteral("95 % для одного числа"));
    band->setColor(QColor(0xf0, 0xa0, 0x30, 70));
    band->setBorderColor(QColor(0xf0, 0xa0, 0x30, 140));
    // Where all 37 counts stay at once: wider than the band of one number.
    m_allUpper = new QLineSeries;
    m_allLower = new QLineSeries;
    auto *allBand = new QAreaSeries(m_allUpper, m_allLower);
    m_allUpper->setParent(allBand);
    m_allLower->setParent(allBand);
    allBand->setName(QStringLiteral("95 % для всех 37 сразу"));
    allBand->setColor(QColor(0x60, 0x90, 0xd0, 45));
    allBand->setBorderColor(QColor(0x60, 0x90, 0xd0, 140));
    m_expected = new QLineSeries;
    m_expected->setName(QStringLiteral("Ожидается n/37"));
    m_expected->setPen(QPen(QColor(0xd0, 0x50, 0x10), 2));

    chart->addSeries(allBand);
    chart->addSeries(band);
    chart->addSeries(bars);
    chart->addSeries(m_expected);
    // The numbers on an axis of values, labelled as densely as its width
    // allows: every number, else every second or fifth, none cut short.
    auto *numberAxis = new QValueAxis;
    numberAxis->setLabelFormat(QStringLiteral("%d"));
    numberAxis->setTickType(QValueAxis::TicksDynamic);
    numberAxis->setTickAnchor(0);
    numberAxis->setTickInterval(1);
    numberAxis->setRange(-0.5, WheelSize - 0.5);
    m_countAxis = new QValueAxis;
    connect(chart, &QChart::plotAreaChanged, this, [this, numberAxis](const QRectF &area) {
        FitTicks(*numberAxis, area.width(), WheelSize, QStringLiteral("36"));
        SetCountAxis(*m_countAxis, -1, area.height());
    });
    m_countAxis->setLabelFormat(QStringLiteral("%d"));
    m_countAxis->setTickType(QValueAxis::TicksDynamic);
    m_countAxis->setTickAnchor(0);
    m_countAxis->setRange(0, 1);
    m_chartView = MakeChartView(chart, numberAxis, m_countAxis, QStringLiteral("ChartOccurrences"));
    // Room for the count axis's labels and the legend below.
    m_chartView->setMinimumHeight(300);
}

void AnalysisForm::Follow()
{
    if (!isVisible())
        return;
    // The figures, the tables and the wheel follow at once; the chart, whose
    // layout is the one costly part, catches up after RefreshDelay.
    TakePass();
    ShowFigures(m_pending, m_thresholdText);
    ShowPageFigures();
    if (!m_refresh.isActive())
        m_refresh.start();
}

void AnalysisForm::FollowHistory(const SpinHistory &history, const QString &tableName)
{
    if (FollowTable(*this, QStringLiteral("Анализ последовательности"), tableName, m_history,
                    m_historyFollow, history, &AnalysisForm::Follow) &&
        isVisible())
        Refresh();
}

void AnalysisForm::Refresh()
{
    m_refresh.stop();
    TakePass();
    ShowFigures(m_pending, m_thresholdText);
    ShowPageFigures();
    ShowCharts();
}

qint32 AnalysisForm::Span() const
{
    return SpanLengths[size_t(std::max(0, m_span->currentIndex()))];
}

void AnalysisForm::TakePass()
{
    if (m_thresholdText != m_threshold.text())
        m_thresholdText = m_threshold.text();
    const qint32 span = Span();
    m_pending = span > 0 ? SpanStatistics(m_history->LastSpins(span), m_thresholdText)
                         : m_history->Statistics(m_thresholdText);
}

void AnalysisForm::ShowPageFigures()
{
    switch (m_pages->currentIndex()) {
    case GapsTab:
        m_gaps->ShowTables(m_history->Figures(Span()));
        break;
    case WheelTab:
        m_wheelPage->ShowFigures(m_pending, TryStrToInt(m_thresholdText));
        break;
    default:
        break;
    }
}

void AnalysisForm::ShowCharts()
{
    switch (m_pages->currentIndex()) {
    case SummaryTab:
        ShowChart(m_pending);
        DescribeChart(m_pending);
        break;
    case GapsTab:
        m_gaps->ShowChart(m_history->GroupGapHistogram(m_gaps->ChosenGroup(), Span()),
                          m_pending.spinCount);
        break;
    default:
        break;
    }
}

void AnalysisForm::DescribeChart(const HistoryStatistics &statistics)
{
    const auto &counts = statistics.occurrence;
    const auto most = std::max_element(counts.begin(), counts.end());
    const auto least = std::min_element(counts.begin(), counts.end());
    const QString description =
        QStringLiteral("Больше всего выпадений у %1: %2, меньше всего у %3: %4; ожидается %5 "
                       "на число.")
            .arg(IntToStr(int(most - counts.begin())), IntToStr(*most),
                 IntToStr(int(least - counts.begin())), IntToStr(*least),
                 FormatDecimal(double(statistics.spinCount) / WheelSize, 1));
    if (m_chartView->accessibleDescription() != description)
        m_chartView->setAccessibleDescription(description);
}

QString AnalysisForm::SpinsText(qint32 spins) const
{
    const qint32 span = Span();
    if (span > 0 && spins < span)
        return QStringLiteral("%1 (всего спинов меньше %2)").arg(IntToStr(spins), IntToStr(span));
    return span > 0 ? QStringLiteral("%1 из последних %2").arg(IntToStr(spins), IntToStr(span))
                    : IntToStr(spins);
}

void AnalysisForm::ShowFigures(const HistoryStatistics &statistics, QStringView thresholdText)
{
    const AnalysisFigures f = ComputeAnalysis(statistics, thresholdText);
    const auto show = [this](LabelIndex index, const QString &text) {
        QLabel &label = *m_labels[index];
        if (ShowFigure(label, SpokenCaption(index), text) && label.wordWrap())
            FitHeight(label);
    };

    show(Spins, SpinsText(f.spins));
    show(ChiSquare, f.chiSquareText);
    show(ChiSquareP, FormatChance(f.chiSquareP));
    show(Verdict, BiasVerdictText(f.verdict));
    show(VerdictNote, BiasVerdictNote(f.verdict, f.spins));
    m_labels[VerdictNote]->setVisible(!m_labels[VerdictNote]->text().isEmpty());
    show(Power, FormatChance(f.detectableChance));
    show(BreakEven, BreakEvenText());

    show(Hottest, f.hottest < 0 ? NoFigure()
                                : QStringLiteral("%1: %2 (ожидается %3)")
                                      .arg(IntToStr(f.hottest), IntToStr(f.hottestCount),
                                           FormatDecimal(f.expectedCount, 1)));
    show(HottestP, FormatChance(f.hottestP));
    show(HottestFamilyP, FormatChance(f.hottestFamilyP));
    show(HottestInterval, FormatChanceRange(f.hottestRange));
    show(Drought, f.drought < 0
                      ? NoFigure()
                      : IntToStr(f.drought) + QStringLiteral(": ") + IntToStr(f.droughtSpins));
    show(DroughtP, FormatChance(f.droughtP));
    show(DroughtFamilyP, FormatChance(f.droughtFamilyP));
    show(NextSpin, QStringLiteral("Следующий спин: по-прежнему 1/37 = 2,7 % для каждого числа."));
    show(AlarmRate, FormatChance(f.alarmRate));

    // Without spins no group has a pause to show.
    const auto run = [&f](qint32 spins) { return f.spins == 0 ? NoFigure() : IntToStr(spins); };
    for (int row = 0; row < GroupRowCount; ++row) {
        SetTextIfChanged(*m_groups->item(row, RunColumn), run(f.runs[row]));
        SetTextIfChanged(*m_groups->item(row, ChanceColumn), FormatChance(f.chances[row]));
    }
    show(GroupsMostUnusual, f.spins == 0 ? NoFigure() : RunText(f, f.combinations));
    show(GroupsFamilyP, FormatChance(f.combinations.familyChance));
    show(SectorsMostUnusual, f.spins == 0 ? NoFigure() : RunText(f, f.sectors));
    show(SectorsFamilyP, FormatChance(f.sectors.familyChance));
    m_everInputs = EverInputsOf(f);
    ShowEverChances();
}

void AnalysisForm::ShowEverChances()
{
    const EverSimulation *result = m_everSimulator->Result(m_everInputs);
    // Without a simulation to run the figures read "—" at once.
    if (!result && EverHistories(m_everInputs.spins) > 0)
        m_everSimulator->Request(m_everInputs);
    for (const auto &[index, family] : EverLabels) {
        const QString text = result ? FormatSimulatedChance(EverChance(*result, family))
                             : EverHistories(m_everInputs.spins) > 0 ? QStringLiteral("…")
                                                                     : NoFigure();
        ShowFigure(*m_labels[index], SpokenCaption(index), text);
    }
}

void AnalysisForm::ShowChart(const HistoryStatistics &statistics)
{
    qint32 most = 0;
    for (int n = 0; n < WheelSize; ++n) {
        const qint32 count = statistics.occurrence[n];
        most = std::max(most, count);
        if (m_bars->at(n) != count)
            m_bars->replace(n, count);
    }

    const qint32 spins = statistics.spinCount;
    const double expected = double(spins) / WheelSize;
    const double band = 1.96 * std::sqrt(spins * (1.0 / WheelSize) * (36.0 / WheelSize));
    if (spins != m_chartSpins) {
        m_chartSpins = spins;
        const auto across = [](double y) { return QList<QPointF>{{-0.5, y}, {36.5, y}}; };
        m_expected->replace(across(expected));
        m_bandUpper->replace(across(expected + band));
        m_bandLower->replace(across(std::max(0.0, expected - band)));
        // Counts are whole numbers: the band of all 37 runs from its lowest
        // to its highest count inside it (from 0 while even 0 is too likely),
        // so a bar that reaches past a line is outside.
        const CountBand all = AllCountsBand(spins);
        m_allUpper->replace(across(spins == 0 ? 0.0 : double(InsideHighest(all))));
        m_allLower->replace(across(double(InsideLowest(all))));
    }
    // The count axis grows in steps, so it rarely moves from one spin to the
    // next.
    SetCountAxis(*m_countAxis, std::max({double(most), expected + band, m_allUpper->at(0).y()}),
                 m_chartView->chart()->plotArea().height());
}

QString AnalysisForm::GroupName(int row) const
{
    return row < CombinationCount ? m_captions[size_t(row)]
                                  : QString::fromUtf16(Sectors[row - CombinationCount].name);
}

QString AnalysisForm::RunText(const AnalysisFigures &f, const FamilyFigures &family) const
{
    return GroupName(family.row) + QStringLiteral(": ") + IntToStr(f.runs[family.row]);
}

} // namespace trevolo
