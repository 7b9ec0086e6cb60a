#include "CommandsTest.h"

void TestCommands::initTestCase()
{
    QVERIFY(dir.isValid());
}

void TestCommands::init()
{
    createAll();
}

void TestCommands::cleanup()
{
    destroyAll();
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
}

QTEST_MAIN(TestCommands)
