// Risk levels: the two slider pairs of the page "Настройки", the presets of
// ComboBox1 and the pictures of the indicator grid.
#include "app/mainwindow/Unit1.h"

#include "analysis/RiskColours.h"
#include "common/IntegerText.h"
#include "settings/SettingsKeys.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace trevolo {

namespace {

// What the presets tell the player, by preset index.
const char16_t *const PresetDescriptions[] = {
    u"Данный уровень риска обеспечивает вам наиболее безопасную игру, ставки рекомендуется "
    u"ставить, только при появлении зеленых указателей.",
    u"Данный уровень риска является оптимальным, обеспечивая лучшее соотношение риска и "
    u"вероятности выпадения необходимого значения. Делайте ставки при появлении зеленых "
    u"указателей.",
    u"Не рекомендуется играть на данном уровне риска. Вероятность проигрыша достаточно высока. "
    u"Делайте ставки только при появлении зеленых указателей.",
};

// One set of combinations: its lower and upper boundary sliders, the labels
// that show the two boundaries, and the suffixes of its keys.
struct RiskPair
{
    TTrackBar *lower;
    TTrackBar *upper;
    QLabel *lowerLabel;
    QLabel *upperLabel;
    QStringView lowSuffix;
    QStringView highSuffix;
    qint32 lowDefault;
    qint32 highDefault;
};

RiskPair Pair1(const TForm1 &form)
{
    return {form.trackBar2, form.trackBar3, form.label51,   form.label52,
            RiskLowSuffix,  RiskHighSuffix, DefaultRiskLow, DefaultRiskHigh};
}

RiskPair Pair2(const TForm1 &form)
{
    return {form.trackBar4, form.trackBar5,  form.label198,   form.label199,
            RiskLow2Suffix, RiskHigh2Suffix, DefaultRiskLow2, DefaultRiskHigh2};
}

// A slider of the pair has moved: each slider becomes the other's limit, the
// labels show the two boundaries, and the selected preset's keys take them.
// Either limit may move a position again, and that runs this inside itself.
void CouplePair(const TForm1 &form, const RiskPair &pair)
{
    pair.upper->SetMin(pair.lower->Position());
    pair.lower->SetMax(pair.upper->Position());
    SetLabelCaption(*pair.lowerLabel, IntToStr(pair.upper->Min()));
    SetLabelCaption(*pair.upperLabel, IntToStr(pair.lower->Max()));
    const qint32 preset = form.comboBox1->ItemIndex();
    TINIView &settings = form.SettingsDocument();
    settings.WriteInteger(CommonSection, RiskLevelKey(preset, pair.lowSuffix), pair.upper->Min());
    settings.WriteInteger(CommonSection, RiskLevelKey(preset, pair.highSuffix), pair.lower->Max());
}

// Puts the pair at a preset's stored boundaries. The limits go first, so
// that a stored pair in order can always be reached; every move runs the
// pair's handler. Values outside 0..10 or out of order are not checked: the
// sliders' own rules settle them, and the labels show them as stored until a
// handler runs after them.
void ApplyStoredPair(const TForm1 &form, const RiskPair &pair, qint32 preset)
{
    const TINIView &settings = form.SettingsDocument();
    const qint32 low =
        settings.ReadInteger(CommonSection, RiskLevelKey(preset, pair.lowSuffix), pair.lowDefault);
    const qint32 high = settings.ReadInteger(CommonSection, RiskLevelKey(preset, pair.highSuffix),
                                             pair.highDefault);
    pair.upper->SetMin(low);
    pair.lower->SetMax(high);
    SetLabelCaption(*pair.lowerLabel, IntToStr(low));
    SetLabelCaption(*pair.upperLabel, IntToStr(high));
    pair.lower->SetPosition(low);
    pair.upper->SetPosition(high);
}

} // namespace

void TForm1::ApplyRiskColours()
{
    // Indexed by IndicatorPicture: grey, yellow, green.
    const QPixmap templates[] = {
        Component<TImage>(u"b").Picture(),
        Component<TImage>(u"y").Picture(),
        Component<TImage>(u"g").Picture(),
    };
    const QList<IndicatorCopy> plan = RiskColourPlan(trackBar2->Position(), trackBar3->Position(),
                                                     trackBar4->Position(), trackBar5->Position());
    for (const IndicatorCopy &copy : plan)
        Component<TImage>(ImageName(copy.group, copy.level))
            .SetPicture(templates[int(copy.picture)]);
    // The rows read the colour of their last ball.
    m_accessibleTexts.FollowBoundaries(CurrentBoundaries());
}

void TForm1::TrackBarRiskLevelChange1()
{
    CouplePair(*this, Pair1(*this));
    ApplyRiskColours();
}

void TForm1::TrackBarRiskLevelChange2()
{
    CouplePair(*this, Pair2(*this));
    ApplyRiskColours();
}

void TForm1::ComboBox1Change()
{
    const qint32 preset = comboBox1->ItemIndex();
    ApplyStoredPair(*this, Pair1(*this), preset);
    ApplyStoredPair(*this, Pair2(*this), preset);
    m_settingsDocument.WriteInteger(CommonSection, LevelKey, preset);
    if (preset >= 0 && preset < qint32(std::size(PresetDescriptions)))
        memo1->setPlainText(QString::fromUtf16(PresetDescriptions[preset]));
}

} // namespace trevolo
