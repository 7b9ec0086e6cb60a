// "Как читать показатели": the built-in help window, made on first use.
#include "app/mainwindow/Unit1.h"

#include "app/helpwindow/HelpForm.h"
#include "app/widgets/CloseKeys.h"

namespace trevolo {

void TForm1::N30Click()
{
    if (!m_helpForm) {
        m_helpForm = new HelpForm(this);
        // The key that opened it closes it again.
        AddCloseKeys(*m_helpForm, n30->shortcuts());
    }
    m_helpForm->show();
    m_helpForm->raise();
    m_helpForm->activateWindow();
    m_helpForm->setFocus();
}

} // namespace trevolo
