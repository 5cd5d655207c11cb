#include "evaluation/outputs/Certificates.h"

#include "core/Platform.h"
#include "core/TextFile.h"
#include "evaluation/outputs/PdfText.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/ScaledDecode.h"

#include <QBuffer>
#include <QDate>
#include <QPainter>
#include <QPdfWriter>
#include <QSettings>
#include <QStandardPaths>

#include <future>

namespace evaluation {

namespace {

constexpr int kDpi = 300;
// Millimetres on A4 portrait.
constexpr double kPageWidth = 210, kMargin = 20, kWidth = kPageWidth - 2 * kMargin;
constexpr double kPictureWidth = 150, kPictureHeight = 110, kPictureTop = 95;

double px(double mm)
{
    return mm * kDpi / 25.4;
}

// The picture upright, at most the pixels its box needs at kDpi (scaled down
// from libjpeg's nearest larger DCT scale); null when it cannot be read.
QImage printPicture(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!readPicture(path, bytes) || bytes.empty())
        return {};
    const pictures::ScaledPicture decoded =
        pictures::decodeScaled(bytes.data(), bytes.size(), int(px(kPictureWidth)));
    const pictures::Bitmap& bitmap = decoded.bitmap;
    if (decoded.refused || decoded.error || !bitmap.pixels)
        return {};
    const QImage picture(bitmap.pixels.get(), bitmap.width, bitmap.height, qsizetype(bitmap.stride),
                         bitmap.format == pictures::PixelFormat::Gray8 ? QImage::Format_Grayscale8
                                                                       : QImage::Format_RGB888);
    // No more pixels than the box holds at kDpi: the PDF writer encodes each one again.
    const QSize box(int(px(kPictureWidth)), int(px(kPictureHeight)));
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture.copy();
    return picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void centred(QPainter& painter, double top, double height, const QFont& f, const QString& text)
{
    painter.setFont(f);
    painter.drawText(QRectF(px(kMargin), px(top), px(kWidth), px(height)),
                     Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, text);
}

void drawPage(QPainter& painter, const ReportRow& row, const QImage& picture,
              const CertificateHeading& heading)
{
    painter.setPen(Qt::black);
    centred(painter, 20, 12, pdfFont(18, true), pdfText(heading.club));
    centred(painter, 34, 16, pdfFont(34, true), pdfText(seasontexts::kCertificate));
    centred(painter, 52, 10, pdfFont(14),
            pdfText(heading.competition) + QStringLiteral(" · ") + pdfText(heading.date));
    centred(painter, 68, 20, pdfFont(30, true), pdfText(seasontexts::placeInWords(row.place)));
    const QRectF box(px((kPageWidth - kPictureWidth) / 2), px(kPictureTop), px(kPictureWidth),
                     px(kPictureHeight));
    if (!picture.isNull()) {
        const QSizeF size = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(box.center().x() - size.width() / 2,
                                 box.center().y() - size.height() / 2, size.width(), size.height()),
                          picture);
    } else {
        painter.setPen(QPen(Qt::gray, px(0.3)));
        painter.drawRect(box);
        centred(painter, kPictureTop, kPictureHeight, pdfFont(12), pdfText(texts::kNoPicture));
        painter.setPen(Qt::black);
    }
    const std::string title = row.entrantTitle.empty() ? row.title : row.entrantTitle;
    centred(painter, 212, 14, pdfFont(20, true), pdfText(title));
    centred(painter, 227, 10, pdfFont(15), pdfText(row.author));
    painter.setPen(QPen(Qt::black, px(0.3)));
    painter.drawLine(QPointF(px(kPageWidth - kMargin - 70), px(265)),
                     QPointF(px(kPageWidth - kMargin), px(265)));
    painter.setFont(pdfFont(9));
    painter.drawText(QRectF(px(kPageWidth - kMargin - 70), px(266), px(70), px(6)),
                     Qt::AlignHCenter, pdfText(seasontexts::kSignature));
}

// Our own file, named in full: Qt's user settings stay switched off.
QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/bildbewertung/auswertung.conf");
}

const QString kClubKey = QStringLiteral("verein");

std::string folderName(const std::string& folder)
{
    const auto own = folderOwnName(folder);
    return shownName(own ? *own : platform::resolvedPath(folder).value_or(folder));
}

} // namespace

QByteArray certificatesPdf(const Report& report, const std::vector<std::string>& pictures,
                           const std::string& folder, const CertificateHeading& heading, int places)
{
    std::vector<const ReportRow*> placed;
    for (const ReportRow& row : report.rows)
        if (!row.unrated() && row.place <= places)
            placed.push_back(&row);
    if (placed.empty())
        return {};
    // The originals decoded side by side; each under the process's decode budget.
    std::vector<std::future<QImage>> decoded;
    decoded.reserve(placed.size());
    for (const ReportRow* row : placed)
        decoded.push_back(std::async(std::launch::async, [&, row] {
            return printPicture(pathIn(folder, pictures[row->picture]));
        }));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(kDpi);
    writer.setTitle(pdfText(seasontexts::kCertificate) + QStringLiteral(" – ") +
                    pdfText(heading.competition));
    writer.setCreator(QString::fromLatin1(texts::kProgram));
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (i > 0)
            writer.newPage();
        drawPage(painter, *placed[i], decoded[i].get(), heading);
    }
    painter.end();
    return bytes;
}

std::string clubName()
{
    return QSettings(settingsFile(), QSettings::IniFormat).value(kClubKey).toString().toStdString();
}

void rememberClubName(const std::string& name)
{
    QSettings(settingsFile(), QSettings::IniFormat)
        .setValue(kClubKey, QString::fromStdString(name));
}

CertificatesWritten writeCertificates(const std::string& folder, const std::string& club,
                                      int places)
{
    CertificatesWritten written;
    const FolderResult result = evaluateFolder(folder);
    if (!result.stop.empty()) {
        written.failure = result.stop;
        return written;
    }
    const auto path = organiserFile(folder, seasontexts::kCertificatesFile);
    if (!path) {
        written.failure = texts::cannotWrite(seasontexts::kCertificatesFile);
        return written;
    }
    written.path = *path;
    const Report report = buildReport(result.evaluation);
    const CertificateHeading heading{
        club, folderName(folder),
        QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString()};
    const QByteArray pdf =
        certificatesPdf(report, result.evaluation.pictures, folder, heading, places);
    if (pdf.isEmpty()) {
        written.failure = seasontexts::kNoPlaces;
        return written;
    }
    for (const ReportRow& row : report.rows)
        written.pages += !row.unrated() && row.place <= places;
    if (textfile::writeAllAtomically(
            {{*path, std::string_view(pdf.constData(), std::size_t(pdf.size()))}})) {
        written.failure = texts::cannotWrite(shownName(*path));
        written.pages = 0;
    }
    return written;
}

} // namespace evaluation
