// The translator reads the VBScript dialect of the converted pages: every
// construct that the converter writes is accepted and means what VBScript
// makes of it; what the dialect lacks is rejected with a line number.

import assert from "node:assert/strict";
import test from "node:test";
import { translateVBScript } from "../../src/player/vbcodegen.js";
import { VBEngine } from "../../src/player/vbengine.js";
import { parseVBScript } from "../../src/player/vbparser.js";
import { readPage, scriptBlocks } from "./support.js";

// Runs a block and returns the engine, so that tests can read its globals.
function run(source) {
    const engine = new VBEngine();
    const errors = [];
    engine.reportError = (error, event) => errors.push(event);
    engine.runBlock(source);
    return { engine, errors, value: (name) => engine.get(engine.globalFrame(), name.toLowerCase(), name) };
}

test("every converted page translates into JavaScript that defines its subs", () => {
    const expected = {
        "1.html": ["loadcharacter", "step0", "agent_command", "agent_requestcomplete", "window_onload", "nextpage"],
        "2.html": [
            "loadcharacter",
            "jumpfuntion2",
            "step0",
            "step1",
            "step3",
            "step4",
            "addvoicecommands0",
            "addvoicecommands3",
            "agent_command",
            "agent_requestcomplete",
            "window_onload",
            "nextpage",
        ],
        "3.html": [
            "loadcharacter",
            "jumpfuntion1",
            "step0",
            "agent_command",
            "agent_requestcomplete",
            "window_onload",
            "nextpage",
        ],
        "noagent.html": ["step0", "agent_command", "agent_requestcomplete", "window_onload", "nextpage"],
    };
    for (const [name, subs] of Object.entries(expected)) {
        const blocks = scriptBlocks(readPage(name));
        assert.equal(blocks.length, 1, name);
        const program = parseVBScript(blocks[0]);
        assert.deepEqual(
            program.procs.map((proc) => proc.key),
            subs,
            name,
        );
        assert.deepEqual(
            program.procs.map((proc) => proc.params.length),
            subs.map((sub) => (sub === "agent_command" || sub === "agent_requestcomplete" ? 1 : 0)),
            name,
        );
        const js = translateVBScript(blocks[0]);
        assert.doesNotThrow(() => new Function("rt", js), name);
    }
});

test("literals: doubled quotes, no backslash escapes, hexadecimal", () => {
    const { value, errors } = run(
        [
            "Dim a, b, c, d, e",
            'a = "say ""hi"""',
            'b = " \\Pau=1000\\ "',
            "c = &H0409",
            "d = &HFFFF",
            "e = &H10000",
        ].join("\n"),
    );
    assert.deepEqual(errors, []);
    assert.equal(value("a"), 'say "hi"');
    assert.equal(value("b"), " \\Pau=1000\\ ");
    assert.equal(value("c"), 1033);
    assert.equal(value("d"), -1, "a four-digit &H literal is a 16-bit Integer");
    assert.equal(value("e"), 65536);
});

test("keywords and names ignore letter case", () => {
    const { value, errors } = run(
        [
            "DIM Count",
            "dim other",
            "SUB Bump()",
            "  count = COUNT + 1",
            "end sub",
            "Sub bump2",
            "  BUMP : Bump",
            "END SUB",
            "bump2",
            "OTHER = count",
        ].join("\r\n"),
    );
    assert.deepEqual(errors, []);
    assert.equal(value("Count"), 2);
    assert.equal(value("other"), 2);
});

test("operators and their precedence", () => {
    const { value, errors } = run(
        [
            'a = 1 + 2 * 3 & "x"',
            "b = 2 <> 3",
            "c = Not 1 = 2 And 3 > 2",
            "d = -2 ^ 2",
            "e = 7 \\ 2 + 7 Mod 4",
            'f = "10" + 5',
            'g = "a" < "b"',
        ].join("\n"),
    );
    assert.deepEqual(errors, []);
    assert.equal(value("a"), "7x");
    assert.equal(value("b"), true);
    assert.equal(value("c"), true);
    assert.equal(value("d"), -4);
    assert.equal(value("e"), 6);
    assert.equal(value("f"), 15);
    assert.equal(value("g"), true);
});

test("single-line If, ElseIf, line continuation, comments and Rem", () => {
    const { value, errors } = run(
        [
            "x = 3 ' a comment",
            "Rem another comment",
            'If x = 3 Then y = "three" Else y = "other"',
            "If x = 1 Then",
            "  z = 1",
            "ElseIf x = _",
            "    3 Then",
            "  z = 3",
            "Else",
            "  z = 0",
            "End If",
        ].join("\n"),
    );
    assert.deepEqual(errors, []);
    assert.equal(value("y"), "three");
    assert.equal(value("z"), 3);
});

test("what the dialect lacks is a syntax error with its line, and the block does not run", () => {
    const cases = [
        ["x = 1\nOn Error GoTo Handler", 2],
        ["x = 1\nDo While x < 3\n  x = x + 1\n", 4],
        ["x = 1\nFor i = 1 To 3\n  Exit Do\nNext", 3],
        ['x = "unterminated\ny = 2', 1],
        ["Sub A\n  x = 1\n", 3],
        ["x = 1 +\n", 1],
        ["If x Then\n  y = 1\n", 3],
    ];
    for (const [source, line] of cases) {
        const { errors, value } = run(source);
        assert.equal(errors.length, 1, source);
        assert.equal(errors[0].line, line, source);
        assert.equal(value("x"), undefined, `${source}: nothing of a rejected block runs`);
    }
});
