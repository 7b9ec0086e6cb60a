// "Проверка системы...": the system tester, made on first use.
#include "app/mainwindow/Unit1.h"

#include "app/mainwindow/ControlNames.h"
#include "app/systemwindow/SystemForm.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/FigureCopy.h"
#include "common/IntegerText.h"

#include <QLineEdit>

namespace trevolo {

void TForm1::ConnectSystem()
{
    OnClick(n29, &TForm1::N29Click);
}

void TForm1::N29Click()
{
    OpenChildWindow(
        m_systemForm,
        [this] {
            SystemForm::CombinationCaptions captions;
            for (int g = 1; g <= CombinationCount; ++g)
                captions[size_t(g - 1)] = CombinationCaption(g);
            auto *window = new SystemForm(History(), captions, this);
            window->FollowHistory(History(), TitleTableName());
            PlaceChildWindow(*window, *this, {SystemForm::PreferredSize, SystemForm::SmallestSize});
            // It starts from the calculator's stakes; a field there that
            // does not read gives the calculator's own starting value.
            const SystemInputs standard;
            window->SetStartingValues(TryStrToInt(edit2->text()).value_or(standard.minStake),
                                      TryStrToInt(edit3->text()).value_or(standard.multiplier));
            EquipFigures(*window, environment());
            AddHelpKeyTo(*window, QStringLiteral("system"));
            return window;
        },
        n29->shortcuts());
}

} // namespace trevolo
