#include "SettingsWindowTest.h"

#include "common/Cp1251.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

using Snapshot = QMap<QString, QString>;

// What a component shows, in a form that tells the kinds apart.
QString Shown(const TForm1 &form, const QObject *object)
{
    if (auto *item = qobject_cast<const QAction *>(object)) {
        QString shown = item->isSeparator() ? u"separator"_s : u"item:"_s + item->text();
        if (item->isChecked())
            shown += u" [x]"_s;
        return shown;
    }
    if (auto *menu = qobject_cast<const QMenu *>(object))
        return u"menu:"_s + menu->title() +
               (menu->menuAction()->isVisible() ? u""_s : u" hidden"_s);
    if (auto *page = qobject_cast<const TTabSheet *>(object))
        return page->Caption();
    if (auto *box = qobject_cast<const QGroupBox *>(object))
        return box->title();
    if (auto *image = qobject_cast<const TImage *>(object))
        return u"picture "_s + QString::number(image->Picture().cacheKey());
    if (auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (auto *check = qobject_cast<const QCheckBox *>(object))
        return u"check:"_s + check->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(object))
        return u"edit:"_s + edit->text();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(object))
        return u"memo:"_s + memo->toPlainText();
    if (auto *list = qobject_cast<const TComboBox *>(object)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items.append(list->itemText(i));
        return items.join(u'|') + u'@' + QString::number(list->ItemIndex());
    }
    if (auto *bar = qobject_cast<const TTrackBar *>(object))
        return u"slider:"_s + QString::number(bar->Position());
    if (auto *status = qobject_cast<const TStatusBar *>(object))
        return u"status:"_s + status->SimpleText();
    if (auto *dialog = qobject_cast<const TFileDialog *>(object))
        return u"dialog:"_s + dialog->Options().filters.join(u'|');
    Q_UNUSED(form);
    return u"other"_s;
}

Snapshot Take(const TForm1 &form)
{
    Snapshot snapshot;
    for (const QString &name : form.Registry().Names())
        snapshot.insert(name, Shown(form, form.FindComponent(name)));
    snapshot.insert(u"<window>"_s, form.windowTitle());
    return snapshot;
}

bool HasCyrillic(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x400 && c.unicode() <= 0x4FF)
            return true;
    return false;
}

// The components the language mechanism may change, with their captions
// ("ComboBox1#i" for the items of a combo box).
Snapshot Translatable(const TForm1 &form)
{
    Snapshot captions;
    for (const QString &name : form.Registry().Names()) {
        QObject *object = form.FindComponent(name);
        if (qobject_cast<TImage *>(object) || object == form.popupMenu1)
            continue;
        if (auto *list = qobject_cast<TComboBox *>(object)) {
            for (int i = 0; i < list->count(); ++i)
                captions.insert(name + u'#' + QString::number(i), list->itemText(i));
        } else if (qobject_cast<QAction *>(object) || qobject_cast<QMenu *>(object) ||
                   qobject_cast<TTabSheet *>(object) || qobject_cast<QGroupBox *>(object) ||
                   qobject_cast<QLabel *>(object)) {
            captions.insert(name, Shown(form, object));
        }
    }
    return captions;
}

} // namespace

