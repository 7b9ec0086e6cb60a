#include "window/WindowFixture.h"

#include "TestFiles.h"

#include "app/Controls.h"
#include "app/Guard.h"
#include "app/NameRegistry.h"
#include "app/PageControl.h"
#include "app/Unit1.h"
#include "common/Error.h"
#include "common/ErrorText.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <memory>
#include <stdexcept>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

QStringList Range(const QString &prefix, int first, int last, int step = 1)
{
    QStringList names;
    for (int n = first; n <= last; n += step)
        names.append(prefix + QString::number(n));
    return names;
}

// Every name the window must know, as the layout lists them.
QStringList ExpectedNames()
{
    QStringList names{
        u"ListBox1"_s,    u"Edit13"_s,      u"PageControl1"_s, u"StatusBar1"_s, u"TabSheet1"_s,
        u"TabSheet2"_s,   u"TabSheet4"_s,   u"TabSheet3"_s,    u"TabSheet6"_s,  u"GroupBox8"_s,
        u"CheckBox2"_s,   u"CheckBox1"_s,   u"Bevel8"_s,       u"Label43"_s,    u"Label45"_s,
        u"TrackBar1"_s,   u"Label46"_s,     u"Label48"_s,      u"Label49"_s,    u"Label50"_s,
        u"Label47"_s,     u"GroupBox9"_s,   u"ComboBox1"_s,    u"Label53"_s,    u"Label51"_s,
        u"TrackBar2"_s,   u"Label52"_s,     u"TrackBar3"_s,    u"Label200"_s,   u"Label198"_s,
        u"TrackBar4"_s,   u"Label199"_s,    u"TrackBar5"_s,    u"Memo1"_s,      u"GroupBox11"_s,
        u"Label202"_s,    u"Edit2"_s,       u"Label203"_s,     u"Edit3"_s,      u"Memo2"_s,
        u"GroupBox12"_s,  u"Label212"_s,    u"Edit12"_s,       u"MainMenu1"_s,  u"N3"_s,
        u"N5"_s,          u"N6"_s,          u"N17"_s,          u"N16"_s,        u"N52"_s,
        u"N102"_s,        u"N252"_s,        u"N502"_s,         u"N27"_s,        u"N10"_s,
        u"N9"_s,          u"N4"_s,          u"N7"_s,           u"N11"_s,        u"N12"_s,
        u"N14"_s,         u"N13"_s,         u"N24"_s,          u"N25"_s,        u"N26"_s,
        u"N18"_s,         u"N20"_s,         u"N23"_s,          u"N19"_s,        u"N15"_s,
        u"N22"_s,         u"N8"_s,          u"PopupMenu1"_s,   u"N1"_s,         u"N2"_s,
        u"N51"_s,         u"N101"_s,        u"N251"_s,         u"N501"_s,       u"OpenDialog1"_s,
        u"SaveDialog1"_s, u"OpenDialog2"_s, u"SaveDialog2"_s,  u"GroupBox2"_s,  u"GroupBox1"_s,
        u"GroupBox3"_s,   u"GroupBox4"_s,   u"GroupBox5"_s,    u"b"_s,          u"y"_s,
        u"g"_s,           u"GroupBox6"_s,   u"Label25"_s,      u"Edit1"_s,      u"Label44"_s,
        u"Label26"_s,     u"GroupBox7"_s,   u"Label_80"_s,     u"Bevel6"_s,     u"Bevel7"_s,
        u"GroupBox10"_s,  u"Label247"_s,    u"Bevel1"_s,       u"Bevel2"_s,
    };
    names.append(u"N28"_s);               // "Панель ввода"
    names += Range(u"Label"_s, 1, 23, 2); // row captions
    names += Range(u"Label"_s, 2, 24, 2); // hidden row labels
    names += Range(u"Label"_s, 27, 42);   // captions 1..16, absences
    names += Range(u"Label"_s, 60, 79);   // captions 19..36, 17, 18, 35, 36
    names += Range(u"Label"_s, 80, 116);  // absence counts
    names += Range(u"Label"_s, 54, 59);   // captions 1..6, occurrences
    names += Range(u"Label"_s, 117, 146); // captions 7..36
    names += Range(u"Label"_s, 147, 183); // occurrence counts
    names += Range(u"Label"_s, 204, 211); // stake rows
    names += Range(u"Edit"_s, 4, 11);
    for (int g = 1; g <= 12; ++g)
        for (int l = 1; l <= 10; ++l)
            names.append(QStringLiteral("Im_%1_%2").arg(g).arg(l));
    return names;
}

// The shown text of any captioned control.
QString CaptionOf(const QObject *object)
{
    if (auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(object))
        return edit->text();
    if (auto *box = qobject_cast<const QGroupBox *>(object))
        return box->title();
    if (auto *check = qobject_cast<const QCheckBox *>(object))
        return check->text();
    if (auto *menu = qobject_cast<const QMenu *>(object))
        return menu->title();
    if (auto *action = qobject_cast<const QAction *>(object))
        return action->isSeparator() ? u"-"_s : action->text();
    if (auto *page = qobject_cast<const TTabSheet *>(object))
        return page->Caption();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(object))
        return memo->toPlainText();
    if (auto *status = qobject_cast<const TStatusBar *>(object))
        return status->SimpleText();
    return u"<no caption>"_s;
}

QStringList ActionNames(const QList<QAction *> &actions)
{
    QStringList names;
    for (const QAction *action : actions)
        names.append(action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

} // namespace

class TestWindow : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    QLabel *label(int n) const
    {
        return form->FindComponentAs<QLabel>(u"label"_s + QString::number(n));
    }
    QWidget *image(int g, int l) const
    {
        return form->FindComponentAs<QWidget>(QStringLiteral("im_%1_%2").arg(g).arg(l));
    }
    void typeHistory(const QStringList &spins)
    {
        for (const QString &spin : spins) {
            QTest::keyClicks(form->listBox1, spin);
            QTest::keyClick(form->listBox1, Qt::Key_Return);
        }
    }

private Q_SLOTS:
    void init();
    void cleanup();
    void lineCountShowsInFull_data();
    void lineCountShowsInFull();

    void registryFindsEveryName();
    void registryIgnoresLatinCase_data();
    void registryIgnoresLatinCase();
    void registryKeepsLabel80ApartFromLabel_80();
    void registryOnlyTakesNewNames();
    void initialCaptions_data();
    void initialCaptions();
    void initialControlState();
    void numberGridRows();
    void indicatorRows();
    void menus();
    void popupMenuReplacesTheStandardOne();
    void windowFrame();

    void workedExampleTypedIntoTheMemo();
    void calcEdgeCases_data();
    void calcEdgeCases();
    void calcEmptiesHiddenRowLabels();
    void boldFollowsTheThreshold();
    void badThresholdShowsOneErrorAndKeepsCounts();
    void countLabelsGrowToTheRight();

    void periodRule_data();
    void periodRule();
    void guardShowsEscapingErrors_data();
    void guardShowsEscapingErrors();

    void trackBarRules_data();
    void trackBarRules();
    void trackBarSignalsNestInsideTheOperation();
    void trackBarUserMoveSignals();
    void comboBoxProgrammaticAndUser();
    void historyMemoAppendLine_data();
    void historyMemoAppendLine();
    void historyMemoNotifications();
    void historyMemoHoldsWhatTheFileCan_data();
    void historyMemoHoldsWhatTheFileCan();
    void pageControlTabs();
    void fileDialogRemembersTheChoice();
};

