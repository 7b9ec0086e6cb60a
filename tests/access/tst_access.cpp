// Keyboard and screen-reader access to the real window: the keys that move
// across the pages and reach the menu commands from any text box, and the
// accessibility tree a screen reader walks.
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include "app/entrypad/EntryPadForm.h"
#include "app/helpwindow/HelpForm.h"
#include "app/mainwindow/Unit1.h"
#include "app/widgets/PageControl.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

// Every interface under the window, depth first, with the objects they stand
// for; interfaces without an object (the page tabs) are kept by position.
struct Tree
{
    QHash<QString, QAccessibleInterface *> byName;
    QList<QAccessibleInterface *> all;

    void walk(QAccessibleInterface *node)
    {
        all.append(node);
        if (QObject *object = node->object(); object && !object->objectName().isEmpty())
            byName.insert(object->objectName(), node);
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface *child = node->child(i))
                walk(child);
    }
};

} // namespace

class TestAccess : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    void showActive()
    {
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    QString name(const Tree &tree, const QString &object) const
    {
        QAccessibleInterface *node = tree.byName.value(object);
        return node ? node->text(QAccessible::Name) : u"<not in the tree>"_s;
    }
    Tree walkWindow() const
    {
        Tree tree;
        tree.walk(QAccessible::queryAccessibleInterface(form.get()));
        return tree;
    }

private Q_SLOTS:
    void init() { createAll(); }
    void cleanup() { destroyAll(); }

    void pageKeys_data();
    void pageKeys();
    void menuKeysFromTextBoxes_data();
    void menuKeysFromTextBoxes();
    void childWindowsCloseByKeys_data();
    void childWindowsCloseByKeys();
    void focusAtTheHistoryEnd_data();
    void focusAtTheHistoryEnd();

    void pageControlIsAPageTabList();
    void editsAndSlidersAreNamed();
    void countsAndRowsReadAsText_data();
    void countsAndRowsReadAsText();
    void namesChangeOnlyWithTheirText();
    void padButtonsReadNumberAndColour_data();
    void padButtonsReadNumberAndColour();
};

// ------------------------------------------------------------------ keyboard

void TestAccess::pageKeys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("page");
    QTest::newRow("memo, Ctrl+Tab") << u"ListBox1"_s << 0 << u"Ctrl+Tab"_s << 1;
    QTest::newRow("memo, Ctrl+Shift+Tab wraps") << u"ListBox1"_s << 0 << u"Ctrl+Shift+Tab"_s << 4;
    // The form X11 delivers Ctrl+Shift+Tab in.
    QTest::newRow("memo, Ctrl+Shift+Backtab") << u"ListBox1"_s << 2 << u"Ctrl+Shift+Backtab"_s << 1;
    QTest::newRow("threshold edit, Ctrl+PgUp") << u"Edit1"_s << 1 << u"Ctrl+PgUp"_s << 0;
    QTest::newRow("preset memo, Ctrl+PgDown") << u"Memo1"_s << 3 << u"Ctrl+PgDown"_s << 4;
    QTest::newRow("stake edit, Ctrl+Tab wraps") << u"Edit2"_s << 4 << u"Ctrl+Tab"_s << 0;
    QTest::newRow("slider, Ctrl+PgDown") << u"TrackBar2"_s << 3 << u"Ctrl+PgDown"_s << 4;
    QTest::newRow("tabs, Ctrl+Shift+Tab") << u"PageControl1"_s << 3 << u"Ctrl+Shift+Tab"_s << 2;
}

void TestAccess::pageKeys()
{
    QFETCH(QString, focus);
    QFETCH(int, start);
    QFETCH(QString, keys);
    QFETCH(int, page);

    showActive();
    form->pageControl1->SetActivePageIndex(start);
    auto *widget = form->FindComponentAs<QWidget>(focus);
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
    form->listBox1->ReplaceText(u"7\n"_s);
    const QString threshold = form->edit1->text();
    const int position = form->trackBar2->Position();

    QTest::keySequence(widget, QKeySequence(keys));
    QCOMPARE(form->pageControl1->ActivePageIndex(), page);
    // The key went to the pages alone: no tab in a text, no page step.
    QCOMPARE(form->listBox1->Text(), u"7\n"_s);
    QCOMPARE(form->edit1->text(), threshold);
    QCOMPARE(form->trackBar2->Position(), position);
    QVERIFY(env->boxes.isEmpty());
}

