// Keyboard and screen-reader access to the real window: the keys that move
// across the pages and reach the menu commands from any text box, and the
// accessibility tree a screen reader walks.
#include "window/WindowFixture.h"

#include "app/PageControl.h"
#include "app/Unit1.h"

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
    QTest::newRow("memo, Ctrl+PgDown") << u"ListBox1"_s << 2 << int(Qt::Key_PageDown) << ctrl << 3;
    QTest::newRow("memo, Ctrl+PgUp") << u"ListBox1"_s << 2 << int(Qt::Key_PageUp) << ctrl << 1;
    QTest::newRow("threshold edit, Ctrl+Tab") << u"Edit1"_s << 1 << int(Qt::Key_Tab) << ctrl << 2;
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
    QTest::newRow("Ctrl+S in the memo") << u"ListBox1"_s << u"Ctrl+S"_s << 0 << 1 << 0;
    QTest::newRow("Ctrl+Q in the memo") << u"ListBox1"_s << u"Ctrl+Q"_s << 0 << 0 << 1;
    QTest::newRow("Ctrl+O in an edit") << u"Edit2"_s << u"Ctrl+O"_s << 1 << 0 << 0;
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

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
