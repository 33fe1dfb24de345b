// How a page switches the runtime's options (the fast clock above all):
// injected options, the script tag's data attributes, and the address's
// fragment, which the tab's next pages keep.

import assert from "node:assert/strict";
import test from "node:test";
import { readPlayerOptions } from "../../src/player/options.js";

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