void TestWindow::init()
{
    createAll();
}

void TestWindow::cleanup()
{
    destroyAll();
}

// ------------------------------------------------------------------ registry

void TestWindow::registryFindsEveryName()
{
    const QStringList names = ExpectedNames();
    QSet<QString> distinct;
    for (const QString &name : names) {
        QObject *object = form->FindComponent(name);
        QVERIFY2(object, qPrintable(name));
        QCOMPARE(object->objectName(), name);
        distinct.insert(LowerLatin(name));
    }
    QCOMPARE(distinct.size(), names.size());
    QCOMPARE(form->Registry().Count(), names.size());

    // Every object of the window that carries one of these names is the
    // registered one: no control was named twice.
    for (QObject *object : form->findChildren<QObject *>()) {
        const QString name = object->objectName();
        if (distinct.contains(LowerLatin(name)))
            QVERIFY2(form->FindComponent(name) == object, qPrintable(name));
    }
}

void TestWindow::registryIgnoresLatinCase_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("found"); // empty: nothing

    QTest::newRow("lower label") << u"label81"_s << u"Label81"_s;
    QTest::newRow("upper label") << u"LABEL81"_s << u"Label81"_s;
    QTest::newRow("image") << u"im_3_10"_s << u"Im_3_10"_s;
    QTest::newRow("image mixed") << u"iM_12_1"_s << u"Im_12_1"_s;
    QTest::newRow("menu") << u"n7"_s << u"N7"_s;
    QTest::newRow("template y") << u"Y"_s << u"y"_s;
    QTest::newRow("tab sheet") << u"tabsheet3"_s << u"TabSheet3"_s;
    QTest::newRow("dialog") << u"opendialog2"_s << u"OpenDialog2"_s;
    QTest::newRow("zero caption") << u"LABEL_80"_s << u"Label_80"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("unknown label") << u"label999"_s << QString();
    QTest::newRow("level 11") << u"im_1_11"_s << QString();
    QTest::newRow("group 13") << u"im_13_1"_s << QString();
    QTest::newRow("trailing blank") << u"label81 "_s << QString();
    QTest::newRow("the window itself") << u"Form1"_s << QString();
    // Only Latin letters fold: a Cyrillic look-alike is another name.
    QTest::newRow("cyrillic N") << u"Н3"_s << QString();
}

void TestWindow::registryIgnoresLatinCase()
{
    QFETCH(QString, query);
    QFETCH(QString, found);
    QObject *object = form->FindComponent(query);
    if (found.isEmpty())
        QCOMPARE(object, nullptr);
    else
        QCOMPARE(object ? object->objectName() : u"<nothing>"_s, found);
}

void TestWindow::registryKeepsLabel80ApartFromLabel_80()
{
    QLabel *count = form->FindComponentAs<QLabel>(u"label80");
    QLabel *caption = form->FindComponentAs<QLabel>(u"Label_80");
    QVERIFY(count && caption && count != caption);
    QCOMPARE(count->objectName(), u"Label80"_s);
    QCOMPARE(count->text(), u"0"_s);
    QCOMPARE(caption->text(), u"Зеро:"_s);
    // The count stands right of "Зеро:" in the zero row.
    QVERIFY(qAbs(count->y() - caption->y()) <= 1);
    QVERIFY(count->x() > caption->geometry().right());
}

void TestWindow::registryOnlyTakesNewNames()
{
    NameRegistry registry;
    QObject a, b, c;
    a.setObjectName(u"Label5"_s);
    b.setObjectName(u"Other"_s);
    QVERIFY(registry.Add(&a));
    QVERIFY(registry.Add(&b));
    QCOMPARE(registry.Find(u"LABEL5"), &a);
    QCOMPARE(registry.FindAs<QObject>(u"other"), &b);
    QCOMPARE(registry.Count(), 2);
#ifdef QT_NO_DEBUG
    // Debug builds stop at the assertion instead.
    c.setObjectName(u"label5"_s);
    QVERIFY(!registry.Add(&c));
    QCOMPARE(registry.Find(u"label5"), &a);
#endif
    QCOMPARE(LowerLatin(u"Im_AZ_Яz"), u"im_az_Яz"_s);
}

// ------------------------------------------------------------ initial state

