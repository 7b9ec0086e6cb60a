#include "WindowTest.h"

// ------------------------------------------------------------------ registry

void TestWindow::registryFindsEveryName()
{
    const QStringList names = ExpectedNames();
    QSet<QString> distinct;
    for (const QString &name : names) {
        QObject *object = form->FindComponent(name);
        QVERIFY2(object, qPrintable(name));
        QCOMPARE(object->objectName(), name);
        distinct.insert(LowerLatin(name));
    }
    QCOMPARE(distinct.size(), names.size());
    QCOMPARE(form->Registry().Count(), names.size());

    // Every object of the window that carries one of these names is the
    // registered one: no control was named twice.
    for (QObject *object : form->findChildren<QObject *>()) {
        const QString name = object->objectName();
        if (distinct.contains(LowerLatin(name)))
            QVERIFY2(form->FindComponent(name) == object, qPrintable(name));
    }
}

void TestWindow::registryIgnoresLatinCase_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("found"); // empty: nothing

    QTest::newRow("lower label") << u"label81"_s << u"Label81"_s;
    QTest::newRow("upper label") << u"LABEL81"_s << u"Label81"_s;
    QTest::newRow("image") << u"im_3_10"_s << u"Im_3_10"_s;
    QTest::newRow("image mixed") << u"iM_12_1"_s << u"Im_12_1"_s;
    QTest::newRow("menu") << u"n7"_s << u"N7"_s;
    QTest::newRow("template y") << u"Y"_s << u"y"_s;
    QTest::newRow("tab sheet") << u"tabsheet3"_s << u"TabSheet3"_s;
    QTest::newRow("dialog") << u"opendialog2"_s << u"OpenDialog2"_s;
    QTest::newRow("zero caption") << u"LABEL_80"_s << u"Label_80"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("unknown label") << u"label999"_s << QString();
    QTest::newRow("level 11") << u"im_1_11"_s << QString();
    QTest::newRow("group 13") << u"im_13_1"_s << QString();
    QTest::newRow("trailing blank") << u"label81 "_s << QString();
    QTest::newRow("the window itself") << u"Form1"_s << QString();
    // Only Latin letters fold: a Cyrillic look-alike is another name.
    QTest::newRow("cyrillic N") << u"Н3"_s << QString();
}

void TestWindow::registryIgnoresLatinCase()
{
    QFETCH(QString, query);
    QFETCH(QString, found);
    QObject *object = form->FindComponent(query);
    if (found.isEmpty())
        QCOMPARE(object, nullptr);
    else
        QCOMPARE(object ? object->objectName() : u"<nothing>"_s, found);
}

void TestWindow::registryKeepsLabel80ApartFromLabel_80()
{
    QLabel *count = form->FindComponentAs<QLabel>(u"label80");
    QLabel *caption = form->FindComponentAs<QLabel>(u"Label_80");
    QVERIFY(count && caption && count != caption);
    QCOMPARE(count->objectName(), u"Label80"_s);
    QCOMPARE(count->text(), u"0"_s);
    QCOMPARE(caption->text(), u"Зеро:"_s);
    // The count stands right of "Зеро:" in the zero row.
    QVERIFY(qAbs(count->y() - caption->y()) <= 1);
    QVERIFY(count->x() > caption->geometry().right());
}

void TestWindow::registryOnlyTakesNewNames()
{
    NameRegistry registry;
    QObject a, b, c;
    a.setObjectName(u"Label5"_s);
    b.setObjectName(u"Other"_s);
    QVERIFY(registry.Add(&a));
    QVERIFY(registry.Add(&b));
    QCOMPARE(registry.Find(u"LABEL5"), &a);
    QCOMPARE(registry.FindAs<QObject>(u"other"), &b);
    QCOMPARE(registry.Count(), 2);
#ifdef QT_NO_DEBUG
    // Debug builds stop at the assertion instead.
    c.setObjectName(u"label5"_s);
    QVERIFY(!registry.Add(&c));
    QCOMPARE(registry.Find(u"label5"), &a);
#endif
    QCOMPARE(LowerLatin(u"Im_AZ_Яz"), u"im_az_Яz"_s);
}
