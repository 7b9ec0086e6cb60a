#include "support/LeftOvers.h"
#include "support/TestFiles.h"

#include "app/mainwindow/RecoveryTexts.h"
#include "common/StateFolder.h"
#include "history/Recovery.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace trevolo;
using namespace Qt::StringLiterals;

constexpr qint64 Day = 24 * 60 * 60;

class TestRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void linesWord_data();
    void linesWord();
    void details();
    void stateFolder_data();
    void stateFolder();
    void unusableFolder();
    void untrustedFolder_data();
    void untrustedFolder();
    void plantedLinkIsNotFollowed();
    void newestTextIsWritten();
    void removeComesAfterAWriteUnderWay();
    void leftOversOfEndedRuns();
    void leftOversNobodyHolds_data();
    void leftOversNobodyHolds();
    void adoptedAndDiscarded();
    void oldFilesGo_data();
    void oldFilesGo();

private:
    std::unique_ptr<RecoveryStore> open(const QString &folder = QString());
    QStringList files() const;
    // A recovery file of a run that was killed (or its temporary file, with
    // `suffix` ".tmp"): its lock names a process that is gone.
    void leaveKilledRun(const QString &name, const QByteArray &bytes,
                        const QString &suffix = QString());

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecovery::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

std::unique_ptr<RecoveryStore> TestRecovery::open(const QString &folder)
{
    RecoveryStore::Problem problem;
    auto store = RecoveryStore::Open(folder.isEmpty() ? m_dir->path() : folder, problem);
    [&] { QVERIFY2(store, qPrintable(problem.folder)); }();
    return store;
}

QStringList TestRecovery::files() const
{
    return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void TestRecovery::leaveKilledRun(const QString &name, const QByteArray &bytes,
                                  const QString &suffix)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    QVERIFY(child > 0 && ::waitpid(child, nullptr, 0) == child);
    const QString path = m_dir->filePath(name);
    QVERIFY(WriteRaw(path + suffix, bytes));
    QVERIFY(WriteRaw(path + u".lock"_s, QByteArray::number(child) + "\ntrevolo\n" +
                                            QSysInfo::machineHostName().toUtf8() + '\n'));
}

void TestRecovery::linesWord_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("word");
    for (const qint64 n : {1, 21, 101, 1000001})
        QTest::addRow("%lld", n) << n << u"строка"_s;
    for (const qint64 n : {2, 4, 22, 34, 102})
        QTest::addRow("%lld", n) << n << u"строки"_s;
    for (const qint64 n : {0, 5, 11, 12, 14, 19, 111, 112, 1000000})
        QTest::addRow("%lld", n) << n << u"строк"_s;
}

void TestRecovery::linesWord()
{
    QFETCH(qint64, count);
    QFETCH(QString, word);
    QCOMPARE(LinesWord(count), word);
}

void TestRecovery::details()
{
    QCOMPARE(RecoveryDetails(22, QDateTime(QDate(2024, 3, 5), QTime(7, 8, 59))),
             u"Прошлый сеанс завершился, не сохранив её: 22 строки, последнее изменение "
             u"05.03.2024 07:08."_s);
}

void TestRecovery::stateFolder_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("folder");
    const QString byDefault = QDir::homePath() + u"/.local/state/trevolo"_s;
    QTest::newRow("set") << "/var/tmp/state/"_ba << u"/var/tmp/state/trevolo"_s;
    QTest::newRow("empty") << ""_ba << byDefault;
    QTest::newRow("relative") << "state"_ba << byDefault;
}

void TestRecovery::stateFolder()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, folder);
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", variable);
    const QString seen = StateFolderPath();
    qputenv("XDG_STATE_HOME", saved);
    QCOMPARE(seen, folder);
}

