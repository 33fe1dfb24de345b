// The character's voice inside ViewOrvo: the window publishes its speech
// synthesizer on the page's web channel as "orvoVoice". The voice hears the
// whole speech text (tags and all, the synthesizer obeys them), plays it,
// and reports each word as the audio reaches it: the balloon shows a word
// when its word event comes, and the request completes when the audio ends.
// Anywhere else (a plain browser) there is no channel, and the page keeps
// the engine's own voice or the silent reading-pace timing.

import { reachWindow } from "./windowchannel.js";

// For every shown word of the plan, where it stands in the speech text
// (UTF-16 offset): words are looked up in order, outside tags, except the
// shown half of \Map="spoken"="shown"\. -1 for a word not found (the words
// of \Lst\, which repeats an earlier text).
export function shownWordOffsets(text, shown) {
    const inText = new Array(text.length).fill(false);
    let pos = 0;
    while (pos < text.length) {
        const slash = text.indexOf("\\", pos);
        const end = slash < 0 ? text.length : slash;
        for (let i = pos; i < end; ++i) inText[i] = true;
        if (slash < 0) break;
        if (text[slash + 1] === "\\") {
            inText[slash] = true;
            pos = slash + 2;
            continue;
        }
        const close = text.indexOf("\\", slash + 1);
        const tagEnd = close < 0 ? text.length : close;
        const map = /^\s*map\s*=\s*"(?:[^"]|"")*"\s*=\s*"((?:[^"]|"")*)"/i.exec(text.slice(slash + 1, tagEnd));
        if (map !== null) {
            const shownEnd = slash + 1 + map[0].length - 1;
            for (let i = shownEnd - map[1].length; i < shownEnd; ++i) inText[i] = true;
        }
        pos = tagEnd + 1;
    }
    const offsets = [];
    let cursor = 0;
    for (const word of shown) {
        let at = text.indexOf(word.text, cursor);
        while (at >= 0 && !inText.slice(at, at + word.text.length).every(Boolean)) {
            at = text.indexOf(word.text, at + 1);
        }
        offsets.push(at);
        if (at >= 0) cursor = at + word.text.length;
    }
    return offsets;
}

// Connects to the window's voice; null when the page does not run inside
// ViewOrvo. Until the channel is up (a moment after the page starts), and
// while the user has the voice turned off, speak() answers null and the
// speech is silent.
export function createNativeVoice(win, clock, trace = () => {}) {
    let bridge = null;
    const speeches = new Map();
    const onWord = (id, begin, end) => {
        const speech = speeches.get(id);
        if (speech) speech.word(begin, end);
    };
    const onFinished = (id, spoken) => {
        const speech = speeches.get(id);
        if (speech) speech.finished(spoken);
    };
    const shared = reachWindow(win, (objects) => {
        if (!objects.orvoVoice) return;
        bridge = objects.orvoVoice;
        bridge.word.connect(onWord);
        bridge.finished.connect(onFinished);
    });
    if (shared === null) return null;
    // This page's voice ends with the page.
    win.addEventListener("pagehide", () => {
        if (bridge === null) return;
        for (const id of speeches.keys()) bridge.stop(id);
        speeches.clear();
        bridge.word.disconnect(onWord);
        bridge.finished.disconnect(onFinished);
    });
    // A voice backend (see voice.js) that reports the words it reaches.
    return {
        reportsWords: true,
        // The whole speech text goes to the window, tags and all: the
        // synthesizer obeys them. Null while the voice is off or not up yet.
        speak(plan, languageId, { text, onWord, onEnd }) {
            if (bridge === null || !bridge.enabled || typeof text !== "string") return null;
            const id = shared.nextId++;
            const start = clock.now();
            const offsets = shownWordOffsets(text, plan.shown);
            const timers = [];
            let over = false;
            const end = () => {
                if (over) return;
                over = true;
                speeches.delete(id);
                for (const timer of timers) clock.clearTimeout(timer);
                onEnd();
            };
            speeches.set(id, {
                // A word is said: the balloon reaches the last shown word
                // that begins before its end.
                word(begin, upTo) {
                    trace({ type: "voice-word", begin, end: upTo });
                    let last = -1;
                    offsets.forEach((offset, i) => {
                        if (offset >= 0 && offset < upTo) last = i;
                    });
                    if (last >= 0) onWord(last);
                },
                finished(spoken) {
                    trace({ type: "voice-end", spoken });
                    if (spoken) {
                        end();
                        return;
                    }
                    // Not made: the reading pace from here on, silently.
                    speeches.delete(id);
                    const elapsed = clock.now() - start;
                    plan.shown.forEach((word, i) => {
                        timers.push(clock.setTimeout(() => onWord(i), Math.max(0, word.at - elapsed)));
                    });
                    timers.push(clock.setTimeout(end, Math.max(0, plan.total - elapsed)));
                },
            });
            trace({ type: "voice-start", engine: "native" });
            bridge.speak(id, text, languageId);
            return {
                // Stop, StopAll, leaving the page: the voice is cut at once.
                cancel() {
                    if (over) return;
                    over = true;
                    speeches.delete(id);
                    for (const timer of timers) clock.clearTimeout(timer);
                    bridge.stop(id);
                    trace({ type: "voice-end", spoken: false, stopped: true });
                },
            };
        },
    };
}
