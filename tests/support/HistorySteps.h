#pragma once

// Steps a test takes on the main window's history, each named by a word:
// "type:<digits>" a line typed at the end, "erase" one character erased
// there, "undo" and "redo" (Ctrl+Z, Ctrl+Shift+Z), the menu items "clear"
// ("Очистить"), "generate", "table" (a new table), "save" (to saved.txt in
// `folder`) and "load" (spins.txt in `folder`), "load:<n>" (n lines written to <n>.txt in
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
    } else if (step.startsWith(u"load:")) {
        const QString file = folder + u'/' + step.mid(5) + QStringLiteral(".txt");
        QVERIFY(WriteRaw(file, HistoryToFileBytes(Numbers(step.mid(5).toInt(), 3))));
        form.LoadHistoryFrom(file);
    } else if (step == u"close") {
        QGuiApplication::setQuitOnLastWindowClosed(false);
        form.close();
        QGuiApplication::setQuitOnLastWindowClosed(true);
    } else {
        // A menu item; a save or a load gets its file in `folder`.
        if (step == u"save")
            env.saveAnswers.push_back(FileChoice{folder + QStringLiteral("/saved.txt"), {}});
        if (step == u"load")
            env.openAnswers.push_back(FileChoice{folder + QStringLiteral("/spins.txt"), {}});
        const QString item = step == u"save"    ? QStringLiteral("N6")
                             : step == u"load"  ? QStringLiteral("N5")
                             : step == u"clear" ? QStringLiteral("N16")
                             : step == u"table" ? QStringLiteral("N31")
                                                : QStringLiteral("N52");
        QVERIFY2(item != u"N52" || step == u"generate", qPrintable(step));
        form.FindComponentAs<QAction>(item)->trigger();
    }
}

} // namespace trevolo
