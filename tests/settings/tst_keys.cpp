#include "TestHelpers.h"
#include "TestSettings.h"

#include "settings/LanguageEntry.h"
#include "settings/SettingsKeys.h"

using namespace trevolo;
using namespace Qt::StringLiterals;

void TestSettings::riskLevelKey_data()
{
    QTest::addColumn<qint32>("preset");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first") << 0 << RiskLowSuffix.toString() << u"Level0lo"_s;
    QTest::newRow("last") << 2 << RiskHigh2Suffix.toString() << u"Level2hi2"_s;
    QTest::newRow("no preset selected") << -1 << RiskLowSuffix.toString() << u"Level-1lo"_s;
    QTest::newRow("large index") << 12 << RiskHighSuffix.toString() << u"Level12hi"_s;
}

void TestSettings::riskLevelKey()
{
    QFETCH(qint32, preset);
    QFETCH(QString, suffix);
    QFETCH(QString, expected);
    QCOMPARE(RiskLevelKey(preset, suffix), expected);
}

void TestSettings::languageEntryKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index"); // -2: no index

    QTest::newRow("plain name") << u"TabSheet3"_s << true << u"TabSheet3"_s << -2;
    QTest::newRow("item index") << u"ComboBox1#2"_s << true << u"ComboBox1"_s << 2;
    QTest::newRow("negative index") << u"ComboBox1#-1"_s << true << u"ComboBox1"_s << -1;
    QTest::newRow("hexadecimal index") << u"ComboBox1#$A"_s << true << u"ComboBox1"_s << 10;
    QTest::newRow("blank before index") << u"N5# 7"_s << true << u"N5"_s << 7;
    QTest::newRow("empty name") << u"#3"_s << true << QString() << 3;
    QTest::newRow("empty key") << QString() << true << QString() << -2;
    QTest::newRow("not a number") << u"N5#abc"_s << false << QString() << 0;
    QTest::newRow("nothing after #") << u"N5#"_s << false << QString() << 0;
    QTest::newRow("second #") << u"ComboBox1#1#2"_s << false << QString() << 0;
    QTest::newRow("blank after index") << u"ComboBox1#1 "_s << false << QString() << 0;
}

void TestSettings::languageEntryKey()
{
    QFETCH(QString, key);
    QFETCH(bool, valid);
    QFETCH(QString, name);
    QFETCH(int, index);

    if (!valid) {
        QVERIFY_THROWS_EXCEPTION(ConvertError, ParseLanguageEntryKey(key));
        return;
    }
    const LanguageEntryKey parsed = ParseLanguageEntryKey(key);
    QCOMPARE(parsed.componentName, name);
    QCOMPARE(parsed.index.has_value(), index != -2);
    if (index != -2)
        QCOMPARE(*parsed.index, index);
}
