#include "TestCommon.h"

#include "common/Cp1251.h"
#include "common/Error.h"
#include "common/IntegerText.h"
#include "common/Lines.h"
#include "common/RussianPlural.h"

#include <QTest>

using namespace trevolo;

void TestCommon::integerRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "7" << true << 7;
    QTest::newRow("leading blanks") << "   7" << true << 7;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("minus") << "-7" << true << -7;
    QTest::newRow("blanks then sign") << "  -12" << true << -12;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("many leading zeros") << QString(60, u'0') + QStringLiteral("36") << true << 36;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("above max") << "2147483648" << false << 0;
    QTest::newRow("below min") << "-2147483649" << false << 0;
    QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    QTest::newRow("dollar hex") << "$1F" << true << 31;
    QTest::newRow("x hex") << "x1f" << true << 31;
    QTest::newRow("X hex") << "XA" << true << 10;
    QTest::newRow("0x hex") << "0x10" << true << 16;
    QTest::newRow("0X hex") << "0XfF" << true << 255;
    QTest::newRow("hex pattern -1") << "$FFFFFFFF" << true << -1;
    QTest::newRow("hex pattern min") << "$80000000" << true << int(-2147483648LL);
    QTest::newRow("hex too wide") << "$100000000" << false << 0;
    QTest::newRow("hex leading zeros") << "$0000000000FF" << true << 255;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("blank sign hex") << " +0x7" << true << 7;
    QTest::newRow("dollar alone") << "$" << false << 0;
    QTest::newRow("0x alone") << "0x" << false << 0;
    QTest::newRow("hex bad digit") << "$1G" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("two signs") << "+-1" << false << 0;
    QTest::newRow("trailing blank") << "7 " << false << 0;
    QTest::newRow("blank after sign") << "- 7" << false << 0;
    QTest::newRow("tab is no blank") << "\t7" << false << 0;
    QTest::newRow("non-breaking space") << u"\u00a07"_qs << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("digits then letters") << "12abc" << false << 0;
    QTest::newRow("decimal point") << "1.0" << false << 0;
    QTest::newRow("arabic-indic digit") << u"\u0663"_qs << false << 0;
    QTest::newRow("fullwidth digit") << u"\uff17"_qs << false << 0;
    QTest::newRow("nul inside") << QString::fromUtf16(u"1\u0000", 2) << false << 0;
}

void TestCommon::integerRule()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);

    const auto parsed = TryStrToInt(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok) {
        QCOMPARE(*parsed, value);
        QCOMPARE(StrToInt(text), value);
    } else {
        QVERIFY_THROWS_EXCEPTION(ConvertError, StrToInt(text));
    }
}

void TestCommon::refusedTextNamesItself()
{
    try {
        StrToInt(u"12x");
        QFAIL("no error raised");
    } catch (const Error &error) {
        QCOMPARE(error.message(), QStringLiteral("'12x' is not a valid integer value"));
    }
}

void TestCommon::decimalIsWrittenPlainly_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("negative") << -5 << "-5";
    QTest::newRow("large") << 1234567 << "1234567";
    QTest::newRow("min") << int(-2147483648LL) << "-2147483648";
}

void TestCommon::decimalIsWrittenPlainly()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(IntToStr(value), text);
    QCOMPARE(StrToInt(IntToStr(value)), value);
}

void TestCommon::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = FromCp1251(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(ToCp1251(text), all);
}

void TestCommon::cyrillicIsCp1251()
{
    // "Ёж" in code page 1251.
    QCOMPARE(ToCp1251(u"Ёж"), QByteArray("\xA8\xE6"));
    QCOMPARE(FromCp1251("\xC0\xFF"), u"Ая"_qs);
}

void TestCommon::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("one without break") << "5" << QStringList{"5"};
    QTest::newRow("one with CR LF") << "5\r\n" << QStringList{"5"};
    QTest::newRow("lone break") << "\n" << QStringList{""};
    QTest::newRow("two breaks") << "\n\n" << QStringList{"", ""};
    QTest::newRow("mixed breaks") << "1\r\n2\r3\n4" << QStringList{"1", "2", "3", "4"};
    QTest::newRow("CR CR LF") << "1\r\r\n2" << QStringList{"1", "", "2"};
    QTest::newRow("LF CR") << "1\n\r2" << QStringList{"1", "", "2"};
    QTest::newRow("blank last line") << "1\n " << QStringList{"1", " "};
}

void TestCommon::lines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QStringList seen;
    ForEachLine(text, [&seen](QStringView line) { seen.append(line.toString()); });
    QCOMPARE(seen, expected);
    QCOMPARE(CountLines(text), expected.size());
}

void TestCommon::russianPlural_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("expected");
    const std::pair<qint64, const char16_t *> rows[] = {
        {0, u"0 спинов"},     {1, u"1 спин"},
        {2, u"2 спина"},      {4, u"4 спина"},
        {5, u"5 спинов"},     {11, u"11 спинов"},
        {12, u"12 спинов"},   {14, u"14 спинов"},
        {21, u"21 спин"},     {22, u"22 спина"},
        {25, u"25 спинов"},   {101, u"101 спин"},
        {111, u"111 спинов"}, {1000000, u"1000000 спинов"},
        {-3, u"-3 спина"}};
    for (const auto &[count, expected] : rows)
        QTest::newRow(QByteArray::number(count).constData())
            << count << QString::fromUtf16(expected);
}

void TestCommon::russianPlural()
{
    QFETCH(qint64, count);
    QFETCH(QString, expected);
    QCOMPARE(Counted(count, u"спин", u"спина", u"спинов"), expected);
}

QTEST_GUILESS_MAIN(TestCommon)