void TestAccess::menuKeysFromTextBoxes_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("opened");
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("questions");

    QTest::newRow("Ctrl+O in the memo") << u"ListBox1"_s << u"Ctrl+O"_s << 1 << 0 << 0;
    QTest::newRow("Ctrl+Q in the memo") << u"ListBox1"_s << u"Ctrl+Q"_s << 0 << 0 << 1;
    QTest::newRow("Ctrl+S in a memo") << u"Memo1"_s << u"Ctrl+S"_s << 0 << 1 << 0;
    QTest::newRow("Ctrl+Q in an edit") << u"Edit1"_s << u"Ctrl+Q"_s << 0 << 0 << 1;
}

void TestAccess::menuKeysFromTextBoxes()
{
    QFETCH(QString, focus);
    QFETCH(QString, keys);
    QFETCH(int, opened);
    QFETCH(int, saved);
    QFETCH(int, questions);

    showActive();
    auto *widget = form->FindComponentAs<QWidget>(focus);
    form->pageControl1->SetActivePageIndex(focus == u"Edit2"   ? 4
                                           : focus == u"Memo1" ? 3
                                           : focus == u"Edit1" ? 1
                                                               : 0);
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
    // A typed history, so that Ctrl+Q asks; the question is answered Отмена.
    QTest::keyClicks(form->listBox1, u"12"_s);

    QTest::keySequence(widget, QKeySequence(keys));
    QCOMPARE(env->openRequests.size(), opened);
    QCOMPARE(env->saveRequests.size(), saved);
    QCOMPARE(env->questions.size(), questions);
    QVERIFY(form->isVisible());
}

// Ctrl+W, Esc and the key that opened it close the pad and the help, and
// the keyboard goes back to the main window. F1 in a window opens the help
// with the heading of that window's part in view.
void TestAccess::childWindowsCloseByKeys_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("opener"); // the key that opens the window
    QTest::addColumn<QString>("help");   // after F1, a text only in that window's part
    for (const auto &[window, own] :
         {std::pair{"EntryPadForm", "Ctrl+Shift+P"}, {"HelpForm", "F1"}})
        for (const char *keys : {"Ctrl+W", "Esc", own})
            QTest::addRow("%s, %s", window, keys) << window << keys << own << QString();
    QTest::newRow("pad, help") << u"EntryPadForm"_s << u"F1"_s << u"Ctrl+Shift+P"_s
                               << u"открывает рядом с главным окном"_s;
    QTest::newRow("analysis, help") << u"AnalysisForm"_s << u"F1"_s << u"Ctrl+Shift+A"_s
                                    << u"Окно «Анализ последовательности»"_s;
    QTest::newRow("system tester, help")
        << u"SystemForm"_s << u"F1"_s << u"Ctrl+Shift+T"_s << u"Окно «Проверка системы»"_s;
}

void TestAccess::childWindowsCloseByKeys()
{
    QFETCH(QString, window);
    QFETCH(QString, keys);
    QFETCH(QString, opener);
    QFETCH(QString, help);
    showActive();
    // Opened by its key from the main window.
    QTest::keySequence(form->listBox1, QKeySequence(opener));
    QWidget *child = form->findChild<QWidget *>(window);
    QVERIFY(child);
    QVERIFY(QTest::qWaitForWindowActive(child));
    QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == child);
    QWidget *focus = QApplication::focusWidget();

    QTest::keySequence(focus, QKeySequence(keys));
    if (!help.isEmpty()) {
        QVERIFY(form->helpForm() && form->helpForm()->isVisible());
        QTextBrowser *browser = form->helpForm()->browser();
        const QTextCursor found = browser->document()->find(help);
        QVERIFY(!found.isNull());
        QTRY_VERIFY(browser->viewport()->rect().contains(browser->cursorRect(found).center()));
        return;
    }
    QVERIFY(!child->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(form->listBox1->Text(), QString()); // no key reached the history
}

// The keyboard in the history memo, the caret at its end and the newest line
// in view, after the start, a load (also of the text already there) and
// "Очистить".
void TestAccess::focusAtTheHistoryEnd_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : {"start", "load", "same", "clear"}) // same: of the text shown
        QTest::newRow(command) << command;
}

