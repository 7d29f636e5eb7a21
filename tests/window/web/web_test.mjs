// The web page in Debian's Chromium, driven through the DevTools protocol as a user would: the
// shared scenario with real keys and mouse in two languages, touch on a 360-pixel phone, a key
// held for 10,000 steps, offline after one visit, the accessibility tree, and the contrast of
// every label under light, dark and forced colours, measured on screenshots.
// Usage: node web_test.mjs SITE_DIR SCENARIO_PROGRAM
import {chromium} from 'playwright-core';
import {execFileSync} from 'node:child_process';
import {readFile} from 'node:fs/promises';
import {createServer} from 'node:http';
import path from 'node:path';

const [site, scenarioProgram] = process.argv.slice(2);
setTimeout(() => { console.log('FAIL: the browser test took over 120 s'); process.exit(1); }, 120000).unref();
const failures = [];
function check(what, got, wanted) {
  const ok = JSON.stringify(got) === JSON.stringify(wanted) || !failures.push(what);
  console.log(`${ok ? 'ok' : 'FAIL'} (${what}): ${JSON.stringify(got)}${ok ? '' : `, expected ${JSON.stringify(wanted)}`}`);
}

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.css': 'text/css', '.png': 'image/png', '.webmanifest': 'application/manifest+json'};
let served = [];
const tampered = {}; // file name: what the server sends instead, as a bad host or release might
let policy = null; // a Content-Security-Policy the server sends, as a strict host does
const server = createServer(async (request, response) => {
  const name = new URL(request.url, 'http://localhost').pathname.replace(/\/$/, '/index.html');
  served.push(name);
  const file = await readFile(path.join(site, path.normalize(name))).catch(() => null);
  if (!file) return response.writeHead(404).end();
  response.writeHead(200, {'Content-Type': types[path.extname(name)],
                           ...(policy && {'Content-Security-Policy': policy})})
    .end(tampered[name] ? tampered[name](file) : file);
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const address = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox',
  '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync']});

// The window as the desktop tests report it.
const shown = (page) => page.evaluate(() => ['Label1', 'Label2', 'Label7', 'Label8']
  .map((id) => document.getElementById(id).firstChild.textContent).join(' ') +
  ` at ${document.getElementById('HScroll1').valueAsNumber}, focus on ${document.activeElement.id}`);
// Where the thumb's middle is, in the viewport, at a tuning offset.
const thumbAt = (page, value) => page.evaluate((value) => {
  const tuner = document.getElementById('HScroll1'), box = tuner.getBoundingClientRect();
  const grip = parseFloat(getComputedStyle(tuner).getPropertyValue('--grip'));
  const scale = box.width / tuner.offsetWidth;
  const x = tuner.clientLeft + grip / 2 + (value - tuner.min) / (tuner.max - tuner.min) * (tuner.clientWidth - grip);
  return {x: box.left + x * scale, y: box.top + box.height / 2};
}, value);

async function open(context) {
  const page = await context.newPage();
  page.setDefaultTimeout(10000);
  page.on('pageerror', (error) => check('no script error', error.message, ''));
  await page.goto(address);
  await page.waitForFunction(() => document.getElementById('Label1')?.firstChild.textContent);
  return page;
}

async function scenario(context, separator, touch) {
  const page = await open(context);
  const cdp = touch && await context.newCDPSession(page);
  const finger = (type, point) => cdp.send('Input.dispatchTouchEvent',
    {type, touchPoints: type === 'touchEnd' ? [] : [point]});
  const keys = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'PageUp', 'PageDown', 'Home',
                'End', 'Tab', 'Shift+Tab'];
  let dragging = false;
  for (const [n, step] of JSON.parse(execFileSync(scenarioProgram, [separator])).entries()) {
    if (step.act === 'Choose') { // what the list does when the user picks an entry
      await page.evaluate((entry) => {
        const list = document.getElementById('Combo1');
        list.selectedIndex = entry;
        list.dispatchEvent(new Event('change'));
      }, step.argument);
    } else if (step.act === 'Key') {
      await page.keyboard.press(keys[step.argument]);
    } else if (step.act === 'Drag' || step.act === 'Release') {
      if (!dragging) {
        const from = await page.evaluate(() => document.getElementById('HScroll1').valueAsNumber);
        const grip = await thumbAt(page, from);
        await (touch ? finger('touchStart', grip) : page.mouse.move(grip.x, grip.y).then(() => page.mouse.down()));
        dragging = true;
      }
      const to = await thumbAt(page, step.argument);
      await (touch ? finger('touchMove', to) : page.mouse.move(to.x, to.y, {steps: 4}));
      if (step.act === 'Release') {
        await (touch ? finger('touchEnd', to) : page.mouse.up());
        dragging = false;
      }
    } else if (step.act === 'SwitchAway') { // another tab in front, then this one again
      const other = await context.newPage();
      await other.bringToFront();
      await page.bringToFront();
      await other.close();
    }
    check(`${touch ? 'phone' : separator} step ${n} (${step.act})`, await shown(page), step.expected);
  }
  return page;
}

