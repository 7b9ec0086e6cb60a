#pragma once

#include "app/desktop/Environment.h"

#include <QObject>
#include <QString>
#include <optional>

class QWidget;

namespace trevolo {

// A standard file dialog's settings, kept between uses: filters, default
// extension, the filter and the file name last chosen in it.
class TFileDialog : public QObject
{
    Q_OBJECT

public:
    enum class Kind
    {
        Open,
        Save
    };

    TFileDialog(Kind kind, QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    FileDialogOptions &Options() { return m_options; }
    const FileDialogOptions &Options() const { return m_options; }

    // Shows the dialog; on confirmation remembers the file name and filter
    // for the next time and returns the chosen path.
    std::optional<QString> Execute(Environment &environment, QWidget *parent);

private:
    Kind m_kind;
    FileDialogOptions m_options;
};

} // namespace trevolo
