// zentavo.js - the page's commands, run by the window program's own core compiled to
// WebAssembly (zentavo-core.js): open, show, scroll, record, font, help, about and exit.
'use strict';
(() => {
  const TEMPLATE_PATH = '/template';
  const TRANSCRIPT_PATH = '/transcript.txt';
  const FONT_KEY = 'zentavo.font';
  const UNSAVED_KEY = 'zentavo.unsavedTranscript';
  const MSG_INTERNAL_ERROR =
    '内部エラーが発生しました。最後に読み込んだテンプレートを読み込み直したので、このまま続けられます。';
  const MSG_RECORDING_SAVED = '保存中だった記録は、そこまでの内容をファイルにしました。';
  const MSG_EXITED = '終了しました。このタブは閉じてかまいません。';
  // The font choices: a generic face each, Japanese faces first so every character is there.
  const FACES = {
    'sans-serif': '"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Hiragino Sans", "Meiryo", sans-serif',
    serif: '"IPAPMincho", "IPAMincho", "Noto Serif CJK JP", "Hiragino Mincho ProN", serif',
    monospace: '"IPAGothic", "Noto Sans Mono CJK JP", "MS Gothic", monospace',
  };

  const $ = (selector) => document.querySelector(selector);
  const decoder = new TextDecoder('shift_jis');
  const view = $('#view');
  const news = $('#news');

  // ?elapsed=MS seeds the i-th news text (from 0) with MS+i milliseconds, as zentavo-cli
  // --elapsed does, so a session can be repeated exactly; without it the clock seeds them.
  const elapsedParameter = new URLSearchParams(location.search).get('elapsed');
  const fixedElapsed = /^\d+$/.test(elapsedParameter || '') ? Number(elapsedParameter) : null;
  let showCount = 0;

  let core = null; // the running module; null while it starts
  let lastTemplate = null; // { name, bytes } of the template that loaded last
  let templateLoaded = false;
  let chosenName = ''; // the file chosen last, which names the transcript
  let recording = null; // { name, chunks, length } while recording
  const warnings = [];

  // ---- The core ----

  // Starts a module; the body's data-ready attribute says when it has taken over.
  function startCore() {
    core = null;
    document.body.removeAttribute('data-ready');
    return createZentavoCore({
      onWarning: (pointer) => showWarning(decoder.decode(bytesAt(pointer))),
      onRecordingMark: (on) => (on ? setRecordMark(true) : finishRecording()),
    }).then((module) => {
      core = module;
      core._WebStart();
      document.body.setAttribute('data-ready', '');
    });
  }

  // A copy of the zero-terminated bytes at pointer in the module's memory.
  function bytesAt(pointer) {
    const end = core.HEAPU8.indexOf(0, pointer);
    return core.HEAPU8.slice(pointer, end);
  }

  // Runs work(core) and returns its result. A trap inside the core (or any fault of the
  // module) must not leave the page dead: what was recorded is offered as a file, the user
  // is told, and a fresh module takes over with the last template loaded again.
  function callCore(work) {
    if (!core) return 0;
    try {
      const result = work(core);
      readTranscript();
      return result;
    } catch (error) {
      console.error(error);
      recoverFromTrap();
      return 0;
    }
  }

  function recoverFromTrap() {
    try {
      readTranscript();
    } catch (error) {
      console.error(error);
    }
    const wasRecording = Boolean(recording);
    finishRecording();
    showWarning(MSG_INTERNAL_ERROR + (wasRecording ? MSG_RECORDING_SAVED : ''));
    startCore().then(() => {
      if (lastTemplate) callCore(() => loadTemplate(lastTemplate.bytes));
    });
  }

  // Loads bytes as a template through the core's loader. Returns 1 when it loaded.
  function loadTemplate(bytes) {
    core.FS.writeFile(TEMPLATE_PATH, bytes);
    const loaded = core.ccall('WebOpenTemplate', 'number', ['string'], [TEMPLATE_PATH]);
    core.FS.unlink(TEMPLATE_PATH);
    return loaded;
  }

  // ---- Commands ----

  function openTemplate(name, bytes) {
    chosenName = name;
    if (!callCore(() => loadTemplate(bytes))) return;
    lastTemplate = { name, bytes };
    templateLoaded = true;
    const title = decoder.decode(bytesAt(core._WebTitle()));
    $('#title').textContent = title;
    document.title = `${title} - Zentavo`;
    setCommandEnabled('show', true);
  }

  function openFile(file) {
    if (file) file.arrayBuffer().then((buffer) => openTemplate(file.name, new Uint8Array(buffer)));
  }

  function openSample(url) {
    fetch(url)
      .then((response) => {
        if (!response.ok) throw new Error(`${url}: ${response.status}`);
        return response.arrayBuffer();
      })
      .then((buffer) => openTemplate(url.split('/').pop(), new Uint8Array(buffer)))
      .catch((error) => showWarning(`見本を読み込めません (${error.message})`));
  }

  function showNews() {
    if (!templateLoaded) return;
    const seeded = fixedElapsed !== null;
    const elapsed = seeded ? (fixedElapsed + showCount++) % 2 ** 32 : 0;
    if (!callCore((module) => module._WebShowNews(seeded ? 1 : 0, elapsed))) return;
    $('#start').hidden = true;
    news.textContent = decoder.decode(bytesAt(core._WebNewsText()));
    view.scrollTop = 0;
  }

  // Scrolls the view by whole lines of the news font, as the window's up and down do.
  function scrollLines(count) {
    const line = parseFloat(getComputedStyle(news).lineHeight) || 16;
    view.scrollTop = (Math.round(view.scrollTop / line) + count) * line;
  }

  function toggleRecording() {
    if (recording) {
      callCore((module) => module._WebStopRecording());
      return;
    }
    recording = { name: transcriptName(chosenName), chunks: [], length: 0 };
    if (!callCore((module) => module.ccall('WebStartRecording', 'number', ['string'], [TRANSCRIPT_PATH])))
      recording = null;
  }

  // The name the transcript is offered under: the template's file name with "txt" for its
  // extension, as the window program proposes it.
  function transcriptName(templateName) {
    if (!templateName) return 'zentavo.txt';
    const dot = templateName.lastIndexOf('.');
    return (dot > 0 ? templateName.slice(0, dot) : templateName) + '.txt';
  }

  // Copies what the core wrote to the transcript since the last call into the page, so the
  // recording survives a trap of the module.
  function readTranscript() {
    if (!recording || !core) return;
    const stream = core.FS.open(TRANSCRIPT_PATH, 'r');
    try {
      const size = core.FS.stat(TRANSCRIPT_PATH).size;
      if (size <= recording.length) return;
      const chunk = new Uint8Array(size - recording.length);
      core.FS.read(stream, chunk, 0, chunk.length, recording.length);
      recording.chunks.push(chunk);
      recording.length = size;
    } finally {
      core.FS.close(stream);
    }
  }

  // Recording ended (the record command, a failed write, exit or a trap): the transcript is
  // offered as a file to save.
  function finishRecording() {
    if (!recording) return;
    readTranscript();
    offerFile(recording.name, recording.chunks);
    recording = null;
    setRecordMark(false);
  }

  function offerFile(name, chunks) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob(chunks, { type: 'text/plain' }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  function chooseFont() {
    const dialog = $('#font-dialog');
    const saved = readFont();
    $('#font-face').value = saved.face;
    $('#font-size').value = saved.size;
    applyFont($('#font-sample'), saved);
    dialog.returnValue = '';
    dialog.showModal();
  }

  function fontChosen() {
    if ($('#font-dialog').returnValue !== 'ok') return;
    const font = { face: $('#font-face').value, size: $('#font-size').value };
    try {
      localStorage.setItem(FONT_KEY, JSON.stringify(font));
    } catch (error) {
      console.error(error); // storage refused: the choice holds for this visit only
    }
    applyFont(view, font);
  }

  function readFont() {
    const font = { face: 'sans-serif', size: '12' };
    try {
      const stored = JSON.parse(localStorage.getItem(FONT_KEY) || '{}');
      if (FACES[stored.face]) font.face = stored.face;
      if (/^\d{1,2}$/.test(stored.size)) font.size = stored.size;
    } catch (error) {
      console.error(error);
    }
    return font;
  }

  function applyFont(element, font) {
    element.style.fontFamily = FACES[font.face];
    element.style.fontSize = `${font.size}pt`;
  }

  function showAbout() {
    $('#version').textContent = core ? decoder.decode(bytesAt(core._WebVersionLine())) : '';
    $('#about').showModal();
  }

  // A page cannot end the browser: exit stops recording (offering the file) and leaves the
  // page without its commands, as a closed window would be.
  function exitPage() {
    if (recording) callCore((module) => module._WebStopRecording());
    document.body.classList.add('exited');
    $('#start').hidden = true;
    news.textContent = MSG_EXITED;
    templateLoaded = false;
    core = null;
    window.close();
  }

  const COMMANDS = {
    open: () => $('#chooser').click(),
    sample: (button) => openSample(button.dataset.sample),
    exit: exitPage,
    show: showNews,
    up: () => scrollLines(-1),
    down: () => scrollLines(1),
    record: toggleRecording,
    font: chooseFont,
    help: () => window.open('QUORVEL.html', '_blank'),
    about: showAbout,
  };

  function runCommand(name, button) {
    if (document.body.classList.contains('exited') || !core) return;
    COMMANDS[name](button);
  }

  // ---- Command states, warnings ----

  function setCommandEnabled(name, enabled) {
    for (const button of document.querySelectorAll(`[data-command="${name}"]`)) button.disabled = !enabled;
  }

  function setRecordMark(on) {
    for (const button of document.querySelectorAll('[data-command="record"]')) {
      button.setAttribute(button.hasAttribute('aria-pressed') ? 'aria-pressed' : 'aria-checked', String(on));
    }
  }

  // Warnings are modal and come one at a time, in the order the core raised them.
  function showWarning(text) {
    warnings.push(text);
    showNextWarning();
  }

  function showNextWarning() {
    const dialog = $('#warning');
    if (dialog.open || warnings.length === 0) return;
    $('#warning-text').textContent = warnings.shift();
    dialog.showModal();
  }

  // ---- Menus and keys ----

  function closeMenus() {
    for (const title of document.querySelectorAll('.menu-title')) {
      title.setAttribute('aria-expanded', 'false');
      title.nextElementSibling.hidden = true;
    }
  }

  function toggleMenu(title) {
    const open = title.getAttribute('aria-expanded') !== 'true';
    closeMenus();
    title.setAttribute('aria-expanded', String(open));
    title.nextElementSibling.hidden = !open;
    if (open) title.nextElementSibling.querySelector('button:enabled').focus();
  }

  // Up and down move between the items of an open menu.
  function moveInMenu(menu, step) {
    const items = [...menu.querySelectorAll('button:enabled')];
    const index = items.indexOf(document.activeElement);
    items[(index + step + items.length) % items.length].focus();
  }

  const KEYS = { o: 'open', x: 'exit', s: 'show', u: 'up', l: 'down', a: 'record', f: 'font' };
  const MENU_KEYS = { f: 0, n: 1, o: 2, h: 3 }; // Alt with the underlined letter of each menu

  function onKeyDown(event) {
    if (document.querySelector('dialog[open]')) return;
    const menu = document.activeElement.closest('.menu-items');
    if (event.key === 'Escape') {
      closeMenus();
    } else if (menu && (event.key === 'ArrowDown' || event.key === 'ArrowUp')) {
      moveInMenu(menu, event.key === 'ArrowDown' ? 1 : -1);
    } else if (event.altKey && !event.ctrlKey && event.key.toLowerCase() in MENU_KEYS) {
      toggleMenu(document.querySelectorAll('.menu-title')[MENU_KEYS[event.key.toLowerCase()]]);
    } else if (event.ctrlKey && !event.altKey && !event.shiftKey && KEYS[event.key.toLowerCase()]) {
      const name = KEYS[event.key.toLowerCase()];
      if (!document.querySelector(`[data-command="${name}"]`).disabled) runCommand(name);
    } else if (!menu && (event.key === 'ArrowDown' || event.key === 'ArrowUp') && !event.ctrlKey) {
      scrollLines(event.key === 'ArrowDown' ? 1 : -1);
    } else {
      return;
    }
    event.preventDefault();
  }

  // ---- Leaving the page while recording ----

  // The browser asks before the page is left; if the user leaves anyway, what was recorded
  // is kept in the browser's storage and offered on the next visit.
  function onBeforeUnload(event) {
    if (!recording) return;
    event.preventDefault();
    event.returnValue = '';
  }

  function onPageHide() {
    if (!recording) return;
    readTranscript();
    try {
      const data = recording.chunks.map((chunk) => Array.from(chunk, (byte) => String.fromCharCode(byte)).join('')).join('');
      localStorage.setItem(UNSAVED_KEY, JSON.stringify({ name: recording.name, data }));
    } catch (error) {
      console.error(error); // too large for the storage: the browser's question was the last word
    }
  }

  function offerUnsavedTranscript() {
    let unsaved = null;
    try {
      unsaved = JSON.parse(localStorage.getItem(UNSAVED_KEY));
    } catch (error) {
      console.error(error);
    }
    if (!unsaved) return;
    localStorage.removeItem(UNSAVED_KEY);
    const bytes = Uint8Array.from(unsaved.data, (char) => char.charCodeAt(0));
    const notice = document.createElement('p');
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
    link.download = unsaved.name;
    link.textContent = unsaved.name;
    notice.append('前回、保存中のままページが閉じられました。そこまでの記録: ', link);
    $('#start').append(notice);
  }

  // ---- Start ----

  document.addEventListener('click', (event) => {
    const target = event.target.closest('button');
    if (target && target.classList.contains('menu-title')) return toggleMenu(target);
    if (!event.target.closest('.menu')) closeMenus();
    if (target && target.dataset.command && !target.closest('dialog')) {
      // A chosen menu item hands the focus back to the news, as a closing menu does.
      if (target.closest('.menu-items')) view.focus();
      closeMenus();
      runCommand(target.dataset.command, target);
    }
  });
  document.addEventListener('keydown', onKeyDown);
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    if (core) openFile(event.dataTransfer.files[0]);
  });
  $('#chooser').addEventListener('change', (event) => {
    openFile(event.target.files[0]);
    event.target.value = '';
  });
  $('#warning').addEventListener('close', showNextWarning);
  $('#font-dialog').addEventListener('close', fontChosen);
  $('#font-dialog').addEventListener('change', () =>
    applyFont($('#font-sample'), { face: $('#font-face').value, size: $('#font-size').value }),
  );
  window.addEventListener('beforeunload', onBeforeUnload);
  window.addEventListener('pagehide', onPageHide);

  applyFont(view, readFont());
  offerUnsavedTranscript();
  startCore();
})();
