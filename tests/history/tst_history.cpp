#include "support/TestFiles.h"
#include "support/TestHistories.h"

#include "common/Lines.h"
#include "history/HistoryFile.h"
#include "history/HistoryText.h"
#include "history/SpinSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result.append(char(v));
    return result;
}

// The paths of a folder laid out by MakeFailingPaths that fail even with
// every right, and the errno each gives: a folder, a path through a regular
// file, a missing folder; for reading, also a missing file.
void FailingPathRows(bool forReading)
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expectedErrno");

    if (forReading)
        QTest::newRow("missing file") << u"missing.txt"_s << ENOENT;
    QTest::newRow("folder") << u"folder"_s << EISDIR;
    QTest::newRow("parent is a file") << u"plain.txt/spins.txt"_s << ENOTDIR;
    QTest::newRow("missing folder") << u"nowhere/spins.txt"_s << ENOENT;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spinSequence_data();
    void spinSequence();

    void appendRule_data();
    void appendRule();
    void generatedSpinsKeepTheText_data();
    void generatedSpinsKeepTheText();

    void normaliseLineBreaks_data();
    void normaliseLineBreaks();
    void fileBytes_data();
    void fileBytes();
    void everyByteSurvivesTheFileForm();

    void saveThenLoad_data();
    void saveThenLoad();
    void lfOnlyFileIsSavedBackWithCrLf();
    void binaryContentLoads();
    void saveReplacesExistingFile();
    void loadErrors_data();
    void loadErrors();
    void saveErrors_data();
    void saveErrors();
    void relativePathIsReportedInFull();
    void oversizedFileIsRefused_data();
    void oversizedFileIsRefused();
    void failedSaveKeepsTheOldFile();
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();
    void folderWithoutNewFilesSavesInPlace();
};

void TestHistory::spinSequence_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QList<int>>("firstTen");
    QTest::addColumn<quint32>("stateAfterTen");

    QTest::newRow("seed 0") << quint32(0) << QList<int>{0, 1, 31, 7, 10, 24, 11, 5, 13, 15}
                            << quint32(0x6cf8f4be);
    QTest::newRow("seed 2^32-1") << quint32(0xFFFFFFFF)
                                 << QList<int>{35, 7, 19, 4, 32, 0, 17, 35, 11, 28}
                                 << quint32(0xc4f329c5);
    QTest::newRow("seed 20240601")
        << quint32(20240601) << QList<int>{30, 24, 32, 7, 33, 16, 33, 29, 5, 34}
        << quint32(0xf0b819cf);
}

void TestHistory::spinSequence()
{
    QFETCH(quint32, seed);
    QFETCH(QList<int>, firstTen);
    QFETCH(quint32, stateAfterTen);

    SpinSource source(seed);
    QCOMPARE(source.state(), seed);
    QList<int> drawn;
    for (int i = 0; i < 10; ++i)
        drawn.append(source.Draw());
    QCOMPARE(drawn, firstTen);
    QCOMPARE(source.state(), stateAfterTen);

    // A long run against the 64-bit recomputation, state and result.
    ReferenceSource reference{stateAfterTen};
    for (int i = 0; i < 100000; ++i) {
        const int expected = reference.draw();
        const int actual = source.Draw();
        if (actual != expected || source.state() != reference.state)
            QFAIL(qPrintable(QStringLiteral("draw %1 differs").arg(i + 11)));
    }
}

void TestHistory::appendRule_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty history") << QString() << u"5"_s << u"5\n"_s;
    QTest::newRow("ends with a break") << u"5\n"_s << u"17"_s << u"17\n"_s;
    QTest::newRow("typed without final break") << u"12"_s << u"5"_s << u"\n5"_s;
    QTest::newRow("only a break") << u"\n"_s << u"0"_s << u"0\n"_s;
    QTest::newRow("ends with a lone CR") << u"7\r"_s << u"3"_s << u"3\n"_s;
    QTest::newRow("last line blank-only") << u"5\n "_s << u"3"_s << u"\n3"_s;
}

void TestHistory::appendRule()
{
    QFETCH(QString, current);
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(TextToAppend(EndsWithLineBreak(current), line), expected);
}

