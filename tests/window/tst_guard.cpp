#include "WindowTest.h"

// -------------------------------------------------------- errors and guard

void TestWindow::periodRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letter") << u"File access denied"_s << u"File access denied."_s;
    QTest::newRow("full stop") << u"Done."_s << u"Done."_s;
    QTest::newRow("ellipsis") << u"Wait..."_s << u"Wait..."_s;
    QTest::newRow("exclamation") << u"Stop!"_s << u"Stop!"_s;
    QTest::newRow("parenthesis") << u"code (5)"_s << u"code (5)"_s;
    QTest::newRow("quote") << u"'abc' is not a valid integer value"_s
                           << u"'abc' is not a valid integer value."_s;
    QTest::newRow("hyphen, below the stop") << u"a-"_s << u"a-"_s;
    QTest::newRow("slash, above the stop") << u"a/"_s << u"a/."_s;
    QTest::newRow("digit") << u"error 5"_s << u"error 5."_s;
    QTest::newRow("blank") << u"a "_s << u"a "_s;
    QTest::newRow("cyrillic") << u"Ошибка"_s << u"Ошибка."_s;
    QTest::newRow("only a stop") << u"."_s << u"."_s;
}

void TestWindow::periodRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

void TestWindow::guardShowsEscapingErrors_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text"); // empty: no box
    QTest::newRow("nothing thrown") << 0 << QString();
    QTest::newRow("error") << 1 << u"File access denied."_s;
    QTest::newRow("conversion") << 2 << u"'x' is not a valid integer value."_s;
    QTest::newRow("standard exception") << 3 << u"bad thing."_s;
    QTest::newRow("message with stop") << 4 << u"Stream write error!"_s;
}

void TestWindow::guardShowsEscapingErrors()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    bool after = false;
    form->Guard([&] {
        switch (kind) {
        case 1:
            throw IoError(u"File access denied"_s);
        case 2:
            throw ConvertError(u"x"_s);
        case 3:
            throw std::runtime_error("bad thing");
        case 4:
            throw Error(u"Stream write error!"_s);
        }
        after = true;
    });
    QCOMPARE(after, kind == 0);
    if (text.isEmpty()) {
        QVERIFY(env->boxes.isEmpty());
    } else {
        QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(text));
    }
}
