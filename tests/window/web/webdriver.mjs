// WebKitGTK (Safari's engine) through Debian's WebKitWebDriver, with the few calls of W3C
// WebDriver the browser test needs, made with Node.js's own fetch and shaped as the test's
// Puppeteer pages are: goto, evaluate, waitForFunction, keyboard, mouse, screenshot.
// Needs a display (the test runs under Xvfb).
import {spawn, spawnSync} from 'node:child_process';
import {existsSync, mkdtempSync, rmSync} from 'node:fs';
import {createServer} from 'node:net';
import {tmpdir} from 'node:os';
import path from 'node:path';

const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
// WebDriver's code points for the keys the test presses.
const keyCodes = {ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
                  PageUp: '\uE00E', PageDown: '\uE00F', Home: '\uE011', End: '\uE010',
                  Tab: '\uE004', Shift: '\uE008'};
const buttons = {left: 0, middle: 1, right: 2};

const freePort = () => new Promise((resolve) => {
  const server = createServer().listen(0, '127.0.0.1', () => {
    const {port} = server.address();
    server.close(() => resolve(port));
  });
});

// A browser of its own per language: WebKit takes the language from the C library's locale,
// built here from Debian's locale sources (package locales) into a folder of its own.
export async function launchWebKit({locale = 'en-US'} = {}) {
  const port = await freePort();
  const language = locale.replace('-', '_'), locales = mkdtempSync(path.join(tmpdir(), 'locale-'));
  spawnSync('localedef', ['-i', language, '-f', 'UTF-8', path.join(locales, `${language}.UTF-8`)]);
  if (!existsSync(path.join(locales, `${language}.UTF-8`))) {
    throw new Error(`localedef could not build ${language}.UTF-8: is the package locales installed?`);
  }
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore',
    env: {...process.env, LOCPATH: locales, LANG: `${language}.UTF-8`, LANGUAGE: language}});
  const address = `http://127.0.0.1:${port}`;
  const call = async (method, path, body) => {
    const response = await fetch(address + path, {method, body: body && JSON.stringify(body),
                                                   headers: {'Content-Type': 'application/json'}});
    const {value} = await response.json();
    if (value?.error) throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}`);
    return value;
  };
  for (let tries = 0; ; ++tries) { // until the driver listens
    if (await call('GET', '/status').then(() => true, () => false)) break;
    if (tries > 100) throw new Error('WebKitWebDriver did not start');
    await new Promise((wait) => setTimeout(wait, 50));
  }
  const {sessionId, capabilities} = await call('POST', '/session', {capabilities: {alwaysMatch: {
    browserName: 'MiniBrowser', 'webkitgtk:browserOptions': {binary: miniBrowser, args: ['--automation']}}}});
  const session = (method, path, body) => call(method, `/session/${sessionId}${path}`, body);
  const first = await session('GET', '/window');
  const actions = (source) => session('POST', '/actions', {actions: [source]});
  const pointer = (steps) => actions({type: 'pointer', id: 'mouse', parameters: {pointerType: 'mouse'},
                                      actions: steps});
  let at = {x: 0, y: 0}, opened = false, current = first;
  const page = (handle) => {
    // Every call goes to the session's current window: first to this page's.
    const to = (call) => async (...args) => {
      if (current !== handle) await session('POST', '/window', {handle});
      current = handle;
      return call(...args);
    };
    const calls = {
      goto: (url) => session('POST', '/url', {url}),
      reload: () => session('POST', '/refresh', {}),
      bringToFront: () => {},
      close: async () => {
        await session('DELETE', '/window');
        current = null;
      },
      setViewport: async ({width, height}) => { // the window's size less its own toolbars
        const inner = () => session('POST', '/execute/sync', {script: 'return [innerWidth, innerHeight]', args: []});
        const [w, h] = await inner(), rect = await session('GET', '/window/rect');
        await session('POST', '/window/rect', {width: rect.width + width - w, height: rect.height + height - h});
      },
      evaluate: async (fn, ...args) => {
        const {ok, error} = await session('POST', '/execute/async', {args, script:
          `const done = arguments[arguments.length - 1];
           Promise.resolve().then(() => (${fn})(...[...arguments].slice(0, -1)))
             .then((ok) => done({ok}), (error) => done({error: String(error)}));`});
        if (error) throw new Error(error);
        return ok;
      },
      waitForFunction: async (fn, {timeout = 10000} = {}) => {
        for (const end = Date.now() + timeout; ; await new Promise((wait) => setTimeout(wait, 50))) {
          if (await calls.evaluate(fn).catch(() => false)) return;
          if (Date.now() > end) throw new Error(`waited ${timeout} ms for ${fn}`);
        }
      },
      keyboard: {press: (key) => actions({type: 'key', id: 'keys', actions: key.split('+')
        .flatMap((k) => [{type: 'keyDown', value: keyCodes[k] ?? k}])
        .concat(key.split('+').reverse().map((k) => ({type: 'keyUp', value: keyCodes[k] ?? k})))})},
      mouse: {
        move: (x, y, {steps = 1} = {}) => {
          const from = at;
          at = {x, y};
          return pointer(Array.from({length: steps}, (_, i) => ({type: 'pointerMove', origin: 'viewport',
            x: Math.round(from.x + (x - from.x) * (i + 1) / steps), y: Math.round(from.y + (y - from.y) * (i + 1) / steps)})));
        },
        down: ({button = 'left'} = {}) => pointer([{type: 'pointerDown', button: buttons[button]}]),
        up: ({button = 'left'} = {}) => pointer([{type: 'pointerUp', button: buttons[button]}]),
        click: (x, y, {button = 'left', delay = 0} = {}) => {
          at = {x, y};
          return pointer([{type: 'pointerMove', origin: 'viewport', x: Math.round(x), y: Math.round(y)},
            {type: 'pointerDown', button: buttons[button]}, {type: 'pause', duration: delay},
            {type: 'pointerUp', button: buttons[button]}]);
        },
      },
      screenshot: async () => Buffer.from(await session('GET', '/screenshot'), 'base64'),
    };
    const wrap = (object) => Object.fromEntries(Object.entries(object).map(([name, value]) =>
      [name, typeof value === 'function' ? to(value) : wrap(value)]));
    return wrap(calls);
  };
  return {
    process: () => driver,
    version: async () => `WebKitGTK/${capabilities.browserVersion}`,
    newPage: async () => { // the window the session opened, then new ones
      if (!opened) {
        opened = true;
        return page(first);
      }
      const {handle} = await session('POST', '/window/new', {type: 'tab'});
      return page(handle);
    },
    close: async () => {
      await session('DELETE', '').catch(() => {});
      driver.kill();
      rmSync(locales, {recursive: true});
    },
  };
}