void TestHistory::generatedSpinsKeepTheText_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expectedLines");
    QTest::addColumn<bool>("endsWithBreak");

    const QString hundred = Numbers(100);
    QTest::newRow("5 into empty") << QString() << 5 << 5 << true;
    QTest::newRow("5 after typed 12") << u"12"_s << 5 << 6 << false;
    QTest::newRow("50 after 100 lines") << hundred << 50 << 150 << true;
    QTest::newRow("10 after loaded text without break") << u"1\n2\n3"_s << 10 << 13 << false;
}

void TestHistory::generatedSpinsKeepTheText()
{
    QFETCH(QString, start);
    QFETCH(int, count);
    QFETCH(int, expectedLines);
    QFETCH(bool, endsWithBreak);

    SpinSource source(42);
    ReferenceSource reference{42};
    QString text = start;
    for (int i = 0; i < count; ++i)
        text += TextToAppend(EndsWithLineBreak(text), QString::number(source.Draw()));

    QVERIFY(text.startsWith(start));
    QCOMPARE(CountLines(text), expectedLines);
    QCOMPARE(text.endsWith(u'\n'), endsWithBreak);
    // The new lines are the spins in draw order.
    QStringList lines;
    ForEachLine(text, [&lines](QStringView line) { lines.append(line.toString()); });
    for (int i = 0; i < count; ++i)
        QCOMPARE(lines[expectedLines - count + i], QString::number(reference.draw()));
}

void TestHistory::normaliseLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("CR LF") << u"5\r\n17\r\n"_s << u"5\n17\n"_s;
    QTest::newRow("lone CR") << u"5\r17\r"_s << u"5\n17\n"_s;
    QTest::newRow("lone LF") << u"5\n17"_s << u"5\n17"_s;
    QTest::newRow("LF CR is two breaks") << u"5\n\r17"_s << u"5\n\n17"_s;
    QTest::newRow("CR CR LF is two breaks") << u"5\r\r\n17"_s << u"5\n\n17"_s;
    QTest::newRow("mixed run") << u"\r\n\n\r\r\n"_s << u"\n\n\n\n"_s;
    QTest::newRow("NUL and blanks kept")
        << (u" 5"_s + QChar(0) + u" \t\r\nx"_s) << (u" 5"_s + QChar(0) + u" \t\nx"_s);
    QTest::newRow("final lone CR") << u"abc\r"_s << u"abc\n"_s;
}

void TestHistory::normaliseLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(NormaliseLineBreaks(text), expected);
}

void TestHistory::fileBytes_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("spins 5 17 0") << u"5\n17\n0\n"_s
                                  << Bytes({0x35, 0x0D, 0x0A, 0x31, 0x37, 0x0D, 0x0A, 0x30, 0x0D,
                                            0x0A});
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("no final break") << u"12\n3"_s << QByteArrayLiteral("12\r\n3");
    QTest::newRow("empty lines") << u"\n\n"_s << QByteArrayLiteral("\r\n\r\n");
    QTest::newRow("Cyrillic") << u"Ставка\n"_s
                              << Bytes({0xD1, 0xF2, 0xE0, 0xE2, 0xEA, 0xE0, 0x0D, 0x0A});
}

void TestHistory::fileBytes()
{
    QFETCH(QString, history);
    QFETCH(QByteArray, bytes);
    QCOMPARE(HistoryToFileBytes(history), bytes);
    QCOMPARE(HistoryFromFileBytes(bytes), history);
}

void TestHistory::everyByteSurvivesTheFileForm()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes.append(char(b));
    }
    const QString text = HistoryFromFileBytes(bytes);
    QCOMPARE(text.size(), bytes.size());
    QCOMPARE(HistoryToFileBytes(text), bytes);
    // Stray CRs in memory are written as a single CR LF, never doubled.
    QCOMPARE(HistoryToFileBytes(u"1\r\n2\r3"), QByteArrayLiteral("1\r\n2\r\n3"));
}

