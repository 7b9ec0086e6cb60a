// The pages "Комбинации", "Не выпадения" and "Выпадения": the indicator rows,
// the alarm threshold and the two number grids.
#include "app/mainwindow/Unit1.h"

#include "analysis/NumberClasses.h"
#include "analysis/RiskColours.h"
#include "analysis/Statistics.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

namespace trevolo {

// The names of one number grid, by number 0..36.
struct NumberGridNames
{
    const char16_t *boxName;
    const char16_t *boxCaption;
    int boxTop;
    int boxHeight;
    int captionLabel[WheelSize]; // "Label" + this number (0 gives zeroCaption)
    const char16_t *zeroCaption;
    int firstCountLabel; // count of n is "Label" + firstCountLabel + n (ControlNames)
    const char16_t *verticalBevel;
    const char16_t *horizontalBevel;
};

namespace {

struct BoxRow
{
    const char16_t *name;
    const char16_t *caption;
    int top;
    int height;
};

// One indicator row per combination group 1..12; its caption and its hidden
// label's name are ControlNames'.
struct IndicatorRow
{
    int box; // index into the group boxes of the page
    int y;   // top of the images
    const char16_t *captionName;
    int captionY;
    int hiddenX;
    int hiddenY;
};

constexpr BoxRow CombinationBoxes[] = {
    {u"GroupBox2", u" Цвет (18/37): ", 0, 73},
    {u"GroupBox1", u" Четность (18/37): ", 80, 73},
    {u"GroupBox3", u" Величина (18/37):  ", 160, 73},
    {u"GroupBox4", u" Сектора (12/37): ", 240, 97},
    {u"GroupBox5", u" Зоны (12/37): ", 341, 132},
};

constexpr IndicatorRow IndicatorRows[CombinationCount] = {
    {0, 24, u"Label5", 24, 81, 24},  {0, 47, u"Label7", 48, 81, 48},
    {1, 24, u"Label1", 24, 89, 24},  {1, 47, u"Label3", 48, 89, 48},
    {2, 24, u"Label11", 25, 89, 24}, {2, 47, u"Label9", 48, 89, 48},
    {3, 24, u"Label13", 24, 89, 24}, {3, 47, u"Label15", 48, 89, 48},
    {3, 72, u"Label17", 72, 89, 72}, {4, 24, u"Label19", 24, 89, 24},
    {4, 48, u"Label21", 48, 89, 48}, {4, 72, u"Label23", 72, 89, 72},
};

constexpr int CaptionGap = 3; // between a number's caption and its count
constexpr int FirstImageX = 80;
constexpr int ImageStep = 16;

constexpr NumberGridNames AbsenceGrid = {
    u"GroupBox7",
    u" Не выпадения чисел: ",
    104,
    369,
    {0,  27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 76, 77,
     60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 78, 79},
    u"Label_80",
    FirstAbsenceCountLabel,
    u"Bevel6",
    u"Bevel7",
};

constexpr NumberGridNames OccurrenceGrid = {
    u"GroupBox10",
    u" Выпадение чисел: ",
    8,
    465,
    {247, 54,  55,  56,  57,  58,  59,  117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 143, 144,
     127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 145, 146},
    nullptr,
    FirstOccurrenceCountLabel,
    u"Bevel1",
    u"Bevel2",
};

} // namespace

void TForm1::BuildCombinationsPage(TTabSheet *page)
{
    // Through QIcon, which takes "grey@2x.png" on a screen with twice the
    // pixels, so the balls stay sharp there.
    const auto picture = [this](const QString &file) {
        return QIcon(file).pixmap(QSize(16, 16), devicePixelRatioF());
    };
    const QPixmap grey = picture(QStringLiteral(":/app/pictures/grey.png"));
    const QPixmap yellow = picture(QStringLiteral(":/app/pictures/yellow.png"));
    const QPixmap green = picture(QStringLiteral(":/app/pictures/green.png"));

    QGroupBox *boxes[std::size(CombinationBoxes)];
    for (std::size_t i = 0; i < std::size(CombinationBoxes); ++i) {
        const BoxRow &row = CombinationBoxes[i];
        boxes[i] =
            MakeGroupBox(page, row.name, QString::fromUtf16(row.caption), row.top, row.height);
    }

    for (int g = 1; g <= CombinationCount; ++g) {
        const IndicatorRow &row = IndicatorRows[g - 1];
        QGroupBox *box = boxes[row.box];
        QLabel *caption =
            MakeLabel(box, row.captionName, CombinationRowCaption(g), 9, row.captionY);
        m_accessibleTexts.AddRow(caption, g);
        m_figureTips->AddRow(caption, g, 0);
        for (int l = 1; l <= IndicatorLevels; ++l) {
            TImage *ball =
                MakeImage(box, ImageName(g, l), yellow, FirstImageX + ImageStep * (l - 1), row.y);
            m_figureTips->AddRow(ball, g, l);
            m_accessibleTexts.AddBall(ball, caption, g, l);
        }
        // Empty, hidden and of fixed size; the statistics pass empties it.
        auto *hidden = Named(new QLabel(box), LabelName(HiddenRowLabels[g - 1]));
        hidden->setTextFormat(Qt::PlainText);
        hidden->setGeometry(row.hiddenX, row.hiddenY, 16, 16);
        hidden->hide();
    }

    // The three pictures the risk levels copy into the indicator images.
    QGroupBox *zones = boxes[4];
    MakeImage(zones, u"b", grey, 178, 103);
    MakeImage(zones, u"y", yellow, 202, 103);
    MakeImage(zones, u"g", green, 226, 103);
}

// The two columns of numbers 1..18 and 19..36 with a zero row under them.
// Count labels keep their left edge and have room for seven bold digits, so a
// growing count never needs a new layout.
void TForm1::BuildNumberGrid(QGroupBox *box, const NumberGridNames &names)
{
    QFont bold = box->font();
    bold.setBold(true);
    const int sevenDigits = QFontMetrics(bold).horizontalAdvance(QStringLiteral("0000000")) + 2;

    auto makeCount = [&](int n, int x, int y, const QLabel *caption) {
        // Wide enough for seven bold digits, within the group box's frame.
        const int countWidth = qMin(sevenDigits, box->width() - 2 - x);
        QLabel *count =
            MakeLabel(box, LabelName(names.firstCountLabel + n), QStringLiteral("0"), x, y);
        QFont own = box->font();
        own.setBold(false);
        count->setFont(own);
        count->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        count->setFixedWidth(countWidth);
        m_accessibleTexts.AddCount(count, caption, &names == &OccurrenceGrid);
        m_figureTips->AddCount(count, n);
    };

    for (int n = 1; n <= 36; ++n) {
        const bool left = n <= 18;
        const int row = left ? n : n - 18; // 1..18
        const int y = 24 + 16 * (row - 1);
        const int countX = left ? 80 : 206;
        QLabel *caption = MakeLabel(box, LabelName(names.captionLabel[n]),
                                    QStringLiteral("Число - %1:").arg(n), 0, row >= 5 ? y + 1 : y);
        // At x = 24 (1..9), 16 (10..18) or 144 (19..36), or further left
        // when the font is too wide to leave a gap before the count.
        const int captionX = n <= 9 ? 24 : left ? 16 : 144;
        caption->move(qMin(captionX, countX - CaptionGap - caption->width()), caption->y());
        makeCount(n, countX, y, caption);
    }

    MakeBevel(box, QString::fromUtf16(names.verticalBevel), QRect(136, 24, 2, 289));
    MakeBevel(box, QString::fromUtf16(names.horizontalBevel), QRect(8, 320, 241, 2));

    const QString zeroName = names.zeroCaption ? QString::fromUtf16(names.zeroCaption)
                                               : LabelName(names.captionLabel[0]);
    makeCount(0, 129, 328, MakeLabel(box, zeroName, QStringLiteral("Зеро:"), 96, 329));
}

void TForm1::BuildAbsencePage(TTabSheet *page)
{
    QGroupBox *parameters =
        MakeGroupBox(page, u"GroupBox6", QStringLiteral(" Параметры расчета: "), 8, 89);
    QLabel *caption =
        MakeLabel(parameters, u"Label25", QStringLiteral("Сигнализировать от:"), 8, 24);
    // The box and the note follow the caption, further right when the font
    // is wider than the layout's.
    const int editX = qMax(120, caption->geometry().right() + 6);
    edit1 = MakeEdit(parameters, u"Edit1", QStringLiteral("170"), QRect(editX, 20, 33, 21));
    m_accessibleTexts.AddCaptioned(edit1, caption);
    QLabel *note = MakeLabel(parameters, u"Label44", QStringLiteral("не выпадений."), 0, 24);
    SetLabelBold(*note, true);
    note->adjustSize();
    note->move(editX + 40, 24);
    QLabel *advice =
        MakeLabel(parameters, u"Label26",
                  QStringLiteral(
                      "Рекомендуемое количество не выпадений начинается с отметки в ~170 spin'ов."),
                  8, 48);
    advice->setWordWrap(true);
    advice->setFixedWidth(219);
    advice->setFixedHeight(qMax(26, advice->heightForWidth(219)));

    QGroupBox *grid =
        MakeGroupBox(page, AbsenceGrid.boxName, QString::fromUtf16(AbsenceGrid.boxCaption),
                     AbsenceGrid.boxTop, AbsenceGrid.boxHeight);
    BuildNumberGrid(grid, AbsenceGrid);
}

void TForm1::BuildOccurrencePage(TTabSheet *page)
{
    QGroupBox *grid =
        MakeGroupBox(page, OccurrenceGrid.boxName, QString::fromUtf16(OccurrenceGrid.boxCaption),
                     OccurrenceGrid.boxTop, OccurrenceGrid.boxHeight);
    BuildNumberGrid(grid, OccurrenceGrid);
}

} // namespace trevolo
