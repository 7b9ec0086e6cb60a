#include "SettingsWindowTest.h"

#include "settings/SettingsKeys.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

using Positions = QList<int>; // TrackBar2, TrackBar3, TrackBar4, TrackBar5

// Watches one slider pair of the window: how often its handler ran, and the
// selected preset's two keys as each run left them ("lo/hi", "-" for a
// missing key), in the order the runs finished. The watcher's slots are
// connected after the window's own, so each sees the handler's work done.
struct PairWatch
{
    int runs = 0;
    QStringList writes;

    void attach(QObject &context, TForm1 &form, TTrackBar *lower, TTrackBar *upper,
                QStringView lowSuffix, QStringView highSuffix)
    {
        const auto record = [this, &form, lowSuffix, highSuffix] {
            ++runs;
            const qint32 preset = form.comboBox1->ItemIndex();
            const TINIView &doc = form.SettingsDocument();
            writes.append(doc.ReadString(CommonSection, RiskLevelKey(preset, lowSuffix), u"-"_s) +
                          u'/' +
                          doc.ReadString(CommonSection, RiskLevelKey(preset, highSuffix), u"-"_s));
        };
        QObject::connect(lower, &QSlider::valueChanged, &context, record);
        QObject::connect(upper, &QSlider::valueChanged, &context, record);
    }
};

Positions PositionsOf(const TForm1 &form)
{
    return {form.trackBar2->Position(), form.trackBar3->Position(), form.trackBar4->Position(),
            form.trackBar5->Position()};
}

// The coupling of both pairs: each slider is the other's limit, the outer
// limits are 0 and 10.
QString CouplingFault(const TForm1 &form)
{
    const struct
    {
        TTrackBar *lower, *upper;
    } pairs[] = {{form.trackBar2, form.trackBar3}, {form.trackBar4, form.trackBar5}};
    for (const auto &pair : pairs) {
        if (pair.lower->Min() != 0 || pair.upper->Max() != 10 ||
            pair.upper->Min() != pair.lower->Position() ||
            pair.lower->Max() != pair.upper->Position())
            return QStringLiteral("%1 %2..%3 at %4, %5 %6..%7 at %8")
                .arg(pair.lower->objectName())
                .arg(pair.lower->Min())
                .arg(pair.lower->Max())
                .arg(pair.lower->Position())
                .arg(pair.upper->objectName())
                .arg(pair.upper->Min())
                .arg(pair.upper->Max())
                .arg(pair.upper->Position());
    }
    return QString();
}

QStringList LabelTexts(const TForm1 &form)
{
    return {form.label51->text(), form.label52->text(), form.label198->text(),
            form.label199->text()};
}

QStringList Texts(const Positions &positions)
{
    QStringList texts;
    for (const int p : positions)
        texts.append(QString::number(p));
    return texts;
}

} // namespace

void TestSettingsWindow::sliderMoves_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<Positions>("after");
    QTest::addColumn<int>("runs");
    QTest::addColumn<QStringList>("common");

    const int right = Qt::Key_Right, left = Qt::Key_Left, home = Qt::Key_Home, end = Qt::Key_End;
    QTest::newRow("TrackBar2 from 2 to 5")
        << u"TrackBar2"_s << QList<int>{right, right, right} << Positions{5, 8, 2, 8} << 3
        << QStringList{u"Level1lo=5"_s, u"Level1hi=8"_s};
    QTest::newRow("TrackBar2 to 0: no grey level")
        << u"TrackBar2"_s << QList<int>{home} << Positions{0, 8, 2, 8} << 1
        << QStringList{u"Level1lo=0"_s, u"Level1hi=8"_s};
    QTest::newRow("TrackBar2 stops at TrackBar3")
        << u"TrackBar2"_s << QList<int>{end, right} << Positions{8, 8, 2, 8} << 1
        << QStringList{u"Level1lo=8"_s, u"Level1hi=8"_s};
    QTest::newRow("TrackBar3 down to TrackBar2: no yellow level")
        << u"TrackBar3"_s << QList<int>{home, left} << Positions{2, 2, 2, 8} << 1
        << QStringList{u"Level1lo=2"_s, u"Level1hi=2"_s};
    QTest::newRow("TrackBar3 to 10: no green level")
        << u"TrackBar3"_s << QList<int>{end} << Positions{2, 10, 2, 8} << 1
        << QStringList{u"Level1lo=2"_s, u"Level1hi=10"_s};
    QTest::newRow("TrackBar4 up one")
        << u"TrackBar4"_s << QList<int>{right} << Positions{2, 8, 3, 8} << 1
        << QStringList{u"Level1lo2=3"_s, u"Level1hi2=8"_s};
    QTest::newRow("TrackBar5 down one")
        << u"TrackBar5"_s << QList<int>{left} << Positions{2, 8, 2, 7} << 1
        << QStringList{u"Level1lo2=2"_s, u"Level1hi2=7"_s};
    QTest::newRow("TrackBar5 to TrackBar4 and no further")
        << u"TrackBar5"_s << QList<int>{home, left, home} << Positions{2, 8, 2, 2} << 1
        << QStringList{u"Level1lo2=2"_s, u"Level1hi2=2"_s};
}

