#include "WindowTest.h"

// ------------------------------------------------------------ initial state

void TestWindow::initialCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    const auto row = [](const char16_t *name, const char16_t *caption) {
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData())
            << QString::fromUtf16(name) << QString::fromUtf16(caption);
    };
    row(u"StatusBar1", u"Ближайшее число: Равные шансы.");
    row(u"Edit13", u"");
    row(u"ListBox1", u"");
    row(u"TabSheet1", u"Комбинации");
    row(u"TabSheet2", u"Не выпадения");
    row(u"TabSheet4", u"Выпадения");
    row(u"TabSheet3", u"Настройки");
    row(u"TabSheet6", u"Калькулятор");
    row(u"GroupBox2", u" Цвет (18/37): ");
    row(u"GroupBox1", u" Четность (18/37): ");
    row(u"GroupBox3", u" Величина (18/37):  ");
    row(u"GroupBox4", u" Сектора (12/37): ");
    row(u"GroupBox5", u" Зоны (12/37): ");
    row(u"GroupBox6", u" Параметры расчета: ");
    row(u"GroupBox7", u" Не выпадения чисел: ");
    row(u"GroupBox10", u" Выпадение чисел: ");
    row(u"GroupBox8", u" Интерфейс: ");
    row(u"GroupBox9", u" Уровень рисков: ");
    row(u"GroupBox11", u" Исходные данные: ");
    row(u"GroupBox12", u" Ставки: ");
    row(u"Label5", u"Красное:");
    row(u"Label7", u"Чёрное:");
    row(u"Label1", u"Чёт:");
    row(u"Label3", u"Нечёт:");
    row(u"Label11", u"Меньшее:");
    row(u"Label9", u"Большее:");
    row(u"Label13", u"1-12:");
    row(u"Label17", u"25-36:");
    row(u"Label19", u"1,4,7,10... :");
    row(u"Label23", u"3,6,9,12... :");
    row(u"Label25", u"Сигнализировать от:");
    row(u"Edit1", u"170");
    row(u"Label44", u"не выпадений.");
    row(u"Label26", u"Рекомендуемое количество не выпадений начинается с отметки в ~170 spin'ов.");
    row(u"Label76", u"Число - 17:");
    row(u"Label60", u"Число - 19:");
    row(u"Label27", u"Число - 1:");
    row(u"Label79", u"Число - 36:");
    row(u"Label54", u"Число - 1:");
    row(u"Label117", u"Число - 7:");
    row(u"Label143", u"Число - 17:");
    row(u"Label146", u"Число - 36:");
    row(u"Label247", u"Зеро:");
    row(u"Label116", u"0");
    row(u"Label183", u"0");
    row(u"CheckBox2", u"Всегда сверху");
    row(u"CheckBox1", u"Использование прозрачности окна.");
    row(u"Label43", u"Выберите режим прозрачности:");
    row(u"Label45", u"100%");
    row(u"Label46", u"20%");
    row(u"Label48", u"40%");
    row(u"Label49", u"60%");
    row(u"Label50", u"80%");
    row(u"Label47", u"100%");
    row(u"Label53", u"Для комбинаций с вероятностью 18/37");
    row(u"Label200", u"Для комбинаций с вероятностью 12/37");
    row(u"Label51", u"2");
    row(u"Label52", u"8");
    row(u"Label198", u"2");
    row(u"Label199", u"8");
    row(u"Memo1", u"");
    row(u"Label202", u"Min. ставка:");
    row(u"Edit2", u"5");
    row(u"Label203", u"Умножение:");
    row(u"Edit3", u"3");
    row(u"Memo2", u"Будьте внимательны. Не рекомендуется \nставить параметр умножения более 3х.\n"
                  u"Увеличение параметра умножения более 3х \nсущественно увеличит ваши расходы "
                  u"на \nокончание серии.");
    row(u"Label204", u"1 ставка:");
    row(u"Label211", u"8 ставка:");
    row(u"Edit4", u"5");
    row(u"Edit5", u"15");
    row(u"Edit6", u"45");
    row(u"Edit7", u"135");
    row(u"Edit8", u"405");
    row(u"Edit9", u"1215");
    row(u"Edit10", u"3645");
    row(u"Edit11", u"10935");
    row(u"Label212", u"Необходимая сумма:");
    row(u"Edit12", u"16400");
    row(u"N3", u"Последовательность");
    row(u"N5", u"Загрузить последовательность");
    row(u"N6", u"Сохранить последовательность");
    row(u"N36", u"Импорт...");
    row(u"N37", u"Экспорт...");
    row(u"N38", u"Отчёт...");
    row(u"N17", u"-");
    row(u"N16", u"Очистить");
    row(u"N52", u"Сгенерировать 5 чисел");
    row(u"N102", u"Сгенерировать 10 чисел");
    row(u"N252", u"Сгенерировать 25 чисел");
    row(u"N502", u"Сгенерировать 50 чисел");
    row(u"N31", u"Новый стол");
    row(u"N32", u"Переименовать стол...");
    row(u"N33", u"Закрыть стол");
    row(u"N34", u"Обзор столов");
    row(u"N27", u"Анализ последовательности...");
    row(u"N9", u"Выход");
    row(u"N4", u"Настройки");
    row(u"N7", u"Язык");
    row(u"N11", u"Русский");
    row(u"N12", u"English");
    row(u"N14", u"Загрузить настройки");
    row(u"N13", u"Сохранить настройки");
    row(u"N24", u"Казино");
    row(u"N26", u"-");
    row(u"N18", u"Справка");
    row(u"N20", u"Справка по программе");
    row(u"N23", u"Системы игры");
    row(u"N15", u"Скачать новую версию");
    row(u"N8", u"Замечание по работе");
    row(u"N1", u"Очистить");
    row(u"N2", u"-");
    row(u"N51", u"Генерировать 5 чисел");
    row(u"N101", u"Генерировать 10 чисел");
    row(u"N251", u"Генерировать 25 чисел");
    row(u"N501", u"Генерировать 50 чисел");
}

