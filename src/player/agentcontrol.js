// The Agent control as the pages use it: a collection of loaded characters
// (agentcharacter.js), each with a queue of requests that run strictly one
// after another and a command list shown as buttons, and the control's
// events: RequestStart, RequestComplete, Command, Bookmark, Click, DblClick,
// DragStart, DragComplete, Show, Hide, IdleStart, IdleComplete.
//
// Member names follow the control's (Characters, Load, Play, Status ...);
// the script engine finds them without regard to letter case. Names that
// start with "_" are internal and invisible to the page's script.

import { AgentCharacter } from "./agentcharacter.js";
import { AgentUserInput } from "./agentcommands.js";
import { AgentRequest, REQUEST_COMPLETE, REQUEST_PENDING } from "./agentrequest.js";
import { SPEECH_DEFAULT_WPM } from "./speechtext.js";
import { VB_DEFAULT, VBError, vbToString } from "./vbvalues.js";
import { Voicing } from "./voice.js";

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
        this._control._voiceCommandsChanged();
    }

    get Count() {
        return this._loaded.size;
    }

    // For Each walks the loaded characters.
    _items() {
        return [...this._loaded.values()];
    }
}

export class AgentControl {
    // clock: see clock.js. stage: draws the characters (stage.js), or null.
    // voice: the voice backend (voice.js), or null for silent speech.
    // hearing: { listen(character, on), commandsChanged(control) } where the
    // window can hear (see nativehearing.js), or null.
    // options: { characters, strict, wordsPerMinute }. trace(event) records
    // what happens.
    constructor({
        clock,
        stage = null,
        voice = null,
        hearing = null,
        trace = () => {},
        warn = () => {},
        options = {},
    }) {
        this._clock = clock;
        this._stageView = stage;
        this._voicing = new Voicing(clock, voice);
        this._hearing = hearing;
        this._waiting = new Map(); // request -> what waits for it to finish
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

    // The request object that a script hands back (Wait, Interrupt).
    _requestOf(request) {
        if (!(request instanceof AgentRequest)) throw new VBError(5, "Invalid procedure call or argument");
        return request;
    }

    // Calls done once the request has finished; returns the cancel function.
    _whenSettled(request, done) {
        if (!this._waiting.has(request)) this._waiting.set(request, new Set());
        this._waiting.get(request).add(done);
        return () => this._waiting.get(request)?.delete(done);
    }

    _settled(request) {
        const waiting = this._waiting.get(request);
        if (waiting === undefined) return;
        this._waiting.delete(request);
        for (const done of waiting) done();
    }

    // The characters' voice commands changed: the window hears the new ones.
    _voiceCommandsChanged() {
        this._hearing?.commandsChanged?.(this);
    }

    // The window heard a voice command: Command as for a click on it, with
    // the recognition's confidence (-100 to 100).
    _hear(characterId, name, confidence) {
        return this._pick(characterId, name, Math.min(100, Math.max(-100, Math.round(confidence))));
    }

    // The user picked a command (clicked its button, or said it).
    _pick(characterId, name, confidence = 100) {
        const character = this._characters._loaded.get(String(characterId).toLowerCase());
        if (character === undefined) return false;
        const at = character._commands._find(name);
        if (at < 0) return false;
        const command = character._commands._list[at];
        if (!command._enabled) return false;
        this._trace({ type: "command", character: character._id, name: command._name, confidence });
        this._raise("Command", new AgentUserInput(character, command, confidence));
        return true;
    }
}
