// One page's player: the script engine and the emulated Agent control tied
// together, with the page's window, location, alerts and timers as the
// page's script sees them. Nothing here needs a browser.

import { AgentControl } from "./agentcontrol.js";
import { jsView } from "./jscript.js";
import { VBEngine } from "./vbengine.js";
import { vbToNumber, vbToString } from "./vbvalues.js";

// The page's Location as the script sees it: Href and the usual parts.
// navigate(url) does the actual navigation (the browser's, or a test's).
class PageLocation {
    constructor(read, navigate) {
        this._read = read;
        this._navigate = navigate;
    }

    _url() {
        try {
            return new URL(this._read());
        } catch (_error) {
            return null;
        }
    }

    _part(name) {
        const url = this._url();
        return url === null ? "" : url[name];
    }

    get Href() {
        return this._read();
    }

    set Href(value) {
        this._navigate(vbToString(value));
    }

    get Hash() {
        return this._part("hash");
    }

    get Host() {
        return this._part("host");
    }

    get Hostname() {
        return this._part("hostname");
    }

    get Pathname() {
        return this._part("pathname");
    }

    get Port() {
        return this._part("port");
    }

    get Protocol() {
        return this._part("protocol");
    }

    get Search() {
        return this._part("search");
    }

    Assign(url) {
        this._navigate(vbToString(url));
    }

    Replace(url) {
        this._navigate(vbToString(url));
    }

    Reload() {
        this._navigate(this._read());
    }

    toString() {
        return this._read();
    }
}

// The window as the script sees it; its members are also global names.
class PageWindow {
    constructor(player) {
        this._player = player;
    }

    get Location() {
        return this._player.location;
    }

    set Location(value) {
        this._player.location.Href = value;
    }

    get Document() {
        return this._player.host.document;
    }

    get Navigator() {
        return this._player.host.navigator;
    }

    Alert(text) {
        this._player.alert(text);
    }

    SetTimeout(code, ms, language) {
        return this._player.setTimeout(code, ms, language);
    }

    ClearTimeout(id) {
        this._player.clearTimeout(id);
    }
}

// MsgBox's button sets (its second argument & 7) that ask: the answer for
// the first button (accepted) and for the other (refused).
const MSGBOX_ANSWERS = {
    1: [1, 2], // vbOKCancel: vbOK, vbCancel
    2: [4, 3], // vbAbortRetryIgnore: vbRetry, vbAbort
    3: [6, 7], // vbYesNoCancel: vbYes, vbNo
    4: [6, 7], // vbYesNo: vbYes, vbNo
    5: [4, 2], // vbRetryCancel: vbRetry, vbCancel
};

