#include "CommandsTest.h"

// -------------------------------------------------------------------- files

void TestCommands::loadThenSave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("history");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("5, 17, 0") << QByteArray::fromHex("350d0a31370d0a300d0a") << u"5\n17\n0\n"_s
                              << QByteArray::fromHex("350d0a31370d0a300d0a");
    QTest::newRow("LF only") << QByteArray("5\n17\n0\n") << u"5\n17\n0\n"_s
                             << QByteArray("5\r\n17\r\n0\r\n");
    QTest::newRow("mixed") << QByteArray("1\r\n2\n3\r4\n\r5") << u"1\n2\n3\n4\n\n5"_s
                           << QByteArray("1\r\n2\r\n3\r\n4\r\n\r\n5");
    QTest::newRow("other text") << QByteArray("abc\r\n40\r\n-1") << u"abc\n40\n-1"_s
                                << QByteArray("abc\r\n40\r\n-1");
    QTest::newRow("code page 1251") << QByteArray("\xc7\xe5\xf0\xee \xb9\r\n") << u"Зеро №\n"_s
                                    << QByteArray("\xc7\xe5\xf0\xee \xb9\r\n");
    QTest::newRow("no-break space") << QByteArray::fromHex("a035a00d0a") << u"\u00a05\u00a0\n"_s
                                    << QByteArray::fromHex("a035a00d0a");
    QTest::newRow("empty") << QByteArray() << QString() << QByteArray();
}

void TestCommands::loadThenSave()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, history);
    QFETCH(QByteArray, saved);

    QVERIFY(WriteRaw(path(u"in.txt"_s), file));
    answerOpen(path(u"in.txt"_s));
    memo().ReplaceText(u"1\n"_s);
    item(u"N5"_s).trigger();
    QCOMPARE(memo().Text(), history);
    QCOMPARE(form->edit13->text(), QString::number(CountLines(history)));

    answerSave(path(u"out.txt"_s));
    item(u"N6"_s).trigger();
    QCOMPARE(ReadRaw(path(u"out.txt"_s)), saved);
    QVERIFY(env->boxes.isEmpty());
    // Saving touches neither the history nor the file it was loaded from.
    QCOMPARE(memo().Text(), history);
    QCOMPARE(ReadRaw(path(u"in.txt"_s)), file);
}

namespace {

// A history file of `lines` spins and a few lines that are none.
QByteArray LongHistoryFile(int lines)
{
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += (i % 1000 == 999 ? QByteArray("x") : QByteArray::number(i * 7 % 37)) + "\r\n";
    return bytes;
}

// The figures of the memo's pass beside those of the full pass.
void CompareWithFullPass(THistoryMemo &memo)
{
    const auto *form = qobject_cast<const TForm1 *>(memo.window());
    QVERIFY(form);
    const HistoryStatistics model = form->History().Statistics(u"9");
    const HistoryStatistics full = ComputeStatistics(memo.Text(), u"9");
    QCOMPARE(model.lineCount, full.lineCount);
    QCOMPARE(model.spinCount, full.spinCount);
    QCOMPARE(model.absence, full.absence);
    QCOMPARE(model.occurrence, full.occurrence);
    QCOMPARE(model.missRuns, full.missRuns);
    QCOMPARE(model.statusText, full.statusText);
}

} // namespace

void TestCommands::longLoadShowsProgressAndTakesNoInput()
{
    memo().ReplaceText(u"5\n17\n"_s);
    const QByteArray bytes = LongHistoryFile(150000);
    QVERIFY(WriteRaw(path(u"long.txt"_s), bytes));
    answerOpen(path(u"long.txt"_s));
    countPassesByErrorBoxes();
    QSignalSpy changed(&memo(), &QPlainTextEdit::textChanged);

    // Between pieces the window handles events but takes no input: a key
    // typed into the memo changes nothing.
    QStringList seen;
    env->onProgress = [&](int) {
        const QCursor *cursor = QApplication::overrideCursor();
        seen << u"%1 %2 %3"_s.arg(form->centralWidget()->isEnabled())
                    .arg(form->menuBar()->isEnabled())
                    .arg(cursor ? int(cursor->shape()) : -1);
        QTest::keyClick(&memo(), Qt::Key_9);
    };
    item(u"N5"_s).trigger();

    QCOMPARE(memo().Text(), HistoryFromFileBytes(bytes));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(passesCounted(), 1);
    QVERIFY2(seen.size() > 3, qPrintable(env->progress.join(u' ')));
    QCOMPARE(seen.count(u"0 0 %1"_s.arg(int(Qt::BusyCursor))), seen.size());
    QCOMPARE(env->progress.first(), u"start Загрузка истории..."_s);
    QCOMPARE(env->progress.last(), u"100"_s);
    for (qsizetype i = 2; i < env->progress.size(); ++i)
        QVERIFY(env->progress[i].toInt() >= env->progress[i - 1].toInt());
    QVERIFY(form->centralWidget()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    CompareWithFullPass(memo());

    // The loaded history is edited as any other.
    memo().moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo(), u"12"_s);
    QTest::keyClick(&memo(), Qt::Key_Return);
    QVERIFY(memo().Text().endsWith(u"\n12\n"_s));
    CompareWithFullPass(memo());
}

