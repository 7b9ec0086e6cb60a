#include "app/desktop/Guard.h"

#include "common/ErrorText.h"

namespace trevolo {

void ShowErrorBox(Environment &environment, QWidget *parent, const QString &message)
{
    environment.showError(parent, ApplicationTitle(), ErrorBoxText(message));
}

} // namespace trevolo
