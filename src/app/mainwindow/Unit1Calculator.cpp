// The stake progression calculator on the page "Калькулятор".
#include "app/mainwindow/Unit1.h"

#include "calculator/StakeProgression.h"
#include "common/IntegerText.h"

#include <QLineEdit>
#include <array>

namespace trevolo {

void TForm1::ConnectCalculator()
{
    // Connected after the fields got their initial texts, which are already
    // the result for those inputs.
    for (QLineEdit *input : {edit2, edit3})
        connect(input, &QLineEdit::textChanged, this, Guarded(&TForm1::Edit2Change));
}

void TForm1::Edit2Change()
{
    const std::array<QLineEdit *, StakeCount> stakes{edit4, edit5, edit6,  edit7,
                                                     edit8, edit9, edit10, edit11};
    // A failed step ends the recalculation; the fields written so far keep
    // their new texts and the rest their old ones.
    const StakeSeries series = ComputeStakeSeries(edit2->text(), edit3->text());
    for (qsizetype k = 0; k < series.stakes.size(); ++k)
        stakes[size_t(k)]->setText(series.stakes[k]);
    if (!series.sum) {
        environment().showMessage(this, ApplicationTitle(), InvalidInputMessage.toString());
        return;
    }
    edit12->setText(IntToStr(*series.sum));
}

} // namespace trevolo
