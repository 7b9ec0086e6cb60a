#include "TestHelpers.h"
#include "TestSettings.h"

using namespace trevolo;
using namespace Qt::StringLiterals;

void TestSettings::caseBlindMatching_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("otherSection");
    QTest::addColumn<QString>("otherKey");

    QTest::newRow("Latin") << u"Common"_s << u"StayOnTop"_s << u"COMMON"_s << u"stayontop"_s;
    QTest::newRow("Cyrillic") << u"Русский"_s << u"Ключ"_s << u"РУССКИЙ"_s << u"кЛЮЧ"_s;
    QTest::newRow("Cyrillic yo") << u"Ёлка"_s << u"ёж"_s << u"ёЛКА"_s << u"ЁЖ"_s;
    QTest::newRow("Cyrillic outside Russian") << u"Їжак"_s << u"Ґанок"_s << u"їЖАК"_s << u"ґАНОК"_s;
    QTest::newRow("blanks inside") << u"My Section"_s << u"a b"_s << u"my section"_s << u"A B"_s;
}

void TestSettings::caseBlindMatching()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, otherSection);
    QFETCH(QString, otherKey);

    TINIView document;
    document.WriteString(section, key, u"1"_s);
    QCOMPARE(document.ReadString(otherSection, otherKey, u"default"_s), u"1"_s);
    QCOMPARE(document.FindSection(otherSection), document.FindSection(section));

    // A write in other letter case changes the stored entry, which keeps its
    // own letter case.
    document.WriteString(otherSection, otherKey, u"2"_s);
    QCOMPARE(Dump(document), (QStringList{u'[' + section + u']', key + u"=2"_s}));

    // Blanks are not trimmed: they make another name.
    QCOMPARE(document.ReadString(u' ' + otherSection, otherKey, u"default"_s), u"default"_s);
    QCOMPARE(document.ReadString(otherSection, otherKey + u' ', u"default"_s), u"default"_s);

    // The same holds for a document read from a code page 1251 file.
    document.SaveToFile(path(u"case.ini"_s));
    TINIView loaded;
    loaded.LoadFromFile(path(u"case.ini"_s));
    QCOMPARE(loaded.ReadString(otherSection, otherKey, u"default"_s), u"2"_s);
}

void TestSettings::repeatedSections()
{
    WriteBytes(path(u"in.ini"_s), Bytes("[Common]\r\n  a=\"1\"\r\n[COMMON]\r\n  a=\"2\"\r\n"
                                        "  b=\"3\"\r\n"));
    TINIView document;
    document.LoadFromFile(path(u"in.ini"_s));
    QCOMPARE(document.SectionNames(), (QStringList{u"Common"_s, u"COMMON"_s}));
    QCOMPARE(document.FindSection(u"common"), document.Sections().front().get());

    // Reads and writes see only the first section of the name.
    QCOMPARE(document.ReadString(u"Common", u"a", u"none"_s), u"1"_s);
    QCOMPARE(document.ReadString(u"Common", u"b", u"none"_s), u"none"_s);
    document.WriteString(u"common", u"a", u"4"_s);
    document.WriteString(u"common", u"b", u"5"_s);

    document.SaveToFile(path(u"out.ini"_s));
    QCOMPARE(ReadRaw(path(u"out.ini"_s)), Bytes("\r\n[Common]\r\n\r\n  a=\"4\"\r\n  b=\"5\"\r\n"
                                                "\r\n[COMMON]\r\n\r\n  a=\"2\"\r\n  b=\"3\"\r\n"));
}

void TestSettings::emptyValueIsAValue()
{
    TINIView document;
    document.WriteString(u"S", u"k", QString());
    QCOMPARE(document.ReadString(u"S", u"k", u"default"_s), QString());
    QCOMPARE(document.ReadInteger(u"S", u"k", 7), 7);
    QCOMPARE(document.ReadBool(u"S", u"k", true), true);
    QCOMPARE(document.ReadBool(u"S", u"k", false), false);
}

