#include "evaluation/PdfReport.h"

#include "core/TextEncoding.h"
#include "evaluation/Texts.h"

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
constexpr double kRowHeight = 21, kHeaderHeight = 9;
constexpr double kRankWidth = 12, kThumbWidth = 33, kNumberWidth = 14, kMinNameWidth = 30;
constexpr double kThumbBoxWidth = 30, kThumbBoxHeight = 19;
const QColor kRule(0xBB, 0xBB, 0xBB), kHintColour(0x66, 0x66, 0x66);
const QColor kDisagreementFill(0xFC, 0xE6, 0xCF);

QString q(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
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

struct Columns {
    double judge = 0; // each judge's column
    double name = 0;
    double x(int column) const; // 0 rank, 1 thumb, 2 name, 3.. judges, then sum, mean
    int judges = 0;
};

double Columns::x(int column) const
{
    const double widths[] = {kRankWidth, kThumbWidth, name};
    double at = kMargin;
    for (int c = 0; c < column; ++c)
        at += c < 3 ? widths[c] : c < 3 + judges ? judge : kNumberWidth;
    return at;
}

Columns columnsFor(int judges)
{
    Columns columns;
    columns.judges = judges;
    const double fixed = kRankWidth + kThumbWidth + 2 * kNumberWidth;
    columns.judge = judges ? std::min(16.0, (kContentWidth - fixed - kMinNameWidth) / judges) : 0;
    columns.name = kContentWidth - fixed - judges * columns.judge;
    return columns;
}

void drawTableHeading(Document& doc, const Evaluation& evaluation, const Columns& c)
{
    QPainter& p = doc.painter();
    const QFont bold = font(7.5, true);
    const auto cell = [&](int column, double width, const QString& s, int align) {
        doc.text(bold, Document::box(c.x(column) + 1, doc.y, width - 2, kHeaderHeight),
                 align | Qt::AlignBottom, s);
    };
    cell(0, kRankWidth, q(texts::kRank), Qt::AlignLeft);
    cell(1, kThumbWidth, q(texts::kPicture), Qt::AlignLeft);
    cell(2, c.name, q(texts::kFile), Qt::AlignLeft);
    for (int j = 0; j < c.judges; ++j) {
        const QString name = q(displayText(evaluation.judges[std::size_t(j)].name));
        const double h = doc.paragraph(bold, name, 0, 0, c.judge - 1, 2, false);
        doc.paragraph(bold, name, c.x(3 + j) + 0.5, doc.y + kHeaderHeight - h, c.judge - 1, 2);
    }
    cell(3 + c.judges, kNumberWidth, q(texts::kSum), Qt::AlignRight);
    cell(4 + c.judges, kNumberWidth, q(texts::kMeanShort), Qt::AlignRight);
    doc.y += kHeaderHeight + 1;
    p.setPen(QPen(Qt::black, Document::px(0.3)));
    p.drawLine(QPointF(Document::px(kMargin), Document::px(doc.y)),
               QPointF(Document::px(kMargin + kContentWidth), Document::px(doc.y)));
}

void drawThumbnail(QPainter& p, const QImage& image, const QRectF& cell)
{
    if (image.isNull()) {
        p.setPen(QPen(kRule, Document::px(0.3)));
        p.drawRect(cell);
        p.drawLine(cell.topLeft(), cell.bottomRight());
        p.drawLine(cell.topRight(), cell.bottomLeft());
        return;
    }
    const QSizeF size = QSizeF(image.size()).scaled(cell.size(), Qt::KeepAspectRatio);
    const QRectF target(cell.x() + (cell.width() - size.width()) / 2,
                        cell.y() + (cell.height() - size.height()) / 2, size.width(),
                        size.height());
    p.drawImage(target, image);
}

void drawRow(Document& doc, const Evaluation& evaluation, const RankedPicture& row,
             const QImage& thumbnail, const Columns& c)
{
    QPainter& p = doc.painter();
    const double top = doc.y;
    if (row.disagreement)
        p.fillRect(Document::box(kMargin, top, kContentWidth, kRowHeight), kDisagreementFill);
    const QFont normal = font(8), bold = font(8, true), small = font(6.5);
    const auto number = [&](int column, double width, const QString& s, const QFont& f) {
        doc.text(f, Document::box(c.x(column), top + 1, width - 1, 5), Qt::AlignRight, s);
    };
    p.setPen(Qt::black);
    doc.text(bold, Document::box(c.x(0) + 1, top + 1, kRankWidth - 1, 5), Qt::AlignLeft,
             q(rankText(row.rank)));
    drawThumbnail(p, thumbnail,
                  Document::box(c.x(1) + 1, top + 1, kThumbBoxWidth, kThumbBoxHeight));
    p.setPen(Qt::black);
    const double nameHeight =
        doc.paragraph(normal, q(displayText(evaluation.pictures[row.picture])), c.x(2) + 1, top + 1,
                      c.name - 2, 3);
    p.setPen(kHintColour);
    doc.paragraph(small, q(hint(evaluation, row)), c.x(2) + 1, top + 2 + nameHeight, c.name - 2, 4);
    p.setPen(Qt::black);
    for (int j = 0; j < c.judges; ++j) {
        const auto& score = evaluation.judges[std::size_t(j)].scores[row.picture];
        number(3 + j, c.judge, score ? QString::number(score->total()) : q(texts::kNoScore),
               normal);
    }
    number(3 + c.judges, kNumberWidth, QString::number(row.sum), bold);
    number(4 + c.judges, kNumberWidth, row.rated ? q(meanText(row)) : q(texts::kNoScore), normal);
    doc.y += kRowHeight;
    p.setPen(QPen(kRule, Document::px(0.2)));
    p.drawLine(QPointF(Document::px(kMargin), Document::px(doc.y)),
               QPointF(Document::px(kMargin + kContentWidth), Document::px(doc.y)));
}

void drawTitle(Document& doc, const Evaluation& evaluation, const PdfHeading& heading)
{
    QPainter& p = doc.painter();
    p.setPen(Qt::black);
    doc.y += doc.paragraph(font(16, true), q(texts::kTitle) + q(heading.folderName), kMargin, doc.y,
                           kContentWidth, 2);
    const QString line = q(texts::subtitle(heading.date, evaluation.pictures.size(),
                                           evaluation.judges.size(), evaluation.maxTotal));
    doc.y += doc.paragraph(font(9), line, kMargin, doc.y + 1, kContentWidth) + 5;
}

void drawLastPage(Document& doc, const Evaluation& evaluation)
{
    doc.newPage();
    QPainter& p = doc.painter();
    p.setPen(Qt::black);
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
    const std::vector<JudgeAverage> averages = judgeAverages(evaluation);
    for (const JudgeAverage& a : averages)
        row({q(a.name), QString::number(a.rated),
             a.rated ? q(decimalComma(a.points, a.rated)) : q(texts::kNoScore),
             a.rated ? q(deviationText(averages, a)) : q(texts::kNoScore)},
            font(8.5));
    doc.y += 4;
    doc.y += doc.paragraph(font(8.5), q(texts::kRankingRule), kMargin, doc.y, kContentWidth) + 6;

    doc.y +=
        doc.paragraph(font(12, true), q(texts::kProblemsHeading), kMargin, doc.y, kContentWidth) +
        2;
    if (evaluation.problems.empty())
        doc.y += doc.paragraph(font(8.5), q(texts::kNoProblems), kMargin, doc.y, kContentWidth);
    for (const std::string& problem : evaluation.problems) {
        const QString text = QStringLiteral("• ") + q(problem);
        const double h = doc.paragraph(font(8.5), text, 0, 0, kContentWidth, -1, false);
        if (doc.y + h > kBottom)
            doc.newPage();
        p.setPen(Qt::black);
        doc.y += doc.paragraph(font(8.5), text, kMargin, doc.y, kContentWidth) + 1;
    }
}

} // namespace

QByteArray rankingPdf(const Evaluation& evaluation, const std::vector<RankedPicture>& rows,
                      const std::vector<QImage>& thumbnails, const PdfHeading& heading)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        Document doc(buffer, q(texts::kTitle) + q(heading.folderName));
        const Columns columns = columnsFor(int(evaluation.judges.size()));
        drawTitle(doc, evaluation, heading);
        drawTableHeading(doc, evaluation, columns);
        for (const RankedPicture& row : rows) {
            if (doc.y + kRowHeight > kBottom) {
                doc.newPage();
                drawTableHeading(doc, evaluation, columns);
            }
            const QImage none;
            drawRow(doc, evaluation, row,
                    row.picture < thumbnails.size() ? thumbnails[row.picture] : none, columns);
        }
        drawLastPage(doc, evaluation);
        doc.finish();
    }
    return bytes;
}

} // namespace evaluation
