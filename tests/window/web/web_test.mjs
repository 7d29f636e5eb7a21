// The web page in one browser engine, driven as a user would: Chromium and Firefox ESR through
// Puppeteer (DevTools protocol and WebDriver BiDi), WebKitGTK through WebDriver. The desktop
// part: the shared scenario with real keys and mouse in two languages, the arrows, offline after
// one visit, releases, a strict policy, and the contrast and thumb measured on screenshots. The
// phone part: touch on a 360-pixel phone, the window scaled to the screen, targets a finger hits.
// Usage: node web_test.mjs SITE_DIR SCENARIO_FILE chromium|firefox|webkit [phone]
import puppeteer from 'puppeteer-core';
import {execFileSync} from 'node:child_process';
import {cp, mkdtemp, readFile, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {createServer} from 'node:http';
import path from 'node:path';
import {launchWebKit} from './webdriver.mjs';

const [site, scenarioFile, engine, part = 'desktop'] = process.argv.slice(2);
setTimeout(() => {
  console.log('FAIL: the browser test took over 150 s');
  for (const each of browsers) each.process()?.kill('SIGKILL'); // no browser left behind
  process.exit(1);
}, 150000).unref();
const failures = [], browsers = [];
function check(what, got, wanted) {
  const ok = JSON.stringify(got) === JSON.stringify(wanted) || !failures.push(what);
  console.log(`${ok ? 'ok' : 'FAIL'} (${what}): ${JSON.stringify(got)}${ok ? '' : `, expected ${JSON.stringify(wanted)}`}`);
}

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.css': 'text/css', '.png': 'image/png', '.webmanifest': 'application/manifest+json'};
let served = [];
const programFile = (name) => name.match(/\/kestrova\.\w+\.(js|wasm)$/)?.[1]; // named by its content
const tampered = {}; // js or wasm: what the server sends instead, as a bad host or release might
let policy = null; // a Content-Security-Policy the server sends, as a strict host does
let down = false; // the network is gone: every connection is dropped
const holdBack = {}; // js or wasm: the file comes once this promise settles, as on a slow connection
// The releases published at / (a new one unpacked over the last: the older files stay) and the
// other Kestrova's at /other/; the newest release's file is served where it has one.
const releases = [site], other = [];
const server = createServer(async (request, response) => {
  if (down) return request.socket.destroy();
  const name = new URL(request.url, 'http://localhost').pathname.replace(/\/$/, '/index.html');
  served.push(name);
  await holdBack[programFile(name)];
  const [folders, asked] = name.startsWith('/other/') ? [other, name.slice(6)] : [releases, name];
  const file = (await Promise.all(folders.map((folder) => readFile(path.join(folder, path.normalize(asked)))
    .catch(() => null)))).findLast(Boolean) ?? null;
  const body = file && (tampered[programFile(name)] ? tampered[programFile(name)](file) : file);
  if (body === null) return response.writeHead(404).end();
  response.writeHead(200, {'Content-Type': types[path.extname(name)], 'Cache-Control': 'no-cache',
                           ...(policy && {'Content-Security-Policy': policy})}).end(body);
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const address = `http://127.0.0.1:${server.address().port}/`;

// A browser of the engine under test, in a language, with a mouse or a touch screen, on a light
// or a dark desktop.
const chromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const phone = (width, height) => ({width, height, deviceScaleFactor: 2, ...(engine === 'chromium' && {isMobile: true, hasTouch: true})});
async function launch({locale = 'en-US', touch = false, dark = false} = {}) {
  const browser = engine === 'webkit' ? await launchWebKit({locale, dark})
    : await puppeteer.launch(engine === 'firefox' ? {browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
      extraPrefsFirefox: {'intl.accept_languages': locale, 'dom.quotaManager.temporaryStorage.fixedLimit': 51200, 'layout.css.prefers-color-scheme.content-override': dark ? 0 : 1,
        ...(touch && {'ui.primaryPointerCapabilities': 1,
        'ui.allPointerCapabilities': 1, 'dom.w3c_touch_events.enabled': 1})}}
      : {executablePath: '/usr/bin/chromium', args: chromiumFlags});
  browsers.push(browser);
  return {browser, page: async ({broken = false} = {}) => {
    const page = await browser.newPage();
    if (engine === 'chromium') { // its headless shell takes a language only this way
      const cdp = await page.createCDPSession();
      await cdp.send('Emulation.setUserAgentOverride', {userAgent: await browser.userAgent(), acceptLanguage: locale});
      await cdp.send('Emulation.setLocaleOverride', {locale});
      if (dark) await cdp.send('Emulation.setEmulatedMedia', {features: [{name: 'prefers-color-scheme', value: 'dark'}]});
    }
    await page.setViewport(touch ? phone(360, 640) : {width: 800, height: 600});
    if (!broken) { // from the first request to the end
      page.on?.('pageerror', (error) => check('no script error', error.message, ''));
      page.on?.('console', (message) => message.type() === 'error' && check('no error on the console', message.text(), ''));
    }
    return page;
  }};
}
const loaded = (page) => page.waitForFunction(() => window.Module?.calledRun && document.getElementById('Label1'),
                                              {timeout: 20000});

// The window as the desktop tests report it.
const shown = (page) => page.evaluate(() => ['Label1', 'Label2', 'Label7', 'Label8']
  .map((id) => document.getElementById(id).firstChild.textContent).join(' ') +
  ` at ${document.getElementById('HScroll1').valueAsNumber}, focus on ${document.activeElement.id}`);
const tuned = (page) => page.evaluate(() => document.getElementById('HScroll1').valueAsNumber);
// Where things are, in the viewport: a control's box, the thumb's box at a tuning offset.
const boxOf = (page, selector) => page.evaluate((selector) => {
  const {left, top, width, height} = document.querySelector(selector).getBoundingClientRect();
  return {left, top, width, height, x: left + width / 2, y: top + height / 2};
}, selector);
const thumbAt = (page, value) => page.evaluate((value) => {
  const tuner = document.getElementById('HScroll1'), box = tuner.getBoundingClientRect();
  const grip = parseFloat(getComputedStyle(tuner).getPropertyValue('--grip'));
  const scale = box.width / tuner.offsetWidth;
  const left = tuner.clientLeft + (value - tuner.min) / (tuner.max - tuner.min) * (tuner.clientWidth - grip);
  return {left: box.left + left * scale, top: box.top + tuner.clientTop * scale, width: grip * scale,
          height: tuner.clientHeight * scale, x: box.left + (left + grip / 2) * scale, y: box.top + box.height / 2};
}, value);
const pause = (ms) => new Promise((wait) => setTimeout(wait, ms));
const arrows = ['.arrow:first-child', '.arrow:last-child'];
// The window's margins in the viewport, once drawn after a resize, and its scale.
const margins = (page) => page.evaluate(async () => {
  await new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn)));
  const frame = document.getElementById('frame'), box = frame.getBoundingClientRect();
  return {left: Math.round(box.left), right: Math.round(innerWidth - box.right), top: Math.round(box.top),
          bottom: Math.round(innerHeight - box.bottom), scale: box.width / frame.offsetWidth};
});
const centred = ({left, right, top, bottom}) => [Math.abs(left - right) <= 1, Math.abs(top - bottom) <= 1];