void TestWindow::initialCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    const auto row = [](const char16_t *name, const char16_t *caption) {
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData())
            << QString::fromUtf16(name) << QString::fromUtf16(caption);
    };
    row(u"StatusBar1", u"Ближайшее число: Равные шансы.");
    row(u"Edit13", u"");
    row(u"ListBox1", u"");
    row(u"TabSheet1", u"Комбинации");
    row(u"TabSheet2", u"Не выпадения");
    row(u"TabSheet4", u"Выпадения");
    row(u"TabSheet3", u"Настройки");
    row(u"TabSheet6", u"Калькулятор");
    row(u"GroupBox2", u" Цвет (18/37): ");
    row(u"GroupBox1", u" Четность (18/37): ");
    row(u"GroupBox3", u" Величина (18/37):  ");
    row(u"GroupBox4", u" Сектора (12/37): ");
    row(u"GroupBox5", u" Зоны (12/37): ");
    row(u"GroupBox6", u" Параметры расчета: ");
    row(u"GroupBox7", u" Не выпадения чисел: ");
    row(u"GroupBox10", u" Выпадение чисел: ");
    row(u"GroupBox8", u" Интерфейс: ");
    row(u"GroupBox9", u" Уровень рисков: ");
    row(u"GroupBox11", u" Исходные данные: ");
    row(u"GroupBox12", u" Ставки: ");
    row(u"Label5", u"Красное:");
    row(u"Label7", u"Чёрное:");
    row(u"Label1", u"Чёт:");
    row(u"Label3", u"Нечёт:");
    row(u"Label11", u"Меньшее:");
    row(u"Label9", u"Большее:");
    row(u"Label13", u"1-12:");
    row(u"Label17", u"25-36:");
    row(u"Label19", u"1,4,7,10... :");
    row(u"Label23", u"3,6,9,12... :");
    row(u"Label25", u"Сигнализировать от:");
    row(u"Edit1", u"170");
    row(u"Label44", u"не выпадений.");
    row(u"Label26", u"Рекомендуемое количество не выпадений начинается с отметки в ~170 spin'ов.");
    row(u"Label76", u"Число - 17:");
    row(u"Label60", u"Число - 19:");
    row(u"Label27", u"Число - 1:");
    row(u"Label79", u"Число - 36:");
    row(u"Label54", u"Число - 1:");
    row(u"Label117", u"Число - 7:");
    row(u"Label143", u"Число - 17:");
    row(u"Label146", u"Число - 36:");
    row(u"Label247", u"Зеро:");
    row(u"Label116", u"0");
    row(u"Label183", u"0");
    row(u"CheckBox2", u"Всегда сверху");
    row(u"CheckBox1", u"Использование прозрачности окна.");
    row(u"Label43", u"Выберите режим прозрачности:");
    row(u"Label45", u"100%");
    row(u"Label46", u"20%");
    row(u"Label48", u"40%");
    row(u"Label49", u"60%");
    row(u"Label50", u"80%");
    row(u"Label47", u"100%");
    row(u"Label53", u"Для комбинаций с вероятностью 18/37");
    row(u"Label200", u"Для комбинаций с вероятностью 12/37");
    row(u"Label51", u"2");
    row(u"Label52", u"8");
    row(u"Label198", u"2");
    row(u"Label199", u"8");
    row(u"Memo1", u"");
    row(u"Label202", u"Min. ставка:");
    row(u"Edit2", u"5");
    row(u"Label203", u"Умножение:");
    row(u"Edit3", u"3");
    row(u"Memo2", u"Будьте внимательны. Не рекомендуется \nставить параметр умножения более 3х.\n"
                  u"Увеличение параметра умножения более 3х \nсущественно увеличит ваши расходы "
                  u"на \nокончание серии.");
    row(u"Label204", u"1 ставка:");
    row(u"Label211", u"8 ставка:");
    row(u"Edit4", u"5");
    row(u"Edit5", u"15");
    row(u"Edit6", u"45");
    row(u"Edit7", u"135");
    row(u"Edit8", u"405");
    row(u"Edit9", u"1215");
    row(u"Edit10", u"3645");
    row(u"Edit11", u"10935");
    row(u"Label212", u"Необходимая сумма:");
    row(u"Edit12", u"16400");
    row(u"N3", u"Последовательность");
    row(u"N5", u"Загрузить последовательность");
    row(u"N6", u"Сохранить последовательность");
    row(u"N17", u"-");
    row(u"N16", u"Очистить");
    row(u"N52", u"Сгенерировать 5 чисел");
    row(u"N102", u"Сгенерировать 10 чисел");
    row(u"N252", u"Сгенерировать 25 чисел");
    row(u"N502", u"Сгенерировать 50 чисел");
    row(u"N27", u"Анализ последовательности...");
    row(u"N9", u"Выход");
    row(u"N4", u"Настройки");
    row(u"N7", u"Язык");
    row(u"N11", u"Русский");
    row(u"N12", u"English");
    row(u"N14", u"Загрузить настройки");
    row(u"N13", u"Сохранить настройки");
    row(u"N24", u"Казино");
    row(u"N26", u"-");
    row(u"N18", u"Справка");
    row(u"N20", u"Справка по программе");
    row(u"N23", u"Системы игры");
    row(u"N15", u"Скачать новую версию");
    row(u"N8", u"Замечание по работе");
    row(u"N1", u"Очистить");
    row(u"N2", u"-");
    row(u"N51", u"Генерировать 5 чисел");
    row(u"N101", u"Генерировать 10 чисел");
    row(u"N251", u"Генерировать 25 чисел");
    row(u"N501", u"Генерировать 50 чисел");
}

void TestWindow::initialCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    const QObject *object = form->FindComponent(name);
    QVERIFY(object);
    QCOMPARE(CaptionOf(object), caption);
}

