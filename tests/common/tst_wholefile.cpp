#include "TestCommon.h"
#include "support/TestFiles.h"

#include "common/WholeFile.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>

using namespace trevolo;
using namespace Qt::StringLiterals;

void TestCommon::inPlaceRewrite_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("fresh");
    QTest::addColumn<int>("sizeLimit"); // 0: none
    QTest::newRow("grows") << "1\r\n2\r\n"_ba << QByteArray(3000, '7') << 0;
    QTest::newRow("shrinks") << QByteArray(5000, 'z') << "5\r\n"_ba << 0;
    QTest::newRow("to nothing") << "1\r\n"_ba << QByteArray() << 0;
    QTest::newRow("from nothing") << QByteArray() << "5\r\n"_ba << 0;
    // The room is there, but the write stops part way, as on a failing disk.
    QTest::newRow("cut short") << "1\r\n2\r\n3\r\n"_ba << QByteArray(4000, '7') << 100;
}

void TestCommon::inPlaceRewrite()
{
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, fresh);
    QFETCH(int, sizeLimit);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"spins.txt"_s);
    const QString backup = dir.filePath(u"state/trevolo"_s);
    QVERIFY(WriteRaw(path, old));
    std::optional<FileFailure> failure;
    const auto rewrite = [&] { failure = RewriteWholeFileInPlace(path, fresh, backup); };
    if (sizeLimit > 0)
        QVERIFY(WithFileSizeLimit(rlim_t(sizeLimit), rewrite));
    else
        rewrite();

    const QStringList copies = QDir(backup).entryList(QDir::Files | QDir::Hidden);
    if (sizeLimit == 0) {
        QVERIFY(!failure);
        QCOMPARE(ReadRaw(path), fresh);
        QCOMPARE(copies, QStringList());
        return;
    }
    QVERIFY(failure);
    QCOMPARE(failure->error, EFBIG);
    QCOMPARE(ReadRaw(path), old);
    QCOMPARE(copies, QStringList{QFileInfo(failure->keptCopy).fileName()});
    QVERIFY(copies.front().startsWith(u"spins.txt."_s));
    QCOMPARE(ReadRaw(failure->keptCopy), old);
}

void TestCommon::fullDiskFailsBeforeTouching()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString disk = dir.filePath(u"disk"_s);
    QVERIFY(QDir().mkdir(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                "size=256k") != 0)
        QSKIP("no small file system can be mounted here");
    const auto unmount =
        qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });

    const QString path = disk + u"/spins.txt"_s;
    const QByteArray old = "1\r\n2\r\n"_ba;
    QVERIFY(WriteRaw(path, old));
    QFile filler(disk + u"/filler"_s);
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, '0')) == 4096) {
    }
    filler.close();

    const QString backup = dir.filePath(u"state"_s);
    const auto failure = RewriteWholeFileInPlace(path, QByteArray(64 * 1024, '7'), backup);
    QVERIFY(failure);
    QCOMPARE(failure->error, ENOSPC);
    QCOMPARE(failure->keptCopy, QString());
    QCOMPARE(ReadRaw(path), old);
    QCOMPARE(QDir(backup).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestCommon::closedFolderNeedsABackupFolder()
{
    QTemporaryDir dir;
    QTemporaryDir backup;
    QVERIFY(dir.isValid() && backup.isValid());
    const QString path = dir.filePath(u"spins.txt"_s);
    QVERIFY(WriteRaw(path, "1\r\n"_ba));
    const FolderWithoutNewFiles closed(dir.path());
    if (closed.Refusal() == 0)
        QSKIP("no way here to close a folder to new files");

    // Without a place for the copy, or with one that cannot be made, the
    // file is not touched.
    const auto refused = SaveWholeFile(path, "5\r\n"_ba);
    QVERIFY(refused);
    QCOMPARE(refused->error, closed.Refusal());
    const auto noCopy = SaveWholeFile(path, "5\r\n"_ba, path + u"/state"_s);
    QVERIFY(noCopy);
    QCOMPARE(noCopy->error, ENOTDIR);
    QCOMPARE(ReadRaw(path), "1\r\n"_ba);

    QVERIFY(!SaveWholeFile(path, "5\r\n"_ba, backup.path()));
    QCOMPARE(ReadRaw(path), "5\r\n"_ba);
    QCOMPARE(QDir(backup.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}
