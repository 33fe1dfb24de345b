// The Agent control as the converted pages use it: a collection of loaded
// characters, each with a queue of requests (Play, Speak, Think, MoveTo,
// Show, Hide, GestureAt) that run strictly one after another, a command list
// shown as buttons, and the events RequestComplete, Command and Bookmark.
//
// Member names follow the control's (Characters, Load, Play, Status ...);
// the script engine finds them without regard to letter case. Names that
// start with "_" are internal and invisible to the page's script.

import { lookupAnimation } from "./animations.js";
import { parseSpeechText, planSpeech, SPEECH_DEFAULT_WPM, shownSpeechText } from "./speechtext.js";
import { VB_DEFAULT, VBError, vbToBoolean, vbToNumber, vbToString } from "./vbvalues.js";

const REQUEST_COMPLETE = 0;
const REQUEST_FAILED = 1;
const REQUEST_PENDING = 2;
const REQUEST_INTERRUPTED = 3;
const REQUEST_IN_PROGRESS = 4;

export const FRAME_SIZE = 128; // the character's frame, in screen pixels
const DEFAULT_MOVE_MS = 1000; // MoveTo's default speed: the move takes a second
const DEFAULT_LANGUAGE_ID = 0x0409;
const VOICE_WAIT_LIMIT_MS = 8000; // a voice that never reports its end must not stall the page

class AgentRequest {
    constructor(id, status = REQUEST_PENDING) {
        this._id = id;
        this._status = status;
        this._description = "";
        this._number = 0;
    }

    get ID() {
        return this._id;
    }

    get Status() {
        return this._status;
    }

    get Description() {
        return this._description;
    }

    get Number() {
        return this._number;
    }
}

class AgentUserInput {
    constructor(character, command) {
        this._character = character;
        this._command = command;
    }

    get Name() {
        return this._command._name;
    }

    get CharacterID() {
        return this._character._id;
    }

    get Voice() {
        return this._command._voice;
    }

    get Confidence() {
        return 100; // a click is certain
    }

    get Count() {
        return 1;
    }

    get Alt1Name() {
        return "";
    }

    get Alt1Confidence() {
        return 0;
    }

    get Alt1Voice() {
        return "";
    }

    get Alt2Name() {
        return "";
    }

    get Alt2Confidence() {
        return 0;
    }

    get Alt2Voice() {
        return "";
    }
}

class AgentCommand {
    constructor(commands, name, caption, voice, enabled, visible) {
        this._commands = commands;
        this._name = name;
        this._caption = caption;
        this._voice = voice;
        this._enabled = enabled;
        this._visible = visible;
    }

    get Name() {
        return this._name;
    }

    get Caption() {
        return this._caption;
    }

    set Caption(value) {
        this._caption = vbToString(value);
        this._commands._changed();
    }

    get Voice() {
        return this._voice;
    }

    set Voice(value) {
        this._voice = vbToString(value);
        this._commands._changed();
    }

    get Enabled() {
        return this._enabled;
    }

    set Enabled(value) {
        this._enabled = vbToBoolean(value);
        this._commands._changed();
    }

    get Visible() {
        return this._visible;
    }

    set Visible(value) {
        this._visible = vbToBoolean(value);
        this._commands._changed();
    }
}

class AgentCommands {
    constructor(character) {
        this._character = character;
        this._list = [];
        this._caption = "";
        this._voice = "";
        this._visible = true;
        this[VB_DEFAULT] = "Command";
    }

    get Count() {
        return this._list.length;
    }

    get Caption() {
        return this._caption;
    }

    set Caption(value) {
        this._caption = vbToString(value);
    }

    get Voice() {
        return this._voice;
    }

    set Voice(value) {
        this._voice = vbToString(value);
    }

    get Visible() {
        return this._visible;
    }

    set Visible(value) {
        this._visible = vbToBoolean(value);
        this._changed();
    }

    _find(name) {
        const key = vbToString(name).toLowerCase();
        return this._list.findIndex((command) => command._name.toLowerCase() === key);
    }

    Add(name, caption, voice, enabled, visible) {
        const text = vbToString(name);
        if (text === "") throw new VBError(5, "A command needs a name");
        if (this._find(text) >= 0) throw new VBError(5, `The command '${text}' already exists`);
        const command = new AgentCommand(
            this,
            text,
            caption === undefined ? "" : vbToString(caption),
            voice === undefined ? "" : vbToString(voice),
            enabled === undefined ? true : vbToBoolean(enabled),
            visible === undefined ? true : vbToBoolean(visible),
        );
        this._list.push(command);
        this._character._control._trace({
            type: "command-add",
            character: this._character._id,
            name: command._name,
            caption: command._caption,
            voice: command._voice,
        });
        this._changed();
        return command;
    }

    Insert(name, refName, before, caption, voice, enabled, visible) {
        const command = this.Add(name, caption, voice, enabled, visible);
        const at = this._find(refName);
        if (at >= 0) {
            this._list.pop();
            this._list.splice(before === undefined || vbToBoolean(before) ? at : at + 1, 0, command);
            this._changed();
        }
        return command;
    }

