// The system tester's window in the real main window: opened from the menu,
// filled from the calculator, refusing bad fields without a box, following
// the history while shown, closed by its keys with its fields kept.
#include "support/WindowFixture.h"

#include "app/systemwindow/SystemForm.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QValueAxis>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

const QStringList Fields{u"SystemTrigger"_s, u"SystemMinStake"_s,   u"SystemMultiplier"_s,
                         u"SystemSteps"_s,   u"SystemTableLimit"_s, u"SystemBankroll"_s,
                         u"SystemTarget"_s};

} // namespace

class TestSystemWindow : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { createAll(); }
    void cleanup() { destroyAll(); }

    void opensByItsKey();
    void startingValues_data();
    void startingValues();
    void refusedFields_data();
    void refusedFields();
    void followsTheHistory();
    void ruinBesideTheWindow();
    void closeKeysKeepTheFields_data();
    void closeKeysKeepTheFields();

private:
    SystemForm *open()
    {
        form->n29->trigger();
        return form->systemForm();
    }
    QLineEdit *field(const QString &name) const
    {
        return form->systemForm()->findChild<QLineEdit *>(name);
    }
    QString shown(const char *name) const
    {
        auto *label = form->systemForm()->findChild<QLabel *>(QString::fromLatin1(name));
        return label ? label->text() : u"<missing>"_s;
    }
    // The fields shown red, by name.
    QStringList redFields() const
    {
        QStringList red;
        for (const QString &name : Fields) {
            const QColor base = field(name)->palette().color(QPalette::Base);
            if (base.red() > base.green() + 40)
                red << name;
        }
        return red;
    }
    // Red, even money, stakes 1, 2, 4, a series after two misses, bankroll 7
    // and target 17.
    void setDoubling()
    {
        const QStringList texts{u"2"_s, u"1"_s, u"2"_s, u"3"_s, u"0"_s, u"7"_s, u"17"_s};
        for (qsizetype i = 0; i < Fields.size(); ++i)
            field(Fields[i])->setText(texts[i]);
    }
};

void TestSystemWindow::opensByItsKey()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QVERIFY(!form->systemForm());
    QTest::keySequence(form.get(), QKeySequence(u"Ctrl+Shift+T"_s));
    SystemForm *window = form->systemForm();
    QVERIFY(window && window->isVisible() && window->isWindow() && !window->isModal());
    QCOMPARE(window->windowTitle(), u"Проверка системы"_s);
    QCOMPARE(form->n29->text(), u"Проверка системы..."_s);
    QVERIFY(window->minimumSize() != window->maximumSize());
    auto *group = window->findChild<QComboBox *>(u"SystemGroup"_s);
    QCOMPARE(group->count(), 12);
    QCOMPARE(group->itemText(1), u"Чёрное"_s);
    QVERIFY(window->findChild<QChartView *>(u"ChartBankroll"_s));
    QCOMPARE(open(), window); // raised, not made again
}

void TestSystemWindow::startingValues_data()
{
    QTest::addColumn<QString>("stake");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QStringList>("texts"); // the fields, in the order of Fields
    QTest::addColumn<QStringList>("red");
    const auto row = [](const char *name, const char *stake, const char *factor, const char *texts,
                        const char *red) {
        QTest::newRow(name) << stake << factor << QString::fromLatin1(texts).split(u' ')
                            << QString::fromLatin1(red).split(u' ', Qt::SkipEmptyParts);
    };
    row("calculator as it starts", "5", "3", "5 5 3 8 0 16400 16500", "");
    row("10 x 2", "10", "2", "5 10 2 8 0 2550 2750", "");
    row("stake that does not read", "abc", "2", "5 5 2 8 0 1275 1375", "");
    row("stake 0", "0", "3", "5 0 3 8 0 0 0", "SystemMinStake SystemTarget");
}

void TestSystemWindow::startingValues()
{
    QFETCH(QString, stake);
    QFETCH(QString, factor);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, red);
    form->edit2->setText(stake);
    form->edit3->setText(factor);
    env->boxes.clear(); // the calculator's own complaint
    open();
    QStringList got;
    for (const QString &name : Fields)
        got << field(name)->text();
    QCOMPARE(got, texts);
    QCOMPARE(redFields(), red);
    QCOMPARE(shown("LabelExpectedPerSeries") == u"—", !red.isEmpty());
    QVERIFY(env->boxes.isEmpty());
}

