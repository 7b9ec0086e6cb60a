// "Как читать показатели": the built-in help window, made on first use.
#include "app/mainwindow/Unit1.h"

#include "app/helpwindow/HelpForm.h"
#include "app/widgets/ChildWindow.h"

namespace trevolo {

void TForm1::N30Click()
{
    // The key that opened it closes it again.
    OpenChildWindow(
        m_helpForm, [this] { return new HelpForm(this); }, n30->shortcuts())
        .setFocus();
}

} // namespace trevolo
