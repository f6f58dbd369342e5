#include "report/ReportWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

namespace ReportWriter {

namespace {

constexpr int Resolution = 300; // dots per inch of the PDF's layout
// The margin the text document's printing leaves on each side of a page.
constexpr double PrintMarginInches = 2 / 2.54;
constexpr int ScreenDpi = 96;
const QString FontFamily = QStringLiteral("DejaVu Sans");

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
}

QString PictureName(int section)
{
    return QStringLiteral("picture%1.png").arg(section);
}

QString ToneColour(TReportTone tone)
{
    switch (tone) {
    case TReportTone::Good:
        return QStringLiteral("#c8ebc8");
    case TReportTone::Caution:
        return QStringLiteral("#ffe7a8");
    case TReportTone::Bad:
        return QStringLiteral("#f5c1c1");
    case TReportTone::None:
        break;
    }
    return QString();
}

QString TableHtml(const TReportTable& table)
{
    if (table.rows.isEmpty())
        return QString();
    QString html = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\" border=\"1\" "
                                  "style=\"border-collapse: collapse; border-color: #999999;\">");
    if (!table.header.isEmpty()) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : table.header)
            html += QStringLiteral("<th align=\"left\" bgcolor=\"#e8e8e8\">%1</th>").arg(Escaped(cell));
        html += QStringLiteral("</tr>");
    }
    for (int row = 0; row < table.rows.size(); ++row) {
        html += QStringLiteral("<tr>");
        const QStringList& cells = table.rows.at(row);
        const TReportTone tone = row < table.tones.size() ? table.tones.at(row) : TReportTone::None;
        for (int column = 0; column < cells.size(); ++column) {
            const QString colour = column == table.toneColumn ? ToneColour(tone) : QString();
            const QString text = Escaped(cells.at(column));
            html += colour.isEmpty() ? QStringLiteral("<td>%1</td>").arg(text)
                                     : QStringLiteral("<td bgcolor=\"%1\"><b>%2</b></td>").arg(colour, text);
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QString Html(const TReportDocument& document, int pictureWidth)
{
    QString html = QStringLiteral("<html><body>");
    html +=
        QStringLiteral("<table width=\"100%\"><tr><td><h2>%1</h2></td><td "
                       "align=\"right\"><b>%2</b><br>%3</td></tr></table>")
            .arg(Escaped(document.title), Escaped(document.workshopName), Escaped(document.workshopAddress));
    if (!document.facts.isEmpty()) {
        html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
        for (const auto& [label, value] : document.facts)
            html +=
                QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(Escaped(label), Escaped(value));
        html += QStringLiteral("</table>");
    }
    for (int i = 0; i < document.sections.size(); ++i) {
        const TReportSection& section = document.sections.at(i);
        const QString pageBreak =
            section.newPage ? QStringLiteral(" style=\"page-break-before: always;\"") : QString();
        html += (section.subsection ? QStringLiteral("<h4%1>%2</h4>") : QStringLiteral("<h3%1>%2</h3>"))
                    .arg(pageBreak, Escaped(section.heading));
        if (!section.note.isEmpty())
            html += QStringLiteral("<p>%1</p>").arg(Escaped(section.note));
        html += TableHtml(section.table);
        if (!section.picture.isNull())
            html +=
                QStringLiteral("<p><img src=\"%1\" width=\"%2\"></p>").arg(PictureName(i)).arg(pictureWidth);
    }
    if (!document.signatures.isEmpty()) {
        // One line of cells, which a page break cannot split: each signature
        // line is its cell's upper border, with the caption under it.
        html += QStringLiteral(
            "<p>&nbsp;</p><p>&nbsp;</p><table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\"><tr>");
        for (int i = 0; i < document.signatures.size(); ++i) {
            if (i > 0)
                html += QStringLiteral("<td width=\"10%\"></td>");
            html += QStringLiteral("<td align=\"center\" style=\"border-top: 1px solid #000000;\">%1</td>")
                        .arg(Escaped(document.signatures.at(i)));
        }
        html += QStringLiteral("</tr></table>");
    }
    return html + QStringLiteral("</body></html>");
}

bool WritePdf(const TReportDocument& document, const QString& fileName, QString& error)
{
    QPdfWriter writer(fileName);
    if (!QFileInfo(fileName).dir().exists()) {
        error = QStringLiteral("the folder of '%1' does not exist").arg(fileName);
        return false;
    }
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("TZR582"));

    QTextDocument text;
    QFont font(QFontDatabase::families().contains(FontFamily)
                   ? FontFamily
                   : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    font.setPointSizeF(9);
    text.setDefaultFont(font);
    for (int i = 0; i < document.sections.size(); ++i) {
        if (!document.sections.at(i).picture.isNull())
            text.addResource(QTextDocument::ImageResource, QUrl(PictureName(i)),
                             document.sections.at(i).picture);
    }
    // The pictures span the text's width. Their sizes are in pixels of a
    // 96 dpi screen, which the printing scales to the writer's resolution.
    const int margin = int(PrintMarginInches * writer.logicalDpiX());
    text.setHtml(Html(document, (writer.width() - 2 * margin) * ScreenDpi / writer.logicalDpiX()));
    // Laid out on the writer's pages, numbered at their foot.
    text.print(&writer);
    // The writer only reports a file it could not open once it paints.
    if (!QFile::exists(fileName) || QFileInfo(fileName).size() == 0) {
        error = QStringLiteral("'%1' could not be written").arg(fileName);
        return false;
    }
    return true;
}

} // namespace ReportWriter
