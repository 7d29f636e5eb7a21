// The page's side of the web binding: Form1's controls, written into the page by page_html.cpp,
// and the keys, pointer and arrows of a Windows scroll bar on the tuner. main.cpp decides what
// they show.
mergeInto(LibraryManager.library, {
  $kestrova: {controls: []},
  kestrovaAdopt__deps: ['$kestrova', 'kestrovaTuner'],
  kestrovaAdopt: function (index, kind, name) {
    // The page holds the window as the build wrote it; the program takes its controls over.
    const element = document.getElementById(UTF8ToString(name));
    if (kind === 1) _kestrovaTuner(element);
    if (kind === 2) element.addEventListener('change', () => Module['_Combo1_Click']());
    if (kind === 1 || kind === 2) element.disabled = false;
    kestrova.controls[index] = element;
  },
  kestrovaTuner__deps: ['$kestrova'],
  kestrovaTuner: function (element) {
    // The range input keeps a scroll bar's role, value and keyboard focus; its keys and its
    // pointer are a Windows scroll bar's: Left and Up lower, a press beside the thumb pages, an
    // arrow steps and repeats while held.
    const move = (value, procedure) => {
      const clamped = Math.min(Math.max(value, +element.min), +element.max);
      if (clamped !== element.valueAsNumber || procedure === '_HScroll1_Change') {
        element.value = clamped;
        Module[procedure]();
      }
    };
    const keys = {ArrowLeft: -1, ArrowUp: -1, ArrowRight: 1, ArrowDown: 1};
    element.addEventListener('keydown', (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey) return; // the browser's: Alt+Left is Back
      const small = kestrova.smallChange, large = kestrova.largeChange, value = element.valueAsNumber;
      const to = event.key in keys ? value + keys[event.key] * small
        : event.key === 'PageUp' ? value - large : event.key === 'PageDown' ? value + large
        : event.key === 'Home' ? +element.min : event.key === 'End' ? +element.max : null;
      if (to !== null) {
        event.preventDefault();
        move(to, '_HScroll1_Change');
      }
    });
    const at = (event) => { // the pointer's value, and whether it is on the thumb
      const thumb = parseFloat(getComputedStyle(element).getPropertyValue('--grip')); // style.css's
      const box = element.getBoundingClientRect();
      const x = (event.clientX - box.left) * element.offsetWidth / box.width - element.clientLeft;
      const span = +element.max - +element.min;
      const travel = element.clientWidth - thumb;
      const centre = thumb / 2 + (element.valueAsNumber - element.min) / (span || 1) * travel;
      return {onThumb: Math.abs(x - centre) <= thumb / 2, before: x < centre,
              value: Math.round(+element.min + (x - thumb / 2) / travel * span)};
    };
    let grip = null; // where on the thumb the drag took it
    element.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return; // the primary button, a finger or a pen
      event.preventDefault();
      element.focus();
      const where = at(event);
      if (where.onThumb) {
        grip = where.value - element.valueAsNumber;
        element.setPointerCapture(event.pointerId);
      } else {
        move(element.valueAsNumber + (where.before ? -1 : 1) * kestrova.largeChange,
             '_HScroll1_Change');
      }
    });
    element.addEventListener('pointermove', (event) => {
      if (grip !== null) move(at(event).value - grip, '_HScroll1_Scroll');
    });
    const release = () => {
      if (grip !== null) {
        grip = null;
        move(element.valueAsNumber, '_HScroll1_Change');
      }
    };
    element.addEventListener('pointerup', release);
    element.addEventListener('pointercancel', release);
    // No gesture of the browser's own moves it; should one ever, the displays follow.
    element.addEventListener('touchstart', (event) => event.preventDefault(), {passive: false});
    // The arrows: a step at once, then, held, again after 200 ms and every 50 ms, as Windows'
    // scroll bar arrows repeat. They take no focus; the tuner keeps it.
    // (No destructuring here: Emscripten's minifier garbles it.)
    [-1, 1].forEach((direction) => {
      const arrow = direction < 0 ? element.previousElementSibling : element.nextElementSibling;
      let timer = 0;
      const stop = () => clearTimeout(timer);
      const step = (delay) => {
        move(element.valueAsNumber + direction * kestrova.smallChange, '_HScroll1_Change');
        timer = setTimeout(() => step(50), delay);
      };
      arrow.addEventListener('pointerdown', (event) => {
        if (event.button !== 0) return;
        event.preventDefault();
        element.focus();
        arrow.setPointerCapture(event.pointerId);
        stop();
        step(200);
      });
      ['pointerup', 'pointercancel', 'lostpointercapture'].forEach((end) =>
        arrow.addEventListener(end, stop));
      arrow.addEventListener('touchstart', (event) => event.preventDefault(), {passive: false});
    });
    element.addEventListener('input', () => Module['_HScroll1_Scroll']());
    element.addEventListener('change', () => Module['_HScroll1_Change']());
  },
  kestrovaFocus: function (index) { kestrova.controls[index].focus(); },
  kestrovaClear: function (index) { kestrova.controls[index].length = 0; },
  kestrovaAddItem: function (index, text, position) {
    kestrova.controls[index].add(new Option(UTF8ToString(text)), position);
  },
  kestrovaListIndex: function (index) { return kestrova.controls[index].selectedIndex; },
  kestrovaSetListIndex: function (index, position) {
    kestrova.controls[index].selectedIndex = position;
  },
  kestrovaSetRange: function (index, min, max, smallChange, largeChange) {
    Object.assign(kestrova, {smallChange: smallChange, largeChange: largeChange});
    const tuner = kestrova.controls[index];
    tuner.min = min; // the browser keeps the value inside the range, as a scroll bar does
    tuner.max = max;
  },
  kestrovaValue: function (index) { return kestrova.controls[index].valueAsNumber; },
  kestrovaSetCaption: function (index, caption, heard) {
    const label = kestrova.controls[index];
    label.firstChild.textContent = UTF8ToString(caption);
    label.lastChild.textContent = UTF8ToString(heard);
  },
  kestrovaSetValueText: function (index, text) {
    kestrova.controls[index].setAttribute('aria-valuetext', UTF8ToString(text));
  },
  kestrovaDecimalSeparator: function (buffer, size) { // as index.html reads it
    stringToUTF8(Module.separator, buffer, size);
  },
});
