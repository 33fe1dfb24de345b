// How a speech is voiced, and when each of its words is reached: the one
// place that decides between a voice backend (the browser engine's speech
// synthesis, or a native voice of the window behind a bridge) and silent
// timing at the reading pace. The balloon pages through the text by the
// word events it reports, so it keeps in step with whatever voice speaks.
//
// A backend is { speak(plan, languageId, { onWord, onEnd }) }: it returns
// null when it cannot speak now (no voice), else { cancel() }. It calls
// onEnd once when the voice has finished, and onWord(index) as it reaches
// the plan's shown word `index`, if it can tell (then it says so with
// `reportsWords: true`, and the reading pace no longer moves the balloon).

// A voice that never reports its end must not stall the page.
export const VOICE_WAIT_LIMIT_MS = 8000;

export class Voicing {
    constructor(clock, backend = null) {
        this.clock = clock;
        this.backend = backend;
    }

    // Swaps the backend (the window's native voice arrives through this);
    // null leaves speech silent.
    setBackend(backend) {
        this.backend = backend;
    }

    // Voices one speech. onWord(count): the first `count` shown words are
    // reached (counts only grow); onDone(): the speech is over, once both the
    // reading time has passed and the voice (if any) has ended. Returns the
    // function that cancels it. `spoken` false (Think) keeps it silent.
    // `text` is the speech text as written (tags and all), for a backend that
    // reads it itself.
    voice(plan, languageId, { spoken = true, text = "", onWord = () => {}, onDone = () => {} }) {
        const clock = this.clock;
        const timers = [];
        let reached = 0;
        let finished = false;
        const reach = (count) => {
            if (count <= reached || finished) return;
            reached = count;
            onWord(count);
        };
        let handle = null;
        let voiceEnded = true;
        let readingOver = false;
        const finishIfOver = () => {
            if (finished || !readingOver || !voiceEnded) return;
            reach(plan.shown.length);
            finished = true;
            onDone();
        };
        if (spoken && this.backend !== null && plan.voice.length > 0) {
            voiceEnded = false;
            handle = this.backend.speak(plan, languageId, {
                text,
                onWord: (index) => reach(index + 1),
                onEnd: () => {
                    voiceEnded = true;
                    finishIfOver();
                },
            });
            if (handle === null) voiceEnded = true;
        }
        const followsVoice = handle !== null && this.backend.reportsWords === true;
        // A voice that reports its words (the window's) also says when the
        // speech is over: when its audio ends, not at the reading time.
        if (followsVoice) readingOver = true;
        if (!followsVoice) {
            plan.shown.forEach((word, i) => {
                timers.push(clock.setTimeout(() => reach(i + 1), word.at));
            });
        }
        timers.push(
            clock.setTimeout(() => {
                readingOver = true;
                finishIfOver();
            }, plan.total),
        );
        if (handle !== null) {
            timers.push(
                clock.setTimeout(
                    () => {
                        voiceEnded = true;
                        finishIfOver();
                    },
                    (followsVoice ? 2 * plan.total : plan.total) + VOICE_WAIT_LIMIT_MS,
                ),
            );
        }
        return () => {
            finished = true;
            for (const timer of timers) clock.clearTimeout(timer);
            if (handle !== null) handle.cancel();
        };
    }
}