void TestSettingsWindow::sliderMoves()
{
    QFETCH(QString, slider);
    QFETCH(QList<int>, keys);
    QFETCH(Positions, after);
    QFETCH(int, runs);
    QFETCH(QStringList, common);

    start();
    QObject context;
    PairWatch pair1, pair2;
    pair1.attach(context, *form, form->trackBar2, form->trackBar3, RiskLowSuffix, RiskHighSuffix);
    pair2.attach(context, *form, form->trackBar4, form->trackBar5, RiskLow2Suffix, RiskHigh2Suffix);

    auto *bar = form->FindComponentAs<TTrackBar>(slider);
    QVERIFY(bar);
    for (const int key : keys)
        QTest::keyClick(bar, Qt::Key(key));

    QCOMPARE(PositionsOf(*form), after);
    QCOMPARE(CouplingFault(*form), QString());
    QCOMPARE(LabelTexts(*form), Texts(after));
    // One handler run per move of the thumb; the other pair does not run.
    const bool first = slider == u"TrackBar2" || slider == u"TrackBar3";
    QCOMPARE((first ? pair1 : pair2).runs, runs);
    QCOMPARE((first ? pair2 : pair1).runs, 0);
    QCOMPARE(commonEntries(), common);
    QCOMPARE(gridFault(after[0], after[1], after[2], after[3]), QString());
    QVERIFY(env->boxes.isEmpty());
}

void TestSettingsWindow::sliderMovesKeepVisibility()
{
    start();
    // Seven reds in a row: black misses 7, even and odd miss some too.
    form->listBox1->ReplaceText(u"2\n1\n3\n5\n7\n9\n12\n14\n"_s);
    QList<bool> shown;
    for (int g = 1; g <= 12; ++g)
        for (int l = 1; l <= 10; ++l)
            shown.append(!form->FindComponentAs<QWidget>(QStringLiteral("Im_%1_%2").arg(g).arg(l))
                              ->isHidden());
    QVERIFY(shown.contains(true) && shown.contains(false));

    QTest::keyClick(form->trackBar3, Qt::Key_Home);
    QTest::keyClick(form->trackBar4, Qt::Key_End);
    QCOMPARE(gridFault(2, 2, 8, 8), QString());
    QList<bool> after;
    for (int g = 1; g <= 12; ++g)
        for (int l = 1; l <= 10; ++l)
            after.append(!form->FindComponentAs<QWidget>(QStringLiteral("Im_%1_%2").arg(g).arg(l))
                              ->isHidden());
    QCOMPARE(after, shown);
}

