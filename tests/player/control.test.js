// The emulated Agent control: synchronous loading, request objects, strict
// one-after-another queues, RequestComplete never inside the call that made
// the request, moves, commands and the Command event.

import assert from "node:assert/strict";
import test from "node:test";
import { AgentControl } from "../../src/player/agentcontrol.js";
import { lookupAnimation } from "../../src/player/animations.js";
import { VirtualClock } from "../../src/player/clock.js";
import { createNativeHearing } from "../../src/player/nativehearing.js";
import { parseSpeechText, planSpeech } from "../../src/player/speechtext.js";
import { startPage } from "./support.js";

// A control on a virtual clock; stage calls are recorded, and so are the
// events: those of the requests and commands in `events`, all in `allEvents`.
const REQUEST_EVENTS = ["RequestComplete", "Command", "Bookmark"];
function makeControl(options = {}) {
    const clock = new VirtualClock();
    const events = [];
    const allEvents = [];
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
        options,
        trace: (event) => trace.push({ t: clock.now(), ...event }),
    });
    let inCall = false;
    control._onEvent = (name, args) => {
        assert.equal(inCall, false, `${name} raised inside the call that made the request`);
        allEvents.push({ t: clock.now(), name, args });
        if (REQUEST_EVENTS.includes(name)) events.push({ t: clock.now(), name, args });
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
    return { clock, control, events, allEvents, trace, stageCalls, call };
}

