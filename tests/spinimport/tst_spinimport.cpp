#include "common/Cp1251.h"
#include "history/SpinExport.h"
#include "history/SpinImport.h"
#include "history/SpinSource.h"

#include <QStringEncoder>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

QByteArray Utf16(const QString &text, bool bigEndian)
{
    return QStringEncoder(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE,
                          QStringEncoder::Flag::WriteBom)
        .encode(text);
}

QList<int> AsList(const std::vector<quint8> &spins)
{
    return QList<int>(spins.begin(), spins.end());
}

} // namespace

class TestSpinImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readSpins_data();
    void readSpins();
    void refused_data();
    void refused();
    void exportThenImport_data();
    void exportThenImport();
};

void TestSpinImport::readSpins_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("skipRows");
    QTest::addColumn<ImportOrder>("order");
    QTest::addColumn<QList<int>>("spins");
    QTest::addColumn<ImportEncoding>("encoding");
    QTest::addColumn<ImportSeparator>("separator");
    QTest::addColumn<QString>("summary");

    using E = ImportEncoding;
    using S = ImportSeparator;
    // Without a summary: every number taken, none left out.
    const auto row = [](const char *name, const QByteArray &bytes, const QList<int> &spins,
                        E encoding, S separator, QString summary = {}, int skipRows = 0,
                        ImportOrder order = ImportOrder::Auto) {
        if (summary.isEmpty())
            summary = u"Чисел: %1; пропущено: 0"_s.arg(spins.size());
        QTest::newRow(name) << bytes << skipRows << order << spins << encoding << separator
                            << summary;
    };
    const QString header = u"№;Число;Цвет\r\n1;17;красное\r\n2;0;зеро\r\n"_s;
    row("utf-8, one per line", "1\n2\n3\n", {1, 2, 3}, E::Utf8, S::Lines);
    row("utf-8 bom, header, ;", "\xEF\xBB\xBF" + header.toUtf8(), {17, 0}, E::Utf8, S::Semicolon);
    row("utf-16 le bom", Utf16(header, false), {17, 0}, E::Utf16, S::Semicolon);
    row("utf-16 be bom, tabs", Utf16(u"Номер\tN\n36\t1\n5\t2\n"_s, true), {36, 5}, E::Utf16,
        S::Tab);
    row("cp1251, named column first",
        ToCp1251(u"Время,RESULT,Ставка\n12:00,7,10\n12:01,8,20\n"_s), {7, 8}, E::Cp1251, S::Comma);
    row("single line, commas: newest first", "32, 15, 19", {19, 15, 32}, E::Utf8, S::Comma);
    row("single line, blanks: newest first", "32 15 19 4\n", {4, 19, 15, 32}, E::Utf8, S::Blanks);
    row("single line, oldest first chosen", "32 15 19", {32, 15, 19}, E::Utf8, S::Blanks, {}, 0,
        ImportOrder::OldestFirst);
    row("a caption skipped", "Последние числа:\n1 2 3", {3, 2, 1}, E::Utf8, S::Blanks, {}, 1);
    row("quoted csv with a header",
        "Spin,\"Note, with a comma\"\n\"5\",\"a, \"\"b\"\"\"\n\"36\",x\n", {5, 36}, E::Utf8,
        S::Comma);
    row("a running count is no spin column", "5;1\n7;2\n9;3\n", {5, 7, 9}, E::Utf8, S::Semicolon);
    row("the last column of numbers", "a;3;4\nb;5;6\n", {4, 6}, E::Utf8, S::Semicolon);
    row("cells with words, skipped cells", "5\nx\n00\n17 red\n17к\n3/4\n\n-5\n", {5, 17, 17},
        E::Utf8, S::Blanks,
        u"Чисел: 3; пропущено: 4\nстр. 2: «x»; стр. 3: «00» — двойное зеро: колесо с одним зеро; стр. 6: «3/4»; стр. 8: «-5»"_s);
    row("json numbers", "[3, 5, \"17\", 40, null]", {3, 5, 17}, E::Utf8, S::Auto,
        u"Чисел: 3; пропущено: 2\nстр. 4: «40»; стр. 5: «null»"_s);
    row("json objects", R"([{"time":"x","Result":7},{"time":"y","Result":8}])", {7, 8}, E::Utf8,
        S::Auto);
    row("json list in an object", R"({"spins":[{"n":1}, {"n":2}]})", {2, 1}, E::Utf8, S::Auto, {},
        0, ImportOrder::NewestFirst);
}

