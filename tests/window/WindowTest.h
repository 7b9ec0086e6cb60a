#pragma once

#include "app/desktop/Guard.h"
#include "app/mainwindow/NameRegistry.h"
#include "app/mainwindow/Unit1.h"
#include "app/widgets/Controls.h"
#include "app/widgets/PageControl.h"
#include "common/Error.h"
#include "common/ErrorText.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <memory>
#include <stdexcept>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

inline QStringList Range(const QString &prefix, int first, int last, int step = 1)
{
    QStringList names;
    for (int n = first; n <= last; n += step)
        names.append(prefix + QString::number(n));
    return names;
}

// Every name the window must know, as the layout lists them.
inline QStringList ExpectedNames()
{
    QStringList names{
        u"ListBox1"_s,    u"Edit13"_s,      u"PageControl1"_s, u"StatusBar1"_s, u"TabSheet1"_s,
        u"TabSheet2"_s,   u"TabSheet4"_s,   u"TabSheet3"_s,    u"TabSheet6"_s,  u"GroupBox8"_s,
        u"CheckBox2"_s,   u"CheckBox1"_s,   u"Bevel8"_s,       u"Label43"_s,    u"Label45"_s,
        u"TrackBar1"_s,   u"Label46"_s,     u"Label48"_s,      u"Label49"_s,    u"Label50"_s,
        u"Label47"_s,     u"GroupBox9"_s,   u"ComboBox1"_s,    u"Label53"_s,    u"Label51"_s,
        u"TrackBar2"_s,   u"Label52"_s,     u"TrackBar3"_s,    u"Label200"_s,   u"Label198"_s,
        u"TrackBar4"_s,   u"Label199"_s,    u"TrackBar5"_s,    u"Memo1"_s,      u"GroupBox11"_s,
        u"Label202"_s,    u"Edit2"_s,       u"Label203"_s,     u"Edit3"_s,      u"Memo2"_s,
        u"GroupBox12"_s,  u"Label212"_s,    u"Edit12"_s,       u"MainMenu1"_s,  u"N3"_s,
        u"N5"_s,          u"N6"_s,          u"N17"_s,          u"N16"_s,        u"N52"_s,
        u"N102"_s,        u"N252"_s,        u"N502"_s,         u"N27"_s,        u"N10"_s,
        u"N9"_s,          u"N4"_s,          u"N7"_s,           u"N11"_s,        u"N12"_s,
        u"N14"_s,         u"N13"_s,         u"N24"_s,          u"N25"_s,        u"N26"_s,
        u"N18"_s,         u"N20"_s,         u"N23"_s,          u"N19"_s,        u"N15"_s,
        u"N22"_s,         u"N8"_s,          u"PopupMenu1"_s,   u"N1"_s,         u"N2"_s,
        u"N51"_s,         u"N101"_s,        u"N251"_s,         u"N501"_s,       u"OpenDialog1"_s,
        u"SaveDialog1"_s, u"OpenDialog2"_s, u"SaveDialog2"_s,  u"GroupBox2"_s,  u"GroupBox1"_s,
        u"GroupBox3"_s,   u"GroupBox4"_s,   u"GroupBox5"_s,    u"b"_s,          u"y"_s,
        u"g"_s,           u"GroupBox6"_s,   u"Label25"_s,      u"Edit1"_s,      u"Label44"_s,
        u"Label26"_s,     u"GroupBox7"_s,   u"Label_80"_s,     u"Bevel6"_s,     u"Bevel7"_s,
        u"GroupBox10"_s,  u"Label247"_s,    u"Bevel1"_s,       u"Bevel2"_s,
    };
    names.append(u"N28"_s);               // "Панель ввода"
    names.append(u"N29"_s);               // "Проверка системы..."
    names.append(u"N30"_s);               // "Как читать показатели"
    names += {u"N36"_s, u"N37"_s, u"N38"_s}; // "Импорт...", "Экспорт...", "Отчёт..."
    names += {u"N39"_s, u"N31"_s, u"N32"_s, u"N33"_s, u"N34"_s}; // the tables
    names += Range(u"Label"_s, 1, 23, 2); // row captions
    names += Range(u"Label"_s, 2, 24, 2); // hidden row labels
    names += Range(u"Label"_s, 27, 42);   // captions 1..16, absences
    names += Range(u"Label"_s, 60, 79);   // captions 19..36, 17, 18, 35, 36
    names += Range(u"Label"_s, 80, 116);  // absence counts
    names += Range(u"Label"_s, 54, 59);   // captions 1..6, occurrences
    names += Range(u"Label"_s, 117, 146); // captions 7..36
    names += Range(u"Label"_s, 147, 183); // occurrence counts
    names += Range(u"Label"_s, 204, 211); // stake rows
    names += Range(u"Edit"_s, 4, 11);
    for (int g = 1; g <= 12; ++g)
        for (int l = 1; l <= 10; ++l)
            names.append(QStringLiteral("Im_%1_%2").arg(g).arg(l));
    return names;
}