function loaded(options) {
    const setup = makeControl(options);
    setup.call(() => setup.control.Characters.Load("Orvo", "Orvo.acs"));
    setup.character = setup.control.Characters.Character("Orvo");
    setup.clock.runUntilIdle();
    setup.events.length = 0;
    setup.allEvents.length = 0;
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
        if (name !== "RequestComplete") return;
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

// The window's hearing (a stand-in for its web channel object): it is told
// the spoken phrases of the enabled commands, and a command it heard raises
// Command through the same path as a click, with the recognition's
// confidence; answers for a list that has since changed are dropped.
test("the window hears the voice commands: a heard one raises Command as a click does", async () => {
    const signal = () => {
        const slots = new Set();
        return {
            connect: (f) => slots.add(f),
            disconnect: (f) => slots.delete(f),
            emit: (...a) => {
                for (const f of slots) f(...a);
            },
        };
    };
    const bridge = { told: [], canHear: true, tip: signal(), heard: signal() };
    bridge.setCommands = (token, phrases) => bridge.told.push({ token, phrases });
    const win = {
        OrvoPlayer: {},
        qt: { webChannelTransport: {} },
        QWebChannel: function QWebChannel(_transport, ready) {
            ready({ objects: { orvoHearing: bridge } });
        },
        addEventListener: () => {},
    };
    const tips = [];
    const hearing = createNativeHearing(win, { stage: { showTip: (character, text) => tips.push(text) } });
    const { control, events, character, call } = loaded();
    control._hearing = hearing;
    call(() => {
        character.Commands.Add("VoiceCommand1", "one", "one");
        character.Commands.Add("VoiceCommand2", "two", "two words");
        character.Commands.Add("Off", "off", "off", false);
    });
    await Promise.resolve();
    assert.equal(bridge.told.length, 1, "told once, after the script");
    const { token, phrases } = bridge.told.at(-1);
    assert.deepEqual(phrases, ["one", "two words"]);
    bridge.heard.emit(token, 1, 42, "Heard: two words");
    assert.equal(events.length, 1);
    assert.equal(events[0].name, "Command");
    assert.equal(events[0].args[0].Name, "VoiceCommand2");
    assert.equal(events[0].args[0].Voice, "two words");
    assert.equal(events[0].args[0].Confidence, 42);
    assert.deepEqual(tips, ["Heard: two words"]);
    call(() => character.Commands.Remove("VoiceCommand1"));
    await Promise.resolve();
    assert.deepEqual(bridge.told.at(-1).phrases, ["two words"]);
    bridge.heard.emit(token, 1, 42, "Heard: two words");
    assert.equal(events.length, 1, "an answer for the old list picks nothing");
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

// A script in the manner of the control's documentation: two characters,
// Get, a Wait on the other's speech, an Interrupt, command properties, the
// Balloon object, and handlers for the control's events.
test("an agent script with Get, Wait, Interrupt, VoiceCaption and the control's events plays to its end", () => {
    const run = startPage(`
Dim Genie, Merlin, Said, Long
Sub Window_OnLoad
   Agent.Characters.Load "Genie", "genie.acs"
   Set Genie = Agent.Characters("Genie")
   Agent.Characters.Load "Merlin", "merlin.acs"
   Set Merlin = Agent.Characters("Merlin")
   Genie.Get "State", "Showing, Speaking"
   With Genie.Commands
      .Caption = "Genie's commands"
      .Voice = "Genie"
      .Add "Hello", "Say hello", "hello"
   End With
   Genie.Commands("Hello").VoiceCaption = "hello there"
   Genie.Commands("Hello").Confidence = 40
   Genie.Balloon.NumberOfLines = 2
   Genie.Balloon.CharsPerLine = 24
   Genie.Left = 100 : Genie.Top = 120
   Genie.Show
   Merlin.Show
   Set Said = Genie.Speak("Hello, I am Genie.")
   Merlin.Wait Said
   Merlin.Speak "And I am Merlin."
   Set Long = Genie.Speak("This is a very long story that Merlin will cut short.")
   Merlin.Interrupt Long
   Merlin.Play "Pleased"
   Alert Genie.Commands("Hello").VoiceCaption & " " & Genie.Commands("Hello").Confidence & " " & _
      Genie.Balloon.NumberOfLines & "x" & Genie.Balloon.CharsPerLine & " " & Genie.Left & "," & Genie.Top & " " & _
      Genie.Listen(True) & " " & Genie.Speed & " " & Genie.IdleOn
End Sub
Sub Agent_Show(ByVal CharacterID, ByVal Cause)
   Alert "shown " & CharacterID & " " & Cause
End Sub
Sub Agent_RequestComplete(ByVal Request)
   If Request Is Long Then Alert "long: " & Request.Status
End Sub`);
    run.page.pageLoaded();
    run.clock.runUntilIdle(60000);
    assert.deepEqual(run.errors, []);
    assert.deepEqual(run.alerts, [
        "hello there 40 2x24 100,120 False 160 True",
        "shown Merlin 4", // Genie's Get comes first in its queue
        "shown Genie 4",
        "long: 3",
    ]);
    const starts = (type) => run.trace.filter((e) => e.type === type);
    const [genieSays, merlinSays] = starts("speak");
    const genieDone = run.trace.find((e) => e.type === "complete" && e.request === genieSays.request);
    assert.equal(starts("get")[0].what, "State");
    assert.ok(merlinSays.t >= genieDone.t, "Merlin waits for Genie's speech");
    assert.deepEqual(
        starts("balloon").map((e) => e.text),
        ["Hello, I am Genie.", "And I am Merlin.", "This is a very long story that Merlin will cut short."],
    );
});

test("a character left alone idles, and the next request ends it; clicks and drags are events", () => {
    const { clock, control, allEvents, trace, character, call } = loaded();
    call(() => character.Show());
    clock.advance(9000);
    assert.equal(
        allEvents.some((e) => e.name === "IdleStart"),
        false,
        "not idle yet",
    );
    clock.advance(2000);
    assert.deepEqual(allEvents.find((e) => e.name === "IdleStart").args, ["Orvo"]);
    assert.ok(trace.some((e) => e.type === "idle-start"));
    call(() => character.Play("Wave"));
    clock.runUntilIdle(120000);
    const names = allEvents.map((e) => e.name);
    assert.ok(names.indexOf("IdleComplete") > names.indexOf("IdleStart"));
    // Idling ends in sleep: the queue runs empty instead of idling forever.
    assert.equal(clock.pending.length, 0);

    allEvents.length = 0;
    character._userClick(60, 70, false);
    character._userDragStart(10, 10);
    character._userDragTo(200, 150);
    character._userDragEnd(210, 160);
    assert.deepEqual(
        allEvents.map((e) => [e.name, ...e.args]),
        [
            ["Click", "Orvo", 1, 0, 60, 70],
            ["DragStart", "Orvo", 1, 0, 10, 10],
            ["DragComplete", "Orvo", 1, 0, 210, 160],
        ],
    );
    assert.deepEqual([character.Left, character.Top], [200, 150], "dragged by the point it was taken at");
    assert.equal(control.Characters.Count, 1);
});

test("JScript: the control through its id, FOR/EVENT handlers, and a failing handler that stops nothing", () => {
    const run = startPage([]);
    const seen = [];
    const page = { seen, said: null }; // the page's globals
    globalThis.orvoTestPage = page;
    const handler = (event, params, body) =>
        run.page.addEventScript({ forId: "Agent", event, params, body, language: "javascript" });
    handler(
        "RequestComplete",
        ["request"],
        "orvoTestPage.seen.push(request === orvoTestPage.said ? 'said' : request.Status);" +
            "if (request.ID === 2) throw new Error('boom');",
    );
    handler("Show", ["id", "cause"], "orvoTestPage.seen.push(id + ' shown, cause ' + cause);");
    handler("Click", ["id"], "this is not JavaScript");
    const Agent = run.page.jsAgent();
    Agent.Characters.Load("Genie", "genie.acs");
    const genie = Agent.Characters("Genie");
    assert.equal(genie, Agent.Characters.Character("Genie"), "one view per object");
    genie.Show();
    page.said = genie.Speak("Hi");
    genie.Play("Wave");
    run.clock.runUntilIdle(60000);
    delete globalThis.orvoTestPage;
    assert.deepEqual(seen, [0, "Genie shown, cause 4", 0, "said", 0]);
    assert.deepEqual(
        run.errors.map((e) => [e.where, e.description]),
        [
            ["Agent.Click", "Unexpected identifier 'is'"],
            ["Agent.RequestComplete", "boom"],
        ],
    );
    assert.equal(genie.Visible, true);
});

test("a voice that reports its words (the window's) moves the balloon and ends the speech with its audio", () => {
    const speeches = [];
    const backend = {
        reportsWords: true,
        speak(plan, languageId, { text, onWord, onEnd }) {
            const speech = { text, onWord, onEnd, cancelled: false };
            speeches.push(speech);
            return {
                cancel: () => {
                    speech.cancelled = true;
                },
            };
        },
    };
    const { clock, events, character, call, control, stageCalls } = loaded();
    control._voicing.setBackend(backend);
    const first = call(() => character.Speak("One two three four."));
    clock.advance(10);
    speeches[0].onWord(1);
    assert.deepEqual(stageCalls.at(-1), ["reachWords", 2], "the balloon shows the words said so far");
    speeches[0].onEnd();
    clock.advance(0);
    assert.equal(first.Status, 0, "over when the audio ends, before the reading time");
    assert.equal(events.length, 1);
    // \Lst\ is voiced as the statement it repeats; Stop cuts the voice.
    const second = call(() => character.Speak("Again: \\Lst\\"));
    clock.advance(10);
    assert.equal(speeches[1].text, "Again: One two three four.");
    call(() => character.Stop());
    clock.runUntilIdle();
    assert.ok(speeches[1].cancelled);
    assert.equal(second.Status, 3);
});
