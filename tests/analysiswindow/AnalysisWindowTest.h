#pragma once

// The analysis window through the main window: the test class, with its
// bodies in files by subject.
#include "support/TestHistories.h"
#include "support/WindowFixture.h"

#include "app/analysiswindow/AnalysisForm.h"

#include <QLabel>
#include <QStringList>
#include <QTabWidget>
#include <QTest>

class TestAnalysisWindow : public QObject, private trevolo::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { createAll(); }
    void cleanup() { destroyAll(); }

    // tst_analysiswindow.cpp
    void menuItem();
    void opensFollowsAndRests();
    void countsExample();
    void groupRuns();
    void badInput_data();
    void badInput();
    void verdictWords_data();
    void verdictWords();
    void emptyHistoryShowsNoFigures();
    void wheelPockets_data();
    void wheelPockets();
    void heatScaleGetsLighter();

    // tst_depthpages.cpp: spans, gaps and arcs
    void spans_data();
    void spans();
    void gapTable_data();
    void gapTable();
    void gapTableSortsNumbersAsNumbers_data();
    void gapTableSortsNumbersAsNumbers();
    void groupGapsAndTheirChart();
    void hotArc_data();
    void hotArc();

    // tst_reach.cpp: keyboard, screen readers, small screens
    void placement_data();
    void placement();
    void opensInsideTheScreen();
    void chartLabelsWhole_data();
    void chartLabelsWhole();
    void tabReachesEveryFigure_data();
    void tabReachesEveryFigure();
    void keysClose_data();
    void keysClose();
    void keysTurnPages_data();
    void keysTurnPages();
    void accessibleTexts_data();
    void accessibleTexts();
    void sectorNamesReadable_data();
    void sectorNamesReadable();

private:
    trevolo::AnalysisForm *open()
    {
        form->n27->trigger();
        return form->findChild<trevolo::AnalysisForm *>(QStringLiteral("AnalysisForm"));
    }
    // A label's text, or what a screen reader says of it.
    QString shown(const char *name, bool spoken = false) const
    {
        auto *label = form->analysisForm()->findChild<QLabel *>(QString::fromLatin1(name));
        return !label   ? QStringLiteral("<missing>")
               : spoken ? label->accessibleName()
                        : label->text();
    }
    static void showPage(trevolo::AnalysisForm *window, trevolo::AnalysisForm::Page page)
    {
        window->findChild<QTabWidget *>(QStringLiteral("AnalysisPages"))->setCurrentIndex(page);
    }
};
