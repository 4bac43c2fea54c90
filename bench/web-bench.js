#!/usr/bin/env node
// web-bench.js - the web page's size and speed: the compiled core and every file the page
// loads (as served and gzip-compressed), and the time from choosing the largest template to
// its first news text on screen, beside zentavo-cli's start, load and first text.
//
//   make web && node bench/web-bench.js [--web build/web] [--cli build/native/cli/zentavo-cli] [--rounds 7]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { execFileSync, spawnSync } = require('child_process');
const { serve, startChromium, openTab } = require('../web/devtools.js');

const options = { web: 'build/web', cli: 'build/native/cli/zentavo-cli', rounds: '7' };
for (let i = 2; i < process.argv.length; i += 2) options[process.argv[i].slice(2)] = process.argv[i + 1];
const rounds = Number(options.rounds);
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'zentavo-web-bench-'));
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

// Chooses bytes as the file largest.new through the page's own file chooser, shows the
// first news text and waits for the frame that paints it. Resolves to milliseconds.
const CHOOSE_AND_SHOW = `(async (base64) => {
  const bytes = Uint8Array.from(atob(base64), (char) => char.charCodeAt(0));
  const transfer = new DataTransfer();
  transfer.items.add(new File([bytes], 'largest.new'));
  const chooser = document.querySelector('#chooser');
  const show = document.querySelector('#toolbar [data-command=show]');
  const start = performance.now();
  chooser.files = transfer.files;
  chooser.dispatchEvent(new Event('change'));
  await new Promise((resolve) => new MutationObserver(resolve).observe(show, { attributes: true }));
  show.click();
  await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
  if (!document.querySelector('#news').textContent) throw new Error('no news shown');
  return performance.now() - start;
})`;

async function measurePage(template) {
  const server = await serve(path.resolve(options.web));
  const chrome = startChromium(scratch);
  try {
    const tab = await openTab(chrome, 800, 480, scratch);
    const url = `http://127.0.0.1:${server.address().port}/index.html`;
    const base64 = fs.readFileSync(template).toString('base64');
    const times = [];
    let loaded = [];
    for (let round = 0; round < rounds; round++) {
      await tab.load(url);
      times.push(await tab.evaluate(`${CHOOSE_AND_SHOW}(${JSON.stringify(base64)})`));
      loaded = await tab.evaluate("performance.getEntriesByType('resource').map((entry) => entry.name)");
    }
    return { time: median(times), files: ['index.html', ...loaded.map((name) => new URL(name).pathname.slice(1))] };
  } finally {
    const exited = new Promise((resolve) => chrome.browser.on('exit', resolve));
    chrome.browser.kill();
    await exited;
    server.close();
  }
}

function measureCli(template) {
  const times = [];
  for (let round = 0; round < rounds; round++) {
    const start = process.hrtime.bigint();
    const run = spawnSync(options.cli, ['--elapsed', '1', template], { stdio: ['ignore', 'ignore', 'inherit'] });
    if (run.status !== 0) throw new Error(`zentavo-cli exited with ${run.status}`);
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  return median(times);
}

async function main() {
  execFileSync('node', [path.join(__dirname, 'generate-templates.js'), scratch]);
  const template = path.join(scratch, 'largest.new');
  const page = await measurePage(template);
  const native = measureCli(template);
  let total = 0;
  let compressed = 0;
  console.log('| File | Served | gzip -9 |\n|---|---|---|');
  for (const file of [...new Set(page.files)].sort()) {
    const bytes = fs.readFileSync(path.join(options.web, file));
    const gzip = zlib.gzipSync(bytes, { level: 9 }).length;
    total += bytes.length;
    compressed += gzip;
    console.log(`| \`${file}\` | ${kb(bytes.length)} | ${kb(gzip)} |`);
  }
  console.log(`| the page's total transfer | ${kb(total)} | ${kb(compressed)} |\n`);
  console.log(`choosing largest.new (${kb(fs.statSync(template).size)}) to its first news text on the page: ${page.time.toFixed(1)} ms (median of ${rounds})`);
  console.log(`zentavo-cli --elapsed 1 largest.new, start to exit: ${native.toFixed(1)} ms (median of ${rounds})`);
  fs.rmSync(scratch, { recursive: true, force: true });
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
