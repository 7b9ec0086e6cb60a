#include "SettingsWindowTest.h"

#include "settings/SettingsKeys.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

const QStringList SettingsFilters{u"Файлы конфигурации (*.ini)"_s, u"Все файлы (*.*)"_s};

bool OnTop(const QWidget &window)
{
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// A folder where no file can be created, also for the superuser: a folder
// without write permission, or else the kernel's /sys. Empty when neither
// refuses.
QString UnwritableFolder(const QString &scratch)
{
    const QString folder = scratch + u"/locked"_s;
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    for (const QString &candidate : {folder, u"/sys"_s}) {
        QFile probe(candidate + u"/probe.ini"_s);
        if (!probe.open(QIODevice::WriteOnly))
            return candidate;
        probe.close();
        probe.remove();
    }
    return QString();
}

} // namespace

void TestSettingsWindow::firstRunWritesTheOptions()
{
    createWindow();
    // The layout gives every indicator the yellow picture; FormCreate colours
    // the grid before it looks for the file.
    QVERIFY(!gridFault(2, 8, 2, 8).isEmpty());
    form->Guard([this] { form->FormCreate(); });
    QCOMPARE(gridFault(2, 8, 2, 8), QString());
    QVERIFY(form->memo1->toPlainText().isEmpty());
    QVERIFY(settings->Sections().empty());
    QVERIFY(!OnTop(*form));
    QVERIFY(!form->AlphaBlend());
    QCOMPARE(form->windowOpacity(), 1.0);
    QVERIFY(!form->trackBar1->isEnabled());
    QCOMPARE(form->trackBar1->Position(), 100);
    QCOMPARE(form->label45->text(), u"100%"_s);
    QCOMPARE(form->comboBox1->ItemIndex(), 1);
    QVERIFY(!QFileInfo::exists(settingsPath()));

    QCOMPARE(close(), IniSection(u"Common"_s,
                                 {u"StayOnTop=0"_s, u"AlphaBlend=0"_s, u"AlphaBlendValue=100"_s}));
    QVERIFY(env->boxes.isEmpty());
}

void TestSettingsWindow::emptySettingsFile()
{
    writeSettingsFile(QByteArray());
    start();
    QVERIFY(OnTop(*form)); // StayOnTop is true when missing
    QVERIFY(form->checkBox2->isChecked());
    QVERIFY(!form->AlphaBlend());
    QVERIFY(!form->trackBar1->isEnabled());
    QCOMPARE(form->trackBar1->Position(), 100);
    // The preset 1 was applied: its description, and Level written.
    QCOMPARE(form->comboBox1->ItemIndex(), 1);
    QCOMPARE(form->memo1->toPlainText(), PresetDescription(1));
    QCOMPARE(commonEntries(), QStringList{u"Level=1"_s});

    QCOMPARE(close(), IniSection(u"Common"_s, {u"Level=1"_s, u"StayOnTop=-1"_s, u"AlphaBlend=0"_s,
                                               u"AlphaBlendValue=100"_s}));
    QVERIFY(env->boxes.isEmpty());
}

