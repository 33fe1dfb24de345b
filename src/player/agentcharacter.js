// One character of the Agent control: its properties, and its requests
// (Play, Speak, Think, MoveTo, Show, Hide, GestureAt, Get, Wait, Interrupt)
// that run strictly one after another.
//
// Member names follow the control's (Play, Speak, Status ...); the script
// engine finds them without regard to letter case. Names that start with "_"
// are internal and invisible to the page's script.

import { AgentCommands } from "./agentcommands.js";
import { REQUEST_COMPLETE, REQUEST_FAILED, REQUEST_IN_PROGRESS, REQUEST_INTERRUPTED } from "./agentrequest.js";
import { lookupAnimation } from "./animations.js";
import { parseSpeechText, planSpeech, shownSpeechText } from "./speechtext.js";
import { VBError, vbToBoolean, vbToNumber, vbToString } from "./vbvalues.js";

export const FRAME_SIZE = 128; // the character's frame, in screen pixels
const DEFAULT_MOVE_MS = 1000; // MoveTo's default speed: the move takes a second
const DEFAULT_LANGUAGE_ID = 0x0409;
const VOICE_WAIT_LIMIT_MS = 8000; // a voice that never reports its end must not stall the page

export class AgentCharacter {
    constructor(control, id, provider) {
        this._control = control;
        this._id = id;
        this._provider = provider;
        this._visible = false;
        this._left = 0;
        this._top = 0;
        this._languageId = DEFAULT_LANGUAGE_ID;
        this._commands = new AgentCommands(this);
        this._queue = [];
        this._current = null;
        this._pumpScheduled = false;
        this._lastStatement = "";
    }

    get Name() {
        return this._id;
    }

    get CharacterID() {
        return this._id;
    }

    get Visible() {
        return this._visible;
    }

    get Left() {
        return this._left;
    }

    get Top() {
        return this._top;
    }

    get Width() {
        return FRAME_SIZE;
    }

    get Height() {
        return FRAME_SIZE;
    }

    get LanguageID() {
        return this._languageId;
    }

    set LanguageID(value) {
        this._languageId = vbToNumber(value);
    }

    get Commands() {
        return this._commands;
    }

    get HasOtherClients() {
        return false;
    }

    Activate() {
        return true;
    }

    Show(fast) {
        const quick = fast !== undefined && vbToBoolean(fast);
        return this._enqueue("show", {}, (job, done) => {
            const wasVisible = this._visible;
            this._visible = true;
            this._stage("setVisible", true);
            if (quick || wasVisible) return this._after(0, done);
            const animation = lookupAnimation("Show");
            this._stage("play", animation, this._now());
            return this._after(animation.duration, done);
        });
    }

    Hide(fast) {
        const quick = fast !== undefined && vbToBoolean(fast);
        return this._enqueue("hide", {}, (job, done) => {
            const finish = () => {
                this._visible = false;
                this._stage("setVisible", false);
                done();
            };
            if (quick || !this._visible) return this._after(0, finish);
            const animation = lookupAnimation("Hide");
            this._stage("play", animation, this._now());
            return this._after(animation.duration, finish);
        });
    }

    Play(name) {
        const text = vbToString(name);
        const animation = lookupAnimation(text);
        if (!animation.known) {
            if (this._control._options.strict) {
                throw new VBError(5, `The character '${this._id}' has no animation '${text}'`);
            }
            this._control._warn(`unknown animation "${text}": playing a neutral gesture`);
            this._control._trace({ type: "unknown-animation", character: this._id, name: text });
        }
        return this._enqueue("play", { name: text, animation: animation.name }, (job, done) => {
            this._stage("play", animation, this._now());
            return this._after(animation.duration, done);
        });
    }

    Speak(text) {
        return this._speech("speak", text === undefined ? "" : vbToString(text));
    }

    Think(text) {
        return this._speech("think", text === undefined ? "" : vbToString(text));
    }

    MoveTo(x, y, speed) {
        const toX = Math.round(vbToNumber(x));
        const toY = Math.round(vbToNumber(y));
        const ms = speed === undefined ? DEFAULT_MOVE_MS : Math.max(0, vbToNumber(speed));
        return this._enqueue("move", { x: toX, y: toY, ms }, (job, done) => {
            const fromX = this._left;
            const fromY = this._top;
            this._left = toX;
            this._top = toY;
            // A hidden character has nothing to show on the way: it is placed.
            if (ms === 0 || !this._visible) {
                this._stage("setPosition", toX, toY);
                return this._after(0, done);
            }
            this._stage("move", fromX, fromY, toX, toY, this._now(), ms);
            return this._after(ms, done);
        });
    }

    GestureAt(x, y) {
        const dx = vbToNumber(x) - (this._left + FRAME_SIZE / 2);
        const dy = vbToNumber(y) - (this._top + FRAME_SIZE / 2);
        const name =
            Math.abs(dx) >= Math.abs(dy)
                ? dx < 0
                    ? "GestureLeft"
                    : "GestureRight"
                : dy < 0
                  ? "GestureUp"
                  : "GestureDown";
        return this.Play(name);
    }