void TestWindow::initialControlState()
{
    // Every label shows its text as plain text.
    for (const QLabel *label : form->findChildren<QLabel *>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));

    // Pages, in tab order; the first one shows.
    const QStringList pages{u"TabSheet1"_s, u"TabSheet2"_s, u"TabSheet4"_s, u"TabSheet3"_s,
                            u"TabSheet6"_s};
    QCOMPARE(form->pageControl1->PageCount(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(form->pageControl1->Page(i)->objectName(), pages[i]);
    QCOMPARE(form->pageControl1->ActivePageIndex(), 0);

    // Sliders.
    struct Slider
    {
        TTrackBar *bar;
        int min, max, position, frequency;
        bool enabled;
    };
    const Slider sliders[] = {
        {form->trackBar1, 20, 100, 100, 20, false}, {form->trackBar2, 0, 8, 2, 1, true},
        {form->trackBar3, 2, 10, 8, 1, true},       {form->trackBar4, 0, 8, 2, 1, true},
        {form->trackBar5, 2, 10, 8, 1, true},
    };
    for (const Slider &s : sliders) {
        QCOMPARE(s.bar->Min(), s.min);
        QCOMPARE(s.bar->Max(), s.max);
        QCOMPARE(s.bar->Position(), s.position);
        QCOMPARE(s.bar->tickInterval(), s.frequency);
        QCOMPARE(s.bar->isEnabled(), s.enabled);
    }

    QCOMPARE(form->comboBox1->count(), 3);
    QCOMPARE(form->comboBox1->itemText(0), u"Низкий"_s);
    QCOMPARE(form->comboBox1->itemText(2), u"Высокий"_s);
    QCOMPARE(form->comboBox1->ItemIndex(), 1);
    QVERIFY(!form->comboBox1->isEditable());
    QVERIFY(!form->checkBox1->isChecked());
    QVERIFY(!form->checkBox2->isChecked());

    // The value labels keep their right edge at x = 14.
    for (QLabel *value : {form->label51, form->label52, form->label198, form->label199}) {
        QCOMPARE(value->geometry().right() + 1, 14);
        QVERIFY(value->alignment() & Qt::AlignRight);
    }

    // Fonts: bold notes, regular counts with a font of their own.
    QVERIFY(form->FindComponentAs<QLabel>(u"Label44")->font().bold());
    QVERIFY(form->FindComponentAs<QLabel>(u"Label212")->font().bold());
    QVERIFY(!form->FindComponentAs<QLabel>(u"Label25")->font().bold());
    for (int n = 80; n <= 116; ++n) {
        QVERIFY(!label(n)->font().bold());
        QVERIFY(label(n)->testAttribute(Qt::WA_SetFont));
    }
    QVERIFY(form->FindComponentAs<QLabel>(u"Label26")->wordWrap());

    // Tooltip-coloured boxes; the line count cannot be edited.
    const QColor tooltip = form->palette().color(QPalette::ToolTipBase);
    for (const char16_t *name : {u"Edit13", u"Memo1", u"Memo2", u"Edit12"})
        QCOMPARE(form->FindComponentAs<QWidget>(name)->palette().color(QPalette::Base), tooltip);
    QVERIFY(form->edit13->isReadOnly());
    QVERIFY(!form->edit12->isReadOnly());

    // The history memo wraps and always has its vertical scroll bar.
    QCOMPARE(form->listBox1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(form->listBox1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(form->listBox1->geometry(), QRect(3, 7, 45, 487));
    QCOMPARE(form->pageControl1->geometry(), QRect(50, 0, 266, 521));

    // Focus order in the calculator's input group.
    QCOMPARE(form->edit3->nextInFocusChain(), form->edit2);
    QCOMPARE(form->edit2->nextInFocusChain(), form->memo2);

    // No statistics pass has run.
    QCOMPARE(form->statusBar1->SimpleText(), u"Ближайшее число: Равные шансы."_s);
    QVERIFY(!form->statusBar1->isSizeGripEnabled());
}

void TestWindow::numberGridRows()
{
    // On both pages each number's caption and count share a row; the count
    // stands right of its caption.
    struct Grid
    {
        int firstCount;
        QString box;
    };
    for (const Grid &grid : {Grid{80, u"GroupBox7"_s}, Grid{147, u"GroupBox10"_s}}) {
        auto *box = form->FindComponentAs<QGroupBox>(grid.box);
        QHash<int, QLabel *> captions; // number -> caption label
        for (QLabel *caption : box->findChildren<QLabel *>()) {
            static const QRegularExpression pattern(u"^Число - (\\d+):$"_s);
            const auto match = pattern.match(caption->text());
            if (match.hasMatch())
                captions.insert(match.captured(1).toInt(), caption);
        }
        QCOMPARE(captions.size(), 36);
        for (int n = 1; n <= 36; ++n) {
            QLabel *count = label(grid.firstCount + n);
            QCOMPARE(count->parentWidget(), box);
            const int row = n <= 18 ? n : n - 18;
            QCOMPARE(count->y(), 24 + 16 * (row - 1));
            QCOMPARE(count->x(), n <= 18 ? 80 : 206);
            QVERIFY2(qAbs(captions[n]->y() - count->y()) <= 1, qPrintable(QString::number(n)));
            QVERIFY(captions[n]->geometry().right() < count->x());
        }
        QCOMPARE(label(grid.firstCount)->parentWidget(), box);
        QCOMPARE(label(grid.firstCount)->pos(), QPoint(129, 328));
    }
    // Names of the caption labels that do not follow the numbers.
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label76")->text(), u"Число - 17:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label78")->text(), u"Число - 35:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label126")->text(), u"Число - 16:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label127")->text(), u"Число - 19:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label145")->text(), u"Число - 35:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label43")->parentWidget()->objectName(),
             u"GroupBox8"_s);
}

void TestWindow::indicatorRows()
{
    const QImage yellow = form->FindComponentAs<QLabel>(u"y")->pixmap().toImage();
    const QImage grey = form->FindComponentAs<QLabel>(u"b")->pixmap().toImage();
    const QImage green = form->FindComponentAs<QLabel>(u"g")->pixmap().toImage();
    QCOMPARE(yellow.size(), QSize(16, 16));
    QVERIFY(yellow.hasAlphaChannel());
    QVERIFY(yellow != grey && yellow != green && grey != green);
    // Transparent outside the ball and its shadow, opaque in its middle.
    for (const QImage &picture : {yellow, grey, green}) {
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(picture.pixel(15, 0)), 0);
        QCOMPARE(qAlpha(picture.pixel(7, 7)), 255);
        // Only the soft shadow reaches column 14 and row 15.
        int shadow = 0;
        for (int i = 0; i < 16; ++i) {
            for (const int a : {qAlpha(picture.pixel(14, i)), qAlpha(picture.pixel(i, 15))}) {
                QVERIFY(a <= 90);
                shadow = qMax(shadow, a);
            }
        }
        QVERIFY(shadow > 0);
    }
    for (const char16_t *name : {u"b", u"y", u"g"})
        QVERIFY(form->FindComponentAs<QWidget>(name)->isHidden());

    const QString expectedBoxes[] = {u"GroupBox2"_s, u"GroupBox1"_s, u"GroupBox3"_s, u"GroupBox4"_s,
                                     u"GroupBox5"_s};
    for (int g = 1; g <= 12; ++g) {
        const int y = image(g, 1)->y();
        for (int l = 1; l <= 10; ++l) {
            auto *im = qobject_cast<QLabel *>(image(g, l));
            QVERIFY(im);
            QCOMPARE(im->geometry(), QRect(80 + 16 * (l - 1), y, 16, 16));
            QVERIFY(im->isHidden());
            QCOMPARE(im->pixmap().toImage(), yellow);
            QCOMPARE(im->parentWidget()->objectName(), expectedBoxes[g <= 6   ? (g - 1) / 2
                                                                     : g <= 9 ? 3
                                                                              : 4]);
        }
        // The hidden row label of the row.
        static const int hiddenLabels[] = {8, 6, 2, 4, 10, 12, 14, 16, 18, 20, 22, 24};
        QLabel *hidden = label(hiddenLabels[g - 1]);
        QVERIFY(hidden->isHidden());
        QCOMPARE(hidden->size(), QSize(16, 16));
        QVERIFY(hidden->text().isEmpty());
        QCOMPARE(hidden->parentWidget(), image(g, 1)->parentWidget());
        QVERIFY(qAbs(hidden->y() - y) <= 1);
    }
}

void TestWindow::menus()
{
    QCOMPARE(ActionNames(form->mainMenu1->actions()),
             (QStringList{u"N3"_s, u"N4"_s, u"N24"_s, u"N18"_s}));
    QCOMPARE(ActionNames(form->n3->actions()),
             (QStringList{u"N5"_s, u"N6"_s, u"N17"_s, u"N16"_s, u"N52"_s, u"N102"_s, u"N252"_s,
                          u"N502"_s, u"N27"_s, u"N28"_s, u"N10"_s, u"N9"_s}));
    QCOMPARE(ActionNames(form->n4->actions()), (QStringList{u"N7"_s, u"N14"_s, u"N13"_s}));
    QCOMPARE(ActionNames(form->n7->actions()), (QStringList{u"N11"_s, u"N12"_s}));
    QCOMPARE(ActionNames(form->n24->actions()), (QStringList{u"N25"_s, u"N26"_s}));
    QCOMPARE(ActionNames(form->n18->actions()),
             (QStringList{u"N20"_s, u"N23"_s, u"N19"_s, u"N15"_s, u"N22"_s, u"N8"_s}));
    QCOMPARE(ActionNames(form->popupMenu1->actions()),
             (QStringList{u"N1"_s, u"N2"_s, u"N51"_s, u"N101"_s, u"N251"_s, u"N501"_s}));

    for (const char16_t *name : {u"N17", u"N10", u"N26", u"N19", u"N22", u"N2"})
        QVERIFY(form->FindComponentAs<QAction>(name)->isSeparator());

    // "Язык" exists but is hidden, so "Настройки" shows two items.
    QVERIFY(!form->n7->menuAction()->isVisible());
    int shown = 0;
    for (const QAction *action : form->n4->actions())
        shown += action->isVisible();
    QCOMPARE(shown, 2);
    QVERIFY(form->n11->isCheckable() && form->n11->isChecked());
    QVERIFY(form->n12->isCheckable() && !form->n12->isChecked());
    QVERIFY(!form->n5->isCheckable());

    QCOMPARE(form->n24->defaultAction(), form->n25);
    QVERIFY(form->n25->text().startsWith(u"Регистрация в "_s));
    QVERIFY(!form->n25->text().contains(u'\n'));

    // Loading, saving, leaving, the analysis window and the entry pad have keys, shown in the menu;
    // no other item has one, and no key is taken twice in the window.
    const QHash<QString, QKeySequence> keys{{u"N5"_s, QKeySequence(u"Ctrl+O"_s)},
                                            {u"N6"_s, QKeySequence(u"Ctrl+S"_s)},
                                            {u"N9"_s, QKeySequence(u"Ctrl+Q"_s)},
                                            {u"N27"_s, QKeySequence(u"Ctrl+Shift+A"_s)},
                                            {u"N28"_s, QKeySequence(u"Ctrl+Shift+P"_s)}};
    QList<QKeySequence> taken;
    for (const QAction *action : form->findChildren<QAction *>()) {
        if (!action->objectName().isEmpty())
            QCOMPARE(action->shortcut(), keys.value(action->objectName()));
        for (const QKeySequence &key : action->shortcuts()) {
            QVERIFY2(!taken.contains(key), qPrintable(key.toString()));
            taken.append(key);
        }
    }
}

void TestWindow::popupMenuReplacesTheStandardOne()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->listBox1->contextMenuPolicy(), Qt::CustomContextMenu);
    Q_EMIT form->listBox1->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(form->popupMenu1->isVisible());
    form->popupMenu1->hide();
}

