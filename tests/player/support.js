// Shared helpers of the runtime's tests: converted pages, and a page player
// on a virtual clock with a recording host.
import fs from "node:fs";
import path from "node:path";
import { VirtualClock } from "../../src/player/clock.js";
import { createPagePlayer } from "../../src/player/pageplayer.js";

// A converted page as the converter writes it, from tests/player/pages.
export function readPage(name) {
    return fs.readFileSync(path.join(import.meta.dirname, "pages", name), "latin1");
}

// The VBScript blocks of a page, as the browser would hand them over.
export function scriptBlocks(html) {
    const blocks = [];
    const pattern = /<script\b([^>]*)>([\s\S]*?)<\/script>/gi;
    for (let match = pattern.exec(html); match; match = pattern.exec(html)) {
        if (/vbscript/i.test(match[1])) blocks.push(match[2]);
    }
    return blocks;
}

// Runs script blocks on a virtual clock. Returns the player with its clock,
// the trace, and what the page did to its host (alerts, navigations).
export function startPage(blocks, { options = {}, location = "file:///show/1.html" } = {}) {
    const clock = new VirtualClock();
    const trace = [];
    const alerts = [];
    const navigations = [];
    const warnings = [];
    const errors = [];
    const answers = [];
    const ask = (text) => {
        alerts.push(`? ${text}`);
        return answers.shift();
    };
    let href = location;
    const host = {
        readLocation: () => href,
        navigate: (url) => {
            navigations.push(url);
            href = new URL(url, href).href;
        },
        alert: (text) => alerts.push(text),
        // MsgBox and InputBox questions take the answers queued in `answers`.
        confirm: (text) => ask(text),
        prompt: (text) => ask(text),
    };
    const page = createPagePlayer({
        clock,
        host,
        options,
        trace: (event) => trace.push({ t: clock.now(), ...event }),
        warn: (message) => warnings.push(message),
        reportError: (error, event) => errors.push(event),
    });
    page.runScripts(Array.isArray(blocks) ? blocks : [blocks]);
    return { page, clock, trace, alerts, navigations, warnings, errors, answers };
}

// Loads a page file, runs its scripts and its load event, and lets the
// virtual clock run until nothing is pending (or maxMs have passed).
export function playPage(name, { options = {}, maxMs = 120000 } = {}) {
    const run = startPage(scriptBlocks(readPage(name)), { options });
    run.page.pageLoaded();
    run.clock.runUntilIdle(maxMs);
    return run;
}

// The trace without the fields that only restate the timing, for
// comparing sequences.
export function steps(trace, types) {
    return trace.filter((event) => types.includes(event.type));
}
