#!/usr/bin/env node
// web-test.js - the web page in headless Chromium, compared with zentavo-cli: the same news
// for the same seed, the same warning and transcript bytes, a trap and a page left while
// recording that lose nothing, the font kept across a reload, and no sideways scrolling on a
// 400-pixel-wide screen.
//
//   node tests/web/web-test.js --web BUILD/web --cli BUILD/native/cli/zentavo-cli [--screenshot OUT.png]
'use strict';
const assert = require('assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const { serve, startChromium, openTab } = require('../../web/devtools.js');

const options = {};
for (let i = 2; i < process.argv.length; i += 2) options[process.argv[i].slice(2)] = process.argv[i + 1];
const SAMPLES = ['town-news.new', 'sports.vnt'].map((name) => path.resolve('samples', name));
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'zentavo-web-'));

function cli(...args) {
  const run = spawnSync(options.cli, ['--utf8', ...args]);
  return { out: run.stdout.toString(), err: run.stderr.toString(), status: run.status };
}

// ---- The cases ----

const cases = {
  // Each sample shown with a fixed seed gives zentavo-cli's texts for the same seeds.
  async 'samples give zentavo-cli\'s news'(tab, base) {
    for (const sample of SAMPLES) {
      await tab.load(`${base}?elapsed=1000`);
      await tab.openSample(path.basename(sample));
      assert.strictEqual(await tab.show(3), cli('--elapsed', '1000', '--count', '3', sample).out, sample);
    }
    if (options.screenshot) {
      const { data } = await tab.send('Page.captureScreenshot', { format: 'png' });
      fs.writeFileSync(options.screenshot, Buffer.from(data, 'base64'));
    }
  },

  // Recording from the start through two opens, a faulty template (its warning shown, the
  // template before it kept) and two shows writes zentavo-cli's transcript byte for byte.
  async 'a faulty template and a recording match zentavo-cli'(tab, base) {
    const faulty = path.join(scratch, 'faulty.new');
    fs.writeFileSync(faulty, 'T\r\n0,x,-1\r\n');
    const expected = cli('--elapsed', '7', '--count', '2', '--transcript', `${scratch}/cli.txt`, SAMPLES[0], SAMPLES[1], faulty);
    await tab.load(`${base}?elapsed=7`);
    await tab.pressCtrl('a');
    assert.deepStrictEqual(await tab.evaluate("[...document.querySelectorAll('[data-command=record]')].map((b) => b.outerHTML.match(/aria-\\w+=\"(\\w+)\"/)[1])"), ['true', 'true']);
    await tab.openSample('town-news.new');
    await tab.openSample('sports.vnt');
    const title = await tab.evaluate('document.title');
    await tab.chooseFile(faulty);
    await tab.waitFor("document.querySelector('#warning').open");
    // zentavo-cli names the file and line before the message the page shows.
    assert.strictEqual(`${faulty}:2: ${await tab.evaluate("document.querySelector('#warning-text').textContent")}\n`, expected.err);
    await tab.click('#warning button');
    assert.strictEqual(await tab.evaluate('document.title'), title);
    assert.strictEqual(await tab.show(2), expected.out);
    const file = await tab.download(() => tab.pressCtrl('a'));
    assert.strictEqual(file.name, 'zentavo.txt'); // recording began before any template
    assert.ok(file.bytes.equals(fs.readFileSync(`${scratch}/cli.txt`)), 'transcript bytes differ');
    assert.strictEqual(await tab.evaluate("document.querySelector('#toolbar [data-command=record]').getAttribute('aria-pressed')"), 'false');
  },

  // A trap in the core's second show: the user is told, what was recorded before it is
  // offered in full, and the page goes on with the template it had.
  async 'a trap loses nothing and the page goes on'(tab, base) {
    await tab.send('Page.addScriptToEvaluateOnNewDocument', {
      source: `const instantiate = WebAssembly.instantiateStreaming;
        WebAssembly.instantiateStreaming = async (...args) => {
          const { module, instance } = await instantiate(...args);
          let shows = 0;
          const exports = { ...instance.exports, WebShowNews: (...a) => {
            if (++shows === 2) throw new WebAssembly.RuntimeError('unreachable');
            return instance.exports.WebShowNews(...a);
          } };
          return { module, instance: { exports } };
        };`,
    });
    await tab.load(`${base}?elapsed=5`);
    await tab.openSample('town-news.new');
    await tab.pressCtrl('a');
    const shown = await tab.show(1);
    const file = await tab.download(() => tab.pressCtrl('s'));
    cli('--elapsed', '5', '--transcript', `${scratch}/trap.txt`, SAMPLES[0]);
    assert.ok(file.bytes.equals(fs.readFileSync(`${scratch}/trap.txt`)), 'transcript bytes differ');
    assert.strictEqual(await tab.evaluate("document.querySelector('#news').textContent"), shown);
    assert.match(await tab.evaluate("document.querySelector('#warning-text').textContent"), /^内部エラー/);
    await tab.click('#warning button');
    await tab.waitFor("document.body.hasAttribute('data-ready')");
    assert.strictEqual(await tab.show(1), cli('--elapsed', '7', SAMPLES[0]).out);
  },

  // Leaving the page while recording: the browser asks, and the next visit offers the
  // recording, byte for byte.
  async 'a page left while recording offers its file on the next visit'(tab, base, chrome) {
    await tab.load(`${base}?elapsed=3`);
    await tab.openSample('sports.vnt');
    await tab.pressCtrl('a');
    await tab.show(2);
    const asked = chrome.next('Page.javascriptDialogOpening', (dialog) => dialog.type === 'beforeunload');
    const navigated = tab.send('Page.navigate', { url: base }); // answers once the dialog is
    await asked;
    await tab.send('Page.handleJavaScriptDialog', { accept: true });
    await navigated;
    await tab.waitFor("document.body && document.body.hasAttribute('data-ready')");
    const kept = await tab.evaluate("(async () => [...new Uint8Array(await (await fetch(document.querySelector('#start a').href)).arrayBuffer())])()");
    cli('--elapsed', '3', '--count', '2', '--transcript', `${scratch}/left.txt`, SAMPLES[1]);
    assert.ok(Buffer.from(kept).equals(fs.readFileSync(`${scratch}/left.txt`)), 'kept transcript differs');
  },

  // The font chosen in the dialog is the news view's font after a reload.
  async 'the font survives a reload'(tab, base) {
    await tab.load(base);
    await tab.pressCtrl('f');
    await tab.evaluate("document.querySelector('#font-face').value = 'serif'; document.querySelector('#font-size').value = '20'");
    await tab.click('#font-dialog button[value=ok]');
    await tab.load(base);
    const font = await tab.evaluate("[getComputedStyle(document.querySelector('#view')).fontSize, document.querySelector('#view').style.fontFamily]");
    assert.deepStrictEqual([font[0], /Mincho/.test(font[1])], ['26.6667px', true]);
  },

  // On a 400-pixel-wide screen nothing scrolls sideways, with news shown and a menu open.
  async 'nothing scrolls sideways at 400 pixels'(tab, base) {
    await tab.load(`${base}?elapsed=1`);
    await tab.openSample('town-news.new');
    await tab.show(1);
    for (const menu of [1, 4]) {
      await tab.click(`.menu:nth-child(${menu}) .menu-title`);
      assert.ok(await tab.evaluate('document.documentElement.scrollWidth <= 400'), `menu ${menu} scrolls sideways`);
    }
  },
};

