// The page beside the same elements with no script, in Chromium: first visit to the filled window
// on screen, key press to frame; appends to bench/RESULTS.md. Usage: node bench/web.mjs SITE [RUNS]
import puppeteer from '../tests/window/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';
import {appendFile, readFile} from 'node:fs/promises';
import {createServer} from 'node:http';
import path from 'node:path';

const [site, runs = 20] = process.argv.slice(2);
const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox',
  '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync']});

// The floor: the window the build writes into the page, without its scripts.
const types = {'.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css', '.png': 'image/png'};
const plain = (await readFile(path.join(site, 'index.html'), 'utf8'))
  .replace(/<script[^]*?<\/script>|<link rel="preload"[^>]*>| disabled/g, '');
const server = createServer(async (request, response) => {
  const name = new URL(request.url, 'http://localhost').pathname;
  const body = name === '/plain.html' ? plain : await readFile(path.join(site, name === '/' ? 'index.html'
    : path.normalize(name))).catch(() => null);
  if (body === null) return response.writeHead(404).end();
  response.writeHead(200, {'Content-Type': types[path.extname(name)] ?? 'text/html'}).end(body);
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const address = `http://127.0.0.1:${server.address().port}/`;

// Instruments either page alike: when the filled window reaches the screen, and each key's frame.
const instrument = () => {
  window.shown = new Promise((resolve) => {
    new MutationObserver((_, observer) => document.getElementById('Label1')?.textContent.trim() && (observer.disconnect(),
      requestAnimationFrame(() => requestAnimationFrame(() => resolve(performance.now())))))
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
  await page.evaluateOnNewDocument(instrument);
  await page.goto(url);
  const shown = await page.evaluate(() => window.shown);
  await page.focus('#HScroll1');
  for (let i = 0; i < 10; ++i) await page.keyboard.press(i % 2 ? 'ArrowLeft' : 'ArrowRight')
    .then(() => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))));
  const keys = await page.evaluate(() => keyFrames);
  return context.close().then(() => ({shown, keys}));
};
const results = {page: [], plain: []};
for (let run = 0; run < runs; ++run) { // taking turns
  for (const name of ['page', 'plain']) results[name].push(await measure(address + (name === 'plain' ? 'plain.html' : '')));
}
const shown = (name) => median(results[name].map((result) => result.shown));
const keys = (name) => median(results[name].flatMap((result) => result.keys));
const row = (measure, unit, page, floor, target) => `| ${measure} | ${page.toFixed(1)} ${unit} | ` +
  `${floor.toFixed(1)} ${unit} | ${(page / floor).toFixed(2)} | <= ${target}: ${page / floor <= target ? 'met' : 'missed'} |`;
const table = ['', `Web page (\`bench/web.mjs\`): medians of ${runs} first visits and ${runs * 10} key presses in`,
  `Chromium ${await browser.version()}, headless, taking turns with a plain HTML page holding the same elements and no script.`, '',
  '| measure | page | plain page | ratio | target |', '| --- | ---: | ---: | ---: | --- |',
  row('first visit to the filled window on screen (its worker storing the page)', 'ms', shown('page'), shown('plain'), 1.15),
  row('key press to repainted frame', 'ms', keys('page'), keys('plain'), 1.25)].join('\n');
console.log(table);
await appendFile('bench/RESULTS.md', table + '\n');
await browser.close();
server.close();
