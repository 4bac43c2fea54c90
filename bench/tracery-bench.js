// tracery-bench.js - the peer's throughput: Tracery expanding "#origin#" of a grammar from
// bench/generate-templates.js as often as it can for a while.
//
//   node bench/tracery-bench.js GRAMMAR.json SECONDS MODULES_DIR
//
// MODULES_DIR is where npm installed tracery-grammar (the build folder). Prints one JSON
// object: texts per second, the length of the last text, and the process's peak memory.
'use strict';

const fs = require('fs');
const path = require('path');

function main()
{
    const [grammarPath, secondsText, modulesDir] = process.argv.slice(2);
    if (!grammarPath || !secondsText || !modulesDir) {
        console.error('usage: node tracery-bench.js GRAMMAR.json SECONDS MODULES_DIR');
        process.exit(2);
    }
    const tracery = require(require.resolve('tracery-grammar', {paths: [path.resolve(modulesDir)]}));
    const grammar = tracery.createGrammar(JSON.parse(fs.readFileSync(grammarPath, 'utf8')));
    const seconds = Number(secondsText);
    let text = '';
    // A short warm-up, so the timed part runs compiled code.
    for (const end = Date.now() + 200; Date.now() < end;) text = grammar.flatten('#origin#');
    let texts = 0;
    const start = process.hrtime.bigint();
    let elapsed = 0;
    while (elapsed < seconds) {
        for (let i = 0; i < 16; i++) text = grammar.flatten('#origin#');
        texts += 16;
        elapsed = Number(process.hrtime.bigint() - start) / 1e9;
    }
    console.log(JSON.stringify({
        texts_per_second: texts / elapsed,
        text_length: text.length,
        peak_rss_mb: process.resourceUsage().maxRSS / 1024,
    }));
}

main();