async function main() {
  if (spawnSync('sh', ['-c', 'command -v chromium']).status !== 0) {
    console.log('web-test: chromium is not installed: the web page is not checked');
    console.log('web: 0 passed, 0 failed, 1 skipped');
    return 0;
  }
  setTimeout(() => (console.log('web-test: no result within 5 minutes'), process.exit(1)), 300000).unref();
  const server = await serve(path.resolve(options.web));
  const base = `http://127.0.0.1:${server.address().port}/index.html`;
  const chrome = startChromium(scratch);
  let passed = 0;
  let failed = 0;
  try {
    for (const [name, run] of Object.entries(cases)) {
      const narrow = name.includes('400');
      const tab = await openTab(chrome, narrow ? 400 : 800, narrow ? 700 : 480, scratch);
      try {
        await run(tab, base, chrome);
        passed++;
        console.log(`ok: ${name}`);
      } catch (error) {
        failed++;
        console.log(`FAILED: ${name}\n${error.stack}`);
      }
    }
  } finally {
    const exited = new Promise((resolve) => chrome.browser.on('exit', resolve));
    chrome.browser.kill();
    await exited;
    server.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
  console.log(`web: ${passed} passed, ${failed} failed`);
  return failed ? 1 : 0;
}

main().then((status) => process.exit(status), (error) => (console.error(error), process.exit(1)));
