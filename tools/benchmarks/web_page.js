// The web page in headless Chromium, for tools/benchmarks/web_cpu.sh.
//
// node --experimental-websocket web_page.js run <quorbel.html> <query> <width> <height>
//   shows the page and prints "pid <chromium's pid>" once the first tick is
//   drawn; runs until SIGTERM.
// node --experimental-websocket web_page.js first-tick <quorbel.html> <loads>
//   loads the page (Speed 19: 28 ms before the first tick) that many times,
//   each in a fresh tab, and prints per load the milliseconds from the start
//   of navigation to the saver's being ready (module loaded, sheet drawn,
//   first world made) and to the end of the first tick.
'use strict';

const path = require('path');
const {Browser} = require('../../tests/web/chromium.js');

const [mode, page, ...rest] = process.argv.slice(2);
const url = 'file://' + path.resolve(page);
const kFirstTick = 'document.documentElement.dataset.firstTickMs';

async function run() {
    const browser = await Browser.launch(1);
    try {
        if (mode === 'run') {
            const [query, width, height] = rest;
            const tab = await browser.open(`${url}?${query}`, Number(width), Number(height));
            await tab.waitFor('the first tick', kFirstTick, 60000);
            console.log(`pid ${browser.child.pid}`);
            await new Promise((resolve) => process.on('SIGTERM', resolve));
        } else if (mode === 'first-tick') {
            for (let i = 0; i < Number(rest[0]); ++i) {
                const tab = await browser.open(`${url}?seed=1&speed=19&ticks=1`, 1920, 1080);
                const first = await tab.waitFor('the first tick', kFirstTick, 60000);
                console.log(await tab.evaluate('document.documentElement.dataset.readyMs'), first);
                await tab.close();
            }
        } else {
            throw new Error(`unknown mode ${mode}`);
        }
    } finally {
        browser.close();
    }
}

run().catch((error) => {
    console.error(error.message);
    process.exit(1);
});