void TestSettingsWindow::storedOptions_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<bool>("onTop");
    QTest::addColumn<bool>("alphaBlend");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<int>("preset");
    QTest::addColumn<QStringList>("written"); // StayOnTop, AlphaBlend, AlphaBlendValue

    QTest::newRow("first-run values")
        << QStringList{u"StayOnTop=0"_s, u"AlphaBlend=0"_s, u"AlphaBlendValue=100"_s} << false
        << false << 100 << 255 << 1 << QStringList{u"0"_s, u"0"_s, u"100"_s};
    QTest::newRow("AlphaBlendValue 0 is raised to 20")
        << QStringList{u"StayOnTop=0"_s, u"AlphaBlend=-1"_s, u"AlphaBlendValue=0"_s} << false
        << true << 20 << 51 << 1 << QStringList{u"0"_s, u"-1"_s, u"20"_s};
    QTest::newRow("AlphaBlendValue 250 is lowered to 100")
        << QStringList{u"StayOnTop=0"_s, u"AlphaBlend=1"_s, u"AlphaBlendValue=250"_s} << false
        << true << 100 << 255 << 1 << QStringList{u"0"_s, u"-1"_s, u"100"_s};
    QTest::newRow("50 percent") << QStringList{u"AlphaBlend=True"_s, u"AlphaBlendValue=50"_s}
                                << true << true << 50 << 128 << 1
                                << QStringList{u"-1"_s, u"-1"_s, u"50"_s};
    QTest::newRow("not a number gives the default")
        << QStringList{u"AlphaBlendValue=fifty"_s} << true << false << 100 << 255 << 1
        << QStringList{u"-1"_s, u"0"_s, u"100"_s};
    QTest::newRow("alpha value kept while transparency is off")
        << QStringList{u"StayOnTop=false"_s, u"AlphaBlend=0"_s, u"AlphaBlendValue=40"_s} << false
        << false << 40 << 102 << 1 << QStringList{u"0"_s, u"0"_s, u"40"_s};
    QTest::newRow("keys in odd letter case")
        << QStringList{u"stayontop=0"_s, u"ALPHABLEND=-1"_s, u"alphaBlendValue=60"_s, u"LEVEL=2"_s}
        << false << true << 60 << 153 << 2 << QStringList{u"0"_s, u"-1"_s, u"60"_s};
    QTest::newRow("StayOnTop yes is no Boolean")
        << QStringList{u"StayOnTop=yes"_s} << true << false << 100 << 255 << 1
        << QStringList{u"-1"_s, u"0"_s, u"100"_s};
    QTest::newRow("Level 0") << QStringList{u"StayOnTop=0"_s, u"Level=0"_s} << false << false << 100
                             << 255 << 0 << QStringList{u"0"_s, u"0"_s, u"100"_s};
    QTest::newRow("Level 3 selects nothing")
        << QStringList{u"StayOnTop=0"_s, u"Level=3"_s} << false << false << 100 << 255 << -1
        << QStringList{u"0"_s, u"0"_s, u"100"_s};
    QTest::newRow("Level beyond 32 bits gives the default")
        << QStringList{u"StayOnTop=0"_s, u"Level=99999999999"_s} << false << false << 100 << 255
        << 1 << QStringList{u"0"_s, u"0"_s, u"100"_s};
}

void TestSettingsWindow::storedOptions()
{
    QFETCH(QStringList, stored);
    QFETCH(bool, onTop);
    QFETCH(bool, alphaBlend);
    QFETCH(int, position);
    QFETCH(int, alpha);
    QFETCH(int, preset);
    QFETCH(QStringList, written);

    writeSettingsFile(IniSection(u"Common"_s, stored));
    start();
    QCOMPARE(OnTop(*form), onTop);
    QCOMPARE(form->checkBox2->isChecked(), onTop);
    QCOMPARE(form->AlphaBlend(), alphaBlend);
    QCOMPARE(form->checkBox1->isChecked(), alphaBlend);
    QCOMPARE(form->trackBar1->isEnabled(), alphaBlend);
    QCOMPARE(form->trackBar1->Position(), position);
    QCOMPARE(form->label45->text(), QString::number(position) + u'%');
    QCOMPARE(form->AlphaBlendValue(), alpha);
    QCOMPARE(form->windowOpacity(), alphaBlend ? alpha / 255.0 : 1.0);
    QCOMPARE(form->comboBox1->ItemIndex(), preset);
    QCOMPARE(form->memo1->toPlainText(), PresetDescription(preset));
    QCOMPARE(settings->ReadString(CommonSection, LevelKey, QString()), QString::number(preset));

    close();
    QCOMPARE((QStringList{settings->ReadString(CommonSection, StayOnTopKey, QString()),
                          settings->ReadString(CommonSection, AlphaBlendKey, QString()),
                          settings->ReadString(CommonSection, AlphaBlendValueKey, QString())}),
             written);
    TINIView reread;
    reread.LoadFromFile(settingsPath());
    QCOMPARE(reread.SaveToBytes(), settings->SaveToBytes());
    QVERIFY(env->boxes.isEmpty());
}

