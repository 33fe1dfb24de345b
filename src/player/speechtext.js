// Speech text of the Agent's Speak: words to show in the balloon, at a
// reading pace, with the control's speech tags between backslashes.
//
//   \Pau=N\        pause of N ms          \Spd=N\   speed, words per minute
//   \Pit=N\        pitch in Hz            \Vol=N\   volume, 0 to 65535
//   \Emp\          emphasises the next word
//   \Chr="Normal"\ "Monotone" or "Whisper" voice character
//   \Mrk=N\        bookmark: raises the Bookmark event when reached
//   \Map="spoken"="shown"\  speaks one text while the balloon shows another
//   \Rst\          back to the default speed, pitch, volume and character
//   \Lst\          repeats the character's previous statement
//   \Ctx=...\      text context; no effect here
//   \\             a backslash
//
// A tag is never shown; an unknown tag is dropped (and reported).

export const SPEECH_DEFAULT_WPM = 160; // TruVoice's usual pace: unhurried reading
const SPEECH_MIN_WPM = 50; // the control's range for \Spd\
const SPEECH_MAX_WPM = 250;
const SPEECH_CJK_WEIGHT = 0.5; // one ideograph or kana takes half a word's time
const SPEECH_SENTENCE_END = /[.!?。！？]["'」』)）]*$/;
const SPEECH_CLAUSE_END = /[,;:、，；：]["'」』)）]*$/;
// Ideographs, kana, full-width forms and Hangul are shown one by one, since
// such text has no spaces between words.
const SPEECH_CJK = /[\u2e80-\u30ff\u3100-\u9fff\uac00-\ud7af\uf900-\ufaff\uff01-\uffef]/;

function speechDefaults(wordsPerMinute = SPEECH_DEFAULT_WPM) {
    return { wpm: wordsPerMinute, pitch: null, volume: null, style: "normal", defaultWpm: wordsPerMinute };
}

// Words of a plain piece of text: runs of letters split at white space,
// and every CJK character a word of its own. `state` carries what lies
// between pieces: a pending \Emp\ and white space at a piece's end.
function splitSpeechWords(text, voice, state, out) {
    let word = "";
    let spaceBefore = state.space;
    const push = (piece, weight) => {
        out.push({ type: "word", text: piece, spaceBefore, weight, emphasis: state.emphasis, ...voice });
        state.emphasis = false;
        spaceBefore = false;
    };
    const flush = () => {
        if (word !== "") push(word, 1);
        word = "";
    };
    for (const c of text) {
        if (/\s/.test(c) || c === "\u3000") {
            flush();
            spaceBefore = true;
        } else if (SPEECH_CJK.test(c)) {
            flush();
            push(c, SPEECH_CJK_WEIGHT);
        } else {
            word += c;
        }
    }
    flush();
    state.space = spaceBefore;
}

// Reads the quoted values of \Map="spoken"="shown"\ ("" inside a value is
// a quote).
function parseMapTag(argument) {
    const values = [];
    const pattern = /"((?:[^"]|"")*)"/g;
    for (let match = pattern.exec(argument); match; match = pattern.exec(argument)) {
        values.push(match[1].replace(/""/g, '"'));
    }
    return values.length === 2 ? { spoken: values[0], shown: values[1] } : null;
}

function clampNumber(value, low, high) {
    return Math.min(high, Math.max(low, value));
}

