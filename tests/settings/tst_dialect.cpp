#include "TestHelpers.h"
#include "TestSettings.h"

#include "common/Cp1251.h"

using namespace trevolo;
using namespace Qt::StringLiterals;

// Writes to apply to an empty document, each {section, key, value}.
using Writes = QList<QStringList>;

void TestSettings::save_data()
{
    QTest::addColumn<Writes>("writes");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty document") << Writes{} << QByteArray();
    QTest::newRow("two entries") << Writes{{u"Common"_s, u"StayOnTop"_s, u"-1"_s},
                                           {u"Common"_s, u"AlphaBlendValue"_s, u"100"_s}}
                                 << Bytes("\r\n[Common]\r\n\r\n"
                                          "  StayOnTop=\"-1\"\r\n"
                                          "  AlphaBlendValue=\"100\"\r\n");
    QTest::newRow("empty value") << Writes{{u"S"_s, u"k"_s, QString()}}
                                 << Bytes("\r\n[S]\r\n\r\n  k=\"\"\r\n");
    QTest::newRow("nothing escaped") << Writes{{u"S"_s, u"k"_s, u"say \"hi\"\r\nnext line"_s}}
                                     << Bytes("\r\n[S]\r\n\r\n  k=\"say \"hi\"\r\nnext line\"\r\n");
    QTest::newRow("sections in order of creation")
        << Writes{{u"B"_s, u"x"_s, u"1"_s}, {u"A"_s, u"y"_s, u"2"_s}, {u"b"_s, u"z"_s, u"3"_s}}
        << Bytes("\r\n[B]\r\n\r\n  x=\"1\"\r\n  z=\"3\"\r\n\r\n[A]\r\n\r\n  y=\"2\"\r\n");
    QTest::newRow("Cyrillic in code page 1251")
        << Writes{{u"Русский"_s, u"Ключ"_s, u"да"_s}}
        << Bytes("\r\n[\xD0\xF3\xF1\xF1\xEA\xE8\xE9]\r\n\r\n  \xCA\xEB\xFE\xF7=\"\xE4\xE0\"\r\n");
}

void TestSettings::save()
{
    QFETCH(Writes, writes);
    QFETCH(QByteArray, expected);

    TINIView document;
    for (const QStringList &write : writes)
        document.WriteString(write.at(0), write.at(1), write.at(2));
    document.SaveToFile(path(u"out.ini"_s));
    QCOMPARE(ReadRaw(path(u"out.ini"_s)), expected);
}