void TestWindow::initialCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    const QObject *object = form->FindComponent(name);
    QVERIFY(object);
    QCOMPARE(CaptionOf(object), caption);
}

void TestWindow::initialControlState()
{
    // Every label shows its text as plain text.
    for (const QLabel *label : form->findChildren<QLabel *>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));

    // Pages, in tab order; the first one shows.
    const QStringList pages{u"TabSheet1"_s, u"TabSheet2"_s, u"TabSheet4"_s, u"TabSheet3"_s,
                            u"TabSheet6"_s};
    QCOMPARE(form->pageControl1->PageCount(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(form->pageControl1->Page(i)->objectName(), pages[i]);
    QCOMPARE(form->pageControl1->ActivePageIndex(), 0);

    // Sliders.
    struct Slider
    {
        TTrackBar *bar;
        int min, max, position, frequency;
        bool enabled;
    };
    const Slider sliders[] = {
        {form->trackBar1, 20, 100, 100, 20, false}, {form->trackBar2, 0, 8, 2, 1, true},
        {form->trackBar3, 2, 10, 8, 1, true},       {form->trackBar4, 0, 8, 2, 1, true},
        {form->trackBar5, 2, 10, 8, 1, true},
    };
    for (const Slider &s : sliders) {
        QCOMPARE(s.bar->Min(), s.min);
        QCOMPARE(s.bar->Max(), s.max);
        QCOMPARE(s.bar->Position(), s.position);
        QCOMPARE(s.bar->tickInterval(), s.frequency);
        QCOMPARE(s.bar->isEnabled(), s.enabled);
    }

    QCOMPARE(form->comboBox1->count(), 3);
    QCOMPARE(form->comboBox1->itemText(0), u"Низкий"_s);
    QCOMPARE(form->comboBox1->itemText(2), u"Высокий"_s);
    QCOMPARE(form->comboBox1->ItemIndex(), 1);
    QVERIFY(!form->comboBox1->isEditable());
    QVERIFY(!form->checkBox1->isChecked());
    QVERIFY(!form->checkBox2->isChecked());

    // The value labels keep their right edge at x = 14.
    for (QLabel *value : {form->label51, form->label52, form->label198, form->label199}) {
        QCOMPARE(value->geometry().right() + 1, 14);
        QVERIFY(value->alignment() & Qt::AlignRight);
    }

    // Fonts: bold notes, regular counts with a font of their own.
    QVERIFY(form->FindComponentAs<QLabel>(u"Label44")->font().bold());
    QVERIFY(form->FindComponentAs<QLabel>(u"Label212")->font().bold());
    QVERIFY(!form->FindComponentAs<QLabel>(u"Label25")->font().bold());
    for (int n = 80; n <= 116; ++n) {
        QVERIFY(!label(n)->font().bold());
        QVERIFY(label(n)->testAttribute(Qt::WA_SetFont));
    }
    QVERIFY(form->FindComponentAs<QLabel>(u"Label26")->wordWrap());

    // Tooltip-coloured boxes; the line count cannot be edited.
    const QColor tooltip = form->palette().color(QPalette::ToolTipBase);
    for (const char16_t *name : {u"Edit13", u"Memo1", u"Memo2", u"Edit12"})
        QCOMPARE(form->FindComponentAs<QWidget>(name)->palette().color(QPalette::Base), tooltip);
    QVERIFY(form->edit13->isReadOnly());
    QVERIFY(!form->edit12->isReadOnly());

    // The history memo wraps and always has its vertical scroll bar.
    QCOMPARE(form->listBox1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(form->listBox1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(form->listBox1->geometry(), QRect(3, 7, 45, 487));
    QCOMPARE(form->pageControl1->geometry(), QRect(50, 0, 266, 521));

    // Focus order in the calculator's input group.
    QCOMPARE(form->edit3->nextInFocusChain(), form->edit2);
    QCOMPARE(form->edit2->nextInFocusChain(), form->memo2);

    // No statistics pass has run.
    QCOMPARE(form->statusBar1->SimpleText(), u"Ближайшее число: Равные шансы."_s);
    QVERIFY(!form->statusBar1->isSizeGripEnabled());
}

void TestWindow::numberGridRows()
{
    // On both pages each number's caption and count share a row; the count
    // stands right of its caption.
    struct Grid
    {
        int firstCount;
        QString box;
    };
    for (const Grid &grid : {Grid{80, u"GroupBox7"_s}, Grid{147, u"GroupBox10"_s}}) {
        auto *box = form->FindComponentAs<QGroupBox>(grid.box);
        QHash<int, QLabel *> captions; // number -> caption label
        for (QLabel *caption : box->findChildren<QLabel *>()) {
            static const QRegularExpression pattern(u"^Число - (\\d+):$"_s);
            const auto match = pattern.match(caption->text());
            if (match.hasMatch())
                captions.insert(match.captured(1).toInt(), caption);
        }
        QCOMPARE(captions.size(), 36);
        for (int n = 1; n <= 36; ++n) {
            QLabel *count = label(grid.firstCount + n);
            QCOMPARE(count->parentWidget(), box);
            const int row = n <= 18 ? n : n - 18;
            QCOMPARE(count->y(), 24 + 16 * (row - 1));
            QCOMPARE(count->x(), n <= 18 ? 80 : 206);
            QVERIFY2(qAbs(captions[n]->y() - count->y()) <= 1, qPrintable(QString::number(n)));
            QVERIFY(captions[n]->geometry().right() < count->x());
        }
        QCOMPARE(label(grid.firstCount)->parentWidget(), box);
        QCOMPARE(label(grid.firstCount)->pos(), QPoint(129, 328));
    }
    // Names of the caption labels that do not follow the numbers.
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label76")->text(), u"Число - 17:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label78")->text(), u"Число - 35:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label126")->text(), u"Число - 16:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label127")->text(), u"Число - 19:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label145")->text(), u"Число - 35:"_s);
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label43")->parentWidget()->objectName(),
             u"GroupBox8"_s);
}

void TestWindow::indicatorRows()
{
    const QImage yellow = form->FindComponentAs<QLabel>(u"y")->pixmap().toImage();
    const QImage grey = form->FindComponentAs<QLabel>(u"b")->pixmap().toImage();
    const QImage green = form->FindComponentAs<QLabel>(u"g")->pixmap().toImage();
    QCOMPARE(yellow.size(), QSize(16, 16));
    QVERIFY(yellow.hasAlphaChannel());
    QVERIFY(yellow != grey && yellow != green && grey != green);
    // Transparent outside the ball and its shadow, opaque in its middle.
    for (const QImage &picture : {yellow, grey, green}) {
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(picture.pixel(15, 0)), 0);
        QCOMPARE(qAlpha(picture.pixel(7, 7)), 255);
        // Only the soft shadow reaches column 14 and row 15.
        int shadow = 0;
        for (int i = 0; i < 16; ++i) {
            for (const int a : {qAlpha(picture.pixel(14, i)), qAlpha(picture.pixel(i, 15))}) {
                QVERIFY(a <= 90);
                shadow = qMax(shadow, a);
            }
        }
        QVERIFY(shadow > 0);
    }
    for (const char16_t *name : {u"b", u"y", u"g"})
        QVERIFY(form->FindComponentAs<QWidget>(name)->isHidden());

    const QString expectedBoxes[] = {u"GroupBox2"_s, u"GroupBox1"_s, u"GroupBox3"_s, u"GroupBox4"_s,
                                     u"GroupBox5"_s};
    for (int g = 1; g <= 12; ++g) {
        const int y = image(g, 1)->y();
        for (int l = 1; l <= 10; ++l) {
            auto *im = qobject_cast<QLabel *>(image(g, l));
            QVERIFY(im);
            QCOMPARE(im->geometry(), QRect(80 + 16 * (l - 1), y, 16, 16));
            QVERIFY(im->isHidden());
            QCOMPARE(im->pixmap().toImage(), yellow);
            QCOMPARE(im->parentWidget()->objectName(), expectedBoxes[g <= 6   ? (g - 1) / 2
                                                                     : g <= 9 ? 3
                                                                              : 4]);
        }
        // The hidden row label of the row.
        static const int hiddenLabels[] = {8, 6, 2, 4, 10, 12, 14, 16, 18, 20, 22, 24};
        QLabel *hidden = label(hiddenLabels[g - 1]);
        QVERIFY(hidden->isHidden());
        QCOMPARE(hidden->size(), QSize(16, 16));
        QVERIFY(hidden->text().isEmpty());
        QCOMPARE(hidden->parentWidget(), image(g, 1)->parentWidget());
        QVERIFY(qAbs(hidden->y() - y) <= 1);
    }
}

void TestWindow::menus()
{
    QCOMPARE(ActionNames(form->mainMenu1->actions()),
             (QStringList{u"N3"_s, u"N4"_s, u"N24"_s, u"N18"_s}));
    QCOMPARE(ActionNames(form->n3->actions()),
             (QStringList{u"N5"_s, u"N6"_s, u"N36"_s, u"N37"_s, u"N38"_s, u"N17"_s, u"N16"_s, u"N52"_s, u"N102"_s, u"N252"_s,
                          u"N502"_s, u"N39"_s, u"N31"_s, u"N32"_s, u"N33"_s, u"N34"_s, u"N27"_s, u"N28"_s, u"N29"_s, u"N10"_s, u"N9"_s}));
    QCOMPARE(ActionNames(form->n4->actions()), (QStringList{u"N7"_s, u"N14"_s, u"N13"_s}));
    QCOMPARE(ActionNames(form->n7->actions()), (QStringList{u"N11"_s, u"N12"_s}));
    QCOMPARE(ActionNames(form->n24->actions()), (QStringList{u"N25"_s, u"N26"_s}));
    QCOMPARE(ActionNames(form->n18->actions()),
             (QStringList{u"N30"_s, u"N20"_s, u"N23"_s, u"N19"_s, u"N15"_s, u"N22"_s, u"N8"_s}));
    QCOMPARE(ActionNames(form->popupMenu1->actions()),
             (QStringList{u"N1"_s, u"N2"_s, u"N51"_s, u"N101"_s, u"N251"_s, u"N501"_s}));

    for (const char16_t *name : {u"N17", u"N39", u"N10", u"N26", u"N19", u"N22", u"N2"})
        QVERIFY(form->FindComponentAs<QAction>(name)->isSeparator());

    // "Язык" exists but is hidden, so "Настройки" shows two items.
    QVERIFY(!form->n7->menuAction()->isVisible());
    int shown = 0;
    for (const QAction *action : form->n4->actions())
        shown += action->isVisible();
    QCOMPARE(shown, 2);
    QVERIFY(form->n11->isCheckable() && form->n11->isChecked());
    QVERIFY(form->n12->isCheckable() && !form->n12->isChecked());
    QVERIFY(!form->n5->isCheckable());

    QCOMPARE(form->n24->defaultAction(), form->n25);
    QVERIFY(form->n25->text().startsWith(u"Регистрация в "_s));
    QVERIFY(!form->n25->text().contains(u'\n'));

    // Loading, saving, leaving, the analysis window, the entry pad, the system
    // tester and the help have keys, shown in the menu; no other item has one,
    // and no key is taken twice in the window.
    const QHash<QString, QKeySequence> keys{
        {u"N5"_s, QKeySequence(u"Ctrl+O"_s)},        {u"N6"_s, QKeySequence(u"Ctrl+S"_s)},
        {u"N9"_s, QKeySequence(u"Ctrl+Q"_s)},        {u"N27"_s, QKeySequence(u"Ctrl+Shift+A"_s)},
        {u"N28"_s, QKeySequence(u"Ctrl+Shift+P"_s)}, {u"N29"_s, QKeySequence(u"Ctrl+Shift+T"_s)},
        {u"N30"_s, QKeySequence(u"F1"_s)},           {u"N36"_s, QKeySequence(u"Ctrl+I"_s)},
        {u"N37"_s, QKeySequence(u"Ctrl+E"_s)},       {u"N38"_s, QKeySequence(u"Ctrl+P"_s)},
        {u"N31"_s, QKeySequence(u"Ctrl+T"_s)},       {u"N32"_s, QKeySequence(u"F2"_s)},
        {u"N33"_s, QKeySequence(u"Ctrl+F4"_s)},      {u"N34"_s, QKeySequence(u"Ctrl+Shift+O"_s)}};
    QList<QKeySequence> taken;
    for (const QAction *action : form->findChildren<QAction *>()) {
        if (!action->objectName().isEmpty())
            QCOMPARE(action->shortcut(), keys.value(action->objectName()));
        for (const QKeySequence &key : action->shortcuts()) {
            QVERIFY2(!taken.contains(key), qPrintable(key.toString()));
            taken.append(key);
        }
    }
}

void TestWindow::popupMenuReplacesTheStandardOne()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->listBox1->contextMenuPolicy(), Qt::CustomContextMenu);
    Q_EMIT form->listBox1->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(form->popupMenu1->isVisible());
    form->popupMenu1->hide();
}

void TestWindow::windowFrame()
{
    QCOMPARE(form->windowTitle(), u"Trevolo (ver. 1.3.0)"_s);
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
    QVERIFY(!form->windowIcon().isNull());
    // The client area under the menu bar: 319 x 543 with the status bar.
    QCOMPARE(form->centralWidget()->size(), QSize(319, 524));
    QCOMPARE(form->statusBar1->height(), 19);
    QCOMPARE(form->width(), 319);
    // Every tab is visible, on more than one row.
    TPageControl *pages = form->pageControl1;
    QVERIFY(pages->RowCount() >= 2);
    for (int i = 0; i < pages->PageCount(); ++i)
        QVERIFY(pages->rect().contains(pages->TabRect(i)));
}
