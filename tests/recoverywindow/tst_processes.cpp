// The program as a child process of the test: this executable started
// again in the role of the program (RunWindow, as the program runs it, on a
// recording desktop), its window driven from inside by a timer. It reports
// every text its window shows, with the time, on its standard output; the
// test kills or signals it and reads what the next start is offered.
#include "RecoveryWindowTest.h"

#include "app/Project1.h"
#include "history/HistoryFile.h"
#include "history/HistoryText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <unistd.h>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

// A checked build (AddressSanitizer) runs every child several times slower,
// so it is killed fewer times.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool CheckedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool CheckedBuild = true;
#else
constexpr bool CheckedBuild = false;
#endif
#else
constexpr bool CheckedBuild = false;
#endif

// The monotonic clock, the same in every process, in milliseconds.
qint64 Now()
{
    return QDeadlineTimer::current().deadline();
}

// How a text is told apart: its length and hash, or "none" for an empty
// one, which leaves nothing to recover.
QString Outcome(const QString &text)
{
    if (text.isEmpty())
        return u"none"_s;
    return u"%1:%2"_s.arg(text.size()).arg(qHash(text, 0));
}

// What a child writes: "<kind> <time> <outcome>" lines. R: the text shown
// once it runs, S: every text shown after it, P and L: a long paste or a
// load begins, Q: the steps are taken.
struct Line
{
    char kind;
    qint64 at;
    QString outcome;
};

// One write each, far below the size a pipe takes at once.
void Write(char kind, const QString &outcome = QString())
{
    const QByteArray line =
        QByteArray(1, kind) + ' ' + QByteArray::number(Now()) + ' ' + outcome.toLatin1() + '\n';
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, line.constData(), line.size());
}

// The driver inside the child. Plans: "random" edits at random, "paste" and
// "load" also begin with a few edits, then a long paste or a load;
// "steps:" takes the steps that follow (HistorySteps.h) and waits.
class Driver : public QObject
{
public:
    Driver(FakeEnvironment &environment, const QString &folder)
        : m_environment(environment), m_plan(qEnvironmentVariable("TREVOLO_TEST_PLAN")),
          m_random(quint32(qEnvironmentVariableIntValue("TREVOLO_TEST_DRIVE"))), m_folder(folder)
    {
        m_loaded = Outcome(LoadHistoryFile(folder + u"/spins.txt"_s));
        m_firstLong = int(m_random.bounded(1, 6));
        connect(&m_tick, &QTimer::timeout, this, [this] { Act(); });
        m_tick.start(20);
    }

private:
    void Act()
    {
        // One action at a time, and none before the program's loop runs
        // (the start offers the recovery file meanwhile).
        if (m_acting || QThread::currentThread()->loopLevel() != 1)
            return;
        m_acting = true;
        if (!m_form)
            Begin();
        else
            Step();
        m_acting = false;
    }
    void Begin()
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            m_form = m_form ? m_form : qobject_cast<TForm1 *>(window);
        if (!m_form)
            return;
        m_memo = m_form->listBox1;
        Write('R', Shown());
        connect(m_memo, &THistoryMemo::historyEdited, this, [this] { Write('S', Shown()); });
    }
    // The outcome of the text shown: "none" as well when it is the text
    // last loaded or cleared.
    QString Shown() const
    {
        const QString shown = Outcome(m_memo->Text());
        return shown == m_saved ? u"none"_s : shown;
    }
    void Take(const QString &step) { TakeHistoryStep(*m_form, m_environment, m_folder, step); }
    void Step()
    {
        ++m_actions;
        if (m_plan.startsWith(u"steps:")) {
            if (m_actions == 1) {
                for (const QString &step : m_plan.mid(6).split(u' ', Qt::SkipEmptyParts))
                    Take(step);
                Write('Q');
            }
            return;
        }
        const bool planned = m_actions == m_firstLong && m_plan != u"random";
        const int roll = planned ? (m_plan == u"paste" ? 65 : 71) : int(m_random.bounded(100));
        if (roll < 30) {
            Take(u"type:"_s + QString::number(m_random.bounded(37)));
        } else if (roll < 40) {
            for (int i = int(m_random.bounded(1, 4)); i > 0; --i)
                QTest::keyClick(m_memo, Qt::Key_Backspace);
        } else if (roll < 52) {
            Take(roll < 48 ? u"undo"_s : u"redo"_s);
        } else if (roll < 62) {
            Trigger(roll < 57 ? u"N52"_s : u"N102"_s);
        } else if (roll < 64) {
            m_saved = u"none"_s;
            Take(u"clear"_s);
        } else if (roll < 70) {
            if (m_memo->document()->blockCount() > 150000)
                return;
            Write('P');
            QApplication::clipboard()->setText(Numbers(30000, int(m_random.bounded(37))));
            m_memo->moveCursor(QTextCursor::End);
            QTest::keyClick(m_memo, Qt::Key_V, Qt::ControlModifier);
        } else if (roll < 74) {
            Write('L');
            m_saved = m_loaded;
            Take(u"load"_s);
        }
    }
    void Trigger(const QString &item) { m_form->FindComponentAs<QAction>(item)->trigger(); }

    FakeEnvironment &m_environment;
    const QString m_plan;
    QRandomGenerator m_random;
    const QString m_folder;
    QString m_loaded;
    QString m_saved = u"none"_s; // the text last loaded or cleared
    int m_firstLong = 1;
    int m_actions = 0;
    bool m_acting = false;
    QTimer m_tick;
    TForm1 *m_form = nullptr;
    THistoryMemo *m_memo = nullptr;
};