void TestHistory::saveThenLoad_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QByteArray>("fileBytes");

    QTest::newRow("generated spins") << u"5\n17\n0\n"_s << QByteArrayLiteral("5\r\n17\r\n0\r\n");
    QTest::newRow("typed, no final break") << u"12\n7"_s << QByteArrayLiteral("12\r\n7");
    QTest::newRow("empty history") << QString() << QByteArray();
    QTest::newRow("not numbers") << u"abc\n40\n-1\n"_s << QByteArrayLiteral("abc\r\n40\r\n-1\r\n");
    QTest::newRow("Cyrillic") << u"ноль\n"_s << Bytes({0xED, 0xEE, 0xEB, 0xFC, 0x0D, 0x0A});
}

void TestHistory::saveThenLoad()
{
    QFETCH(QString, history);
    QFETCH(QByteArray, fileBytes);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"spins.txt"_s);
    SaveHistoryFile(path, history);
    QVERIFY(QFile::exists(path));
    QCOMPARE(ReadRaw(path), fileBytes);
    QCOMPARE(LoadHistoryFile(path), history);
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"spins.txt"_s});
}

void TestHistory::lfOnlyFileIsSavedBackWithCrLf()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString in = dir.filePath(u"lf.txt"_s);
    const QString out = dir.filePath(u"crlf.txt"_s);
    QVERIFY(WriteRaw(in, QByteArrayLiteral("1\n2\n\n36\rx")));

    const QString history = LoadHistoryFile(in);
    QCOMPARE(history, u"1\n2\n\n36\nx"_s);
    SaveHistoryFile(out, history);
    QCOMPARE(ReadRaw(out), QByteArrayLiteral("1\r\n2\r\n\r\n36\r\nx"));
}

void TestHistory::binaryContentLoads()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"binary.bin"_s);
    QByteArray bytes;
    for (int i = 0; i < 3; ++i) {
        for (int b = 0; b < 256; ++b)
            bytes.append(char(b));
    }
    QVERIFY(WriteRaw(path, bytes));

    const QString history = LoadHistoryFile(path);
    QCOMPARE(history, HistoryFromFileBytes(bytes));
    QCOMPARE(history.count(QChar(0)), 3);
    QCOMPARE(history.at(0), QChar(0));
    // LF (0A) and CR (0D) stand apart, so each is a break of its own.
    QCOMPARE(history.size(), 3 * 256);
    QCOMPARE(history.count(u'\n'), 6);
    QCOMPARE(history.count(u'\r'), 0);
}

void TestHistory::saveReplacesExistingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"old.txt"_s);
    QVERIFY(WriteRaw(path, QByteArray(1000, 'x')));

    SaveHistoryFile(path, u"3\n");
    QCOMPARE(ReadRaw(path), QByteArrayLiteral("3\r\n"));
    SaveHistoryFile(path, QStringView());
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"old.txt"_s});
}

void TestHistory::loadErrors_data()
{
    FailingPathRows(true);
}

void TestHistory::loadErrors()
{
    QFETCH(QString, name);
    QFETCH(int, expectedErrno);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(MakeFailingPaths(dir.path()));
    const QString path = dir.filePath(name);

    QCOMPARE(IoErrorOf([&] { LoadHistoryFile(path); }), CannotOpenMessage(path, expectedErrno));
}

void TestHistory::saveErrors_data()
{
    FailingPathRows(false);
}

void TestHistory::saveErrors()
{
    QFETCH(QString, name);
    QFETCH(int, expectedErrno);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(MakeFailingPaths(dir.path()));
    const QString path = dir.filePath(name);

    QCOMPARE(IoErrorOf([&] { SaveHistoryFile(path, u"5\n"); }),
             CannotCreateMessage(path, expectedErrno));
    // Nothing was written anywhere.
    QCOMPARE(ReadRaw(dir.filePath(u"plain.txt"_s)), QByteArrayLiteral("1\r\n"));
    QVERIFY(QDir(dir.filePath(u"folder"_s)).isEmpty());
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
        2);
}

void TestHistory::relativePathIsReportedInFull()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString message = IoErrorOf([] { LoadHistoryFile(u"sub/../missing.txt"_s); });
    QDir::setCurrent(previous);

    const QString full = QDir(dir.path()).canonicalPath() + u"/missing.txt"_s;
    QCOMPARE(message, CannotOpenMessage(full, ENOENT));
}