    Stop(request) {
        if (request === undefined) {
            if (this._current !== null) this._interrupt([this._current]);
            return;
        }
        const jobs = [this._current, ...this._queue].filter((job) => job !== null && job.request === request);
        this._interrupt(jobs);
    }

    StopAll() {
        this._interrupt([this._current, ...this._queue].filter((job) => job !== null));
    }

    // --- the request queue ----------------------------------------------

    _now() {
        return this._control._clock.now();
    }

    _stage(method, ...args) {
        const stage = this._control._stageView;
        if (stage !== null) stage[method](this, ...args);
    }

    // Calls done after ms of clock time; returns the cancel function.
    _after(ms, done) {
        const clock = this._control._clock;
        const timer = clock.setTimeout(done, ms);
        return () => clock.clearTimeout(timer);
    }

    // Queues a request; start(job, done) begins it later, calls done when it
    // has finished, and returns a function that cancels it.
    _enqueue(action, details, start) {
        const request = this._control._newRequest();
        this._queue.push({ request, action, details, start, cancel: null });
        this._schedulePump();
        return request;
    }

    _schedulePump() {
        if (this._pumpScheduled || this._current !== null) return;
        this._pumpScheduled = true;
        // Never start inside the call that queued the request: the page sees
        // the request object before anything of it happens.
        this._control._clock.setTimeout(() => {
            this._pumpScheduled = false;
            this._pump();
        }, 0);
    }

    _pump() {
        if (this._current !== null || this._queue.length === 0) return;
        const job = this._queue.shift();
        this._current = job;
        job.request._status = REQUEST_IN_PROGRESS;
        this._control._trace({ type: job.action, character: this._id, request: job.request._id, ...job.details });
        let finished = false;
        const done = () => {
            if (finished) return;
            finished = true;
            this._finish(job, REQUEST_COMPLETE);
        };
        try {
            job.cancel = job.start(job, done) || null;
        } catch (error) {
            this._control._warn(`request ${job.request._id} failed: ${error.message}`);
            finished = true;
            job.request._description = String(error.message);
            this._control._clock.setTimeout(() => this._finish(job, REQUEST_FAILED), 0);
        }
    }

    _finish(job, status) {
        if (this._current !== job) return;
        this._current = null;
        job.request._status = status;
        this._control._trace({ type: "complete", character: this._id, request: job.request._id, status });
        this._control._raise("RequestComplete", job.request);
        this._pump();
    }

    _interrupt(jobs) {
        for (const job of jobs) {
            if (job === this._current) {
                if (job.cancel) job.cancel();
                this._current = null;
            } else {
                this._queue = this._queue.filter((queued) => queued !== job);
            }
            job.request._status = REQUEST_INTERRUPTED;
        }
        if (jobs.length > 0) this._stage("stop");
        const clock = this._control._clock;
        clock.setTimeout(() => {
            for (const job of jobs) {
                this._control._trace({
                    type: "complete",
                    character: this._id,
                    request: job.request._id,
                    status: REQUEST_INTERRUPTED,
                });
                this._control._raise("RequestComplete", job.request);
            }
            this._pump();
        }, 0);
    }

    // --- speech ------------------------------------------------------------

    _speech(action, text) {
        return this._enqueue(action, {}, (job, done) => {
            const control = this._control;
            const plan = planSpeech(
                parseSpeechText(text, {
                    wordsPerMinute: control._options.wordsPerMinute,
                    previousText: this._lastStatement,
                }),
            );
            for (const tag of plan.unknownTags) {
                control._warn(`unknown speech tag \\${tag}\\ dropped`);
                control._trace({ type: "unknown-speech-tag", character: this._id, tag });
            }
            const shown = shownSpeechText(plan);
            if (shown !== "") {
                this._lastStatement = text;
                control._trace({
                    type: "balloon",
                    character: this._id,
                    request: job.request._id,
                    text: shown,
                    ms: plan.total,
                });
                if (this._visible) this._stage("speak", plan, this._now(), action === "think");
            }
            const timers = [];
            const clock = control._clock;
            for (const mark of plan.marks) {
                timers.push(
                    clock.setTimeout(() => {
                        control._trace({ type: "bookmark", character: this._id, id: mark.id });
                        control._raise("Bookmark", mark.id);
                    }, mark.at),
                );
            }
            let spoken = null;
            if (action === "speak" && control._voice !== null && plan.voice.length > 0) {
                spoken = control._voice.speak(plan, this._languageId);
            }
            let pending = spoken === null ? 1 : 2;
            const part = () => {
                pending -= 1;
                if (pending === 0) done();
            };
            timers.push(clock.setTimeout(part, plan.total));
            if (spoken !== null) {
                spoken.whenDone(part);
                timers.push(
                    clock.setTimeout(() => {
                        pending = 1;
                        part();
                    }, plan.total + VOICE_WAIT_LIMIT_MS),
                );
            }
            return () => {
                for (const timer of timers) clock.clearTimeout(timer);
                if (spoken !== null) spoken.cancel();
            };
        });
    }

    _commandsChanged() {
        const stage = this._control._stageView;
        if (stage !== null) {
            stage.setCommands(this, this._commands._offered(), (name) => this._control._pick(this._id, name));
        }
    }
}