// The role of the program: its settings beside "bin", its state folder
// given, every recovery question answered Да.
int RunDrivenWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = qEnvironmentVariable("TREVOLO_TEST_FOLDER");
    FakeEnvironment environment;
    environment.folder = folder + u"/bin"_s;
    environment.userFolder = folder + u"/config"_s;
    environment.state = qEnvironmentVariable("TREVOLO_TEST_STATE");
    environment.answers.assign(100, Answer::Yes);
    Driver driver(environment, folder);
    return RunWindow(environment, QStringList{qEnvironmentVariable("TREVOLO_TEST_OPEN")});
}

// A child run of the program, read line by line.
class Child
{
public:
    Child(const QString &folder, const QString &state, const QString &plan, quint32 seed,
          const QString &open = QString())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TREVOLO_TEST_DRIVE"_s, QString::number(seed));
        environment.insert(u"TREVOLO_TEST_PLAN"_s, plan);
        environment.insert(u"TREVOLO_TEST_FOLDER"_s, folder);
        environment.insert(u"TREVOLO_TEST_STATE"_s, state);
        environment.insert(u"TREVOLO_TEST_OPEN"_s, open);
        // Temporary folders of a killed child stay; they go with the test's.
        environment.insert(u"TMPDIR"_s, folder);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(), {});
    }
    ~Child()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    qint64 pid() const { return m_process.processId(); }
    QProcess &process() { return m_process; }
    const QList<Line> &lines() const { return m_lines; }

    // Waits for a line of that kind; its time, or -1 after `msecs`.
    qint64 waitFor(char kind, int msecs = 60000)
    {
        const QDeadlineTimer deadline(msecs);
        for (qsizetype seen = 0;;) {
            for (; seen < m_lines.size(); ++seen) {
                if (m_lines[seen].kind == kind)
                    return m_lines[seen].at;
            }
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return -1;
            m_process.waitForReadyRead(20);
            read();
        }
    }
    // Ends the child with `signal`; the time it was sent.
    qint64 end(int signal)
    {
        read();
        const qint64 at = Now();
        ::kill(pid_t(pid()), signal);
        m_process.waitForFinished(60000);
        read();
        return at;
    }

private:
    void read()
    {
        m_pending += m_process.readAllStandardOutput();
        for (qsizetype end; (end = m_pending.indexOf('\n')) >= 0; m_pending.remove(0, end + 1)) {
            const QList<QByteArray> parts = m_pending.left(end).split(' ');
            if (parts.size() == 3)
                m_lines.append({parts[0][0], parts[1].toLongLong(), QString::fromLatin1(parts[2])});
        }
    }

    QProcess m_process;
    QByteArray m_pending;
    QList<Line> m_lines;
};

