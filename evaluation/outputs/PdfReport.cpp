#include "evaluation/outputs/PdfReport.h"

#include "core/TextEncoding.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/PdfImages.h"
#include "evaluation/outputs/PdfText.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>

namespace evaluation {

namespace {

// Page geometry in millimetres.
constexpr int kDpi = 300;
constexpr double kPageWidth = 210, kPageHeight = 297, kMargin = 15;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kBottom = kPageHeight - kMargin - 6; // room for the page number
constexpr double kRowHeight = 18, kHeaderHeight = 9;
constexpr double kRankWidth = 12, kThumbWidth = 33, kNumberWidth = 14, kMinNameWidth = 30;
constexpr double kThumbBoxWidth = 28, kThumbBoxHeight = 16;
const QColor kRule(0xBB, 0xBB, 0xBB), kHintColour(0x66, 0x66, 0x66);
const QColor kDisagreementFill(0xFC, 0xE6, 0xCF), kFinalFill(0xE4, 0xEF, 0xE0);

// Every text of the PDF; a control character in a name is left out.
QString q(const std::string& utf8)
{
    return pdfText(utf8);
}

QFont font(double points, bool bold = false)
{
    return pdfFont(points, bold);
}

class Document {
  public:
    Document(QIODevice& device, const QString& title) : writer_(&device)
    {
        writer_.setPageSize(QPageSize(QPageSize::A4));
        writer_.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer_.setResolution(kDpi);
        writer_.setTitle(title);
        writer_.setCreator(QString::fromLatin1(texts::kProgram));
        painter_.begin(&writer_);
    }

    static double px(double mm) { return mm * kDpi / 25.4; }
    static QRectF box(double x, double y, double w, double h)
    {
        return QRectF(px(x), px(y), px(w), px(h));
    }

    QPainter& painter() { return painter_; }
    double y = kMargin;

    void newPage()
    {
        pageNumber();
        writer_.newPage();
        y = kMargin;
    }
    void finish()
    {
        pageNumber();
        painter_.end();
    }

