#include "TestHelpers.h"
#include "TestSettings.h"

#include "common/SystemError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

// "%1" in a pattern stands for the test's own folder.
QString Resolve(const QString &pattern, const QString &folder)
{
    return pattern.contains(u"%1"_s) ? pattern.arg(folder) : pattern;
}

const QString TooLongName = QString(300, u'a') + u".ini"_s;

void CheckDocument(const TINIView &document)
{
    QCOMPARE(document.SectionNames().size(), qsizetype(document.Sections().size()));
    for (size_t i = 0; i < document.Sections().size(); ++i) {
        const TSection &section = *document.Sections()[i];
        QCOMPARE(document.SectionNames().at(qsizetype(i)), section.Name());
        QCOMPARE(section.Keys().size(), section.Values().size());
    }
}

} // namespace

void TestSettings::ioErrorMessages_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("expected");

    // Causes that the file tests below cannot bring about.
    QTest::newRow("EPERM") << EPERM << u"File access denied"_s;
    QTest::newRow("EROFS") << EROFS << u"File access denied"_s;
    QTest::newRow("ENOSPC") << ENOSPC << u"Disk full"_s;
    QTest::newRow("EDQUOT") << EDQUOT << u"Disk full"_s;
    QTest::newRow("EMFILE") << EMFILE << u"I/O error %1"_s.arg(EMFILE);
}

void TestSettings::ioErrorMessages()
{
    QFETCH(int, error);
    QFETCH(QString, expected);
    QCOMPARE(RunTimeIoMessage(error), expected);
}

void TestSettings::loadErrors_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing file") << u"%1/missing.ini"_s << u"File not found"_s;
    QTest::newRow("missing folder") << u"%1/missing/x.ini"_s << u"File not found"_s;
    QTest::newRow("folder") << u"%1"_s << u"Invalid filename"_s;
    QTest::newRow("below a plain file") << u"%1/plain/x.ini"_s << u"Invalid filename"_s;
    QTest::newRow("too long name") << u"%1/"_s + TooLongName << u"Invalid filename"_s;
    QTest::newRow("empty name") << QString() << u"Invalid filename"_s;
    QTest::newRow("NUL in name") << u"%1/plain"_s + QChar(0) + u"x"_s << u"Invalid filename"_s;
    QTest::newRow("read failure") << u"/proc/self/mem"_s << u"I/O error %1"_s.arg(EIO);
    // Refused at once, neither waiting for a writer nor reading without end.
    QTest::newRow("named pipe") << u"%1/fifo"_s << u"Invalid filename"_s;
    QTest::newRow("symlink to a named pipe") << u"%1/link"_s << u"Invalid filename"_s;
    QTest::newRow("device") << u"/dev/zero"_s << u"Invalid filename"_s;
    QTest::newRow("over the size limit") << u"%1/huge"_s << u"File too large"_s;
}

void TestSettings::loadErrors()
{
    QFETCH(QString, fileName);
    QFETCH(QString, expected);

    if (fileName.startsWith(u"/proc/"_s) && !QFileInfo::exists(fileName))
        QSKIP("No /proc file system here");
    WriteBytes(path(u"plain"_s), Bytes("[S]\r\n  k=\"v\"\r\n"));
    QVERIFY(MakeNamedPipe(m_dir->path()));
    QVERIFY(
        MakeSparseFile(path(u"huge"_s), MaxSettingsFileBytes + 1, Bytes("[S]\r\n  k=\"v\"\r\n")));

    TINIView document;
    QCOMPARE(IoErrorOf([&] { document.LoadFromFile(Resolve(fileName, m_dir->path())); }), expected);
    QVERIFY(document.Sections().empty());
}

void TestSettings::readFailureKeepsDocument()
{
    WriteBytes(path(u"good.ini"_s), Bytes("[Common]\r\n  Level=\"2\"\r\n"));
    TINIView document;
    document.LoadFromFile(path(u"good.ini"_s));

    // Opening succeeds, reading fails: what the document held stays.
    QCOMPARE(IoErrorOf([&] { document.LoadFromFile(m_dir->path()); }), u"Invalid filename"_s);
    QCOMPARE(IoErrorOf([&] { document.LoadFromFile(path(u"none.ini"_s)); }), u"File not found"_s);
    QCOMPARE(Dump(document), (QStringList{u"[Common]"_s, u"Level=2"_s}));
}

