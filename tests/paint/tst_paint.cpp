// The history box on the real X platform (under a virtual display): after
// each step, the screen shows what the box paints afresh of its text.
#include "support/HistorySteps.h"
#include "support/WindowFixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

class TestPaint : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY2(QGuiApplication::platformName() == u"xcb"_s, "needs the X platform");
        createAll();
        // No blinking caret to tell the two pictures apart.
        form->listBox1->setCursorWidth(0);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() { destroyAll(); }
    void screenShowsTheHistory_data()
    {
        // Steps as TakeHistoryStep takes them.
        QTest::addColumn<QStringList>("steps");
        for (const char *steps : {"load:40 clear undo", "type:5 type:17 clear",
                                  "load:37 clear undo redo", "type:5 type:17 load:40 undo"})
            QTest::newRow(steps) << QString::fromLatin1(steps).split(u' ');
    }
    void screenShowsTheHistory()
    {
        QFETCH(QStringList, steps);
        QWidget *area = form->listBox1->viewport();
        const auto screenMatches = [&] {
            const QPoint at = area->mapTo(form.get(), QPoint(0, 0));
            const QPixmap shown = form->screen()->grabWindow(form->winId(), at.x(), at.y(),
                                                             area->width(), area->height());
            return shown.toImage().convertToFormat(QImage::Format_RGB32) ==
                   area->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        for (const QString &step : steps) {
            TakeHistoryStep(*form, *env, m_dir.path(), step);
            // Painted at once, or never: the screen is not repaired later.
            QTRY_VERIFY2_WITH_TIMEOUT(screenMatches(), qPrintable(step), 1500);
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestPaint)
#include "tst_paint.moc"
