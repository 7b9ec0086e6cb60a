// Import, export and the report from the window: the menu items end to end
// on a recording desktop.
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include "app/analysiswindow/AnalysisForm.h"
#include "app/importwindow/ImportForm.h"
#include "app/reportwindow/ReportForm.h"
#include "app/memo/HistoryMemo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QProcess>
#include <QStandardPaths>
#include <QItemSelectionModel>
#include <QTabWidget>
#include <QTableView>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

class TestImportExport : public QObject, private WindowFixture
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }
    THistoryMemo &memo() const { return *form->listBox1; }
    void trigger(const QString &name) { form->FindComponentAs<QAction>(name)->trigger(); }
    // "Импорт..." on this file (none: the dialog cancelled); the form it opens.
    ImportForm &import(const QString &file)
    {
        env->openAnswers.push_back(file.isEmpty() ? std::nullopt
                                                  : std::optional(FileChoice{file, QString()}));
        trigger(u"N36"_s);
        auto *import = form->findChild<ImportForm *>(u"ImportForm"_s);
        if (!import || !import->isVisible())
            qFatal("no import form");
        return *import;
    }

private Q_SLOTS:
    void init() { createAll(); }
    void cleanup() { destroyAll(); }

    void importIsOneUndoableChange_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("summary");

        QTest::newRow("casino line to the end")
            << "32, 15, 19"_ba << 0 << u"5\n17\n19\n15\n32\n"_s
            << u"Чисел: 3; пропущено: 0\nЧисла в одну строку: считаются новыми сначала, как их показывают казино."_s;
        QTest::newRow("csv instead") << "Number;Note\n7;x\n00;y\n"_ba << 1 << u"7\n"_s
                                     << u"Чисел: 1; пропущено: 1\nстр. 3: «00» — двойное зеро: колесо с одним зеро\nКолонка чисел: 1: Number"_s;
        QTest::newRow("a million rows") << QByteArray("1;17\n").repeated(1000000) << 0
                                        << u"5\n17\n"_s + u"17\n"_s.repeated(1000000)
                                        << u"Чисел: 1000000; пропущено: 0\nКолонка чисел: 2"_s;
    }

    // OK adds what the preview shows as one change with one statistics pass, and
    // one Undo takes it back.
    void importIsOneUndoableChange()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, target);
        QFETCH(QString, after);
        QVERIFY(WriteRaw(path(u"in.csv"_s), file));
        form->show();
        memo().ReplaceText(u"5\n17"_s);
        countPassesByErrorBoxes();
        ImportForm &import = this->import(path(u"in.csv"_s));
        QTEST(import.findChild<QLabel *>(u"LabelImportSummary"_s)->text(), "summary");
        import.findChild<QComboBox *>(u"ImportTarget"_s)->setCurrentIndex(target);
        QCOMPARE(takePasses(), 0);
        QVERIFY(import.findChild<QPushButton *>(u"ImportFromClipboard"_s)->isEnabled());
        import.accept();
        QCOMPARE(memo().Text(), after);
        QCOMPARE(takePasses(), 1);
        memo().Undo();
        QCOMPARE(memo().Text(), u"5\n17"_s);
    }

    void badInputChangesNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("preview");

        QTest::newRow("unreadable file")
            << u"missing.csv"_s << QByteArray() << QString()
            << u"Файл «missing.csv» не читается: No such file or directory."_s;
        QTest::newRow("over 256 MiB") << u"big.csv"_s << "<sparse>"_ba << QString()
                                      << u"Файл «big.csv» больше 256 МиБ: такой список не импортируется."_s;
        QTest::newRow("no numbers") << u"in.csv"_s << "a;b\nc;d\n"_ba << QString()
                                    << u"Ни в одной колонке нет чисел 0..36."_s;
        QTest::newRow("broken json") << u"in.json"_s << "[1, {"_ba << QString()
                                     << u"JSON не читается: unterminated object (знак 6)."_s;
        QTest::newRow("empty clipboard") << QString() << QByteArray() << u" "_s
                                         << u"В буфере обмена нет текста."_s;
        QTest::newRow("clipboard without numbers")
            << QString() << QByteArray() << u"red black"_s << u"Чисел 0..36 не найдено."_s;
        QTest::newRow("cancelled") << u"in.csv"_s << QByteArray("1\n").repeated(1 << 20)
                                   << QString() << u"Импорт отменён."_s;
    }

    // A message in the preview, no box, OK off; the history stays as it was.
    void badInputChangesNothing()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, clipboard);
        if (bytes == "<sparse>")
            QVERIFY(MakeSparseFile(path(file), MaxImportFileBytes + 1));
        else if (!bytes.isEmpty())
            QVERIFY(WriteRaw(path(file), bytes));
        env->cancelAtPercent = 1;
        memo().ReplaceText(u"5\n"_s);
        ImportForm &import = this->import(file.isEmpty() ? QString() : path(file));
        if (!clipboard.isNull()) {
            QApplication::clipboard()->setText(clipboard);
            import.findChild<QPushButton *>(u"ImportFromClipboard"_s)->click();
        }
        QTEST(import.findChild<QPlainTextEdit *>(u"ImportPreview"_s)->toPlainText(), "preview");
        QVERIFY(!import.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());
        QVERIFY(import.Spins().empty());
        QCOMPARE(env->boxes.size(), 0);
        import.accept();
        QCOMPARE(memo().Text(), u"5\n"_s);
    }

    void exportWritesTheChosenFormat_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");

        const QString rows =
            u"1;5;красное;нечет;1–18;1;2;Треть;\r\n2;0;зелёное;;;;;Соседи зеро;\r\n"_s;
        const QString header =
            u"№;Число;Цвет;Чёт/нечет;Половина;Дюжина;Колонка;Сектор колеса;Время\r\n"_s;
        QTest::newRow("excel") << u"CSV для Excel (*.csv)"_s << u"out.csv"_s
                               << "\xEF\xBB\xBF"_ba + (header + rows).toUtf8();
        QTest::newRow("csv") << u"CSV (*.csv)"_s << u"out"_s
                             << QString(header + rows).replace(u';', u',').toUtf8();
        QTest::newRow("json")
            << u"JSON (*.json)"_s << u"out.json"_s
            << uR"([
{"№": 1, "Число": 5, "Цвет": "красное", "Чёт/нечет": "нечет", "Половина": "1–18", "Дюжина": "1", "Колонка": "2", "Сектор колеса": "Треть", "Время": null},
{"№": 2, "Число": 0, "Цвет": "зелёное", "Чёт/нечет": "", "Половина": "", "Дюжина": "", "Колонка": "", "Сектор колеса": "Соседи зеро", "Время": null}
]
)"_s.toUtf8();
        QTest::newRow("text") << u"Текст (*.txt)"_s << u"out.txt"_s << "5\r\n0\r\n"_ba;
    }

    // Only the spins go out, in the format of the filter picked; the message
    // counts the lines left out. A name without an extension takes the format's.
    void exportWritesTheChosenFormat()
    {
        QFETCH(QString, filter);
        QFETCH(QString, name);
        memo().ReplaceText(u"5\nx\n\n0"_s);
        env->saveAnswers.push_back(FileChoice{path(name), filter});
        trigger(u"N37"_s);
        QCOMPARE(env->saveRequests.value(0).filters.size(), 4);
        QCOMPARE(env->onlyBox(), FakeEnvironment::MessageBox(
                                     u"Выгружено чисел: 2; строк без числа пропущено: 1"_s));
        const QString written = name.contains(u'.') ? path(name) : path(name) + u".csv"_s;
        QTEST(ReadRaw(written), "bytes");
    }

    void tablesAndChartsCopyAndSave_data()
    {
        QTest::addColumn<QString>("part"); // a table or a chart of the analysis window
        QTest::addColumn<QString>("action"); // "Ctrl+C" on a selection, or a context menu item
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QByteArray>("text"); // what is copied, or how the saved file starts

        QTest::newRow("Ctrl+C on a selection")
            << u"TableGaps"_s << u"Ctrl+C"_s << QString()
            << u"Число\tВыпадений\tОтсутствует сейчас\tДольше всего\tВ среднем\n1\t2\t0\t1\t1,0\n\t\t\t\t—\n"_s.toUtf8();
        QTest::newRow("Копировать всё") << u"TableGroupGaps"_s << u"Копировать всё"_s << QString()
                                        << QByteArray("17 lines");
        QTest::newRow("CSV для Excel") << u"TableGroups"_s << u"Сохранить как CSV..."_s
                                       << u"CSV для Excel (*.csv)"_s
                                       << "\xEF\xBB\xBF"_ba + u"Группа;Не выпадает, спинов;Шанс такой паузы\r\n"_s.toUtf8();
        QTest::newRow("CSV") << u"TableGroups"_s << u"Сохранить как CSV..."_s << u"CSV (*.csv)"_s
                             << u"Группа,\"Не выпадает, спинов\",Шанс такой паузы\r\n"_s.toUtf8();
        const QString save = u"Сохранить изображение..."_s;
        QTest::newRow("PNG") << u"ChartOccurrences"_s << save << u"PNG (*.png)"_s << "\x89PNG"_ba;
        QTest::newRow("SVG") << u"ChartGaps"_s << save << u"SVG (*.svg)"_s << "<?xml"_ba;
    }

    // The analysis window's tables give their cells with the header row, its
    // charts (left empty) their picture, from their context menus.
    void tablesAndChartsCopyAndSave()
    {
        QFETCH(QString, part);
        QFETCH(QString, action);
        QFETCH(QString, filter);
        QFETCH(QByteArray, text);
        const bool chart = part.startsWith(u"Chart");
        if (!chart)
            memo().ReplaceText(u"1\n2\n1\n"_s);
        form->N27Click();
        auto *view = form->analysisForm()->findChild<QWidget *>(part);
        QVERIFY(view);
        QStringList items;
        for (QAction *item : view->actions())
            items.append(item->text());
        QCOMPARE(items.join(u", "), chart ? u"Сохранить изображение..., Копировать изображение"_s
                                          : u"Копировать, Копировать всё, Сохранить как CSV..."_s);
        QApplication::clipboard()->clear();
        const QString saved = path(chart ? u"chart"_s : u"table.csv"_s);
        if (action == u"Ctrl+C") {
            auto *table = qobject_cast<QTableView *>(view);
            QVERIFY(table);
            const std::pair<int, int> cells[] = {{1, 0}, {2, 4}, {1, 1}, {1, 2}, {1, 3}, {1, 4}};
            for (const auto &[row, column] : cells)
                table->selectionModel()->select(table->model()->index(row, column),
                                                QItemSelectionModel::Select);
            form->analysisForm()->findChild<QTabWidget *>(u"AnalysisPages"_s)->setCurrentIndex(1);
            QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        } else {
            env->saveAnswers.push_back(FileChoice{saved, filter});
            for (QAction *item : view->actions())
                if (item->text() == action)
                    item->trigger();
        }
        const QByteArray copied = QApplication::clipboard()->text().toUtf8();
        if (text == "17 lines")
            QCOMPARE(copied.count('\n'), 17);
        else if (filter.isEmpty())
            QVERIFY2(copied == text, copied.constData());
        else
            QVERIFY2(ReadRaw(saved).startsWith(text), ReadRaw(saved));
        if (chart) { // and its picture copied
            view->actions().at(1)->trigger();
            QVERIFY(!QApplication::clipboard()->pixmap().isNull());
        }
    }

    void reportHoldsTheFiguresShown_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("saved only") << false;
        QTest::newRow("opened after saving") << true;
    }

    // The PDF's text, read back by pdftotext, holds each figure of the analysis
    // window as it shows it after its own caption, or a box's title (none for a
    // figure on a line of its own: no caption before it); the viewer opens it
    // when the box is ticked, and the box is remembered.
    void reportHoldsTheFiguresShown()
    {
        QFETCH(bool, open);
        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        memo().ReplaceText(u"1\n2\n1\n5\n17\n17\n17\n"_s);
        trigger(u"N38"_s);
        auto *report = form->findChild<ReportForm *>(u"ReportForm"_s);
        QVERIFY(report && report->isVisible());
        QVERIFY(!report->OpenAfterSave());
        report->findChild<QCheckBox *>(u"ReportOpenAfterSave"_s)->setChecked(open);
        env->saveAnswers.push_back(FileChoice{path(u"report"_s), u"PDF (*.pdf)"_s});
        report->accept();
        QProcess reader;
        reader.start(pdftotext, {path(u"report.pdf"_s), u"-"_s});
        QVERIFY(reader.waitForFinished(30000));
        const QString text = QString::fromUtf8(reader.readAllStandardOutput()).simplified();
        QVERIFY2(text.startsWith(u"Отчёт Trevolo"_s), qPrintable(text.left(200)));
        const std::pair<QString, QString> figures[] = { // the label and its caption
            {u"LabelSpins"_s, u"Спинов:"_s}, {u"LabelChiSquare"_s, u"Статистика χ²:"_s},
            {u"LabelChiSquareP"_s, u"Шанс такого или большего χ² на честном колесе:"_s},
            {u"LabelHottest"_s, u"Самое частое число"_s},
            {u"LabelHottestP"_s, u"Шанс выпасть столько раз или чаще (это число):"_s},
            {u"LabelDrought"_s, u"Число: спинов без него"_s}, {u"LabelNextSpin"_s, {}},
            {u"LabelVerdict"_s, {}}, {u"LabelBreakEven"_s, {}},
            {u"LabelHotArcP"_s, u"Шанс для этой дуги (заранее выбранной):"_s},
            {u"LabelHotArc"_s, u"Самая частая дуга:"_s}};
        for (const auto &[figure, caption] : figures) {
            const QString shown =
                form->analysisForm()->findChild<QLabel *>(figure)->text().simplified();
            const qsizetype at = text.indexOf(caption.isEmpty() ? shown : caption + u' ' + shown);
            QVERIFY2(!shown.isEmpty() && at > 0,
                     qPrintable(figure + u": "_s + caption + u" | "_s + shown));
            QVERIFY2(!caption.isEmpty() || !text.first(at).trimmed().endsWith(u':'),
                     qPrintable(text.first(at).right(80) + u" | "_s + shown));
        }
        QCOMPARE(env->openedUrls,
                 open ? QList{QUrl::fromLocalFile(path(u"report.pdf"_s))} : QList<QUrl>());
        QCOMPARE(settings->ReadBool(u"Common", u"ReportOpenAfterSave", !open), open);
    }
};

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