void TestRecovery::unusableFolder()
{
    const QString blocker = m_dir->filePath(u"file"_s);
    QVERIFY(WriteRaw(blocker, "1\r\n"_ba));
    RecoveryStore::Problem problem;
    QVERIFY(!RecoveryStore::Open(blocker + u"/trevolo"_s, problem));
    QCOMPARE(problem.folder, blocker + u"/trevolo"_s);
    QCOMPARE(problem.error, ENOTDIR);
}

void TestRecovery::untrustedFolder_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint64>("owner"); // -1: the effective user
    QTest::addColumn<int>("trust");
    QTest::newRow("writable by others") << 0777 << qint64(-1) << int(FolderTrust::WritableByOthers);
    QTest::newRow("writable by group") << 0770 << qint64(-1) << int(FolderTrust::WritableByOthers);
    QTest::newRow("foreign") << 0700 << qint64(::geteuid()) + 1 << int(FolderTrust::ForeignOwner);
    QTest::newRow("the user's alone") << 0755 << qint64(-1) << int(FolderTrust::Private);
}

// A state folder another user owns or may write in is refused, as one that
// cannot be made.
void TestRecovery::untrustedFolder()
{
    QFETCH(int, mode);
    QFETCH(qint64, owner);
    QFETCH(int, trust);
    const QString folder = m_dir->filePath(u"trevolo"_s);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), mode_t(mode)) == 0);
    QCOMPARE(int(TrustOfFolder(folder, owner)), trust);
    if (owner >= 0)
        return;
    RecoveryStore::Problem problem;
    QCOMPARE(bool(RecoveryStore::Open(folder, problem)), trust == int(FolderTrust::Private));
    QCOMPARE(int(problem.trust), trust);
}

// A link planted where the temporary file is made is not followed: what it
// leads to stays as it was.
void TestRecovery::plantedLinkIsNotFollowed()
{
    const auto store = open();
    const QString victim = m_dir->filePath(u"victim"_s);
    QVERIFY(WriteRaw(victim, "secret"_ba));
    QVERIFY(QFile::link(victim, store->FilePath() + u".tmp"_s));
    store->Submit(u"5\n"_s);
    store->Flush();
    QCOMPARE(ReadRaw(victim), "secret"_ba);
    QCOMPARE(ReadRaw(store->FilePath()), "5\r\n"_ba);
    QVERIFY(!QFileInfo(store->FilePath()).isSymLink());
}

void TestRecovery::newestTextIsWritten()
{
    // Folders made for it are the user's alone, and so is the file.
    const QString folder = m_dir->filePath(u"state/trevolo"_s);
    const auto store = open(folder);
    for (int i = 0; i < 50; ++i)
        store->Submit(QString::number(i) + u"\n"_s);
    store->Submit(u"5\n17\nЁ"_s);
    store->Flush();
    QCOMPARE(ReadRaw(store->FilePath()), "5\r\n17\r\n\xA8"_ba);
    const auto user = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    const auto search = QFile::ExeOwner | QFile::ExeUser;
    QCOMPARE(QFileInfo(store->FilePath()).permissions(), user);
    QCOMPARE(QFileInfo(folder).permissions(), user | search);
    QCOMPARE(QFileInfo(m_dir->filePath(u"state"_s)).permissions(), user | search);
    const QString name = QFileInfo(store->FilePath()).fileName();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{name, name + u".lock"_s}));
}

void TestRecovery::removeComesAfterAWriteUnderWay()
{
    const auto store = open();
    QString longHistory;
    for (int i = 0; i < 1000000; ++i)
        longHistory += QString::number(i % 37) + u'\n';
    store->Submit(longHistory);
    QTest::qSleep(20); // the write is under way
    store->Remove();
    store->Flush();
    QVERIFY(!QFileInfo::exists(store->FilePath()));

    store->Remove();
    store->Submit(u"7"_s);
    store->Flush();
    QCOMPARE(ReadRaw(store->FilePath()), "7"_ba);
}

