// Ties the script engine, the Agent control and the page together, and
// starts a page's scripts in a browser.

// The Agent control's class id, as the page's OBJECT tag names it.
const AGENT_CLASS_ID = "D45FD31B-5C6E-11D1-9EC1-00C04FD7081F";

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
        } catch (error) {
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

// One page's player, without anything that needs a browser:
//   host.readLocation(), host.navigate(url), host.alert(text): the page's own
//   host.document, host.navigator: optional, handed to the script as they are
//   agentIds: ids of the page's Agent objects (normally just "Agent")
// The result runs script blocks (runScripts) and the page-load event
// (pageLoaded); its control and engine are open for tests.
function createPagePlayer({ clock, host, stage = null, voice = null, options = {}, trace = () => {},
    warn = () => {}, reportError = () => {}, agentIds = ["Agent"] }) {
    const engine = new VBEngine({ trace, reportError });
    const control = new AgentControl({ clock, stage, voice, trace, warn, options });
    const timers = new Map();
    let nextTimer = 1;
    const player = {
        engine,
        control,
        host,
        clock,
        location: new PageLocation(() => host.readLocation(), (url) => {
            trace({ type: "navigate", href: url });
            host.navigate(url);
        }),
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
            timers.set(id, clock.setTimeout(() => {
                timers.delete(id);
                trace({ type: "timer", code: text });
                if (lang.startsWith("javascript") || lang.startsWith("jscript")) {
                    warn(`SetTimeout with ${lang} code is not run: ${text}`);
                } else {
                    engine.runCode(text, `SetTimeout("${text}")`);
                }
            }, delay));
            return id;
        },
        clearTimeout(id) {
            const key = vbToNumber(id);
            if (timers.has(key)) clock.clearTimeout(timers.get(key));
            timers.delete(key);
        },
        // Runs the page's script blocks in document order; a block with a
        // syntax error is skipped, as the browser's script host did.
        runScripts(blocks) {
            blocks.forEach((source, i) => engine.runBlock(source, `script block ${i + 1}`));
        },
        pageLoaded() {
            engine.fireEvent("Window", "OnLoad", []);
        },
    };
    const pageWindow = new PageWindow(player);
    control._onEvent = (eventName, args) => {
        for (const id of agentIds) engine.fireEvent(id, eventName, args);
    };
    for (const id of agentIds) engine.addValue(id.toLowerCase(), () => control);
    engine.addValue("window", () => pageWindow);
    engine.addValue("self", () => pageWindow);
    engine.addValue("location", () => player.location);
    if (host.document !== undefined) engine.addValue("document", () => host.document);
    if (host.navigator !== undefined) engine.addValue("navigator", () => host.navigator);
    engine.addFunction("alert", (text) => player.alert(text));
    engine.addFunction("msgbox", (text) => {
        player.alert(text);
        return 1; // vbOK
    });
    engine.addFunction("settimeout", (code, ms, language) => player.setTimeout(code, ms, language));
    engine.addFunction("cleartimeout", (id) => player.clearTimeout(id));
    return player;
}

// Script blocks in the page's own language, and the ids of its Agent
// objects.
function findPageScripts(document) {
    const blocks = [];
    for (const script of document.querySelectorAll("script")) {
        const language = `${script.getAttribute("language") || ""} ${script.getAttribute("type") || ""}`;
        if (/vbscript|vbs\b/i.test(language) && !script.hasAttribute("src")) blocks.push(script.text);
    }
    const agentIds = [];
    for (const object of document.querySelectorAll("object[classid]")) {
        if (object.getAttribute("classid").toUpperCase().includes(AGENT_CLASS_ID) && object.id) agentIds.push(object.id);
    }
    return { blocks, agentIds: agentIds.length > 0 ? agentIds : ["Agent"] };
}

const OPTION_DEFAULTS = {
    clockRate: 1, // 20 runs everything twenty times faster (tests)
    trace: false, // true: keep a trace; "session": keep it across the tab's pages
    strict: false, // unknown animation names fail instead of playing a neutral gesture
    characters: null, // names that load; null: every name loads our character
    voice: true, // speak with the engine's speech synthesis where it has a voice
    alert: "native", // "overlay" shows Alert texts in the page instead of a dialog
    wordsPerMinute: SPEECH_DEFAULT_WPM,
};

