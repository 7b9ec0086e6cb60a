#include "app/reportwindow/ReportForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace trevolo {

ReportForm::ReportForm(bool openAfterSave, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportForm"));
    setWindowTitle(QStringLiteral("Отчёт"));
    setModal(true);
    auto *note = new QLabel(
        QStringLiteral("PDF (A4): число спинов и период, сводка анализа с выводами, график "
                       "выпадений, пропуски выбранной группы, колесо и, если она открывалась, "
                       "проверка системы."));
    note->setWordWrap(true);
    m_open = new QCheckBox(QStringLiteral("Открыть после сохранения"));
    m_open->setObjectName(QStringLiteral("ReportOpenAfterSave"));
    m_open->setChecked(openAfterSave);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Сохранить..."));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(m_open);
    layout->addWidget(buttons);
}

bool ReportForm::OpenAfterSave() const
{
    return m_open->isChecked();
}

} // namespace trevolo
