// Starts a page's scripts in a browser: finds the page's script blocks and
// Agent objects, and ties the player to the real clock, the stage, the
// voice and the trace.

import { RealClock } from "./clock.js";
import { createEngineVoice } from "./enginevoice.js";
import { readPlayerOptions } from "./options.js";
import { createPagePlayer } from "./pageplayer.js";
import { Stage } from "./stage.js";
import { Tracer } from "./tracer.js";

// The Agent control's class id, as the page's OBJECT tag names it.
const AGENT_CLASS_ID = "D45FD31B-5C6E-11D1-9EC1-00C04FD7081F";

// Script blocks in the page's own language, and the ids of its Agent
// objects.
export function findPageScripts(document) {
    const blocks = [];
    for (const script of document.querySelectorAll("script")) {
        const language = `${script.getAttribute("language") || ""} ${script.getAttribute("type") || ""}`;
        if (/vbscript|vbs\b/i.test(language) && !script.hasAttribute("src")) blocks.push(script.text);
    }
    const agentIds = [];
    for (const object of document.querySelectorAll("object[classid]")) {
        if (object.getAttribute("classid").toUpperCase().includes(AGENT_CLASS_ID) && object.id)
            agentIds.push(object.id);
    }
    return { blocks, agentIds: agentIds.length > 0 ? agentIds : ["Agent"] };
}

// Starts the runtime in a browser page: once the document is parsed, runs
// its VBScript blocks; once it has loaded, raises Window_OnLoad. Works when
// loaded by a <script> tag (anywhere in the page) and when injected at any
// point of the page's life.
export function bootPage(win, script) {
    if (win.OrvoPlayer.booted) return;
    win.OrvoPlayer.booted = true;
    const document = win.document;
    const options = readPlayerOptions(win, script);
    const clock = new RealClock(options.clockRate, win);
    const tracer = new Tracer(clock, options.trace, win);
    const stage = new Stage(win, clock, (event) => tracer.record(event));
    // The engine's voice, where it has one (never on a fast clock); a native
    // voice of the window replaces it through OrvoPlayer.setVoice(backend).
    let voice = options.voice && clock.rate === 1 ? createEngineVoice(win) : null;
    let hearing = null;
    let player = null;
    const host = {
        document,
        navigator: win.navigator,
        readLocation: () => win.location.href,
        navigate: (url) => {
            win.location.href = url;
        },
        alert: (text) => {
            if (options.alert === "overlay") stage.showMessage(text);
            else win.alert(text);
        },
        confirm: (text) => win.confirm(text),
        prompt: (text, initial) => win.prompt(text, initial),
    };
    const warn = (message) => win.console.warn(`orvo-player: ${message}`);
    const reportError = (error, event) => {
        const where = event.line ? `${event.where}, line ${event.line}` : event.where;
        win.console.error(`orvo-player: script error in ${where}: ${event.description}`);
    };
    const start = () => {
        const { blocks, agentIds } = findPageScripts(document);
        player = createPagePlayer({
            clock,
            host,
            stage,
            voice,
            hearing,
            options,
            trace: (event) => tracer.record(event),
            warn,
            reportError,
            agentIds,
        });
        win.OrvoPlayer.player = player;
        tracer.record({ type: "page", url: win.location.href, scripts: blocks.length });
        player.runScripts(blocks);
        if (document.readyState === "complete") clock.setTimeout(() => player.pageLoaded(), 0);
        else win.addEventListener("load", () => player.pageLoaded(), { once: true });
    };
    // The window's own voice and hearing plug in here (see voice.js for a
    // voice backend; hearing is { listen(character, on) }), before or after
    // the page has started.
    win.OrvoPlayer.setVoice = (backend) => {
        voice = backend;
        if (player !== null) player.control._voicing.setBackend(backend);
    };
    win.OrvoPlayer.setHearing = (backend) => {
        hearing = backend;
        if (player !== null) player.control._hearing = backend;
    };
    win.OrvoPlayer.options = options;
    win.OrvoPlayer.trace = () => tracer.events.slice();
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", start, { once: true });
    else start();
}
