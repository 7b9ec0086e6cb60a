#pragma once
// The recovery file in the window: what start offers, what every change
// writes and when the file goes, in this process; and the program run as a
// child process (DrivenWindow.h), killed, signalled and run twice.

#include "support/HistorySteps.h"
#include "support/LeftOvers.h"
#include "support/WindowFixture.h"

#include <QObject>
#include <QTemporaryDir>

class TestRecoveryWindow : public QObject, private trevolo::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // In this process (tst_recoverywindow.cpp)
    void answeredQuestion_data();
    void answeredQuestion();
    void severalLeftOversNewestFirst();
    void emptyOrCutFiles_data();
    void emptyOrCutFiles();
    void unusableStateFolder();
    void failedWritesAreSaid();
    void changesReachTheFile_data();
    void changesReachTheFile();
    void replacedTextsAreKept_data();
    void replacedTextsAreKept();
    void interruptedSave_data();
    void interruptedSave();
    void closingRemovesTheFile_data();
    void closingRemovesTheFile();
    void tablesComeBackTogether_data();
    void tablesComeBackTogether();

    // The program as a child process (tst_processes.cpp)
    void endedRunsKeepTheirTexts_data();
    void endedRunsKeepTheirTexts();
    void twoInstances();
    void killedAtRandomMoments();
    void killedWithTables();

private:
    // The state folder of the fake desktop.
    QString state() const { return env->stateFolder(); }
    // The window started as the program starts it, recovery on.
    void start();
    // The window and its surroundings made anew on the same folders, then
    // started; the questions get `answers`.
    void restart(std::deque<trevolo::Answer> answers);
    // The recovery file this window writes, as its bytes; "<none>" while
    // there is none.
    QByteArray ownFile() const;
    // One step on the history (HistorySteps.h), its files in the test's folder.
    void step(const QString &name) { TakeHistoryStep(*form, *env, m_dir->path(), name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};
