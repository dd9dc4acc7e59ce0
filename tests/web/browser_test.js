// The page in headless Chromium, judged on browser screenshots against
// quorbel-render's PNG of the same options (decoded RGB, pixel for pixel,
// ImageMagick's compare), loaded from a file and from a local server; the
// address's faults, a window too large for a canvas, a failing canvas, a
// resize after the last tick, the settings panel and the licence's notice.
//
// node --experimental-websocket browser_test.js <quorbel.html> <quorbel-render> <native sheet.png> <LICENSE>
'use strict';

const {execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const {Browser, until} = require('./chromium.js');

const [pagePath, renderer, nativeSheet, licencePath] = process.argv.slice(2);
const licence = fs.readFileSync(licencePath, 'utf8').trim();
const copyright = licence.split('\n').find((line) => line.startsWith('Copyright'));
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quorbel-web-test-'));
const kSizeLimit = 300 * 1024;
const kDone = 'document.documentElement.dataset.done === "true"';
const kSettled = `${kDone} || document.documentElement.dataset.failed === "true"`;
// Without a seed in the address the page draws one from crypto.getRandomValues:
// made to give this one, so that such a run can be compared.
const kPageSeed = 7;
const kFixedRandom = `crypto.getRandomValues = (array) => array.fill(${kPageSeed});`;
let failures = 0;

function check(ok, what) {
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
    failures += ok ? 0 : 1;
}

// Differing pixels between two pictures' RGB, optionally within a crop.
function differingPixels(a, b, crop) {
    const rgb = (file, name) => {
        const out = path.join(scratch, name + '.ppm');
        execFileSync('convert', [file, '-alpha', 'off', ...(crop ? ['-crop', crop, '+repage'] : []), out]);
        return out;
    };
    try {
        execFileSync('compare', ['-metric', 'AE', rgb(a, 'a'), rgb(b, 'b'), 'null:'], {stdio: 'pipe'});
        return 0;
    } catch (error) {
        return Number(String(error.stderr).trim()) || -1;  // -1: not comparable (sizes)
    }
}

function render(args, name) {
    const out = path.join(scratch, name + '.png');
    execFileSync(renderer, [...args, '--png', out, '--quiet']);
    return out;
}

// A static server for the page's folder on 127.0.0.1, stopped by the test.
function serve(folder) {
    const server = http.createServer((request, response) => {
        const file = path.join(folder, path.basename(new URL(request.url, 'http://x').pathname));
        fs.readFile(file, (error, data) => {
            response.writeHead(error ? 404 : 200, {'Content-Type': 'text/html'});
            response.end(error ? '' : data);
        });
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Loads ?query at width x height CSS pixels and waits for the last tick or
// a failure; settled is false when neither came.
async function load(browser, base, query, width, height, script = '') {
    const page = await browser.open(`${base}?${query}`, width, height, script);
    const settled = await page.waitFor('the done or failed mark', kSettled, 30000).then(() => true, () => false);
    const state = await page.evaluate(
        'JSON.stringify({message: document.getElementById("message").textContent, ' +
        'failed: document.documentElement.dataset.failed === "true", ' +
        'firstTickMs: document.documentElement.dataset.firstTickMs})');
    const shot = path.join(scratch, 'shot.png');
    fs.writeFileSync(shot, await page.screenshot());
    await page.close();
    return {shot, settled, ...JSON.parse(state)};
}

const kCases = [
    {name: 'the defaults at speed 19, 1024x768', query: 'seed=11&speed=19&ticks=60', size: [1024, 768],
        render: ['--seed', '11', '--speed', '19', '--ticks', '60', '--resolution', '1024x768']},
    {name: 'six wriggling species, 800x600', query: 'seed=7&speed=19&species=6&wriggle=on&ticks=90',
        size: [800, 600], render: ['--seed', '7', '--speed', '19', '--species', '6', '--wriggle', 'on',
            '--ticks', '90', '--resolution', '800x600']},
    // Worlds of every size in turn: the sheet has all their sprites.
    {name: 'random cell sizes without the Life rules, 640x480', query: 'seed=4&speed=19&cell-size=random&life=off&ticks=75',
        size: [640, 480], render: ['--seed', '4', '--speed', '19', '--cell-size', 'random', '--life', 'off',
            '--ticks', '75', '--resolution', '640x480']},
    {name: 'device scale factor 2, 640x400 CSS pixels', query: 'seed=11&speed=19&ticks=40', size: [640, 400],
        scale: 2, render: ['--seed', '11', '--speed', '19', '--ticks', '40', '--resolution', '1280x800',
            '--scale', '2']},
];

// Addresses that went wrong: each shows its line and runs with what it
// leaves in force (a refused seed: the page's own), compared below the line.
const kAddressCases = [
    {name: 'a wrong value and a wrong name', query: 'speed=fast&seed=11&colour=red&ticks=8',
        message: /^speed="fast": speed takes 0\.\.19 or random; using the default \(5\) · unknown option "colour": /,
        render: ['--seed', '11', '--ticks', '8']},
    {name: 'a value of 1.3 million characters', query: `seed=3&speed=${'x'.repeat(1310550)}&ticks=8`,
        message: /^speed="x+…": speed takes 0\.\.19 or random; using the default \(5\)$/,
        render: ['--seed', '3', '--ticks', '8']},
    {name: 'repeated names, the last value in force', query: 'speed=bogus&speed=19&seed=abc&seed=5&ticks=8',
        message: /^speed="bogus" ignored, 19 in force · seed="abc" ignored, 5 in force$/,
        render: ['--speed', '19', '--seed', '5', '--ticks', '8']},
    {name: 'a NUL in a value', query: 'seed=5%00junk&ticks=8',
        message: /^seed="5\\x00junk": seed takes 0\.\.4294967295; using the default \(chosen at random\)$/,
        render: ['--seed', String(kPageSeed), '--ticks', '8']},
    {name: 'characters past ASCII', query: 'cell-size=gr%C3%B6%C3%9Fer&seed=2&ticks=8',
        message: /^cell-size="größer": cell-size takes [a-z, ]+; using the default \(middle\)$/,
        render: ['--seed', '2', '--ticks', '8']},
    {name: 'no seed: the page draws one', query: 'speed=19&ticks=20', message: /^$/,
        render: ['--speed', '19', '--seed', String(kPageSeed), '--ticks', '20']},
];

async function checkAddresses(browser, fileUrl) {
    const [width, height] = [480, 320];
    const below = `${width}x${height - 40}+0+40`;  // under the message line
    for (const c of kAddressCases) {
        const got = await load(browser, fileUrl, c.query, width, height, kFixedRandom);
        const expected = render([...c.render, '--resolution', `${width}x${height}`], 'address');
        const diff = got.settled ? differingPixels(got.shot, expected, below) : -1;
        check(got.settled && !got.failed && c.message.test(got.message) && diff === 0,
            `${c.name}: ${got.settled ? 'ran' : 'never finished'}, ${diff} pixels differ, line: ${got.message}`);
    }
}

// A window too large for any canvas, 16384 x 16384 CSS pixels at ratios 2
// and 4 (where the bytes of a whole picture wrap in 32 bits), each followed
// by a normal one (emulation tells the page of no change of the ratio
// alone): the picture is capped and keeps ticking, and comes back whole.
async function checkHugeWindow(browser, fileUrl) {
    const page = await browser.open(`${fileUrl}?seed=1&speed=19`, 800, 600);
    const stateOf = '(() => { const root = document.documentElement, canvas = document.getElementById("saver"); ' +
        'return {device: root.dataset.device, ticks: Number(root.dataset.ticks || 0), failed: root.dataset.failed === ' +
        '"true", message: document.getElementById("message").textContent, width: canvas.width, height: canvas.height}; })()';
    // The state once it meets want, or once the page failed; null if neither came.
    const reach = (what, want) => until(what, async () => {
        const state = await page.evaluate(stateOf);
        return (state.failed || want(state)) && state;
    }, 60000).catch(() => null);
    for (const [width, height, ratio] of [[16384, 16384, 2], [800, 600, 1], [16384, 16384, 4], [800, 600, 1]]) {
        await page.send('Emulation.setDeviceMetricsOverride', {width, height, deviceScaleFactor: ratio, mobile: false});
        const device = `${width * ratio}x${height * ratio}`;
        const laidOut = await reach(`the page laid out for ${device}`, (state) => state.device === device);
        const after = laidOut && await reach('three more ticks', (state) => state.ticks >= laidOut.ticks + 3);
        const got = after || await page.evaluate(stateOf);
        const within = got.width <= 32767 && got.height <= 32767 && got.width * got.height <= 268435456 &&
            got.width * got.height * 5 <= 512 * 1024 * 1024;
        const whole = ratio !== 1 || (got.width === width && got.height === height);
        check(after !== null && !got.failed && within && whole,
            `${width}x${height} CSS pixels at ratio ${ratio}: picture ${got.width}x${got.height}, ` +
            `${after && !got.failed ? 'ticking' : 'stopped'} at tick ${got.ticks}` +
            `${got.message ? ', line: ' + got.message : ''}`);
    }
    await page.close();
}

// Anything failing in the page ends in a line saying so, not a black page.
async function checkFailureShows(browser, fileUrl) {
    const broken = 'CanvasRenderingContext2D.prototype.putImageData = () => { throw new Error("canvas lost"); };';
    const got = await load(browser, fileUrl, 'seed=1&ticks=5', 320, 240, broken);
    check(got.failed && got.message === 'Quorbel stopped: canvas lost',
        `a canvas that fails: ${got.failed ? 'stopped' : 'no failure shown'}, line: ${got.message}`);
}

// A run of ?ticks=N that has ended, resized: it runs again at the new size
// and ends on quorbel-render's picture for that size, not on a black canvas.
async function checkResizeAfterTheEnd(browser, fileUrl) {
    const page = await browser.open(`${fileUrl}?seed=11&speed=19&ticks=20`, 480, 320);
    await page.waitFor('the first run', kDone, 30000).catch(() => {});
    await page.send('Emulation.setDeviceMetricsOverride', {width: 640, height: 400, deviceScaleFactor: 0, mobile: false});
    const again = await page.waitFor('the run at 640x400',
        `document.documentElement.dataset.device === "640x400" && ${kDone}`, 30000).then(() => true, () => false);
    const shot = path.join(scratch, 'resized_shot.png');
    fs.writeFileSync(shot, await page.screenshot());
    await page.close();
    const diff = again ? differingPixels(shot, render(['--seed', '11', '--speed', '19', '--ticks', '20',
        '--resolution', '640x400'], 'resized')) : -1;
    check(diff === 0, `a finished run resized to 640x400: ${again ? diff + ' pixels differ' : 'never laid out again'}`);
}

// The panel offers each value once and changes only its own option in the
// address, keeping what the user gave.
async function checkPanel(browser, fileUrl) {
    const page = await browser.open(`${fileUrl}?ticks=5&cell-size=Medium&seed=3&colour=red`, 640, 480);
    await page.waitFor('the page', kSettled, 30000).catch(() => {});
    const sizes = await page.evaluate(
        '[...document.querySelector("select[name=cell-size]").options].map((o) => o.value).join(",")');
    check(sizes.includes('middle') && !sizes.includes('medium'), `the panel's cell sizes: ${sizes}`);
    const search = await page.evaluate('(() => { const species = document.querySelector("select[name=species]"); ' +
        'species.value = "6"; species.dispatchEvent(new Event("change")); return location.search; })()');
    check(search === '?ticks=5&cell-size=Medium&seed=3&colour=red&species=6', `the address after a change: ${search}`);
    const notice = await page.evaluate('document.getElementById("panel").textContent');
    check(notice.includes(copyright) && /MIT licence/.test(notice), `the panel names the copyright and licence: ${notice}`);
    await page.close();
}

async function run() {
    const html = fs.readFileSync(pagePath);
    const gzip = zlib.gzipSync(html, {level: 9}).length;
    console.log(`size: ${html.length} bytes, ${gzip} gzip-compressed (limit ${kSizeLimit})`);
    check(gzip <= kSizeLimit, 'the page, with all it loads, within 300 KB gzip-compressed');
    // Whoever hosts the one file passes on the licence's notice with it.
    check(html.includes(licence), 'the page holds the licence text whole');

    const fileUrl = 'file://' + path.resolve(pagePath);
    const server = await serve(path.dirname(path.resolve(pagePath)));
    const httpUrl = `http://127.0.0.1:${server.address().port}/${path.basename(pagePath)}`;
    const browsers = {};
    try {
        for (const c of kCases) {
            const scale = c.scale || 1;
            browsers[scale] = browsers[scale] || await Browser.launch(scale);
            const expected = render(c.render, 'expected');
            const bases = c === kCases[0] ? [fileUrl, httpUrl] : [fileUrl];
            for (const base of bases) {
                const got = await load(browsers[scale], base, c.query, ...c.size);
                const diff = differingPixels(got.shot, expected);
                check(diff === 0 && got.message === '',
                    `${c.name} from ${base.split(':')[0]}: ${diff} pixels differ from quorbel-render ` +
                    `(first tick at ${got.firstTickMs} ms)`);
            }
        }

        const browser = browsers[1] || await Browser.launch(1);
        browsers[1] = browser;
        await checkAddresses(browser, fileUrl);
        await checkFailureShows(browser, fileUrl);
        await checkPanel(browser, fileUrl);
        await checkResizeAfterTheEnd(browser, fileUrl);
        await checkHugeWindow(browser, fileUrl);

        // The sheet drawn in WebAssembly is the native generator's, byte for byte.
        const page = await browser.open(`${fileUrl}?ticks=0`, 320, 200);
        await page.waitFor('the page', kDone, 60000);
        const digest = await page.evaluate('QuorbelModule().then((m) => m._quorbel_sheet_digest() >>> 0)');
        await page.close();
        let expectedDigest = 2166136261;
        for (const byte of execFileSync('convert', [nativeSheet, '-depth', '8', 'rgb:-'], {maxBuffer: 1 << 24})) {
            expectedDigest = Math.imul(expectedDigest ^ byte, 16777619) >>> 0;
        }
        check(digest === expectedDigest, `the sheet's digest ${digest} against the native sheet's ${expectedDigest}`);
    } finally {
        Object.values(browsers).forEach((browser) => browser.close());
        server.close();
        fs.rmSync(scratch, {recursive: true, force: true});
    }
    if (failures > 0) {
        throw new Error(`${failures} check(s) failed`);
    }
}

run().catch((error) => {
    console.error(error.message);
    process.exit(1);
});
