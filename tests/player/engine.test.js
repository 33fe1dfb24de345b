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

// Runs a page script's sub and returns what it showed with Alert/MsgBox.
function alertsOf(source, sub = "Main", answers = []) {
    const run = startPage(source);
    run.answers.push(...answers);
    run.page.engine.callFromHost(sub);
    return { alerts: run.alerts, errors: run.errors, run };
}

test("loops: Do with While or Until at either end, While ... Wend, For with Step, For Each, Exit", () => {
    const { alerts, errors } = alertsOf(`
Sub Main
   Dim i, s
   i = 0
   Do While i < 3
      i = i + 1
   Loop
   s = "a" & i
   Do
      i = i - 1
   Loop Until i <= 0
   s = s & " b" & i
   Do Until i = 5
      i = i + 1
      If i = 4 Then Exit Do
   Loop
   s = s & " c" & i
   Do
      i = i + 10
   Loop While i < 4
   s = s & " d" & i
   While i > 10
      i = i - 5
   Wend
   s = s & " e" & i
   For i = 10 To 1 Step -3
      s = s & " " & i
   Next
   For i = 1 To 10
      If i = 3 Then Exit For
   Next i
   s = s & " f" & i
   For Each word In Array("x", "y")
      s = s & " " & word
   Next
   MsgBox s
End Sub`);
    assert.deepEqual(errors, []);
    assert.deepEqual(alerts, ["a3 b0 c4 d14 e9 10 7 4 1 f3 x y"]);
});

test("arrays: Dim with bounds, ReDim Preserve, Array, UBound, two dimensions, copies on assignment", () => {
    const { alerts, errors } = alertsOf(`
Dim Names(2)
Sub Main
   Names(0) = "Genie" : Names(1) = "Merlin" : Names(2) = "Robby"
   ReDim Preserve Names(3)
   Names(3) = "Peedy"
   Dim Grid(1, 2), Copy
   Grid(1, 2) = "corner"
   Copy = Names
   Copy(0) = "changed"
   MsgBox Join(Names, ",") & " " & UBound(Names) & " " & UBound(Grid, 2) & " " & Grid(1, 2) & " " & Copy(0)
   ReDim Names(1)
   MsgBox "[" & Names(0) & "]" & UBound(Names) & " " & IsArray(Names) & " " & UBound(Array())
   Names(5) = "out of range"
End Sub`);
    assert.deepEqual(alerts, ["Genie,Merlin,Robby,Peedy 3 2 corner changed", "[]1 True -1"]);
    assert.deepEqual(
        errors.map((e) => [e.number, e.description]),
        [[9, "Subscript out of range"]],
    );
});

test("procedures: ByVal and ByRef, Exit Function, With, Select Case with Is and To", () => {
    const { alerts, errors } = alertsOf(`
Function Grade(ByVal score)
   Select Case score
      Case Is >= 90
         Grade = "A"
         Exit Function
      Case 50 To 89, 45
         Grade = "B"
      Case Else
         Grade = "C"
   End Select
   Grade = Grade & "!"
End Function
Sub Twice(ByRef n, ByVal m)
   n = n * 2
   m = m * 2
End Sub
Sub Main
   Dim a, b
   a = 3 : b = 4
   Twice a, b
   Call Twice(a, b)
   Twice (a), b
   MsgBox Grade(95) & Grade(45) & Grade(10) & " " & a & " " & b
   With Window.Location
      MsgBox .Protocol & " " & Len(.Href)
   End With
End Sub`);
    assert.deepEqual(errors, []);
    assert.deepEqual(alerts, ["AB!C! 12 4", `file: ${"file:///show/1.html".length}`]);
});

test("the language's functions: strings, numbers, conversions, dates", () => {
    const { alerts, errors } = alertsOf(`
Sub Main
   Dim t : t = "  Hello, Agent World  "
   MsgBox Trim(t) & "|" & Left(Trim(t), 5) & "|" & Right(Trim(t), 5) & "|" & Mid(t, 10, 5) & "|" & UCase("abc") & LCase("DEF")
   MsgBox InStr(t, "Agent") & " " & InStr(12, t, "l") & " " & InStrRev(t, "l") & " " & Replace(t, " ", "") & " " & Len(t)
   MsgBox CStr(42) & " " & CInt("2.5") & CInt(3.5) & " " & Int(-2.5) & " " & Fix(-2.5) & " " & Round(2.345, 2) & " " & CBool("True") & " " & Hex(255)
   MsgBox Space(2) & "|" & String(3, "*") & "|" & StrReverse("abc") & "|" & Split("a,b,c", ",")(1) & "|" & Chr(65) & Asc("B")
   Dim r : r = Rnd
   MsgBox (r >= 0 And r < 1) & " " & (Year(Now) >= 2024) & " " & TypeName(Now) & " " & (Month(Date) >= 1)
End Sub`);
    assert.deepEqual(errors, []);
    assert.deepEqual(alerts, [
        "Hello, Agent World|Hello|World|Agent|ABCdef",
        "10 19 19 Hello,AgentWorld 22",
        "42 24 -3 -2 2.35 True FF",
        "  |***|cba|b|A66",
        "True True Date True",
    ]);
});

test("MsgBox asks and InputBox reads; Option Explicit rejects undeclared names", () => {
    const { alerts, errors } = alertsOf(
        `
Option Explicit
Dim answer, name
Sub Main
   answer = MsgBox("Shall I go on?", vbYesNo + vbQuestion, "Tour")
   name = InputBox("Your name?", "Tour", "friend")
   Alert answer & " " & (answer = vbYes) & " [" & name & "]"
   answer = MsgBox("Again?", vbYesNo)
   name = InputBox("Your name?")
   Alert answer & " [" & name & "]"
   undeclared = 1
   Alert "never"
End Sub`,
        "Main",
        [true, "Ada", false, null],
    );
    assert.deepEqual(alerts, ["? Shall I go on?", "? Your name?", "6 True [Ada]", "? Again?", "? Your name?", "7 []"]);
    assert.deepEqual(
        errors.map((e) => [e.number, e.description]),
        [[500, "Variable is undefined: 'undeclared'"]],
    );
});

test("a runaway loop is stopped with an error, On Error Resume Next cannot hide it, and the page goes on", () => {
    const run = startPage(`
Dim turns
Sub Spin
   On Error Resume Next
   Do
      turns = turns + 1
   Loop
   Alert "never"
End Sub
Sub Later
   Alert "still alive after " & (turns > 0)
End Sub`);
    run.page.engine.maxSteps = 50000;
    run.page.engine.callFromHost("Spin");
    run.page.engine.callFromHost("Later");
    assert.deepEqual(run.alerts, ["still alive after True"]);
    assert.equal(run.errors.length, 1);
    assert.equal(run.errors[0].where, "Spin");
    assert.match(run.errors[0].description, /^Script stopped: 50000 loop turns without a pause/);
    const stopped = run.trace.find((e) => e.type === "script-error");
    assert.equal(stopped.where, "Spin");
});
