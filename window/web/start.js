// The page's own start, run before the first frame and before the program: what the program
// asks of the page (its decimal separator, what to say when it cannot run), the window fitted
// to the screen, and the worker that keeps the page offline. A file of its own, so that a strict
// Content-Security-Policy ("script-src 'self' 'wasm-unsafe-eval'") lets the page run.
var Module = globalThis.Module = {
  separator: '.',
  // The program's one file, named by its content: index.html preloads it by that name.
  locateFile: function () { return document.querySelector('link[rel=preload]').href; },
  onAbort: function () {
    document.getElementById('Form1').classList.add('unavailable');
    document.getElementById('needs').textContent = typeof WebAssembly === 'object'
      ? 'Kestrova could not load its program file. Check the connection and reload the page.'
      : 'Kestrova needs WebAssembly, which this browser does not have or has turned off.';
  },
};
// Languages whose decimal separator is "." (the browser test checks each against every
// engine's own number formats): for them the window the build wrote is right as it stands, and
// the first frame does not wait the tens of ms the browser's number formats take to start.
Module.pointLanguages = ['en', 'en-US', 'en-GB', 'en-AU', 'en-CA', 'en-IE', 'en-IN', 'en-NZ',
                         'ja', 'ja-JP', 'zh', 'zh-CN', 'zh-TW', 'zh-HK', 'ko', 'ko-KR', 'he',
                         'he-IL', 'th', 'th-TH', 'hi', 'hi-IN'];
// The decimal separator of the browser's language, "." where it is unknown.
function readSeparator() {
  try { // a language the browser does not know would take its own default's separator
    var language = navigator.language;
    var known = Module.pointLanguages.indexOf(language) < 0 &&
      Intl.NumberFormat.supportedLocalesOf([language]).length > 0;
    var part = known && new Intl.NumberFormat(language).formatToParts(1.5)
      .find(function (p) { return p.type === 'decimal'; });
    Module.separator = part ? part.value : '.';
  } catch (unknownLanguage) {
    Module.separator = '.';
  }
}
readSeparator();
// The window was written with "." in its displays: the first frame shows the user's own, and
// until the program runs, the displays follow a change of language here.
var written = '.';
function showSeparator() {
  document.querySelectorAll('#Label1 span, #Label2 span').forEach(function (span) {
    span.textContent = span.textContent.replace(written, Module.separator);
  });
  written = Module.separator;
}
showSeparator();
addEventListener('languagechange', function () {
  readSeparator();
  if (Module.calledRun) Module._HScroll1_Change(); // the displays take it at once
  else showSeparator();
});
// The program's file did not arrive: said where the program would have said it.
// (Listened for before its element exists: Firefox reports a failed fetch as soon as it fails.)
addEventListener('error', function (event) {
  if (event.target.src && /\/kestrova\.\w+\.js$/.test(event.target.src)) Module.onAbort();
}, true);
if (typeof WebAssembly !== 'object') Module.onAbort(); // the program's own file cannot say so
// The whole window as one picture in the middle of the screen, never re-flowed: scaled down to
// fit a small screen, and on a touch screen up to fill the side that limits it. With a mouse it
// keeps its size, as a desktop window does, unless the user zooms.
var touch = matchMedia('(pointer: coarse)');
function fit() {
  var frame = document.getElementById('frame'), root = document.documentElement;
  var scale = Math.min(root.clientWidth / frame.offsetWidth, root.clientHeight / frame.offsetHeight);
  if (!touch.matches) scale = Math.min(1, scale);
  frame.style.transform = scale !== 1 ? 'scale(' + scale + ')' : '';
}
touch.addEventListener('change', fit);
addEventListener('resize', fit);
fit();
// Once the page has loaded, so that a first visit's storing does not compete with it; where it
// cannot be reached (offline), the stored copy serves.
addEventListener('load', function () {
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(function () {});
});
