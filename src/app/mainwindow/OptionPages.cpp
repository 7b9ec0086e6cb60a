// The pages "Настройки" and "Калькулятор".
#include "app/mainwindow/Unit1.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace trevolo {

namespace {

struct TrackBarRow
{
    TTrackBar *TForm1::*member;
    const char16_t *name;
    int x, y, width;
    int min, max, position, frequency;
    QLabel *TForm1::*valueLabel; // right-aligned value left of the slider
    const char16_t *valueName;
    const char16_t *value;
    int valueY;
};

// Right edge of the value labels beside the risk sliders.
constexpr int ValueLabelRight = 14;

struct StakeRow
{
    QLineEdit *TForm1::*member;
    const char16_t *labelName;
    const char16_t *editName;
    const char16_t *text;
};

constexpr StakeRow StakeRows[] = {
    {&TForm1::edit4, u"Label204", u"Edit4", u"5"},
    {&TForm1::edit5, u"Label205", u"Edit5", u"15"},
    {&TForm1::edit6, u"Label206", u"Edit6", u"45"},
    {&TForm1::edit7, u"Label207", u"Edit7", u"135"},
    {&TForm1::edit8, u"Label208", u"Edit8", u"405"},
    {&TForm1::edit9, u"Label209", u"Edit9", u"1215"},
    {&TForm1::edit10, u"Label210", u"Edit10", u"3645"},
    {&TForm1::edit11, u"Label211", u"Edit11", u"10935"},
};

QPlainTextEdit *Memo(QPlainTextEdit *memo, const QRect &geometry)
{
    memo->setGeometry(geometry);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->document()->setDocumentMargin(2);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTabChangesFocus(true);
    SetTooltipBackground(memo);
    return memo;
}

} // namespace

void TForm1::BuildSettingsPage(TTabSheet *page)
{
    QGroupBox *face = MakeGroupBox(page, u"GroupBox8", QStringLiteral(" Интерфейс: "), 8, 145);

    checkBox2 = Named(new QCheckBox(QStringLiteral("Всегда сверху"), face), u"CheckBox2");
    checkBox2->setGeometry(8, 24, 97, 17);
    checkBox1 = Named(new QCheckBox(QStringLiteral("Использование прозрачности окна."), face),
                      u"CheckBox1");
    checkBox1->setGeometry(8, 48, 233, 17);
    MakeBevel(face, u"Bevel8", QRect(8, 72, 241, 2));
    QLabel *choose =
        MakeLabel(face, u"Label43", QStringLiteral("Выберите режим прозрачности:"), 8, 80);
    label45 = MakeLabel(face, u"Label45", QStringLiteral("100%"), 0, 80);
    label45->move(qMax(172, choose->geometry().right() + 5), 80);

    trackBar1 = Named(new TTrackBar(face), u"TrackBar1");
    trackBar1->setGeometry(13, 100, 228, 21);
    trackBar1->SetMax(100);
    trackBar1->SetMin(20);
    trackBar1->SetPosition(100);
    trackBar1->SetFrequency(20);
    trackBar1->setPageStep(20);
    trackBar1->setEnabled(false);
    m_accessibleTexts.AddCaptioned(trackBar1, choose);

    // The percentages stand centred under the ticks of TrackBar1.
    struct Percent
    {
        const char16_t *name;
        int value;
    };
    constexpr Percent percents[] = {
        {u"Label46", 20}, {u"Label48", 40}, {u"Label49", 60}, {u"Label50", 80}, {u"Label47", 100},
    };
    for (const Percent &p : percents) {
        QLabel *label = MakeLabel(face, p.name, QStringLiteral("%1%").arg(p.value), 0, 121);
        const int x = trackBar1->x() + trackBar1->TickX(p.value) - label->width() / 2;
        label->move(qBound(2, x, face->width() - 2 - label->width()), 121);
    }

    QGroupBox *risk =
        MakeGroupBox(page, u"GroupBox9", QStringLiteral(" Уровень рисков: "), 160, 313);
    comboBox1 = Named(new TComboBox(risk), u"ComboBox1");
    comboBox1->setGeometry(8, 24, 241, 21);
    comboBox1->addItems(
        {QStringLiteral("Низкий"), QStringLiteral("Средний"), QStringLiteral("Высокий")});
    comboBox1->SetItemIndex(1);

    QLabel *even =
        MakeLabel(risk, u"Label53", QStringLiteral("Для комбинаций с вероятностью 18/37"), 8, 56);
    QLabel *third =
        MakeLabel(risk, u"Label200", QStringLiteral("Для комбинаций с вероятностью 12/37"), 8, 128);

    static const TrackBarRow sliders[] = {
        {&TForm1::trackBar2, u"TrackBar2", 16, 76, 233, 0, 8, 2, 1, &TForm1::label51, u"Label51",
         u"2", 80},
        {&TForm1::trackBar3, u"TrackBar3", 16, 100, 233, 2, 10, 8, 1, &TForm1::label52, u"Label52",
         u"8", 104},
        {&TForm1::trackBar4, u"TrackBar4", 16, 148, 233, 0, 8, 2, 1, &TForm1::label198, u"Label198",
         u"2", 152},
        {&TForm1::trackBar5, u"TrackBar5", 16, 172, 233, 2, 10, 8, 1, &TForm1::label199,
         u"Label199", u"8", 176},
    };
    for (const TrackBarRow &row : sliders) {
        // The value keeps its right edge at x = 14 whatever its width.
        QLabel *value =
            MakeLabel(risk, row.valueName, QString::fromUtf16(row.value), 0, row.valueY);
        value->setAlignment(Qt::AlignRight | Qt::AlignTop);
        value->setGeometry(0, row.valueY, ValueLabelRight, value->height());
        this->*row.valueLabel = value;

        auto *slider = Named(new TTrackBar(risk), row.name);
        slider->setGeometry(row.x, row.y, row.width, 21);
        slider->SetMax(row.max);
        slider->SetMin(row.min);
        slider->SetPosition(row.position);
        slider->SetFrequency(row.frequency);
        slider->setPageStep(1);
        this->*row.member = slider;
    }

    // Each pair of sliders shares one caption: the lower and the upper
    // boundary.
    const QString lower = QStringLiteral("нижняя граница");
    const QString upper = QStringLiteral("верхняя граница");
    m_accessibleTexts.AddCaptioned(trackBar2, even, lower);
    m_accessibleTexts.AddCaptioned(trackBar3, even, upper);
    m_accessibleTexts.AddCaptioned(trackBar4, third, lower);
    m_accessibleTexts.AddCaptioned(trackBar5, third, upper);

    memo1 = Memo(Named(new QPlainTextEdit(risk), u"Memo1"), QRect(7, 208, 242, 89));
}

