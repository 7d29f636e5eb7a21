// The web page side by side with a plain HTML page holding the same elements and no script, in
// Debian's Chromium: time to the frame that shows the filled window on a first visit, and from
// a key press to the repainted frame. Appends its table to bench/RESULTS.md.
// Usage: node bench/web.mjs SITE_DIR [RUNS]      (./build.sh bench builds and runs it)
import puppeteer from '../tests/window/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';
import {appendFile, readFile} from 'node:fs/promises';
import {createServer} from 'node:http';
import path from 'node:path';

const [site, runs = 20] = process.argv.slice(2);
const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox',
  '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync']});

// The floor: the window as the page builds it, written out as plain HTML.
const builder = await browser.newPage();
const types = {'.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css', '.png': 'image/png'};
let plain = '';
const server = createServer(async (request, response) => {
  const name = new URL(request.url, 'http://localhost').pathname;
  if (name === '/plain.html') return response.writeHead(200, {'Content-Type': 'text/html'}).end(plain);
  try {
    const body = await readFile(path.join(site, name === '/' ? 'index.html' : path.normalize(name)));
    response.writeHead(200, {'Content-Type': types[path.extname(name)] ?? 'text/html'}).end(body);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const address = `http://127.0.0.1:${server.address().port}/`;
await builder.goto(address);
await builder.waitForFunction(() => document.getElementById('Label1')?.firstChild.textContent);
plain = `<!DOCTYPE html><html><head><meta charset="utf-8"><link rel="stylesheet" href="style.css">
</head><body>${await builder.evaluate(() => document.getElementById('fit').outerHTML)}</body></html>`;

// Instruments either page alike: when the filled window reaches the screen, and each key's frame.
const instrument = () => {
  window.shown = new Promise((resolve) => {
    const look = () => document.getElementById('Label1')?.textContent.trim() &&
      requestAnimationFrame(() => requestAnimationFrame(() => resolve(performance.now())));
    new MutationObserver((_, observer) => look() && observer.disconnect())
      .observe(document, {subtree: true, childList: true, characterData: true});
  });
  window.keyFrames = [];
  addEventListener('keydown', (event) => requestAnimationFrame(() =>
    requestAnimationFrame(() => keyFrames.push(performance.now() - event.timeStamp))), true);
};
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const measure = async (url) => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setBypassServiceWorker(true);
  await page.evaluateOnNewDocument(instrument);
  await page.goto(url);
  const shown = await page.evaluate(() => window.shown);
  await page.focus('#HScroll1');
  for (let i = 0; i < 10; ++i) {
    await page.keyboard.press(i % 2 ? 'ArrowLeft' : 'ArrowRight');
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  }
  const keys = await page.evaluate(() => keyFrames);
  await context.close();
  return {shown, keys};
};
const results = {page: {shown: [], keys: []}, plain: {shown: [], keys: []}};
for (let run = 0; run < runs; ++run) { // taking turns
  for (const [name, url] of [['page', address], ['plain', address + 'plain.html']]) {
    const {shown, keys} = await measure(url);
    results[name].shown.push(shown);
    results[name].keys.push(...keys);
  }
}
const row = (measure, unit, page, floor) => `| ${measure} | ${page.toFixed(1)} ${unit} | ` +
  `${floor.toFixed(1)} ${unit} | ${(page / floor).toFixed(2)} | <= 1.25: ${page / floor <= 1.25 ? 'met' : 'missed'} |`;
const table = ['', `Web page (\`bench/web.mjs\`): medians of ${runs} first visits and ${runs * 10} key presses in`,
  `Chromium ${await browser.version()}, headless, taking turns with a plain HTML page holding the same elements and no script.`, '',
  '| measure | page | plain page | ratio | target |', '| --- | ---: | ---: | ---: | --- |',
  row('first visit to the filled window on screen', 'ms', median(results.page.shown), median(results.plain.shown)),
  row('key press to repainted frame', 'ms', median(results.page.keys), median(results.plain.keys))].join('\n');
console.log(table);
await appendFile('bench/RESULTS.md', table + '\n');
await browser.close();
server.close();
