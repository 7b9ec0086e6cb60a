#include "app/mainwindow/NameRegistry.h"

namespace trevolo {

QString LowerLatin(QStringView name)
{
    QString lower = name.toString();
    for (QChar &c : lower)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return lower;
}

bool NameRegistry::Add(QObject *object)
{
    const QString name = object->objectName();
    Q_ASSERT_X(!name.isEmpty(), "NameRegistry::Add", "an unnamed object");
    const QString key = LowerLatin(name);
    Q_ASSERT_X(!m_objects.contains(key), "NameRegistry::Add", qPrintable(name));
    if (name.isEmpty() || m_objects.contains(key))
        return false;
    m_objects.insert(key, object);
    return true;
}

void NameRegistry::Put(QObject *object)
{
    m_objects.insert(LowerLatin(object->objectName()), object);
}

QObject *NameRegistry::Find(QStringView name) const
{
    return m_objects.value(LowerLatin(name), nullptr);
}

QStringList NameRegistry::Names() const
{
    QStringList names;
    names.reserve(m_objects.size());
    for (const QObject *object : m_objects)
        names.append(object->objectName());
    return names;
}

} // namespace trevolo
