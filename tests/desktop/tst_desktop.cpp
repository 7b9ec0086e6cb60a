// The desktop side of the program: where "default.ini" lives for a copy whose
// folder is read-only, the command line, termination signals, Qt's own
// Russian texts, and the pictures on a screen with twice the pixels (this
// program runs with a scale factor of 2).
#include "support/LeftOvers.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include "app/Project1.h"
#include "app/mainwindow/Unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <csignal>
#include <unistd.h>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

const QByteArray NotOnTop = "[Common]\r\n  StayOnTop=\"0\"\r\n";

} // namespace

class TestDesktop : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString programFolder() const { return dir.filePath(u"bin"_s); }
    QString userFolder() const { return dir.filePath(u"home/.config/trevolo"_s); }

    // One run of the window: creation, a change of "Всегда сверху" when
    // asked, destruction; the window's "always on top" tick is returned.
    bool run(bool toggleOnTop = false)
    {
        createAll();
        env->folder = programFolder();
        env->folderWritable = false;
        env->userFolder = userFolder();
        form->Guard([this] { form->FormCreate(); });
        const bool onTop = form->checkBox2->isChecked();
        if (toggleOnTop)
            form->checkBox2->setChecked(!onTop);
        form->Guard([this] { form->FormDestroy(); });
        return onTop;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir.isValid());
        QVERIFY(QDir().mkpath(programFolder()));
    }
    void cleanup()
    {
        destroyAll();
        QDir(dir.path()).removeRecursively();
    }

    void readOnlyProgramFolderUsesTheUserFolder()
    {
        const QString shipped = programFolder() + u"/default.ini"_s;
        QVERIFY(WriteRaw(shipped, NotOnTop));
        // The file beside the program is the starting point; the changed
        // option lands in the user's file, not in the shipped one.
        QCOMPARE(run(true), false);
        QCOMPARE(env->boxes.size(), 0);
        QCOMPARE(ReadRaw(shipped), NotOnTop);
        const QString own = userFolder() + u"/default.ini"_s;
        QVERIFY(ReadRaw(own).contains("StayOnTop=\"-1\"\r\n"));
        // The next start reads the user's file.
        destroyAll();
        QCOMPARE(run(), true);
        QCOMPARE(ReadRaw(shipped), NotOnTop);
    }

    void unusableUserFolder_data()
    {
        QTest::addColumn<QString>("blocker"); // a file standing where a folder should be
        QTest::addColumn<QString>("expected");
        QTest::newRow("not a folder") << u"home/.config/trevolo"_s << u"is not a folder"_s;
        QTest::newRow("cannot be created") << u"home/.config"_s << u"cannot be created"_s;
    }
    void unusableUserFolder()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, expected);
        QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(blocker)).path()));
        QVERIFY(WriteRaw(dir.filePath(blocker), "x"));
        const QString shipped = programFolder() + u"/default.ini"_s;
        QVERIFY(WriteRaw(shipped, NotOnTop));
        // One message at start; the shipped options still apply, and
        // nothing is written at exit.
        QCOMPARE(run(true), false);
        QCOMPARE(env->boxes.size(), 1);
        QVERIFY(env->boxes.front().error);
        QVERIFY2(env->boxes.front().text.contains(expected), qPrintable(env->boxes.front().text));
        QCOMPARE(ReadRaw(shipped), NotOnTop);
        QCOMPARE(ReadRaw(dir.filePath(blocker)), QByteArray("x"));
    }

    // A history named on the command line loads as the load command loads
    // the chosen file, failures included.
    void historyArgumentLoadsLikeTheCommand_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no such file
        QTest::newRow("file") << QByteArray("5\r\n17\r\n");
        QTest::newRow("missing file") << QByteArray();
    }
    void historyArgumentLoadsLikeTheCommand()
    {
        QFETCH(QByteArray, content);
        const QString file = dir.filePath(u"history.txt"_s);
        if (!content.isEmpty())
            QVERIFY(WriteRaw(file, content));
        createAll();
        env->openAnswers.push_back(FileChoice{file, QString()});
        form->Guard([this] { form->N5Click(); });
        const QString byCommand = form->listBox1->Text();
        const auto commandBoxes = env->boxes;

        destroyAll();
        createAll();
        form->Guard([this, &file] { form->LoadHistoryFrom(file); });
        QCOMPARE(form->listBox1->Text(), byCommand);
        QCOMPARE(env->boxes.size(), commandBoxes.size());
        if (content.isEmpty()) {
            QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(commandBoxes.front().text));
            QVERIFY(commandBoxes.front().text.startsWith(u"Cannot open file"_s));
        } else {
            QCOMPARE(byCommand, u"5\n17\n"_s);
            QCOMPARE(form->edit13->text(), u"2"_s);
        }
    }

    void versionAndHelp_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("code"); // the exit code; "expected" is on the error output unless 0
        QTest::newRow("version") << u"--version"_s << u"Trevolo 1.3.0\n"_s << 0;
        QTest::newRow("help") << u"--help"_s << u"[file...]"_s << 0;
        QTest::newRow("unknown option") << u"--bogus"_s << u"Unknown option 'bogus'."_s << 2;
    }
    void versionAndHelp()
    {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        QFETCH(int, code);
        // No display, and no platform asked for.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TREVOLO_PROGRAM), {option});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), code);
        const QString out = QString::fromUtf8(code == 0 ? program.readAllStandardOutput()
                                                        : program.readAllStandardError());
        QVERIFY2(option == u"--version"_s ? out == expected : out.contains(expected),
                 qPrintable(out));
    }

    void terminationSignalEndsTheProgram_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("atQuestion"); // a left-over is offered at start
        QTest::newRow("SIGTERM, running") << SIGTERM << false;
        QTest::newRow("SIGTERM at the question") << SIGTERM << true;
        QTest::newRow("SIGHUP at the question") << SIGHUP << true;
        QTest::newRow("SIGINT at the question") << SIGINT << true;
    }
    // The program itself, its copy in a folder of its own: a signal ends it
    // as closing would without questions. Its settings are written, and a
    // recovery file offered at start stays for the next one.
    void terminationSignalEndsTheProgram()
    {
        QFETCH(int, signal);
        QFETCH(bool, atQuestion);
        const QString program = programFolder() + u"/trevolo"_s;
        QVERIFY(::link(TREVOLO_PROGRAM, QFile::encodeName(program).constData()) == 0 ||
                QFile::copy(QStringLiteral(TREVOLO_PROGRAM), program));
        const QString state = dir.filePath(u"state/trevolo"_s);
        const QString leftOver = atQuestion ? LeaveEndedRun(state, u"5\n17\n"_s) : QString();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_STATE_HOME"_s, dir.filePath(u"state"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
        QProcess run;
        run.setProcessEnvironment(environment);
        run.start(program, {});
        QVERIFY(run.waitForStarted());
        const qint64 pid = run.processId();
        // Its own file taken, and the left-over while it is offered.
        QVERIFY(WaitForLocks(state, pid, atQuestion ? 2 : 1));
        ::kill(pid_t(pid), signal);
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(ReadRaw(programFolder() + u"/default.ini"_s).startsWith("\r\n[Common]"));
        QCOMPARE(QDir(state).entryList(QDir::Files),
                 atQuestion ? QStringList{QFileInfo(leftOver).fileName()} : QStringList());
        if (atQuestion)
            QCOMPARE(ReadRaw(leftOver), "5\r\n17\r\n");
    }

    void qtTextsInRussian()
    {
        QTranslator translator;
        QVERIFY(InstallQtTranslations(translator));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Отмена"_s);
        QCoreApplication::removeTranslator(&translator);
    }

    // At a device pixel ratio of 2 the balls carry twice the pixels at the
    // same size in the window.
    void sharpIndicatorsAtRatioTwo()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        createAll();
        for (const QString &name : {u"b"_s, u"y"_s, u"g"_s, u"Im_12_10"_s}) {
            const QPixmap picture = form->FindComponentAs<TImage>(name)->Picture();
            QCOMPARE(picture.devicePixelRatio(), 2.0);
            QCOMPARE(picture.size(), QSize(32, 32));
        }
        const QPixmap icon = form->windowIcon().pixmap(QSize(64, 64), 2.0);
        QCOMPARE(icon.size(), QSize(128, 128));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
