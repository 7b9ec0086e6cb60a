// The settings file "default.ini", the commands that load and save settings,
// and the window options of the page "Настройки": always on top and
// transparency.
#include "app/mainwindow/Unit1.h"

#include "app/entrypad/EntryPadForm.h"
#include "settings/SettingsKeys.h"
#include "settings/WindowOptions.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace trevolo {

void TForm1::ConnectOptionEvents()
{
    // Every event runs its handler through the guard; a handler that moves
    // a slider runs the slider's handler inside its own. A check box reports
    // every change of its state, by the user or by the program.
    connect(checkBox2, &QCheckBox::toggled, this, Guarded(&TForm1::CheckBox2Click));
    connect(checkBox1, &QCheckBox::toggled, this, Guarded(&TForm1::CheckBox1Click));
    connect(trackBar1, &QSlider::valueChanged, this, Guarded(&TForm1::TrackBar1Change));

    connect(trackBar2, &QSlider::valueChanged, this, Guarded(&TForm1::TrackBarRiskLevelChange1));
    connect(trackBar3, &QSlider::valueChanged, this, Guarded(&TForm1::TrackBarRiskLevelChange1));
    connect(trackBar4, &QSlider::valueChanged, this, Guarded(&TForm1::TrackBarRiskLevelChange2));
    connect(trackBar5, &QSlider::valueChanged, this, Guarded(&TForm1::TrackBarRiskLevelChange2));
    // Only a pick by the user; the program's own selection runs nothing.
    connect(comboBox1, &TComboBox::userChanged, this, Guarded(&TForm1::ComboBox1Change));

    OnClick(n14, &TForm1::N14Click);
    OnClick(n13, &TForm1::N13Click);
    OnClick(n11, &TForm1::N11Click);
    OnClick(n12, &TForm1::N12Click);
}

const SettingsLocation &TForm1::SettingsPlace()
{
    if (!m_settingsPlace) {
        m_settingsPlace = ResolveSettingsLocation(m_environment.settingsFolder(),
                                                  m_environment.settingsFolderWritable(),
                                                  m_environment.userSettingsFolder());
        if (!m_settingsPlace->problem.isEmpty())
            m_environment.showError(this, ApplicationTitle(), m_settingsPlace->problem);
    }
    return *m_settingsPlace;
}

// Each control takes its value, which runs its handler when the value
// changes; the explicit run makes the option take effect also when the
// control held the value already. The combo box runs nothing by itself.
void TForm1::ApplySettings()
{
    checkBox2->setChecked(
        m_settingsDocument.ReadBool(CommonSection, StayOnTopKey, DefaultStayOnTop));
    CheckBox2Click();
    checkBox1->setChecked(
        m_settingsDocument.ReadBool(CommonSection, AlphaBlendKey, DefaultAlphaBlend));
    CheckBox1Click();
    trackBar1->SetPosition(
        m_settingsDocument.ReadInteger(CommonSection, AlphaBlendValueKey, DefaultAlphaBlendValue));
    TrackBar1Change();
    comboBox1->SetItemIndex(m_settingsDocument.ReadInteger(CommonSection, LevelKey, DefaultLevel));
    ComboBox1Change();
}

void TForm1::WriteWindowOptions()
{
    m_settingsDocument.WriteBool(CommonSection, StayOnTopKey, checkBox2->isChecked());
    m_settingsDocument.WriteBool(CommonSection, AlphaBlendKey, checkBox1->isChecked());
    m_settingsDocument.WriteInteger(CommonSection, AlphaBlendValueKey, trackBar1->Position());
}

void TForm1::FormCreate()
{
    ApplyRiskColours();
    // A folder of that name is no settings file either.
    const QString path = SettingsPlace().readPath;
    if (!QFileInfo(path).isFile())
        return;
    m_settingsDocument.Clear();
    // A file that is there but cannot be read (too large, no access) keeps
    // the user's settings all the same: the exit must not put the defaults
    // in its place.
    m_settingsUnread = true;
    m_settingsDocument.LoadFromFile(path);
    m_settingsUnread = false;
    ApplySettings();
}

void TForm1::FormDestroy()
{
    WriteWindowOptions();
    // Without a usable folder the start-up message said so already; a file
    // that could not be read was reported then, and is left alone.
    const QString path = SettingsPlace().writePath;
    if (!path.isEmpty() && !m_settingsUnread)
        m_settingsDocument.SaveToFile(path, m_environment.stateFolder());
}

void TForm1::N14Click()
{
    const auto file = openDialog1->Execute(m_environment, this);
    if (!file)
        return;
    // A file that fails to load leaves the document as it was: else the
    // exit would write what little was read over "default.ini".
    const QByteArray before = m_settingsDocument.SaveToBytes();
    m_settingsDocument.Clear();
    try {
        m_settingsDocument.LoadFromFile(*file);
    } catch (...) {
        m_settingsDocument.Clear();
        m_settingsDocument.LoadFromBytes(before);
        throw;
    }
    ApplySettings();
}

void TForm1::N13Click()
{
    // The options reach the document even when the user cancels.
    WriteWindowOptions();
    if (const auto file = saveDialog1->Execute(m_environment, this))
        m_settingsDocument.SaveToFile(*file, m_environment.stateFolder());
}

void TForm1::CheckBox2Click()
{
    const bool onTop = checkBox2->isChecked();
    SetStaysOnTop(*this, onTop);
    // The entry pad goes with the main window.
    if (m_entryPad)
        m_entryPad->SetStayOnTop(onTop);
}

void TForm1::CheckBox1Click()
{
    m_alphaBlend = checkBox1->isChecked();
    trackBar1->setEnabled(m_alphaBlend);
    ApplyOpacity();
}

void TForm1::TrackBar1Change()
{
    const int percent = trackBar1->Position();
    SetLabelCaption(*label45, OpacityCaption(percent));
    m_alphaBlendValue = AlphaFromPercent(percent);
    ApplyOpacity();
}

// The alpha value shows only while transparency is on.
void TForm1::ApplyOpacity()
{
    const qreal opacity = m_alphaBlend ? qreal(m_alphaBlendValue) / 255 : 1.0;
    if (windowOpacity() != opacity)
        setWindowOpacity(opacity);
}

} // namespace trevolo