void TestSystemWindow::refusedFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("red");
    QTest::addColumn<QString>("problems"); // beside the fields, the field's own line spoken
    const auto row = [](const char *name, const QString &field, const QString &text,
                        const QString &red, const QString &problems) {
        QTest::newRow(name) << field << text << red.split(u' ') << problems;
    };
    const QString trigger = u"Начать после пропусков подряд: целое число от 0 до 1000"_s;
    row("empty trigger", u"SystemTrigger"_s, QString(), u"SystemTrigger"_s, trigger);
    row("trigger 1001", u"SystemTrigger"_s, u"1001"_s, u"SystemTrigger"_s, trigger);
    row("letters", u"SystemMultiplier"_s, u"2x"_s, u"SystemMultiplier"_s,
        u"Умножение: целое число от 1"_s);
    row("31 steps", u"SystemSteps"_s, u"31"_s, u"SystemSteps"_s,
        u"Ставок в серии: целое число от 1 до 30"_s);
    row("limit below the first stake", u"SystemTableLimit"_s, u"4"_s,
        u"SystemMinStake SystemTableLimit"_s,
        u"Первая ставка: целое число от 1, не больше предела стола\n"
        u"Предел стола: не меньше первой ставки или 0"_s);
    // 5 (16^8 - 1) / 15 fits in 2^31 - 1, 5 (17^8 - 1) / 16 does not; no
    // first stake fits 100 in 8 steps, five steps of 5 do.
    row("series beyond 32 bits", u"SystemMultiplier"_s, u"100"_s,
        u"SystemMinStake SystemMultiplier SystemSteps"_s,
        u"Первая ставка: целое число от 1\nУмножение: целое число от 1 до 16\n"
        u"Ставок в серии: целое число от 1 до 5"_s);
    row("target at the bankroll", u"SystemTarget"_s, u"16400"_s, u"SystemTarget"_s,
        u"Остановиться при банке: целое число больше начального банка"_s);
}

void TestSystemWindow::refusedFields()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QStringList, red);
    QFETCH(QString, problems);
    form->listBox1->ReplaceText(u"1\n2\n3"_s);
    open();
    const QString before = field(name)->text();
    field(name)->setText(text);
    QCOMPARE(redFields(), red);
    for (const char *figure : {"LabelSeries", "LabelNet", "LabelHitRate", "LabelSeriesLossChance",
                               "LabelRuinChance", "LabelSystemVerdict"})
        QCOMPARE(shown(figure), u"—"_s);
    auto *beside = form->systemForm()->findChild<QLabel *>(u"SystemInputProblems"_s);
    QCOMPARE(beside->text(), problems);
    QCOMPARE(beside->accessibleName(), problems);
    QVERIFY(problems.split(u'\n').contains(field(name)->accessibleDescription()));
    QVERIFY(env->boxes.isEmpty());
    auto *chart = form->systemForm()->findChild<QChartView *>(u"ChartBankroll"_s);
    QCOMPARE(qobject_cast<QLineSeries *>(chart->chart()->series().first())->count(), 0);

    field(name)->setText(before);
    QCOMPARE(redFields(), QStringList());
    QCOMPARE(beside->text(), QString());
    QCOMPARE(field(name)->accessibleDescription(), QString());
    QCOMPARE(shown("LabelSeries"), u"0"_s);
    QCOMPARE(shown("LabelExpectedPerBet"), u"2,7 % от поставленного (1/37)"_s);
}

