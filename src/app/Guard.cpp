#include "app/Guard.h"

#include "common/ErrorText.h"

namespace trevolo {

QString ApplicationTitle()
{
    return QStringLiteral("Trevolo");
}

void ShowErrorBox(Environment &environment, QWidget *parent, const QString &message)
{
    environment.showError(parent, ApplicationTitle(), ErrorBoxText(message));
}

} // namespace trevolo