void TestSettings::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("blank lines only") << Bytes("\r\n\r\n\n") << QStringList{};
    QTest::newRow("as written") << Bytes("\r\n[Common]\r\n\r\n  StayOnTop=\"-1\"\r\n"
                                         "  AlphaBlendValue=\"100\"\r\n")
                                << QStringList{u"[Common]"_s, u"StayOnTop=-1"_s,
                                               u"AlphaBlendValue=100"_s};
    QTest::newRow("LF line ends") << Bytes("[Common]\n  StayOnTop=\"-1\"\n  Level=\"2\"\n")
                                  << QStringList{u"[Common]"_s, u"StayOnTop=-1"_s, u"Level=2"_s};
    QTest::newRow("no line end at the end")
        << Bytes("[S]\r\n  a=\"1\"") << QStringList{u"[S]"_s, u"a=1"_s};

    // The first two characters of an entry line are skipped, whatever they are.
    QTest::newRow("no indentation")
        << Bytes("[Common]\r\nStayOnTop=\"-1\"\r\n") << QStringList{u"[Common]"_s, u"ayOnTop=-1"_s};
    QTest::newRow("any indentation")
        << Bytes("[S]\r\n\t#key=\"v\"\r\n") << QStringList{u"[S]"_s, u"key=v"_s};
    QTest::newRow("equals first") << Bytes("[S]\r\n=\"v\"\r\n") << QStringList{u"[S]"_s};
    QTest::newRow("equals second") << Bytes("[S]\r\n =\"v\"\r\n") << QStringList{u"[S]"_s};
    QTest::newRow("equals third") << Bytes("[S]\r\n  =\"v\"\r\n") << QStringList{u"[S]"_s};
    QTest::newRow("blanks in a key count")
        << Bytes("[S]\r\n   k =\"v\"\r\n") << QStringList{u"[S]"_s, u" k =v"_s};
    QTest::newRow("key ends at the first equals")
        << Bytes("[S]\r\n  a=b=\"c\"\r\n") << QStringList{u"[S]"_s, u"a=c"_s};
    QTest::newRow("opening mark inside a value")
        << Bytes("[S]\r\n  a=\"x=\"y\"\r\n") << QStringList{u"[S]"_s, u"a=x=\"y"_s};
    QTest::newRow("text after the closing quote dropped")
        << Bytes("[S]\r\n  a=\"1\" ; note\r\n") << QStringList{u"[S]"_s, u"a=1"_s};

    // Headers.
    QTest::newRow("blank after the bracket is no header")
        << Bytes("[A]\r\n  k=\"1\"\r\n[B] \r\n  m=\"2\"\r\n")
        << QStringList{u"[A]"_s, u"k=1"_s, u"m=2"_s};
    QTest::newRow("blank before the bracket is no header")
        << Bytes("[A]\r\n  k=\"1\"\r\n [B]\r\n") << QStringList{u"[A]"_s, u"k=1"_s};
    QTest::newRow("empty name") << Bytes("[]\r\n  k=\"v\"\r\n") << QStringList{u"[]"_s, u"k=v"_s};
    QTest::newRow("single brackets") << Bytes("[\r\n]\r\n[abc\r\n") << QStringList{};
    QTest::newRow("bracket inside a name") << Bytes("[a]b]\r\n") << QStringList{u"[a]b]"_s};
    QTest::newRow("repeated sections") << Bytes("[C]\r\n  a=\"1\"\r\n[c]\r\n  a=\"2\"\r\n")
                                       << QStringList{u"[C]"_s, u"a=1"_s, u"[c]"_s, u"a=2"_s};
    QTest::newRow("repeated key keeps its place")
        << Bytes("[S]\r\n  a=\"1\"\r\n  b=\"2\"\r\n  A=\"3\"\r\n")
        << QStringList{u"[S]"_s, u"a=3"_s, u"b=2"_s};

    // Values over several lines, and the lines between entries.
    QTest::newRow("multi-line value")
        << Bytes("[S]\r\n  a=\"line 1\r\nsays \"hi\"\r\nend\"\r\n  b=\"2\"\r\n")
        << QStringList{u"[S]"_s, u"a=line 1\r\nsays \"hi\"\r\nend"_s, u"b=2"_s};
    QTest::newRow("multi-line value, LF")
        << Bytes("[S]\n  a=\"one\ntwo\"\n") << QStringList{u"[S]"_s, u"a=one\r\ntwo"_s};
    QTest::newRow("comment without a quote dropped")
        << Bytes("[S]\r\n  a=\"1\"\r\n; comment\r\n\r\n  b=\"2\"\r\n")
        << QStringList{u"[S]"_s, u"a=1"_s, u"b=2"_s};
    QTest::newRow("comment with a quote joins the value")
        << Bytes("[S]\r\n  a=\"1\"\r\n; say \"hi\" now\r\n")
        << QStringList{u"[S]"_s, u"a=1\"\r\n; say \"hi"_s};
    QTest::newRow("no closing quote")
        << Bytes("[S]\r\n  a=\"abc\r\nmore\r\n") << QStringList{u"[S]"_s, u"a="_s};
    QTest::newRow("header inside a value")
        << Bytes("[S]\r\n  a=\"1\r\n[T]\r\n2\"\r\n") << QStringList{u"[S]"_s, u"a="_s, u"[T]"_s};
    QTest::newRow("entry inside a value")
        << Bytes("[S]\r\n  a=\"1\r\n  b=\"2\"\r\n") << QStringList{u"[S]"_s, u"a="_s, u"b=2"_s};
    QTest::newRow("entry before the first header")
        << Bytes("  a=\"1\"\r\n  x=\"2\r\n3\"\r\n[S]\r\n  b=\"2\"\r\n")
        << QStringList{u"[S]"_s, u"b=2"_s};

    // Line ends and Ctrl-Z.
    QTest::newRow("lone CR dropped")
        << Bytes("[S]\r\n  a=\"x\ry\"\r\n") << QStringList{u"[S]"_s, u"a=xy"_s};
    QTest::newRow("CR CR LF") << Bytes("[S]\r\r\n  a=\"1\"\r\r\n")
                              << QStringList{u"[S]"_s, u"a=1"_s};
    QTest::newRow("Ctrl-Z at a line start ends the file")
        << Bytes("[S]\r\n  a=\"1\"\r\n\x1A\r\n  b=\"2\"\r\n") << QStringList{u"[S]"_s, u"a=1"_s};
    QTest::newRow("Ctrl-Z at the file start") << Bytes("\x1A[S]\r\n") << QStringList{};
    QTest::newRow("Ctrl-Z ends a line") << Bytes("[S]\r\n  a=\"1\"\x1A"
                                                 "\"junk\"\r\n  b=\"2\"\r\n")
                                        << QStringList{u"[S]"_s, u"a=1"_s, u"b=2"_s};
    QTest::newRow("Ctrl-Z ends a header line") << Bytes("[S]\x1A"
                                                        "x\r\n[T\x1A]\r\n")
                                               << QStringList{u"[S]"_s};
    QTest::newRow("value finished at Ctrl-Z")
        << Bytes("[S]\r\n  a=\"1\r\n2\"\r\n\x1A") << QStringList{u"[S]"_s, u"a=1\r\n2"_s};

    // Texts.
    QTest::newRow("NUL bytes") << Bytes("[S]\r\n  a=\"x\0y\"\r\n")
                               << QStringList{u"[S]"_s, u"a=x"_s + QChar(0) + u"y"_s};
    QTest::newRow("code page 1251")
        << Bytes("[\xD0\xF3\xF1\xF1\xEA\xE8\xE9]\r\n  \xCA\xEB\xFE\xF7=\"\xE4\xE0\"\r\n")
        << QStringList{u"[Русский]"_s, u"Ключ=да"_s};
}