    // Word-wrapped (anywhere when a word is too long); at most maxLines
    // lines. Returns the height in millimetres.
    double paragraph(const QFont& f, const QString& text, double x, double top, double width,
                     int maxLines = -1, bool draw = true)
    {
        QTextLayout layout(text, f, &writer_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        double height = 0;
        for (int n = 0; maxLines < 0 || n < maxLines; ++n) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(px(width));
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout.endLayout();
        if (draw)
            layout.draw(&painter_, QPointF(px(x), px(top)));
        return height * 25.4 / kDpi;
    }

    void text(const QFont& f, const QRectF& r, int flags, const QString& s)
    {
        painter_.setFont(f);
        painter_.drawText(r, flags,
                          QFontMetricsF(f, &writer_).elidedText(s, Qt::ElideRight, r.width()));
    }

  private:
    void pageNumber()
    {
        painter_.setPen(Qt::black);
        text(font(7), box(kMargin, kPageHeight - kMargin - 4, kContentWidth, 4), Qt::AlignRight,
             q(texts::kPage) + QString::number(++pages_));
    }

    QPdfWriter writer_;
    QPainter painter_;
    int pages_ = 0;
};

// Where each of the report's columns goes across the page: the judges
// share what the fixed columns leave, the title takes the rest.
struct Layout {
    std::vector<Column> columns;
    std::vector<double> x, width; // per column, in millimetres
    double name = 0;              // the title's width, which its hint shares
};

Layout layoutFor(const Report& report)
{
    Layout layout{reportColumns(report, Output::Pdf), {}, {}, 0};
    const auto fixedWidth = [](Shows shows) {
        return shows == Shows::Rank        ? kRankWidth
               : shows == Shows::Thumbnail ? kThumbWidth
                                           : kNumberWidth;
    };
    double fixed = 0;
    for (const Column& column : layout.columns)
        if (column.shows != Shows::Title && column.shows != Shows::Judge)
            fixed += fixedWidth(column.shows);
    const double judges = double(report.judges.size());
    const double judge =
        judges > 0 ? std::min(16.0, (kContentWidth - fixed - kMinNameWidth) / judges) : 0;
    layout.name = kContentWidth - fixed - judges * judge;
    double at = kMargin;
    for (const Column& column : layout.columns) {
        const double width = column.shows == Shows::Title   ? layout.name
                             : column.shows == Shows::Judge ? judge
                                                            : fixedWidth(column.shows);
        layout.x.push_back(at);
        layout.width.push_back(width);
        at += width;
    }
    return layout;
}

// Figures right, words left; a judge's name may take two lines.
void drawTableHeading(Document& doc, const Layout& layout)
{
    QPainter& p = doc.painter();
    const QFont bold = font(7.5, true);
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        const Column& column = layout.columns[i];
        const double x = layout.x[i], width = layout.width[i];
        const QString heading = q(column.heading);
        if (column.shows == Shows::Judge) {
            const double h = doc.paragraph(bold, heading, 0, 0, width - 1, 2, false);
            doc.paragraph(bold, heading, x + 0.5, doc.y + kHeaderHeight - h, width - 1, 2);
        } else {
            doc.text(bold, Document::box(x + 1, doc.y, width - 2, kHeaderHeight),
                     static_cast<int>((column.number ? Qt::AlignRight : Qt::AlignLeft) |
                                      Qt::AlignBottom),
                     heading);
        }
    }
    doc.y += kHeaderHeight + 1;
    p.setPen(QPen(Qt::black, Document::px(0.3)));
    p.drawLine(QPointF(Document::px(kMargin), Document::px(doc.y)),
               QPointF(Document::px(kMargin + kContentWidth), Document::px(doc.y)));
}

// `pixels`: the stored thumbnail's own size, which the drawn image (a 1 x 1
// stand-in on the way to the stored JPEG) does not have.
void drawThumbnail(QPainter& p, const QImage& image, QSize pixels, const QRectF& cell)
{
    if (image.isNull()) {
        p.setPen(QPen(kRule, Document::px(0.3)));
        p.drawRect(cell);
        p.drawLine(cell.topLeft(), cell.bottomRight());
        p.drawLine(cell.topRight(), cell.bottomLeft());
        return;
    }
    const QSizeF size = QSizeF(pixels).scaled(cell.size(), Qt::KeepAspectRatio);
    const QRectF target(cell.x() + (cell.width() - size.width()) / 2,
                        cell.y() + (cell.height() - size.height()) / 2, size.width(),
                        size.height());
    p.drawImage(target, image);
}

void drawRow(Document& doc, const ReportRow& row, const QImage& thumbnail, QSize pixels,
             const Layout& layout)
{
    QPainter& p = doc.painter();
    const double top = doc.y;
    if (row.disagreement)
        p.fillRect(Document::box(kMargin, top, kContentWidth, kRowHeight), kDisagreementFill);
    const QFont normal = font(8), bold = font(8, true), small = font(6.5);
    p.setPen(Qt::black);
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        const Column& column = layout.columns[i];
        const double x = layout.x[i], width = layout.width[i];
        switch (column.shows) {
        case Shows::Rank: // the row's label, at its left edge
            doc.text(bold, Document::box(x + 1, top + 1, width - 1, 5), Qt::AlignLeft, q(row.rank));
            break;
        case Shows::Thumbnail:
            drawThumbnail(p, thumbnail, pixels,
                          Document::box(x + 1, top + 1, kThumbBoxWidth, kThumbBoxHeight));
            p.setPen(Qt::black);
            break;
        case Shows::Title: { // the hint below it
            const double titleHeight =
                doc.paragraph(normal, q(row.title), x + 1, top + 1, width - 2, 2);
            p.setPen(kHintColour);
            doc.paragraph(small, q(row.hint), x + 1, top + 2 + titleHeight, width - 2, 3);
            p.setPen(Qt::black);
            break;
        }
        default:
            doc.text(column.shows == Shows::Mean ? bold : normal,
                     Document::box(x, top + 1, width - 1, 5),
                     column.number ? Qt::AlignRight : Qt::AlignLeft, q(shownCell(row, column)));
        }
    }
    doc.y += kRowHeight;
    p.setPen(QPen(kRule, Document::px(0.2)));
    p.drawLine(QPointF(Document::px(kMargin), Document::px(doc.y)),
               QPointF(Document::px(kMargin + kContentWidth), Document::px(doc.y)));
}

// The provisional note: what changed since a final declaration, the first
// judges and pictures short and how many more there are; lines left out
// only counted, their text is on the last page.
QString noteText(const Report& report)
{
    std::vector<std::string> parts = report.changedSinceFinal;
    parts.insert(parts.end(), report.judgesShort.begin(), report.judgesShort.end());
    parts.insert(parts.end(), report.picturesShort.begin(), report.picturesShort.end());
    QString text = q(texts::kProvisional);
    const auto item = [&text](const std::string& part) {
        text += QString(QChar::LineSeparator) + QStringLiteral("• ") + q(part);
    };
    for (std::size_t i = 0; i < parts.size() && i < tunables::kNoteItems; ++i)
        item(parts[i]);
    if (parts.size() > tunables::kNoteItems)
        item(texts::moreMissing(parts.size() - tunables::kNoteItems));
    if (!report.linesLeftOut.empty())
        item(texts::linesLeftOut(report.linesLeftOut.size()));
    return text;
}

// Declared final: the date, then every picture short of judges and every excluded one.
QString finalText(const Report& report)
{
    QString text = q(texts::finalHeading(report.finalDate));
    for (const std::string& line : report.finalLines)
        text += QString(QChar::LineSeparator) + QStringLiteral("• ") + q(line);
    return text;
}

void drawTitle(Document& doc, const Report& report, const Heading& heading)
{
    QPainter& p = doc.painter();
    p.setPen(Qt::black);
    doc.y += doc.paragraph(font(16, true), q(texts::kTitle) + q(heading.folderName), kMargin, doc.y,
                           kContentWidth, 2);
    const QString line = q(
        texts::subtitle(heading.date, report.pictureCount, report.judges.size(), report.maxTotal));
    doc.y += doc.paragraph(font(9), line, kMargin, doc.y + 1, kContentWidth) + 4;
    if (report.provisional() || report.isFinal()) {
        const QString note = report.isFinal() ? finalText(report) : noteText(report);
        const double h = doc.paragraph(font(8.5), note, 0, 0, kContentWidth - 4, -1, false);
        p.fillRect(Document::box(kMargin, doc.y, kContentWidth, h + 3),
                   report.isFinal() ? kFinalFill : kDisagreementFill);
        doc.paragraph(font(8.5), note, kMargin + 2, doc.y + 1.5, kContentWidth - 4);
        doc.y += h + 6;
    }
}

// How many rows each page takes: as many as fit, but never a last page with
// a single row (the page before gives one up).
std::vector<std::size_t> rowsPerPage(std::size_t rows, double firstPageSpace)
{
    const auto fitting = [](double space) {
        return std::max<std::size_t>(2, std::size_t((space - kHeaderHeight - 1) / kRowHeight));
    };
    std::vector<std::size_t> pages;
    for (std::size_t left = rows; left > 0;) {
        const std::size_t take =
            std::min(left, fitting(pages.empty() ? firstPageSpace : kBottom - kMargin));
        pages.push_back(take);
        left -= take;
    }
    if (pages.size() > 1 && pages.back() == 1) {
        --pages[pages.size() - 2];
        ++pages.back();
    }
    return pages;
}

void drawJudgeAverages(Document& doc, const Report& report)
{
    const double height = 12 + 5.5 * double(report.judgeAverages.size() + 1) + 20;
    if (doc.y + 8 + height > kBottom)
        doc.newPage();
    else
        doc.y += 8;
    doc.painter().setPen(Qt::black);
    doc.y +=
        doc.paragraph(font(12, true), q(texts::kJudgesHeading), kMargin, doc.y, kContentWidth) + 2;
    const double widths[] = {kContentWidth - 3 * 30, 30, 30, 30};
    const auto row = [&](const QString(&cells)[4], const QFont& f) {
        double x = kMargin;
        for (int i = 0; i < 4; ++i) {
            doc.text(f, Document::box(x, doc.y, widths[i] - 1, 5),
                     i ? Qt::AlignRight : Qt::AlignLeft, cells[i]);
            x += widths[i];
        }
        doc.y += 5.5;
    };
    row({q(texts::kJudge), q(texts::kRatedPictures), q(texts::kAverage), q(texts::kDeviation)},
        font(8.5, true));
    const auto dash = [](const std::string& s) { return q(s.empty() ? texts::kNoScore : s); };
    for (const JudgeRow& judge : report.judgeAverages)
        row({q(judge.name), q(judge.rated), dash(judge.average), dash(judge.deviation)}, font(8.5));
    doc.y += 4;
    doc.y += doc.paragraph(font(8.5),
                           q(texts::kRankingRule) + QLatin1Char(' ') + q(texts::kRankingDetails),
                           kMargin, doc.y, kContentWidth);
}

// The authors' ranking after the judges' averages, with the note on own pictures.
void drawAuthors(Document& doc, const Report& report)
{
    if (report.authors.empty() && report.ownPicturesNote.empty())
        return;
    const double widths[] = {kRankWidth, kContentWidth - kRankWidth - 3 * 25, 25, 25, 25};
    const auto row = [&](const QString(&cells)[5], const QFont& f) {
        if (doc.y + 5.5 > kBottom)
            doc.newPage();
        double x = kMargin;
        for (int i = 0; i < 5; ++i) {
            doc.text(f, Document::box(x, doc.y, widths[i] - 1, 5),
                     i > 1 ? Qt::AlignRight : Qt::AlignLeft, cells[i]);
            x += widths[i];
        }
        doc.y += 5.5;
    };
    if (doc.y + 8 + 12 + 5.5 * 3 > kBottom)
        doc.newPage();
    else
        doc.y += 8;
    doc.painter().setPen(Qt::black);
    doc.y += doc.paragraph(font(12, true), q(seasontexts::kAuthorsHeading), kMargin, doc.y,
                           kContentWidth) +
             2;
    row({q(texts::kRank), q(seasontexts::kAuthor), q(seasontexts::kPictures),
         q(seasontexts::kSumOfMeans), q(seasontexts::kBestPicture)},
        font(8.5, true));
    for (const AuthorRow& author : report.authors)
        row({q(author.rank), q(author.author), QString::number(author.pictures), q(author.sumText),
             q(author.bestText)},
            font(8.5));
    doc.y += 2;
    for (const char* line : {report.ownPicturesNote.c_str(), seasontexts::kAuthorsRule})
        if (*line)
            doc.y += doc.paragraph(font(8.5), q(line), kMargin, doc.y, kContentWidth) + 1;
}

// For the organiser only: a page of its own, so the ranking pages can hang on the wall.
void drawProblems(Document& doc, const Report& report)
{
    if (report.problems.empty())
        return;
    doc.newPage();
    QPainter& p = doc.painter();
    p.setPen(Qt::black);
    doc.y +=
        doc.paragraph(font(12, true), q(texts::kProblemsHeading), kMargin, doc.y, kContentWidth) +
        2;
    for (const std::string& problem : listedProblems(report.problems)) {
        const QString text = QStringLiteral("• ") + q(problem);
        const double h = doc.paragraph(font(8.5), text, 0, 0, kContentWidth, -1, false);
        if (doc.y + h > kBottom)
            doc.newPage();
        p.setPen(Qt::black);
        doc.y += doc.paragraph(font(8.5), text, kMargin, doc.y, kContentWidth) + 1;
    }
}

// The PDF; with `jpegs` each thumbnail's JPEG is appended there and a
// stand-in drawn, without them the thumbnails are drawn for real.
QByteArray drawPdf(const Report& report, const std::vector<const Thumbnail*>& thumbnails,
                   const Heading& heading, std::vector<PdfJpeg>* jpegs)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        Document doc(buffer, q(texts::kTitle) + q(heading.folderName));
        // A stand-in is then written as it is, not given to the JPEG encoder.
        doc.painter().setRenderHint(QPainter::LosslessImageRendering, jpegs != nullptr);
        const Layout layout = layoutFor(report);
        drawTitle(doc, report, heading);
        std::size_t next = 0;
        for (const std::size_t count : rowsPerPage(report.rows.size(), kBottom - doc.y)) {
            if (next > 0)
                doc.newPage();
            drawTableHeading(doc, layout);
            for (const std::size_t end = next + count; next < end; ++next) {
                const ReportRow& row = report.rows[next];
                const Thumbnail* thumbnail =
                    row.picture < thumbnails.size() ? thumbnails[row.picture] : nullptr;
                QImage image;
                QSize pixels;
                if (thumbnail && jpegs && !thumbnail->printJpeg.empty()) {
                    image = pdfStandIn();
                    jpegs->push_back({thumbnail->width, thumbnail->height, thumbnail->channels,
                                      &thumbnail->printJpeg});
                } else {
                    image = thumbnailView(thumbnail);
                }
                if (thumbnail)
                    pixels = QSize(thumbnail->width, thumbnail->height);
                drawRow(doc, row, image, pixels, layout);
            }
        }
        drawJudgeAverages(doc, report);
        drawAuthors(doc, report);
        drawProblems(doc, report);
        doc.finish();
    }
    return bytes;
}

} // namespace

QByteArray rankingPdf(const Report& report, const std::vector<const Thumbnail*>& thumbnails,
                      const Heading& heading)
{
    std::vector<PdfJpeg> jpegs;
    const QByteArray pdf = withJpegs(drawPdf(report, thumbnails, heading, &jpegs), jpegs);
    // A Qt writing its images otherwise: encoded again, but right.
    return pdf.isEmpty() ? drawPdf(report, thumbnails, heading, nullptr) : pdf;
}

} // namespace evaluation
