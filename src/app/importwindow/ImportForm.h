#pragma once

#include "app/desktop/Environment.h"
#include "history/SpinImport.h"

#include <QByteArray>
#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace trevolo {

// "Импорт": spins from a file or the clipboard, shown as they will be added
// before anything changes. Every guess of the reading (encoding, separator,
// column, rows skipped, order) has its control to correct it. What cannot be
// imported (an unreadable file, nothing in the clipboard, no numbers, a
// broken JSON, a cancelled reading) is said in the preview, and OK stays
// off. The form changes no history: whoever opened it takes Spins() and
// ChosenTarget() once it is accepted.
class ImportForm : public QDialog
{
    Q_OBJECT

public:
    // Where the spins go. A new table ("В новый стол") would be one more.
    enum class Target
    {
        End,     // "В конец текущей последовательности"
        Instead, // "Вместо текущей"
    };

    ImportForm(Environment &environment, QWidget *parent = nullptr);

    // Reads the file and shows it; a failure is shown in the preview.
    void LoadFile(const QString &path);
    // Reads these bytes as a file's, named `source` in the window's title.
    void LoadBytes(const QByteArray &bytes, const QString &source);
    // "Из буфера обмена" and "Файл...".
    void LoadClipboard();
    void ChooseFile();

    const ImportResult &Result() const { return m_result; }
    // The spins to add, oldest first; empty when nothing can be imported.
    const std::vector<quint8> &Spins() const { return m_result.spins; }
    Target ChosenTarget() const;

    // The open-file dialog of "Импорт..." and "Файл...".
    static FileDialogOptions FileOptions();

    // The preview's first and last numbers.
    static constexpr int PreviewCount = 50;

private:
    // Reads the bytes again with the options the controls give, and shows it.
    void Reread();
    void ShowMessage(const QString &message);
    ImportOptions Options() const;

    Environment &m_environment;
    QByteArray m_bytes;
    ImportResult m_result;
    QComboBox *m_encoding;
    QComboBox *m_separator;
    QComboBox *m_column;
    QSpinBox *m_skipRows;
    QComboBox *m_order;
    QComboBox *m_target;
    QPlainTextEdit *m_preview;
    QLabel *m_summary;
    QPushButton *m_ok;
    // The player picked an order: a new reading keeps it.
    bool m_orderChosen = false;
};

} // namespace trevolo