void TestSpinImport::readSpins()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, skipRows);
    QFETCH(ImportOrder, order);
    ImportOptions options;
    options.skipRows = skipRows;
    options.order = order;
    const ImportResult result = ReadSpins(bytes, options);
    QCOMPARE(result.error, QString());
    QTEST(AsList(result.spins), "spins");
    QTEST(result.encoding, "encoding");
    if (!result.json)
        QTEST(result.separator, "separator");
    QTEST(ImportSummary(result), "summary");
}

void TestSpinImport::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("error");

    QTest::newRow("empty") << " \n\n"_ba << -1 << u"Текст пуст: импортировать нечего"_s;
    QTest::newRow("no numbers") << "abc\ndef\n"_ba << -1 << u"Ни в одной колонке нет чисел 0..36"_s;
    QTest::newRow("no such column") << "1\n00\n"_ba << 1 << u"Колонки 2 нет: их 1"_s;
    QTest::newRow("a column without numbers") << "5;x\n6;00\n"_ba << 1 << u"Чисел 0..36 не найдено"_s;
    QTest::newRow("json without numbers") << "[40, \"00\"]"_ba << -1 << u"Чисел 0..36 не найдено"_s;
    QTest::newRow("broken json") << "[1, 2"_ba << -1
                                 << u"JSON не читается: invalid termination by number (знак 6)"_s;
    QTest::newRow("json without a list") << R"({"a": 1})"_ba << -1 << u"В JSON нет списка чисел"_s;
    QTest::newRow("cancelled") << QByteArray("1\n").repeated(70000) << -2 << u"Импорт отменён"_s;
}

void TestSpinImport::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, column);
    ImportOptions options;
    options.column = std::max(column, -1);
    int calls = 0;
    // -2: cancelled at the second report of progress.
    const ImportResult result = ReadSpins(bytes, options, [&](int) { return column != -2 || ++calls < 2; });
    QTEST(result.error, "error");
    QVERIFY(result.spins.empty());
}

void TestSpinImport::exportThenImport_data()
{
    QTest::addColumn<ExportFormat>("format");
    for (const QString &filter : ExportFilters())
        QTest::newRow(qPrintable(filter)) << ExportFormatOf(filter);
}

// Random histories with lines that hold no spin: what is exported imports
// as the same spins, and the other lines are counted as left out.
void TestSpinImport::exportThenImport()
{
    QFETCH(ExportFormat, format);
    for (quint32 seed = 1; seed <= 20; ++seed) {
        SpinSource source(seed);
        QString history;
        std::vector<quint8> spins;
        const int count = int(seed * seed % 97) + 1;
        for (int i = 0; i < count; ++i) {
            spins.push_back(quint8(source.Draw()));
            history += QString::number(spins.back()) + (i % 7 == 3 ? u"\nx\n\n"_s : u"\n"_s);
        }
        const ExportedSpins exported = ExportSpins(history, format);
        QCOMPARE(exported.spins, qint64(count));
        QCOMPARE(exported.leftOut, qint64((count + 3) / 7));
        const ImportResult result = ReadSpins(exported.bytes, ImportOptions());
        QCOMPARE(result.error, QString());
        QCOMPARE(AsList(result.spins), AsList(spins));
    }
}

QTEST_GUILESS_MAIN(TestSpinImport)
#include "tst_spinimport.moc"
