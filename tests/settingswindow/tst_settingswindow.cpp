#include "SettingsWindowTest.h"
#include "support/TestFiles.h"

#include "common/Cp1251.h"

#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace trevolo;
using namespace Qt::StringLiterals;

void TestSettingsWindow::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    createSurroundings();
    env->folder = dir->path();
}

void TestSettingsWindow::cleanup()
{
    // No FormDestroy here: a test that wants the file written closes itself.
    destroyAll();
    dir.reset();
}

void TestSettingsWindow::start()
{
    createWindow();
    form->Guard([this] { form->FormCreate(); });
}

QByteArray TestSettingsWindow::close()
{
    form->Guard([this] { form->FormDestroy(); });
    QFile file(settingsPath());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QString TestSettingsWindow::settingsPath() const
{
    return dir->filePath(u"default.ini"_s);
}

void TestSettingsWindow::writeSettingsFile(const QByteArray &bytes) const
{
    QVERIFY(WriteRaw(settingsPath(), bytes));
}

QString TestSettingsWindow::gridFault(int lo1, int hi1, int lo2, int hi2) const
{
    const auto key = [this](QStringView name) {
        auto *image = form->FindComponentAs<TImage>(name);
        return image ? image->Picture().cacheKey() : -1;
    };
    const qint64 grey = key(u"b"), yellow = key(u"y"), green = key(u"g");
    if (grey == yellow || yellow == green || grey == green)
        return u"the template pictures are not told apart"_s;
    for (int g = 1; g <= 12; ++g) {
        const int lo = g <= 6 ? lo1 : lo2;
        const int hi = g <= 6 ? hi1 : hi2;
        for (int l = 1; l <= 10; ++l) {
            const qint64 expected = l <= lo ? grey : l <= hi ? yellow : green;
            if (key(QStringLiteral("Im_%1_%2").arg(g).arg(l)) != expected)
                return QStringLiteral("Im_%1_%2 carries the wrong picture").arg(g).arg(l);
        }
    }
    return QString();
}

QStringList TestSettingsWindow::commonEntries() const
{
    QStringList entries;
    const TSection *common = settings->FindSection(u"Common");
    if (!common)
        return entries;
    for (qsizetype i = 0; i < common->Count(); ++i)
        entries.append(common->Keys().at(i) + u'=' + common->Values().at(i));
    return entries;
}

QString PresetDescription(int preset)
{
    switch (preset) {
    case 0:
        return u"Данный уровень риска обеспечивает вам наиболее безопасную игру, ставки "
               u"рекомендуется ставить, только при появлении зеленых указателей."_s;
    case 1:
        return u"Данный уровень риска является оптимальным, обеспечивая лучшее соотношение риска "
               u"и вероятности выпадения необходимого значения. Делайте ставки при появлении "
               u"зеленых указателей."_s;
    case 2:
        return u"Не рекомендуется играть на данном уровне риска. Вероятность проигрыша "
               u"достаточно высока. Делайте ставки только при появлении зеленых указателей."_s;
    default:
        return QString();
    }
}

QByteArray IniSection(const QString &name, const QStringList &entries)
{
    QString text = u"\r\n["_s + name + u"]\r\n\r\n"_s;
    for (const QString &entry : entries) {
        const qsizetype equals = entry.indexOf(u'=');
        text += u"  "_s + entry.left(equals) + u"=\""_s + entry.mid(equals + 1) + u"\"\r\n"_s;
    }
    return ToCp1251(text);
}

QString MakeUnreadableFile(const QString &folder, const QString &name)
{
    const QString path = folder + u'/' + name;
    if (::geteuid() != 0) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("\r\n[Common]\r\n\r\n  StayOnTop=\"0\"\r\n");
        file.close();
        file.setPermissions(QFileDevice::Permissions());
    } else {
        // Permissions do not stop the superuser; this file opens but every
        // read of it fails.
        QFile::link(u"/proc/self/mem"_s, path);
    }
    return path;
}

QTEST_MAIN(TestSettingsWindow)