void TestRecovery::leftOversOfEndedRuns()
{
    // Ended by a signal: flushed and kept, its lock gone.
    QString ended;
    {
        const auto past = open();
        past->Submit(u"1\n2\n3\n"_s);
        ended = past->FilePath();
    }
    leaveKilledRun(u"recovery-killed.txt"_s, "\xC0\x00\xFF\r\n5"_ba);
    const QString killed = m_dir->filePath(u"recovery-killed.txt"_s);
    QVERIFY(Backdate(killed, 2 * Day));
    const QDateTime before = QFileInfo(killed).lastModified();
    leaveKilledRun(u"recovery-empty.txt"_s, QByteArray());
    leaveKilledRun(u"recovery-cut.txt"_s, "1\r\n"_ba, u".tmp"_s);
    // A replaced text is written once, whole: alone, its temporary file was cut short.
    leaveKilledRun(u"recovery-cut-replaced-1.txt"_s, "1\r\n"_ba, u".tmp"_s);
    QVERIFY(WriteRaw(m_dir->filePath(u"recovery-cut-replaced-1.txt.about"_s), "\n"_ba));
    const auto running = open();
    running->Submit(u"36\n"_s);
    running->Flush();

    const auto store = open();
    auto leftOvers = store->TakeLeftOvers();
    // A run killed before its first rename left only its temporary file:
    // offered as its text.
    QStringList offered;
    for (const LeftOverHistory &leftOver : leftOvers)
        offered << u"%1 %2 %3"_s.arg(leftOver.path, QString::number(leftOver.lines), leftOver.text);
    QCOMPARE(offered, (QStringList{m_dir->filePath(u"recovery-cut.txt"_s) + u" 1 1\n"_s,
                                   ended + u" 3 1\n2\n3\n"_s,
                                   killed + u" 2 "_s + QString::fromUtf16(u"А\0я\n5", 5)}));
    QCOMPARE(leftOvers[2].modified.toSecsSinceEpoch(), before.toSecsSinceEpoch());

    // Held while offered (the cut one too); what the empty one left is gone, the
    // running one's file untouched.
    QVERIFY(open()->TakeLeftOvers().empty());
    QStringList expected{ended, killed, running->FilePath(), leftOvers[0].path};
    for (const QString &path : QStringList(expected))
        expected << path + u".lock"_s;
    expected << store->FilePath() + u".lock"_s;
    for (QString &path : expected)
        path = QFileInfo(path).fileName();
    expected.sort();
    QCOMPARE(files(), expected);
    QCOMPARE(ReadRaw(running->FilePath()), "36\r\n"_ba);
}

void TestRecovery::leftOversNobodyHolds_data()
{
    QTest::addColumn<QByteArray>("lock"); // the lock file's content
    QTest::addColumn<int>("lockAge");     // seconds since the lock was written
    QTest::addColumn<qint64>("size");     // of the text, beyond "5\r\n"
    QTest::addColumn<QString>("host");    // "-": not offered
    const QByteArray running = QByteArray::number(::getpid()) + '\n' +
                               QCoreApplication::applicationName().toUtf8() + '\n';
    QTest::newRow("another host's") << running + "elsewhere\n" << 0 << qint64(0) << u"elsewhere"_s;
    QTest::newRow("empty, long ago") << QByteArray() << 60 << qint64(0) << QString();
    QTest::newRow("empty, being made") << QByteArray() << 0 << qint64(0) << u"-"_s;
    QTest::newRow("this host's, running")
        << running + QSysInfo::machineHostName().toUtf8() + '\n' << 0 << qint64(0) << u"-"_s;
    QTest::newRow("over the read limit of a load")
        << QByteArray() << 60 << qint64(64) * 1024 * 1024 << QString();
}