void TestSettingsWindow::badBytesStartUp_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray binary(64 * 1024, '\0');
    QRandomGenerator random(20240611);
    for (char &c : binary)
        c = char(random.bounded(256));
    QTest::newRow("random bytes") << binary;
    QByteArray everyByte;
    for (int i = 0; i < 4096; ++i)
        everyByte.append(char(i % 256));
    QTest::newRow("every byte value") << everyByte;
    QTest::newRow("one huge line") << QByteArray(4 * 1024 * 1024, 'a');
    QTest::newRow("huge value") << QByteArray(
        "[Common]\r\n  AlphaBlendValue=\"" + QByteArray(4 * 1024 * 1024, '9') +
        "\"\r\n  Level0lo=\"" + QByteArray(100000, '-') + "\"\r\n");
    QTest::newRow("Ctrl-Z") << QByteArray("[Common]\r\n  StayOnTop=\"0\x1a\"\r\n\x1a\x1a"
                                          "  Level=\"2\"\r\n\x1a");
    QTest::newRow("missing quotes") << QByteArray("[Common]\r\n  StayOnTop=0\r\n  AlphaBlend=\"-1"
                                                  "\r\n  AlphaBlendValue=\"50\"\r\n  Level=\"");
    static const char withNul[] = "[Common]\0\r\n  Level=\"0\0\"\r\n  Level0lo=\"\0\"\r\n";
    QTest::newRow("NUL bytes") << QByteArray(withNul, sizeof withNul - 1);
    QTest::newRow("broken headers")
        << QByteArray("[\r\n]]]\r\n[Common\r\n  =\"\"\r\n[]\r\n  \"\"=\"\"");
    QTest::newRow("bare CR line ends")
        << QByteArray("\r[Common]\r\r  StayOnTop=\"0\"\r  Level=\"9\"\r");
    QByteArray repeated;
    for (int i = 0; i < 20000; ++i)
        repeated += "[Common]\r\n  Level=\"" + QByteArray::number(i % 5 - 1) + "\"\r\n";
    QTest::newRow("many sections") << repeated;
    QTest::newRow("extreme numbers")
        << QByteArray("[Common]\r\n  AlphaBlendValue=\"-2147483648\"\r\n  Level=\"2147483647\"\r\n"
                      "  Level-1lo=\"2147483647\"\r\n  Level-1hi=\"-2147483648\"\r\n"
                      "  Level-1lo2=\"$80000000\"\r\n  Level-1hi2=\"$7FFFFFFF\"\r\n");
}

void TestSettingsWindow::badBytesStartUp()
{
    QFETCH(QByteArray, bytes);
    writeSettingsFile(bytes);
    start();

    // Whatever the file held, the window is in a state it can reach.
    QVERIFY(env->boxes.isEmpty());
    const int opacity = form->trackBar1->Position();
    QVERIFY(opacity >= 20 && opacity <= 100);
    QCOMPARE(form->label45->text(), QString::number(opacity) + u'%');
    QCOMPARE(form->trackBar1->isEnabled(), form->AlphaBlend());
    QVERIFY(form->comboBox1->ItemIndex() >= -1 && form->comboBox1->ItemIndex() <= 2);
    for (const auto &[lower, upper] : {std::pair{form->trackBar2, form->trackBar3},
                                       std::pair{form->trackBar4, form->trackBar5}}) {
        QVERIFY(lower->Position() >= 0 && upper->Position() <= 10);
        QVERIFY(lower->Position() <= upper->Position());
    }
    QCOMPARE(gridFault(form->trackBar2->Position(), form->trackBar3->Position(),
                       form->trackBar4->Position(), form->trackBar5->Position()),
             QString());
    QCOMPARE(form->tabSheet3->Caption(), u"Настройки"_s);

    // What is saved at the end loads again.
    const QByteArray saved = close();
    QVERIFY(env->boxes.isEmpty());
    TINIView reread;
    reread.LoadFromBytes(saved);
    QCOMPARE(reread.SaveToBytes(), saved);
    QCOMPARE(reread.ReadInteger(CommonSection, AlphaBlendValueKey, 0), opacity);
}

