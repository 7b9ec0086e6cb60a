// The main menu MainMenu1 and the history memo's popup menu PopupMenu1.
#include "app/mainwindow/Unit1.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace trevolo {

namespace {

enum MenuFlag : unsigned
{
    Hidden = 1,
    Checkable = 2,
    Checked = 4,
    Default = 8, // drawn bold, the default item of its menu
};

// One entry of a menu tree, listed depth first. An entry followed by deeper
// ones is a submenu; a caption of "-" makes a separator.
struct MenuRow
{
    int depth;
    const char16_t *name;
    const char16_t *caption;
    unsigned flags = 0;
    const char16_t *shortcut = nullptr; // portable text, as "Ctrl+O"
};

constexpr MenuRow MainMenuRows[] = {
    {0, u"N3", u"Последовательность"},
    {1, u"N5", u"Загрузить последовательность", 0, u"Ctrl+O"},
    {1, u"N6", u"Сохранить последовательность", 0, u"Ctrl+S"},
    {1, u"N36", u"Импорт...", 0, u"Ctrl+I"},
    {1, u"N37", u"Экспорт...", 0, u"Ctrl+E"},
    {1, u"N38", u"Отчёт...", 0, u"Ctrl+P"},
    {1, u"N17", u"-"},
    {1, u"N16", u"Очистить"},
    {1, u"N52", u"Сгенерировать 5 чисел"},
    {1, u"N102", u"Сгенерировать 10 чисел"},
    {1, u"N252", u"Сгенерировать 25 чисел"},
    {1, u"N502", u"Сгенерировать 50 чисел"},
    {1, u"N39", u"-"},
    {1, u"N31", u"Новый стол", 0, u"Ctrl+T"},
    {1, u"N32", u"Переименовать стол...", 0, u"F2"},
    {1, u"N33", u"Закрыть стол", 0, u"Ctrl+F4"},
    {1, u"N34", u"Обзор столов", 0, u"Ctrl+Shift+O"},
    {1, u"N27", u"Анализ последовательности...", 0, u"Ctrl+Shift+A"},
    {1, u"N28", u"Панель ввода", 0, u"Ctrl+Shift+P"},
    {1, u"N29", u"Проверка системы...", 0, u"Ctrl+Shift+T"},
    {1, u"N10", u"-"},
    {1, u"N9", u"Выход", 0, u"Ctrl+Q"},
    {0, u"N4", u"Настройки"},
    {1, u"N7", u"Язык", Hidden},
    {2, u"N11", u"Русский", Checkable | Checked},
    {2, u"N12", u"English", Checkable},
    {1, u"N14", u"Загрузить настройки"},
    {1, u"N13", u"Сохранить настройки"},
    {0, u"N24", u"Казино"},
    {1, u"N25", u"Регистрация в Лунный Кит", Default},
    {1, u"N26", u"-"},
    {0, u"N18", u"Справка"},
    {1, u"N30", u"Как читать показатели", 0, u"F1"},
    {1, u"N20", u"Справка по программе"},
    {1, u"N23", u"Системы игры"},
    {1, u"N19", u"-"},
    {1, u"N15", u"Скачать новую версию"},
    {1, u"N22", u"-"},
    {1, u"N8", u"Замечание по работе"},
};

constexpr MenuRow PopupMenuRows[] = {
    {1, u"N1", u"Очистить"},
    {1, u"N2", u"-"},
    {1, u"N51", u"Генерировать 5 чисел"},
    {1, u"N101", u"Генерировать 10 чисел"},
    {1, u"N251", u"Генерировать 25 чисел"},
    {1, u"N501", u"Генерировать 50 чисел"},
};

} // namespace

void TForm1::BuildMenus()
{
    // Builds the rows of one tree under a menu bar (entries of depth 0 are its
    // menus) or under a menu (entries of depth 1 are its items), and
    // registers every entry under its name.
    const auto build = [this](QWidget *root, const MenuRow *rows, std::size_t count) {
        // parents[d] is the menu that takes entries of depth d + 1.
        QList<QMenu *> parents;
        if (auto *menu = qobject_cast<QMenu *>(root))
            parents.append(menu);
        for (std::size_t i = 0; i < count; ++i) {
            const MenuRow &row = rows[i];
            const QString caption = QString::fromUtf16(row.caption);
            const bool submenu = i + 1 < count && rows[i + 1].depth > row.depth;
            parents.resize(row.depth);
            QAction *action = nullptr;
            if (submenu || row.depth == 0) {
                auto *menu = Named(new QMenu(caption, root), row.name);
                menu->setFont(font());
                if (row.depth == 0)
                    qobject_cast<QMenuBar *>(root)->addMenu(menu);
                else
                    parents.last()->addMenu(menu);
                action = menu->menuAction();
                parents.append(menu);
            } else {
                QMenu *parent = parents.last();
                action = caption == u"-" ? parent->addSeparator() : parent->addAction(caption);
                Named(action, row.name);
                if (row.flags & Default)
                    parent->setDefaultAction(action);
            }
            action->setCheckable(row.flags & Checkable);
            action->setChecked(row.flags & Checked);
            action->setVisible(!(row.flags & Hidden));
            if (row.shortcut)
                action->setShortcut(
                    QKeySequence(QString::fromUtf16(row.shortcut), QKeySequence::PortableText));
        }
    };

    mainMenu1 = Named(new QMenuBar(this), u"MainMenu1");
    setMenuBar(mainMenu1);
    build(mainMenu1, MainMenuRows, std::size(MainMenuRows));

    popupMenu1 = Named(new QMenu(this), u"PopupMenu1");
    popupMenu1->setFont(font());
    build(popupMenu1, PopupMenuRows, std::size(PopupMenuRows));

    const auto menu = [this](QStringView name) { return m_registry.FindAs<QMenu>(name); };
    const auto item = [this](QStringView name) { return m_registry.FindAs<QAction>(name); };
    n3 = menu(u"N3");
    n4 = menu(u"N4");
    n7 = menu(u"N7");
    n24 = menu(u"N24");
    n18 = menu(u"N18");
    n5 = item(u"N5");
    n6 = item(u"N6");
    n36 = item(u"N36");
    n37 = item(u"N37");
    n38 = item(u"N38");
    n16 = item(u"N16");
    n52 = item(u"N52");
    n102 = item(u"N102");
    n252 = item(u"N252");
    n502 = item(u"N502");
    n31 = item(u"N31");
    n32 = item(u"N32");
    n33 = item(u"N33");
    n34 = item(u"N34");
    n27 = item(u"N27");
    n28 = item(u"N28");
    n29 = item(u"N29");
    n9 = item(u"N9");
    n11 = item(u"N11");
    n12 = item(u"N12");
    n14 = item(u"N14");
    n13 = item(u"N13");
    n30 = item(u"N30");
    n25 = item(u"N25");
    n20 = item(u"N20");
    n23 = item(u"N23");
    n15 = item(u"N15");
    n8 = item(u"N8");
    n1 = item(u"N1");
    n51 = item(u"N51");
    n101 = item(u"N101");
    n251 = item(u"N251");
    n501 = item(u"N501");
}

} // namespace trevolo
