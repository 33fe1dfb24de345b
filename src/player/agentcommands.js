// A character's commands: the list that the page's script fills, shown as
// buttons beside the character, and what a picked command hands to the
// Command event.

import { VB_DEFAULT, VBError, vbToBoolean, vbToNumber, vbToString } from "./vbvalues.js";

export class AgentUserInput {
    // confidence: how sure a recognition was (-100 to 100); a click is
    // certain.
    constructor(character, command, confidence = 100) {
        this._character = character;
        this._command = command;
        this._confidence = confidence;
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
        return this._confidence;
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
        this._voiceCaption = "";
        this._enabled = enabled;
        this._visible = visible;
        this._confidence = 0;
    }

    // What the commands window shows for a voice command; the caption
    // stands in when there is none.
    get VoiceCaption() {
        return this._voiceCaption !== "" ? this._voiceCaption : this._caption;
    }

    set VoiceCaption(value) {
        this._voiceCaption = vbToString(value);
    }

    // How sure a recognition must be to pick this command (-100 to 100).
    get Confidence() {
        return this._confidence;
    }

    set Confidence(value) {
        this._confidence = Math.min(100, Math.max(-100, Math.round(vbToNumber(value))));
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

export class AgentCommands {
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

    // For Each walks the commands.
    _items() {
        return [...this._list];
    }

    _changed() {
        this._character._commandsChanged();
    }
}
