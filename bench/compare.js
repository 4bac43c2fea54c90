// compare.js - runs every performance comparison side by side and prints each ratio with
// its goal: what `make bench` shows.
//
//   node bench/compare.js [--build DIR] [--windows win32|win64] [--rounds N] [--only NAME,...]
//
// DIR is the build folder (default: build/benchmarks) with native/ and the Windows build that
// runs here (win32 or win64: --windows, else $WINDOWS_BUILD, else win32) built with
// -DZENTAVO_BENCH=ON; every Wine row names the build it timed. The templates, the Tracery
// grammars and tracery-grammar itself go to DIR/bench; the Wine runs use a prefix of their own,
// DIR/bench-wineprefix-win32 or -win64, so that stopping its Wine server for cold starts never
// touches a test run. Times on a shared machine vary a lot, so each comparison runs both sides
// in turn, round after round, and takes the median of the per-round ratios. Writes
// DIR/bench/results.json; exits 1 when a goal is missed.
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const ROOT = path.resolve(__dirname, '..');
const TRACERY_VERSION = '2.8.4';

function parseArguments()
{
    const options = {build: path.join(ROOT, 'build', 'benchmarks'), windows: process.env.WINDOWS_BUILD || 'win32',
                     rounds: 5, only: null};
    const args = process.argv.slice(2);
    for (let i = 0; i < args.length; i++) {
        if (args[i] === '--build') options.build = path.resolve(args[++i]);
        else if (args[i] === '--windows') options.windows = args[++i];
        else if (args[i] === '--rounds') options.rounds = Number(args[++i]);
        else if (args[i] === '--only') options.only = args[++i].split(',');
        else {
            console.error('usage: node bench/compare.js [--build DIR] [--windows win32|win64] [--rounds N] [--only NAME,...]');
            process.exit(2);
        }
    }
    return options;
}

const options = parseArguments();
const BENCH = path.join(options.build, 'bench');
const NATIVE = path.join(options.build, 'native');
const WINDOWS_BIN = path.join(options.build, options.windows, 'bin');
const WINE_RUN = [path.join(ROOT, 'scripts', 'wine-run'), `--${options.windows}`];
const WINE_ENV = {...process.env, ZENTAVO_WINEPREFIX: path.join(options.build, `bench-wineprefix-${options.windows}`)};
WINE_ENV.WINEPREFIX = WINE_ENV.ZENTAVO_WINEPREFIX;

// Runs a program to its end and returns its standard output; any failure ends the run.
function run(program, args, extra = {})
{
    const result = childProcess.spawnSync(program, args, {encoding: 'utf8', maxBuffer: 1 << 26, ...extra});
    if (result.status !== 0) {
        if (result.stderr) process.stderr.write(result.stderr);
        throw new Error(`${program} ${args.join(' ')} failed (${result.error || 'exit ' + result.status})`);
    }
    return result.stdout;
}