void TestSettings::clear()
{
    TINIView document;
    document.WriteString(u"A", u"k", u"1"_s);
    document.WriteString(u"B", u"k", u"2"_s);
    document.Clear();
    QVERIFY(document.Sections().empty());
    QVERIFY(document.SectionNames().isEmpty());
    QCOMPARE(document.FindSection(u"A"), nullptr);
    QCOMPARE(document.ReadString(u"A", u"k", u"none"_s), u"none"_s);

    document.WriteString(u"B", u"k", u"3"_s);
    QCOMPARE(Dump(document), (QStringList{u"[B]"_s, u"k=3"_s}));
}

void TestSettings::readBool_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    QTest::newRow("missing, default true") << false << QString() << true << true;
    QTest::newRow("missing, default false") << false << QString() << false << false;
    QTest::newRow("-1") << true << u"-1"_s << false << true;
    QTest::newRow("1") << true << u"1"_s << false << true;
    QTest::newRow("0") << true << u"0"_s << true << false;
    QTest::newRow("true") << true << u"true"_s << false << true;
    QTest::newRow("FALSE") << true << u"FALSE"_s << true << false;
    QTest::newRow("yes") << true << u"yes"_s << true << true;
    QTest::newRow("empty") << true << QString() << true << true;
    QTest::newRow("fraction") << true << u"2.5"_s << false << true;
    QTest::newRow("zero fraction") << true << u"0.000"_s << true << false;
    QTest::newRow("leading point") << true << u".5"_s << false << true;
    QTest::newRow("negative zero") << true << u"-0"_s << true << false;
    QTest::newRow("exponent") << true << u"1e3"_s << false << true;
    QTest::newRow("zero with exponent") << true << u"0E+9"_s << true << false;
    QTest::newRow("tiny but not zero") << true << u"1e-400"_s << false << true;
    QTest::newRow("blanks around") << true << u" 7 "_s << false << true;
    QTest::newRow("point only") << true << u"."_s << true << true;
    QTest::newRow("exponent without digits") << true << u"1e"_s << false << false;
    QTest::newRow("hexadecimal") << true << u"$1"_s << false << false;
    QTest::newRow("nan") << true << u"nan"_s << false << false;
    QTest::newRow("inf") << true << u"inf"_s << false << false;
    QTest::newRow("word with blank") << true << u" true"_s << false << false;
    QTest::newRow("decimal comma") << true << u"1,5"_s << false << false;
}

void TestSettings::readBool()
{
    QFETCH(bool, stored);
    QFETCH(QString, text);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);

    TINIView document;
    if (stored)
        document.WriteString(u"S", u"k", text);
    else
        document.WriteString(u"S", u"other", u"0"_s);
    QCOMPARE(document.ReadBool(u"S", u"k", defaultValue), expected);

    // What WriteBool stores is "-1" or "0", and reads back the same.
    document.WriteBool(u"S", u"k", expected);
    QCOMPARE(document.ReadString(u"S", u"k", QString()), expected ? u"-1"_s : u"0"_s);
    QCOMPARE(document.ReadBool(u"S", u"k", !expected), expected);
}

void TestSettings::readInteger_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("expected");

    // The default is 55 throughout.
    QTest::newRow("missing") << false << QString() << 55;
    QTest::newRow("100") << true << u"100"_s << 100;
    QTest::newRow("leading blank") << true << u" 42"_s << 42;
    QTest::newRow("negative") << true << u"-7"_s << -7;
    QTest::newRow("hexadecimal") << true << u"$1F"_s << 31;
    QTest::newRow("32-bit pattern") << true << u"0xFFFFFFFF"_s << -1;
    QTest::newRow("trailing text") << true << u"12abc"_s << 55;
    QTest::newRow("trailing blank") << true << u"12 "_s << 55;
    QTest::newRow("empty") << true << QString() << 55;
    QTest::newRow("too large") << true << u"2147483648"_s << 55;
    QTest::newRow("smallest") << true << u"-2147483648"_s << qint32(-2147483647 - 1);
    QTest::newRow("fraction") << true << u"1.0"_s << 55;
}

void TestSettings::readInteger()
{
    QFETCH(bool, stored);
    QFETCH(QString, text);
    QFETCH(qint32, expected);

    TINIView document;
    if (stored)
        document.WriteString(u"S", u"k", text);
    QCOMPARE(document.ReadInteger(u"S", u"k", 55), expected);

    // What WriteInteger stores reads back as the same number.
    document.WriteInteger(u"S", u"k", expected);
    QCOMPARE(document.ReadInteger(u"S", u"k", 0), expected);
}
