#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace trevolo {

// The name with the Latin capitals A..Z turned into small letters and every
// other character kept.
QString LowerLatin(QStringView name);

// Every control and menu item of the window under its objectName. A look-up
// ignores the case of Latin letters and yields nullptr for a name that no
// registered object has.
class NameRegistry
{
public:
    // Registers the object under its objectName. Returns false, and registers
    // nothing, when the name is empty or already taken (case-blind).
    bool Add(QObject *object);

    // Registers the object under its objectName in place of the one that
    // had it (the memo of the current table is ListBox1).
    void Put(QObject *object);

    QObject *Find(QStringView name) const;

    template <typename T>
    T *FindAs(QStringView name) const
    {
        return qobject_cast<T *>(Find(name));
    }

    qsizetype Count() const { return m_objects.size(); }

    // The registered objects' own names (not lower-cased), in no order.
    QStringList Names() const;

private:
    QHash<QString, QObject *> m_objects;
};

} // namespace trevolo