void TestCommands::cancelledLoadLeavesTheHistory()
{
    memo().ReplaceText(u"5\n17\n"_s);
    memo().moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo(), u"3"_s);
    const QTextDocument *before = memo().document();
    QVERIFY(WriteRaw(path(u"long.txt"_s), LongHistoryFile(150000)));
    answerOpen(path(u"long.txt"_s));
    countPassesByErrorBoxes();
    QSignalSpy changed(&memo(), &QPlainTextEdit::textChanged);
    env->cancelAtPercent = 1;

    item(u"N5"_s).trigger();

    QCOMPARE(memo().Text(), u"5\n17\n3"_s);
    QCOMPARE(memo().document(), before);
    QVERIFY(memo().document()->isUndoAvailable());
    QCOMPARE(changed.size(), 0);
    QCOMPARE(passesCounted(), 1); // as when the same text is loaded again
    QVERIFY(env->progress.size() < 10);
    QVERIFY(form->centralWidget()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    CompareWithFullPass(memo());
}

void TestCommands::largePasteIsOneUndoableChange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("pasted");
    QTest::newRow("between lines") << u"5\n17\n3\n"_s << 2 << 2 << u"1\n2\n3\n"_s;
    QTest::newRow("over a selection") << u"5\n17\n3"_s << 5 << 2 << u"8\r\n9\r\n10"_s;
    QTest::newRow("lone CR before a break") << u"5\n17"_s << 1 << 1 << u"1\r2\r"_s;
    QTest::newRow("soft breaks stay") << u"5\u202817\n3"_s << 6 << 6 << u"\n4\n5\n"_s;
    QTest::newRow("into nothing") << QString() << 0 << 0 << u"0\n1\n2"_s;
}

void TestCommands::largePasteIsOneUndoableChange()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, pasted);
    const auto place = [&](THistoryMemo &into) {
        into.ReplaceText(text);
        QTextCursor cursor(into.document());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        into.setTextCursor(cursor);
    };
    QApplication::clipboard()->setText(pasted);
    SpinHistory qtOwnHistory;
    THistoryMemo qtOwn(qtOwnHistory); // no large insert: the paste Qt does itself
    place(qtOwn);
    QTest::keyClick(&qtOwn, Qt::Key_V, Qt::ControlModifier);

    memo().SetLargeInsertBreaks(2);
    place(memo());
    const QString before = memo().document()->toRawText();
    countPassesByErrorBoxes();
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(env->progress.value(0), u"start Вставка текста..."_s);
    QCOMPARE(memo().document()->toRawText(), qtOwn.document()->toRawText());
    QCOMPARE(memo().textCursor().position(), qtOwn.textCursor().position());
    QCOMPARE(passesCounted(), 1);
    CompareWithFullPass(memo());

    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo().document()->toRawText(), before);
    QCOMPARE(memo().textCursor().anchor(), anchor);
    QCOMPARE(memo().textCursor().position(), position);
    CompareWithFullPass(memo());
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo().document()->toRawText(), qtOwn.document()->toRawText());
    QCOMPARE(passesCounted(), 3);
    CompareWithFullPass(memo());
}

