// The page in headless Chromium, judged on browser screenshots against
// quorbel-render's PNG of the same options (decoded RGB, pixel for pixel,
// ImageMagick's compare), loaded from a file and from a local server.
//
// node --experimental-websocket browser_test.js <quorbel.html> <quorbel-render> <native sheet.png>
'use strict';

const {execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const {Browser} = require('./chromium.js');

const [pagePath, renderer, nativeSheet] = process.argv.slice(2);
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quorbel-web-test-'));
const kSizeLimit = 300 * 1024;
const kDone = 'document.documentElement.dataset.done === "true"';
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

function rendererTakesScale() {
    return execFileSync(renderer, ['--help']).toString().includes('--scale');
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

// Loads ?query at width x height CSS pixels and waits for the last tick.
async function load(browser, base, query, width, height) {
    const page = await browser.open(`${base}?${query}`, width, height);
    await page.waitFor(`the done mark of ?${query}`, kDone, 60000);
    const state = await page.evaluate(
        'JSON.stringify({message: document.getElementById("message").textContent, ' +
        'firstTickMs: document.documentElement.dataset.firstTickMs})');
    const shot = path.join(scratch, 'shot.png');
    fs.writeFileSync(shot, await page.screenshot());
    await page.close();
    return {shot, ...JSON.parse(state)};
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

async function run() {
    const html = fs.readFileSync(pagePath);
    const gzip = zlib.gzipSync(html, {level: 9}).length;
    console.log(`size: ${html.length} bytes, ${gzip} gzip-compressed (limit ${kSizeLimit})`);
    check(gzip <= kSizeLimit, 'the page, with all it loads, within 300 KB gzip-compressed');

    const fileUrl = 'file://' + path.resolve(pagePath);
    const server = await serve(path.dirname(path.resolve(pagePath)));
    const httpUrl = `http://127.0.0.1:${server.address().port}/${path.basename(pagePath)}`;
    const browsers = {};
    try {
        for (const c of kCases) {
            const scale = c.scale || 1;
            if (scale !== 1 && !rendererTakesScale()) {
                console.log(`skip ${c.name}: quorbel-render takes no --scale yet`);
                continue;
            }
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

        // A wrong value and a wrong name: one line naming them and what is
        // taken, and the saver runs on with that option's default (speed 5).
        const browser = browsers[1] || await Browser.launch(1);
        browsers[1] = browser;
        const bad = await load(browser, fileUrl, 'speed=fast&seed=11&colour=red&ticks=8', 1024, 768);
        check(bad.message.includes('speed="fast": speed takes 0..19 or random; using the default (5)') &&
            bad.message.includes('unknown option "colour"'), `the message line: ${bad.message}`);
        const below = '1024x700+0+68';  // under the message line
        const defaults = render(['--seed', '11', '--ticks', '8', '--resolution', '1024x768'], 'defaults');
        const diff = differingPixels(bad.shot, defaults, below);
        check(diff === 0, `with bad options the saver runs on its defaults: ${diff} pixels differ below the line`);

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
