// "Импорт..." and "Экспорт...": spins from other programs' lists into the
// history, and out to spreadsheets.
#include "app/mainwindow/Unit1.h"

#include "analysis/SpinHistoryModel.h"
#include "app/importwindow/ImportForm.h"
#include "app/memo/HistoryLoad.h"
#include "history/HistoryFile.h"
#include "history/HistoryText.h"
#include "history/SpinExport.h"

#include <QFileInfo>

namespace trevolo {

using namespace Qt::StringLiterals;

void TForm1::ConnectImport()
{
    OnClick(n36, &TForm1::N36Click);
    OnClick(n37, &TForm1::N37Click);
}

void TForm1::N36Click()
{
    auto *form = new ImportForm(environment(), this);
    // Cancelling the file dialog opens the form empty, to take the
    // clipboard or another file.
    if (const auto choice = environment().chooseOpenFile(this, ImportForm::FileOptions()))
        form->LoadFile(choice->path);
    // The form goes once the spins are in: the new history is built with
    // the events handled, and a deletion asked for earlier would take the
    // form away under its own signal.
    connect(form, &QDialog::accepted, this, [this, form] {
        Guard([this, form] {
            AddImportedSpins(form->Spins(), form->ChosenTarget() == ImportForm::Target::Instead);
        });
        form->deleteLater();
    });
    connect(form, &QDialog::rejected, form, &QObject::deleteLater);
    form->open();
}

bool TForm1::AddImportedSpins(const std::vector<quint8> &spins, bool replace)
{
    if (spins.empty())
        return false;
    // The new history is shown as a load shows a file: built beside the
    // events, one change with one statistics pass, the old document kept
    // for Undo.
    ReadHistory read;
    if (!replace) {
        read.text = listBox1->Text();
        if (!trevolo::EndsWithLineBreak(read.text))
            read.text += u'\n';
    }
    read.text += SpinsAsLines(spins);
    read.codes.reserve(size_t(read.text.size() / 2 + 1));
    SpinHistoryModel::AppendCodes(read.text, read.codes);
    read.hash = qHash(read.text);
    const bool loaded = listBox1->Load(read, true);
    FocusHistoryEnd();
    return loaded;
}

void TForm1::N37Click()
{
    FileDialogOptions options;
    options.filters = ExportFilters();
    options.defaultSuffix = u"csv"_s;
    options.promptOverwrite = true;
    const auto choice = environment().chooseSaveFile(this, options);
    if (!choice)
        return;
    const ExportFormat format = ExportFormatOf(choice->selectedFilter);
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + ExportSuffix(format);
    const ExportedSpins exported = ExportSpins(listBox1->Text(), format);
    // A failed write leaves the old file whole and ends here with its message.
    SaveFileBytes(path, exported.bytes, environment().stateFolder());
    environment().showMessage(this, ApplicationTitle(),
                              u"Выгружено чисел: %1; строк без числа пропущено: %2"_s.arg(
                                  QString::number(exported.spins), QString::number(exported.leftOut)));
}

} // namespace trevolo
