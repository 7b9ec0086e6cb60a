#include "app/desktop/FileDialog.h"

namespace trevolo {

TFileDialog::TFileDialog(Kind kind, QObject *parent) : QObject(parent), m_kind(kind)
{
    m_options.mustExist = kind == Kind::Open;
}

std::optional<QString> TFileDialog::Execute(Environment &environment, QWidget *parent)
{
    const auto choice = m_kind == Kind::Open ? environment.chooseOpenFile(parent, m_options)
                                             : environment.chooseSaveFile(parent, m_options);
    if (!choice)
        return std::nullopt;
    m_options.initialFileName = choice->path;
    if (!choice->selectedFilter.isEmpty())
        m_options.selectedFilter = choice->selectedFilter;
    return choice->path;
}

} // namespace trevolo
