// One character of the Agent control: its properties, its requests (Play,
// Speak, Think, MoveTo, Show, Hide, GestureAt, Get, Wait, Interrupt) that run
// strictly one after another, what it does when left alone, and what the
// user does to it (clicks, drags).
//
// Member names follow the control's (Play, Speak, Status ...); the script
// engine finds them without regard to letter case. Names that start with "_"
// are internal and invisible to the page's script.

import { AgentBalloon } from "./agentballoon.js";
import { AgentCommands } from "./agentcommands.js";
import { IdleBehaviour } from "./agentidle.js";
import {
    REQUEST_COMPLETE,
    REQUEST_FAILED,
    REQUEST_IN_PROGRESS,
    REQUEST_INTERRUPTED,
    REQUEST_PENDING,
} from "./agentrequest.js";
import { lookupAnimation } from "./animations.js";
import { parseSpeechText, planSpeech, shownSpeechText } from "./speechtext.js";
import { VBError, vbToBoolean, vbToNumber, vbToString } from "./vbvalues.js";

export const FRAME_SIZE = 128; // the character's frame, in screen pixels
const DEFAULT_MOVE_MS = 1000; // MoveTo's default speed: the move takes a second
const DEFAULT_LANGUAGE_ID = 0x0409;
const NOMINAL_PITCH_HZ = 120; // what Pitch reports: our character's voice is a middle one
// The control's visibility causes, for the Show and Hide events.
const CAUSE_PROGRAM_HID = 3;
const CAUSE_PROGRAM_SHOWED = 4;

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
        this._width = FRAME_SIZE;
        this._height = FRAME_SIZE;
        this._idleOn = true;
        this._soundEffectsOn = true;
        this._balloon = new AgentBalloon(this);
        this._idle = new IdleBehaviour(this);
        this._drag = null;
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

    set Left(value) {
        this._left = Math.round(vbToNumber(value));
        this._stage("setPosition", this._left, this._top);
    }

    get Top() {
        return this._top;
    }

    set Top(value) {
        this._top = Math.round(vbToNumber(value));
        this._stage("setPosition", this._left, this._top);
    }

    get Width() {
        return this._width;
    }

    set Width(value) {
        this._width = Math.min(1024, Math.max(16, Math.round(vbToNumber(value))));
        this._stage("setSize", this._width, this._height);
    }

    get Height() {
        return this._height;
    }

    set Height(value) {
        this._height = Math.min(1024, Math.max(16, Math.round(vbToNumber(value))));
        this._stage("setSize", this._width, this._height);
    }

    // The voice's pace (words per minute) and pitch (Hz), read-only as in
    // the control.
    get Speed() {
        return this._control._options.wordsPerMinute;
    }

    get Pitch() {
        return NOMINAL_PITCH_HZ;
    }

    get IdleOn() {
        return this._idleOn;
    }

    set IdleOn(value) {
        this._idleOn = vbToBoolean(value);
        if (!this._idleOn) this._idle.busy();
        else if (this._current === null && this._queue.length === 0) this._idle.quiet();
    }

    // Kept for the page; our character's animations make no sound.
    get SoundEffectsOn() {
        return this._soundEffectsOn;
    }

    set SoundEffectsOn(value) {
        this._soundEffectsOn = vbToBoolean(value);
    }

    get Balloon() {
        return this._balloon;
    }

    get Description() {
        return "Orvo, the character of ViewOrvo";
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

    // Get fetches animation data from a character's server: ours has it
    // all at hand, so the request completes at once.
    Get(type, name, queue) {
        const what = type === undefined ? "" : vbToString(type);
        return this._enqueue("get", { what, name: name === undefined ? "" : vbToString(name) }, (job, done) =>
            this._after(0, done),
        );
    }

    // Waits, in this character's queue, until another request (usually of
    // another character) has finished.
    Wait(request) {
        const target = this._control._requestOf(request);
        return this._enqueue("wait", { for: target._id }, (job, done) => {
            if (target._status !== REQUEST_PENDING && target._status !== REQUEST_IN_PROGRESS) {
                return this._after(0, done);
            }
            return this._control._whenSettled(target, done);
        });
    }

    // Stops another request when this one's turn comes.
    Interrupt(request) {
        const target = this._control._requestOf(request);
        return this._enqueue("interrupt", { request: target._id }, (job, done) => {
            if (target._owner && target._owner !== this) target._owner.Stop(target);
            return this._after(0, done);
        });
    }

    // Starts or stops listening for the character's voice commands. True
    // when the window can hear; without a way to hear, nothing starts and
    // the answer is False (commands are then clicked).
    Listen(on) {
        const start = on === undefined || vbToBoolean(on);
        const hearing = this._control._hearing;
        const ok = hearing !== null && hearing.listen(this, start) === true;
        this._control._trace({ type: "listen", character: this._id, on: start, ok });
        return ok;
    }

    Show(fast) {
        const quick = fast !== undefined && vbToBoolean(fast);
        return this._enqueue("show", {}, (job, done) => {
            const wasVisible = this._visible;
            this._visible = true;
            this._stage("setVisible", true);
            if (!wasVisible) this._control._raise("Show", this._id, CAUSE_PROGRAM_SHOWED);
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
                const wasVisible = this._visible;
                this._visible = false;
                this._stage("setVisible", false);
                if (wasVisible) this._control._raise("Hide", this._id, CAUSE_PROGRAM_HID);
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
        request._owner = this;
        this._idle.busy();
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
        if (this._current !== null) return;
        if (this._queue.length === 0) {
            this._idle.quiet();
            return;
        }
        const job = this._queue.shift();
        this._current = job;
        job.request._status = REQUEST_IN_PROGRESS;
        this._control._trace({ type: job.action, character: this._id, request: job.request._id, ...job.details });
        this._control._raise("RequestStart", job.request);
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
        this._control._settled(job.request);
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
                this._control._settled(job.request);
            }
            this._pump();
        }, 0);
    }

    // --- speech ------------------------------------------------------------

    _speech(action, text) {
        return this._enqueue(action, {}, (job, done) => {
            const control = this._control;
            const previousText = this._lastStatement;
            const plan = planSpeech(
                parseSpeechText(text, {
                    wordsPerMinute: control._options.wordsPerMinute,
                    previousText,
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
                if (this._visible && this._balloon.Visible) {
                    this._stage("speak", plan, this._now(), action === "think", this._balloon._look());
                }
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
            // The voicing says when each word is reached (the balloon follows)
            // and when the speech is over.
            const cancelVoice = control._voicing.voice(plan, this._languageId, {
                spoken: action === "speak",
                // A voice that reads the text itself says \Lst\'s statement again.
                text: text.replace(/\\lst\\/gi, () => previousText),
                onWord: (count) => this._stage("reachWords", count),
                onDone: done,
            });
            return () => {
                for (const timer of timers) clock.clearTimeout(timer);
                cancelVoice();
            };
        });
    }

    // A balloon switched off while it shows goes away.
    _balloonChanged() {
        if (!this._balloon.Visible) this._stage("clearBalloonOf");
    }

    // --- what the user does (the stage reports it, in screen pixels of
    // the 800x600 screen) ----------------------------------------------------

    _userClick(x, y, double) {
        const name = double ? "DblClick" : "Click";
        this._control._trace({ type: name.toLowerCase(), character: this._id, x, y });
        this._control._raise(name, this._id, 1, 0, x, y);
    }

    _userDragStart(x, y) {
        this._drag = { dx: x - this._left, dy: y - this._top };
        this._control._trace({ type: "drag-start", character: this._id, x, y });
        this._control._raise("DragStart", this._id, 1, 0, x, y);
    }

    _userDragTo(x, y) {
        if (this._drag === null) return;
        this._left = Math.round(x - this._drag.dx);
        this._top = Math.round(y - this._drag.dy);
        this._stage("setPosition", this._left, this._top);
    }

    _userDragEnd(x, y) {
        if (this._drag === null) return;
        this._userDragTo(x, y);
        this._drag = null;
        this._control._trace({ type: "drag-complete", character: this._id, x: this._left, y: this._top });
        this._control._raise("DragComplete", this._id, 1, 0, x, y);
    }

    _commandsChanged() {
        this._control._voiceCommandsChanged();
        const stage = this._control._stageView;
        if (stage !== null) {
            stage.setCommands(this, this._commands._offered(), (name) => this._control._pick(this._id, name));
        }
    }
}
