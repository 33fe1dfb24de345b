// The character's ears inside ViewOrvo: the window publishes its hearing on
// the page's web channel as "orvoHearing". The page tells it the voice
// commands of its characters (the spoken phrase of every enabled command
// that has one); while the user holds the listening key the window records,
// and then answers with the command heard, which raises Command as a click
// on that command does. Its texts for the listening tip ("Listening...",
// the command heard, nothing understood, no microphone) are shown beside
// the character. Anywhere else (a plain browser) there is no window to
// hear, and the commands are clicked.

import { reachWindow } from "./windowchannel.js";

// The commands that can be spoken, in the characters' order: those enabled
// and with a spoken phrase.
export function voiceCommandsOf(control) {
    const found = [];
    for (const character of control.Characters._items()) {
        for (const command of character.Commands._items()) {
            if (command._enabled && command._voice.trim() !== "") {
                found.push({ character, name: command._name, voice: command._voice });
            }
        }
    }
    return found;
}

// A hearing backend for the Agent control (see agentcontrol.js), or null
// outside ViewOrvo. stage: where the tip is shown (stage.js).
export function createNativeHearing(win, { stage, trace = () => {} }) {
    let bridge = null;
    let control = null;
    // What the window was last told, and the number it was told under: an
    // answer under another number is for a list that is gone.
    let sent = [];
    let token = 0;
    let shared = null;

    // A script registers its commands one Add at a time: the window is told
    // once the script has run, the whole list under one number (a key held
    // between two of the Adds would otherwise be answered for a list that
    // is already gone).
    let sending = false;
    const send = () => {
        if (sending) return;
        sending = true;
        queueMicrotask(() => {
            sending = false;
            sendNow();
        });
    };
    const sendNow = () => {
        if (bridge === null || control === null) return;
        const commands = voiceCommandsOf(control);
        const same =
            commands.length === sent.length &&
            commands.every(
                (c, i) => c.character === sent[i].character && c.name === sent[i].name && c.voice === sent[i].voice,
            );
        if (same) return;
        sent = commands;
        token = shared.nextId++;
        bridge.setCommands(
            token,
            commands.map((command) => command.voice),
        );
    };
    // A tip about listening goes beside the first character that has voice
    // commands; a heard command's beside the character whose command it is.
    const onTip = (to, text, whileHeld) => {
        if (to !== token) return;
        const character = sent[0]?.character ?? null;
        trace({ type: "hear-tip", text });
        if (character !== null) stage.showTip(character, text, whileHeld);
    };
    const onHeard = (to, index, confidence, text) => {
        if (to !== token || index < 0 || index >= sent.length) return;
        const entry = sent[index];
        trace({ type: "hear-tip", text });
        stage.showTip(entry.character, text, false);
        control._hear(entry.character._id, entry.name, confidence);
    };

    shared = reachWindow(win, (objects) => {
        if (!objects.orvoHearing) return;
        bridge = objects.orvoHearing;
        bridge.tip.connect(onTip);
        bridge.heard.connect(onHeard);
        send();
    });
    if (shared === null) return null;
    // This page's commands end with the page.
    win.addEventListener("pagehide", () => {
        if (bridge === null) return;
        if (sent.length > 0) bridge.setCommands(token, []);
        sent = [];
        bridge.tip.disconnect(onTip);
        bridge.heard.disconnect(onHeard);
    });
    return {
        // The page's script starts or stops listening (Listen True/False),
        // as holding and releasing the key do. False where nothing can be
        // heard: no microphone, or the window is not up yet.
        listen(_character, on) {
            if (bridge === null || !bridge.canHear) return false;
            bridge.listen(on);
            return true;
        },
        // The characters' commands changed.
        commandsChanged(agentControl) {
            control = agentControl;
            send();
        },
    };
}
