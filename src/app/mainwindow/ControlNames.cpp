#include "app/mainwindow/ControlNames.h"

namespace trevolo {

namespace {

constexpr const char16_t *RowCaptions[CombinationCount] = {
    u"Красное:", u"Чёрное:", u"Чёт:",   u"Нечёт:",        u"Меньшее:",      u"Большее:",
    u"1-12:",    u"13-24:",  u"25-36:", u"1,4,7,10... :", u"2,5,8,11... :", u"3,6,9,12... :"};

} // namespace

QString Numbered(QStringView prefix, int n)
{
    return prefix.toString() + QString::number(n);
}

QString LabelName(int n)
{
    return Numbered(u"Label", n);
}

QString ImageName(int group, int level)
{
    return QStringLiteral("Im_%1_%2").arg(group).arg(level);
}

QString CombinationRowCaption(int group)
{
    return QString::fromUtf16(RowCaptions[group - 1]);
}

QString CombinationCaption(int group)
{
    QString caption = CombinationRowCaption(group);
    while (caption.endsWith(u':') || caption.endsWith(u' '))
        caption.chop(1);
    return caption;
}

} // namespace trevolo
