// Converted pages, exactly as the converter writes them (tests/player/pages),
// played on a virtual clock: what the character does, in which order, and
// where each page goes next.

import assert from "node:assert/strict";
import fs from "node:fs";
import test from "node:test";
import { playPage, readPage, scriptBlocks, startPage } from "./support.js";

const REQUEST_STARTS = ["play", "speak", "think", "move", "show", "hide"];

// One line per request, in the order they ran: "play Greet",
// "speak Welcome ...", "pause 1000" (a speech without words), "move 600,0 in 1000".
function requestLog(trace) {
    const log = [];
    for (const start of trace.filter((event) => REQUEST_STARTS.includes(event.type))) {
        const complete = trace.find((event) => event.type === "complete" && event.request === start.request);
        const ms = complete === undefined ? "never" : complete.t - start.t;
        const balloon = trace.find((event) => event.type === "balloon" && event.request === start.request);
        if (start.type === "play") log.push(`play ${start.name}`);
        else if (start.type === "speak") log.push(balloon ? `speak ${balloon.text}` : `pause ${ms}`);
        else if (start.type === "move") log.push(`move ${start.x},${start.y} in ${ms}`);
        else log.push(start.type);
    }
    return log;
}

const subs = (trace) => trace.filter((e) => e.type === "call" && e.name !== "Agent_RequestComplete").map((e) => e.name);
const at = (trace, predicate) => trace.find(predicate).t;
const completeOf = (trace, n) => trace.filter((e) => e.type === "complete")[n];
const commands = (run) =>
    run.page.control.Characters.Character("Orvo")
        .Commands._offered()
        .map((command) => `${command.Name}: ${command.Caption}`);

test("page 1 loads and shows the character, plays Step0, and goes on to page 2", () => {
    const run = playPage("1.html");
    assert.deepEqual(run.errors, []);
    assert.deepEqual(run.alerts, []);
    assert.deepEqual(subs(run.trace), ["Window_OnLoad", "LoadCharacter", "Step0", "NextPage"]);
    assert.deepEqual(requestLog(run.trace), [
        "move 100,50 in 0", // still hidden: placed at the page's position
        "show",
        "play RestPose", // BeginRequest
        "speak Welcome to the tour.",
        "pause 1000",
        "play Greet",
        "move 600,0 in 1000",
        "play Pleased",
        "speak This is fun",
        "play MoveLeft",
        "move 0,210 in 2000",
        "play RestPose", // EndRequest
    ]);
    const beginDone = completeOf(run.trace, 2).t;
    assert.equal(at(run.trace, (e) => e.name === "Step0") - beginDone, 100);
    const endDone = completeOf(run.trace, 11).t;
    assert.equal(at(run.trace, (e) => e.name === "NextPage") - endDone, 500);
    assert.deepEqual(run.navigations, ["2.html"]);
    const character = run.page.control.Characters.Character("Orvo");
    assert.equal(character.Visible, true);
    assert.deepEqual([character.Left, character.Top], [0, 210]);
});

test("page 2 listens: the words become commands and the page waits", () => {
    const run = playPage("2.html");
    assert.deepEqual(run.errors, []);
    assert.deepEqual(requestLog(run.trace), ["move 600,360 in 0", "show", "play RestPose", "speak Say one or two."]);
    assert.deepEqual(commands(run), ["VoiceCommand1: one", "VoiceCommand2: two"]);
    assert.deepEqual(run.navigations, []);
});

test("page 2: a nested listen replaces the commands; a word can be said again", () => {
    const run = playPage("2.html");
    const before = run.trace.length;
    assert.equal(run.page.control._pick("Orvo", "VoiceCommand2"), true);
    run.clock.runUntilIdle();
    const response = run.trace.slice(before);
    assert.deepEqual(subs(response), ["Agent_Command", "Step3", "AddVoiceCommands3"]);
    assert.deepEqual(requestLog(response), ["speak You said two."]);
    assert.deepEqual(commands(run), ["VoiceCommand4: more"]);
    assert.equal(run.page.control._pick("Orvo", "VoiceCommand1"), false, "the first listen's words are gone");
    for (let i = 0; i < 2; ++i) {
        const mark = run.trace.length;
        assert.equal(run.page.control._pick("Orvo", "VoiceCommand4"), true);
        run.clock.runUntilIdle();
        assert.deepEqual(subs(run.trace.slice(mark)), ["Agent_Command", "Step4"]);
        assert.deepEqual(requestLog(run.trace.slice(mark)), ["speak More it is."]);
    }
    assert.deepEqual(run.navigations, [], "a response without jump or listen stays on the page");
});

