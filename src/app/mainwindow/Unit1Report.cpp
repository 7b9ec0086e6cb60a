// "Отчёт...": the analysis window's figures, charts and wheel, and the
// system tester's when it was used, in a PDF.
#include "app/mainwindow/Unit1.h"

#include "app/analysiswindow/AnalysisForm.h"
#include "app/analysiswindow/WheelView.h"
#include "app/reportwindow/ReportForm.h"
#include "app/reportwindow/ReportWriter.h"
#include "app/systemwindow/SystemForm.h"
#include "history/HistoryFile.h"
#include "settings/SettingsKeys.h"

#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QUrl>

namespace trevolo {

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView ReportOpenKey = u"ReportOpenAfterSave";

// The box a figure stands in within `part`, if any.
const QGroupBox *BoxOf(const QWidget &figure, const QWidget &part)
{
    for (const QWidget *up = figure.parentWidget(); up && up != &part; up = up->parentWidget())
        if (const auto *box = qobject_cast<const QGroupBox *>(up))
            return box;
    return nullptr;
}

// The figures of a part of a window as it shows them, and its pictures:
// each named label after the caption shown beside it (the label whose buddy
// it is), a figure on a line of its own alone; the title of each box before
// its first figure.
ReportSection SectionOf(const QString &heading, QWidget &part)
{
    ReportSection section{heading, {}, {}};
    const QList<QLabel *> labels = part.findChildren<QLabel *>();
    QHash<const QWidget *, QString> captions;
    for (const QLabel *label : labels)
        if (label->buddy())
            captions.insert(label->buddy(), label->text());
    const QGroupBox *lastBox = nullptr;
    for (const QLabel *label : labels) {
        if (!label->objectName().startsWith(u"Label"_s) || label->text().trimmed().isEmpty() ||
            label->isHidden())
            continue;
        const QGroupBox *box = BoxOf(*label, part);
        if (box && box != lastBox)
            section.lines.append({box->title(), true});
        lastBox = box;
        const QString caption = captions.value(label);
        section.lines.append({caption.isEmpty() ? label->text() : caption + u' ' + label->text()});
    }
    for (QChartView *chart : part.findChildren<QChartView *>())
        section.pictures.append(chart);
    for (WheelView *wheel : part.findChildren<WheelView *>())
        section.pictures.append(wheel);
    return section;
}

} // namespace

void TForm1::ConnectReport()
{
    OnClick(n38, &TForm1::N38Click);
}

void TForm1::N38Click()
{
    auto *form = new ReportForm(m_settingsDocument.ReadBool(CommonSection, ReportOpenKey, false),
                                this);
    connect(form, &QDialog::accepted, this, [this, form] {
        const bool open = form->OpenAfterSave();
        form->deleteLater();
        Guard([this, open] { WriteReport(open); });
    });
    connect(form, &QDialog::rejected, form, &QObject::deleteLater);
    form->open();
}

void TForm1::WriteReport(bool openAfterSave)
{
    m_settingsDocument.WriteBool(CommonSection, ReportOpenKey, openAfterSave);
    FileDialogOptions options;
    options.filters = {u"PDF (*.pdf)"_s};
    options.defaultSuffix = u"pdf"_s;
    options.promptOverwrite = true;
    const auto choice = environment().chooseSaveFile(this, options);
    if (!choice)
        return;
    QString path = choice->path;
    if (!path.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        path += u".pdf"_s;
    SaveFileBytes(path, ReportPdf(ReportOfTheWindows()), environment().stateFolder());
    if (openAfterSave)
        environment().openUrl(QUrl::fromLocalFile(path));
}

ReportContent TForm1::ReportOfTheWindows()
{
    // The figures of the history as it stands, every page laid out once.
    if (!m_analysisForm || !m_analysisForm->isVisible())
        N27Click();
    m_analysisForm->Refresh();
    ReportContent content;
    content.title = u"Отчёт Trevolo"_s;
    content.lines.append(u"Стол: текущая последовательность"_s);
    content.lines.append(u"Составлен: "_s +
                         QDateTime::currentDateTime().toString(u"dd.MM.yyyy HH:mm"_s));
    if (auto *span = m_analysisForm->findChild<QComboBox *>(u"AnalysisSpan"_s))
        content.lines.append(u"Период: "_s + span->currentText());
    if (auto *pages = m_analysisForm->findChild<QTabWidget *>(u"AnalysisPages"_s)) {
        const int shown = pages->currentIndex();
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            content.sections.append(SectionOf(pages->tabText(page), *pages->widget(page)));
        }
        pages->setCurrentIndex(shown);
    }
    if (m_systemForm)
        content.sections.append(SectionOf(u"Проверка системы"_s, *m_systemForm));
    return content;
}

} // namespace trevolo