void TestCommands::largePasteKeepsTheUndoHistory()
{
    memo().SetLargeInsertBreaks(2);
    memo().ReplaceText(u"5\n"_s);
    memo().moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo(), u"1"_s);
    QApplication::clipboard()->setText(u"\n2\n3"_s);
    const auto key = [&](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier | modifiers);
        return memo().Text();
    };
    env->cancelAtPercent = 1;
    const QTextDocument *typedInto = memo().document();
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo().Text(), u"5\n1"_s); // cancelled: nothing changed
    QCOMPARE(memo().document(), typedInto);
    env->cancelAtPercent = 1000;
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo().Text(), u"5\n1\n2\n3"_s);

    // Back through the paste into what was typed before it, and forward again.
    QCOMPARE(key(Qt::NoModifier), u"5\n1"_s);
    QCOMPARE(key(Qt::NoModifier), u"5\n"_s);
    QCOMPARE(key(Qt::ShiftModifier), u"5\n1"_s);
    QCOMPARE(key(Qt::ShiftModifier), u"5\n1\n2\n3"_s);
    // A fresh edit after Undo ends what Redo could bring back.
    QCOMPARE(key(Qt::NoModifier), u"5\n1"_s);
    QTest::keyClicks(&memo(), u"7"_s);
    QCOMPARE(key(Qt::ShiftModifier), u"5\n17"_s);
    QCOMPARE(memo().HistoryRebuilds(), 0);
    CompareWithFullPass(memo());
}

void TestCommands::overlongLineIsFoldedAndKeptExact()
{
    // A spin behind 70,000 blanks: one line the memo shows folded.
    const QByteArray file = "5\r\n" + QByteArray(70000, ' ') + "7\r\n8\r\n";
    QVERIFY(WriteRaw(path(u"in.txt"_s), file));
    answerOpen(path(u"in.txt"_s));
    item(u"N5"_s).trigger();
    QCOMPARE(memo().document()->findBlockByNumber(1).text(),
             QString(QChar::ObjectReplacementCharacter));
    QCOMPARE(memo().Text(), HistoryFromFileBytes(file));
    CompareWithFullPass(memo());
    QCOMPARE(NewestSpins(form->History(), 3), (QList<int>{8, 7, 5}));

    // Typed beside the folded line, the line is the longer text.
    QTextCursor cursor(memo().document()->findBlockByNumber(1));
    memo().setTextCursor(cursor);
    QTest::keyClicks(&memo(), u" "_s);
    QCOMPARE(memo().Text(), u"5\n "_s + QString(70000, u' ') + u"7\n8\n"_s);
    CompareWithFullPass(memo());
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);

    QTest::keyClick(&memo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&memo(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), memo().Text());
    answerSave(path(u"out.txt"_s));
    item(u"N6"_s).trigger();
    QCOMPARE(ReadRaw(path(u"out.txt"_s)), file);
    QCOMPARE(memo().TextLength(), memo().Text().size());

    // Pasted (a long line goes the way of a long paste), then taken back.
    memo().moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QString(70001, u'1'));
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo().Text(), HistoryFromFileBytes(file) + QString(70001, u'1'));
    QCOMPARE(memo().document()->blockCount(), 4);
    QCOMPARE(memo().textCursor().position(), memo().document()->characterCount() - 1);
    CompareWithFullPass(memo());
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo().Text(), HistoryFromFileBytes(file));
}

void TestCommands::longLinesWrapAtTheMemoWidth()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(WriteRaw(path(u"in.txt"_s), "5\r\n" + QByteArray(300, '1') + "\r\n7\r\n"));
    answerOpen(path(u"in.txt"_s));
    item(u"N5"_s).trigger();                                  // laid out beside the memo
    memo().ReplaceText(memo().Text() + u"2"_s.repeated(300)); // and in it
    QApplication::processEvents();
    for (const int number : {1, 3}) {
        const QTextBlock block = memo().document()->findBlockByNumber(number);
        memo().document()->documentLayout()->blockBoundingRect(block); // laid out if not yet
        const QTextLayout *layout = block.layout();
        QVERIFY(layout->lineCount() > 10);
        for (int i = 0; i < layout->lineCount(); ++i)
            QVERIFY(layout->lineAt(i).naturalTextWidth() <= memo().viewport()->width());
    }
    QVERIFY(memo().verticalScrollBar()->maximum() > 20);
}

void TestCommands::oddFilesLoadExactly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("NUL bytes") << QByteArray("1\r\n\0\r\n2\0\r\n\0\0\r\n36", 15);
    QTest::newRow("one line of 3 MiB") << QByteArray(3 << 20, '7');
    QTest::newRow("a long line among spins")
        << QByteArray("5\r\n") + QByteArray((1 << 20) + 5, '1') + "\r\n\r\n8\r\n";
    QTest::newRow("only breaks") << QByteArray(300000, '\n');
    QTest::newRow("lone CRs") << QByteArray("1\r2\r\r3\n\r4");
}

void TestCommands::oddFilesLoadExactly()
{
    QFETCH(QByteArray, bytes);
    memo().ReplaceText(u"5\n"_s);
    QVERIFY(WriteRaw(path(u"odd.txt"_s), bytes));
    answerOpen(path(u"odd.txt"_s));
    item(u"N5"_s).trigger();
    QCOMPARE(memo().Text(), HistoryFromFileBytes(bytes));
    QCOMPARE(memo().HistoryRebuilds(), 0);
    CompareWithFullPass(memo());
}