    Command(name) {
        const at = this._find(name);
        if (at < 0) throw new VBError(5, `No command named '${vbToString(name)}'`);
        return this._list[at];
    }

    Item(name) {
        return this.Command(name);
    }

    Remove(name) {
        const at = this._find(name);
        if (at < 0) throw new VBError(5, `No command named '${vbToString(name)}'`);
        this._list.splice(at, 1);
        this._changed();
    }

    RemoveAll() {
        this._list = [];
        this._character._control._trace({ type: "commands-clear", character: this._character._id });
        this._changed();
    }

    // The commands that the user can pick: visible, enabled and with a
    // caption to show, as in the control's own commands window.
    _offered() {
        if (!this._visible) return [];
        return this._list.filter((command) => command._visible && command._enabled && command._caption !== "");
    }

    _changed() {
        this._character._commandsChanged();
    }
}

class AgentCharacter {
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
                // The voice says \Lst\'s statement again as the balloon shows it.
                const voiced = text.replace(/\\lst\\/gi, () => previousText);
                spoken = control._voice.speak(plan, this._languageId, voiced);
            }
            // A timed voice (the window's) ends the request when its audio
            // ends; any other voice and the balloon's timing must both end.
            const timed = spoken !== null && spoken.timed === true;
            let pending = spoken === null || timed ? 1 : 2;
            const part = () => {
                pending -= 1;
                if (pending === 0) done();
            };
            if (!timed) timers.push(clock.setTimeout(part, plan.total));
            if (spoken !== null) {
                spoken.whenDone(part);
                if (!timed) {
                    timers.push(
                        clock.setTimeout(() => {
                            pending = 1;
                            part();
                        }, plan.total + VOICE_WAIT_LIMIT_MS),
                    );
                }
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

class AgentCharacters {
    constructor(control) {
        this._control = control;
        this._loaded = new Map();
        this[VB_DEFAULT] = "Character";
    }

    // Loads a character synchronously. Our one character stands in for
    // every name; with options.characters set, only those names are
    // installed and any other fails as a missing character file would.
    Load(id, provider) {
        const control = this._control;
        const name = vbToString(id);
        const file = provider === undefined ? "" : vbToString(provider);
        const installed = control._options.characters;
        let failure = null;
        if (name === "") failure = "A character needs an id";
        else if (this._loaded.has(name.toLowerCase())) failure = `The character '${name}' is already loaded`;
        else if (Array.isArray(installed) && !installed.some((entry) => entry.toLowerCase() === name.toLowerCase())) {
            failure = `The character '${name}' is not installed`;
        }
        control._trace({ type: "load", character: name, provider: file, ok: failure === null });
        if (failure !== null) throw new VBError(5, failure);
        const character = new AgentCharacter(control, name, file);
        this._loaded.set(name.toLowerCase(), character);
        if (control._stageView !== null) control._stageView.addCharacter(character);
        const request = control._newRequest(REQUEST_COMPLETE);
        control._clock.setTimeout(() => control._raise("RequestComplete", request), 0);
        return request;
    }

    Character(id) {
        const character = this._loaded.get(vbToString(id).toLowerCase());
        if (character === undefined) throw new VBError(5, `The character '${vbToString(id)}' is not loaded`);
        return character;
    }

    Item(id) {
        return this.Character(id);
    }

    Unload(id) {
        const character = this.Character(id);
        character.StopAll();
        this._loaded.delete(character._id.toLowerCase());
        if (this._control._stageView !== null) this._control._stageView.removeCharacter(character);
    }

    get Count() {
        return this._loaded.size;
    }
}

export class AgentControl {
    // clock: see clock.js. stage: draws the characters (stage.js), or null.
    // voice: speaks (voice.js), or null. options: { characters, strict,
    // wordsPerMinute }. trace(event) records what happens.
    constructor({ clock, stage = null, voice = null, trace = () => {}, warn = () => {}, options = {} }) {
        this._clock = clock;
        this._stageView = stage;
        this._voice = voice;
        this._trace = trace;
        this._warn = warn;
        this._options = { characters: null, strict: false, wordsPerMinute: SPEECH_DEFAULT_WPM, ...options };
        this._nextRequestId = 1;
        this._characters = new AgentCharacters(this);
        // Set by the page: onEvent(eventName, args) runs the script's handler.
        this._onEvent = () => {};
    }

    get Characters() {
        return this._characters;
    }

    get Connected() {
        return true;
    }

    set Connected(value) {}

    _newRequest(status = REQUEST_PENDING) {
        return new AgentRequest(this._nextRequestId++, status);
    }

    _raise(eventName, ...args) {
        this._onEvent(eventName, args);
    }

    // The user picked a command (clicked its button).
    _pick(characterId, name) {
        const character = this._characters._loaded.get(String(characterId).toLowerCase());
        if (character === undefined) return false;
        const at = character._commands._find(name);
        if (at < 0) return false;
        const command = character._commands._list[at];
        if (!command._enabled) return false;
        this._trace({ type: "command", character: character._id, name: command._name });
        this._raise("Command", new AgentUserInput(character, command));
        return true;
    }
}
