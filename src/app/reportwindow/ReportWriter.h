#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace trevolo {

// A printable report: a title, lines under it, then sections of lines and
// pictures of widgets (charts, the wheel) as they are on screen.
struct ReportLine
{
    QString text;
    bool title = false; // the title of the figures after it, in bold
};

struct ReportSection
{
    QString heading;
    QList<ReportLine> lines;
    QList<QWidget *> pictures;
};

struct ReportContent
{
    QString title;
    QStringList lines;
    QList<ReportSection> sections;
};

// The report as a PDF of A4 pages: its text as text (selectable, the fonts
// embedded), each picture drawn from its widget at the width of the page or
// less, a section starting on a new page when the rest of it would not fit.
QByteArray ReportPdf(const ReportContent &content);

} // namespace trevolo
