#pragma once

// Steps a test takes on the main window's history, each named by a word:
// "type:<digits>" a line typed at the end, "erase" one character erased
// there, "undo" and "redo" (Ctrl+Z, Ctrl+Shift+Z), "clear" ("Очистить"),
// "generate", "save" (to saved.txt in `folder`), "load" (spins.txt in
// `folder`, through the dialog), "load:<n>" (n lines written to <n>.txt in
// `folder`, then loaded) and "close" (a normal end).
#include "support/FakeEnvironment.h"
#include "support/TestFiles.h"
#include "support/TestHistories.h"

#include "app/mainwindow/Unit1.h"
#include "history/HistoryText.h"

#include <QAction>
#include <QGuiApplication>
#include <QTest>

namespace trevolo {

inline void TakeHistoryStep(TForm1 &form, FakeEnvironment &env, const QString &folder,
                            const QString &step)
{
    THistoryMemo &memo = *form.listBox1;
    if (step.startsWith(u"type:") || step == u"erase") {
        memo.moveCursor(QTextCursor::End);
        QTest::keyClicks(&memo, step.mid(5)); // nothing for "erase"
        QTest::keyClick(&memo, step == u"erase" ? Qt::Key_Backspace : Qt::Key_Return);
    } else if (step == u"undo" || step == u"redo") {
        QTest::keyClick(&memo, Qt::Key_Z,
                        step == u"undo" ? Qt::ControlModifier
                                        : Qt::ControlModifier | Qt::ShiftModifier);
    } else if (step == u"save") {
        env.saveAnswers.push_back(FileChoice{folder + QStringLiteral("/saved.txt"), {}});
        form.N6Click();
    } else if (step == u"load") {
        env.openAnswers.push_back(FileChoice{folder + QStringLiteral("/spins.txt"), {}});
        form.N5Click();
    } else if (step.startsWith(u"load:")) {
        const QString file = folder + u'/' + step.mid(5) + QStringLiteral(".txt");
        QVERIFY(WriteRaw(file, HistoryToFileBytes(Numbers(step.mid(5).toInt(), 3))));
        form.LoadHistoryFrom(file);
    } else if (step == u"close") {
        QGuiApplication::setQuitOnLastWindowClosed(false);
        form.close();
        QGuiApplication::setQuitOnLastWindowClosed(true);
    } else {
        QVERIFY2(step == u"clear" || step == u"generate", qPrintable(step));
        form.FindComponentAs<QAction>(step == u"clear" ? u"N16" : u"N52")->trigger();
    }
}

} // namespace trevolo
