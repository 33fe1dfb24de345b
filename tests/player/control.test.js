// The emulated Agent control: synchronous loading, request objects, strict
// one-after-another queues, RequestComplete never inside the call that made
// the request, moves, commands and the Command event.

import assert from "node:assert/strict";
import test from "node:test";
import { AgentControl } from "../../src/player/agentcontrol.js";
import { lookupAnimation } from "../../src/player/animations.js";
import { VirtualClock } from "../../src/player/clock.js";
import { parseSpeechText, planSpeech } from "../../src/player/speechtext.js";

// A control on a virtual clock; events and stage calls are recorded.
function makeControl(options = {}, voice = null) {
    const clock = new VirtualClock();
    const events = [];
    const trace = [];
    const stageCalls = [];
    const stage = new Proxy(
        {},
        {
            get:
                (target, method) =>
                (...args) =>
                    stageCalls.push([method, ...args.slice(1)]),
        },
    );
    const control = new AgentControl({
        clock,
        stage,
        voice,
        options,
        trace: (event) => trace.push({ t: clock.now(), ...event }),
    });
    let inCall = false;
    control._onEvent = (name, args) => {
        assert.equal(inCall, false, `${name} raised inside the call that made the request`);
        events.push({ t: clock.now(), name, args });
    };
    // Runs fn as the page's script would call the control.
    const call = (fn) => {
        inCall = true;
        try {
            return fn();
        } finally {
            inCall = false;
        }
    };
    return { clock, control, events, trace, stageCalls, call };
}

function loaded(options, voice) {
    const setup = makeControl(options, voice);
    setup.call(() => setup.control.Characters.Load("Orvo", "Orvo.acs"));
    setup.character = setup.control.Characters.Character("Orvo");
    setup.clock.runUntilIdle();
    setup.events.length = 0;
    setup.trace.length = 0;
    return setup;
}

test("Load succeeds synchronously with Status 0 and completes after the call", () => {
    const { control, clock, events, call } = makeControl();
    const request = call(() => control.Characters.Load("Orvo", "Orvo.acs"));
    assert.equal(request.Status, 0);
    assert.ok(request.ID > 0);
    assert.equal(events.length, 0);
    clock.runUntilIdle();
    assert.deepEqual(
        events.map((event) => [event.name, event.args[0]]),
        [["RequestComplete", request]],
    );
    const character = control.Characters.Character("orvo");
    assert.equal(control.Characters.Item("ORVO"), character, "ids ignore letter case");
    assert.equal(character.Visible, false);
    assert.equal(character.LanguageID, 0x0409);
});

test("a load fails (raises an error) for a character not installed, a loaded id, an empty id", () => {
    const { control } = makeControl({ characters: ["Orvo"] });
    assert.throws(() => control.Characters.Load("Genie", "Genie.acs"), /not installed/);
    control.Characters.Load("Orvo", "Orvo.acs");
    assert.throws(() => control.Characters.Load("Orvo", "Orvo.acs"), /already loaded/);
    assert.throws(() => control.Characters.Load("", ""), /id/);
    assert.throws(() => control.Characters.Character("Genie"), /not loaded/);
});

test("requests run one after another and complete in order, never inside their call", () => {
    const { clock, events, trace, character, call } = loaded();
    const requests = call(() => [
        character.Show(),
        character.Play("Greet"),
        character.Speak("Hello there"),
        character.MoveTo(600, 360),
        character.Play("RestPose"),
    ]);
    const ids = requests.map((request) => request.ID);
    assert.equal(new Set(ids).size, ids.length);
    assert.ok(ids.every((id) => id > 0));
    assert.ok(
        requests.every((request) => request.Status === 2),
        "pending when returned",
    );
    clock.advance(1);
    assert.equal(requests[0].Status, 4, "the first one is in progress");
    assert.equal(requests[1].Status, 2, "the second one waits");
    requests.push(call(() => character.Play("Wave")));
    clock.runUntilIdle();
    assert.deepEqual(
        events.map((event) => event.args[0]),
        requests,
    );
    assert.ok(requests.every((request) => request.Status === 0));
    // Each request starts when the one before has completed.
    const starts = trace.filter(
        (event) => event.request !== undefined && event.type !== "complete" && event.type !== "balloon",
    );
    const completes = trace.filter((event) => event.type === "complete");
    assert.equal(starts.length, requests.length);
    for (let i = 1; i < starts.length; ++i) assert.ok(starts[i].t >= completes[i - 1].t);
    assert.equal(completes[1].t - starts[1].t, lookupAnimation("Greet").duration);
    assert.equal(completes[3].t - starts[3].t, 1000, "MoveTo takes a second by default");
});

test("a request made from RequestComplete waits for its turn too", () => {
    const { control, clock, events, character, call } = loaded();
    let made = null;
    control._onEvent = (name, args) => {
        events.push({ name, args });
        if (made === null) made = call(() => character.Play("Wave"));
    };
    const first = call(() => character.Play("Blink"));
    clock.runUntilIdle();
    assert.deepEqual(
        events.map((event) => event.args[0]),
        [first, made],
    );
});

test("MoveTo: speed is the duration, 0 jumps, a hidden character is placed at once", () => {
    const { clock, trace, character, stageCalls, call } = loaded();
    call(() => character.MoveTo(100, 50));
    clock.runUntilIdle();
    assert.deepEqual(
        stageCalls.filter((c) => c[0] === "setPosition"),
        [["setPosition", 100, 50]],
    );
    call(() => character.Show(true));
    call(() => character.MoveTo(600, 0, 2000));
    call(() => character.MoveTo(0, 210, 0));
    clock.runUntilIdle();
    const moves = stageCalls.filter((c) => c[0] === "move" || c[0] === "setPosition");
    assert.deepEqual(
        moves.slice(1).map((c) => c.slice(0, 5)),
        [
            ["move", 100, 50, 600, 0],
            ["setPosition", 0, 210],
        ],
    );
    assert.equal(moves[1][6], 2000);
    assert.equal(character.Left, 0);
    assert.equal(character.Top, 210);
    const done = trace.filter((event) => event.type === "complete").map((event) => event.t);
    assert.deepEqual(done, [0, 0, 2000, 2000]);
});

