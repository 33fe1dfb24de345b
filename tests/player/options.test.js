// How a page switches the runtime's options (the fast clock above all):
// injected options, the script tag's data attributes, and the address's
// fragment, which the tab's next pages keep; and the session trace they read.

import assert from "node:assert/strict";
import test from "node:test";
import { VirtualClock } from "../../src/player/clock.js";
import { readPlayerOptions } from "../../src/player/options.js";
import { Tracer } from "../../src/player/tracer.js";

function fakeWindow(hash, injected, stored = {}) {
    const storage = new Map(Object.entries(stored));
    return {
        location: { hash },
        ORVO_PLAYER_OPTIONS: injected,
        sessionStorage: {
            getItem: (key) => (storage.has(key) ? storage.get(key) : null),
            setItem: (key, value) => storage.set(key, value),
        },
        storage,
    };
}

const script = (attributes) => ({ getAttribute: (name) => (name in attributes ? attributes[name] : null) });

test("defaults: real time, no trace, lenient, every character loads, voice on", () => {
    const options = readPlayerOptions(fakeWindow(""), null);
    assert.equal(options.clockRate, 1);
    assert.equal(options.trace, false);
    assert.equal(options.strict, false);
    assert.equal(options.characters, null);
    assert.equal(options.voice, true);
    assert.equal(options.alert, "native");
});

test("injected options, then data attributes, then the fragment", () => {
    const win = fakeWindow("#orvo-trace=session", { clockRate: 5, strict: true });
    const options = readPlayerOptions(
        win,
        script({ "data-clock-rate": "20", "data-characters": "Orvo, Genie", "data-voice": "false" }),
    );
    assert.equal(options.clockRate, 20);
    assert.equal(options.strict, true);
    assert.deepEqual(options.characters, ["Orvo", "Genie"]);
    assert.equal(options.voice, false);
    assert.equal(options.trace, "session");
});

test("fragment options are kept for the tab's next pages", () => {
    const first = fakeWindow("#orvo-clock-rate=25&orvo-alert=overlay&other=1");
    assert.equal(readPlayerOptions(first, null).clockRate, 25);
    const next = fakeWindow("", undefined, Object.fromEntries(first.storage));
    const options = readPlayerOptions(next, null);
    assert.equal(options.clockRate, 25);
    assert.equal(options.alert, "overlay");
});

test("a session trace is written once the script yields, kept for the next page, and bounded", () => {
    const win = fakeWindow("");
    let writes = 0;
    const setItem = win.sessionStorage.setItem;
    win.sessionStorage.setItem = (key, value) => {
        writes += 1;
        setItem(key, value);
    };
    const timers = [];
    win.setTimeout = (callback) => timers.push(callback);
    win.addEventListener = () => {};
    win.document = { body: null };
    const clock = new VirtualClock();
    const tracer = new Tracer(clock, "session", win);
    // A loop of the page's script that records on every turn.
    for (let i = 0; i < 20000; ++i) tracer.record({ type: "call", name: `Turn${i}` });
    assert.equal(writes, 0, "nothing is written while the script runs");
    for (const callback of timers.splice(0)) callback();
    assert.equal(writes, 1);
    const next = new Tracer(clock, "session", win);
    assert.equal(next.events.length, 5000, "the last 5000 events");
    assert.equal(next.events.at(-1).name, "Turn19999");
});