// What the next start is offered from `state`: the outcomes of the
// left-overs that were the text shown, newest first, and of those that a
// load or a clearing replaced. These are discarded, so that the next run is
// offered the text shown only.
struct Offer
{
    QStringList shown, replaced;
    QString newest() const { return shown.value(0, u"none"_s); }
};
Offer Offered(const QString &state)
{
    RecoveryStore::Problem problem;
    const auto store = RecoveryStore::Open(state, problem);
    if (!store)
        return {{u"<no store>"_s}, {}};
    Offer offer;
    for (LeftOverHistory &leftOver : store->TakeLeftOvers()) {
        (leftOver.replacedBy ? offer.replaced : offer.shown) << Outcome(leftOver.text);
        if (leftOver.replacedBy)
            store->Discard(leftOver);
    }
    return offer;
}

// A plan that types two lines and waits, nothing replacing them.
const QString Typed = u"steps:type:5 type:17"_s;

} // namespace

void TestRecoveryWindow::endedRunsKeepTheirTexts_data()
{
    QTest::addColumn<QString>("plan");
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << Typed << SIGTERM;
    QTest::newRow("SIGHUP") << Typed << SIGHUP;
    QTest::newRow("SIGINT") << Typed << SIGINT;
    QTest::newRow("load, SIGKILL") << Typed + u" load"_s << SIGKILL;
    QTest::newRow("load, SIGTERM") << Typed + u" load"_s << SIGTERM;
    QTest::newRow("Очистить, SIGKILL") << Typed + u" clear"_s << SIGKILL;
    QTest::newRow("command line over a recovery, SIGKILL") << u"steps:"_s << SIGKILL;
}

// Right after two lines are typed, before the timer writes them: the
// program ends normally, its settings written, and the lines are kept for
// the next start. Unsaved spins that a load, "Очистить" or a file named on
// the command line replaced are offered at the next start, whatever ended
// the run.
void TestRecoveryWindow::endedRunsKeepTheirTexts()
{
    QFETCH(QString, plan);
    QFETCH(int, signal);
    const bool quiet = plan == Typed, commandLine = plan == u"steps:";
    QVERIFY(QDir().mkpath(m_dir->filePath(u"bin"_s)));
    QVERIFY(WriteRaw(m_dir->filePath(u"spins.txt"_s), HistoryToFileBytes(Numbers(40, 3))));
    const QString typed = commandLine ? Numbers(8, 5) : u"5\n17\n"_s;
    if (commandLine)
        LeaveEndedRun(state(), typed);
    Child child(m_dir->path(), state(), plan, 1,
                commandLine ? m_dir->filePath(u"spins.txt"_s) : QString());
    QVERIFY(child.waitFor('Q') > 0);
    // Well past the recovery timer, so a file the run should keep is gone
    // if it was to go.
    if (!quiet)
        QTest::qWait(2 * TForm1::RecoveryDelayMs + 300);
    child.end(signal);
    if (signal != SIGKILL) {
        QCOMPARE(child.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.process().exitCode(), 0);
        QVERIFY(ReadRaw(m_dir->filePath(u"bin/default.ini"_s)).startsWith("\r\n[Common]"));
    }
    const Offer offer = Offered(state());
    QCOMPARE(offer.newest(), quiet ? Outcome(typed) : u"none"_s);
    QCOMPARE(offer.replaced, quiet ? QStringList() : QStringList{Outcome(typed)});
}

// A running program's file is neither offered nor touched by another.
void TestRecoveryWindow::twoInstances()
{
    Child first(m_dir->path(), state(), Typed, 1);
    QVERIFY(first.waitFor('Q') > 0);
    QVERIFY(WaitForLocks(state(), first.pid(), 1));
    const QString running = QDir(state()).filePath(LockedBy(state(), first.pid()).front());
    QTRY_COMPARE(ReadRaw(running), "5\r\n17\r\n");

    env->answers = {Answer::Yes};
    start();
    QVERIFY(env->questions.isEmpty());
    form->EnterSpin(3);
    form->KeepForRecovery();
    QCOMPARE(ownFile(), "3\r\n");
    QCOMPARE(ReadRaw(running), "5\r\n17\r\n");
    QCOMPARE_NE(form->Recovery()->FilePath(), running);

    // Closed without saving, this one's file goes; once the first is gone,
    // its file is offered.
    env->answers = {Answer::No};
    step(u"close"_s);
    first.end(SIGKILL);
    restart({Answer::Yes, Answer::Yes});
    QCOMPARE(env->questions.size(), 1);
    QCOMPARE(form->listBox1->Text(), u"5\n17\n"_s);
}

