#pragma once

#include <QDialog>

class QCheckBox;

namespace trevolo {

// "Отчёт": asks whether the report opens in the desktop's viewer once it is
// written ("Открыть после сохранения"), before the save dialog. Modal; its
// OK ("Сохранить...") goes on to the save dialog.
class ReportForm : public QDialog
{
    Q_OBJECT

public:
    explicit ReportForm(bool openAfterSave, QWidget *parent = nullptr);
    bool OpenAfterSave() const;

private:
    QCheckBox *m_open;
};

} // namespace trevolo