const desktop = await browser.newContext({locale: 'en-US', viewport: {width: 800, height: 600}});
const requests = [];
desktop.on('request', (request) => requests.push(request.url()));
const page = await scenario(desktop, '.', false);
await page.evaluate(() => navigator.serviceWorker.ready);
const sizes = await Promise.all([...new Set(served)].map((name) => readFile(path.join(site, name))));
check('a first visit downloads at most 150 KiB', sizes.reduce((sum, file) => sum + file.length, 0) <= 150 * 1024, true);
await (await scenario(await browser.newContext({locale: 'de-DE'}), ',', false)).close();

// A phone: the whole window in 360 pixels, dragged and tapped beside the thumb with a finger.
const phone = await browser.newContext({viewport: {width: 360, height: 640}, isMobile: true,
                                        hasTouch: true, deviceScaleFactor: 2, locale: 'en-US'});
const onPhone = await scenario(phone, '.', true);
check('the window fits 360 pixels', await onPhone.evaluate(() =>
  document.documentElement.scrollWidth <= 360 &&
  document.getElementById('frame').getBoundingClientRect().right <= 360), true);
const right = await thumbAt(onPhone, 50);
await onPhone.touchscreen.tap(right.x, right.y);
check('a tap right of the thumb pages', await shown(onPhone), '435.262 145.888 LSB USB at 13, focus on HScroll1');

// A key held down for 10,000 steps: every step shown, and no memory grows.
const cdp = await desktop.newCDPSession(page);
const memory = async () => [await cdp.send('HeapProfiler.collectGarbage').then(() =>
  cdp.send('Runtime.getHeapUsage')).then((heap) => heap.usedSize), await page.evaluate(() => HEAP8.length)];
const [heapBefore, wasmBefore] = await memory();
await page.evaluate(() => { for (let i = 0; i < 10000; ++i) document.getElementById('HScroll1')
  .dispatchEvent(new KeyboardEvent('keydown', {key: i % 2 ? 'ArrowLeft' : 'ArrowRight', repeat: true})); });
const [heapAfter, wasmAfter] = await memory();
check('10,000 held steps grow no memory', [wasmAfter - wasmBefore, heapAfter - heapBefore < 256 * 1024], [0, true]);

// Keys with Alt, Ctrl or Meta are the browser's (Alt+Left is its Back), and only the primary
// button tunes: the tuner neither moves nor keeps them from the browser.
const tuned = () => page.evaluate(() => document.getElementById('HScroll1').valueAsNumber);
const from = await tuned();
const kept = await page.evaluate(() => ['altKey', 'ctrlKey', 'metaKey'].filter((modifier) =>
  !document.getElementById('HScroll1').dispatchEvent(new KeyboardEvent('keydown',
    {key: 'ArrowLeft', [modifier]: true, bubbles: true, cancelable: true}))));
const beside = await thumbAt(page, 50);
for (const button of ['right', 'middle']) await page.mouse.click(beside.x, beside.y, {button});
check('modified keys and other buttons are the browser\'s', [kept, await tuned()], [[], from]);
// The browser's language changed while the page is open: the displays follow at once.
const speak = (language) => page.evaluate((language) => {
  Object.defineProperty(navigator, 'language', {get: () => language, configurable: true});
  dispatchEvent(new Event('languagechange'));
  return document.getElementById('Label1').firstChild.textContent;
}, language);
check('a language change shows at once', [await speak('de-DE'), await speak('en-US')], ['435,272', '435.272']);

// What a screen reader reads, from Chromium's own accessibility tree.
// Chromium's tree gives a slider's value as its number, never its aria-valuetext (measured on a
// plain page too): that is read from the tuner's element.
const nodes = (await cdp.send('Accessibility.getFullAXTree')).nodes.filter((node) => !node.ignored);
const tree = await Promise.all(nodes.map(async (node) => {
  const {node: {attributes = []}} = node.backendDOMNodeId ? await cdp.send('DOM.describeNode',
    {backendNodeId: node.backendDOMNodeId}) : {node: {}};
  const valueText = attributes.includes('aria-valuetext') && attributes[attributes.indexOf('aria-valuetext') + 1];
  return [node.role?.value, node.name?.value, valueText || (node.value?.value ?? '')].join('|');
}));
for (const wanted of ['slider|Tuning|Uplink 435.272 MHz, downlink 145.878 MHz',
                      'combobox|Transponder|VO-52', 'StaticText|Uplink frequency 435.272 MHz|',
                      'StaticText|Downlink sideband USB|', 'StaticText|MHz|', 'heading|Kestrova V.1.0|']) {
  check('the accessibility tree has ' + wanted, tree.includes(wanted), true);
}

// Offline after that one visit: every file comes from the page's own store, nothing else is
// asked for, and the page works.
await desktop.setOffline(true);
served = [];
await page.reload();
await page.waitForFunction(() => document.getElementById('Label1')?.firstChild.textContent);
await page.keyboard.press('ArrowRight');
check('offline: opens and tunes, asking the network for nothing', [await shown(page), served],
      ['145.999 435.801 LSB USB at 1, focus on HScroll1', []]);