const choose = (page, entry) => page.evaluate((entry) => { // as the list does when the user picks one
  const list = document.getElementById('Combo1');
  list.selectedIndex = entry;
  list.dispatchEvent(new Event('change'));
}, entry);

// The shared scenario: each line's act, its argument and what the window then shows.
const steps = (await readFile(scenarioFile, 'utf8')).split('\n').filter((line) => /^\w/.test(line))
  .map((line) => line.match(/^(\S+) +(\S+) +(.*)$/).slice(1));
async function scenario(page, separator, touch, owner = browser) {
  const press = async (keys) => { // Shift+Tab: each key down, then up again in turn
    const held = keys.split('+');
    for (const k of held) await page.keyboard.down(k);
    for (const k of held.reverse()) await page.keyboard.up(k);
  };
  const pointer = touch ? {down: ({x, y}) => page.touchscreen.touchStart(x, y),
    move: ({x, y}) => page.touchscreen.touchMove(x, y), up: () => page.touchscreen.touchEnd()}
    : {down: ({x, y}) => page.mouse.move(x, y).then(() => page.mouse.down()),
      move: ({x, y}) => page.mouse.move(x, y, {steps: 4}), up: () => page.mouse.up()};
  let dragging = false;
  for (const [n, [act, argument, expected]] of steps.entries()) {
    if (act === 'Choose') {
      await choose(page, Number(argument));
    } else if (act === 'Key') {
      await press(argument);
    } else if (act === 'Drag' || act === 'Release') {
      if (!dragging) await pointer.down(await thumbAt(page, await tuned(page)));
      await pointer.move(await thumbAt(page, Number(argument)));
      if (!(dragging = act === 'Drag')) await pointer.up();
    } else if (act === 'SwitchAway') { // another tab in front, then this one again
      const other = await owner.newPage();
      await other.bringToFront();
      await page.bringToFront();
      await other.close();
    }
    check(`${touch ? 'phone' : separator} step ${n} (${act})`, await shown(page), expected.replaceAll('.', separator));
  }
}