void TestAccess::focusAtTheHistoryEnd()
{
    QFETCH(QString, command);
    QString history;
    for (int line = 0; line < 300; ++line)
        history += QString::number(line % 37) + u'\n';
    const QTemporaryDir folder;
    const QString file = folder.filePath(u"history.txt"_s);
    QVERIFY(WriteRaw(file, history.toLatin1()));

    showActive();
    THistoryMemo *memo = form->listBox1;
    if (command != u"start"_s) {
        if (command == u"same"_s)
            memo->ReplaceText(history);
        // The keyboard elsewhere, the caret at the top.
        memo->moveCursor(QTextCursor::Start);
        form->pageControl1->SetActivePageIndex(1);
        form->edit1->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), form->edit1);
        if (command == u"clear"_s)
            form->n16->trigger();
        else
            form->LoadHistoryFrom(file);
    }
    QTRY_COMPARE(QApplication::focusWidget(), memo);
    QVERIFY(memo->textCursor().atEnd());
    const QRect caret = memo->cursorRect();
    QVERIFY(caret.top() >= 0 && caret.bottom() <= memo->viewport()->height());
    QVERIFY(env->boxes.isEmpty());
}

// ------------------------------------------------------------ screen readers

void TestAccess::pageControlIsAPageTabList()
{
    showActive();
    TPageControl *pages = form->pageControl1;
    const Tree tree = walkWindow();
    QAccessibleInterface *list = tree.byName.value(u"PageControl1"_s);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::PageTabList);
    QCOMPARE(list->childCount(), 5);

    // Each page once in the whole tree, under its own tab.
    const QStringList pageNames{u"TabSheet1"_s, u"TabSheet2"_s, u"TabSheet4"_s, u"TabSheet3"_s,
                                u"TabSheet6"_s};
    for (int i = 0; i < 5; ++i) {
        QAccessibleInterface *tab = list->child(i);
        QCOMPARE(tab->role(), QAccessible::PageTab);
        QCOMPARE(tab->text(QAccessible::Name), pages->Page(i)->Caption());
        QCOMPARE(tab->state().selected, i == 0);
        QVERIFY(tab->state().selectable);
        QCOMPARE(tab->parent(), list);
        QCOMPARE(list->indexOfChild(tab), i);
        QCOMPARE(list->child(i), tab); // the same interface when asked again
        QCOMPARE(tab->childCount(), 1);
        QAccessibleInterface *page = tab->child(0);
        QCOMPARE(page->object(), pages->Page(i));
        QCOMPARE(page->parent(), tab);
        QCOMPARE(tab->indexOfChild(page), 0);
        QCOMPARE(tree.all.count(page), 1);
        QCOMPARE(page->object()->objectName(), pageNames[i]);
        // A point on the tab finds it.
        QCOMPARE(list->childAt(tab->rect().center().x(), tab->rect().center().y()), tab);
    }

    // Selecting another page moves the selected state; a new caption
    // renames the tab; pressing a tab shows its page. (Offscreen no screen
    // reader is active, so the events that announce these are not sent.)
    pages->SetActivePageIndex(3);
    pages->Page(1)->SetCaption(u"Absences"_s);
    QVERIFY(list->child(3)->state().selected);
    QVERIFY(!list->child(0)->state().selected);
    QCOMPARE(list->child(1)->text(QAccessible::Name), u"Absences"_s);
    QAccessibleActionInterface *press = list->child(4)->actionInterface();
    QVERIFY(press);
    press->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(pages->ActivePageIndex(), 4);
}

void TestAccess::editsAndSlidersAreNamed()
{
    const Tree tree = walkWindow();
    // Every edit and slider in the tree has a name of its own; the edits in
    // one group box do not share the box's caption.
    QStringList names;
    int found = 0;
    for (QAccessibleInterface *node : tree.all) {
        if (!qobject_cast<QLineEdit *>(node->object()) && !qobject_cast<QSlider *>(node->object()))
            continue;
        ++found;
        const QString name = node->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty() && !names.contains(name), qPrintable(name));
        names.append(name);
    }
    QCOMPARE(found, 13 + 5); // Edit1..Edit13, TrackBar1..TrackBar5
    // Taken from the caption beside the control, without its colon.
    QCOMPARE(name(tree, u"Edit1"_s), u"Сигнализировать от"_s);
    QCOMPARE(name(tree, u"Edit5"_s), u"2 ставка"_s);
    QCOMPARE(name(tree, u"TrackBar5"_s), u"Для комбинаций с вероятностью 12/37, верхняя граница"_s);

    // A caption from a language section renames its control.
    settings->WriteString(u"English"_s, u"Label202"_s, u"Min. stake:"_s);
    form->N12Click();
    QCOMPARE(name(walkWindow(), u"Edit2"_s), u"Min. stake"_s);
}

