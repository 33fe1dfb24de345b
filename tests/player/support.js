// Shared helpers of the runtime's tests: the bundle under test, and a page
// player on a virtual clock with a recording host.
"use strict";

const { execFileSync } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");

// The bundle that CMake built (ORVO_PLAYER_BUNDLE, set by CTest), or one
// made from the sources now when the tests run by hand.
function bundlePath() {
    if (process.env.ORVO_PLAYER_BUNDLE) return path.resolve(process.env.ORVO_PLAYER_BUNDLE);
    const out = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "orvo-player-")), "orvo-player.js");
    const script = path.join(__dirname, "..", "..", "src", "player", "bundle.cmake");
    execFileSync("cmake", [`-DORVO_PLAYER_OUT=${out}`, "-P", script]);
    return out;
}

const player = require(bundlePath());

// A converted page as the converter writes it, from tests/player/pages.
function readPage(name) {
    return fs.readFileSync(path.join(__dirname, "pages", name), "latin1");
}

// The VBScript blocks of a page, as the browser would hand them over.
function scriptBlocks(html) {
    const blocks = [];
    const pattern = /<script\b([^>]*)>([\s\S]*?)<\/script>/gi;
    for (let match = pattern.exec(html); match; match = pattern.exec(html)) {
        if (/vbscript/i.test(match[1])) blocks.push(match[2]);
    }
    return blocks;
}

// Runs script blocks on a virtual clock. Returns the player with its clock,
// the trace, and what the page did to its host (alerts, navigations).
function startPage(blocks, { options = {}, location = "file:///show/1.html" } = {}) {
    const clock = new player.VirtualClock();
    const trace = [];
    const alerts = [];
    const navigations = [];
    const warnings = [];
    const errors = [];
    let href = location;
    const host = {
        readLocation: () => href,
        navigate: (url) => {
            navigations.push(url);
            href = new URL(url, href).href;
        },
        alert: (text) => alerts.push(text),
    };
    const page = player.createPagePlayer({
        clock, host, options,
        trace: (event) => trace.push({ t: clock.now(), ...event }),
        warn: (message) => warnings.push(message),
        reportError: (error, event) => errors.push(event),
    });
    page.runScripts(Array.isArray(blocks) ? blocks : [blocks]);
    return { page, clock, trace, alerts, navigations, warnings, errors };
}

// Loads a page file, runs its scripts and its load event, and lets the
// virtual clock run until nothing is pending (or maxMs have passed).
function playPage(name, { options = {}, maxMs = 120000 } = {}) {
    const run = startPage(scriptBlocks(readPage(name)), { options });
    run.page.pageLoaded();
    run.clock.runUntilIdle(maxMs);
    return run;
}

// The trace without the fields that only restate the timing, for
// comparing sequences.
function steps(trace, types) {
    return trace.filter((event) => types.includes(event.type));
}

module.exports = { player, readPage, scriptBlocks, startPage, playPage, steps };
