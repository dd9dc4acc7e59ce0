// Headless Chromium driven over the DevTools protocol with Node's own
// WebSocket (node --experimental-websocket): a private profile, pages of a
// given size, expressions evaluated, screenshots. Shared by the browser
// tests and the benchmark.
'use strict';

const {spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--force-color-profile=srgb', '--hide-scrollbars'];

async function until(what, check, timeoutMs) {
    const end = Date.now() + timeoutMs;
    for (;;) {
        const value = await check();
        if (value) {
            return value;
        }
        if (Date.now() > end) {
            throw new Error(`timed out after ${timeoutMs} ms waiting for ${what}`);
        }
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
}

class Browser {
    // scale: the device scale factor forced on every page.
    static async launch(scale, extraFlags = []) {
        const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorbel-chromium-'));
        const args = [...kFlags, `--user-data-dir=${profile}`, `--force-device-scale-factor=${scale}`,
            '--remote-debugging-port=0', ...extraFlags, 'about:blank'];
        const child = spawn(process.env.CHROMIUM || 'chromium', args, {stdio: ['ignore', 'ignore', 'pipe']});
        let log = '';
        child.stderr.on('data', (chunk) => { log = (log + chunk).slice(-4000); });
        const browser = new Browser(child, profile);
        try {
            const portFile = path.join(profile, 'DevToolsActivePort');
            const lines = await until('DevToolsActivePort', () => {
                if (child.exitCode !== null) {
                    throw new Error(`chromium ended (${child.exitCode}): ${log}`);
                }
                return fs.existsSync(portFile) && fs.readFileSync(portFile, 'utf8').split('\n');
            }, 30000);
            await browser.connect(`ws://127.0.0.1:${lines[0]}${lines[1]}`);
        } catch (error) {
            browser.close();
            throw error;
        }
        return browser;
    }

    constructor(child, profile) {
        this.child = child;
        this.profile = profile;
        this.nextId = 1;
        this.pending = new Map();
    }

    connect(url) {
        this.socket = new WebSocket(url);
        this.socket.onmessage = (event) => {
            const message = JSON.parse(event.data);
            const waiter = this.pending.get(message.id);
            if (waiter) {
                this.pending.delete(message.id);
                message.error ? waiter.reject(new Error(JSON.stringify(message.error))) : waiter.resolve(message.result);
            }
        };
        return new Promise((resolve, reject) => {
            this.socket.onopen = resolve;
            this.socket.onerror = () => reject(new Error('cannot connect to chromium'));
        });
    }

    send(method, params = {}, sessionId = undefined) {
        const id = this.nextId++;
        this.socket.send(JSON.stringify({id, method, params, sessionId}));
        return new Promise((resolve, reject) => this.pending.set(id, {resolve, reject}));
    }

    // A new page of width x height CSS pixels showing url; script, if any,
    // runs in it before the page's own.
    async open(url, width, height, script = '') {
        const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'});
        const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
        const page = new Page(this, targetId, sessionId);
        // The viewport exactly, at the forced device scale factor (0: keep it).
        await page.send('Emulation.setDeviceMetricsOverride', {width, height, deviceScaleFactor: 0, mobile: false});
        if (script) {
            await page.send('Page.enable');
            await page.send('Page.addScriptToEvaluateOnNewDocument', {source: script});
        }
        await page.send('Page.navigate', {url});
        return page;
    }

    close() {
        try {
            this.socket && this.socket.close();
        } catch (e) {
            // already closed
        }
        if (this.child.exitCode === null) {
            this.child.kill('SIGTERM');
        }
        const profile = this.profile;
        // Chromium's helper processes may still write into the profile for a
        // moment after the browser itself has ended: retry, and never let a
        // leftover temporary folder fail a test.
        const remove = () => {
            try {
                fs.rmSync(profile, {recursive: true, force: true, maxRetries: 20, retryDelay: 100});
            } catch (e) {
                console.error(`note: could not remove ${profile}: ${e.message}`);
            }
        };
        this.child.exitCode === null ? this.child.once('exit', remove) : remove();
    }
}

class Page {
    constructor(browser, targetId, sessionId) {
        this.browser = browser;
        this.targetId = targetId;
        this.sessionId = sessionId;
    }

    send(method, params = {}) {
        return this.browser.send(method, params, this.sessionId);
    }

    async evaluate(expression) {
        const {result, exceptionDetails} =
            await this.send('Runtime.evaluate', {expression, returnByValue: true, awaitPromise: true});
        if (exceptionDetails) {
            throw new Error(`${expression}: ${JSON.stringify(exceptionDetails)}`);
        }
        return result.value;
    }

    waitFor(what, expression, timeoutMs) {
        return until(what, () => this.evaluate(expression).catch(() => false), timeoutMs);
    }

    async screenshot() {
        const {data} = await this.send('Page.captureScreenshot', {format: 'png'});
        return Buffer.from(data, 'base64');
    }

    close() {
        return this.browser.send('Target.closeTarget', {targetId: this.targetId});
    }
}

module.exports = {Browser, until};