// A screenshot's colours, read by the page's own canvas: for each box (viewport pixels), the
// contrast of what is drawn inside against its background ("text") or of its edge against what
// is around it ("edge"), which also finds a box drawn elsewhere than it is measured.
const screen = async (page, boxes) => page.evaluate(async (data, boxes) => {
  const image = await createImageBitmap(new Blob([Uint8Array.from(atob(data), (c) => c.charCodeAt(0))]));
  const canvas = new OffscreenCanvas(image.width, image.height), context = canvas.getContext('2d');
  context.drawImage(image, 0, 0);
  const {data: rgba} = context.getImageData(0, 0, image.width, image.height);
  const scale = image.width / innerWidth;
  const at = (x, y) => { const i = (Math.round(y * scale) * image.width + Math.round(x * scale)) * 4;
                         return rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2]; };
  const counts = (points) => points.reduce((map, c) => map.set(c, (map.get(c) ?? 0) + 1), new Map());
  const commonest = (points) => [...counts(points)].sort((a, b) => b[1] - a[1])[0][0];
  const luminance = (c) => [c >> 16, c >> 8 & 255, c & 255].map((v) => v / 255)
    .map((v) => v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4)
    .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
  const ratio = (a, b) => (Math.max(luminance(a), luminance(b)) + 0.05) / (Math.min(luminance(a), luminance(b)) + 0.05);
  const ring = ({left, top, width, height, sides}, d) => { // the pixels d outside the box's edge
    const points = [], [l, t, r, b] = [left - d, top - d, left + width - 1 + d, top + height - 1 + d];
    for (let x = l; x <= r && !sides; x += 1 / scale) points.push(at(x, t), at(x, b));
    for (let y = t; y <= b; y += 1 / scale) points.push(at(l, y), at(r, y));
    return points;
  };
  return boxes.map(({kind, box}) => {
    if (kind === 'edge') return +ratio(commonest(ring(box, 1)), commonest(ring(box, 0))).toFixed(2);
    const points = [];
    for (let y = box.top; y < box.top + box.height; y += 1 / scale) {
      for (let x = box.left; x < box.left + box.width; x += 1 / scale) points.push(at(x, y));
    }
    const background = commonest(points);
    return +Math.max(...[...counts(points)].filter(([, n]) => n >= 4).map(([c]) => ratio(c, background))).toFixed(2);
  });
}, await page.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))))
  .then(() => page.screenshot()).then((png) => Buffer.from(png).toString('base64')), boxes);

