// The stake progression calculator on the page "Калькулятор".
#include "app/Unit1.h"

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
    const auto refuse = [this] {
        environment().showMessage(this, ApplicationTitle(), InvalidInputMessage.toString());
    };

    // The first stake is the minimum stake's text as typed.
    stakes[0]->setText(edit2->text());
    // Each further stake: the one before, read back from its field, times the
    // multiplier, read afresh.
    for (int k = 1; k < StakeCount; ++k) {
        const auto stake = NextStake(stakes[k - 1]->text(), edit3->text());
        if (!stake)
            return refuse();
        stakes[k]->setText(IntToStr(*stake));
    }

    QStringList texts;
    texts.reserve(StakeCount);
    for (const QLineEdit *stake : stakes)
        texts.append(stake->text());
    const auto sum = StakeSum(texts);
    if (!sum)
        return refuse();
    edit12->setText(IntToStr(*sum));
}

} // namespace trevolo
