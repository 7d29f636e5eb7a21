// The page's pictures for the README, in Chromium: the window on a desktop and the page on a
// phone, light and dark. Usage: node screenshots.mjs SITE FOLDER
import puppeteer from '../tests/window/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';
import {readFile} from 'node:fs/promises';
import {createServer} from 'node:http';
import path from 'node:path';

const [site, out] = process.argv.slice(2);
const types = {'.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css', '.png': 'image/png'};
const server = createServer(async (request, response) => {
  const name = new URL(request.url, 'http://localhost').pathname.replace(/\/$/, '/index.html');
  const body = await readFile(path.join(site, path.normalize(name))).catch(() => null);
  if (body === null) return response.writeHead(404).end();
  response.writeHead(200, {'Content-Type': types[path.extname(name)] ?? 'text/html'}).end(body);
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox',
  '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--font-render-hinting=none']});
for (const [name, viewport] of [['browser', {width: 800, height: 600}],
  ['phone', {width: 360, height: 640, isMobile: true, hasTouch: true}]]) {
  for (const scheme of ['light', 'dark']) {
    const page = await browser.newPage();
    await page.setViewport(viewport);
    await page.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await page.waitForFunction(() => window.Module?.calledRun);
    await page.evaluate(() => document.activeElement.blur()); // no focus ring in the picture
    const shown = name === 'phone' ? page : await page.$('#frame');
    await shown.screenshot({path: path.join(out, `${name}-${scheme}.png`)});
    await page.close();
  }
}
await browser.close();
server.close();