// One page's player, without anything that needs a browser:
//   host.readLocation(), host.navigate(url), host.alert(text): the page's own
//   host.document, host.navigator: optional, handed to the script as they are
//   agentIds: ids of the page's Agent objects (normally just "Agent")
// The result runs script blocks (runScripts) and the page-load event
// (pageLoaded); its control and engine are open for tests.
export function createPagePlayer({
    clock,
    host,
    stage = null,
    voice = null,
    hearing = null,
    options = {},
    trace = () => {},
    warn = () => {},
    reportError = () => {},
    agentIds = ["Agent"],
}) {
    const engine = new VBEngine({ trace, reportError });
    const control = new AgentControl({ clock, stage, voice, hearing, trace, warn, options });
    const timers = new Map();
    let nextTimer = 1;
    const player = {
        engine,
        control,
        host,
        clock,
        location: new PageLocation(
            () => host.readLocation(),
            (url) => {
                trace({ type: "navigate", href: url });
                host.navigate(url);
            },
        ),
        alert(text) {
            const message = text === undefined ? "" : vbToString(text);
            trace({ type: "alert", text: message });
            host.alert(message);
        },
        // The first argument is script text in the page's language, run in
        // the global scope when the time is up (`SetTimeout("Step0", 100)`).
        setTimeout(code, ms, language) {
            const id = nextTimer++;
            const text = vbToString(code);
            const delay = ms === undefined ? 0 : vbToNumber(ms);
            const lang = language === undefined ? "vbscript" : vbToString(language).toLowerCase();
            timers.set(
                id,
                clock.setTimeout(() => {
                    timers.delete(id);
                    trace({ type: "timer", code: text });
                    if (lang.startsWith("javascript") || lang.startsWith("jscript")) {
                        player.runJavaScript(text, `SetTimeout("${text}")`);
                    } else {
                        engine.runCode(text, `SetTimeout("${text}")`);
                    }
                }, delay),
            );
            return id;
        },
        clearTimeout(id) {
            const key = vbToNumber(id);
            if (timers.has(key)) clock.clearTimeout(timers.get(key));
            timers.delete(key);
        },
        // Script text in JavaScript, run in the page's global scope.
        runJavaScript(text, where) {
            try {
                new Function(text)();
            } catch (error) {
                engine.report(error, where);
            }
        },
        // A `<SCRIPT FOR="Agent" EVENT="RequestComplete(request)">` block:
        // in VBScript it becomes the Sub Agent_RequestComplete; in JScript
        // or JavaScript a handler of the event. A handler that fails is
        // reported and the page goes on.
        addEventScript({ forId, event, params, body, language }) {
            const where = `${forId}.${event}`;
            if (language === "vbscript") {
                engine.runBlock(`Sub ${forId}_${event}(${params.join(", ")})\n${body}\nEnd Sub\n`, where);
                return;
            }
            let handler;
            try {
                handler = new Function(...params, body);
            } catch (error) {
                engine.report(error, where);
                return;
            }
            const key = `${forId}.${event}`.toLowerCase();
            if (!jsHandlers.has(key)) jsHandlers.set(key, []);
            jsHandlers.get(key).push({ handler, where });
        },
        // The control as the page's JavaScript sees it.
        jsAgent() {
            return jsView(control);
        },
        // Runs the page's script blocks in document order; a block with a
        // syntax error is skipped, as the browser's script host did.
        runScripts(blocks) {
            for (const [i, source] of blocks.entries()) engine.runBlock(source, `script block ${i + 1}`);
        },
        pageLoaded() {
            engine.fireEvent("Window", "OnLoad", []);
        },
    };
    const pageWindow = new PageWindow(player);
    const jsHandlers = new Map();
    control._onEvent = (eventName, args) => {
        for (const id of agentIds) {
            engine.fireEvent(id, eventName, args);
            for (const { handler, where } of jsHandlers.get(`${id}.${eventName}`.toLowerCase()) || []) {
                trace({ type: "call", name: where });
                try {
                    handler(...args.map(jsView));
                } catch (error) {
                    engine.report(error, where);
                }
            }
        }
    };
    for (const id of agentIds) engine.addValue(id.toLowerCase(), () => control);
    engine.addValue("window", () => pageWindow);
    engine.addValue("self", () => pageWindow);
    engine.addValue("location", () => player.location);
    if (host.document !== undefined) engine.addValue("document", () => host.document);
    if (host.navigator !== undefined) engine.addValue("navigator", () => host.navigator);
    engine.addFunction("alert", (text) => player.alert(text));
    // MsgBox with OK alone is an alert; with two or three buttons it asks
    // (OK or Cancel, Yes or No ...) and answers with the button's value.
    engine.addFunction("msgbox", (text, buttons, title) => {
        const message = text === undefined ? "" : vbToString(text);
        const answers = MSGBOX_ANSWERS[(buttons === undefined ? 0 : vbToNumber(buttons)) & 7];
        if (answers === undefined) {
            player.alert(text);
            return 1; // vbOK
        }
        trace({ type: "ask", text: message });
        const yes = host.confirm ? host.confirm(message, title === undefined ? "" : vbToString(title)) : true;
        return yes ? answers[0] : answers[1];
    });
    // InputBox answers the text typed, or "" when the user cancels.
    engine.addFunction("inputbox", (text, title, initial) => {
        const message = text === undefined ? "" : vbToString(text);
        trace({ type: "ask", text: message });
        const answer = host.prompt ? host.prompt(message, initial === undefined ? "" : vbToString(initial)) : null;
        return answer === null || answer === undefined ? "" : String(answer);
    });
    engine.addFunction("settimeout", (code, ms, language) => player.setTimeout(code, ms, language));
    engine.addFunction("cleartimeout", (id) => player.clearTimeout(id));
    return player;
}