// Red after two misses, stakes 1, 2, 4: 2 4 [1 won] 6 8 [10 11 13 lost]
// [3 won], then a zero, a text line, 15 and [5 won].
void TestSystemWindow::followsTheHistory()
{
    form->listBox1->ReplaceText(u"2\n4\n1\n6\n8\n10\n11\n13\n3"_s);
    SystemForm *window = open();
    setDoubling();
    QCOMPARE(shown("LabelSeries"), u"3"_s);
    QCOMPARE(shown("LabelSeriesWon"), u"2"_s);
    QCOMPARE(shown("LabelSeriesLost"), u"1"_s);
    QCOMPARE(shown("LabelNet"), u"-5"_s);
    QCOMPARE(shown("LabelStaked"), u"9"_s);
    QCOMPARE(shown("LabelMaxDrawdown"), u"7"_s);
    QCOMPARE(shown("LabelWorstRun"), u"1"_s);
    QCOMPARE(shown("LabelHitRate"), u"2 из 5: 40,0 % (95 %: 11,8–76,9 %); честно 48,6 %"_s);
    QCOMPARE(shown("LabelSessions"), u"1: до цели 0, разорений 0, не закончена 1"_s);
    // Entered at each of the nine spins: six series won (+1), three lost
    // (-7); the system's three series average -5/3, which a fair wheel does
    // or worse whenever one of three is lost whole: 1 - (1 - q^3)^3.
    QCOMPARE(shown("LabelRandomEntry"),
             u"-1,67 в среднем (вход на каждом из 9 спинов); у системы -1,67 из 3 серий: на "
             u"честном колесе среднее не выше — с шансом 35 %, обычное дело"_s);
    QCOMPARE(shown("LabelNoWholeLoss"),
             u"В 65 % историй из 3 серий ни одна серия не проигрывается целиком — поэтому "
             u"короткая история чаще всего выглядит выигрышной."_s);
    // (19/37)^3; 1 - 8 q^3; the ruin solved in exact fractions over the
    // bankrolls 1..16 (a bankroll short of a series plays it as far as it
    // can): 0.6383.
    QCOMPARE(shown("LabelSeriesLossChance"), u"14 %, серия из 3 ставок"_s);
    QCOMPARE(shown("LabelExpectedPerSeries"), u"-0,08"_s);
    QCOMPARE(shown("LabelRuinChance"), u"64 %"_s);
    QCOMPARE(shown("LabelSessionRuinShare"),
             u"нет законченных сессий (точный шанс разорения 64 %)"_s);
    QVERIFY(shown("LabelSystemVerdict")
                .startsWith(u"На честном колесе эта система в среднем "
                            "теряет 0,08 на серию"_s));
    QVERIFY(shown("LabelSystemVerdict")
                .endsWith(u" На этой последовательности разорением кончилось сессий: 0 из 1."_s));
    QCOMPARE(window->findChild<QLabel *>(u"LabelNet"_s)->accessibleName(), u"Итог: -5"_s);
    auto *chart = window->findChild<QChartView *>(u"ChartBankroll"_s)->chart();
    auto *bankroll = qobject_cast<QLineSeries *>(chart->series().first());
    QCOMPARE(bankroll->count(), 10); // the start and nine spins
    QCOMPARE(bankroll->at(9), QPointF(9, 7 - 5));
    QCOMPARE(window->findChild<QChartView *>(u"ChartBankroll"_s)->accessibleDescription(),
             u"Банк каждой сессии от 7 до цели 17 за 9 спинов: сессий 1, до цели 0, разорений 0. "
             u"Самый низкий банк 1, самый высокий 8, в конце 2."_s);

    // With the target at 8: won at once (target), from spin 4 lost whole
    // down to 0 (ruin), from spin 9 won (target). The chance of ruin from 7
    // before 8 is q^3: one series lost whole.
    field(u"SystemTarget"_s)->setText(u"8"_s);
    QCOMPARE(shown("LabelSessions"), u"3: до цели 2, разорений 1, не закончена 0"_s);
    QCOMPARE(shown("LabelSessionRuinShare"), u"1 из 3 = 33,3 % (точный шанс разорения 14 %)"_s);
    QVERIFY(shown("LabelSystemVerdict").endsWith(u"сессий: 1 из 3."_s));
    // One ruin and two targets marked; the axis stops at 0.
    QCOMPARE(qobject_cast<QXYSeries *>(chart->series().at(3))->points(), (QList<QPointF>{{8, 0}}));
    QCOMPARE(qobject_cast<QXYSeries *>(chart->series().at(4))->count(), 2);
    QCOMPARE(qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).first())->min(), 0.0);
    field(u"SystemTarget"_s)->setText(u"17"_s);

    // Each line is a pass; the figures follow within RefreshDelay.
    for (const QString &line : {u"0"_s, u"x"_s, u"15"_s, u"5"_s})
        form->listBox1->AppendLine(line);
    QCOMPARE(shown("LabelSeries"), u"3"_s);
    QTRY_COMPARE(shown("LabelSeries"), u"4"_s);
    QCOMPARE(shown("LabelNet"), u"-4"_s);
    QCOMPARE(bankroll->count(), 13);

    // Hidden it follows nothing; opened again it catches up at once.
    window->hide();
    for (const QString &line : {u"2"_s, u"4"_s, u"1"_s})
        form->listBox1->AppendLine(line);
    QTest::qWait(2 * SystemForm::RefreshDelay);
    QCOMPARE(shown("LabelSeries"), u"4"_s);
    open();
    QCOMPARE(shown("LabelSeries"), u"5"_s);
    QCOMPARE(shown("LabelNet"), u"-3"_s);
    QVERIFY(env->boxes.isEmpty());
}