// The browser's language, and in Chromium the colour scheme, changed at any moment: the displays
// follow the language, and nothing raises an error (the page's listeners report any).
const speak = (on, language) => on.evaluate((language) => {
  Object.defineProperty(navigator, 'language', {get: () => language, configurable: true});
  dispatchEvent(new Event('languagechange'));
  return document.getElementById('Label1').firstChild.textContent;
}, language);
const changes = async (on, when) => {
  const cdp = engine === 'chromium' ? await on.createCDPSession() : null;
  for (const features of [[{name: 'prefers-color-scheme', value: 'dark'}], []]) await cdp?.send('Emulation.setEmulatedMedia', {features});
  check(`a language change ${when}`, [await speak(on, 'de-DE'), await speak(on, 'en-US')], ['146,000', '146.000']);
};

// A release made as the build makes one, from the page's files with its stylesheet marked,
// published at / or at /other/.
const sources = new URL('../../../window/web/', import.meta.url).pathname;
const publish = async (marker, folders = releases) => {
  const files = await mkdtemp(path.join(tmpdir(), 'files-')), folder = files.replace('files-', 'site-');
  await cp(path.join(site, '..', 'files'), files, {recursive: true});
  await writeFile(path.join(files, 'style.css'), `${await readFile(path.join(files, 'style.css'))}/* ${marker} */\n`);
  execFileSync('cmake', [`-DFILES=${files}`, `-DSITE=${folder}`, `-DTEMPLATE=${sources}sw.js.in`, '-P', `${sources}release.cmake`]);
  await rm(files, {recursive: true});
  return folders.push(folder) && folder;
};