check('only the page\'s own files were asked for', requests.filter((url) => !url.startsWith(address)), []);
await page.goto(address + 'index.html?from=a-bookmark'); // the page's other address
await page.waitForFunction(() => document.getElementById('Label1')?.firstChild.textContent);
check('offline at index.html too', served, []);

// Online again: a new release replaces the stored one whole, and a broken one never does.
await desktop.setOffline(false);
const release = async (sw, wasm) => {
  Object.assign(tampered, {'/sw.js': sw, '/kestrova.wasm': wasm});
  served = [];
  await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()).catch(() => {}));
  for (let tries = 0; tries < 100; ++tries) { // until the release was fetched and is in or out
    const busy = await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) =>
      !!(r.installing || r.waiting || r.active?.state !== 'activated')));
    if (!busy && served.includes('/kestrova.wasm')) break;
    await new Promise((wait) => setTimeout(wait, 100));
  }
  const fetched = served.includes('/kestrova.wasm'); // the release was tried
  await page.reload();
  await page.waitForFunction(() => document.getElementById('Label1')?.firstChild.textContent);
  return [fetched, ...await page.evaluate(() => caches.keys())];
};
const [stored] = await page.evaluate(() => caches.keys());
await page.evaluate(() => caches.open('another page of the host'));
const renamed = (body) => body.toString().replace(/kestrova-[0-9a-f]+/, 'kestrova-next');
check('a corrupt release leaves the last one working', await release(renamed, () => 'not a program'),
      [true, stored, 'another page of the host']);
check('a whole new release replaces it, and only it', await release(renamed, undefined),
      [true, 'another page of the host', 'kestrova-next ' + address]);

// Without JavaScript or WebAssembly, and with a program file that does not arrive whole, a
// plain line says so.
const noScript = await browser.newPage({javaScriptEnabled: false});
await noScript.goto(address);
check('without JavaScript', await noScript.innerText('#needs'),
      'Kestrova needs JavaScript and WebAssembly, which this browser has turned off.');
const noWasm = await browser.newPage(); // as in Safari's Lockdown Mode
await noWasm.addInitScript(() => delete globalThis.WebAssembly);
await noWasm.goto(address);
await noWasm.waitForFunction(() => document.getElementById('needs').innerText);
check('without WebAssembly', await noWasm.innerText('#needs'),
      'Kestrova needs WebAssembly, which this browser does not have or has turned off.');
const corrupt = await browser.newPage();
await corrupt.route('**/kestrova.wasm', (route) => route.fulfill({body: 'not a program'}));
await corrupt.goto(address);
await corrupt.waitForFunction(() => document.getElementById('needs').innerText);
check('a corrupt program file', await corrupt.innerText('#needs'),
      'Kestrova could not load its program file. Check the connection and reload the page.');

// A host's strict policy: no inline script, WebAssembly only from the page's own file.
policy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";
const strict = await browser.newPage(), refused = [];
strict.on('console', (message) => /Security Policy/.test(message.text()) && refused.push(message.text()));
await strict.goto(address);
await strict.waitForFunction(() => document.getElementById('Label1')?.firstChild.textContent);
await strict.keyboard.press('ArrowRight');
check('under a strict policy', [await shown(strict), refused],
      ['145.999 435.801 LSB USB at 1, focus on HScroll1', []]);
policy = null;

// Every label's text against what is behind it, in the colours the screen shows.
const contrast = (png) => page.evaluate(async (data) => {
  const image = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
  const canvas = new OffscreenCanvas(image.width, image.height), context = canvas.getContext('2d');
  context.drawImage(image, 0, 0);
  const pixels = context.getImageData(0, 0, image.width, image.height).data, counts = new Map();
  for (let i = 0; i < pixels.length; i += 4) {
    const key = pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2];
    counts.set(key, (counts.get(key) ?? 0) + 1);
  }
  const luminance = (c) => [c >> 16, c >> 8 & 255, c & 255].map((v) => v / 255)
    .map((v) => v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4)
    .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
  const ratio = (a, b) => (Math.max(luminance(a), luminance(b)) + 0.05) / (Math.min(luminance(a), luminance(b)) + 0.05);
  const background = [...counts].sort((a, b) => b[1] - a[1])[0][0];
  return Math.max(...[...counts].filter(([, n]) => n >= 4).map(([c]) => ratio(c, background)));
}, png.toString('base64'));
for (const media of [{colorScheme: 'light'}, {colorScheme: 'dark'}, {forcedColors: 'active'}]) {
  await page.emulateMedia(media);
  const low = [];
  for (const id of ['Label1', 'Label2', 'Label3', 'Label4', 'Label5', 'Label6', 'Label7', 'Label8']) {
    const ratio = await contrast(await page.locator('#' + id).screenshot());
    if (ratio < 4.5) low.push(`${id} ${ratio.toFixed(2)}`);
  }
  check(`every label reads at 4.5:1 or better, ${JSON.stringify(media)}`, low, []);
}

await browser.close();
server.close();
console.log(failures.length ? `${failures.length} failed` : 'all as expected');
process.exit(failures.length ? 1 : 0);
