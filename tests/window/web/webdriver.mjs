// WebKitGTK (Safari's engine) through Debian's WebKitWebDriver and selenium-webdriver, shaped as
// the test's Puppeteer pages are: goto, evaluate, waitForFunction, keyboard, mouse, screenshot.
// Needs a display (the test runs under Xvfb).
import {spawnSync} from 'node:child_process';
import {existsSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {Builder, Key} from 'selenium-webdriver';
import {findFreePort} from 'selenium-webdriver/net/portprober.js';
import remote from 'selenium-webdriver/remote/index.js';

const key = (name) => Key[name.replace(/(?<=.)([A-Z])/g, '_$1').toUpperCase()] ?? name; // PageUp: PAGE_UP
const buttons = {left: 0, middle: 1, right: 2};

// A browser of its own per language: WebKit takes the language from the C library's locale,
// built here from Debian's locale sources (package locales) into a folder of its own.
export async function launchWebKit({locale = 'en-US', dark = false} = {}) {
  const language = locale.replace('-', '_'), locales = mkdtempSync(path.join(tmpdir(), 'locale-'));
  spawnSync('localedef', ['-i', language, '-f', 'UTF-8', path.join(locales, `${language}.UTF-8`)]);
  if (!existsSync(path.join(locales, `${language}.UTF-8`))) {
    throw new Error(`localedef could not build ${language}.UTF-8: is the package locales installed?`);
  }
  const port = await findFreePort();
  const service = new remote.DriverService('WebKitWebDriver', {port, args: [`--port=${port}`],
    hostname: '127.0.0.1', env: {...process.env, LOCPATH: locales, LANG: `${language}.UTF-8`, LANGUAGE: language,
    ...(dark && {GTK_THEME: 'Adwaita:dark'})}});
  const driver = await new Builder().usingServer(await service.start()).withCapabilities({
    browserName: 'MiniBrowser', pageLoadStrategy: 'none', 'webkitgtk:browserOptions': {
      binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation']}}).build();
  let current = await driver.getWindowHandle(), opened = false;
  const page = (handle) => {
    const on = async () => { // every call goes to this page's window
      if (current !== handle) await driver.switchTo().window(handle);
      current = handle;
    };
    const act = (build) => on().then(() => build(driver.actions({async: true})).perform());
    const move = (actions, x, y) => actions.move({x: Math.round(x), y: Math.round(y)});
    const self = {
      // Back once the new document is parsed, as Puppeteer's "domcontentloaded": a page that
      // waits for its program (a held-back file) is worked while that loads.
      goto: async (url) => {
        await self.evaluate(() => { window.left = true; });
        await (url ? driver.get(url) : driver.navigate().refresh());
        await self.waitForFunction(() => !window.left && document.readyState !== 'loading');
      },
      reload: () => self.goto(),
      bringToFront: () => {},
      close: () => on().then(() => driver.close()).then(() => { current = null; }),
      setViewport: async ({width, height}) => { // the window's size less its own toolbars
        const [w, h] = await self.evaluate(() => [innerWidth, innerHeight]);
        const rect = await driver.manage().window().getRect();
        await driver.manage().window().setRect({width: rect.width + width - w, height: rect.height + height - h});
      },
      evaluate: (fn, ...args) => on().then(() => driver.executeScript(`return (${fn})(...arguments)`, ...args)),
      waitForFunction: (fn, {timeout = 10000} = {}) => driver.wait(() => self.evaluate(fn).catch(() => false), timeout,
        `waited for ${fn}`),
      keyboard: {
        down: (name) => act((actions) => actions.keyDown(key(name))),
        up: (name) => act((actions) => actions.keyUp(key(name))),
        press: (name) => act((actions) => actions.keyDown(key(name)).keyUp(key(name))),
      },
      mouse: {
        move: (x, y) => act((actions) => move(actions, x, y)), // one move: the tuner follows wherever it lands
        down: ({button = 'left'} = {}) => act((actions) => actions.press(buttons[button])),
        up: ({button = 'left'} = {}) => act((actions) => actions.release(buttons[button])),
        click: (x, y, {button = 'left', delay = 0} = {}) =>
          act((actions) => move(actions, x, y).press(buttons[button]).pause(delay).release(buttons[button])),
      },
      screenshot: () => on().then(() => driver.takeScreenshot()).then((png) => Buffer.from(png, 'base64')),
    };
    return self;
  };
  return {
    process: () => ({kill: () => service.kill()}),
    version: async () => `WebKitGTK/${(await driver.getCapabilities()).get('browserVersion')}`,
    newPage: async () => { // the window the session opened, then new ones
      if (!opened) return (opened = true, page(current));
      await driver.switchTo().newWindow('window');
      return page(current = await driver.getWindowHandle());
    },
    close: async () => {
      await driver.quit().catch(() => {});
      await service.kill();
      rmSync(locales, {recursive: true});
    },
  };
}