// A left-over whose owner cannot be running on this host is offered, however
// large; one that may be running is not.
void TestRecovery::leftOversNobodyHolds()
{
    QFETCH(QByteArray, lock);
    QFETCH(int, lockAge);
    QFETCH(qint64, size);
    QFETCH(QString, host);
    const QString path = m_dir->filePath(u"recovery-other.txt"_s);
    QVERIFY(MakeSparseFile(path, size + 3, "5\r\n"_ba));
    QVERIFY(WriteRaw(path + u".lock"_s, lock) && Backdate(path + u".lock"_s, lockAge));
    const auto leftOvers = open()->TakeLeftOvers();
    QCOMPARE(leftOvers.size(), size_t(host == u"-" ? 0 : 1));
    if (host == u"-")
        return;
    QCOMPARE(leftOvers[0].host, host);
    QCOMPARE(leftOvers[0].text.size(), size + 2);
    QVERIFY(leftOvers[0].text.startsWith(u"5\n"_s));
}

void TestRecovery::adoptedAndDiscarded()
{
    // Two ended runs, the first older.
    QVERIFY(Backdate(LeaveEndedRun(m_dir->path(), u"1\n"_s), 60));
    LeaveEndedRun(m_dir->path(), u"2\n"_s);
    for (const auto &stamp : {"20000101-000000", "29991231-235959"})
        QVERIFY(WriteRaw(m_dir->filePath(u"discarded-%1.txt"_s.arg(QLatin1StringView(stamp))),
                         "9\r\n"_ba));
    QVERIFY(Backdate(m_dir->filePath(u"discarded-20000101-000000.txt"_s), 40 * Day));

    QString adoptedBy;
    {
        const auto store = open();
        store->Submit(u"0\n"_s);
        auto leftOvers = store->TakeLeftOvers();
        QCOMPARE(leftOvers.size(), size_t(2));
        QVERIFY(store->Adopt(leftOvers[0]));
        QVERIFY(store->Discard(leftOvers[1]));
        adoptedBy = store->FilePath();
    }
    // The adopted text stays this run's until it removes it, like any text.
    QCOMPARE(ReadRaw(adoptedBy), "2\r\n"_ba);
    const QStringList discarded = QDir(m_dir->path()).entryList({u"discarded-*"_s});
    QCOMPARE(discarded.size(), 2);
    QCOMPARE(discarded.back(), u"discarded-29991231-235959.txt"_s);
    QCOMPARE(ReadRaw(m_dir->filePath(discarded.front())), "1\r\n"_ba);
    QCOMPARE(files().size(), 3);
}

void TestRecovery::oldFilesGo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("days"); // since it was last changed
    QTest::addColumn<bool>("note"); // a copy whose save waits to be undone
    QTest::addColumn<bool>("removed");
    const auto row = [](const char *name, const QString &file, int days, bool note, bool removed) {
        QTest::newRow(name) << file << days << note << removed;
    };
    const QString discarded = u"discarded-20200101-000002.txt"_s;
    const QString copy = u"spins.txt.20200101-000002.old"_s;
    row("discarded, old", discarded, 31, false, true);
    row("discarded, old name, changed lately", discarded, 29, false, false);
    row("discarded, named in the future", u"discarded-29991231-235959-2.txt"_s, 31, false, true);
    row("not quite the name", u"discarded-20200101-000002-evil.txt"_s, 31, false, false);
    row("other case", u"DISCARDED-20200101-000002.TXT"_s, 31, false, false);
    row("copy, old", copy, 31, false, true);
    row("copy, old, its save interrupted", copy, 31, true, false);
    row("copy, lately", copy, 2, false, false);
}

// Discarded files and copies of saves in place go 30 days after their last
// change; nothing else does.
void TestRecovery::oldFilesGo()
{
    QFETCH(QString, name);
    QFETCH(int, days);
    QFETCH(bool, note);
    QFETCH(bool, removed);
    const QString path = m_dir->filePath(name);
    QVERIFY(WriteRaw(path, "9\r\n"_ba) && Backdate(path, days * Day));
    if (note)
        QVERIFY(WriteRaw(path + u".file"_s, "/somewhere/spins.txt"_ba));
    open()->TakeLeftOvers();
    QCOMPARE(QFileInfo::exists(path), !removed);
}

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