const OPTIONS_STORAGE_KEY = "orvo-player-options";

function parseOptionValue(name, text) {
    if (name === "clockRate" || name === "wordsPerMinute") return Number(text);
    if (name === "characters") return text === "" ? [] : text.split(",").map((entry) => entry.trim());
    if (name === "trace" && text === "session") return text;
    if (name === "alert") return text;
    return text === "" || text === "1" || text === "true";
}

// Options, later sources winning: the defaults; window.ORVO_PLAYER_OPTIONS
// (set by whoever injects the runtime); options carried over from an earlier
// page of this tab; the script tag's data-* attributes (data-clock-rate="20");
// the page address's fragment (#orvo-clock-rate=20&orvo-trace=session), which
// is carried over to the tab's next pages.
function readPlayerOptions(win, script) {
    const options = { ...OPTION_DEFAULTS };
    const names = Object.keys(OPTION_DEFAULTS);
    const dashed = (name) => name.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`);
    if (win.ORVO_PLAYER_OPTIONS && typeof win.ORVO_PLAYER_OPTIONS === "object") {
        for (const name of names) if (name in win.ORVO_PLAYER_OPTIONS) options[name] = win.ORVO_PLAYER_OPTIONS[name];
    }
    let carried = {};
    try {
        carried = JSON.parse(win.sessionStorage.getItem(OPTIONS_STORAGE_KEY) || "{}");
    } catch (error) {
        carried = {};
    }
    Object.assign(options, carried);
    if (script) {
        for (const name of names) {
            const value = script.getAttribute(`data-${dashed(name)}`);
            if (value !== null) options[name] = parseOptionValue(name, value);
        }
    }
    const fragment = new URLSearchParams((win.location.hash || "").replace(/^#/, ""));
    let fromFragment = false;
    for (const name of names) {
        const value = fragment.get(`orvo-${dashed(name)}`);
        if (value !== null) {
            carried[name] = options[name] = parseOptionValue(name, value);
            fromFragment = true;
        }
    }
    if (fromFragment) {
        try {
            win.sessionStorage.setItem(OPTIONS_STORAGE_KEY, JSON.stringify(carried));
        } catch (error) {
            // without storage the options hold for this page only
        }
    }
    return options;
}

// Starts the runtime in a browser page: once the document is parsed, runs
// its VBScript blocks; once it has loaded, raises Window_OnLoad. Works when
// loaded by a <script> tag (anywhere in the page) and when injected at any
// point of the page's life.
function bootPage(win, script) {
    if (win.OrvoPlayer.booted) return;
    win.OrvoPlayer.booted = true;
    const document = win.document;
    const options = readPlayerOptions(win, script);
    const clock = new RealClock(options.clockRate, win);
    const tracer = new Tracer(clock, options.trace, win);
    const stage = new Stage(win, clock);
    const voice = options.voice && clock.rate === 1 ? createSpeechVoice(win) : null;
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
    };
    const warn = (message) => win.console.warn(`orvo-player: ${message}`);
    const reportError = (error, event) => {
        const where = event.line ? `${event.where}, line ${event.line}` : event.where;
        win.console.error(`orvo-player: script error in ${where}: ${event.description}`);
    };
    const start = () => {
        const { blocks, agentIds } = findPageScripts(document);
        const player = createPagePlayer({ clock, host, stage, voice, options, trace: (event) => tracer.record(event),
            warn, reportError, agentIds });
        win.OrvoPlayer.player = player;
        tracer.record({ type: "page", url: win.location.href, scripts: blocks.length });
        player.runScripts(blocks);
        if (document.readyState === "complete") clock.setTimeout(() => player.pageLoaded(), 0);
        else win.addEventListener("load", () => player.pageLoaded(), { once: true });
    };
    win.OrvoPlayer.options = options;
    win.OrvoPlayer.trace = () => tracer.events.slice();
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", start, { once: true });
    else start();
}
