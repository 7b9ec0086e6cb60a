#pragma once
// The window's commands end to end: history commands and files, the stake
// calculator, the help and web links. The fake environment answers the file
// dialogs and records message boxes and opened addresses.

#include "analysis/Statistics.h"
#include "app/mainwindow/Unit1.h"
#include "common/Lines.h"
#include "history/HistoryText.h"
#include "support/TestFiles.h"
#include "support/TestHistories.h"
#include "support/WindowFixture.h"
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QUrlQuery>
#include <optional>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

const QString CalculatorMessage = u"Введены неверные данные. Проверьте ввод."_s;

} // namespace

class TestCommands : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    THistoryMemo &memo() const { return *form->listBox1; }
    QAction &item(const QString &name) const
    {
        auto *action = form->FindComponentAs<QAction>(name);
        if (!action)
            qFatal("no menu item %s", qPrintable(name));
        return *action;
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    void answerOpen(const QString &file)
    {
        env->openAnswers.push_back(FileChoice{file, u"Текстовые файлы (*.txt)"_s});
    }
    void answerSave(const QString &file)
    {
        env->saveAnswers.push_back(FileChoice{file, u"Текстовые файлы (*.txt)"_s});
    }
    QStringList calculatorFields() const
    {
        QStringList texts;
        for (QLineEdit *edit : {form->edit4, form->edit5, form->edit6, form->edit7, form->edit8,
                                form->edit9, form->edit10, form->edit11, form->edit12})
            texts.append(edit->text());
        return texts;
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void generate_data();
    void generate();
    void generatorKeepsItsSequenceAcrossCommands();
    void generateAfterASoftLineBreak();
    void fiftyIntoAHundredLines();
    void passesPerCommand_data();
    void passesPerCommand();

    void loadThenSave_data();
    void loadThenSave();
    void loadedTextWithoutFinalBreakStaysSo();
    void longLoadShowsProgressAndTakesNoInput();
    void cancelledLoadLeavesTheHistory();
    void largePasteIsOneUndoableChange_data();
    void largePasteIsOneUndoableChange();
    void largePasteKeepsTheUndoHistory();
    void overlongLineIsFoldedAndKeptExact();
    void longLinesWrapAtTheMemoWidth();
    void oddFilesLoadExactly_data();
    void oddFilesLoadExactly();
    void anyBytesLoad_data();
    void anyBytesLoad();
    void saveReplacesWithoutAQuestion();
    void dialogsKeepTheirOwnChoice();
    void loadErrors_data();
    void loadErrors();
    void saveErrors_data();
    void saveErrors();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void clearAndLoadAreOneUndoStep_data();
    void clearAndLoadAreOneUndoStep();

    void calculator_data();
    void calculator();
    void calculatorFollowsTyping();

    void links_data();
    void links();

    void closeAsksAboutAChangedHistory_data();
    void closeAsksAboutAChangedHistory();

    // Last: they run and end the application's message loop.
    void quitAsksAndCanBeRefused();
    void exitClosesTheWindow();
};