void TestSettingsWindow::presetSwitch_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<Positions>("before");
    QTest::addColumn<int>("pick");
    QTest::addColumn<int>("index");
    QTest::addColumn<Positions>("after");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("runs1");
    QTest::addColumn<int>("runs2");
    QTest::addColumn<QStringList>("writes1");
    QTest::addColumn<QStringList>("writes2");
    QTest::addColumn<QStringList>("common");

    const Positions layout{2, 8, 2, 8};
    const QStringList layoutLabels{u"2"_s, u"8"_s, u"2"_s, u"8"_s};

    QTest::newRow("no stored keys, sliders at 2 and 8: nothing moves")
        << QStringList() << layout << 0 << 0 << layout << layoutLabels << 0 << 0 << QStringList()
        << QStringList() << QStringList{u"Level=0"_s};

    QTest::newRow("stored boundaries differ from the positions")
        << QStringList{u"Level2lo=4"_s, u"Level2hi=6"_s, u"Level2lo2=0"_s, u"Level2hi2=10"_s}
        << layout << 2 << 2 << Positions{4, 6, 0, 10}
        << QStringList{u"4"_s, u"6"_s, u"0"_s, u"10"_s} << 2 << 2 << QStringList{u"4/8"_s, u"4/6"_s}
        << QStringList{u"0/8"_s, u"0/10"_s}
        << QStringList{u"Level2lo=4"_s, u"Level2hi=6"_s, u"Level2lo2=0"_s, u"Level2hi2=10"_s,
                       u"Level=2"_s};

    // The defaults apply, and the keys the preset lacked are written from
    // the sliders' intermediate states, in the order of the runs.
    QTest::newRow("no stored keys, sliders moved before")
        << QStringList() << Positions{5, 7, 1, 9} << 0 << 0 << layout << layoutLabels << 2 << 2
        << QStringList{u"2/7"_s, u"2/8"_s} << QStringList{u"2/9"_s, u"2/8"_s}
        << QStringList{u"Level0lo=2"_s, u"Level0hi=8"_s, u"Level0lo2=2"_s, u"Level0hi2=8"_s,
                       u"Level=0"_s};

    QTest::newRow("stored lower 9 above upper 3")
        << QStringList{u"Level0lo=9"_s, u"Level0hi=3"_s} << layout << 0 << 0
        << Positions{3, 3, 2, 8} << QStringList{u"3"_s, u"3"_s, u"2"_s, u"8"_s} << 3 << 0
        << QStringList{u"2/9"_s, u"3/9"_s, u"3/3"_s} << QStringList()
        << QStringList{u"Level0lo=3"_s, u"Level0hi=3"_s, u"Level=0"_s};

    QTest::newRow("stored Level 3 selects nothing")
        << QStringList{u"Level-1lo=5"_s, u"Level-1hi=5"_s} << layout << 3 << -1
        << Positions{5, 5, 2, 8} << QStringList{u"5"_s, u"5"_s, u"2"_s, u"8"_s} << 2 << 0
        << QStringList{u"5/8"_s, u"5/5"_s} << QStringList()
        << QStringList{u"Level-1lo=5"_s, u"Level-1hi=5"_s, u"Level=-1"_s};

    QTest::newRow("stored values below 0 and above 10")
        << QStringList{u"Level1lo=-5"_s, u"Level1hi=20"_s} << layout << 1 << 1
        << Positions{0, 10, 2, 8} << QStringList{u"0"_s, u"10"_s, u"2"_s, u"8"_s} << 2 << 0
        << QStringList{u"0/8"_s, u"0/10"_s} << QStringList()
        << QStringList{u"Level1lo=0"_s, u"Level1hi=10"_s, u"Level=1"_s};

    QTest::newRow("stored texts that are not numbers")
        << QStringList{u"Level1lo=x"_s, u"Level1hi="_s} << layout << 1 << 1 << layout
        << layoutLabels << 0 << 0 << QStringList() << QStringList()
        << QStringList{u"Level1lo=x"_s, u"Level1hi="_s, u"Level=1"_s};

    QTest::newRow("stored upper below the lower slider's position")
        << QStringList{u"Level1lo=1"_s, u"Level1hi=3"_s} << Positions{6, 9, 2, 8} << 1 << 1
        << Positions{1, 3, 2, 8} << QStringList{u"1"_s, u"3"_s, u"2"_s, u"8"_s} << 3 << 0
        << QStringList{u"3/9"_s, u"1/9"_s, u"1/3"_s} << QStringList()
        << QStringList{u"Level1lo=1"_s, u"Level1hi=3"_s, u"Level=1"_s};

    // A minimum of 11 is refused, so the lower slider passes the upper one;
    // its handler pulls it back, which runs the handler inside itself.
    QTest::newRow("stored 11 and 11: one nested run")
        << QStringList{u"Level1lo=11"_s, u"Level1hi=11"_s} << layout << 1 << 1
        << Positions{8, 10, 2, 8} << QStringList{u"8"_s, u"10"_s, u"2"_s, u"8"_s} << 3 << 0
        << QStringList{u"8/8"_s, u"8/8"_s, u"8/10"_s} << QStringList()
        << QStringList{u"Level1lo=8"_s, u"Level1hi=10"_s, u"Level=1"_s};
}

