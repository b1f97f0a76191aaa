'use strict';
// Plays a book of the Velin-Reader on its 400 x 200 page, one display line a
// step, by the reader's own rules: twelve lines to a page, rows of at most
// 30 characters, the designated words' colours and pictures applied before a
// line is printed, the rows printed again over a new picture. Everything the
// book holds is data: it reaches the page only as text and picture sources.
(() => {
  const SvgNs = 'http://www.w3.org/2000/svg';
  const RowLeft = 10;
  const FirstRowTop = 15;
  const RowGap = 2;
  const PageLines = 12;
  const PageRowSlots = 31;
  // Every how many steps the whole state is kept, so that a step back costs
  // at most this many steps of replay, however long the book.
  const CheckpointEvery = 16;

  const book = JSON.parse(document.getElementById('book').textContent);
  const metrics = book.page;
  const lines = book.lines;
  const blank = { src: metrics.blank, alpha: false, pixelated: true, id: 'blank' };
  const pictures = book.pictures.map((p, i) => ({ src: p.src, alpha: p.alpha, pixelated: p.pixelated, id: String(i) }));
  // The designations that can apply, in slot order: a word and an entry.
  const words = book.words
    .filter((w) => w.word !== '' && w.entry !== '')
    .map((w) => ({
      word: w.word,
      colour: w.colour,
      picture: w.picture !== null && w.picture >= 0 ? pictures[w.picture] : null,
    }));
  // Where the lines of more than one row are cut.
  const cuts = new Map(book.rows.map((r) => [r[0], r.slice(1)]));

  const page = document.getElementById('page');
  const drawingLayer = document.getElementById('drawings');
  const title = document.getElementById('title');
  const spoken = document.getElementById('line');
  const playButton = document.getElementById('play');
  const rewindButton = document.getElementById('rewind');
  const autoMark = document.getElementById('auto');
  const bar = document.getElementById('bar');
  const filled = document.getElementById('filled');

  // ---- The rules: a state and the steps that change it ----

  // The page after a rewind: a blank page, the default colour, line 0.
  function rewound() {
    return {
      currentLine: 0,
      pageRowIndex: 0,
      pageLineCount: 0,
      pageRows: [],
      drawings: [{ picture: blank }],
      x: 0,
      y: FirstRowTop,
      colour: metrics.colour,
      pagePicture: blank,
      playEnabled: true,
      titleVisible: true,
      printed: '',
    };
  }

  function copy(state) {
    return Object.assign({}, state, { pageRows: state.pageRows.slice(), drawings: state.drawings.slice() });
  }

  function rowsOf(index, line) {
    const cut = cuts.get(index);
    if (cut === undefined) return [line];
    if (cut.length === 1) return [line.slice(0, cut[0]), line.slice(cut[0])];
    return [line.slice(0, cut[0]), line.slice(cut[0], cut[0] + cut[1]), line.slice(cut[0] + cut[1])];
  }

  // Draws a row at the print position, then moves to the next text line.
  function print(state, text) {
    if (text !== '') state.drawings.push({ text, x: state.x, y: state.y + metrics.ascent, colour: state.colour });
    state.x = 0;
    state.y += metrics.lineHeight;
  }

  // A picture over the whole page; an opaque one hides all that lay below.
  function paint(state, picture) {
    if (!picture.alpha) state.drawings = [];
    state.drawings.push({ picture });
  }

  function clearPage(state) {
    state.drawings = [{ picture: blank }];
    state.x = 0;
    state.y = 0;
  }

  function apply(state, word) {
    if (word.colour !== null) state.colour = word.colour;
    if (word.picture === null) return;
    state.pagePicture = word.picture;
    paint(state, word.picture);
    state.x = RowLeft;
    state.y = FirstRowTop;
    for (let r = 0; r < state.pageRowIndex; r++) {
      state.y += RowGap;
      state.x = RowLeft;
      print(state, state.pageRows[r]);
    }
  }

  function printLine(state, line, rows) {
    state.printed = line;
    state.x = RowLeft;
    if (rows.length === 1) state.y += RowGap;
    rows.forEach((row, i) => {
      if (i > 0) {
        state.x = RowLeft;
        state.pageRowIndex++;
      }
      print(state, row);
      state.pageRows[state.pageRowIndex] = row;
    });
  }

  // One play step; false when there is no text to play.
  function step(state) {
    if (book.lineCount === 0 || lines.length === 0) return false;
    const lastLine = lines.length - 1;
    if (state.currentLine > lastLine) state.currentLine = lastLine;
    state.titleVisible = false;
    const line = lines[state.currentLine];
    for (const word of words) if (line.includes(word.word)) apply(state, word);
    state.x = RowLeft;
    const rows = rowsOf(state.currentLine, line);
    if (state.pageLineCount >= PageLines || state.pageRowIndex + rows.length > PageRowSlots) {
      clearPage(state);
      state.y = FirstRowTop;
      paint(state, state.pagePicture);
      state.pageLineCount = 0;
      state.pageRowIndex = 0;
    }
    printLine(state, line, rows);
    state.pageRowIndex++;
    state.pageLineCount++;
    if (state.currentLine >= book.lineCount || state.currentLine >= lastLine) state.playEnabled = false;
    else state.currentLine++;
    return true;
  }

  // ---- The player: the page after `steps` steps ----

  // The steps of the book: one a display line up to the last that plays.
  const totalSteps = book.lineCount === 0 || lines.length === 0 ? 0 : Math.min(book.lineCount, lines.length - 1) + 1;
  const checkpoints = [rewound()];
  let state = copy(checkpoints[0]);
  let steps = 0;

  // The page after `target` steps, played from the nearest kept state
  // before it; the states passed on the way are kept too.
  function stateAt(target) {
    let base = Math.min(Math.floor(target / CheckpointEvery), checkpoints.length - 1);
    const replayed = copy(checkpoints[base]);
    for (let n = base * CheckpointEvery; n < target; n++) {
      step(replayed);
      if ((n + 1) % CheckpointEvery === 0 && checkpoints[(n + 1) / CheckpointEvery] === undefined)
        checkpoints[(n + 1) / CheckpointEvery] = copy(replayed);
    }
    return replayed;
  }

  function goTo(target) {
    target = Math.max(0, Math.min(totalSteps, Math.round(target)));
    if (target === steps) return;
    state = stateAt(target);
    steps = target;
    show();
  }

  function playForward() {
    if (!state.playEnabled || !step(state)) return;
    steps++;
    if (steps % CheckpointEvery === 0 && checkpoints[steps / CheckpointEvery] === undefined)
      checkpoints[steps / CheckpointEvery] = copy(state);
    show();
  }

  // The page after one step fewer, exactly as playing from the start gives it.
  function stepBack() {
    if (steps === 0) return;
    const target = steps - 1;
    const base = Math.floor(target / CheckpointEvery);
    const replayed = copy(checkpoints[base]);
    for (let n = base * CheckpointEvery; n < target; n++) step(replayed);
    state = replayed;
    steps = target;
    show();
  }

  function rewind() {
    state = copy(checkpoints[0]);
    steps = 0;
    show();
  }

  // ---- Showing the state ----

  let shown = [];

  function elementOf(drawing) {
    if (drawing.picture !== undefined) {
      const image = document.createElementNS(SvgNs, 'image');
      image.setAttribute('href', drawing.picture.src);
      image.setAttribute('x', '0');
      image.setAttribute('y', '0');
      image.setAttribute('width', '400');
      image.setAttribute('height', '200');
      image.setAttribute('preserveAspectRatio', 'none');
      image.setAttribute('data-picture', drawing.picture.id);
      if (drawing.picture.pixelated) image.setAttribute('class', 'pixelated');
      return image;
    }
    const text = document.createElementNS(SvgNs, 'text');
    text.setAttribute('x', String(drawing.x));
    text.setAttribute('y', String(drawing.y));
    text.setAttribute('fill', drawing.colour);
    text.textContent = drawing.text;
    return text;
  }

  function show() {
    // Only what changed is drawn again: drawings are never changed, only
    // added or dropped, so the common start stays on the page.
    const drawings = state.drawings;
    let same = 0;
    while (same < shown.length && same < drawings.length && shown[same] === drawings[same]) same++;
    while (drawingLayer.childNodes.length > same) drawingLayer.lastChild.remove();
    for (let i = same; i < drawings.length; i++) drawingLayer.appendChild(elementOf(drawings[i]));
    shown = drawings.slice();

    title.setAttribute('visibility', state.titleVisible ? 'visible' : 'hidden');
    if (spoken.textContent !== state.printed) spoken.textContent = state.printed;
    playButton.disabled = !state.playEnabled;
    page.setAttribute('data-steps', String(steps));
    filled.style.width = totalSteps === 0 ? '0' : (100 * steps) / totalSteps + '%';
    bar.setAttribute('aria-valuenow', String(steps));
    bar.setAttribute('aria-valuetext', steps + ' / ' + totalSteps + ' 行');
    keepPlace();
  }

  // ---- The place reached, kept in the browser under the book's key ----

  const placeKey = 'velin-reader-place:' + book.key;

  function keepPlace() {
    try {
      if (steps === 0) localStorage.removeItem(placeKey);
      else localStorage.setItem(placeKey, String(steps));
    } catch (e) {
      // No storage (a private window, say): the page just starts at the title.
    }
  }

  function keptPlace() {
    try {
      const kept = Number.parseInt(localStorage.getItem(placeKey) || '0', 10);
      return Number.isInteger(kept) && kept > 0 ? Math.min(kept, totalSteps) : 0;
    } catch (e) {
      return 0;
    }
  }

  // The title over the page, cut with "…" at the page frame like the reader's.
  function showTitle() {
    title.setAttribute('x', String(metrics.titleLeft));
    title.setAttribute('y', String(metrics.titleTop + metrics.titleAscent));
    title.setAttribute('fill', metrics.colour);
    title.textContent = book.title;
    const room = metrics.titleRight - metrics.titleLeft;
    if (title.getComputedTextLength() <= room) return;
    const chars = Array.from(book.title);
    let low = 0;
    let high = chars.length;
    while (low < high) {
      const middle = Math.ceil((low + high) / 2);
      title.textContent = chars.slice(0, middle).join('') + '…';
      if (title.getComputedTextLength() <= room) low = middle;
      else high = middle - 1;
    }
    title.textContent = chars.slice(0, low).join('') + '…';
  }

  // ---- Auto-play: the next line after 1.0 s + 70 ms a character of the last ----

  let autoTimer = 0;

  function stopAuto() {
    if (autoTimer !== 0) clearTimeout(autoTimer);
    autoTimer = 0;
    autoMark.hidden = true;
  }

  function scheduleAuto() {
    autoTimer = setTimeout(() => {
      playForward();
      if (state.playEnabled) scheduleAuto();
      else stopAuto();
    }, 1000 + 70 * state.printed.length);
  }

  function toggleAuto() {
    if (autoTimer !== 0) {
      stopAuto();
    } else if (state.playEnabled && book.lineCount !== 0) {
      autoMark.hidden = false;
      scheduleAuto();
    }
  }

  // What the user asks for stops auto-play first.
  function userPlay() {
    stopAuto();
    playForward();
  }
  function userBack() {
    stopAuto();
    stepBack();
  }
  function userRewind() {
    stopAuto();
    rewind();
  }

  // ---- Keys, pointer, wheel and buttons, as in the reader ----

  document.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    // A focused button takes Space and Enter itself, as a push button does.
    const onButton = event.target instanceof HTMLButtonElement;
    switch (event.key) {
      case ' ':
      case 'Enter':
        if (onButton) return;
        event.preventDefault();
        userPlay();
        break;
      case 'ArrowRight':
      case 'ArrowDown':
      case 'PageDown':
        event.preventDefault();
        userPlay();
        break;
      case 'ArrowLeft':
      case 'ArrowUp':
      case 'PageUp':
      case 'Backspace':
        event.preventDefault();
        userBack();
        break;
      case 'Home':
        event.preventDefault();
        userRewind();
        break;
      case 'a':
      case 'A':
        event.preventDefault();
        toggleAuto();
        break;
      default:
        break;
    }
  });

  page.addEventListener('click', (event) => {
    if (event.button === 0) userPlay();
  });

  // One line a notch of a mouse wheel; the small steps of a touchpad add up
  // to notches.
  const NotchPixels = 100;
  let wheelRest = 0;
  document.addEventListener(
    'wheel',
    (event) => {
      if (event.ctrlKey) return; // the browser's own zoom
      event.preventDefault();
      let notches;
      if (event.deltaMode === WheelEvent.DOM_DELTA_LINE) notches = event.deltaY / 3;
      else if (event.deltaMode === WheelEvent.DOM_DELTA_PAGE) notches = event.deltaY;
      else if (Math.abs(event.deltaY) >= NotchPixels / 2)
        notches = Math.sign(event.deltaY) * Math.max(1, Math.round(Math.abs(event.deltaY) / NotchPixels));
      else notches = event.deltaY / NotchPixels;
      if (Math.sign(notches) !== Math.sign(wheelRest)) wheelRest = 0;
      wheelRest += notches;
      while (wheelRest >= 1 - 1e-9) {
        wheelRest -= 1;
        userPlay();
      }
      while (wheelRest <= -1 + 1e-9) {
        wheelRest += 1;
        userBack();
      }
    },
    { passive: false }
  );

  // The position bar: a click (or a drag) goes to the step at that share
  // of the bar, as the reader's own bar does.
  function seek(event) {
    const box = bar.getBoundingClientRect();
    const style = getComputedStyle(bar);
    const left = box.left + parseFloat(style.borderLeftWidth) + parseFloat(style.paddingLeft);
    const inner = Math.max(1, bar.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight));
    const share = Math.max(0, Math.min(1, (event.clientX - left) / inner));
    stopAuto();
    goTo(share * totalSteps);
  }
  bar.addEventListener('pointerdown', (event) => {
    if (event.button !== 0 || totalSteps === 0) return;
    bar.setPointerCapture(event.pointerId);
    seek(event);
  });
  bar.addEventListener('pointermove', (event) => {
    if (bar.hasPointerCapture(event.pointerId)) seek(event);
  });

  playButton.addEventListener('click', userPlay);
  rewindButton.addEventListener('click', userRewind);

  document.title = book.title;
  bar.setAttribute('aria-valuemax', String(totalSteps));
  showTitle();
  // A reload goes on where the book was left.
  const kept = keptPlace();
  if (kept > 0) {
    state = stateAt(kept);
    steps = kept;
  }
  show();
  performance.mark('velin-first-page');
})();