void TForm1::BuildCalculatorPage(TTabSheet *page)
{
    QGroupBox *input =
        MakeGroupBox(page, u"GroupBox11", QStringLiteral(" Исходные данные: "), 8, 137);
    QLabel *minimum = MakeLabel(input, u"Label202", QStringLiteral("Min. ставка:"), 8, 32);
    edit2 = MakeEdit(input, u"Edit2", QStringLiteral("5"), QRect(77, 28, 39, 21));
    QLabel *factor = MakeLabel(input, u"Label203", QStringLiteral("Умножение:"), 128, 32);
    edit3 = MakeEdit(input, u"Edit3", QStringLiteral("3"), QRect(197, 28, 39, 21));
    m_accessibleTexts.AddCaptioned(edit2, minimum);
    m_accessibleTexts.AddCaptioned(edit3, factor);
    memo2 = Memo(Named(new QPlainTextEdit(input), u"Memo2"), QRect(7, 56, 242, 73));
    memo2->setPlainText(QStringLiteral("Будьте внимательны. Не рекомендуется \n"
                                       "ставить параметр умножения более 3х.\n"
                                       "Увеличение параметра умножения более 3х \n"
                                       "существенно увеличит ваши расходы на \n"
                                       "окончание серии."));
    setTabOrder(edit3, edit2);
    setTabOrder(edit2, memo2);

    QGroupBox *stakes = MakeGroupBox(page, u"GroupBox12", QStringLiteral(" Ставки: "), 149, 324);
    for (int i = 1; i <= int(std::size(StakeRows)); ++i) {
        const StakeRow &row = StakeRows[i - 1];
        QLabel *caption =
            MakeLabel(stakes, row.labelName, QStringLiteral("%1 ставка:").arg(i), 8, 32 * i);
        this->*row.member = MakeEdit(stakes, row.editName, QString::fromUtf16(row.text),
                                     QRect(66, 32 * i - 4, 183, 21));
        m_accessibleTexts.AddCaptioned(this->*row.member, caption);
    }
    QLabel *total = MakeLabel(stakes, u"Label212", QStringLiteral("Необходимая сумма:"), 8, 288);
    SetLabelBold(*total, true);
    total->adjustSize();
    edit12 = MakeEdit(stakes, u"Edit12", QStringLiteral("16400"), QRect(136, 284, 113, 21));
    m_accessibleTexts.AddCaptioned(edit12, total);
    SetTooltipBackground(edit12);
}

} // namespace trevolo
