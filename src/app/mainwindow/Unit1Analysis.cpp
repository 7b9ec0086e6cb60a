// "Анализ последовательности...": the analysis window, made on first use.
#include "app/mainwindow/Unit1.h"

#include "analysis/Statistics.h"
#include "app/analysiswindow/AnalysisForm.h"
#include "app/analysiswindow/WheelView.h"
#include "app/mainwindow/ControlNames.h"
#include "app/widgets/CloseKeys.h"

#include <QLineEdit>

namespace trevolo {

void TForm1::ConnectAnalysis()
{
    OnClick(n27, &TForm1::N27Click);
}

void TForm1::N27Click()
{
    if (!m_analysisForm) {
        AnalysisForm::CombinationCaptions captions;
        for (int g = 1; g <= CombinationCount; ++g)
            captions[size_t(g - 1)] = CombinationCaption(g);
        m_analysisForm = new AnalysisForm(captions, this);
        AddCloseKeys(*m_analysisForm, n27->shortcuts());
        // A click on a pocket of the heat wheel enters that spin, as the
        // entry pad does.
        connect(m_analysisForm->wheelView(), &WheelView::pocketClicked, this,
                [this](int number) { Guard([this, number] { EnterSpin(number); }); });
    }
    // While hidden it followed no pass, so it starts from the history as it
    // stands now.
    if (!m_analysisForm->isVisible())
        m_analysisForm->ShowStatistics(listBox1->Spins().Statistics(edit1->text()), edit1->text(),
                                       listBox1->Depth());
    m_analysisForm->show();
    m_analysisForm->raise();
    m_analysisForm->activateWindow();
}

} // namespace trevolo
