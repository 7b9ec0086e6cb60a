#include "TestHelpers.h"
#include "TestSettings.h"

#include <QTest>

void TestSettings::init()
{
    // A fresh folder for every test function, so no file outlives its test.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestSettings::path(const QString &name) const
{
    return m_dir->filePath(name);
}

QTEST_GUILESS_MAIN(TestSettings)
