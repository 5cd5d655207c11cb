// Writes the information document the program opens from its "i" button:
// a short German guide for judges, as an A4 PDF.
//
//   QT_QPA_PLATFORM=offscreen make_info_pdf [output.pdf]
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

const char* const kStyle = R"(
body { font-family: 'DejaVu Sans', sans-serif; font-size: 10pt; }
h1 { font-size: 18pt; color: #203a5c; margin-bottom: 4px; }
h2 { font-size: 12.5pt; color: #203a5c; margin-top: 18px; margin-bottom: 6px; }
p, li { margin-top: 4px; margin-bottom: 4px; }
.sub { color: #555555; font-size: 10pt; }
.code { font-family: 'DejaVu Sans Mono', monospace; font-size: 9pt; background: #eeeeee; }
td, th { padding: 2pt 6pt; }
th { background: #dde4ee; text-align: left; }
)";

// The guide itself; the quoted texts are the program's own.
const char* const kGuide = R"(
<h1>Bildbewertung mit Quintavo 2.3</h1>
<p class="sub">Kurzanleitung für Bewerterinnen und Bewerter</p>

<h2>1. Vorbereitung: der Ordner</h2>
<p>Das Programm arbeitet im Ordner, in dem es gestartet wird (dem „Zorvik-Ordner“).
Dort liegen:</p>
<ul>
<li>die Bilder als JPEG-Dateien (<b>*.jpg</b> oder <b>*.jpeg</b>, Groß- und Kleinschreibung
egal). Sie erscheinen alphabetisch sortiert; Ziffern zählen als Zeichen, „10.jpg“ steht
also vor „2.jpg“. Wer eine feste Reihenfolge will, nummeriert mit führenden Nullen
(01, 02, … 10).</li>
<li>die Gewichtungsdatei <b>Qel.max</b> mit den Bewertungskriterien (Abschnitt 2),</li>
<li>die gespeicherten Bewertungen <b>&lt;Name&gt;.qel</b> (Abschnitt 5) und dieses
Dokument <b>InfoQuintavo.pdf</b>.</li>
</ul>
<p>Enthält der Ordner kein Bild, meldet das Programm „Keine jpg-Bilder im Zorvik-Ordner!“.</p>

<h2>2. Die Gewichtungsdatei Qel.max</h2>
<p>Eine reine Textdatei mit (mindestens) 15 Zeilen, eine Zeile je Kriterium. Jede Zeile
besteht aus:</p>
<ul>
<li>1. Zeichen: dem <b>Maximum</b> des Kriteriums als eine Ziffer 0 bis 9,</li>
<li>2. Zeichen: einem <b>Trennzeichen</b> (meist ein Leerzeichen; es wird nicht ausgewertet),</li>
<li>ab dem 3. Zeichen: der <b>Beschreibung</b>, die neben dem Schieberegler steht.</li>
</ul>
<table border="1" cellspacing="0" cellpadding="4">
<tr><th>Zeilen</th><th>Gruppe</th><th>Kriterien</th></tr>
<tr><td>1 – 5</td><td>Wirkung</td><td>W1 … W5</td></tr>
<tr><td>6 – 10</td><td>Technik</td><td>T1 … T5</td></tr>
<tr><td>11 – 15</td><td>Gestaltung</td><td>B1 … B5</td></tr>
</table>
<p>Eine Zeile <b>ohne Beschreibung</b> (nur Ziffer, oder Ziffer und Trennzeichen) blendet
ihr Kriterium aus. Beispiel für den Anfang einer Datei:</p>
<p class="code">5 Bildidee und Aussage<br>5 Emotionale Wirkung<br>3 Originalität<br>0<br>0
<br>4 Schärfe und Schärfentiefe<br>…</p>
<p>Fehlt die Datei oder ist sie fehlerhaft, warnt das Programm mit
„Die Gewichtungsdatei Qel.max kann nicht geladen werden!“ bzw.
„Die Gewichtungsdatei Qel.max ist nicht korrekt!“.</p>

<h2>3. Bewerten mit den Schiebereglern</h2>
<p>Rechts oben steht das Bewertungsfeld. Für jedes Kriterium gibt es einen
<b>Schieberegler</b> von 0 bis zum Maximum; daneben steht der Wert, z.&nbsp;B. „3/5“.
Regler lassen sich mit der Maus ziehen oder, nach einem Klick, mit den Pfeiltasten der
Tastatur um je einen Punkt verstellen.</p>
<p>Jede Gruppe zeigt ihre <b>Summe</b> gegen das Gruppenmaximum (z.&nbsp;B. „7 / 25 Punkte“),
unten steht die Gesamtsumme bei <b>Total</b>. Jedes Bild behält seine eigenen Werte:
beim Blättern werden sie gemerkt und beim Zurückkehren wieder angezeigt.</p>

<h2>4. Von Bild zu Bild</h2>
<ul>
<li>Die Pfeil-Buttons <b>&lt;</b> (vorhergehendes Bild) und <b>&gt;</b> (nächstes Bild) oben im
Bewertungsfeld.</li>
<li>Ein Klick mit der <b>linken Maustaste</b> auf das Bild oder den Hintergrund geht
<b>vor</b>, die <b>rechte Maustaste</b> geht <b>zurück</b>. Ein Doppelklick blättert zwei
Bilder weiter.</li>
<li>Klicks auf das Bewertungsfeld blättern nie. Am ersten bzw. letzten Bild ist der
jeweilige Pfeil-Button gesperrt.</li>
</ul>
<p>Der Dateiname des aktuellen Bildes steht neben „Bild:“.</p>

<h2>5. Speichern und Laden</h2>
<p>Im Feld <b>Bewerter</b> steht anfangs „hier den Namen eintragen!“. Tragen Sie dort Ihren
Namen ein und klicken Sie auf <b>Bewertung speichern</b> (Pfeil nach unten). Die Bewertung
aller Bilder wird als <b>&lt;Name&gt;.qel</b> im Ordner gespeichert; eine ältere Datei
desselben Namens wird ersetzt. Zwischendurch speichern schadet nie.</p>
<p>Mit <b>Bewertung öffnen</b> (Pfeil nach oben) wählen Sie eine .qel-Datei aus; der Name
erscheint im Feld Bewerter und die Regler zeigen die geladenen Werte des aktuellen Bildes.
So lässt sich eine Bewertung später fortsetzen oder die eines anderen Bewerters ansehen.</p>

<h2>6. Die 100%-Lupe</h2>
<p>Der Button mit der Lupe („100%-Lupe“) zeigt das Bild in Originalgröße, ein Bildpunkt je
Bildschirmpunkt, im selben Rahmen. Mit gedrückter Maustaste lässt sich der Ausschnitt
<b>verschieben</b>. Solange die Lupe an ist, wird nicht geblättert; ein zweiter Klick auf
den Button kehrt zur ganzen Ansicht zurück.</p>

<h2>7. Weitere Knöpfe</h2>
<ul>
<li><b>Hintergrund-Grauton</b>: die kleinen Auf/Ab-Pfeile stellen den Hintergrund in 17
Stufen von Schwarz bis Weiß ein.</li>
<li><b>Infos zum Programm</b> (das blaue „i“): öffnet dieses Dokument.</li>
<li><b>Fenster minimieren</b> (der Strich): legt das Programm in die Taskleiste.</li>
<li><b>Programm beenden</b> (X): beendet das Programm. Ist die Bewertung seit dem letzten
Speichern geändert worden, fragt das Programm vorher nach, damit nichts verloren geht.</li>
</ul>

<h2>Kurz gesagt</h2>
<p>Bilder und Qel.max in einen Ordner legen, Programm dort starten, Namen eintragen,
Bilder mit den Reglern bewerten, mit linker/rechter Maustaste blättern, speichern.</p>
)";

void writeGuide(const QString& target)
{
    QPdfWriter writer(target);
    writer.setTitle("InfoQuintavo – Kurzanleitung");
    writer.setCreator("Bildbewertung");
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));

    // print() lays the text out on the page less its own 2 cm margin.
    QTextDocument document;
    document.setDefaultStyleSheet(kStyle);
    document.setHtml(QString::fromUtf8(kGuide));
    document.print(&writer);
} // the writer finishes the file here

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QString target = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "InfoQuintavo.pdf";
    QFile::remove(target);
    writeGuide(target);
    if (QFileInfo(target).size() == 0) {
        std::fprintf(stderr, "make_info_pdf: cannot write %s\n", qPrintable(target));
        return 1;
    }
    std::printf("%s\n", qPrintable(target));
    return 0;
}
