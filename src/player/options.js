// The runtime's options and where a page takes them from.

import { SPEECH_DEFAULT_WPM } from "./speechtext.js";

const OPTION_DEFAULTS = {
    clockRate: 1, // 20 runs everything twenty times faster (tests)
    trace: false, // true: keep a trace; "session": keep it across the tab's pages
    strict: false, // unknown animation names fail instead of playing a neutral gesture
    characters: null, // names that load; null: every name loads our character
    voice: true, // speak with the engine's speech synthesis where it has a voice
    alert: "native", // "overlay" shows Alert texts in the page instead of a dialog
    wordsPerMinute: SPEECH_DEFAULT_WPM,
    debug: false, // script errors also show in the page; on by itself inside the debug frame
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
export function readPlayerOptions(win, script) {
    const options = { ...OPTION_DEFAULTS };
    const names = Object.keys(OPTION_DEFAULTS);
    const dashed = (name) => name.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`);
    if (win.ORVO_PLAYER_OPTIONS && typeof win.ORVO_PLAYER_OPTIONS === "object") {
        for (const name of names) if (name in win.ORVO_PLAYER_OPTIONS) options[name] = win.ORVO_PLAYER_OPTIONS[name];
    }
    let carried = {};
    try {
        carried = JSON.parse(win.sessionStorage.getItem(OPTIONS_STORAGE_KEY) || "{}");
    } catch (_error) {
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
        } catch (_error) {
            // without storage the options hold for this page only
        }
    }
    return options;
}