void TestCommands::loadedTextWithoutFinalBreakStaysSo()
{
    QVERIFY(WriteRaw(path(u"in.txt"_s), "5\r\n17"));
    answerOpen(path(u"in.txt"_s));
    item(u"N5"_s).trigger();
    item(u"N51"_s).trigger();
    QCOMPARE(memo().Text(), u"5\n17\n"_s + ReferenceSpins(1, 5).join(u'\n'));

    answerSave(path(u"out.txt"_s));
    item(u"N6"_s).trigger();
    QVERIFY(!ReadRaw(path(u"out.txt"_s)).endsWith('\n'));
}

void TestCommands::anyBytesLoad_data()
{
    QTest::addColumn<QByteArray>("file");

    QByteArray every;
    for (int i = 0; i < 256; ++i)
        every.append(char(i));
    QTest::newRow("every byte") << every;
    QTest::newRow("NUL bytes") << QByteArray("5\0\0"
                                             "17\r\n\0",
                                             8);
    QByteArray binary;
    quint32 state = 7;
    for (int i = 0; i < 300000; ++i) {
        state = state * 1664525u + 1013904223u;
        binary.append(char(state >> 24));
    }
    QTest::newRow("binary") << binary;
    QTest::newRow("one line of 2 MB") << QByteArray(2 * 1024 * 1024, '7');
}

void TestCommands::anyBytesLoad()
{
    QFETCH(QByteArray, file);

    form->show();
    QVERIFY(WriteRaw(path(u"in.bin"_s), file));
    answerOpen(path(u"in.bin"_s));
    item(u"N5"_s).trigger();
    QApplication::processEvents();
    QVERIFY(env->boxes.isEmpty());
    const QString text = memo().Text();
    QVERIFY(!text.isEmpty());
    QVERIFY(!text.contains(u'\r'));
    QCOMPARE(form->edit13->text(), QString::number(CountLines(text)));

    // Saved back, every byte but the line breaks is what was read.
    answerSave(path(u"out.bin"_s));
    item(u"N6"_s).trigger();
    QByteArray expected = file;
    expected.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
    QCOMPARE(ReadRaw(path(u"out.bin"_s)), expected);
}

void TestCommands::saveReplacesWithoutAQuestion()
{
    // An empty history saved over a file leaves a file of zero bytes.
    QVERIFY(WriteRaw(path(u"spins.txt"_s), "1\r\n2\r\n3\r\n4\r\n5\r\n"));
    answerSave(path(u"spins.txt"_s));
    item(u"N6"_s).trigger();
    QCOMPARE(QFileInfo(path(u"spins.txt"_s)).size(), 0);
    QVERIFY(env->boxes.isEmpty());
    QCOMPARE(env->saveRequests.size(), 1);
    QVERIFY(!env->saveRequests[0].promptOverwrite);
    QVERIFY(!env->saveRequests[0].mustExist);
    // Nothing else is left in the folder, no temporary file either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"spins.txt"_s});
}

void TestCommands::dialogsKeepTheirOwnChoice()
{
    const QStringList filters{u"Текстовые файлы (*.txt)"_s, u"Все файлы (*.*)"_s};
    QVERIFY(WriteRaw(path(u"a.txt"_s), "1\r\n"));

    env->openAnswers.push_back(FileChoice{path(u"a.txt"_s), filters[1]});
    item(u"N5"_s).trigger();
    item(u"N5"_s).trigger(); // cancelled: changes nothing
    answerSave(path(u"b.txt"_s));
    item(u"N6"_s).trigger();
    item(u"N6"_s).trigger(); // cancelled
    item(u"N5"_s).trigger();

    QCOMPARE(env->openRequests.size(), 3);
    QCOMPARE(env->saveRequests.size(), 2);
    const FileDialogOptions &firstOpen = env->openRequests[0];
    QCOMPARE(firstOpen.filters, filters);
    QVERIFY(firstOpen.selectedFilter.isEmpty() || firstOpen.selectedFilter == filters[0]);
    QCOMPARE(firstOpen.defaultSuffix, u"txt"_s);
    QVERIFY(firstOpen.mustExist);
    QVERIFY(firstOpen.initialFileName.isEmpty());
    for (int i : {1, 2}) {
        QCOMPARE(env->openRequests[i].initialFileName, path(u"a.txt"_s));
        QCOMPARE(env->openRequests[i].selectedFilter, filters[1]);
    }
    // The save dialog does not share the open dialog's choice.
    const FileDialogOptions &firstSave = env->saveRequests[0];
    QCOMPARE(firstSave.filters, filters);
    QCOMPARE(firstSave.defaultSuffix, u"txt"_s);
    QVERIFY(firstSave.initialFileName.isEmpty());
    QCOMPARE(env->saveRequests[1].initialFileName, path(u"b.txt"_s));
    QCOMPARE(env->saveRequests[1].selectedFilter, filters[0]);
}