void TestWindow::windowFrame()
{
    QCOMPARE(form->windowTitle(), u"Trevolo (ver. 1.3.0)"_s);
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
    QVERIFY(!form->windowIcon().isNull());
    // The client area under the menu bar: 319 x 543 with the status bar.
    QCOMPARE(form->centralWidget()->size(), QSize(319, 524));
    QCOMPARE(form->statusBar1->height(), 19);
    QCOMPARE(form->width(), 319);
    // Every tab is visible, on more than one row.
    TPageControl *pages = form->pageControl1;
    QVERIFY(pages->RowCount() >= 2);
    for (int i = 0; i < pages->PageCount(); ++i)
        QVERIFY(pages->rect().contains(pages->TabRect(i)));
}

// ---------------------------------------------------------------- statistics

void TestWindow::workedExampleTypedIntoTheMemo()
{
    form->show();
    form->edit1->setText(u"3"_s);
    typeHistory({u"5"_s});
    QCOMPARE(form->edit13->text(), u"1"_s); // a pass per keystroke
    typeHistory({u"0"_s});
    QTest::keyClicks(form->listBox1, u"32"_s);
    QCOMPARE(form->listBox1->Text(), u"5\n0\n32"_s);
    QVERIFY(env->boxes.isEmpty());

    // Miss runs: red 0, black 3, even 0, odd 2, low 2, high 0, dozens 2 3 0,
    // columns 3 0 3.
    const int runs[13] = {0, 0, 3, 0, 2, 2, 0, 2, 3, 0, 3, 0, 3};
    for (int g = 1; g <= 12; ++g)
        for (int l = 1; l <= 10; ++l)
            QVERIFY2(image(g, l)->isHidden() == (l > runs[g]),
                     qPrintable(QStringLiteral("Im_%1_%2").arg(g).arg(l)));

    for (int n = 0; n <= 36; ++n) {
        const int absence = n == 32 ? 0 : n == 0 ? 1 : n == 5 ? 2 : 3;
        QCOMPARE(label(80 + n)->text(), QString::number(absence));
        QCOMPARE(label(80 + n)->font().bold(), absence >= 3);
        const int occurrence = (n == 5 || n == 0 || n == 32) ? 1 : 0;
        QCOMPARE(label(147 + n)->text(), QString::number(occurrence));
        QVERIFY(!label(147 + n)->font().bold());
    }
    QCOMPARE(form->statusBar1->SimpleText(),
             u"Ближайшее число: 1 (3), 2 (3), 3 (3), 4 (3), 6 (3)"_s);
    QCOMPARE(form->edit13->text(), u"3"_s);
    for (const char16_t *name : {u"b", u"y", u"g"})
        QVERIFY(form->FindComponentAs<QWidget>(name)->isHidden());
}

void TestWindow::calcEdgeCases_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("shownPerRow"); // in every row
    QTest::addColumn<int>("boldCount");
    QTest::addColumn<QString>("lines");

    QTest::newRow("empty, 170") << QString() << u"170"_s << u"Ближайшее число: "_s << 0 << 0
                                << u"0"_s;
    QTest::newRow("empty, 0") << QString() << u"0"_s
                              << u"Ближайшее число: 0 (0), 1 (0), 2 (0), 3 (0), 4 (0)"_s << 0 << 37
                              << u"0"_s;
    QTest::newRow("ten zeros") << u"0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n"_s << u"170"_s
                               << u"Ближайшее число: "_s << 10 << 0 << u"10"_s;
    QTest::newRow("twelve zeros, threshold 12")
        << u"0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0"_s << u"12"_s
        << u"Ближайшее число: 1 (12), 2 (12), 3 (12), 4 (12), 5 (12)"_s << 10 << 36 << u"12"_s;
    QTest::newRow("skipped lines keep runs")
        << u"0\n\nabc\n0 \n+0\n  0\n$0"_s << u"4"_s
        << u"Ближайшее число: 1 (4), 2 (4), 3 (4), 4 (4), 5 (4)"_s << 4 << 36 << u"7"_s;
}

void TestWindow::calcEdgeCases()
{
    QFETCH(QString, history);
    QFETCH(QString, threshold);
    QFETCH(QString, status);
    QFETCH(int, shownPerRow);
    QFETCH(int, boldCount);
    QFETCH(QString, lines);

    form->edit1->setText(threshold);
    form->listBox1->ReplaceText(history);
    QVERIFY(env->boxes.isEmpty());
    QCOMPARE(form->statusBar1->SimpleText(), status);
    for (int g = 1; g <= 12; ++g) {
        int shown = 0;
        for (int l = 1; l <= 10; ++l)
            shown += !image(g, l)->isHidden();
        QCOMPARE(shown, shownPerRow);
    }
    int bold = 0;
    for (int n = 80; n <= 116; ++n)
        bold += label(n)->font().bold();
    QCOMPARE(bold, boldCount);
    QCOMPARE(form->edit13->text(), lines);
}

void TestWindow::calcEmptiesHiddenRowLabels()
{
    for (int n = 2; n <= 24; n += 2)
        label(n)->setText(u"x"_s);
    form->Calc();
    for (int n = 2; n <= 24; n += 2)
        QVERIFY(label(n)->text().isEmpty());
}

