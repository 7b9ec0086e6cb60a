#include "WindowTest.h"

void TestWindow::init()
{
    createAll();
}

void TestWindow::cleanup()
{
    destroyAll();
}

QTEST_MAIN(TestWindow)