void TestSettings::saveErrors_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing folder") << u"%1/missing/x.ini"_s << u"File not found"_s;
    QTest::newRow("below a plain file") << u"%1/plain/x.ini"_s << u"Invalid filename"_s;
    QTest::newRow("folder") << u"%1/folder"_s << u"Invalid filename"_s;
    QTest::newRow("too long name") << u"%1/"_s + TooLongName << u"Invalid filename"_s;
    QTest::newRow("empty name") << QString() << u"Invalid filename"_s;
    QTest::newRow("NUL in name") << u"%1/plain"_s + QChar(0) + u"x"_s << u"Invalid filename"_s;
    // sysfs refuses new files even to root.
    QTest::newRow("folder without new files")
        << u"/sys/trevolo-test.ini"_s << u"File access denied"_s;
}

void TestSettings::saveErrors()
{
    QFETCH(QString, fileName);
    QFETCH(QString, expected);

    if (fileName.startsWith(u"/sys/"_s) && !QFileInfo(u"/sys/kernel"_s).isDir())
        QSKIP("No sysfs here");
    const QByteArray plain = Bytes("old content");
    WriteBytes(path(u"plain"_s), plain);
    QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));

    TINIView document;
    document.WriteString(u"S", u"k", u"v"_s);
    QCOMPARE(IoErrorOf([&] { document.SaveToFile(Resolve(fileName, m_dir->path())); }), expected);

    // Nothing was left behind or changed.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{u"folder"_s, u"plain"_s}));
    QCOMPARE(ReadRaw(path(u"plain"_s)), plain);
    QVERIFY(QDir(path(u"folder"_s)).isEmpty());
    QVERIFY(!QFileInfo::exists(u"/sys/trevolo-test.ini"_s));
}

void TestSettings::saveLeavesSpecialFilesAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("named pipe") << u"fifo"_s;
    QTest::newRow("symlink to a named pipe") << u"link"_s;
}

void TestSettings::saveLeavesSpecialFilesAlone()
{
    QFETCH(QString, name);
    QVERIFY(MakeNamedPipe(m_dir->path()));
    TINIView document;
    document.WriteString(u"S", u"k", u"v"_s);
    QCOMPARE(IoErrorOf([&] { document.SaveToFile(path(name)); }), u"Invalid filename"_s);
    QVERIFY(IsNamedPipe(path(name)));
    QVERIFY(QFileInfo(path(u"link"_s)).isSymLink());
}

void TestSettings::folderWithoutNewFilesSavesInPlace()
{
    const QString fileName = path(u"default.ini"_s);
    WriteBytes(fileName, Bytes("[Old]\r\n"));
    const FolderWithoutNewFiles closed(m_dir->path());
    if (closed.Refusal() == 0)
        QSKIP("no way here to close a folder to new files");
    QTemporaryDir state;
    QVERIFY(state.isValid());

    TINIView document;
    document.WriteString(u"S", u"k", u"v"_s);
    document.SaveToFile(fileName, state.path());
    const QByteArray saved = Bytes("\r\n[S]\r\n\r\n  k=\"v\"\r\n");
    QCOMPARE(ReadRaw(fileName), saved);

    // A new file is still refused; a write that falls short still reported,
    // with the old content back and a copy of it named.
    QCOMPARE(IoErrorOf([&] { document.SaveToFile(path(u"new.ini"_s), state.path()); }),
             u"File access denied"_s);
    document.WriteString(u"S", u"long", QString(1000, u'x'));
    QString message;
    QVERIFY(WithFileSizeLimit(
        100, [&] { message = IoErrorOf([&] { document.SaveToFile(fileName, state.path()); }); }));
    const QString copy = KeptCopyIn(message, u"I/O error %1"_s.arg(EFBIG));
    QCOMPARE(QFileInfo(copy).path(), state.path());
    QCOMPARE(ReadRaw(copy), saved);
    QCOMPARE(ReadRaw(fileName), saved);
}

void TestSettings::failedSaveKeepsOldFile()
{
    const QString fileName = path(u"default.ini"_s);
    const QByteArray old = Bytes("\r\n[Common]\r\n\r\n  Level=\"0\"\r\n");
    WriteBytes(fileName, old);

    TINIView document;
    document.WriteString(u"Common", u"Level", u"2"_s);
    document.WriteString(u"Common", u"Long", QString(100000, u'x'));

    // Let the system refuse to grow any file beyond 4 KB while saving: the
    // write fails halfway, as on a full disk.
    QString message;
    QVERIFY(WithFileSizeLimit(
        4096, [&] { message = IoErrorOf([&] { document.SaveToFile(fileName); }); }));

    QCOMPARE(message, u"I/O error %1"_s.arg(EFBIG));
    QCOMPARE(ReadRaw(fileName), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"default.ini"_s});

    // Without the limit the same save goes through.
    document.SaveToFile(fileName);
    TINIView loaded;
    loaded.LoadFromFile(fileName);
    QCOMPARE(Dump(loaded), Dump(document));
}