void TestSettings::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);

    WriteBytes(path(u"in.ini"_s), file);
    TINIView document;
    document.LoadFromFile(path(u"in.ini"_s));
    QCOMPARE(Dump(document), expected);

    QStringList names;
    for (const auto &section : document.Sections())
        names << section->Name();
    QCOMPARE(document.SectionNames(), names);
}

void TestSettings::roundTripAllBytes_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");

    // Every byte but the line breaks and Ctrl-Z; a key cannot hold "=".
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n' && b != 26)
            all.append(char(b));
    }
    QByteArray allButEquals = all;
    allButEquals.replace('=', QByteArray());

    QTest::newRow("every byte in a value") << QByteArray("S") << QByteArray("k") << all;
    QTest::newRow("every byte in a key") << QByteArray("S") << allButEquals << QByteArray("v");
    QTest::newRow("every byte in a section name") << all << QByteArray("k") << QByteArray("v");
    QTest::newRow("quotes only") << QByteArray("S") << QByteArray("k") << QByteArray("\"\"\"");
    QTest::newRow("value with an opening mark")
        << QByteArray("S") << QByteArray("k") << QByteArray("=\"x\"=\"");
    QTest::newRow("brackets") << QByteArray("[x]") << QByteArray("[k]") << QByteArray("[v]");
}

void TestSettings::roundTripAllBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);

    const QByteArray file = "\r\n[" + name + "]\r\n\r\n  " + key + "=\"" + value + "\"\r\n";
    WriteBytes(path(u"in.ini"_s), file);

    TINIView document;
    document.LoadFromFile(path(u"in.ini"_s));
    QCOMPARE(document.Sections().size(), size_t(1));
    const TSection &section = *document.Sections().front();
    QCOMPARE(ToCp1251(section.Name()), name);
    QCOMPARE(section.Keys().size(), 1);
    QCOMPARE(ToCp1251(section.Keys().at(0)), key);
    QCOMPARE(ToCp1251(section.Values().at(0)), value);

    document.SaveToFile(path(u"out.ini"_s));
    QCOMPARE(ReadRaw(path(u"out.ini"_s)), file);
}

void TestSettings::roundTripMultiLineValue()
{
    const QString value = u"first \"quoted\"\r\n\r\nthird = x \"\r\n\"last\""_s;
    TINIView document;
    document.WriteString(u"S", u"before", u"1"_s);
    document.WriteString(u"S", u"multi", value);
    document.WriteString(u"S", u"after", u"2"_s);
    document.WriteString(u"T", u"empty", QString());
    document.SaveToFile(path(u"a.ini"_s));

    TINIView loaded;
    loaded.LoadFromFile(path(u"a.ini"_s));
    QCOMPARE(Dump(loaded), Dump(document));
    QCOMPARE(loaded.ReadString(u"S", u"multi", QString()), value);
}

void TestSettings::loadAppends()
{
    WriteBytes(path(u"a.ini"_s), Bytes("[Common]\r\n  a=\"1\"\r\n"));
    WriteBytes(path(u"b.ini"_s), Bytes("[Other]\r\n  b=\"2\"\r\n[common]\r\n  a=\"3\"\r\n"));

    TINIView document;
    document.LoadFromFile(path(u"a.ini"_s));
    document.LoadFromFile(path(u"b.ini"_s));
    QCOMPARE(Dump(document), (QStringList{u"[Common]"_s, u"a=1"_s, u"[Other]"_s, u"b=2"_s,
                                          u"[common]"_s, u"a=3"_s}));
    QCOMPARE(document.ReadString(u"COMMON", u"a", QString()), u"1"_s);
}
