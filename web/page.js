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
    let stopped = false;

    // The canvas in device pixels; the scale by the desktop's rule.
    function deviceSize() {
        const ratio = window.devicePixelRatio || 1;
        return {
            width: Math.max(1, Math.round(window.innerWidth * ratio)),
            height: Math.max(1, Math.round(window.innerHeight * ratio)),
            scale: q._quorbel_scale_for_ratio(ratio),
        };
    }

    // The canvas at the module's picture size, which is the device size
    // unless that is more than a canvas or the module can hold; the style
    // stretches it over the window.
    function sizeCanvas() {
        canvas.width = q._quorbel_picture_width();
        canvas.height = q._quorbel_picture_height();
        context.fillStyle = '#000';
        context.fillRect(0, 0, canvas.width, canvas.height);
    }

    // Memory may move when it grows: the view is made again when it has.
    function bindImage() {
        const bytes = canvas.width * canvas.height * 4;
        const data = new Uint8ClampedArray(q.HEAPU8.buffer, q._quorbel_pixels(), bytes);
        image = new ImageData(data, canvas.width, canvas.height);
    }

    function showMessage(text) {
        message.textContent = text;
        message.title = text;
    }

    // A failure of the module or the canvas ends the saver with a line
    // saying so, never with a black or frozen page.
    function stop(error) {
        clearTimeout(timer);
        timer = 0;
        stopped = true;
        root.dataset.failed = 'true';
        showMessage('Quorbel stopped: ' + ((error && error.message) || error));
    }

    function guarded(step) {
        return (...args) => {
            if (stopped) {
                return;
            }
            try {
                step(...args);
            } catch (error) {
                stop(error);
            }
        };
    }

    // Names and values reach the module on its heap with their lengths, not
    // through its small stack; one longer than any it takes is cut to one
    // more character, which the module refuses without reading it whole.
    function passOption(name, value) {
        const longest = q._quorbel_longest_text();
        const spans = [name, value].map((whole) => {
            const text = whole.length > longest ? whole.slice(0, longest + 1) : whole;
            const size = q.lengthBytesUTF8(text);
            const pointer = q._malloc(size + 1);
            if (!pointer) {
                throw new Error('no memory for the address');
            }
            q.stringToUTF8(text, pointer, size + 1);
            return [pointer, size];
        });
        try {
            q._quorbel_option(spans[0][0], spans[0][1], spans[1][0], spans[1][1]);
        } finally {
            spans.forEach(([pointer]) => q._free(pointer));
        }
    }

    function readAddress() {
        q._quorbel_reset_options();
        for (const [name, value] of new URLSearchParams(location.search)) {
            passOption(name, value);
        }
        showMessage(q.UTF8ToString(q._quorbel_message()));
        tickLimit = q._quorbel_tick_limit();
    }

    // Without a seed in the address each tab draws its own, so that tabs
    // opened together show different worlds.
    function pageSeed() {
        return crypto.getRandomValues(new Uint32Array(1))[0];
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
        if (!stopped && !document.hidden && !finished()) {
            // The delay counts from the end of a tick, as on the desktop.
            timer = setTimeout(guarded(tick), q._quorbel_tick_delay());
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
        q._quorbel_start(device.width, device.height, device.scale, pageSeed());
        root.dataset.device = `${device.width}x${device.height}`;
        sizeCanvas();
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
    // renews its world at the new size, as the X11 saver does. A run of
    // ?ticks=N that has ended starts again at the new size and ends on the
    // picture a load at that size gives: its world was laid out for the old
    // size, which no stretch or crop shows faithfully.
    function onResize() {
        if (resizeQueued) {
            return;
        }
        resizeQueued = true;
        requestAnimationFrame(guarded(() => {
            resizeQueued = false;
            const size = deviceSize();
            if (size.width === device.width && size.height === device.height && size.scale === device.scale) {
                return;
            }
            if (finished()) {
                start();
                return;
            }
            device = size;
            q._quorbel_resize(device.width, device.height, device.scale);
            root.dataset.device = `${device.width}x${device.height}`;
            sizeCanvas();
            bindImage();
        }));
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
    // rewrites that option in the address, keeping the rest as given, so
    // that a link holds the settings, and starts the saver again with them.
    function buildPanel() {
        const table = q.UTF8ToString(q._quorbel_option_table());
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
            control.addEventListener('change', guarded(applyPanel));
            row.append(control);
            fields.append(row);
        }
    }

    function applyPanel(event) {
        const control = event.target;
        const value = control.value.trim();
        const address = new URLSearchParams(location.search);
        address.delete(control.name);
        if (value !== '' && value !== control.dataset.defaultText) {
            address.set(control.name, value);
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
        guarded(() => {
            buildPanel();
            listen();
            start();
        })();
    }, (error) => showMessage('Quorbel cannot start here: ' + error));
})();
