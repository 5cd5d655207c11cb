// Rangliste.html in headless Chromium at a phone's and a desktop's width
// and as printed: no sideways scrolling, a table with header cells, every
// image with an alt text, nothing loaded from elsewhere, no script; public:
// no judge's name (the folder's .qel files), no sums, spreads or problems;
// places in order, a picture nobody rated last without one.
// Usage: node check_page.mjs PAGE.html SCREENSHOT_FOLDER
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [page_file, shots] = process.argv.slice(2);
const judges = fs.readdirSync(path.dirname(page_file))
  .filter((name) => name.endsWith('.qel')).map((name) => name.slice(0, -4));
const failures = [];
const expect = (ok, what) => { if (!ok) failures.push(what); };

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'bb-chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--no-first-run'],
});
try {
  const page = await browser.newPage();
  const outside = [];
  page.on('request', (request) => {
    const url = request.url();
    if (!url.startsWith('file:') && !url.startsWith('data:')) outside.push(url);
  });
  const views = [
    { name: 'phone', width: 390, media: 'screen' },
    { name: 'desktop', width: 1280, media: 'screen' },
    { name: 'print', width: 1032, media: 'print' }, // A4 landscape less margins at 96 dpi
  ];
  for (const view of views) {
    await page.setViewport({ width: view.width, height: 900 });
    await page.emulateMediaType(view.media);
    await page.goto('file://' + path.resolve(page_file), { waitUntil: 'load' });
    const seen = await page.evaluate(() => {
      const root = document.documentElement;
      const wide = [...document.body.querySelectorAll('*')]
        .filter((e) => e.getBoundingClientRect().right > root.clientWidth + 0.5)
        .map((e) => e.tagName + (e.className ? '.' + e.className : ''));
      return {
        lang: root.lang,
        overflow: root.scrollWidth - root.clientWidth,
        wide: wide.slice(-5),
        columnHeaders: [...document.querySelectorAll('table.rangliste thead th[scope=col]')]
          .map((th) => th.textContent),
        rows: document.querySelectorAll('table.rangliste tbody tr').length,
        rowHeaders: document.querySelectorAll('table.rangliste tbody th[scope=row]').length,
        images: [...document.images].map((img) => ({
          alt: img.getAttribute('alt'), data: img.src.startsWith('data:image/'),
          shown: img.complete && img.naturalWidth > 0 && img.getBoundingClientRect().width > 0,
        })),
        scripts: document.querySelectorAll('script, link, iframe, object, embed').length,
        note: document.querySelector('.vorlaeufig')?.textContent ?? '',
        text: document.documentElement.outerHTML,
        ranking: [...document.querySelectorAll('table.rangliste tbody tr')].map((tr) => ({
          place: tr.querySelector('td.platz').textContent,
          mean: tr.querySelector('td[data-spalte=Mittelwert]').textContent,
        })),
      };
    });
    const where = `${view.name} (${view.width} px)`;
    expect(seen.lang === 'de', `${where}: <html lang="de">`);
    expect(seen.overflow <= 0, `${where}: page scrolls sideways by ${seen.overflow} px: ${seen.wide}`);
    expect(seen.columnHeaders.includes('Platz') && seen.columnHeaders.includes('Mittelwert'),
           `${where}: column headers ${JSON.stringify(seen.columnHeaders)}`);
    expect(seen.rows > 0 && seen.rowHeaders === seen.rows, `${where}: a row header per row`);
    expect(seen.images.length > 0, `${where}: thumbnails`);
    for (const image of seen.images) {
      expect(image.alt && image.alt.trim().length > 0, `${where}: an image without alt text`);
      expect(image.data && image.shown, `${where}: image '${image.alt}' not shown from a data: URI`);
    }
    expect(seen.scripts === 0, `${where}: script, link or embedded object`);
    expect(seen.note.includes('Vorläufige Rangliste') && seen.note.includes('weitere'),
           `${where}: the provisional note, its long list folded`);
    expect(seen.text.includes('<th scope="row">Abendlicht am See – Max Muster</th>'),
           `${where}: title and author from the entrant list`);
    for (const word of [...judges, 'Summe', 'Spanne', 'Zeile', 'uneinig'])
      expect(!seen.text.includes(word), `${where}: the page shows '${word}'`);
    const places = seen.ranking.map((row) => parseInt(row.place, 10));
    const means = seen.ranking.map((row) => parseFloat(row.mean.replace(',', '.')));
    const ranked = places.filter((place) => place > 0).length;
    expect(ranked > 0 && ranked < places.length && places.slice(ranked).every(Number.isNaN) &&
           seen.ranking.slice(ranked).every((row) => row.mean === 'nicht bewertet'),
           `${where}: the picture nobody rated last, without a place`);
    expect(places.slice(1, ranked).every((place, i) => place >= places[i]) &&
           means.slice(1, ranked).every((mean, i) => mean <= means[i]),
           `${where}: places in order of the mean: ${JSON.stringify(seen.ranking)}`);

    // What assistive technology gets: still a table with column headers.
    const tree = await page.accessibility.snapshot({ interestingOnly: false });
    const roles = new Set();
    const walk = (node) => { roles.add(node.role); (node.children || []).forEach(walk); };
    walk(tree);
    expect(roles.has('table') && roles.has('columnheader') && roles.has('rowheader'),
           `${where}: accessibility tree lacks table/columnheader/rowheader: ${[...roles]}`);

    if (shots)
      await page.screenshot({ path: path.join(shots, `Rangliste-${view.name}.png`), fullPage: true });
  }
  expect(outside.length === 0, `requests outside the file: ${outside}`);
  await page.emulateMediaType('screen');
  const pdf = await page.pdf({ format: 'A4' });
  expect(pdf.length > 1000, 'printing to A4 gives a document');
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
console.log('Rangliste.html: phone, desktop and print fine');
