// The page around the saver: the canvas at device resolution, the ticks at
// the saver's own delay, the options from the address, full screen, the
// idle pointer and the settings panel. The saver itself is QuorbelModule,
// the WebAssembly build of the portable core, loaded from this same file.
'use strict';

(function () {
    const kPointerIdleMs = 3000;
    const root = document.documentElement;
    const canvas = document.getElementById('saver');
    const context = canvas.getContext('2d', {alpha: false});
    const message = document.getElementById('message');
    const panel = document.getElementById('panel');
    const fields = document.getElementById('fields');
    const openButton = document.getElementById('open-settings');

    let q = null;      // the module
    let image = null;  // ImageData over the module's RGBA picture
    let device = {width: 0, height: 0, scale: 1};
    let timer = 0;
    let ticksDone = 0;
    let tickLimit = -1;
    let resizeQueued = false;
    let idleTimer = 0;

    // The canvas in device pixels; the scale by the desktop's rule.
    function deviceSize() {
        const ratio = window.devicePixelRatio || 1;
        return {
            width: Math.max(1, Math.round(window.innerWidth * ratio)),
            height: Math.max(1, Math.round(window.innerHeight * ratio)),
            scale: q._quorbel_scale_for_ratio(ratio),
        };
    }

    function sizeCanvas() {
        canvas.width = device.width;
        canvas.height = device.height;
        context.fillStyle = '#000';
        context.fillRect(0, 0, device.width, device.height);
    }

    // Memory may move when it grows: the view is made again when it has.
    function bindImage() {
        const bytes = device.width * device.height * 4;
        const data = new Uint8ClampedArray(q.HEAPU8.buffer, q._quorbel_pixels(), bytes);
        image = new ImageData(data, device.width, device.height);
    }

    function showMessage(text) {
        message.textContent = text;
        message.title = text;
    }

    function readAddress() {
        q._quorbel_reset_options();
        const lines = [];
        for (const [name, value] of new URLSearchParams(location.search)) {
            const line = q.ccall('quorbel_option', 'string', ['string', 'string'], [name, value]);
            if (line) {
                lines.push(line);
            }
        }
        showMessage(lines.join(' \u00b7 '));
        tickLimit = q._quorbel_tick_limit();
    }

    function finished() {
        return tickLimit >= 0 && ticksDone >= tickLimit;
    }

    function markDone() {
        root.dataset.done = 'true';
        document.title = 'Quorbel (done)';
    }

    function schedule() {
        clearTimeout(timer);
        timer = 0;
        if (!document.hidden && !finished()) {
            // The delay counts from the end of a tick, as on the desktop.
            timer = setTimeout(tick, q._quorbel_tick_delay());
        }
    }

    function tick() {
        timer = 0;
        const count = q._quorbel_tick();
        ++ticksDone;
        if (image.data.buffer !== q.HEAPU8.buffer) {
            bindImage();
        }
        const heap = q.HEAP32;
        const first = q._quorbel_rects() >> 2;
        for (let i = 0; i < count; ++i) {
            const [left, top, right, bottom] = heap.subarray(first + 4 * i, first + 4 * i + 4);
            context.putImageData(image, 0, 0, left, top, right - left, bottom - top);
        }
        if (root.dataset.firstTickMs === undefined) {
            root.dataset.firstTickMs = Math.round(performance.now());
        }
        root.dataset.ticks = ticksDone;
        if (finished()) {
            markDone();
        } else {
            schedule();
        }
    }

    function start() {
        clearTimeout(timer);
        readAddress();
        device = deviceSize();
        sizeCanvas();
        q._quorbel_start(device.width, device.height, device.scale);
        if (root.dataset.readyMs === undefined) {
            root.dataset.readyMs = Math.round(performance.now());  // the sheet drawn, the first world made
        }
        bindImage();
        ticksDone = 0;
        delete root.dataset.done;
        if (finished()) {
            markDone();
        }
        schedule();
    }

    // A burst of size changes counts once, at the next frame; the saver
    // renews its world at the new size, as the X11 saver does.
    function onResize() {
        if (resizeQueued) {
            return;
        }
        resizeQueued = true;
        requestAnimationFrame(() => {
            resizeQueued = false;
            const size = deviceSize();
            if (size.width === device.width && size.height === device.height && size.scale === device.scale) {
                return;
            }
            device = size;
            sizeCanvas();
            q._quorbel_resize(device.width, device.height, device.scale);
            bindImage();
        });
    }

    // A move to a screen of another pixel ratio fires no resize.
    function watchPixelRatio() {
        matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
            onResize();
            watchPixelRatio();
        }, {once: true});
    }

    function pointerMoved() {
        document.body.classList.remove('idle');
        clearTimeout(idleTimer);
        idleTimer = setTimeout(() => {
            if (panel.hidden) {
                document.body.classList.add('idle');
            }
        }, kPointerIdleMs);
    }

    function enterFullScreen() {
        if (!document.fullscreenElement && root.requestFullscreen) {
            root.requestFullscreen().catch(() => {});
        }
    }

    // The panel offers each option with the table's English label; a change
    // rewrites the address, so that a link holds the settings, and starts
    // the saver again with them.
    function buildPanel() {
        const table = q.ccall('quorbel_option_table', 'string', [], []);
        const address = new URLSearchParams(location.search);
        for (const line of table.trim().split('\n')) {
            const [name, label, values, defaultText] = line.split('\t');
            const row = document.createElement('label');
            row.textContent = label;
            const choices = [];
            let wide = false;
            for (const value of values.split('|')) {
                const range = /^(\d+)\.\.(\d+)$/.exec(value);
                if (range && Number(range[2]) - Number(range[1]) <= 100) {
                    for (let n = Number(range[1]); n <= Number(range[2]); ++n) {
                        choices.push(String(n));
                    }
                } else if (range) {
                    wide = true;
                } else {
                    choices.push(value);
                }
            }
            const given = (address.get(name) || '').toLowerCase();
            let control;
            if (wide) {
                control = document.createElement('input');
                control.inputMode = 'numeric';
                control.placeholder = defaultText;
                control.value = /^\d+$/.test(given) ? given : '';
            } else {
                control = document.createElement('select');
                for (const choice of choices) {
                    control.add(new Option(choice, choice));
                }
                control.value = choices.includes(given) ? given : defaultText;
            }
            control.name = name;
            control.dataset.defaultText = defaultText;
            control.addEventListener('change', applyPanel);
            row.append(control);
            fields.append(row);
        }
    }

    function applyPanel() {
        const address = new URLSearchParams();
        for (const control of fields.querySelectorAll('select, input')) {
            const value = control.value.trim();
            if (value !== '' && value !== control.dataset.defaultText) {
                address.set(control.name, value);
            }
        }
        const search = address.toString() ? '?' + address.toString() : '';
        try {
            history.replaceState(null, '', location.pathname + search);
        } catch (e) {
            location.search = search;  // some browsers refuse it for files: load the page again
            return;
        }
        start();
    }

    function togglePanel(open) {
        panel.hidden = !open;
        if (open) {
            pointerMoved();
            const first = fields.querySelector('select, input');
            if (first) {
                first.focus();
            }
        }
    }

    function listen() {
        window.addEventListener('resize', onResize);
        watchPixelRatio();
        document.addEventListener('visibilitychange', schedule);
        document.addEventListener('pointermove', pointerMoved);
        canvas.addEventListener('click', enterFullScreen);
        openButton.addEventListener('click', () => togglePanel(panel.hidden));
        panel.addEventListener('submit', (event) => event.preventDefault());
        document.addEventListener('keydown', (event) => {
            if (event.key === 'Escape') {
                if (!panel.hidden) {
                    togglePanel(false);
                } else if (document.fullscreenElement) {
                    document.exitFullscreen().catch(() => {});
                }
            } else if (panel.hidden && (event.key === 'f' || event.key === 'F')) {
                enterFullScreen();
            } else if (panel.hidden && (event.key === 's' || event.key === 'S')) {
                togglePanel(true);
            }
        });
    }

    QuorbelModule().then((module) => {
        q = module;
        buildPanel();
        listen();
        start();
    }, (error) => showMessage('Quorbel cannot start here: ' + error));
})();
