#include "CommandsTest.h"

// --------------------------------------------------------------- calculator

void TestCommands::calculator_data()
{
    QTest::addColumn<QString>("m");
    QTest::addColumn<QString>("r");
    QTest::addColumn<bool>("lastChangeInEdit3");
    QTest::addColumn<QStringList>("fields"); // Edit4..Edit11, Edit12
    QTest::addColumn<bool>("message");

    const QStringList initial{u"5"_s,    u"15"_s,   u"45"_s,    u"135"_s,  u"405"_s,
                              u"1215"_s, u"3645"_s, u"10935"_s, u"16400"_s};
    // The initial fields with the first n replaced.
    const auto keep = [&initial](QStringList first) {
        for (qsizetype i = first.size(); i < initial.size(); ++i)
            first.append(initial[i]);
        return first;
    };

    QTest::newRow("defaults") << u"5"_s << u"3"_s << false << initial << false;
    QTest::newRow("10 by 2") << u"10"_s << u"2"_s << true
                             << QStringList{u"10"_s,  u"20"_s,  u"40"_s,   u"80"_s,  u"160"_s,
                                            u"320"_s, u"640"_s, u"1280"_s, u"2550"_s}
                             << false;
    QTest::newRow("negative") << u"-5"_s << u"3"_s << false
                              << QStringList{u"-5"_s,    u"-15"_s,    u"-45"_s,
                                             u"-135"_s,  u"-405"_s,   u"-1215"_s,
                                             u"-3645"_s, u"-10935"_s, u"-16400"_s}
                              << false;
    QTest::newRow("r = 0") << u"7"_s << u"0"_s << true
                           << QStringList{u"7"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s,
                                          u"0"_s, u"0"_s, u"0"_s, u"7"_s}
                           << false;
    QTest::newRow("r = 1") << u"7"_s << u"1"_s << true
                           << QStringList{u"7"_s, u"7"_s, u"7"_s, u"7"_s, u"7"_s,
                                          u"7"_s, u"7"_s, u"7"_s, u"56"_s}
                           << false;
    QTest::newRow("r = -2") << u"1"_s << u"-2"_s << true
                            << QStringList{u"1"_s,   u"-2"_s, u"4"_s,    u"-8"_s, u"16"_s,
                                           u"-32"_s, u"64"_s, u"-128"_s, u"-85"_s}
                            << false;
    QTest::newRow("r = $FFFFFFFF")
        << u"5"_s << u"$FFFFFFFF"_s << true
        << QStringList{u"5"_s, u"-5"_s, u"5"_s, u"-5"_s, u"5"_s, u"-5"_s, u"5"_s, u"-5"_s, u"0"_s}
        << false;
    QTest::newRow("leading blank kept")
        << u" 7"_s << u"3"_s << false
        << QStringList{u" 7"_s,   u"21"_s,   u"63"_s,    u"189"_s,  u"567"_s,
                       u"1701"_s, u"5103"_s, u"15309"_s, u"22960"_s}
        << false;
    QTest::newRow("hex kept") << u"$A"_s << u"2"_s << false
                              << QStringList{u"$A"_s,  u"20"_s,  u"40"_s,   u"80"_s,  u"160"_s,
                                             u"320"_s, u"640"_s, u"1280"_s, u"2550"_s}
                              << false;
    QTest::newRow("sign and zero kept") << u"+05"_s << u"3"_s << false << keep({u"+05"_s}) << false;
    QTest::newRow("Edit2 emptied") << QString() << u"3"_s << false << keep({QString()}) << true;
    QTest::newRow("Edit3 emptied") << u"7"_s << QString() << true << keep({u"7"_s}) << true;
    QTest::newRow("Edit2 abc") << u"abc"_s << u"3"_s << false << keep({u"abc"_s}) << true;
    QTest::newRow("trailing blank") << u"5 "_s << u"3"_s << false << keep({u"5 "_s}) << true;
    QTest::newRow("unfinished -") << u"-"_s << u"3"_s << false << keep({u"-"_s}) << true;
    QTest::newRow("Edit2 past the range")
        << u"2147483648"_s << u"3"_s << false << keep({u"2147483648"_s}) << true;
    QTest::newRow("Edit3 past the range")
        << u"5"_s << u"2147483648"_s << true << keep({u"5"_s}) << true;
    // A product that leaves the 32-bit range is a failed step: 100 * 20^6.
    QTest::newRow("overflow at stake 7")
        << u"100"_s << u"20"_s << true
        << keep({u"100"_s, u"2000"_s, u"40000"_s, u"800000"_s, u"16000000"_s, u"320000000"_s})
        << true;
    QTest::newRow("negative overflow at stake 7")
        << u"-100"_s << u"20"_s << true
        << keep({u"-100"_s, u"-2000"_s, u"-40000"_s, u"-800000"_s, u"-16000000"_s, u"-320000000"_s})
        << true;
    QTest::newRow("overflow at stake 2")
        << u"-2147483648"_s << u"-1"_s << true << keep({u"-2147483648"_s}) << true;
    QTest::newRow("largest product")
        << u"-1073741824"_s << u"2"_s << true << keep({u"-1073741824"_s, u"-2147483648"_s})
        << true; // stake 3 overflows
    // Every stake fits, their sum does not.
    QTest::newRow("sum overflow") << u"300000000"_s << u"1"_s << true
                                  << keep(QStringList(8, u"300000000"_s)) << true;
    QTest::newRow("largest sum") << u"268435455"_s << u"1"_s << true
                                 << QStringList(8, u"268435455"_s) + QStringList{u"2147483640"_s}
                                 << false;
}

void TestCommands::calculator()
{
    QFETCH(QString, m);
    QFETCH(QString, r);
    QFETCH(bool, lastChangeInEdit3);
    QFETCH(QStringList, fields);
    QFETCH(bool, message);

    // Set the other input quietly, then change the last one: one recalculation.
    QLineEdit *last = lastChangeInEdit3 ? form->edit3 : form->edit2;
    QLineEdit *other = lastChangeInEdit3 ? form->edit2 : form->edit3;
    {
        const QSignalBlocker blockOther(other);
        const QSignalBlocker blockLast(last);
        other->setText(lastChangeInEdit3 ? m : r);
        last->setText(u"#"_s);
    }
    last->setText(lastChangeInEdit3 ? r : m);

    QCOMPARE(calculatorFields(), fields);
    if (message) {
        QCOMPARE(env->onlyBox(), FakeEnvironment::MessageBox(CalculatorMessage));
    } else {
        QVERIFY(env->boxes.isEmpty());
    }
    QCOMPARE(form->edit2->text(), m);
    QCOMPARE(form->edit3->text(), r);
}

void TestCommands::calculatorFollowsTyping()
{
    // Building the window ran no recalculation.
    QVERIFY(env->boxes.isEmpty());

    form->edit2->selectAll();
    QTest::keyClick(form->edit2, Qt::Key_Backspace); // "" : the message at once
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(form->edit4->text(), QString());
    QCOMPARE(form->edit5->text(), u"15"_s);
    QTest::keyClicks(form->edit2, u"10"_s);
    QCOMPARE(calculatorFields().first(), u"10"_s);
    QCOMPARE(calculatorFields().last(), u"32800"_s);

    form->edit3->selectAll();
    QTest::keyClick(form->edit3, Qt::Key_2);
    QCOMPARE(calculatorFields(), (QStringList{u"10"_s, u"20"_s, u"40"_s, u"80"_s, u"160"_s,
                                              u"320"_s, u"640"_s, u"1280"_s, u"2550"_s}));
    QCOMPARE(env->boxes.size(), 1);
}
