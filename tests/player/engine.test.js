// Run-time meaning of the translated script: On Error Resume Next per
// statement, Select Case on request objects, calls with and without
// parentheses, undeclared variables, and the page's host calls.

import assert from "node:assert/strict";
import test from "node:test";
import { startPage } from "./support.js";

test("On Error Resume Next goes on with the next statement after an error", () => {
    const run = startPage(
        [
            "Dim log",
            "Sub Fails",
            '  log = log & "a"',
            "  Nothing.Member",
            '  log = log & "b"',
            "End Sub",
            "Sub Guarded",
            "  On Error Resume Next",
            "  Fails",
            '  log = log & "c"',
            "  Undefined.Thing = 1",
            '  log = log & "d" & Err.Number',
            "  On Error GoTo 0",
            '  log = log & "e"',
            "  x = 1 / 0",
            '  log = log & "never"',
            "End Sub",
        ].join("\n"),
    );
    assert.equal(run.page.engine.callFromHost("Guarded"), true);
    // Fails stops at its error (no handler there); Guarded goes on.
    assert.equal(run.page.engine.globals.get("log").value, "acd424e");
    assert.equal(run.errors.length, 1);
    assert.equal(run.errors[0].number, 11);
    assert.equal(run.errors[0].where, "Guarded");
});

test("an error in an If condition enters the Then branch", () => {
    // This is how a failed character load reaches its alert: the load
    // fails, LoadRequestUNC stays Empty, and reading its Status fails.
    const run = startPage(
        [
            "Sub Check",
            "  On Error Resume Next",
            '  Set r = Agent.Characters.Load ("Nobody", "Nobody.acs")',
            "  If r.Status <> 0 Then",
            '    Alert "then"',
            "  Else",
            '    Alert "else"',
            "  End If",
            "  If 1 = 2 Then",
            '    Alert "wrong"',
            "  Else",
            '    Alert "else 2"',
            "  End If",
            "End Sub",
        ].join("\n"),
        { options: { characters: [] } },
    );
    run.page.engine.callFromHost("Check");
    assert.deepEqual(run.alerts, ["then", "else 2"]);
    assert.deepEqual(run.errors, []);
});

test("Select Case compares request objects by identity", () => {
    const run = startPage(
        [
            "Dim First, Second, Seen",
            "Sub Agent_RequestComplete (ByVal Request)",
            "\tSelect Case Request",
            "\t\tCase First",
            '\t\t\tSeen = Seen & "1"',
            "\t\tCase Second",
            '\t\t\tSeen = Seen & "2"',
            "\t\tCase Else",
            '\t\t\tSeen = Seen & "-"',
            "\tEnd Select",
            "End Sub",
            "Sub Go",
            '  Agent.Characters.Load "Orvo", "Orvo.acs"',
            '  Set Doll = Agent.Characters("Orvo")',
            '  Set Second = Doll.Play("Wave")',
            '  Set First = Doll.Play("Wave")',
            '  Doll.Play "Wave"',
            "End Sub",
        ].join("\n"),
    );
    run.page.engine.callFromHost("Go");
    run.clock.runUntilIdle();
    // The load's own request matches neither variable, then the three plays.
    assert.equal(run.page.engine.globals.get("seen").value, "-21-");
    assert.deepEqual(run.errors, []);
});

test("calls with and without parentheses pass the same arguments", () => {
    const run = startPage(
        [
            "Sub Two(a, b)",
            '  Alert a & "+" & b',
            "End Sub",
            "Sub One (ByVal a)",
            '  Alert "<" & a & ">"',
            "End Sub",
            "Sub Go()",
            "  Two 1, 2",
            "  Two (1) + 1, 3",
            "  Call Two(4, 5)",
            '  One("p")',
            '  One ("q")',
            '  One "r"',
            '  Alert("s")',
            "End Sub",
        ].join("\n"),
    );
    run.page.engine.callFromHost("Go");
    assert.deepEqual(run.alerts, ["1+2", "2+3", "4+5", "<p>", "<q>", "<r>", "s"]);
    assert.deepEqual(run.errors, []);
});

test("undeclared variables: Empty when read, local inside a sub, global outside", () => {
    const run = startPage(
        [
            "Sub SetsLocal",
            "  ID = 5",
            "End Sub",
            "Sub Reads",
            '  Alert "[" & Undeclared & "]" & IsEmpty(ID)',
            "End Sub",
            "TopLevel = 7",
            "Sub ReadsGlobal",
            "  Alert TopLevel",
            "End Sub",
        ].join("\n"),
    );
    run.page.engine.callFromHost("SetsLocal");
    run.page.engine.callFromHost("Reads");
    run.page.engine.callFromHost("ReadsGlobal");
    assert.deepEqual(run.alerts, ["[]True", "7"]);
});

test("SetTimeout runs its script text later; Location.Href navigates; Alert shows", () => {
    const run = startPage(
        [
            "Sub Later",
            '  Alert "later"',
            '  Location.Href = "2.html"',
            "End Sub",
            "Sub Go",
            '  ID = SetTimeout("Later", 500)',
            '  Alert "now"',
            '  Cancelled = SetTimeout("Alert ""cancelled""", 100)',
            "  ClearTimeout Cancelled",
            '  Window.SetTimeout "Alert 1 + 1", 50',
            "End Sub",
        ].join("\n"),
    );
    run.page.engine.callFromHost("Go");
    assert.deepEqual(run.alerts, ["now"]);
    run.clock.advance(499);
    assert.deepEqual(run.alerts, ["now", "2"]);
    assert.deepEqual(run.navigations, []);
    run.clock.advance(1);
    assert.deepEqual(run.alerts, ["now", "2", "later"]);
    assert.deepEqual(run.navigations, ["2.html"]);
    assert.equal(run.page.location.Href, "file:///show/2.html");
});

test("an event without a handler is ignored; a failing handler is reported and the page goes on", () => {
    const run = startPage(
        [
            "Sub Window_OnLoad",
            '  Doll.Play "Wave"',
            "End Sub",
            "Sub Agent_Command(ByVal UserInput)",
            "  Alert UserInput.Name",
            "End Sub",
        ].join("\n"),
    );
    run.page.pageLoaded();
    assert.equal(run.errors.length, 1);
    assert.equal(run.errors[0].description, "Object required: 'Doll'");
    assert.equal(run.errors[0].where, "Window_OnLoad");
    assert.equal(run.page.engine.fireEvent("Agent", "Bookmark", [1]), false);
    assert.equal(run.page.engine.fireEvent("Agent", "Command", [{ Name: "VoiceCommand1" }]), true);
    assert.deepEqual(run.alerts, ["VoiceCommand1"]);
});

test("a syntax error in one block leaves the other blocks running", () => {
    const run = startPage(['Sub A\n  Alert "a"\nEnd Sub', "Sub B\n  If\nEnd Sub", "Sub C\n  A\nEnd Sub"]);
    assert.equal(run.errors.length, 1);
    assert.equal(run.errors[0].where, "script block 2");
    run.page.engine.callFromHost("C");
    assert.deepEqual(run.alerts, ["a"]);
});

test("runaway recursion stops with an error instead of hanging the page", () => {
    const run = startPage("Sub Loop\n  Loop2\nEnd Sub\nSub Loop2\n  Loop\nEnd Sub");
    run.page.engine.callFromHost("Loop");
    assert.equal(run.errors.length, 1);
    assert.equal(run.errors[0].number, 28);
});
