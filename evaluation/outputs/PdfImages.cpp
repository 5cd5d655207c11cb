#include "evaluation/outputs/PdfImages.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace evaluation {

namespace {

struct XrefEntry {
    long long offset = 0;
    bool used = false;
};

long long numberAt(const QByteArray& pdf, qsizetype at)
{
    long long value = -1;
    const char* begin = pdf.constData() + at;
    std::from_chars(begin, pdf.constData() + pdf.size(), value);
    return value;
}

// The bytes Qt writes at the start of a drawn stand-in, after "N 0 obj\n".
constexpr char kStandInHead[] = "<<\n/Type /XObject\n/Subtype /Image\n/Width 1\n/Height 1\n";

QByteArray imageObject(int number, const PdfJpeg& jpeg, bool interpolate)
{
    char head[256];
    std::snprintf(head, sizeof head,
                  "%d 0 obj\n<<\n/Type /XObject\n/Subtype /Image\n/Width %d\n/Height %d\n"
                  "/ColorSpace /%s\n/BitsPerComponent 8\n%s/Filter /DCTDecode\n/Length %zu\n"
                  ">>\nstream\n",
                  number, jpeg.width, jpeg.height, jpeg.channels == 1 ? "DeviceGray" : "DeviceRGB",
                  interpolate ? "/Interpolate true\n" : "", jpeg.bytes->size());
    QByteArray object(head);
    object.append(jpeg.bytes->data(), qsizetype(jpeg.bytes->size()));
    object.append("\nendstream\nendobj\n");
    return object;
}

} // namespace

QImage pdfStandIn()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QByteArray withJpegs(const QByteArray& pdf, const std::vector<PdfJpeg>& jpegs)
{
    const qsizetype startxref = pdf.lastIndexOf("startxref\n");
    if (startxref < 0)
        return {};
    const long long xref = numberAt(pdf, startxref + 10);
    if (xref <= 0 || xref >= startxref || !pdf.mid(xref).startsWith("xref\n0 "))
        return {};
    const long long count = numberAt(pdf, qsizetype(xref) + 7);
    const qsizetype entries = pdf.indexOf('\n', qsizetype(xref) + 7) + 1;
    if (count <= 0 || entries <= 0 || entries + count * 20 > startxref)
        return {};
    std::vector<XrefEntry> table(static_cast<std::size_t>(count));
    std::vector<std::pair<long long, int>> objects; // offset, number
    for (long long i = 0; i < count; ++i) {
        const qsizetype line = entries + qsizetype(i) * 20;
        table[std::size_t(i)] = {numberAt(pdf, line), pdf.at(line + 17) == 'n'};
        if (table[std::size_t(i)].used)
            objects.emplace_back(table[std::size_t(i)].offset, int(i));
    }
    std::sort(objects.begin(), objects.end());
    const qsizetype trailer = entries + qsizetype(count) * 20;

    // Reserved once: grown by doubling it would hold up to twice the
    // thumbnails' bytes, for every picture of the competition.
    qsizetype size = pdf.size();
    for (const PdfJpeg& jpeg : jpegs)
        size += qsizetype(jpeg.bytes ? jpeg.bytes->size() : 0) + 256;
    QByteArray out;
    out.reserve(size);
    std::size_t next = 0;
    long long copied = objects.empty() ? xref : objects.front().first;
    out.append(pdf.constData(), qsizetype(copied));
    for (std::size_t k = 0; k < objects.size(); ++k) {
        const auto [offset, number] = objects[k];
        const long long end = k + 1 < objects.size() ? objects[k + 1].first : xref;
        if (offset != copied || end < offset)
            return {};
        table[std::size_t(number)].offset = out.size();
        const QByteArray object =
            QByteArray::fromRawData(pdf.constData() + offset, qsizetype(end - offset));
        const qsizetype head = object.indexOf('\n') + 1;
        if (head > 0 && object.mid(head).startsWith(kStandInHead)) {
            if (next == jpegs.size() || !jpegs[next].bytes)
                return {};
            const bool interpolate = object.indexOf("/Interpolate true\n") >= 0;
            out.append(imageObject(number, jpegs[next++], interpolate));
        } else {
            out.append(object);
        }
        copied = end;
    }
    if (next != jpegs.size())
        return {};
    const long long newXref = out.size();
    out.append("xref\n0 " + QByteArray::number(count) + "\n");
    for (long long i = 0; i < count; ++i) {
        const qsizetype line = entries + qsizetype(i) * 20;
        if (table[std::size_t(i)].used) {
            char text[24];
            std::snprintf(text, sizeof text, "%010lld", table[std::size_t(i)].offset);
            out.append(text, 10);
            out.append(pdf.constData() + line + 10, 10);
        } else {
            out.append(pdf.constData() + line, 20);
        }
    }
    out.append(pdf.constData() + trailer, startxref - trailer);
    out.append("startxref\n" + QByteArray::number(newXref) + "\n%%EOF\n");
    return out;
}

} // namespace evaluation
