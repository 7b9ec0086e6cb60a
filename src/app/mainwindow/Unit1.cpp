#include "app/mainwindow/Unit1.h"

#include "analysis/Statistics.h"
#include "app/analysiswindow/AnalysisForm.h"
#include "app/entrypad/EntryPadForm.h"
#include "app/helpwindow/HelpForm.h"
#include "app/systemwindow/SystemForm.h"
#include "app/tablesform/TablesForm.h"
#include "common/Error.h"
#include "common/IntegerText.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace trevolo {

namespace {

// Client area of the window, without the menu bar.
constexpr int ClientWidth = 319;
constexpr int ClientHeight = 543;
constexpr int StatusBarHeight = 19;

// Tahoma 8 pt where it is installed, else the desktop's sans font at 8 pt.
// The layout is drawn for Tahoma's letter widths; a wider font is taken in
// its semi-condensed form so the captions keep clear of the controls beside
// them.
QFont WindowFont()
{
    const bool tahoma = QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    QFont font = tahoma ? QFont(QStringLiteral("Tahoma"))
                        : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    // "Сигнализировать от:" must end before the threshold box at x = 120.
    constexpr int RoomForReference = 110;
    const QString reference = QStringLiteral("Сигнализировать от:");
    if (!tahoma && QFontMetrics(font).horizontalAdvance(reference) > RoomForReference)
        font.setStretch(QFont::SemiCondensed);
    return font;
}

void SetShown(QWidget &widget, bool shown)
{
    if (widget.isHidden() == shown)
        widget.setVisible(shown);
}

} // namespace

TForm1::TForm1(Environment &environment, TINIView &settingsDocument, SpinSource &spinSource,
               QWidget *parent)
    : QMainWindow(parent), m_environment(environment), m_settingsDocument(settingsDocument),
      m_spinSource(spinSource)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Trevolo (ver. " TREVOLO_VERSION ")"));
    setWindowIcon(QIcon(QStringLiteral(":/app/pictures/icon.png")));
    setFont(WindowFont());

    // Before the pages, which give it their figures.
    m_figureTips = new TFigureTips(
        [this] {
            return TFigureTips::Risk{CurrentBoundaries(), comboBox1->ItemIndex() >= 0
                                                              ? comboBox1->currentText()
                                                              : QString()};
        },
        this);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form1Client"));
    client->setFixedSize(ClientWidth, ClientHeight - StatusBarHeight);
    setCentralWidget(client);

    BuildHistoryColumn(client);
    BuildPageControl(client);
    BuildStatusBar();
    BuildDialogs();
    BuildMenus();
    ConnectEvents();

    // Fixed size, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    adjustSize();
    setFixedSize(sizeHint());
    // History files dropped on it open as tables.
    setAcceptDrops(true);
    m_accessibleTexts.FollowBoundaries(CurrentBoundaries());
    m_accessibleTexts.RefreshNames();
    FocusHistoryEnd();
}

TForm1::~TForm1()
{
    // A change the timer has not written yet is written now; the store then
    // finishes its writing and keeps the file unless it was removed.
    if (m_recoveryTimer->isActive())
        Guard([this] { KeepForRecovery(); });
    // What reads the history goes before it does: the child windows and the
    // memo, children that would otherwise outlive the members.
    delete m_analysisForm;
    delete m_systemForm;
    delete m_entryPad;
    delete m_helpForm;
    delete m_tablesForm;
    for (const TablePage &page : m_pages)
        delete page.memo;
}

void TForm1::ConnectEvents()
{
    // Every change, a clearing's included, reaches the recovery file (the
    // memos connect themselves: MakeMemo).
    m_recoveryTimer = new QTimer(this);
    m_recoveryTimer->setSingleShot(true);
    m_recoveryTimer->setInterval(RecoveryDelayMs);
    connect(m_recoveryTimer, &QTimer::timeout, this, Guarded(&TForm1::KeepForRecovery));
    connect(edit1, &QLineEdit::textChanged, this, Guarded(&TForm1::Calc));
    ConnectHistoryCommands();
    ConnectCalculator();
    ConnectLinks();
    ConnectAnalysis();
    ConnectSystem();
    ConnectImport();
    ConnectReport();
    ConnectTables();

    ConnectOptionEvents();
    ConnectClose();
}

RiskBoundaries TForm1::CurrentBoundaries() const
{
    return {trackBar2->Position(), trackBar3->Position(), trackBar4->Position(),
            trackBar5->Position()};
}

void TForm1::FocusHistoryEnd()
{
    listBox1->FocusAtEnd();
}

void TForm1::Calc()
{
    const QString thresholdText = edit1->text();
    const HistoryStatistics statistics = History().Statistics(thresholdText);

    // Controls are written only when the value differs, which keeps a pass
    // over a long history cheap: most of the window stays as it was.
    for (const int hidden : HiddenRowLabels)
        SetTextIfChanged(Component<QLabel>(LabelName(hidden)), QString());

    if (statistics.thresholdValid) {
        for (int n = 0; n < WheelSize; ++n)
            SetLabelBold(Component<QLabel>(LabelName(FirstAbsenceCountLabel + n)),
                         statistics.alarm[n]);
    }

    for (int g = 1; g <= CombinationCount; ++g)
        for (int l = 1; l <= IndicatorLevels; ++l)
            SetShown(Component<QWidget>(ImageName(g, l)), l <= statistics.missRuns[g]);
    m_accessibleTexts.FollowRuns(statistics.missRuns);
    // The tooltips keep the figures (the counts only when shown below).
    m_figureTips->Follow(statistics);

    if (!statistics.thresholdValid)
        throw ConvertError(thresholdText);

    statusBar1->SetSimpleText(statistics.statusText);
    for (int n = 0; n < WheelSize; ++n) {
        SetTextIfChanged(Component<QLabel>(LabelName(FirstAbsenceCountLabel + n)),
                         IntToStr(statistics.absence[n]));
        SetTextIfChanged(Component<QLabel>(LabelName(FirstOccurrenceCountLabel + n)),
                         IntToStr(statistics.occurrence[n]));
    }
    m_accessibleTexts.Update();
    SetFittingText(*edit13, IntToStr(statistics.lineCount));
}

// ------------------------------------------------------------ control makers

QLabel *TForm1::MakeLabel(QWidget *parent, QStringView name, const QString &caption, int x, int y)
{
    auto *label = Named(new QLabel(caption, parent), name);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QGroupBox *TForm1::MakeGroupBox(QWidget *parent, QStringView name, const QString &caption, int top,
                                int height)
{
    auto *box = Named(new QGroupBox(caption, parent), name);
    box->setGeometry(0, top, 257, height);
    return box;
}

QFrame *TForm1::MakeBevel(QWidget *parent, QStringView name, const QRect &geometry)
{
    auto *bevel = Named(new QFrame(parent), name);
    bevel->setFrameShape(geometry.width() >= geometry.height() ? QFrame::HLine : QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(geometry);
    return bevel;
}

QLineEdit *TForm1::MakeEdit(QWidget *parent, QStringView name, const QString &text,
                            const QRect &geometry)
{
    auto *edit = Named(new QLineEdit(text, parent), name);
    edit->setGeometry(geometry);
    return edit;
}

TImage *TForm1::MakeImage(QWidget *parent, QStringView name, const QPixmap &picture, int x, int y)
{
    auto *image = Named(new TImage(parent), name);
    image->SetPicture(picture);
    image->setGeometry(x, y, 16, 16);
    image->hide();
    return image;
}

} // namespace trevolo
