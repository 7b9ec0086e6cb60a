// "Анализ последовательности...": the analysis window, made on first use.
#include "app/mainwindow/Unit1.h"

#include "app/analysiswindow/AnalysisForm.h"
#include "app/mainwindow/ControlNames.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/FigureCopy.h"

#include <QLineEdit>

namespace trevolo {

void TForm1::ConnectAnalysis()
{
    OnClick(n27, &TForm1::N27Click);
}

void TForm1::N27Click()
{
    OpenChildWindow(
        m_analysisForm,
        [this] {
            AnalysisForm::CombinationCaptions captions;
            for (int g = 1; g <= CombinationCount; ++g)
                captions[size_t(g - 1)] = CombinationCaption(g);
            auto *window = new AnalysisForm(History(), *edit1, captions, this);
            window->FollowHistory(History(), TitleTableName());
            PlaceChildWindow(*window, *this,
                             {AnalysisForm::PreferredSize, AnalysisForm::SmallestSize});
            // Every table copies and saves its cells, every chart its picture.
            EquipFigures(*window, environment());
            AddHelpKeyTo(*window, QStringLiteral("analysis"));
            return window;
        },
        n27->shortcuts());
}

} // namespace trevolo
