// devtools.js - headless Chromium driven over its DevTools protocol on a pipe, and a static
// server for the web page: what the browser test and the web benchmark share (not part of the
// page). Needs nothing beyond Node and Debian's chromium.
'use strict';
const assert = require('assert');
const fs = require('fs');
const http = require('http');
const path = require('path');
const { spawn } = require('child_process');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
function serve(root) {
  const server = http.createServer((request, response) => {
    const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
    fs.readFile(file.endsWith('/') ? file + 'index.html' : file, (error, data) => {
      response.writeHead(error ? 404 : 200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function startChromium(scratch) {
  const browser = spawn(
    'chromium',
    ['--headless', '--no-sandbox', '--disable-gpu', '--remote-debugging-pipe', `--user-data-dir=${scratch}/profile`],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'], env: { ...process.env, DBUS_SESSION_BUS_ADDRESS: 'disabled:' } },
  );
  const pending = new Map();
  const listeners = [];
  let nextId = 1;
  let buffered = '';
  browser.stdio[4].on('data', (data) => {
    const parts = (buffered + data.toString()).split('\0');
    buffered = parts.pop();
    for (const part of parts) {
      const message = JSON.parse(part);
      const call = pending.get(message.id);
      if (!call) listeners.forEach((listener) => listener(message));
      else if (message.error) call.reject(new Error(`${call.method}: ${message.error.message}`));
      else call.resolve(message.result);
      pending.delete(message.id);
    }
  });
  // A browser that dies answers nothing more: every call still waiting fails.
  browser.on('exit', (code, signal) => {
    for (const call of pending.values()) call.reject(new Error(`chromium exited (${signal || code}) during ${call.method}`));
    pending.clear();
  });
  const send = (method, params = {}, sessionId) =>
    new Promise((resolve, reject) => {
      const id = nextId++;
      pending.set(id, { resolve, reject, method });
      browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    });
  // The next event named method whose parameters pass test.
  const next = (method, test = () => true, timeout = 10000) =>
    new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error(`no ${method} within ${timeout} ms`)), timeout);
      listeners.push(function listener(message) {
        if (message.method !== method || !test(message.params)) return;
        clearTimeout(timer);
        listeners.splice(listeners.indexOf(listener), 1);
        resolve(message.params);
      });
    });
  return { browser, send, next };
}

// One tab: evaluate, wait, press keys, choose files, take the downloads.
async function openTab(chrome, width, height, scratch) {
  const { targetId } = await chrome.send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await chrome.send('Target.attachToTarget', { targetId, flatten: true });
  const send = (method, params) => chrome.send(method, params, sessionId);
  await send('Page.enable');
  await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: width < 500 });
  const tab = {
    send,
    async evaluate(expression) {
      const { result, exceptionDetails } = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
      if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.exception.description}`);
      return result.value;
    },
    async waitFor(expression, timeout = 10000) {
      for (const end = Date.now() + timeout; Date.now() < end; await new Promise((r) => setTimeout(r, 50)))
        if (await tab.evaluate(expression)) return;
      throw new Error(`still false after ${timeout} ms: ${expression}`);
    },
    async load(url) {
      await send('Page.navigate', { url });
      await tab.waitFor("document.body && document.body.hasAttribute('data-ready')");
    },
    click: (selector) => tab.evaluate(`document.querySelector('${selector}').click()`),
    async pressCtrl(letter) {
      const key = { key: letter, code: `Key${letter.toUpperCase()}`, windowsVirtualKeyCode: letter.toUpperCase().charCodeAt(0), modifiers: 2 };
      await send('Input.dispatchKeyEvent', { type: 'rawKeyDown', ...key });
      await send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
    },
    async openSample(name) {
      const before = await tab.evaluate('document.title');
      await tab.click(`#start [data-sample$="${name}"]`);
      await tab.waitFor(`document.title !== ${JSON.stringify(before)}`);
    },
    async chooseFile(file) {
      const { root } = await send('DOM.getDocument');
      const { nodeId } = await send('DOM.querySelector', { nodeId: root.nodeId, selector: '#chooser' });
      await send('DOM.setFileInputFiles', { nodeId, files: [file] });
    },
    // Shows count news texts with Ctrl+S and returns them joined.
    async show(count) {
      let texts = '';
      for (let i = 0; i < count; i++) {
        await tab.pressCtrl('s');
        texts += await tab.evaluate("document.querySelector('#news').textContent");
      }
      return texts;
    },
    // Runs action and returns the bytes and name of the file the page offers for it.
    async download(action) {
      const folder = fs.mkdtempSync(path.join(scratch, 'download-'));
      await chrome.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: folder, eventsEnabled: true });
      const begun = chrome.next('Browser.downloadWillBegin');
      const completed = chrome.next('Browser.downloadProgress', (progress) => progress.state === 'completed');
      await action();
      const { guid, suggestedFilename } = await begun;
      assert.strictEqual((await completed).guid, guid);
      return { name: suggestedFilename, bytes: fs.readFileSync(path.join(folder, guid)) };
    },
  };
  return tab;
}

module.exports = { serve, startChromium, openTab };
