#include "CommandsTest.h"

// --------------------------------------------------------------------- exit

void TestCommands::closeAsksAboutAChangedHistory_data()
{
    // Steps before closing: "type:<line>" types a line at the end, "erase:<n>"
    // deletes n characters there, "load" loads "5\r\n17\r\n", "save" saves to
    // saved.txt, "clear" and "generate" run those commands.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("way");    // close box, "N9" or "Ctrl+Q"
    QTest::addColumn<int>("answer");     // -1: no question expected
    QTest::addColumn<QString>("saveTo"); // the file chosen after Да; empty: cancelled
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("saved"); // what the closing wrote to out.txt
    QTest::addColumn<int>("errors");

    const QByteArray none("<unreadable>"); // no file
    const int yes = int(Answer::Yes), no = int(Answer::No), cancel = int(Answer::Cancel);
    const QStringList typed{u"type:5"_s};
    QTest::newRow("nothing typed")
        << QStringList() << u"box"_s << -1 << QString() << true << none << 0;
    QTest::newRow("typed, Нет") << typed << u"box"_s << no << QString() << true << none << 0;
    QTest::newRow("typed, Отмена") << typed << u"N9"_s << cancel << QString() << false << none << 0;
    QTest::newRow("typed, Да, saved")
        << typed << u"Ctrl+Q"_s << yes << u"out.txt"_s << true << QByteArray("5\r\n") << 0;
    QTest::newRow("typed, Да, dialog cancelled")
        << typed << u"box"_s << yes << QString() << false << none << 0;
    QTest::newRow("typed, Да, write fails")
        << typed << u"N9"_s << yes << u"folder"_s << false << none << 1;
    QTest::newRow("loaded") << QStringList{u"load"_s} << u"box"_s << -1 << QString() << true << none
                            << 0;
    QTest::newRow("loaded, then generated") << QStringList{u"load"_s, u"generate"_s} << u"box"_s
                                            << cancel << QString() << false << none << 0;
    QTest::newRow("typed, then saved") << QStringList{u"type:5"_s, u"save"_s} << u"Ctrl+Q"_s << -1
                                       << QString() << true << none << 0;
    QTest::newRow("saved, then typed") << QStringList{u"save"_s, u"type:5"_s} << u"Ctrl+Q"_s << no
                                       << QString() << true << none << 0;
    QTest::newRow("typed, then cleared")
        << QStringList{u"type:5"_s, u"clear"_s} << u"N9"_s << -1 << QString() << true << none << 0;
    // The text decides, not the edits: typed and erased again, or a loaded
    // line deleted and typed anew, is the text as it was.
    QTest::newRow("typed, then erased") << QStringList{u"type:17"_s, u"erase:3"_s} << u"box"_s << -1
                                        << QString() << true << none << 0;
    QTest::newRow("loaded, a line retyped") << QStringList{u"load"_s, u"erase:3"_s, u"type:17"_s}
                                            << u"box"_s << -1 << QString() << true << none << 0;
    QTest::newRow("loaded, a line changed") << QStringList{u"load"_s, u"erase:3"_s, u"type:18"_s}
                                            << u"box"_s << no << QString() << true << none << 0;
}

void TestCommands::closeAsksAboutAChangedHistory()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, way);
    QFETCH(int, answer);
    QFETCH(QString, saveTo);
    QFETCH(bool, closed);
    QFETCH(QByteArray, saved);
    QFETCH(int, errors);

    QVERIFY(MakeFailingPaths(dir.path()));
    QVERIFY(WriteRaw(path(u"spins.txt"_s), "5\r\n17\r\n"));
    // Without a message loop a closed last window must not end anything.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    for (const QString &step : steps) {
        memo().moveCursor(QTextCursor::End);
        if (step.startsWith(u"type:")) {
            QTest::keyClicks(&memo(), step.mid(5));
            QTest::keyClick(&memo(), Qt::Key_Return);
        } else if (step.startsWith(u"erase:")) {
            for (int i = step.mid(6).toInt(); i > 0; --i)
                QTest::keyClick(&memo(), Qt::Key_Backspace);
        } else if (step == u"load") {
            answerOpen(path(u"spins.txt"_s));
            item(u"N5"_s).trigger();
        } else if (step == u"save") {
            answerSave(path(u"saved.txt"_s));
            item(u"N6"_s).trigger();
        } else {
            item(step == u"clear" ? u"N16"_s : u"N52"_s).trigger();
        }
    }
    QVERIFY(env->boxes.isEmpty());
    if (answer >= 0)
        env->answers.push_back(Answer(answer));
    if (!saveTo.isEmpty())
        answerSave(path(saveTo));
    const qsizetype saveRequests = env->saveRequests.size();

    if (way == u"N9")
        item(u"N9"_s).trigger();
    else if (way == u"Ctrl+Q")
        QTest::keySequence(form.get(), QKeySequence(u"Ctrl+Q"_s));
    else
        form->close();
    QGuiApplication::setQuitOnLastWindowClosed(true);

    QCOMPARE(env->questions.size(), answer >= 0 ? 1 : 0);
    if (answer >= 0) {
        QCOMPARE(env->questions[0].caption, u"Trevolo"_s);
        QCOMPARE(env->questions[0].text, u"Сохранить последовательность?"_s);
    }
    // Да shows the save dialog; Нет and Отмена do not.
    QCOMPARE(env->saveRequests.size() - saveRequests, answer == int(Answer::Yes) ? 1 : 0);
    QCOMPARE(form->isVisible(), !closed);
    QCOMPARE(ReadRaw(path(u"out.txt"_s)), saved);
    QCOMPARE(env->boxes.size(), errors);
}

void TestCommands::exitClosesTheWindow()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    memo().ReplaceText(u"5\n"_s);
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);

    // As in the program: "Выход" is chosen while the message loop runs, and
    // closing the main window ends the loop with exit code 0.
    env->answers = {Answer::No};
    QTimer::singleShot(0, &item(u"N9"_s), &QAction::trigger);
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    failsafe.start(10000);
    const int exitCode = QApplication::exec();
    failsafe.stop();

    QCOMPARE(exitCode, 0);
    QVERIFY(!form->isVisible());
    QCOMPARE(lastWindowClosed.size(), 1);
    // The typed history is answered Нет: nothing is saved.
    QCOMPARE(env->questions.size(), 1);
    QVERIFY(env->boxes.isEmpty());
    QVERIFY(env->saveRequests.isEmpty());
}

void TestCommands::quitAsksAndCanBeRefused()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    memo().ReplaceText(u"5\n"_s);
    env->answers = {Answer::Cancel, Answer::No};

    // The application's own quit, as when the desktop session ends: the
    // first is refused with Отмена and the loop runs on; the second, answered
    // Нет, ends it.
    QTimer::singleShot(0, qApp, [] {
        QCoreApplication::quit();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    failsafe.start(10000);
    const int exitCode = QApplication::exec();
    failsafe.stop();

    QCOMPARE(env->questions.size(), 2);
    QCOMPARE(exitCode, 0);
    QVERIFY(!form->isVisible());
}