// Parses speech text into items: words (shown and spoken), pauses,
// bookmarks, mapped words (spoken and shown differently) and unknown tags.
// previousText is the character's last statement, for \Lst\.
export function parseSpeechText(text, { wordsPerMinute = SPEECH_DEFAULT_WPM, previousText = "" } = {}) {
    const items = [];
    const voice = speechDefaults(wordsPerMinute);
    const state = { emphasis: false, space: false };
    const words = (piece, into = items) =>
        splitSpeechWords(
            piece,
            { wpm: voice.wpm, pitch: voice.pitch, volume: voice.volume, style: voice.style },
            state,
            into,
        );
    let plain = "";
    let pos = 0;
    while (pos < text.length) {
        const slash = text.indexOf("\\", pos);
        if (slash < 0) {
            plain += text.slice(pos);
            break;
        }
        plain += text.slice(pos, slash);
        if (text[slash + 1] === "\\") {
            plain += "\\";
            pos = slash + 2;
            continue;
        }
        const close = text.indexOf("\\", slash + 1);
        const tag = close < 0 ? text.slice(slash + 1) : text.slice(slash + 1, close);
        pos = close < 0 ? text.length : close + 1;
        words(plain);
        plain = "";
        const match = /^\s*([A-Za-z]+)\s*(?:=\s*([\s\S]*))?$/.exec(tag);
        const name = match ? match[1].toLowerCase() : "";
        const argument = match && match[2] !== undefined ? match[2].trim() : "";
        const number = parseInt(argument, 10);
        switch (name) {
            case "pau":
                if (number > 0) items.push({ type: "pause", ms: number });
                break;
            case "spd":
                if (!Number.isNaN(number)) voice.wpm = clampNumber(number, SPEECH_MIN_WPM, SPEECH_MAX_WPM);
                break;
            case "pit":
                if (!Number.isNaN(number)) voice.pitch = clampNumber(number, 50, 400);
                break;
            case "vol":
                if (!Number.isNaN(number)) voice.volume = clampNumber(number, 0, 65535);
                break;
            case "chr": {
                const style = argument.replace(/"/g, "").toLowerCase();
                if (["normal", "monotone", "whisper"].includes(style)) voice.style = style;
                break;
            }
            case "emp":
                state.emphasis = true;
                break;
            case "mrk":
                if (!Number.isNaN(number)) items.push({ type: "mark", id: number });
                break;
            case "map": {
                const map = parseMapTag(argument);
                if (map !== null) {
                    const spoken = [];
                    const shown = [];
                    const before = { ...state };
                    words(map.spoken, spoken);
                    Object.assign(state, before);
                    words(map.shown, shown);
                    items.push({ type: "map", spoken, shown });
                } else {
                    items.push({ type: "unknown", tag });
                }
                break;
            }
            case "rst":
                Object.assign(voice, speechDefaults(wordsPerMinute));
                break;
            case "lst":
                if (previousText !== "") {
                    const repeated = parseSpeechText(previousText, { wordsPerMinute }).items.filter(
                        (item) => item.type !== "unknown",
                    );
                    const first = repeated.find((item) => item.type === "word");
                    if (first !== undefined && state.space) first.spaceBefore = true;
                    state.space = false;
                    items.push(...repeated);
                }
                break;
            case "ctx":
                break;
            default:
                items.push({ type: "unknown", tag });
        }
    }
    words(plain);
    return { items };
}

function wordDuration(word) {
    const base = (60000 / word.wpm) * word.weight;
    if (SPEECH_SENTENCE_END.test(word.text)) return base * 1.8;
    if (SPEECH_CLAUSE_END.test(word.text)) return base * 1.4;
    return base;
}

// Timing of a parsed speech: when each shown word appears, what the voice
// says when, where bookmarks fall, and the total time in ms.
//   shown: [{ text, spaceBefore, emphasis, at }]
//   voice: [{ text, at, duration, wpm, pitch, volume, style }], split at pauses
//   marks: [{ id, at }]
export function planSpeech(parsed) {
    const plan = { shown: [], voice: [], marks: [], unknownTags: [], total: 0 };
    let time = 0;
    let segment = null;
    const speak = (word, at, duration) => {
        if (
            segment === null ||
            segment.wpm !== word.wpm ||
            segment.pitch !== word.pitch ||
            segment.volume !== word.volume ||
            segment.style !== word.style
        ) {
            segment = {
                text: "",
                at,
                duration: 0,
                wpm: word.wpm,
                pitch: word.pitch,
                volume: word.volume,
                style: word.style,
            };
            plan.voice.push(segment);
        }
        segment.text += (segment.text !== "" && word.spaceBefore ? " " : "") + word.text;
        segment.duration = at + duration - segment.at;
    };
    const show = (word, at) => {
        plan.shown.push({ text: word.text, spaceBefore: word.spaceBefore, emphasis: word.emphasis, at });
    };
    for (const item of parsed.items) {
        if (item.type === "word") {
            const duration = wordDuration(item);
            show(item, time);
            speak(item, time, duration);
            time += duration;
        } else if (item.type === "pause") {
            time += item.ms;
            segment = null;
        } else if (item.type === "mark") {
            plan.marks.push({ id: item.id, at: time });
        } else if (item.type === "map") {
            const start = time;
            for (const word of item.spoken) {
                const duration = wordDuration(word);
                speak(word, time, duration);
                time += duration;
            }
            const span = time - start;
            for (const [i, word] of item.shown.entries())
                show(word, start + (span * i) / Math.max(1, item.shown.length));
        } else if (item.type === "unknown") {
            plan.unknownTags.push(item.tag);
        }
    }
    plan.total = Math.round(time);
    return plan;
}

// The balloon's text once every word is shown.
export function shownSpeechText(plan) {
    return plan.shown.map((word, i) => (i > 0 && word.spaceBefore ? " " : "") + word.text).join("");
}