void TestAccess::countsAndRowsReadAsText_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QStringList>("expected"); // "object=name"

    const auto row = [](const char *name, const QString &history, const QString &expected) {
        QTest::newRow(name) << history << expected.split(u'|');
    };
    row("start", QString(),
        u"Label97=17: не выпадает 0 спинов|Label80=Зеро: не выпадает 0 спинов|"
        u"Label5=Красное: не выпадает 0 спинов, шаров нет"_s);
    row("one spin", u"32\n"_s,
        u"Label7=Чёрное: не выпадает 1 спин, уровень серый|"
        u"Label17=25-36: не выпадает 0 спинов, шаров нет"_s);
    row("three spins", u"5\n0\n32\n"_s,
        u"Label97=17: не выпадает 3 спина|Label80=Зеро: не выпадает 1 спин|"
        u"Label85=5: не выпадает 2 спина|Label164=17: выпало 0 раз|Label152=5: выпало 1 раз|"
        u"Label147=Зеро: выпало 1 раз|Label5=Красное: не выпадает 0 спинов, шаров нет|"
        u"Label7=Чёрное: не выпадает 3 спина, уровень жёлтый|"
        u"Label23=3,6,9,12...: не выпадает 3 спина, уровень жёлтый"_s);
    // Eleven misses show ten pictures; the row says how many there were.
    row("eleven zeros", QString(u"0\n"_s).repeated(11),
        u"Label5=Красное: не выпадает 11 спинов, уровень зелёный|"
        u"Label13=1-12: не выпадает 11 спинов, уровень зелёный|"
        u"Label80=Зеро: не выпадает 0 спинов|Label147=Зеро: выпало 11 раз|"
        u"Im_1_3=Красное, 3 спина подряд, уровень жёлтый|"
        u"Im_7_10=1-12, 10 спинов подряд, уровень зелёный"_s);
}

void TestAccess::countsAndRowsReadAsText()
{
    QFETCH(QString, history);
    QFETCH(QStringList, expected);

    // Typed line by line, a statistics pass per keystroke.
    for (const QString &line : history.split(u'\n', Qt::SkipEmptyParts)) {
        QTest::keyClicks(form->listBox1, line);
        QTest::keyClick(form->listBox1, Qt::Key_Return);
    }
    const Tree tree = walkWindow();
    for (const QString &pair : expected) {
        const QString object = pair.section(u'=', 0, 0);
        QCOMPARE(name(tree, object), pair.section(u'=', 1));
    }
}

void TestAccess::namesChangeOnlyWithTheirText()
{
    form->listBox1->ReplaceText(QString(u"0\n"_s).repeated(11));
    QLabel *seventeen = form->FindComponentAs<QLabel>(u"Label97");
    QLabel *red = form->FindComponentAs<QLabel>(u"Label5");
    QCOMPARE(seventeen->accessibleName(), u"17: не выпадает 11 спинов"_s);
    QCOMPARE(red->accessibleName(), u"Красное: не выпадает 11 спинов, уровень зелёный"_s);

    // Names written behind the pass's back show what it rewrites: a pass
    // that changes neither the count nor the run leaves them alone...
    seventeen->setAccessibleName(u"untouched"_s);
    red->setAccessibleName(u"untouched"_s);
    form->edit1->setText(u"171"_s);
    QCOMPARE(seventeen->accessibleName(), u"untouched"_s);
    QCOMPARE(red->accessibleName(), u"untouched"_s);
    // ...and so does a new boundary that leaves the row's colour as it was;
    // one that changes it renames the row.
    form->trackBar2->SetPosition(3);
    QCOMPARE(red->accessibleName(), u"untouched"_s);
    form->trackBar3->SetPosition(10);
    QCOMPARE(red->accessibleName(), u"Красное: не выпадает 11 спинов, уровень жёлтый"_s);
    QCOMPARE(form->FindComponentAs<QWidget>(u"Im_1_9")->accessibleName(),
             u"Красное, 9 спинов подряд, уровень жёлтый"_s);
    form->listBox1->AppendLine(u"1"_s);
    QCOMPARE(seventeen->accessibleName(), u"17: не выпадает 12 спинов"_s);
    QCOMPARE(red->accessibleName(), u"Красное: не выпадает 0 спинов, шаров нет"_s);
}

void TestAccess::padButtonsReadNumberAndColour_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::newRow("black") << 17 << u"17, чёрное"_s;
    QTest::newRow("zero") << 0 << u"0, зеро"_s;
    QTest::newRow("red") << 3 << u"3, красное"_s;
}

void TestAccess::padButtonsReadNumberAndColour()
{
    QFETCH(int, number);
    QFETCH(QString, name);
    form->N28Click();
    auto *button = form->EntryPad()->findChild<QWidget *>(u"Pad%1"_s.arg(number));
    QVERIFY(button);
    QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), name);
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
