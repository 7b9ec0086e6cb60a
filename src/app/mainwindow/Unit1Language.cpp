// The interface language: captions from a language section of the settings
// document ("English", "Русский"), addressed to components by name.
#include "app/mainwindow/Unit1.h"

#include "common/Error.h"
#include "settings/LanguageEntry.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include <exception>

namespace trevolo {

namespace {

// A menu item's caption; "-" makes it a separator line, any other caption a
// normal item.
void SetMenuItemCaption(QAction &item, const QString &caption)
{
    item.setSeparator(caption == u"-");
    item.setText(caption);
}

} // namespace

void TForm1::N12Click()
{
    n12->setChecked(true);
    n11->setChecked(false);
    ApplyLanguage(u"English");
}

void TForm1::N11Click()
{
    n12->setChecked(false);
    n11->setChecked(true);
    ApplyLanguage(u"Русский");
}

void TForm1::ApplyLanguage(QStringView sectionName)
{
    const TSection *section = m_settingsDocument.FindSection(sectionName);
    if (!section)
        return;
    // Nothing below writes to the document, but the lists are copied all the
    // same: they are shared, so this costs nothing.
    const QStringList keys = section->Keys();
    const QStringList values = section->Values();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        // An entry that fails is left out; the others still apply.
        try {
            ApplyLanguageEntry(keys.at(i), values.at(i));
        } catch (const std::exception &) {
        }
    }
    // Names that follow captions follow the new ones.
    m_accessibleTexts.RefreshNames();
}

void TForm1::ApplyLanguageEntry(const QString &key, const QString &value)
{
    // A text after "#" that is not an integer fails here, whatever it names.
    const LanguageEntryKey entry = ParseLanguageEntryKey(key);
    QObject *component = FindComponent(entry.componentName);
    if (!component)
        return;

    // Menu items: the entries of the menus, and the menus themselves (the
    // top-level entries and submenus), but not the popup menu as a whole.
    if (auto *item = qobject_cast<QAction *>(component)) {
        SetMenuItemCaption(*item, value);
        return;
    }
    if (auto *menu = qobject_cast<QMenu *>(component)) {
        if (menu != popupMenu1)
            menu->setTitle(value);
        return;
    }
    if (auto *page = qobject_cast<TTabSheet *>(component)) {
        page->SetCaption(value);
        return;
    }
    if (auto *box = qobject_cast<QGroupBox *>(component)) {
        box->setTitle(value);
        return;
    }
    // Images are labels to Qt, but they carry pictures, not captions.
    if (qobject_cast<TImage *>(component))
        return;
    if (auto *label = qobject_cast<QLabel *>(component)) {
        SetLabelCaption(*label, value);
        return;
    }
    if (auto *list = qobject_cast<TComboBox *>(component)) {
        if (!entry.index || *entry.index < 0)
            return;
        if (*entry.index >= list->count())
            throw Error(QStringLiteral("List index out of bounds (%1)").arg(*entry.index));
        // Replacing an item's text keeps the selection and tells no one.
        list->setItemText(*entry.index, value);
        return;
    }
    // Check boxes, edits, memos, track bars, the status bar, the dialogs:
    // left as they are.
}

} // namespace trevolo