void TestSettingsWindow::languageEntries_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("changes"); // name=shown

    const QStringList none;
    QTest::newRow("tab sheet named in small letters")
        << QStringList{u"tabsheet3=Options"_s} << QStringList{u"TabSheet3=Options"_s};
    QTest::newRow("combo item replaced, selection kept")
        << QStringList{u"ComboBox1#2=High"_s} << QStringList{u"ComboBox1=Низкий|Средний|High@1"_s};
    QTest::newRow("combo index past the end, later entries still apply")
        << QStringList{u"ComboBox1#7=Extreme"_s, u"TabSheet3=Options"_s}
        << QStringList{u"TabSheet3=Options"_s};
    QTest::newRow("combo without index") << QStringList{u"ComboBox1=Low"_s} << none;
    QTest::newRow("combo negative index") << QStringList{u"ComboBox1#-1=Low"_s} << none;
    QTest::newRow("combo hexadecimal index")
        << QStringList{u"combobox1#$0=Low"_s} << QStringList{u"ComboBox1=Low|Средний|Высокий@1"_s};
    QTest::newRow("menu item, no number after #") << QStringList{u"N5#abc=Load"_s} << none;
    QTest::newRow("menu item, number after #")
        << QStringList{u"N5#3=Load"_s} << QStringList{u"N5=item:Load"_s};
    QTest::newRow("empty index") << QStringList{u"N5#=Load"_s} << none;
    QTest::newRow("second #") << QStringList{u"N5#1#2=Load"_s} << none;
    QTest::newRow("later entry wins")
        << QStringList{u"N5#1=Load"_s, u"n5#2=Open"_s} << QStringList{u"N5=item:Open"_s};
    QTest::newRow("name with a blank") << QStringList{u" N5=Load"_s} << none;
    QTest::newRow("top-level menu")
        << QStringList{u"n4=Options"_s} << QStringList{u"N4=menu:Options"_s};
    QTest::newRow("submenu stays hidden")
        << QStringList{u"N7=Language"_s} << QStringList{u"N7=menu:Language hidden"_s};
    QTest::newRow("separator becomes an item")
        << QStringList{u"N17=Between"_s} << QStringList{u"N17=item:Between"_s};
    QTest::newRow("item becomes a separator")
        << QStringList{u"N16=-"_s} << QStringList{u"N16=separator"_s};
    QTest::newRow("popup menu and menu bar")
        << QStringList{u"PopupMenu1=X"_s, u"MainMenu1=X"_s} << none;
    QTest::newRow("group box") << QStringList{u"groupbox8= UI: "_s}
                               << QStringList{u"GroupBox8= UI: "_s};
    QTest::newRow("markup shows as text")
        << QStringList{u"Label43=<b>Opacity</b> &amp; <img src=x>"_s}
        << QStringList{u"Label43=<b>Opacity</b> &amp; <img src=x>"_s};
    QTest::newRow("label ignores an index")
        << QStringList{u"Label43#5=Opacity:"_s} << QStringList{u"Label43=Opacity:"_s};
    QTest::newRow("label with a bad index") << QStringList{u"Label43#x=Opacity:"_s} << none;
    QTest::newRow("right-aligned value label")
        << QStringList{u"Label51=low"_s} << QStringList{u"Label51=low"_s};
    QTest::newRow("other kinds are left alone") << QStringList{u"CheckBox1=Transparent"_s,
                                                               u"Edit2=9"_s,
                                                               u"Memo1=text"_s,
                                                               u"Form1=Title"_s,
                                                               u"TrackBar1=50"_s,
                                                               u"StatusBar1=Ready"_s,
                                                               u"OpenDialog1=Open"_s,
                                                               u"Bevel8=Line"_s,
                                                               u"PageControl1=Pages"_s,
                                                               u"ListBox1=1"_s,
                                                               u"Edit13=Count"_s}
                                                << none;
    QTest::newRow("images keep their pictures")
        << QStringList{u"Im_1_1=X"_s, u"b=X"_s, u"im_12_10#1=X"_s} << none;
    QTest::newRow("empty and unknown names")
        << QStringList{u"#1=X"_s, u"Label999=X"_s, u"N999#1=X"_s, u"Н5=X"_s} << none;
}

void TestSettingsWindow::languageEntries()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, changes);

    start();
    settings->LoadFromBytes(IniSection(u"English"_s, entries));
    // Every entry reached the section, so each is put to the test.
    QCOMPARE(settings->FindSection(u"English")->Count(), entries.size());
    const QRect label51 = form->label51->geometry();
    Snapshot expected = Take(*form);
    for (const QString &change : changes) {
        const qsizetype equals = change.indexOf(u'=');
        QVERIFY(expected.contains(change.left(equals)));
        expected[change.left(equals)] = change.mid(equals + 1);
    }
    expected[u"N11"_s] = u"item:Русский"_s;
    expected[u"N12"_s] = u"item:English [x]"_s;
    QSignalSpy picks(form->comboBox1, &TComboBox::userChanged);

    form->n12->trigger();

    const Snapshot after = Take(*form);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(),
                 qPrintable(it.key() + u": "_s + after.value(it.key())));
    QCOMPARE(after.size(), expected.size());
    QCOMPARE(picks.size(), 0);
    QVERIFY(env->boxes.isEmpty());
    // Captions are plain text, whatever they hold.
    for (QLabel *label : form->findChildren<QLabel *>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    // A right-aligned label keeps its right edge.
    QCOMPARE(form->label51->geometry().right(), label51.right());
}