const {browser, page: newPage} = await launch({touch: part === 'phone'});
// The first visit, on a desktop with the program's files held back as on a slow connection: the
// window the build wrote takes no click, key or pick until the program has taken it over, and
// then starts as the program does; a change of language or scheme before and while the program
// arrives raises no error.
const arrive = {};
for (const file of part === 'desktop' ? ['js', 'wasm'] : []) holdBack[file] = new Promise((resolve) => { arrive[file] = resolve; });
const page = await newPage();
const opened = page.goto(address, {waitUntil: 'domcontentloaded'}); // once the program's file has run
const list = () => page.evaluate(() => document.getElementById('Combo1').value);
if (part === 'desktop') {
  await page.waitForFunction(() => window.Module && document.getElementById('Label1'), {timeout: 20000}); // its start has run
  const tuner = await boxOf(page, '#HScroll1');
  await page.mouse.click(tuner.x, tuner.y);
  for (const key of ['ArrowRight', 'PageDown', 'Tab', 'ArrowDown']) await page.keyboard.press(key);
  check('while the program arrives, nothing moves', [await shown(page), await list()],
        ['146.000 435.800 LSB USB at 0, focus on ', 'FO-29']);
  await changes(page, 'before the program arrives');
  arrive.js();
  await page.waitForFunction(() => typeof window.Module?._HScroll1_Change === 'function');
  await changes(page, 'while the program arrives');
  arrive.wasm();
}
await opened;
await loaded(page);
check('the program has taken over', [await shown(page), await list()], ['146.000 435.800 LSB USB at 0, focus on HScroll1', 'FO-29']);
if (part === 'phone') {
  // A phone: the window fills the screen's width, centred; the list, the arrows, the thumb and
  // the trough each take a finger's 24 x 24 CSS pixels.
  const portrait = await margins(page);
  check('portrait: the window fills the width, centred', [portrait.left, portrait.right, centred(portrait)[1]], [0, 0, true]);
  const targets = {list: await boxOf(page, '#Combo1'), trough: await boxOf(page, '#HScroll1'),
    'left arrow': await boxOf(page, arrows[0]), 'right arrow': await boxOf(page, arrows[1]), thumb: await thumbAt(page, 0)};
  check('every target is at least 24 x 24', Object.entries(targets).filter(([, box]) => box.width < 24 || box.height < 24)
    .map(([name, box]) => `${name} ${box.width.toFixed(1)} x ${box.height.toFixed(1)}`), []);
  await scenario(page, '.', true);
  const right = await thumbAt(page, 50);
  await page.touchscreen.tap(right.x, right.y);
  check('a tap right of the thumb pages', await shown(page), '435.262 145.888 LSB USB at 13, focus on HScroll1');
  const arrow = await boxOf(page, arrows[1]);
  await page.touchscreen.tap(arrow.x, arrow.y);
  check('a tap on an arrow steps 1 kHz', await shown(page), '435.261 145.889 LSB USB at 14, focus on HScroll1');
  await page.setViewport(phone(640, 360));
  const landscape = await margins(page);
  check('landscape: the window fills the height, centred', [landscape.top, landscape.bottom, centred(landscape)[0]], [0, 0, true]);
} else {
  await scenario(page, '.', false);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await choose(page, 0);
  await page.keyboard.press('Home');
  const sizes = await Promise.all([...new Set(served)].map((name) => readFile(path.join(site, name))));
  check('a first visit downloads at most 150 KiB', sizes.reduce((sum, file) => sum + file.length, 0) <= 150 * 1024, true);

  // The arrows: a click steps 1 kHz; held, it repeats until let go; the tuner keeps the focus.
  const [left, right] = [await boxOf(page, arrows[0]), await boxOf(page, arrows[1])];
  await page.mouse.click(right.x, right.y);
  check('a click on an arrow steps 1 kHz', await shown(page), '145.999 435.801 LSB USB at 1, focus on HScroll1');
  await page.keyboard.press('End');
  const end = await tuned(page);
  await page.mouse.click(left.x, left.y, {delay: 700});
  const held = await tuned(page);
  await pause(300);
  check('a held arrow repeats, and stops when let go', [end - held >= 5, end - held <= 20, await tuned(page)],
        [true, true, held]);

  // With a mouse the window keeps its size, in the middle of the screen.
  await page.setViewport({width: 1280, height: 800});
  const desktop = await margins(page);
  check('on a desktop: 100 %, centred', [desktop.scale, ...centred(desktop)], [1, true, true]);

  // Keys with Alt, Ctrl or Meta are the browser's (Alt+Left is its Back), and only the primary
  // button tunes: the tuner neither moves nor keeps them from the browser.
  await page.keyboard.press('Home');
  const from = await tuned(page);
  const kept = await page.evaluate(() => ['altKey', 'ctrlKey', 'metaKey'].filter((modifier) =>
    !document.getElementById('HScroll1').dispatchEvent(new KeyboardEvent('keydown',
      {key: 'ArrowLeft', [modifier]: true, bubbles: true, cancelable: true}))));
  const beside = await thumbAt(page, 50);
  for (const button of ['right', 'middle']) await page.mouse.click(beside.x, beside.y, {button});
  check('modified keys and other buttons are the browser\'s', [kept, await tuned(page)], [[], from]);
  await page.evaluate(() => document.getElementById('HScroll1').focus()); // back from a menu
  // The browser's language changed while the page is open: the displays follow at once.
  check('every language the page takes for "." without asking has "."', await page.evaluate(() =>
    Module.pointLanguages.filter((language) => new Intl.NumberFormat(language).formatToParts(1.5)
      .find((part) => part.type === 'decimal').value !== '.')), []);
  const point = await speak(page, 'en-US');
  check('a language change shows at once', [await speak(page, 'de-DE'), await speak(page, 'en-US')], [point.replace('.', ','), point]);

  // Drawn as measured: every label readable, and every edge, the thumb's where the pointer finds
  // it, standing out.
  for (let i = 0; i < 5; ++i) await page.keyboard.press('PageDown');
  const readable = async (scheme, on = page) => { // without its program: the labels alone
    const inside = ({left, top, width, height}) => ({left: left + 2, top: top + 2, width: width - 4, height: height - 4});
    const parts = [...[1, 2, 3, 4, 5, 6, 7, 8].map((n) => [`Label${n}`, 'text', boxOf(on, `#Label${n}`)]),
      ...on !== page ? [] : [['trough', 'edge', boxOf(on, '#HScroll1')],
        ['thumb', 'edge', tuned(on).then((at) => thumbAt(on, at)).then((box) => ({...box, sides: true}))],
        ...['left', 'right'].flatMap((side, i) => [[`${side} arrow`, 'edge', boxOf(on, arrows[i])],
          [`${side} arrow's sign`, 'text', boxOf(on, arrows[i]).then(inside)]])]];
    const ratios = await screen(on, await Promise.all(parts.map(async ([, kind, box]) => ({kind, box: await box}))));
    check(`labels read at 4.5:1, edges and signs stand out at 3:1 (${scheme})`, parts.map(([name], i) => [name, ratios[i]])
      .filter(([name, ratio]) => ratio < (name.startsWith('Label') ? 4.5 : 3)).map((low) => low.join(' ')), []);
  };
  await readable('light');

  if (engine === 'chromium') { // what only the DevTools protocol shows
    const cdp = await page.createCDPSession();
    for (const scheme of ['dark', 'forced']) {
      await cdp.send('Emulation.setEmulatedMedia', {features: [scheme === 'dark'
        ? {name: 'prefers-color-scheme', value: 'dark'} : {name: 'forced-colors', value: 'active'}]});
      await readable(scheme);
    }
    await cdp.send('Emulation.setEmulatedMedia', {features: []});
    // What a screen reader reads, from Chromium's own accessibility tree: one tuner and no
    // arrows. Its tree gives a slider's value as its number, never its aria-valuetext (measured
    // on a plain page too): that is read from the tuner itself.
    await choose(page, 0);
    await page.keyboard.press('Home');
    const tree = [], add = (node) => tree.push(`${node.role}|${node.name}|${node.value ?? ''}`) && node.children?.forEach(add);
    add(await page.accessibility.snapshot());
    check('one tuner, reading the frequencies, and no buttons for a screen reader', [tree.filter((n) =>
      /^(slider|button)\|/.test(n)), await page.$eval('#HScroll1', (tuner) => tuner.getAttribute('aria-valuetext'))],
    [['slider|Tuning|0'], 'Uplink 146.000 MHz, downlink 435.800 MHz']);
    for (const wanted of ['combobox|Transponder|FO-29', 'StaticText|Uplink frequency 146.000 MHz|',
                          'StaticText|Downlink sideband USB|', 'StaticText|MHz|', 'heading|Kestrova V.1.0|']) {
      check('the accessibility tree has ' + wanted, tree.includes(wanted), true);
    }
  }

  // Offline after that one visit: every file comes from the page's own store, nothing else is
  // asked for, at each of the page's addresses, and the page works.
  down = true;
  served = [];
  for (const url of [address, address + 'index.html?from=a-bookmark']) {
    await page.goto(url);
    await loaded(page);
    await page.keyboard.press('ArrowRight');
    check(`offline: ${url.slice(address.length - 1)} opens and tunes`, [await shown(page), served],
          ['145.999 435.801 LSB USB at 1, focus on HScroll1', []]);
  }
  down = false;

  // Another Kestrova, at another release, in a folder of the same host: visited once.
  await publish('release at /other/', other);
  const elsewhere = await newPage();
  await elsewhere.goto(address + 'other/').then(() => loaded(elsewhere));
  await elsewhere.waitForFunction(() => navigator.serviceWorker.getRegistration() // stored: its worker took over
    .then((r) => r?.scope.endsWith('/other/') && !!r.active), {timeout: 20000}); // (WebKit may not update its state)
  await elsewhere.close().then(() => page.bringToFront());

  // Online again: a new release replaces the stored one whole, and a broken one, or one there is
  // no room for, never does. A page open while one comes asks only for its own release's files
  // and gets them, wherever they come from; the store keeps that release and the new one, and
  // drops the older ones and an earlier worker's stores. Another Kestrova, in another folder of
  // the host at another release, keeps its own.
  const start = '146.000 435.800 LSB USB at 0, focus on HScroll1';
  const names = new Map(); // the stores, as the checks name them
  const named = async (folder, name, at = '') => names.set(`kestrova ${(await readFile(path.join(folder, 'sw.js'), 'utf8'))
    .match(/'kestrova ([0-9a-f]{16}) '/)[1]} ${address}${at}`, name);
  const stores = async () => (await page.evaluate(() => caches.keys()).catch(() => ['(no page to read them)']))
    .map((name) => names.get(name) ?? name).sort();
  const styleOf = (on) => on.evaluate(() => fetch(document.querySelector('link[rel=stylesheet]').href)
    .then((response) => response.text()).then((text) => text.match(/\/\* (release .*) \*\//)?.[1] ?? 'release 1'));
  await Promise.all([named(site, 'release 1'), named(other[0], 'the other Kestrova', 'other/')]);
  const earlier = [`kestrova-0123456789abcdef ${address}`, `kestrova pages ${address}`];
  await page.evaluate((earlier) => Promise.all([...earlier, 'another page of the host'].map((name) => caches.open(name))), earlier);
  const reopened = () => page.reload().then(() => loaded(page)).then(async () => [await shown(page), await styleOf(page)],
    (error) => [`the page did not open: ${error.message.split('\n')[0]}`]);
  const release = async (marker, broken = false) => {
    await named(await publish(marker), marker);
    if (broken) tampered.wasm = () => 'not a program';
    // The page asks for its own stylesheet while the release is being stored, and again once it
    // has taken over. (A page asking without pause kept Chromium from looking for the release,
    // or left the stored release waiting, through a reload too: measured.)
    await page.evaluate(async () => {
      const own = document.querySelector('link[rel=stylesheet]').href, text = await fetch(own).then((r) => r.text());
      window.other = async () => await fetch(own).then((r) => r.text()).catch(() => '') !== text;
      window.others = 0;
    });
    const outcome = await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => new Promise((done) => {
      const follow = (worker) => {
        const moved = () => /activated|redundant/.test(worker.state) && done(worker.state);
        if (worker?.state === 'installing') window.others = window.other().then(Number);
        worker?.addEventListener('statechange', moved) ?? (worker && moved());
      };
      r.addEventListener('updatefound', () => follow(r.installing));
      follow(r.installing ?? r.waiting); // (Firefox may fetch it before it is asked to)
      r.update().catch(() => {});
      setTimeout(() => done('not found'), 25000);
    })));
    const during = [outcome, await page.evaluate(async () => await window.others + await window.other())];
    if (outcome !== 'activated') releases.pop(); // withdrawn, before the browser tries it again
    delete tampered.wasm;
    return [...during, ...await reopened(), ...await stores()];
  };
  const others = ['the other Kestrova', 'another page of the host'];
  check('a corrupt release leaves the last one working', await release('release 2', true),
        ['redundant', 0, start, 'release 1', ...[...earlier, 'release 1', ...others].sort()]);
  for (const [next, before] of [['release 3', 'release 1'], ['release 4', 'release 3']]) { // two kept
    check(`${next} replaces ${before}`, await release(next), ['activated', 0, start, next, ...[before, next, ...others].sort()]);
  }
  // The store full: Chromium's quota set to what it holds; Firefox's (made small at launch) filled
  // by another page of the host. (WebKitGTK's WebDriver can set no quota, and its own is large.)
  if (engine !== 'webkit') {
    const cdp = engine === 'chromium' ? await page.createCDPSession() : null, origin = new URL(address).origin;
    await cdp?.send('Storage.overrideQuotaForOrigin', {origin, quotaSize: (await cdp.send('Storage.getUsageAndQuota', {origin})).usage});
    await page.evaluate(async (fill) => fill && caches.open('another page of the host').then(async (cache) => {
      for (let size = 1 << 20; size >= 256; size >>= 2) while (await cache.put(`${size} ${Math.random()}`, new Response(new Uint8Array(size))).then(() => true, () => false));
    }), engine === 'firefox');
    const online = await release('release 5');
    const offline = await (down = true, reopened()).finally(() => { down = false; });
    check('with the store full, the page opens online and offline, on the release it has', // (Firefox
          [online[0] !== 'activated', ...online.slice(1), ...offline], // stores not even the new worker)
          [true, 0, start, 'release 4', ...['release 3', 'release 4', ...others].sort(), start, 'release 4']);
  }
  const offline = [];
  for (const at of ['', 'other/']) offline.push(await (down = true, page.goto(address + at)).then(() => loaded(page)).then(() => styleOf(page)));
  down = false;
  check('offline after the updates: the newest release, and the other Kestrova its own', offline, ['release 4', 'release at /other/']);

  // A fresh browser in German on a dark desktop, under a host's strict policy (no inline script,
  // WebAssembly only from the page's own file): the scenario with the user's separator; before
  // that, with the program's file missing, the window the build wrote shows that separator too,
  // reads on dark, and a plain line says what is wrong, as it does for a corrupt program file.
  policy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";
  const german = await launch({locale: 'de-DE', dark: true});
  const refused = [], brokenPage = await german.page({broken: true}); // in front while it is read
  for (const [file, body] of [['js', () => null], ['wasm', () => 'not a program']]) {
    tampered[file] = body;
    await brokenPage.goto(address);
    await brokenPage.waitForFunction(() => document.getElementById('needs').innerText);
    check(`without a whole program file (${file})`, await brokenPage.evaluate(() => [document.getElementById('needs').innerText,
      document.getElementById('Label1').firstChild.textContent, document.getElementById('HScroll1').disabled,
      document.getElementById('Combo1').disabled]), ['Kestrova could not load its program file. Check the connection and reload the page.',
      '146,000', true, true]);
    delete tampered[file];
  }
  await readable('dark, without its program', brokenPage);
  const germanPage = await german.page();
  germanPage.on?.('console', (message) => /Security.Policy/i.test(message.text()) && refused.push(message.text()));
  await germanPage.bringToFront(); // a tab behind another gets its input late
  await germanPage.goto(address);
  await loaded(germanPage);
  await scenario(germanPage, ',', false, german.browser);
  check('a strict policy refuses nothing', refused, []);
  policy = null;
  if (engine === 'chromium') { // Without JavaScript or WebAssembly (as in Safari's Lockdown Mode)
    for (const [turnedOff, wanted] of [
      ['JavaScript', 'Kestrova needs JavaScript and WebAssembly, which this browser has turned off.'],
      ['WebAssembly', 'Kestrova needs WebAssembly, which this browser does not have or has turned off.']]) {
      const without = await german.page({broken: true});
      await (turnedOff === 'JavaScript' ? without.setJavaScriptEnabled(false)
        : without.evaluateOnNewDocument(() => delete globalThis.WebAssembly));
      await without.goto(address);
      check(`without ${turnedOff}, a plain line says so`, await without.waitForFunction(() =>
        document.getElementById('needs').innerText).then((line) => line.jsonValue()), wanted);
    }
  }
}

for (const folder of [...releases.slice(1), ...other]) await rm(folder, {recursive: true});
console.log(`${engine} ${await browser.version()}`);
for (const each of browsers) await each.close();
server.close();
console.log(failures.length ? `${failures.length} failed` : 'all as expected');
process.exit(failures.length ? 1 : 0);