// The shown text of any captioned control.
inline QString CaptionOf(const QObject *object)
{
    if (auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(object))
        return edit->text();
    if (auto *box = qobject_cast<const QGroupBox *>(object))
        return box->title();
    if (auto *check = qobject_cast<const QCheckBox *>(object))
        return check->text();
    if (auto *menu = qobject_cast<const QMenu *>(object))
        return menu->title();
    if (auto *action = qobject_cast<const QAction *>(object))
        return action->isSeparator() ? u"-"_s : action->text();
    if (auto *page = qobject_cast<const TTabSheet *>(object))
        return page->Caption();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(object))
        return memo->toPlainText();
    if (auto *status = qobject_cast<const TStatusBar *>(object))
        return status->SimpleText();
    return u"<no caption>"_s;
}

inline QStringList ActionNames(const QList<QAction *> &actions)
{
    QStringList names;
    for (const QAction *action : actions)
        names.append(action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

} // namespace

class TestWindow : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    QLabel *label(int n) const
    {
        return form->FindComponentAs<QLabel>(u"label"_s + QString::number(n));
    }
    QWidget *image(int g, int l) const
    {
        return form->FindComponentAs<QWidget>(QStringLiteral("im_%1_%2").arg(g).arg(l));
    }
    void typeHistory(const QStringList &spins)
    {
        for (const QString &spin : spins) {
            QTest::keyClicks(form->listBox1, spin);
            QTest::keyClick(form->listBox1, Qt::Key_Return);
        }
    }

private Q_SLOTS:
    void init();
    void cleanup();
    void lineCountShowsInFull_data();
    void lineCountShowsInFull();

    void registryFindsEveryName();
    void registryIgnoresLatinCase_data();
    void registryIgnoresLatinCase();
    void registryKeepsLabel80ApartFromLabel_80();
    void registryOnlyTakesNewNames();
    void initialCaptions_data();
    void initialCaptions();
    void initialControlState();
    void numberGridRows();
    void indicatorRows();
    void menus();
    void popupMenuReplacesTheStandardOne();
    void windowFrame();

    void workedExampleTypedIntoTheMemo();
    void calcEdgeCases_data();
    void calcEdgeCases();
    void calcEmptiesHiddenRowLabels();
    void boldFollowsTheThreshold();
    void badThresholdShowsOneErrorAndKeepsCounts();
    void countLabelsGrowToTheRight();

    void periodRule_data();
    void periodRule();
    void guardShowsEscapingErrors_data();
    void guardShowsEscapingErrors();

    void trackBarRules_data();
    void trackBarRules();
    void trackBarSignalsNestInsideTheOperation();
    void trackBarUserMoveSignals();
    void comboBoxProgrammaticAndUser();
    void historyMemoAppendLine_data();
    void historyMemoAppendLine();
    void historyMemoNotifications();
    void historyMemoHoldsWhatTheFileCan_data();
    void historyMemoHoldsWhatTheFileCan();
    void pageControlTabs();
    void fileDialogRemembersTheChoice();
};
