#include "app/analysiswindow/WheelPage.h"

#include "analysis/Chances.h"
#include "app/analysiswindow/Figures.h"
#include "app/analysiswindow/WheelView.h"
#include "common/IntegerText.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace trevolo {

namespace {

constexpr const char16_t *HotArcCaption = u"Самая частая дуга:";
constexpr const char16_t *HotArcPCaption = u"Шанс для этой дуги (заранее выбранной):";
constexpr const char16_t *HotArcFamilyPCaption = u"Хотя бы для одной из 37 дуг сейчас:";
constexpr const char16_t *HotArcVerdictCaption = u"Что значит самая частая дуга:";
// A family chance below this makes the hottest arc remarkable.
constexpr double RemarkableFamilyChance = 0.05;

// What the family chance of the hottest arc means: nothing without one, "…"
// while it is simulated.
QString HotArcVerdict(bool arc, std::optional<double> family)
{
    if (!arc)
        return NoFigure();
    if (!family)
        return QStringLiteral("…");
    if (*family >= RemarkableFamilyChance)
        return QStringLiteral("Для честного колеса такая дуга — обычное дело.");
    return QStringLiteral("На честном колесе самая частая из 37 дуг выпадает так часто лишь в %1 "
                          "случаев: это редкость, но может быть и случайностью.")
        .arg(FormatChance(*family));
}

} // namespace

// The scale of the heat ring: its colours from no absence to the top of the
// scale, the alarm threshold (or the longest absence without one), with the
// absences they stand for written under them.
class HeatLegend : public QWidget
{
public:
    HeatLegend()
    {
        setObjectName(QStringLiteral("WheelLegend"));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    void SetTop(qint32 top, bool threshold)
    {
        if (top == m_top && threshold == m_threshold)
            return;
        m_top = top;
        m_threshold = threshold;
        setAccessibleName(QStringLiteral("Шкала кольца: тёмно-фиолетовый — 0 спинов, жёлтый — %1")
                              .arg(TopText()));
        update();
    }

    QSize sizeHint() const override
    {
        return {fontMetrics().horizontalAdvance(QStringLiteral("0")) * 40,
                2 * fontMetrics().height() + 8};
    }
    QSize minimumSizeHint() const override { return {160, sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const int textHeight = fontMetrics().height();
        const QRect bar(0, 2, width() - 1, textHeight);
        QLinearGradient gradient(bar.topLeft(), bar.topRight());
        for (int step = 0; step <= 8; ++step)
            gradient.setColorAt(step / 8.0, WheelView::HeatColour(step / 8.0));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBrush(gradient);
        painter.drawRect(bar);
        const QRect under(0, bar.bottom() + 4, width(), textHeight);
        painter.drawText(under, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0"));
        if (m_top > 1)
            painter.drawText(under, Qt::AlignHCenter | Qt::AlignVCenter, IntToStr(m_top / 2));
        painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter, TopText());
    }

private:
    QString TopText() const
    {
        return m_threshold ? IntToStr(m_top) + QStringLiteral(" и дольше") : IntToStr(m_top);
    }

    qint32 m_top = -1;
    bool m_threshold = false;
};

WheelPage::WheelPage(QWidget *parent) : QWidget(parent)
{
    m_wheel = new WheelView;
    m_legend = new HeatLegend;
    m_legendText = new QLabel;
    m_legendText->setObjectName(QStringLiteral("WheelLegendText"));
    m_legendText->setWordWrap(true);
    m_legendText->setTextFormat(Qt::PlainText);

    m_width = new QSpinBox;
    m_width->setObjectName(QStringLiteral("ArcWidth"));
    m_width->setRange(MinArcWidth, MaxArcWidth);
    m_width->setValue(DefaultArcWidth);
    m_hotArc = NewFigureLabel(QStringLiteral("LabelHotArc"),
                              QStringLiteral("36 ±9: 88888888 (ожидается 8888888,8)"));
    m_hotArcP = NewFigureLabel(QStringLiteral("LabelHotArcP"), QStringLiteral("< 0,0001 %"));
    m_hotArcFamilyP =
        NewFigureLabel(QStringLiteral("LabelHotArcFamilyP"), QStringLiteral("0,0088 % ± 0,0008 %"));
    m_hotArcVerdict = NewFigureLabel(QStringLiteral("LabelHotArcVerdict"));
    m_hotArcVerdict->setWordWrap(true);

    auto *box = new QGroupBox(QStringLiteral("Дуги колеса"));
    auto *form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("Соседей с каждой стороны:"), m_width);
    form->addRow(QString::fromUtf16(HotArcCaption), m_hotArc);
    form->addRow(QString::fromUtf16(HotArcPCaption), m_hotArcP);
    form->addRow(QString::fromUtf16(HotArcFamilyPCaption), m_hotArcFamilyP);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_hotArcVerdict);
    layout->addWidget(m_wheel, 1);
    layout->addWidget(m_legend);
    layout->addWidget(m_legendText);
    layout->addWidget(box);