void TestWindow::boldFollowsTheThreshold()
{
    form->listBox1->ReplaceText(u"7\n7\n7\n1\n2"_s);
    // 7 is absent 2, 1 is absent 1, 2 is absent 0, the rest 5.
    form->edit1->setText(u"2"_s);
    QVERIFY(label(87)->font().bold()); // equal counts as reached
    QVERIFY(!label(81)->font().bold());
    form->edit1->setText(u"5"_s);
    QVERIFY(!label(87)->font().bold());
    QVERIFY(label(80)->font().bold());
    form->edit1->setText(u"6"_s);
    for (int n = 80; n <= 116; ++n)
        QVERIFY(!label(n)->font().bold());
    QCOMPARE(form->statusBar1->SimpleText(), u"Ближайшее число: "_s);
    QVERIFY(env->boxes.isEmpty());
}

void TestWindow::badThresholdShowsOneErrorAndKeepsCounts()
{
    form->edit1->setText(u"3"_s);
    typeHistory({u"5"_s, u"0"_s});
    QTest::keyClicks(form->listBox1, u"32"_s);
    QVERIFY(env->boxes.isEmpty());
    const QString status = form->statusBar1->SimpleText();

    form->edit1->setText(u"abc"_s);
    QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(u"'abc' is not a valid integer value."_s));

    // A new spin while the threshold is bad: the images follow it, the
    // counts, the bold styles, the status and the line count do not.
    QTest::keyClick(form->listBox1, Qt::Key_Return);
    QTest::keyClicks(form->listBox1, u"0"_s);
    QCOMPARE(env->boxes.size(), 3);
    QCOMPARE(env->boxes[2].text, u"'abc' is not a valid integer value."_s);
    QCOMPARE(form->statusBar1->SimpleText(), status);
    QCOMPARE(label(80 + 32)->text(), u"0"_s);
    QCOMPARE(label(147)->text(), u"1"_s);
    QVERIFY(label(81)->font().bold());
    QCOMPARE(form->edit13->text(), u"3"_s);
    // After 5, 0, 32, 0: red missed 1 (was 0), third dozen 1 (was 0).
    QVERIFY(!image(1, 1)->isHidden());
    QVERIFY(image(1, 2)->isHidden());
    QVERIFY(!image(2, 4)->isHidden());

    // An empty threshold box fails the same way.
    form->edit1->clear();
    QCOMPARE(env->boxes.last().text, u"'' is not a valid integer value."_s);
    form->edit1->setText(u"3"_s);
    QCOMPARE(form->edit13->text(), u"4"_s);
    QCOMPARE(label(147)->text(), u"2"_s);
    QCOMPARE(env->boxes.size(), 4);
}

void TestWindow::lineCountShowsInFull_data()
{
    QTest::addColumn<QString>("count");
    QTest::newRow("7 digits") << u"1000000"_s;
    QTest::newRow("8 digits") << u"99999999"_s;
    QTest::newRow("back to 1") << u"1"_s;
}

void TestWindow::lineCountShowsInFull()
{
    QFETCH(QString, count);
    form->show();
    QLineEdit &edit = *form->edit13;
    SetFittingText(edit, u"12345678"_s);
    SetFittingText(edit, count);
    QCOMPARE(edit.text(), count);
    QCOMPARE(edit.cursorPosition(), 0);
    // Every digit lies inside the box's text area.
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QRect area = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    QVERIFY(QFontMetrics(edit.font()).horizontalAdvance(count) <= area.width() - 4);
    // A short count keeps the window's own size of letters.
    if (count.size() <= 5)
        QCOMPARE(edit.font().pointSizeF(), form->font().pointSizeF());
}

void TestWindow::countLabelsGrowToTheRight()
{
    QLabel *left = label(80 + 18);  // number 18, left column
    QLabel *right = label(80 + 36); // number 36, right column
    const QRect before = left->geometry();
    QStringList spins;
    for (int i = 0; i < 170; ++i)
        spins.append(u"0"_s);
    form->edit1->setText(u"100"_s);
    form->listBox1->ReplaceText(spins.join(u'\n'));
    QCOMPARE(left->text(), u"170"_s);
    QVERIFY(left->font().bold());
    QCOMPARE(left->geometry(), before);
    // Seven bold digits fit, and stay clear of the other column.
    QVERIFY(left->fontMetrics().horizontalAdvance(u"1234567"_s) <= left->width());
    QVERIFY(left->geometry().right() < form->FindComponentAs<QLabel>(u"Label60")->x());
    QVERIFY(right->geometry().right() < right->parentWidget()->width());
}

// -------------------------------------------------------- errors and guard

void TestWindow::periodRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letter") << u"File access denied"_s << u"File access denied."_s;
    QTest::newRow("full stop") << u"Done."_s << u"Done."_s;
    QTest::newRow("ellipsis") << u"Wait..."_s << u"Wait..."_s;
    QTest::newRow("exclamation") << u"Stop!"_s << u"Stop!"_s;
    QTest::newRow("parenthesis") << u"code (5)"_s << u"code (5)"_s;
    QTest::newRow("quote") << u"'abc' is not a valid integer value"_s
                           << u"'abc' is not a valid integer value."_s;
    QTest::newRow("hyphen, below the stop") << u"a-"_s << u"a-"_s;
    QTest::newRow("slash, above the stop") << u"a/"_s << u"a/."_s;
    QTest::newRow("digit") << u"error 5"_s << u"error 5."_s;
    QTest::newRow("blank") << u"a "_s << u"a "_s;
    QTest::newRow("cyrillic") << u"Ошибка"_s << u"Ошибка."_s;
    QTest::newRow("only a stop") << u"."_s << u"."_s;
}

void TestWindow::periodRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

void TestWindow::guardShowsEscapingErrors_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text"); // empty: no box
    QTest::newRow("nothing thrown") << 0 << QString();
    QTest::newRow("error") << 1 << u"File access denied."_s;
    QTest::newRow("conversion") << 2 << u"'x' is not a valid integer value."_s;
    QTest::newRow("standard exception") << 3 << u"bad thing."_s;
    QTest::newRow("message with stop") << 4 << u"Stream write error!"_s;
}

void TestWindow::guardShowsEscapingErrors()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    bool after = false;
    form->Guard([&] {
        switch (kind) {
        case 1:
            throw IoError(u"File access denied"_s);
        case 2:
            throw ConvertError(u"x"_s);
        case 3:
            throw std::runtime_error("bad thing");
        case 4:
            throw Error(u"Stream write error!"_s);
        }
        after = true;
    });
    QCOMPARE(after, kind == 0);
    if (text.isEmpty()) {
        QVERIFY(env->boxes.isEmpty());
    } else {
        QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(text));
    }
}

// ------------------------------------------------------------------ adapters