test("page 2: the first word answers and jumps to page 3", () => {
    const run = playPage("2.html");
    const before = run.trace.length;
    run.page.control._pick("Orvo", "VoiceCommand1");
    run.clock.runUntilIdle();
    const response = run.trace.slice(before);
    assert.deepEqual(subs(response), ["Agent_Command", "Step1", "JumpFuntion2"]);
    assert.deepEqual(requestLog(response), ["speak You said one.", "play RestPose"]);
    const jumpDone = response.filter((e) => e.type === "complete").pop().t;
    assert.equal(at(response, (e) => e.name === "JumpFuntion2") - jumpDone, 500);
    assert.deepEqual(run.navigations, ["3.html"]);
});

test("page 2: a word picked while the question is still spoken is answered after it", () => {
    const run = startPage(scriptBlocks(readPage("2.html")));
    run.page.pageLoaded();
    run.clock.advance(1200); // Step0 has run; the question is being spoken
    run.page.control._pick("Orvo", "VoiceCommand2");
    run.clock.runUntilIdle();
    assert.deepEqual(requestLog(run.trace).slice(3), ["speak Say one or two.", "speak You said two."]);
});

test("page 3, the last one: starts at once, jumps back to page 1, never calls NextPage onwards", () => {
    const run = playPage("3.html");
    assert.deepEqual(run.errors, []);
    assert.deepEqual(subs(run.trace), ["Window_OnLoad", "LoadCharacter", "Step0", "JumpFuntion1"]);
    assert.deepEqual(requestLog(run.trace), [
        "move 0,0 in 0",
        "show",
        "play RestPose",
        "speak The end.",
        "play RestPose",
    ]);
    assert.equal(
        at(run.trace, (e) => e.name === "Step0"),
        completeOf(run.trace, 2).t,
        "a delay of -1 is no delay",
    );
    assert.deepEqual(run.navigations, ["1.html"]);
});

test("a character that is not installed: the page says so and stays, and the runtime goes on", () => {
    const run = playPage("1.html", { options: { characters: [] } });
    assert.deepEqual(run.alerts, ["No character installed"]);
    assert.deepEqual(requestLog(run.trace), []);
    // Window_OnLoad has no error handler: its play on the Empty Doll fails,
    // which is reported, not thrown.
    assert.deepEqual(
        run.errors.map((e) => [e.where, e.description]),
        [["Window_OnLoad", "Object required: 'Doll'"]],
    );
    assert.deepEqual(run.navigations, []);
    assert.equal(run.page.engine.callFromHost("NextPage"), true);
    assert.deepEqual(run.navigations, ["2.html"]);
});

test("a page of a presentation without an agent shows nothing and does not advance", () => {
    const run = playPage("noagent.html");
    assert.deepEqual(run.alerts, []);
    assert.deepEqual(
        run.errors.map((e) => [e.where, e.description]),
        [["Window_OnLoad", "Type mismatch: 'LoadCharacter'"]],
    );
    assert.deepEqual(requestLog(run.trace), []);
    assert.deepEqual(run.navigations, []);
});

// A stranger's speech as the converter writes it (the golden case
// hostile-presentation): the "</SCRIPT>" in it no longer ends the script
// element, and its lone CR no longer ends the string literal; the speech
// plays as written and the page goes on.
test("a speech that mentions </script> and holds a CR plays as written", () => {
    const file = new URL("../golden/cases/hostile-presentation/expected/html/1.html", import.meta.url);
    const run = startPage(scriptBlocks(fs.readFileSync(file, "latin1")));
    run.page.pageLoaded();
    run.clock.runUntilIdle(120000);
    assert.deepEqual(run.errors, []);
    assert.deepEqual(run.alerts, []);
    const balloon = run.trace.find((event) => event.type === "balloon");
    // The balloon shows the CR as the blank it is.
    assert.equal(balloon.text, 'Hello </SCRIPT><script>alert("owned")</script> and a CR here.');
    assert.deepEqual(run.navigations, ["2.html"]);
});