void TestHistory::oversizedFileIsRefused_data()
{
    QTest::addColumn<qint64>("size");
    QTest::newRow("one byte over") << MaxHistoryFileBytes + 1;
    QTest::newRow("four GiB") << qint64(4) * 1024 * 1024 * 1024;
}

void TestHistory::oversizedFileIsRefused()
{
    QFETCH(qint64, size);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"huge.txt"_s);
    QVERIFY(MakeSparseFile(path, size, QByteArrayLiteral("1\r\n")));
    QCOMPARE(QFileInfo(path).size(), size);
    QCOMPARE(IoErrorOf([&] { LoadHistoryFile(path); }), u"Text exceeds memo capacity"_s);
}

void TestHistory::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"spins.txt"_s);
    const QByteArray old = QByteArrayLiteral("1\r\n2\r\n3\r\n");
    QVERIFY(WriteRaw(path, old));

    const QString history = Numbers(1000);

    // Let no file of this process grow past 100 bytes, as a full disk would.
    QString message;
    QVERIFY(WithFileSizeLimit(
        100, [&] { message = IoErrorOf([&] { SaveHistoryFile(path, history); }); }));

    QCOMPARE(message, u"Stream write error. "_s + Describe(EFBIG));
    QCOMPARE(ReadRaw(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"spins.txt"_s});

    // With room again the same save goes through.
    SaveHistoryFile(path, history);
    QCOMPARE(ReadRaw(path), HistoryToFileBytes(history));
}

void TestHistory::specialFilesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("named pipe") << u"fifo"_s;
    QTest::newRow("symlink to a named pipe") << u"link"_s;
    QTest::newRow("device") << u"/dev/zero"_s;
}

void TestHistory::specialFilesAreRefused()
{
    QFETCH(QString, name);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(MakeNamedPipe(dir.path()));
    const QString path = name.startsWith(u'/') ? name : dir.filePath(name);

    // At once, without waiting for a writer or reading without end.
    QCOMPARE(IoErrorOf([&] { LoadHistoryFile(path); }),
             u"Cannot open file \"%1\". Not a regular file"_s.arg(path));
    if (!IsNamedPipe(path))
        return; // a device is never written to here
    QCOMPARE(IoErrorOf([&] { SaveHistoryFile(path, u"5\n"); }),
             u"Cannot create file \"%1\". Not a regular file"_s.arg(path));
    QVERIFY(IsNamedPipe(path));
    QVERIFY(QFileInfo(dir.filePath(u"link"_s)).isSymLink());
}

void TestHistory::folderWithoutNewFilesSavesInPlace()
{
    QTemporaryDir dir;
    QTemporaryDir state;
    QVERIFY(dir.isValid() && state.isValid());
    const QString path = dir.filePath(u"spins.txt"_s);
    QVERIFY(WriteRaw(path, QByteArrayLiteral("1\r\n2\r\n3\r\n")));
    const FolderWithoutNewFiles closed(dir.path());
    if (closed.Refusal() == 0)
        QSKIP("no way here to close a folder to new files");

    SaveHistoryFile(path, u"5\n17"_s, state.path());
    QCOMPARE(ReadRaw(path), QByteArrayLiteral("5\r\n17"));

    // A new file is still refused; a write that falls short still reported,
    // with the old content back and a copy of it named.
    const QString fresh = dir.filePath(u"new.txt"_s);
    QCOMPARE(IoErrorOf([&] { SaveHistoryFile(fresh, u"5\n", state.path()); }),
             CannotCreateMessage(fresh, closed.Refusal()));
    QString message;
    QVERIFY(WithFileSizeLimit(100, [&] {
        message = IoErrorOf([&] { SaveHistoryFile(path, Numbers(1000), state.path()); });
    }));
    const QString copy = KeptCopyIn(message, u"Stream write error. "_s + Describe(EFBIG));
    QCOMPARE(QFileInfo(copy).path(), state.path());
    QCOMPARE(ReadRaw(copy), QByteArrayLiteral("5\r\n17"));
    QCOMPARE(ReadRaw(path), QByteArrayLiteral("5\r\n17"));
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
