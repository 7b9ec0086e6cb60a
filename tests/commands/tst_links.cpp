#include "CommandsTest.h"

// -------------------------------------------------------------------- links

void TestCommands::links_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("address");

    QTest::newRow("help") << u"N20"_s << QByteArray("http://trevolo.example/?page_id=3");
    QTest::newRow("systems") << u"N23"_s << QByteArray("http://trevolo.example/?page_id=5");
    QTest::newRow("new version") << u"N15"_s << QByteArray("http://trevolo.example/?page_id=2");
    QTest::newRow("mail") << u"N8"_s
                          << QByteArray("mailto:support@trevolo.example?subject="
                                        "%22%D0%9F%D0%BE%D0%B6%D0%B5%D0%BB%D0%B0%D0%BD%D0%B8%D1%8F"
                                        "%20%D0%BF%D0%BE%20%D1%80%D0%B0%D0%B1%D0%BE%D1%82%D0%B5"
                                        "%20%D0%BF%D1%80%D0%BE%D0%B3%D1%80%D0%B0%D0%BC%D0%BC%D1%8B"
                                        "%20Trevolo%22");
    QTest::newRow("partner") << u"N25"_s
                             << QByteArray("http://lunnyi-kit.example/register?tracker=40713");
}

void TestCommands::links()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, address);

    memo().ReplaceText(u"5\n"_s);
    const QString status = form->statusBar1->SimpleText();
    const QStringList calculator = calculatorFields();

    this->item(item).trigger();

    QCOMPARE(env->openedUrls.size(), 1);
    const QUrl url = env->openedUrls[0];
    QVERIFY(url.isValid());
    QCOMPARE(url.toEncoded(), address);
    if (url.scheme() == u"mailto") {
        QCOMPARE(url.path(), u"support@trevolo.example"_s);
        QCOMPARE(QUrlQuery(url).queryItemValue(u"subject"_s, QUrl::FullyDecoded),
                 u"\"Пожелания по работе программы Trevolo\""_s);
    }
    // Nothing else happens.
    QVERIFY(env->boxes.isEmpty());
    QVERIFY(env->openRequests.isEmpty() && env->saveRequests.isEmpty());
    QCOMPARE(memo().Text(), u"5\n"_s);
    QCOMPARE(form->statusBar1->SimpleText(), status);
    QCOMPARE(calculatorFields(), calculator);
}