void TestWindow::trackBarRules_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("newMin");
    QTest::addColumn<int>("newMax");
    QTest::addColumn<int>("newPosition");

    QTest::newRow("min above max ignored") << 0 << 8 << 2 << u"min"_s << 9 << 0 << 8 << 2;
    QTest::newRow("min raises position") << 0 << 8 << 2 << u"min"_s << 5 << 5 << 8 << 5;
    QTest::newRow("min equal to max") << 0 << 8 << 2 << u"min"_s << 8 << 8 << 8 << 8;
    QTest::newRow("min below position") << 2 << 10 << 8 << u"min"_s << 0 << 0 << 10 << 8;
    QTest::newRow("max below min ignored") << 2 << 10 << 8 << u"max"_s << 1 << 2 << 10 << 8;
    QTest::newRow("max lowers position") << 2 << 10 << 8 << u"max"_s << 5 << 2 << 5 << 5;
    QTest::newRow("max equal to min") << 2 << 10 << 8 << u"max"_s << 2 << 2 << 2 << 2;
    QTest::newRow("position clamped up") << 0 << 8 << 2 << u"position"_s << 20 << 0 << 8 << 8;
    QTest::newRow("position clamped down")
        << 20 << 100 << 50 << u"position"_s << 0 << 20 << 100 << 20;
    QTest::newRow("same position") << 0 << 8 << 2 << u"position"_s << 2 << 0 << 8 << 2;
}

void TestWindow::trackBarRules()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(QString, operation);
    QFETCH(int, value);
    QFETCH(int, newMin);
    QFETCH(int, newMax);
    QFETCH(int, newPosition);

    TTrackBar bar;
    bar.SetMax(max);
    bar.SetMin(min);
    bar.SetPosition(position);
    QSignalSpy changes(&bar, &QSlider::valueChanged);
    if (operation == u"min")
        bar.SetMin(value);
    else if (operation == u"max")
        bar.SetMax(value);
    else
        bar.SetPosition(value);
    QCOMPARE(bar.Min(), newMin);
    QCOMPARE(bar.Max(), newMax);
    QCOMPARE(bar.Position(), newPosition);
    QCOMPARE(changes.size(), newPosition == position ? 0 : 1);
    if (!changes.isEmpty())
        QCOMPARE(changes[0][0].toInt(), newPosition);
}

namespace {

// A coupled pair as the risk sliders use it: the upper slider's minimum
// follows the lower position, the lower slider's maximum the upper one. The
// log records each handler run with its nesting depth and both positions.
struct CoupledPair
{
    TTrackBar lower, upper;
    QStringList log;
    int depth = 0;

    CoupledPair()
    {
        lower.SetMax(8);
        lower.SetPosition(2);
        upper.SetMax(10);
        upper.SetMin(2);
        upper.SetPosition(8);
        QObject::connect(&lower, &QSlider::valueChanged, &lower, [this] { handler(u"L"); });
        QObject::connect(&upper, &QSlider::valueChanged, &upper, [this] { handler(u"U"); });
    }
    void handler(QStringView who)
    {
        log.append(QStringLiteral("%1%2:%3/%4")
                       .arg(who)
                       .arg(depth)
                       .arg(lower.Position())
                       .arg(upper.Position()));
        ++depth;
        upper.SetMin(lower.Position());
        lower.SetMax(upper.Position());
        --depth;
    }
};

} // namespace

void TestWindow::trackBarSignalsNestInsideTheOperation()
{
    {
        // The user's drag: one handler run, the other limit follows.
        CoupledPair pair;
        pair.lower.SetPosition(5);
        QCOMPARE(pair.log, QStringList{u"L0:5/8"_s});
        QCOMPARE(pair.upper.Min(), 5);
        QCOMPARE(pair.lower.Max(), 8);
    }
    {
        // A stored lower 9 and upper 3 applied as a preset switch does it:
        // minimum of upper := 9, maximum of lower := 3, then the positions.
        CoupledPair pair;
        pair.upper.SetMin(9); // upper moves 8 -> 9; its handler runs inside
        QCOMPARE(pair.log, QStringList{u"U0:2/9"_s});
        QCOMPARE(pair.upper.Min(), 2); // the handler put the coupling back
        pair.lower.SetMax(3);          // position 2 stays: no run
        QCOMPARE(pair.log.size(), 1);
        pair.lower.SetPosition(9); // clamped to 3
        pair.upper.SetPosition(3);
        QCOMPARE(pair.log, (QStringList{u"U0:2/9"_s, u"L0:3/9"_s, u"U0:3/3"_s}));
        QCOMPARE(pair.lower.Position(), 3);
        QCOMPARE(pair.upper.Position(), 3);
        QCOMPARE(pair.upper.Min(), 3);
        QCOMPARE(pair.lower.Max(), 3);
        QCOMPARE(pair.lower.Min(), 0);
        QCOMPARE(pair.upper.Max(), 10);
    }
    {
        // A handler that moves another slider runs that slider's handler
        // inside its own, before it goes on.
        TTrackBar a, b;
        b.SetMax(10);
        QStringList log;
        QObject::connect(&a, &QSlider::valueChanged, &a, [&](int value) {
            log.append(u"a enter"_s);
            b.SetPosition(value);
            log.append(u"a leave"_s);
        });
        QObject::connect(&b, &QSlider::valueChanged, &b,
                         [&](int value) { log.append(u"b "_s + QString::number(value)); });
        a.SetPosition(4);
        QCOMPARE(log, (QStringList{u"a enter"_s, u"b 4"_s, u"a leave"_s}));
    }
}

void TestWindow::trackBarUserMoveSignals()
{
    TTrackBar bar;
    bar.SetMax(8);
    bar.SetPosition(2);
    QSignalSpy changes(&bar, &QSlider::valueChanged);
    QTest::keyClick(&bar, Qt::Key_Right);
    QCOMPARE(bar.Position(), 3);
    QCOMPARE(changes.size(), 1);
    QTest::keyClick(&bar, Qt::Key_End);
    QCOMPARE(bar.Position(), 8);
    QTest::keyClick(&bar, Qt::Key_End); // already at the end
    QCOMPARE(changes.size(), 2);
    // The tick of a value lies inside the slider, in order.
    QVERIFY(bar.TickX(0) < bar.TickX(4));
    QVERIFY(bar.TickX(8) < bar.width());
}

void TestWindow::comboBoxProgrammaticAndUser()
{
    TComboBox box;
    box.addItems({u"Низкий"_s, u"Средний"_s, u"Высокий"_s});
    QSignalSpy user(&box, &TComboBox::userChanged);

    box.SetItemIndex(2);
    QCOMPARE(box.ItemIndex(), 2);
    box.SetItemIndex(3);
    QCOMPARE(box.ItemIndex(), -1);
    box.SetItemIndex(1);
    box.SetItemIndex(-5);
    QCOMPARE(box.ItemIndex(), -1);
    box.SetItemIndex(0);
    QCOMPARE(user.size(), 0);

    // The user moves the selection with the keyboard.
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.ItemIndex(), 1);
    QCOMPARE(user.size(), 1);

    // An item's text can change without moving the selection.
    box.setItemText(2, u"High"_s);
    QCOMPARE(box.ItemIndex(), 1);
    QCOMPARE(user.size(), 1);
}