void TestSettings::saveReplacesLongerFile()
{
    const QString fileName = path(u"a.ini"_s);
    WriteBytes(fileName, QByteArray(5000, 'z'));

    TINIView document;
    document.WriteInteger(u"S", u"n", -5);
    document.SaveToFile(fileName);
    QCOMPARE(ReadRaw(fileName), Bytes("\r\n[S]\r\n\r\n  n=\"-5\"\r\n"));

    document.Clear();
    document.SaveToFile(fileName);
    QCOMPARE(QFileInfo(fileName).size(), 0);

    // Loading an empty file adds nothing.
    document.LoadFromFile(fileName);
    QVERIFY(document.Sections().empty());
}

void TestSettings::garbageInput_data()
{
    QTest::addColumn<QByteArray>("alphabet");
    QTest::addColumn<int>("size");
    QTest::addColumn<quint32>("seed");

    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(char(b));
    const QByteArray structural = Bytes("[]=\"\r\n\x1A ab\0");

    QTest::newRow("any bytes, small") << everyByte << 1000 << 1u;
    QTest::newRow("any bytes, 1 MB") << everyByte << (1 << 20) << 2u;
    QTest::newRow("structural bytes, small") << structural << 1000 << 3u;
    QTest::newRow("structural bytes, 1 MB") << structural << (1 << 20) << 4u;
    QTest::newRow("headers and quotes") << Bytes("[]\"\n") << (1 << 20) << 5u;
}

void TestSettings::garbageInput()
{
    QFETCH(QByteArray, alphabet);
    QFETCH(int, size);
    QFETCH(quint32, seed);

    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = alphabet.at(qsizetype(random.bounded(quint32(alphabet.size()))));
    // Something that reads as a section first, so that entries get stored.
    bytes.prepend("[S]\n  k=\"");
    WriteBytes(path(u"garbage.ini"_s), bytes);

    TINIView document;
    document.LoadFromFile(path(u"garbage.ini"_s));
    CheckDocument(document);
    QVERIFY(!document.Sections().empty());

    // Whatever a file held, what the reader made of it survives a save and a
    // load unchanged.
    document.SaveToFile(path(u"saved.ini"_s));
    const QByteArray saved = ReadRaw(path(u"saved.ini"_s));
    TINIView again;
    again.LoadFromFile(path(u"saved.ini"_s));
    QCOMPARE(Dump(again), Dump(document));
    QCOMPARE(again.SaveToBytes(), saved);
}

void TestSettings::hugeSingleLine()
{
    const qsizetype size = 10 * 1024 * 1024;

    // One entry whose value is a single 10 MB line.
    QByteArray file = "[S]\r\n  k=\"" + QByteArray(size, 'x') + "\"\r\n";
    WriteBytes(path(u"value.ini"_s), file);
    TINIView document;
    document.LoadFromFile(path(u"value.ini"_s));
    QCOMPARE(document.ReadString(u"S", u"k", QString()).size(), size);

    // A 10 MB line of anything without a line break or a header.
    QRandomGenerator random(7);
    for (char &b : file) {
        b = char(random.bounded(256));
        if (b == '\n' || b == 26)
            b = ' ';
    }
    WriteBytes(path(u"noise.ini"_s), file);
    TINIView noise;
    noise.LoadFromFile(path(u"noise.ini"_s));
    QVERIFY(noise.Sections().empty());
}

void TestSettings::manyKeysStayFast()
{
    // Two hundred thousand distinct keys: each stored key is looked up once
    // more for every new one, so a plain scan would take minutes.
    const int count = 200000;
    QByteArray file = "[S]\r\n";
    for (int i = 0; i < count; ++i)
        file += "  Key" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + "\"\r\n";
    WriteBytes(path(u"many.ini"_s), file);

    QElapsedTimer timer;
    timer.start();
    TINIView document;
    document.LoadFromFile(path(u"many.ini"_s));
    for (int i = 0; i < count; i += 997)
        document.WriteString(u"s", u"KEY"_s + QString::number(i), u"x"_s);
    QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));

    QCOMPARE(document.FindSection(u"S")->Count(), count);
    QCOMPARE(document.ReadString(u"S", u"key199999", QString()), u"199999"_s);
    QCOMPARE(document.ReadString(u"S", u"key997", QString()), u"x"_s);
    QCOMPARE(ReadRaw(path(u"many.ini"_s)).size(), file.size());
}