    m_simulator = new ArcSimulator(this);
    connect(m_simulator, &ArcSimulator::Finished, this, &WheelPage::ShowFamilyChance);
    connect(m_width, &QSpinBox::valueChanged, this, &WheelPage::ShowArc);
    ShowFigures(HistoryStatistics(), std::nullopt);
}

void WheelPage::ShowFigures(const HistoryStatistics &statistics, std::optional<qint32> threshold)
{
    m_wheel->SetFigures(statistics.absence, statistics.occurrence, threshold);
    const qint32 longest = *std::max_element(statistics.absence.begin(), statistics.absence.end());
    m_legend->SetTop(threshold.value_or(longest), threshold.has_value());
    const QString legend =
        QStringLiteral("Цвет кольца — сколько спинов число не выпадает: от тёмно-фиолетового "
                       "(только что выпало) до жёлтого (%1). Рамка — самая частая дуга.")
            .arg(threshold
                     ? QStringLiteral("порог сигнализации %1 и дольше").arg(IntToStr(*threshold))
                     : QStringLiteral("самое долгое отсутствие: %1; порога нет")
                           .arg(IntToStr(longest)));
    if (m_legendText->text() != legend)
        m_legendText->setText(legend);
    m_occurrence = statistics.occurrence;
    ShowArc();
}

void WheelPage::ShowArc()
{
    m_arc = HottestArc(m_occurrence, m_width->value());
    ShowFigure(*m_hotArc, HotArcCaption, HotArcText(m_arc));
    ShowFigure(*m_hotArcP, HotArcPCaption, FormatChance(m_arc.chance));
    m_wheel->SetHotArc(m_arc);
    ShowFamilyChance();
}

void WheelPage::ShowFamilyChance()
{
    QString text = NoFigure();
    std::optional<double> family;
    if (m_arc.centre >= 0) {
        // As many hits as the mean arc holds are reached by the largest
        // always: no simulation needed.
        const SimulatedChance certain =
            LargestArcChance(ArcSimulation{m_arc.spins, m_arc.width, {}}, m_arc.hits);
        if (const ArcSimulation *result = m_simulator->Result(m_arc.spins, m_arc.width)) {
            const SimulatedChance chance = LargestArcChance(*result, m_arc.hits);
            text = FormatSimulatedChance(chance);
            family = chance.estimate;
        } else if (certain.estimate == 1) {
            text = FormatSimulatedChance(certain);
            family = 1.0;
        } else {
            text = QStringLiteral("…");
            m_simulator->Request(m_arc.spins, m_arc.width);
        }
    }
    ShowFigure(*m_hotArcFamilyP, HotArcFamilyPCaption, text);
    ShowFigure(*m_hotArcVerdict, HotArcVerdictCaption, HotArcVerdict(m_arc.centre >= 0, family));
    // Only a remarkable arc gets the heavy frame.
    m_wheel->SetArcRemarkable(family && *family < RemarkableFamilyChance);
}

} // namespace trevolo