void TestCommands::loadErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    // The box shows the file functions' message with a full stop added.
    const auto cannotOpen = [this](const char *tag, const QString &name, int error) {
        QTest::newRow(tag) << name << CannotOpenMessage(path(name), error) + u'.';
    };
    cannotOpen("missing", u"missing.txt"_s, ENOENT);
    cannotOpen("a folder", u"folder"_s, EISDIR);
    cannotOpen("below a file", u"plain.txt/spins.txt"_s, ENOTDIR);
    QTest::newRow("over 64 MiB") << u"huge.txt"_s << u"Text exceeds memo capacity."_s;
}

void TestCommands::loadErrors()
{
    QFETCH(QString, name);
    QFETCH(QString, message);

    QVERIFY(MakeFailingPaths(dir.path()));
    QVERIFY(MakeSparseFile(path(u"huge.txt"_s), qint64(64) * 1024 * 1024 + 1));

    memo().ReplaceText(u"5\n17"_s);
    countPassesByErrorBoxes();
    QSignalSpy changed(&memo(), &QPlainTextEdit::textChanged);
    answerOpen(path(name));
    item(u"N5"_s).trigger();

    // One error box, and no statistics pass after it.
    QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(message));
    QCOMPARE(memo().Text(), u"5\n17"_s);
    QCOMPARE(changed.size(), 0);
}

void TestCommands::saveErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");

    QTest::newRow("a folder") << u"folder"_s << EISDIR;
    QTest::newRow("below a file") << u"plain.txt/spins.txt"_s << ENOTDIR;
    QTest::newRow("missing folder") << u"nowhere/spins.txt"_s << ENOENT;
}

void TestCommands::saveErrors()
{
    QFETCH(QString, name);
    QFETCH(int, error);

    QVERIFY(MakeFailingPaths(dir.path()));
    memo().ReplaceText(u"5\n17\n"_s);
    answerSave(path(name));
    item(u"N6"_s).trigger();

    QCOMPARE(env->onlyBox(),
             FakeEnvironment::ErrorBox(CannotCreateMessage(path(name), error) + u'.'));
    QCOMPARE(memo().Text(), u"5\n17\n"_s);
    QCOMPARE(ReadRaw(path(u"plain.txt"_s)), QByteArray("1\r\n"));
    QVERIFY(QDir(path(u"folder"_s)).isEmpty());
}

void TestCommands::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("inPlace"); // the folder takes no new file
    QTest::newRow("through a new file") << false;
    QTest::newRow("rewritten in place") << true;
}

void TestCommands::failedWriteKeepsTheOldFile()
{
    QFETCH(bool, inPlace);
    const QByteArray old("1\r\n2\r\n3\r\n");
    QVERIFY(WriteRaw(path(u"spins.txt"_s), old));
    memo().ReplaceText(Numbers(1000));
    std::optional<FolderWithoutNewFiles> closed;
    if (inPlace && closed.emplace(dir.path()).Refusal() == 0)
        QSKIP("no way here to close a folder to new files");

    // No file of this process may grow past 100 bytes, as on a full disk.
    answerSave(path(u"spins.txt"_s));
    QVERIFY(WithFileSizeLimit(100, [this] { item(u"N6"_s).trigger(); }));
    closed.reset();

    // In place, the old content is written back, and its copy in the state
    // folder is named.
    QCOMPARE(env->boxes.size(), 1);
    const QString shown = env->boxes[0].text;
    if (inPlace) {
        const QString copy = KeptCopyIn(shown, u"Stream write error. "_s + Describe(EFBIG));
        QCOMPARE(QFileInfo(copy).path(), env->stateFolder());
        QCOMPARE(ReadRaw(copy), old);
    } else {
        QCOMPARE(shown, u"Stream write error. "_s + Describe(EFBIG) + u'.');
    }
    QCOMPARE(ReadRaw(path(u"spins.txt"_s)), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"spins.txt"_s});
    QCOMPARE(memo().Text(), Numbers(1000));
}
