// Starts a page's scripts in a browser: finds the page's script blocks and
// Agent objects, and ties the player to the real clock, the stage, the
// voice and the trace.

import { RealClock } from "./clock.js";
import { createEngineVoice } from "./enginevoice.js";
import { isJavaScriptLanguage, parseEventAttribute } from "./jscript.js";
import { createNativeHearing } from "./nativehearing.js";
import { createNativeVoice } from "./nativevoice.js";
import { readPlayerOptions } from "./options.js";
import { createPagePlayer } from "./pageplayer.js";
import { Stage } from "./stage.js";
import { Tracer } from "./tracer.js";

// The Agent control's class id, as the page's OBJECT tag names it.
const AGENT_CLASS_ID = "D45FD31B-5C6E-11D1-9EC1-00C04FD7081F";

// The page's scripts that the runtime runs: its VBScript blocks, its
// event blocks (`<SCRIPT FOR="Agent" EVENT="Command(UserInput)">`, in
// VBScript or JScript), and the ids of its Agent objects. Plain JScript and
// JavaScript blocks are the browser's own to run.
export function findPageScripts(document) {
    const blocks = [];
    const eventScripts = [];
    for (const script of document.querySelectorAll("script")) {
        if (script.hasAttribute("src")) continue;
        const language = script.getAttribute("language") || script.getAttribute("type") || "";
        const vbscript = /vbscript|vbs\b/i.test(language);
        if (script.hasAttribute("for") && script.hasAttribute("event")) {
            const handled = parseEventAttribute(script.getAttribute("event"));
            const forId = script.getAttribute("for").trim();
            if (handled === null || !/^[A-Za-z_][\w]*$/.test(forId)) continue;
            if (!vbscript && language !== "" && !isJavaScriptLanguage(language)) continue;
            eventScripts.push({ forId, ...handled, body: script.text, language: vbscript ? "vbscript" : "javascript" });
        } else if (vbscript) {
            blocks.push(script.text);
        }
    }
    const agentIds = [];
    for (const object of document.querySelectorAll("object[classid]")) {
        if (object.getAttribute("classid").toUpperCase().includes(AGENT_CLASS_ID) && object.id)
            agentIds.push(object.id);
    }
    return { blocks, eventScripts, agentIds: agentIds.length > 0 ? agentIds : ["Agent"] };
}

// Whether the page plays in the debug frame (DebugFrame.html), where the
// author wants to see the script errors.
function inDebugFrame(win) {
    try {
        return win.parent !== win && /DebugFrame\.html$/i.test(win.parent.location.pathname);
    } catch (_error) {
        return false; // a parent of another origin is no debug frame of ours
    }
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
    // Inside ViewOrvo the window's voice comes first.
    let voice =
        options.voice && clock.rate === 1
            ? createNativeVoice(win, clock, (event) => tracer.record(event)) || createEngineVoice(win)
            : null;
    // Inside ViewOrvo the window hears the voice commands; elsewhere they
    // are clicked.
    let hearing = createNativeHearing(win, { stage, trace: (event) => tracer.record(event) });
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
    const debug = options.debug || inDebugFrame(win);
    const reportError = (error, event) => {
        const where = event.line ? `${event.where}, line ${event.line}` : event.where;
        win.console.error(`orvo-player: script error in ${where}: ${event.description}`);
        if (debug) stage.showScriptError(`${where}: ${event.description}`);
    };
    const start = () => {
        const { blocks, eventScripts, agentIds } = findPageScripts(document);
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
        tracer.record({ type: "page", url: win.location.href, scripts: blocks.length, handlers: eventScripts.length });
        // The page's JavaScript reaches the control by its OBJECT's id, as it
        // did the real one (an own property of the window comes before the
        // element of that id).
        for (const id of agentIds) {
            try {
                Object.defineProperty(win, id, { value: player.jsAgent(), configurable: true, writable: true });
            } catch (error) {
                warn(`the page's ${id} cannot stand for the Agent control: ${error.message}`);
            }
        }
        player.runScripts(blocks);
        for (const eventScript of eventScripts) player.addEventScript(eventScript);
        if (document.readyState === "complete") clock.setTimeout(() => player.pageLoaded(), 0);
        else win.addEventListener("load", () => player.pageLoaded(), { once: true });
    };
    // The window's own voice and hearing plug in here (see voice.js for a
    // voice backend, nativehearing.js for a hearing one), before or after
    // the page has started.
    win.OrvoPlayer.setVoice = (backend) => {
        voice = backend;
        if (player !== null) player.control._voicing.setBackend(backend);
    };
    win.OrvoPlayer.setHearing = (backend) => {
        hearing = backend;
        if (player !== null) {
            player.control._hearing = backend;
            player.control._voiceCommandsChanged();
        }
    };
    win.OrvoPlayer.options = options;
    win.OrvoPlayer.trace = () => tracer.events.slice();
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", start, { once: true });
    else start();
}
