// A voice backend (see voice.js) that speaks through the browser engine's
// speech synthesis, where it has a voice.

import { SPEECH_DEFAULT_WPM } from "./speechtext.js";

// Agent language ids (Windows LCIDs) as BCP 47 tags.
const LANGUAGE_TAGS = {
    1028: "zh-TW",
    1031: "de-DE",
    1033: "en-US",
    1036: "fr-FR",
    1040: "it-IT",
    1041: "ja-JP",
    1042: "ko-KR",
    1043: "nl-NL",
    1046: "pt-BR",
    1049: "ru-RU",
    1053: "sv-SE",
    2052: "zh-CN",
    2057: "en-GB",
    3082: "es-ES",
};

// Japanese text on a page that still says English (the converter always
// writes &H0409) is better read by a Japanese voice, when there is one.
const JAPANESE_TEXT = /[\u3040-\u30ff\u4e00-\u9fff]/;

export function createEngineVoice(win) {
    const synth = win.speechSynthesis;
    const Utterance = win.SpeechSynthesisUtterance;
    if (!synth || typeof Utterance !== "function") return null;
    // Engines load their voices in the background; asking once starts that,
    // so that the page's first speech can have a voice.
    synth.getVoices();
    // Speech queued by this page must not go on over the next one.
    win.addEventListener("pagehide", () => synth.cancel());
    const chooseVoice = (tag) => {
        const voices = synth.getVoices();
        const language = tag.slice(0, 2);
        return (
            voices.find((voice) => voice.lang === tag) ||
            voices.find((voice) => voice.lang.slice(0, 2) === language) ||
            null
        );
    };
    return {
        // Speaks the plan's voice segments at their times; returns null when
        // there is no voice, else { cancel() }. Calls onEnd once when done.
        // The engine's word boundaries are not reliable across voices, so the
        // balloon keeps the reading pace (no onWord calls).
        speak(plan, languageId, { onEnd }) {
            if (synth.getVoices().length === 0) return null;
            const text = plan.voice.map((segment) => segment.text).join(" ");
            let tag = LANGUAGE_TAGS[languageId] || "en-US";
            if (JAPANESE_TEXT.test(text) && chooseVoice("ja-JP") !== null) tag = "ja-JP";
            const voice = chooseVoice(tag);
            let remaining = plan.voice.length;
            let finished = false;
            const timers = [];
            const finish = () => {
                if (finished) return;
                finished = true;
                onEnd();
            };
            for (const segment of plan.voice) {
                const utterance = new Utterance(segment.text);
                utterance.lang = tag;
                if (voice !== null) utterance.voice = voice;
                utterance.rate = Math.min(2, Math.max(0.5, segment.wpm / SPEECH_DEFAULT_WPM));
                if (segment.pitch !== null && segment.style !== "monotone") {
                    utterance.pitch = Math.min(2, Math.max(0, segment.pitch / 120));
                }
                let volume = segment.volume === null ? 1 : segment.volume / 65535;
                if (segment.style === "whisper") volume *= 0.4;
                utterance.volume = volume;
                const ended = () => {
                    remaining -= 1;
                    if (remaining === 0) finish();
                };
                utterance.onend = ended;
                utterance.onerror = ended;
                timers.push(win.setTimeout(() => synth.speak(utterance), segment.at));
            }
            return {
                cancel() {
                    finished = true;
                    for (const timer of timers) win.clearTimeout(timer);
                    synth.cancel();
                },
            };
        },
    };
}