// Killed at random moments, some during a long paste or a load: the next
// start is offered what the window showed two seconds before the kill or
// later, never a torn or an older text. Each run recovers the text the one
// before left, and goes on from there.
void TestRecoveryWindow::killedAtRandomMoments()
{
    // Each plan comes up in every five kills: a paste, a load, three random.
    constexpr int Kills = CheckedBuild ? 15 : 30;
    QVERIFY(QDir().mkpath(m_dir->filePath(u"bin"_s)));
    QVERIFY(WriteRaw(m_dir->filePath(u"spins.txt"_s), HistoryToFileBytes(Numbers(100000, 3))));
    QRandomGenerator random(20261208);
    QString offered = u"none"_s;
    for (int kill = 0; kill < Kills; ++kill) {
        const QString plan = kill % 5 == 1 ? u"paste"_s : kill % 5 == 3 ? u"load"_s : u"random"_s;
        Child child(m_dir->path(), state(), plan, quint32(kill + 1));
        const qint64 ready = child.waitFor('R');
        QVERIFY2(ready > 0, "the child did not start");
        // It shows what the run before left.
        QCOMPARE(child.lines().front().outcome, offered);
        qint64 until = ready;
        if (plan != u"random") {
            until = child.waitFor(plan == u"paste" ? 'P' : 'L');
            QVERIFY(until > 0);
            until += random.bounded(400);
        } else {
            until += random.bounded(10) < 2 ? random.bounded(2100, 2800) : random.bounded(50, 1200);
        }
        while (Now() < until)
            QTest::qSleep(5);
        const qint64 killedAt = child.end(SIGKILL);

        // Allowed: the text shown two seconds before, and every one after.
        QStringList allowed, story;
        for (const Line &line : child.lines()) {
            story << u"%1%2:%3"_s.arg(QChar(line.kind)).arg(line.at - ready).arg(line.outcome);
            if (line.kind != 'R' && line.kind != 'S')
                continue;
            if (line.at <= killedAt - 2000)
                allowed = QStringList{line.outcome};
            else
                allowed.append(line.outcome);
        }
        const Offer offer = Offered(state());
        offered = offer.newest();
        QVERIFY(offer.shown.size() <= 1);
        // A text a load or a clearing replaced was shown in this run; if not,
        // the run's lines say what it did, in ms after its start.
        for (const QString &text : offer.replaced)
            QVERIFY2(std::any_of(child.lines().begin(), child.lines().end(),
                                 [&](const Line &line) { return line.outcome == text; }),
                     qPrintable(u"kill %1 at %2: replaced %3 was never shown; %4"_s.arg(kill).arg(
                         killedAt - ready).arg(text, story.join(u' '))));
        QVERIFY2(allowed.contains(offered),
                 qPrintable(u"kill %1 (%2, %3 ms after start): offered %4, allowed %5"_s.arg(
                     QString::number(kill), plan, QString::number(killedAt - ready), offered,
                     allowed.join(u' '))));
    }
}

// Killed with two unsaved tables: the next start brings both back.
void TestRecoveryWindow::killedWithTables()
{
    Child child(m_dir->path(), state(), u"steps:type:5 table type:17"_s, 1);
    QVERIFY(child.waitFor('Q') > 0);
    QTest::qWait(2 * TForm1::RecoveryDelayMs + 300);
    child.end(SIGKILL);
    env->answers = {Answer::Yes};
    start();
    QCOMPARE(env->questions.size(), 1);
    QCOMPARE(env->questions[0].text, u"Восстановить несохранённые столы?"_s);
    QCOMPARE(form->Tables().Count(), 2);
    QCOMPARE(form->listBox1->Text(), u"5\n"_s);
    QCOMPARE(form->Tables().At(1).name, u"Стол 2"_s);
    QCOMPARE(NewestSpins(form->Tables().At(1).history, 2), QList<int>{17});
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("TREVOLO_TEST_DRIVE"))
        return RunDrivenWindow(argc, argv);
    QApplication app(argc, argv);
    TestRecoveryWindow test;
    return QTest::qExec(&test, argc, argv);
}
