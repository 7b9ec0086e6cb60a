// Keyboard and screen-reader access to the real window: the keys that move
// across the pages and reach the menu commands from any text box, and the
// accessibility tree a screen reader walks.
#include "support/WindowFixture.h"

#include "app/mainwindow/Unit1.h"
#include "app/widgets/PageControl.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

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

    void pageControlIsAPageTabList();
    void editsAndSlidersAreNamed();
    void countsAndRowsReadAsText_data();
    void countsAndRowsReadAsText();
    void namesChangeOnlyWithTheirText();
};

// ------------------------------------------------------------------ keyboard

void TestAccess::pageKeys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("page");

    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("memo, Ctrl+Tab") << u"ListBox1"_s << 0 << int(Qt::Key_Tab) << ctrl << 1;
    QTest::newRow("memo, Ctrl+Shift+Tab wraps")
        << u"ListBox1"_s << 0 << int(Qt::Key_Tab) << ctrlShift << 4;
    // The form X11 delivers Ctrl+Shift+Tab in.
    QTest::newRow("memo, Ctrl+Shift+Backtab")
        << u"ListBox1"_s << 2 << int(Qt::Key_Backtab) << ctrlShift << 1;
    QTest::newRow("threshold edit, Ctrl+PgUp")
        << u"Edit1"_s << 1 << int(Qt::Key_PageUp) << ctrl << 0;
    QTest::newRow("preset memo, Ctrl+PgDown")
        << u"Memo1"_s << 3 << int(Qt::Key_PageDown) << ctrl << 4;
    QTest::newRow("stake edit, Ctrl+Tab wraps") << u"Edit2"_s << 4 << int(Qt::Key_Tab) << ctrl << 0;
    QTest::newRow("slider, Ctrl+PgDown")
        << u"TrackBar2"_s << 3 << int(Qt::Key_PageDown) << ctrl << 4;
    QTest::newRow("tabs, Ctrl+Shift+Tab")
        << u"PageControl1"_s << 3 << int(Qt::Key_Tab) << ctrlShift << 2;
}

void TestAccess::pageKeys()
{
    QFETCH(QString, focus);
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, page);

    showActive();
    form->pageControl1->SetActivePageIndex(start);
    auto *widget = form->FindComponentAs<QWidget>(focus);
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
    form->listBox1->ReplaceText(u"7\n"_s);
    const QString threshold = form->edit1->text();
    const int position = form->trackBar2->Position();

    QTest::keyClick(widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
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

    QTest::newRow("start") << QString()
                           << QStringList{u"Label97=17: 0"_s, u"Label80=Зеро: 0"_s,
                                          u"Label5=Красное: 0 из 10"_s};
    QTest::newRow("three spins") << u"5\n0\n32\n"_s
                                 << QStringList{u"Label97=17: 3"_s,
                                                u"Label80=Зеро: 1"_s,
                                                u"Label85=5: 2"_s,
                                                u"Label164=17: 0"_s,
                                                u"Label152=5: 1"_s,
                                                u"Label147=Зеро: 1"_s,
                                                u"Label5=Красное: 0 из 10"_s,
                                                u"Label7=Чёрное: 3 из 10"_s,
                                                u"Label23=3,6,9,12...: 3 из 10"_s};
    // Eleven misses show ten pictures, and the row says so.
    QTest::newRow("eleven zeros") << QString(u"0\n"_s).repeated(11)
                                  << QStringList{u"Label5=Красное: 10 из 10"_s,
                                                 u"Label13=1-12: 10 из 10"_s, u"Label80=Зеро: 0"_s,
                                                 u"Label147=Зеро: 11"_s};
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
    QCOMPARE(seventeen->accessibleName(), u"17: 11"_s);
    QCOMPARE(red->accessibleName(), u"Красное: 10 из 10"_s);

    // Names written behind the pass's back show what it rewrites: a pass
    // that changes neither the count nor the pictures leaves them alone...
    seventeen->setAccessibleName(u"untouched"_s);
    red->setAccessibleName(u"untouched"_s);
    form->edit1->setText(u"171"_s);
    QCOMPARE(seventeen->accessibleName(), u"untouched"_s);
    QCOMPARE(red->accessibleName(), u"untouched"_s);
    // ...and so does one more zero for the row, which shows ten pictures
    // still, while the count of 17 changes.
    form->listBox1->AppendLine(u"0"_s);
    QCOMPARE(seventeen->accessibleName(), u"17: 12"_s);
    QCOMPARE(red->accessibleName(), u"untouched"_s);
    form->listBox1->AppendLine(u"1"_s);
    QCOMPARE(red->accessibleName(), u"Красное: 0 из 10"_s);
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