function median(values)
{
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// ---- Inputs ----

function prepareInputs()
{
    run('node', [path.join(__dirname, 'generate-templates.js'), BENCH]);
    if (!fs.existsSync(path.join(BENCH, 'node_modules', 'tracery-grammar', 'package.json'))) {
        console.log(`installing tracery-grammar ${TRACERY_VERSION} into ${BENCH}`);
        run('npm', ['install', '--prefix', BENCH, '--no-audit', '--no-fund', '--no-save',
                    `tracery-grammar@${TRACERY_VERSION}`]);
    }
}

// ---- The measurements, one side each ----

// One Google Benchmark run of core_bench; returns its benchmarks by name.
function coreBench(filter, minTime)
{
    const output = run(path.join(NATIVE, 'bench', 'core_bench'), [
        `--templates=${BENCH}`, `--benchmark_filter=${filter}`, `--benchmark_min_time=${minTime}`,
        '--benchmark_format=json'
    ]);
    const byName = {};
    for (const b of JSON.parse(output).benchmarks) {
        if (b.error_occurred) throw new Error(`${b.name}: ${b.error_message}`);
        byName[b.name] = b;
    }
    return byName;
}

function traceryBench(name, seconds)
{
    return JSON.parse(run('node', [path.join(__dirname, 'tracery-bench.js'), path.join(BENCH, `${name}.json`),
                                   String(seconds), BENCH]));
}

// Median times of hyperfine runs of the commands, in seconds, measured without a shell.
function hyperfine(commands, runs)
{
    const exportPath = path.join(BENCH, 'hyperfine.json');
    run('hyperfine', ['-N', '--warmup', '10', '--runs', String(runs), '--export-json', exportPath, ...commands],
        {cwd: BENCH});
    return JSON.parse(fs.readFileSync(exportPath, 'utf8')).results.map((r) => r.median);
}

// Runs a Windows program under Wine and returns its standard output. The output goes
// through a file: the Wine server that the program starts outlives it and keeps whatever
// it was given, and a pipe would be waited for until that server ends.
function wine(args)
{
    const outputPath = path.join(BENCH, 'wine-output.txt');
    const output = fs.openSync(outputPath, 'w');
    try {
        run(WINE_RUN[0], [WINE_RUN[1], ...args], {env: WINE_ENV, stdio: ['ignore', output, 'inherit']});
    } finally {
        fs.closeSync(output);
    }
    return fs.readFileSync(outputPath, 'utf8');
}

// Stops the bench prefix's Wine server and everything it runs, and waits for it to go.
function stopWine()
{
    childProcess.spawnSync('wineserver', ['-k'], {env: WINE_ENV});
    childProcess.spawnSync('wineserver', ['-w'], {env: WINE_ENV});
}

// Launch-to-window time and peak memory of a Windows program under Wine.
function windowStart(exe, args)
{
    const timer = path.join(NATIVE, 'bench', 'window_timer');
    const output = run(timer, ['--timeout', '60', ...WINE_RUN, exe, ...args],
                       {env: WINE_ENV, cwd: BENCH, stdio: ['ignore', 'pipe', 'inherit']});
    return JSON.parse(output);
}

// ---- The comparisons ----

const results = [];

// Records and prints one comparison. `higher` says whether a larger ratio is better.
function report(goal, what, ours, peer, ratio, target, higher)
{
    const met = higher ? ratio >= target : ratio <= target;
    results.push({goal, what, ours, peer, ratio, target: `${higher ? '>=' : '<='} ${target}`, met});
    const ratioText = `${ratio.toFixed(2)}x`;
    console.log(`${String(goal).padEnd(5)} ${what.padEnd(58)} ${ours.padStart(14)} ${peer.padStart(14)} ` +
                `${ratioText.padStart(9)} ${(higher ? '>= ' : '<= ') + target + 'x'}`.padEnd(8) +
                `  ${met ? 'MET' : 'MISSED'}`);
}

function ms(seconds)
{
    return `${(seconds * 1e3).toFixed(3)} ms`;
}

function loadingNative()
{
    // The Shift-JIS template against an fgets pass over it, and its UTF-8 twin against an
    // fgets pass over the UTF-8 file.
    for (const [name, encoding, goal] of [['largest', 'Shift-JIS', 3], ['largest-utf8', 'UTF-8', 5]]) {
        const load = [], fgets = [], ratios = [];
        for (let round = 0; round < options.rounds; round++) {
            const b = coreBench(`^(LoadTemplate|FgetsPass)/${name}$`, 0.2);
            const l = b[`LoadTemplate/${name}`].real_time, f = b[`FgetsPass/${name}`].real_time;
            load.push(l);
            fgets.push(f);
            ratios.push(l / f);
        }
        report(1, `load largest (${encoding}), native: LoadTemplate vs fgets pass`, `${median(load).toFixed(0)} us`,
               `${median(fgets).toFixed(0)} us`, median(ratios), goal, false);
    }
    // A first load also pays the page faults of its fresh memory: the same load on pages the
    // process never touched, and what touching that much fresh memory costs here at all.
    const fresh = [], pages = [];
    for (let round = 0; round < options.rounds; round++) {
        const b = coreBench('^(LoadTemplateIntoFreshMemory|TouchFreshPages)/largest$', 0.2);
        fresh.push(b['LoadTemplateIntoFreshMemory/largest'].real_time);
        pages.push(b['TouchFreshPages/largest'].real_time);
    }
    const note = `first load into fresh memory ${median(fresh).toFixed(0)} us, ` +
                 `of which touching 2.6 MB of fresh pages ${median(pages).toFixed(0)} us`;
    console.log(`      load largest: ${note} (no goal)`);
    results.push({goal: 1, what: 'load largest into fresh memory', ours: note, met: true});
}

function loadingWine()
{
    const ratios = [], load = [], fread = [];
    for (let round = 0; round < options.rounds; round++) {
        const r = JSON.parse(wine([path.join(WINDOWS_BIN, 'load_bench.exe'), path.join(BENCH, 'largest.new'), '21']));
        if (r.warnings) throw new Error('load_bench.exe: the template did not load cleanly');
        ratios.push(r.load_to_fread);
        load.push(r.load_ms);
        fread.push(r.fread_ms);
    }
    report(1, `load largest, ${options.windows} under Wine: LoadTemplate vs fread`, `${median(load).toFixed(3)} ms`,
           `${median(fread).toFixed(3)} ms`, median(ratios), 5, false);
}

function composing(name, target)
{
    const ours = [], peer = [], ratios = [];
    let allocations = 0, texts = 0, peerMemory = 0;
    for (let round = 0; round < options.rounds; round++) {
        const b = coreBench(`^Compose/${name}$`, 0.5)[`Compose/${name}`];
        const t = traceryBench(name, 1.0);
        ours.push(b.items_per_second);
        peer.push(t.texts_per_second);
        ratios.push(b.items_per_second / t.texts_per_second);
        allocations += b.allocations;
        texts += b.iterations;
        peerMemory = Math.max(peerMemory, t.peak_rss_mb);
    }
    const perSecond = (v) => `${Math.round(v).toLocaleString('en-US')}/s`;
    report(2, `compose ${name}: texts/s, ComposeNewsSeeded vs Tracery`, perSecond(median(ours)), perSecond(median(peer)),
           median(ratios), target, true);
    const note = `${allocations} allocations in ${texts.toLocaleString('en-US')} texts`;
    console.log(`      compose ${name}: ${note}${allocations === 0 ? ' (MET: allocates nothing)' : ' (MISSED)'}; ` +
                `Tracery's peak memory ${peerMemory.toFixed(0)} MB`);
    results.push({goal: 2, what: `compose ${name} allocations`, ours: note, met: allocations === 0});
}

function endToEnd()
{
    const cli = path.join(NATIVE, 'cli', 'zentavo-cli');
    const ours = [], peer = [], small = [], ratios = [];
    // Twice the rounds with fewer runs each: the machine's load drifts within seconds.
    for (let round = 0; round < 2 * options.rounds; round++) {
        const [c, k, s] =
            hyperfine([`${cli} --elapsed 1 largest.new`, 'cat largest.new', `${cli} --elapsed 1 small.new`], 40);
        ours.push(c);
        peer.push(k);
        small.push(s);
        ratios.push(c / k);
    }
    report(3, 'zentavo-cli --elapsed 1 largest vs cat largest (processes)', ms(median(ours)), ms(median(peer)),
           median(ratios), 3, false);
    // What the process costs apart from the template: start, a tiny load, one text, exit.
    console.log(`      zentavo-cli --elapsed 1 small: ${ms(median(small))} (no goal)`);
}

// The news view's paint of the longest text under Wine, against one ExtTextOutA per line.
function painting()
{
    const exe = path.join(WINDOWS_BIN, 'paint_bench.exe');
    if (!fs.existsSync(exe)) {
        console.log('4     painting: not measured, paint_bench.exe is not built');
        results.push({goal: 4, what: 'painting', ours: 'not measured', met: false});
        return;
    }
    const view = [], lines = [], units = [], scroll = [], toLines = [], scrollToLines = [];
    let shape = null;
    for (let round = 0; round < options.rounds; round++) {
        const r = JSON.parse(wine([exe, path.join(BENCH, 'largest.new'), '9']));
        view.push(r.view_ms);
        lines.push(r.lines_ms);
        units.push(r.units_ms);
        scroll.push(r.scroll_ms);
        toLines.push(r.view_to_lines);
        scrollToLines.push(r.scroll_to_lines);
        shape = r;
    }
    const f = (v) => `${v.toFixed(2)} ms`;
    report(4, `paint longest text (${options.windows}): view vs one ExtTextOutA per line`, f(median(view)), f(median(lines)),
           median(toLines), 2, false);
    report(4, `paint after SB_LINEDOWN (${options.windows}) vs one ExtTextOutA per line`, f(median(scroll)), f(median(lines)),
           median(scrollToLines), 2, false);
    console.log(`      painting: ${shape.bytes} bytes, ${shape.lines} lines (${shape.client_height} pixels of ` +
                `client area); unit by unit, as the view used to: ${f(median(units))}`);
}

// Start-up, cold (no Wine server running: the first program of a session) and warm (the
// server and Wine's own processes already up). Each round launches both programs in turn,
// once each when cold and `warmLaunches` times each when warm, and compares the medians.
function startUp()
{
    const quorvel = [path.join(WINDOWS_BIN, 'quorvel.exe'), path.join(ROOT, 'samples', 'town-news.new')];
    const minimal = [path.join(WINDOWS_BIN, 'minimal_window.exe')];
    const warmLaunches = 3;
    wine([]);  // makes the prefix once, outside the timings
    for (const temperature of ['cold', 'warm']) {
        const ours = [], peer = [], ratios = [], memory = [], peerMemory = [];
        for (let round = 0; round < options.rounds; round++) {
            const times = [[], []];
            for (let launch = 0; launch < (temperature === 'cold' ? 1 : warmLaunches); launch++) {
                [minimal, quorvel].forEach(([exe, ...args], side) => {
                    if (temperature === 'cold') stopWine();
                    const r = windowStart(exe, args);
                    if (r.exit_code !== 0) throw new Error(`${exe} ended with ${r.exit_code}`);
                    times[side].push(r.map_seconds);
                    (side ? memory : peerMemory).push(r.peak_rss_kb / 1024);
                });
            }
            peer.push(median(times[0]));
            ours.push(median(times[1]));
            ratios.push(median(times[1]) / median(times[0]));
        }
        report(5, `start-up ${temperature} (${options.windows}): quorvel.exe sample vs minimal window`, ms(median(ours)), ms(median(peer)),
               median(ratios), 1.2, false);
        const mb = median(memory);
        const met = Math.max(...memory) <= 27;
        console.log(`      start-up ${temperature}: peak memory quorvel.exe ${mb.toFixed(1)} MB (max ` +
                    `${Math.max(...memory).toFixed(1)}), minimal ${median(peerMemory).toFixed(1)} MB: ` +
                    `${met ? 'MET' : 'MISSED'} (<= 27 MB)`);
        results.push({goal: 5, what: `start-up ${temperature} peak memory`, ours: `${mb.toFixed(1)} MB`, met});
    }
    stopWine();
}

function main()
{
    fs.mkdirSync(BENCH, {recursive: true});
    prepareInputs();
    console.log(`${os.cpus().length} x ${os.cpus()[0].model}, ${Math.round(os.totalmem() / 2 ** 30)} GB, ` +
                `${new Date().toISOString()}, ${options.rounds} rounds, median of per-round ratios`);
    console.log(`${'goal'.padEnd(5)} ${'comparison'.padEnd(58)} ${'ours'.padStart(14)} ${'peer'.padStart(14)} ` +
                `${'ratio'.padStart(9)} goal`);
    const parts = {
        load: loadingNative,
        'load-wine': loadingWine,
        compose: () => {
            composing('largest', 30);
            composing('small', 10);
        },
        cli: endToEnd,
        paint: painting,
        startup: startUp,
    };
    for (const [name, part] of Object.entries(parts))
        if (!options.only || options.only.includes(name)) part();
    fs.writeFileSync(path.join(BENCH, 'results.json'), JSON.stringify({date: new Date().toISOString(), results}, null, 2));
    const missed = results.filter((r) => !r.met).length;
    console.log(missed ? `${missed} goal(s) missed` : 'every goal met');
    process.exit(missed ? 1 : 0);
}

main();