void TestSettingsWindow::failedLoadLeavesTheFileAtExit_data()
{
    QTest::addColumn<bool>("tooLarge"); // else unreadable
    QTest::newRow("too large") << true;
    QTest::newRow("unreadable") << false;
}

// A settings file that is there but failed to load keeps the user's
// settings: the exit writes nothing over it and says nothing more.
// Start-up shows one error box and goes on without applying anything, the
// window in working order.
void TestSettingsWindow::failedLoadLeavesTheFileAtExit()
{
    QFETCH(bool, tooLarge);
    if (tooLarge)
        QVERIFY(MakeSparseFile(settingsPath(), 17 * 1024 * 1024, "[Common]\r\n"));
    else
        MakeUnreadableFile(dir->path(), u"default.ini"_s);
    const auto look = [this] {
        const QFileInfo file(settingsPath());
        return QStringList{file.symLinkTarget(), QString::number(file.size()),
                           QString::number(file.lastModified().toMSecsSinceEpoch())};
    };
    const QStringList before = look();
    start();
    QCOMPARE(env->boxes.size(), 1);
    QVERIFY(env->boxes[0].error && !env->boxes[0].text.isEmpty());
    QCOMPARE(env->boxes[0].caption, u"Trevolo"_s);
    QVERIFY(!OnTop(*form));
    QVERIFY(form->memo1->toPlainText().isEmpty());
    QCOMPARE(gridFault(2, 8, 2, 8), QString());
    QTest::keyClick(form->trackBar2, Qt::Key_Right);
    QCOMPARE(form->label51->text(), u"3"_s);
    form->checkBox2->setChecked(true);
    close();
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(look(), before);
}

void TestSettingsWindow::unwritableSettingsFolder()
{
    const QString folder = UnwritableFolder(dir->path());
    if (folder.isEmpty())
        QSKIP("no folder here refuses new files");
    env->folder = folder;
    start();
    QVERIFY(env->boxes.isEmpty());
    form->checkBox1->setChecked(true);
    close();
    // Shown once, in the standard error box; the document holds the options.
    QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(u"File access denied."_s));
    QVERIFY(!QFileInfo::exists(folder + u"/default.ini"_s));
    QCOMPARE(settings->ReadString(CommonSection, AlphaBlendKey, QString()), u"-1"_s);
}

void TestSettingsWindow::shutdownThroughSymlink_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("boxes");
    QTest::newRow("to a file") << u"real.ini"_s << QString();
    QTest::newRow("to a named pipe")
        << u"fifo"_s << FakeEnvironment::ErrorBox(u"Invalid filename."_s);
}

void TestSettingsWindow::shutdownThroughSymlink()
{
    QFETCH(QString, target);
    QFETCH(QString, boxes);
    QVERIFY(MakeNamedPipe(dir->path()));
    QVERIFY(WriteRaw(dir->filePath(u"real.ini"_s), IniSection(u"Common"_s, {u"Level=2"_s})));
    QVERIFY(QFile::link(dir->filePath(target), settingsPath()));
    start();
    form->Guard([this] { form->FormDestroy(); });

    // The link stays; a file behind it is written, anything else left alone.
    QCOMPARE(env->boxes.isEmpty() ? QString() : env->onlyBox(), boxes);
    QVERIFY(QFileInfo(settingsPath()).isSymLink());
    if (target == u"fifo"_s)
        QVERIFY(IsNamedPipe(settingsPath()));
    else
        QVERIFY(ReadRaw(settingsPath()).startsWith("\r\n[Common]"));
}

