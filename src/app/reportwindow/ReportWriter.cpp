#include "app/reportwindow/ReportWriter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QWidget>

namespace trevolo {

namespace {

// Lays the report out on the writer's pages from top to bottom.
class PageFiller
{
public:
    explicit PageFiller(QPdfWriter &writer) : m_writer(writer), m_painter(&writer)
    {
        m_width = m_painter.viewport().width();
        m_height = m_painter.viewport().height();
    }

    void Text(const QString &text, int pointSize, bool bold = false)
    {
        QFont font(QStringLiteral("DejaVu Sans"), pointSize);
        font.setBold(bold);
        m_painter.setFont(font);
        const QRect bounds = m_painter.boundingRect(QRect(0, 0, m_width, m_height),
                                                    Qt::TextWordWrap, text);
        Room(bounds.height());
        m_painter.drawText(QRect(0, m_y, m_width, bounds.height()), Qt::TextWordWrap, text);
        m_y += bounds.height() + bounds.height() / 6;
    }

    void Picture(QWidget &widget)
    {
        if (widget.width() <= 0 || widget.height() <= 0)
            return;
        const double scale = std::min(double(m_width) / widget.width(),
                                      double(m_height) / 2.2 / widget.height());
        const int height = int(widget.height() * scale);
        Room(height);
        m_painter.save();
        m_painter.translate(0, m_y);
        m_painter.scale(scale, scale);
        widget.render(&m_painter, QPoint(), QRegion(), QWidget::DrawChildren);
        m_painter.restore();
        m_y += height + m_height / 80;
    }

    // A new page unless `height` fits below what is there.
    void Room(int height)
    {
        if (m_y > 0 && m_y + height > m_height)
            NewPage();
    }
    void NewPage()
    {
        m_writer.newPage();
        m_y = 0;
    }
    // Past two thirds of the page: a new section starts on the next.
    bool NearFoot() const { return m_y > m_height * 2 / 3; }

private:
    QPdfWriter &m_writer;
    QPainter m_painter;
    int m_width = 0;
    int m_height = 0;
    int m_y = 0;
};

} // namespace

QByteArray ReportPdf(const ReportContent &content)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setResolution(300);
        writer.setTitle(content.title);
        writer.setCreator(QStringLiteral("Trevolo"));
        PageFiller page(writer);
        page.Text(content.title, 16, true);
        for (const QString &line : content.lines)
            page.Text(line, 10);
        for (const ReportSection &section : content.sections) {
            // A heading is not left alone at the foot of a page.
            if (page.NearFoot())
                page.NewPage();
            page.Text(section.heading, 13, true);
            for (const ReportLine &line : section.lines)
                page.Text(line.text, 9, line.title);
            for (QWidget *picture : section.pictures)
                page.Picture(*picture);
        }
    }
    return bytes;
}

} // namespace trevolo