void TestSettingsWindow::presetSwitch()
{
    QFETCH(QStringList, stored);
    QFETCH(Positions, before);
    QFETCH(int, pick);
    QFETCH(int, index);
    QFETCH(Positions, after);
    QFETCH(QStringList, labels);
    QFETCH(int, runs1);
    QFETCH(int, runs2);
    QFETCH(QStringList, writes1);
    QFETCH(QStringList, writes2);
    QFETCH(QStringList, common);

    start();
    form->trackBar2->SetPosition(before[0]);
    form->trackBar3->SetPosition(before[1]);
    form->trackBar4->SetPosition(before[2]);
    form->trackBar5->SetPosition(before[3]);
    QCOMPARE(PositionsOf(*form), before);
    settings->Clear();
    if (!stored.isEmpty())
        settings->LoadFromBytes(IniSection(u"Common"_s, stored));
    form->memo1->setPlainText(u"before"_s);

    QObject context;
    PairWatch pair1, pair2;
    pair1.attach(context, *form, form->trackBar2, form->trackBar3, RiskLowSuffix, RiskHighSuffix);
    pair2.attach(context, *form, form->trackBar4, form->trackBar5, RiskLow2Suffix, RiskHigh2Suffix);
    QSignalSpy picks(form->comboBox1, &TComboBox::userChanged);

    // As the settings are applied: the selection, then the handler.
    form->comboBox1->SetItemIndex(pick);
    form->Guard([this] { form->ComboBox1Change(); });

    QCOMPARE(form->comboBox1->ItemIndex(), index);
    QCOMPARE(PositionsOf(*form), after);
    QCOMPARE(CouplingFault(*form), QString());
    QCOMPARE(LabelTexts(*form), labels);
    QCOMPARE(pair1.runs, runs1);
    QCOMPARE(pair2.runs, runs2);
    QCOMPARE(pair1.writes, writes1);
    QCOMPARE(pair2.writes, writes2);
    QCOMPARE(commonEntries(), common);
    QCOMPARE(gridFault(after[0], after[1], after[2], after[3]), QString());
    QCOMPARE(form->memo1->toPlainText(), index >= 0 ? PresetDescription(index) : u"before"_s);
    QCOMPARE(picks.size(), 0);
    QVERIFY(env->boxes.isEmpty());
}

void TestSettingsWindow::userPicksAPreset()
{
    start();
    QCOMPARE(form->comboBox1->ItemIndex(), 1);
    QTest::keyClick(form->comboBox1, Qt::Key_Down);
    QCOMPARE(form->comboBox1->ItemIndex(), 2);
    QCOMPARE(form->memo1->toPlainText(), PresetDescription(2));
    QCOMPARE(commonEntries(), QStringList{u"Level=2"_s});

    // Boundaries set under one preset come back when it is picked again.
    QTest::keyClick(form->trackBar2, Qt::Key_Right);
    QTest::keyClick(form->comboBox1, Qt::Key_Up);
    QCOMPARE(form->memo1->toPlainText(), PresetDescription(1));
    QCOMPARE(PositionsOf(*form), (Positions{2, 8, 2, 8}));
    QTest::keyClick(form->comboBox1, Qt::Key_Down);
    QCOMPARE(PositionsOf(*form), (Positions{3, 8, 2, 8}));
    QCOMPARE(gridFault(3, 8, 2, 8), QString());
}

void TestSettingsWindow::riskKeysInWriteOrder()
{
    start();
    QTest::keyClick(form->trackBar4, Qt::Key_Right);
    QTest::keyClick(form->trackBar2, Qt::Key_Right);
    form->comboBox1->SetItemIndex(0);
    form->Guard([this] { form->ComboBox1Change(); });
    QCOMPARE(PositionsOf(*form), (Positions{2, 8, 2, 8}));

    const QByteArray saved = close();
    QCOMPARE(saved, IniSection(u"Common"_s,
                               {u"Level1lo2=3"_s, u"Level1hi2=8"_s, u"Level1lo=3"_s,
                                u"Level1hi=8"_s, u"Level0lo=2"_s, u"Level0hi=8"_s, u"Level0lo2=2"_s,
                                u"Level0hi2=8"_s, u"Level=0"_s, u"StayOnTop=0"_s, u"AlphaBlend=0"_s,
                                u"AlphaBlendValue=100"_s}));
    QVERIFY(env->boxes.isEmpty());
}