void TestSettingsWindow::saveSettingsCommand()
{
    start();
    form->checkBox1->setChecked(true);
    form->trackBar1->SetPosition(60);

    // Cancelled: no file, but the options are in the document.
    form->n13->trigger();
    QCOMPARE(env->saveRequests.size(), 1);
    const FileDialogOptions &options = env->saveRequests[0];
    QCOMPARE(options.filters, SettingsFilters);
    QVERIFY(options.selectedFilter.isEmpty());
    QCOMPARE(options.defaultSuffix, u"ini"_s);
    QVERIFY(options.initialFileName.isEmpty());
    QVERIFY(!options.promptOverwrite);
    QVERIFY(!options.mustExist);
    QCOMPARE(commonEntries(),
             (QStringList{u"StayOnTop=0"_s, u"AlphaBlend=-1"_s, u"AlphaBlendValue=60"_s}));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());

    // Confirmed: the whole document goes to the chosen file only.
    const QString mine = dir->filePath(u"mine.ini"_s);
    env->saveAnswers.push_back(FileChoice{mine, SettingsFilters[0]});
    form->checkBox2->setChecked(true);
    form->n13->trigger();
    QCOMPARE(ReadRaw(mine), IniSection(u"Common"_s, {u"StayOnTop=-1"_s, u"AlphaBlend=-1"_s,
                                                     u"AlphaBlendValue=60"_s}));
    QVERIFY(!QFileInfo::exists(settingsPath()));

    // A place that cannot be written: the error box, the keys stay written.
    env->saveAnswers.push_back(FileChoice{mine + u"/below-a-file.ini"_s, SettingsFilters[0]});
    form->trackBar1->SetPosition(40);
    form->n13->trigger();
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].caption, u"Trevolo"_s);
    QCOMPARE(settings->ReadString(CommonSection, AlphaBlendValueKey, QString()), u"40"_s);
}

void TestSettingsWindow::loadSettingsCommand()
{
    start();
    form->trackBar2->SetPosition(4); // writes Level1lo and Level1hi

    form->n14->trigger(); // cancelled
    QCOMPARE(env->openRequests.size(), 1);
    const FileDialogOptions &options = env->openRequests[0];
    QCOMPARE(options.filters, SettingsFilters);
    QCOMPARE(options.defaultSuffix, u"ini"_s);
    QVERIFY(options.mustExist);
    QCOMPARE(commonEntries(), (QStringList{u"Level1lo=4"_s, u"Level1hi=8"_s}));

    const QByteArray chosen =
        IniSection(u"Common"_s, {u"StayOnTop=0"_s, u"AlphaBlend=-1"_s, u"AlphaBlendValue=40"_s,
                                 u"Level=0"_s, u"Level0lo=3"_s, u"Level0hi=9"_s}) +
        IniSection(u"Other"_s, {u"x=1"_s}) + IniSection(u"Русский"_s, {u"Label43=Выбор:"_s});
    const QString path = dir->filePath(u"chosen.cfg"_s);
    QVERIFY(WriteRaw(path, chosen));
    env->openAnswers.push_back(FileChoice{path, SettingsFilters[1]});
    form->n14->trigger();

    QVERIFY(env->boxes.isEmpty());
    QVERIFY(!OnTop(*form));
    QVERIFY(form->AlphaBlend());
    QCOMPARE(form->AlphaBlendValue(), 102);
    QCOMPARE(form->comboBox1->ItemIndex(), 0);
    QCOMPARE(form->memo1->toPlainText(), PresetDescription(0));
    QCOMPARE(form->trackBar2->Position(), 3);
    QCOMPARE(form->trackBar3->Position(), 9);
    QCOMPARE(gridFault(3, 9, 2, 8), QString());
    // The language section is only stored; nothing applies it.
    QCOMPARE(form->FindComponentAs<QLabel>(u"Label43")->text(), u"Выберите режим прозрачности:"_s);

    // The loaded file replaced the document, and reaches default.ini at the
    // end with all its sections.
    QCOMPARE(close(), chosen);
}

void TestSettingsWindow::loadSettingsFailure_data()
{
    failedLoadLeavesTheFileAtExit_data();
}

void TestSettingsWindow::loadSettingsFailure()
{
    QFETCH(bool, tooLarge);
    start();
    form->checkBox2->setChecked(true);
    settings->WriteString(u"Other", u"kept", u"no"_s);
    const QByteArray before = settings->SaveToBytes();
    QString path = dir->filePath(u"large.ini"_s);
    if (tooLarge)
        QVERIFY(MakeSparseFile(path, 17 * 1024 * 1024, "[Common]\r\n"));
    else
        path = MakeUnreadableFile(dir->path(), u"locked.ini"_s);
    env->openAnswers.push_back(FileChoice{path, SettingsFilters[0]});
    form->n14->trigger();
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].caption, u"Trevolo"_s);
    // The document is as it was, so the exit writes it back whole; nothing
    // was applied.
    QCOMPARE(settings->SaveToBytes(), before);
    QVERIFY(form->checkBox2->isChecked());
    QVERIFY(OnTop(*form));
    QVERIFY(form->memo1->toPlainText().isEmpty());
}

