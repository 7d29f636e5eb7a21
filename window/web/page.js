// The page's side of the web binding: native elements for Form1's controls, and the keys and
// pointer of a Windows scroll bar on the tuner. main.cpp decides what they show.
mergeInto(LibraryManager.library, {
  $kestrova: {controls: []},
  kestrovaCreate__deps: ['$kestrova', 'kestrovaTuner'],
  kestrovaCreate: function (index, kind, name, left, top, width, height, text, font, points, bold,
                           textColour, background, display, accessibleName) {
    const twips = (t) => t / 15 + 'px'; // 96 CSS pixels to the inch
    const colour = (c) => '#' + c.toString(16).padStart(6, '0');
    const tags = ['div', 'input', 'select', 'img'];
    const element = document.createElement(tags[kind]);
    element.id = UTF8ToString(name);
    Object.assign(element.style, {left: twips(left), top: twips(top), width: twips(width),
                                  height: twips(height), font: (bold ? 'bold ' : '') + points +
                                  'pt ' + UTF8ToString(font)});
    const label = UTF8ToString(accessibleName);
    if (kind === 0) { // a label: what it shows, and a line a screen reader reads instead
      element.innerHTML = '<span aria-hidden="true"></span><span class="heard"></span>';
      element.firstChild.textContent = UTF8ToString(text);
      element.lastChild.textContent = label ? '' : UTF8ToString(text);
      if (display) {
        element.className = 'display';
        Object.assign(element.style, {color: colour(textColour), background: colour(background)});
      }
    } else if (kind === 1) {
      _kestrovaTuner(element, label);
    } else if (kind === 2) {
      element.setAttribute('aria-label', label);
      element.addEventListener('change', () => Module['_Combo1_Click']());
    } else {
      element.src = 'icons/kestrova-64.png';
      element.srcset = 'icons/kestrova-128.png 2x';
      element.alt = '';
    }
    document.getElementById('Form1').appendChild(element);
    kestrova.controls[index] = element;
  },
  kestrovaTuner__deps: ['$kestrova'],
  kestrovaTuner: function (element, label) {
    // The range input keeps a scroll bar's role, value and keyboard focus; its keys and its
    // pointer are a Windows scroll bar's: Left and Up lower, a press beside the thumb pages.
    element.type = 'range';
    Object.assign(element, {min: 0, max: 0, value: 0}); // a range's own start is its middle
    element.setAttribute('aria-label', label);
    element.setAttribute('aria-orientation', 'horizontal');
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
    const thumb = 17; // the thumb's width in CSS pixels, as style.css draws it
    const at = (event) => { // the pointer's value, and whether it is on the thumb
      const box = element.getBoundingClientRect();
      const x = (event.clientX - box.left) * element.offsetWidth / box.width;
      const span = +element.max - +element.min;
      const travel = element.offsetWidth - thumb;
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
  kestrovaBackground: function () {
    const rgb = getComputedStyle(document.getElementById('Form1')).backgroundColor.match(/\d+/g);
    return rgb[0] << 16 | rgb[1] << 8 | rgb[2];
  },
  kestrovaSetTextColour: function (index, colour) {
    kestrova.controls[index].style.color = '#' + colour.toString(16).padStart(6, '0');
  },
});
