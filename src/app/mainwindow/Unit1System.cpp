// "Проверка системы...": the system tester, made on first use.
#include "app/mainwindow/Unit1.h"

#include "app/mainwindow/ControlNames.h"
#include "app/systemwindow/SystemForm.h"
#include "common/IntegerText.h"

#include <QLineEdit>

namespace trevolo {

void TForm1::ConnectSystem()
{
    OnClick(n29, &TForm1::N29Click);
}

void TForm1::N29Click()
{
    if (!m_systemForm) {
        SystemForm::CombinationCaptions captions;
        for (int g = 1; g <= CombinationCount; ++g)
            captions[size_t(g - 1)] = CombinationCaption(g);
        m_systemForm = new SystemForm(captions, this);
        // It starts from the calculator's stakes; a field there that does
        // not read gives the calculator's own starting value.
        const SystemInputs standard;
        m_systemForm->SetStartingValues(TryStrToInt(edit2->text()).value_or(standard.minStake),
                                        TryStrToInt(edit3->text()).value_or(standard.multiplier));
    }
    // While hidden it followed no pass, so it starts from the history as it
    // stands now.
    if (!m_systemForm->isVisible())
        m_systemForm->ShowHistory(listBox1->Spins());
    m_systemForm->show();
    m_systemForm->raise();
    m_systemForm->activateWindow();
}

} // namespace trevolo