void TestSettingsWindow::missingLanguageSection()
{
    start();
    settings->LoadFromBytes(IniSection(u"Русский"_s, {u"TabSheet3=Опции"_s}) +
                            IniSection(u"Englishman"_s, {u"TabSheet3=Options"_s}));
    Snapshot expected = Take(*form);
    QCOMPARE(expected.value(u"N11"_s), u"item:Русский [x]"_s);
    QCOMPARE(expected.value(u"N12"_s), u"item:English"_s);
    form->n12->trigger();
    expected[u"N11"_s] = u"item:Русский"_s;
    expected[u"N12"_s] = u"item:English [x]"_s;
    QCOMPARE(Take(*form), expected);
}

void TestSettingsWindow::russianSection()
{
    start();
    settings->LoadFromBytes(
        IniSection(u"English"_s, {u"TabSheet3=Options"_s, u"N13=Save settings"_s}) +
        IniSection(u"РУССКИЙ"_s, {u"TabSheet3=Опции"_s, u"N12=Английский"_s}));
    form->n12->trigger();
    QCOMPARE(form->tabSheet3->Caption(), u"Options"_s);
    QCOMPARE(form->n13->text(), u"Save settings"_s);

    // Only what the section supplies comes back.
    form->n11->trigger();
    QVERIFY(form->n11->isChecked() && !form->n12->isChecked());
    QCOMPARE(form->tabSheet3->Caption(), u"Опции"_s);
    QCOMPARE(form->n12->text(), u"Английский"_s);
    QCOMPARE(form->n13->text(), u"Save settings"_s);
    // The program never writes the language sections, and keeps them.
    const QByteArray saved = close();
    QVERIFY(saved.contains(ToCp1251(u"[РУССКИЙ]\r\n\r\n  TabSheet3=\"Опции\"")));
    QVERIFY(saved.contains("[English]\r\n\r\n  TabSheet3=\"Options\"\r\n  N13=\"Save settings\""));
}

void TestSettingsWindow::englishExample()
{
    const QString example = QFINDTESTDATA("../../examples/english.ini");
    QVERIFY(!example.isEmpty());
    start();
    const Snapshot russian = Translatable(*form);
    const QString boxCaption = form->checkBox1->text();

    env->openAnswers.push_back(FileChoice{example, QString()});
    form->n14->trigger();
    QVERIFY(env->boxes.isEmpty());
    // Its options are the first run's.
    QVERIFY(!form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!form->AlphaBlend());
    QCOMPARE(form->comboBox1->ItemIndex(), 1);
    QCOMPARE(Translatable(*form), russian); // loading applies no language

    form->n12->trigger();
    const Snapshot english = Translatable(*form);
    QStringList untranslated;
    for (auto it = english.cbegin(); it != english.cend(); ++it)
        if (HasCyrillic(it.value()))
            untranslated.append(it.key() + u'=' + it.value());
    QCOMPARE(untranslated, QStringList());
    QCOMPARE(form->tabSheet3->Caption(), u"Settings"_s);
    QCOMPARE(form->comboBox1->itemText(1), u"Medium"_s);
    QCOMPARE(form->comboBox1->ItemIndex(), 1);
    QCOMPARE(form->n14->text(), u"Load settings"_s);
    QVERIFY(!form->n7->menuAction()->isVisible());
    // Check boxes are not among the kinds a language section reaches.
    QCOMPARE(form->checkBox1->text(), boxCaption);
    // Separators stay separators.
    QVERIFY(form->FindComponentAs<QAction>(u"N17")->isSeparator());
    // Every entry of the example names a component that exists.
    const TSection *section = settings->FindSection(u"English");
    QVERIFY(section);
    for (const QString &key : section->Keys())
        QVERIFY2(form->FindComponent(key.section(u'#', 0, 0)), qPrintable(key));
}