void TestSettingsWindow::stayOnTopKeepsTheWindowInPlace()
{
    start();
    form->checkBox1->setChecked(true);
    form->trackBar1->SetPosition(60);
    form->move(137, 91);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const QPoint where = form->pos();
    const Qt::WindowFlags flags = form->windowFlags();

    form->pageControl1->SetActivePageIndex(3);
    for (const bool onTop : {true, false, true}) {
        QTest::mouseClick(form->checkBox2, Qt::LeftButton);
        QCOMPARE(form->checkBox2->isChecked(), onTop);
        QCOMPARE(OnTop(*form), onTop);
        QVERIFY(form->isVisible());
        QCOMPARE(form->pos(), where);
        QCOMPARE(form->windowFlags() & ~Qt::WindowStaysOnTopHint,
                 flags & ~Qt::WindowStaysOnTopHint);
        QCOMPARE(form->windowOpacity(), 153 / 255.0);
    }
    // Running the handler again changes nothing.
    form->CheckBox2Click();
    QVERIFY(OnTop(*form) && form->isVisible());
    QCOMPARE(form->pos(), where);
}

void TestSettingsWindow::transparency_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("alpha");

    const int alphas[] = {51, 76, 102, 128, 153, 178, 204, 230, 255};
    for (int i = 0; i < 9; ++i)
        QTest::addRow("%d%%", 20 + 10 * i) << 20 + 10 * i << alphas[i];
    QTest::newRow("33%") << 33 << 84;
    QTest::newRow("99%") << 99 << 252;
}

void TestSettingsWindow::transparency()
{
    QFETCH(int, position);
    QFETCH(int, alpha);
    start();
    QVERIFY(!form->trackBar1->isEnabled());

    form->checkBox1->setChecked(true);
    QVERIFY(form->trackBar1->isEnabled());
    form->trackBar1->SetPosition(position);
    QCOMPARE(form->label45->text(), QString::number(position) + u'%');
    QCOMPARE(form->AlphaBlendValue(), alpha);
    QCOMPARE(form->windowOpacity(), alpha / 255.0);

    // Off: opaque, the slider disabled, the alpha value kept for later.
    form->checkBox1->setChecked(false);
    QVERIFY(!form->trackBar1->isEnabled());
    QCOMPARE(form->windowOpacity(), 1.0);
    QCOMPARE(form->AlphaBlendValue(), alpha);
    form->checkBox1->setChecked(true);
    QCOMPARE(form->windowOpacity(), alpha / 255.0);
}

void TestSettingsWindow::dialogFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("shown");

    QTest::newRow("all files") << u"Все файлы (*.*)"_s << u"Все файлы (*)"_s;
    QTest::newRow("settings files")
        << u"Файлы конфигурации (*.ini)"_s << u"Файлы конфигурации (*.ini)"_s;
    QTest::newRow("text files") << u"Текстовые файлы (*.txt)"_s << u"Текстовые файлы (*.txt)"_s;
    QTest::newRow("among other patterns")
        << u"Mixed (*.txt *.* *.ini)"_s << u"Mixed (*.txt * *.ini)"_s;
    QTest::newRow("no patterns") << u"Anything"_s << u"Anything"_s;
    QTest::newRow("unclosed") << u"Broken (*.*"_s << u"Broken (*.*"_s;
    QTest::newRow("pattern in the description") << u"*.* (*.txt)"_s << u"*.* (*.txt)"_s;
}

void TestSettingsWindow::dialogFilters()
{
    QFETCH(QString, filter);
    QFETCH(QString, shown);
    QCOMPARE(DesktopNameFilter(filter), shown);
}