test("Show and Hide change Visible when they run, not when they are asked for", () => {
    const { clock, character, call } = loaded();
    call(() => character.Show());
    assert.equal(character.Visible, false);
    clock.advance(1);
    assert.equal(character.Visible, true);
    call(() => character.Hide());
    clock.runUntilIdle();
    assert.equal(character.Visible, false);
    const start = clock.now();
    call(() => [character.Show(), character.Show(), character.Hide(true), character.Hide()]);
    clock.runUntilIdle();
    assert.equal(
        clock.now() - start,
        lookupAnimation("Show").duration,
        "showing a visible or hiding a hidden character takes no time",
    );
});

test("an unknown animation plays a neutral gesture and completes; strict mode refuses it", () => {
    const lenient = loaded();
    const request = lenient.call(() => lenient.character.Play("Dance_Wildly"));
    lenient.clock.runUntilIdle();
    assert.equal(request.Status, 0);
    assert.ok(lenient.trace.some((event) => event.type === "unknown-animation" && event.name === "Dance_Wildly"));
    const strict = loaded({ strict: true });
    assert.throws(() => strict.character.Play("Dance_Wildly"), /no animation 'Dance_Wildly'/);
    strict.clock.runUntilIdle();
    assert.deepEqual(strict.events, []);
});

test("speech takes its reading time, pauses take theirs, bookmarks raise Bookmark", () => {
    const { clock, events, trace, character, call } = loaded();
    const pause = call(() => character.Speak(" \\Pau=1500\\ "));
    const speech = call(() => character.Speak("One \\Mrk=7\\two three."));
    clock.runUntilIdle();
    const complete = (request) => events.find((e) => e.name === "RequestComplete" && e.args[0] === request).t;
    assert.equal(complete(pause), 1500);
    const plan = planSpeech(parseSpeechText("One \\Mrk=7\\two three."));
    assert.equal(complete(speech) - complete(pause), plan.total);
    const bookmark = events.find((e) => e.name === "Bookmark");
    assert.deepEqual(bookmark.args, [7]);
    assert.ok(bookmark.t > complete(pause) && bookmark.t < complete(speech));
    assert.deepEqual(
        trace.filter((e) => e.type === "balloon").map((e) => e.text),
        ["One two three."],
        "a pause alone shows no balloon",
    );
});

test("commands: registered, replaced, offered as buttons, picked as the Command event", () => {
    const { control, clock, events, character, stageCalls, call } = loaded();
    call(() => {
        character.Commands.RemoveAll();
        character.Commands.Add("VoiceCommand1", "one", "one");
        character.Commands.Add("VoiceCommand2", "two", "two");
        character.Commands.Add("Silent", "", "");
    });
    assert.equal(character.Commands.Count, 3);
    assert.throws(() => character.Commands.Add("voicecommand1", "again", "again"), /already exists/);
    const offered = stageCalls.filter((c) => c[0] === "setCommands").pop()[1];
    assert.deepEqual(
        offered.map((command) => command.Caption),
        ["one", "two"],
        "a command without caption cannot be shown",
    );
    assert.equal(control._pick("Orvo", "VoiceCommand2"), true);
    assert.equal(events.length, 1);
    assert.equal(events[0].name, "Command");
    assert.equal(events[0].args[0].Name, "VoiceCommand2");
    assert.equal(events[0].args[0].CharacterID, "Orvo");
    character.Commands.RemoveAll();
    assert.equal(control._pick("Orvo", "VoiceCommand2"), false);
    assert.deepEqual(stageCalls.filter((c) => c[0] === "setCommands").pop()[1], []);
    clock.runUntilIdle();
    assert.equal(events.length, 1);
});

test("StopAll interrupts: every request completes with Status 3", () => {
    const { clock, events, character, call } = loaded();
    const requests = call(() => [character.Play("Greet"), character.Play("Wave"), character.Speak("Hi")]);
    clock.advance(100);
    call(() => character.StopAll());
    clock.runUntilIdle();
    assert.deepEqual(
        events.map((event) => event.args[0]),
        requests,
    );
    assert.ok(requests.every((request) => request.Status === 3));
});

test("a timed voice (the window's) ends a speech when its audio ends; Stop cuts it", () => {
    const speeches = [];
    const voice = {
        speak(plan, languageId, text) {
            const speech = { text, callbacks: [], cancelled: false };
            speeches.push(speech);
            return {
                timed: true,
                whenDone: (callback) => speech.callbacks.push(callback),
                cancel: () => {
                    speech.cancelled = true;
                },
            };
        },
    };
    const { clock, events, character, call } = loaded({}, voice);
    const first = call(() => character.Speak("One two."));
    clock.advance(60000);
    assert.deepEqual(events, [], "not ended by the reading time");
    for (const callback of speeches[0].callbacks) callback();
    clock.advance(0);
    assert.equal(first.Status, 0);
    // \Lst\ is voiced as the statement it repeats.
    const second = call(() => character.Speak("Again: \\Lst\\"));
    clock.advance(100);
    assert.equal(speeches[1].text, "Again: One two.");
    call(() => character.Stop());
    clock.runUntilIdle();
    assert.ok(speeches[1].cancelled);
    assert.equal(second.Status, 3);
    assert.deepEqual(
        events.map((event) => event.args[0]),
        [first, second],
    );
});