void TestWindow::historyMemoAppendLine_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty") << QString() << u"5\n"_s;
    QTest::newRow("ends with a break") << u"1\n2\n"_s << u"1\n2\n5\n"_s;
    QTest::newRow("typed without a break") << u"12"_s << u"12\n5"_s;
    QTest::newRow("blank last line typed") << u"1\n\n"_s << u"1\n\n5\n"_s;
}

void TestWindow::historyMemoAppendLine()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    THistoryMemo memo;
    memo.ReplaceText(before);
    QCOMPARE(memo.EndsWithLineBreak(), before.isEmpty() || before.endsWith(u'\n'));
    QSignalSpy changes(&memo, &QPlainTextEdit::textChanged);
    memo.AppendLine(u"5"_s);
    QCOMPARE(memo.Text(), after);
    QCOMPARE(changes.size(), 1);
    QVERIFY(memo.textCursor().atEnd());
}

void TestWindow::historyMemoNotifications()
{
    QWidget host;
    THistoryMemo memo(&host);
    QLineEdit next(&host);
    host.show();
    QSignalSpy changes(&memo, &QPlainTextEdit::textChanged);

    QTest::keyClicks(&memo, u"123"_s);
    QCOMPARE(changes.size(), 3);
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QCOMPARE(changes.size(), 5);
    QTest::keyClick(&memo, Qt::Key_Left); // moves the caret only
    QTest::keyClick(&memo, Qt::Key_Tab);  // moves the focus on, types nothing
    QCOMPARE(changes.size(), 5);
    QCOMPARE(memo.Text(), u"123"_s);

    memo.InsertAtEnd(u"4\n5\n6"_s);
    QCOMPARE(changes.size(), 6);
    QCOMPARE(memo.Text(), u"1234\n5\n6"_s);

    memo.ReplaceText(u"7\n8"_s);
    QCOMPARE(changes.size(), 7);
    QCOMPARE(memo.Text(), u"7\n8"_s);

    memo.ClearSilently();
    QCOMPARE(changes.size(), 7);
    QVERIFY(memo.Text().isEmpty());
    // The memo still notifies afterwards.
    QTest::keyClicks(&memo, u"9"_s);
    QCOMPARE(changes.size(), 8);
}

void TestWindow::historyMemoHoldsWhatTheFileCan_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("typed") << 0;
    QTest::newRow("composed") << 1;
    QTest::newRow("pasted") << 2;
}

void TestWindow::historyMemoHoldsWhatTheFileCan()
{
    QFETCH(int, way);
    // A Chinese character and an emoji: code page 1251 holds neither.
    const QString input = u"1\u4E2D2\U0001F600\u04103"_s;
    THistoryMemo *memo = form->listBox1;
    if (way == 0) {
        QTest::sendKeyEvent(QTest::Press, memo, Qt::Key_unknown, input, Qt::NoModifier);
    } else if (way == 1) {
        QInputMethodEvent event;
        event.setCommitString(input);
        QApplication::sendEvent(memo, &event);
    } else {
        QGuiApplication::clipboard()->setText(input);
        memo->paste();
    }
    QCOMPARE(memo->Text(), u"1?2?\u04103"_s);

    // The file holds what the memo shows.
    QTemporaryDir dir;
    const QString file = dir.filePath(u"spins.txt"_s);
    env->saveAnswers.push_back(FileChoice{file, u"Текстовые файлы (*.txt)"_s});
    form->n6->trigger();
    QCOMPARE(ReadRaw(file), QByteArrayLiteral("1?2?\xC0"
                                              "3"));
}

void TestWindow::pageControlTabs()
{
    TPageControl *pages = form->pageControl1;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QSignalSpy switched(pages, &TPageControl::activePageChanged);

    // Tabs do not overlap.
    for (int i = 0; i < pages->PageCount(); ++i)
        for (int j = i + 1; j < pages->PageCount(); ++j)
            QVERIFY(!pages->TabRect(i).intersects(pages->TabRect(j)));

    QTest::mouseClick(pages, Qt::LeftButton, {}, pages->TabRect(3).center());
    QCOMPARE(pages->ActivePage(), form->tabSheet3);
    QVERIFY(form->tabSheet3->isVisible());
    QVERIFY(!form->tabSheet1->isVisible());
    QCOMPARE(switched.size(), 1);
    // The selected tab's row lies next to the page.
    QCOMPARE(pages->TabRect(3).bottom() + 1, pages->TabRect(4).bottom() + 1);
    QVERIFY(pages->TabRect(3).y() > pages->TabRect(0).y());

    QTest::keyClick(pages, Qt::Key_Right);
    QCOMPARE(pages->ActivePage(), form->tabSheet6);
    QTest::keyClick(pages, Qt::Key_Right);
    QCOMPARE(pages->ActivePage(), form->tabSheet1);

    // A new caption shows on its tab at once.
    const int before = pages->TabRect(3).width();
    form->tabSheet3->SetCaption(u"Settings and more settings"_s);
    QCOMPARE(form->tabSheet3->Caption(), u"Settings and more settings"_s);
    QVERIFY(pages->TabRect(3).width() != before);
    for (int i = 0; i < pages->PageCount(); ++i)
        QVERIFY(pages->rect().contains(pages->TabRect(i)));
}

void TestWindow::fileDialogRemembersTheChoice()
{
    TFileDialog *dialog = form->openDialog2;
    QCOMPARE(dialog->kind(), TFileDialog::Kind::Open);
    QVERIFY(dialog->Options().mustExist);
    QCOMPARE(dialog->Options().defaultSuffix, u"txt"_s);
    QCOMPARE(dialog->Options().filters,
             (QStringList{u"Текстовые файлы (*.txt)"_s, u"Все файлы (*.*)"_s}));
    QCOMPARE(form->saveDialog1->Options().defaultSuffix, u"ini"_s);
    QVERIFY(!form->saveDialog2->Options().mustExist);
    QVERIFY(!form->saveDialog2->Options().promptOverwrite);

    env->openAnswers.push_back(FileChoice{u"/data/a.txt"_s, u"Все файлы (*.*)"_s});
    QCOMPARE(dialog->Execute(*env, form.get()), std::optional<QString>(u"/data/a.txt"_s));
    QVERIFY(env->openRequests[0].initialFileName.isEmpty());

    // Cancelled: nothing changes; the next time offers the last choice.
    QCOMPARE(dialog->Execute(*env, form.get()), std::nullopt);
    QCOMPARE(env->openRequests[1].initialFileName, u"/data/a.txt"_s);
    QCOMPARE(env->openRequests[1].selectedFilter, u"Все файлы (*.*)"_s);
    // The other dialogs keep their own.
    QCOMPARE(form->saveDialog2->Execute(*env, form.get()), std::nullopt);
    QVERIFY(env->saveRequests[0].initialFileName.isEmpty());
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