// A bankroll of a million units for the first dozen doubling 1 .. 128 is
// solved on a thread: "…" until it is done. Hidden, the window drops it and
// asks again when it shows.
void TestSystemWindow::ruinBesideTheWindow()
{
    open();
    form->systemForm()->findChild<QComboBox *>(u"SystemGroup"_s)->setCurrentIndex(6);
    field(u"SystemMinStake"_s)->setText(u"1"_s);
    field(u"SystemMultiplier"_s)->setText(u"2"_s);
    field(u"SystemBankroll"_s)->setText(u"30000"_s); // above the target: refused
    QCOMPARE(shown("LabelRuinChance"), u"—"_s);
    field(u"SystemTarget"_s)->setText(u"30100"_s);
    QVERIFY(!EstimateRuin(form->systemForm()->Inputs().inputs).quick);
    QCOMPARE(shown("LabelRuinChance"), u"…"_s);
    form->systemForm()->close();
    open();
    QCOMPARE(shown("LabelRuinChance"), u"…"_s);
    // A checked build takes about 20 s for it.
    QTRY_VERIFY_WITH_TIMEOUT(shown("LabelRuinChance") != u"…", 120'000);
    QVERIFY2(shown("LabelRuinChance").endsWith(u" %"_s), qPrintable(shown("LabelRuinChance")));
    // Certain ruin is no rounding; a chain too large says why.
    QCOMPARE(RuinText(SolveRuin({0, 5, 5, 3, 8, 0, 4, 100})), u"100 %"_s);
    QCOMPARE(RuinText(SolveRuin({0, 5, 1, 2, 30, 0, 2'000'000'000, 2'100'000'000})),
             u"не считается: 2\u00A0099\u00A0999\u00A0999 состояний банка — слишком много для "
             u"точного расчёта"_s);
}

void TestSystemWindow::closeKeysKeepTheFields_data()
{
    QTest::addColumn<QKeySequence>("keys"); // none: the shortcut that opens it
    QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape);
    QTest::newRow("Ctrl+W") << QKeySequence(u"Ctrl+W"_s);
    QTest::newRow("the opening shortcut") << QKeySequence();
}

// Within the screen, and as small as 800x560, its content scrolling; closed
// by its keys, the keyboard back in the main window, the fields kept.
void TestSystemWindow::closeKeysKeepTheFields()
{
    QFETCH(QKeySequence, keys);
    form->show();
    SystemForm *window = open();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
    // As wide as a screen of 1024 its three columns fit side by side.
    window->resize(1000, 560);
    QTest::qWait(0);
    QVERIFY(!window->findChild<QScrollArea *>()->horizontalScrollBar()->isVisible());
    window->resize(800, 560);
    QCOMPARE(window->size(), QSize(800, 560));
    // The keyboard starts in the first field, not in the scrolling area.
    QCOMPARE(QApplication::focusWidget(), window->findChild<QComboBox *>(u"SystemGroup"_s));
    window->findChild<QComboBox *>(u"SystemGroup"_s)->setCurrentIndex(7);
    QLineEdit *trigger = field(u"SystemTrigger"_s);
    trigger->setFocus();
    QTest::keyClicks(trigger, u"0"_s); // 5 becomes 50
    QTest::keySequence(trigger, keys.isEmpty() ? form->n29->shortcut() : keys);
    QVERIFY(!window->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(open(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(field(u"SystemTrigger"_s)->text(), u"50"_s);
    QCOMPARE(window->findChild<QComboBox *>(u"SystemGroup"_s)->currentIndex(), 7);
    QCOMPARE(window->Inputs().inputs.group, 7);
}

QTEST_MAIN(TestSystemWindow)
#include "tst_systemwindow.moc"
