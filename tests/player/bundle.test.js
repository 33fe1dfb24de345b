// The one script that pages load: built from the modules by
// tools/bundle-player.mjs, pure ASCII, and the same runtime as the modules,
// Japanese text included. The bundler refuses what it cannot bundle right.

import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import test from "node:test";
import vm from "node:vm";
import { parseSpeechText, planSpeech } from "../../src/player/speechtext.js";
import { bundle, escapeNonAscii } from "../../tools/bundle-player.mjs";

const ENTRY = path.join(import.meta.dirname, "..", "..", "src", "player", "main.js");

// The bundle that CMake built (ORVO_PLAYER_BUNDLE, set by CTest), or one made
// from the sources now when the tests run by hand.
const bundleText = process.env.ORVO_PLAYER_BUNDLE
    ? fs.readFileSync(process.env.ORVO_PLAYER_BUNDLE, "latin1")
    : bundle(ENTRY);

// Runs the bundle as a page would, without starting it, and returns
// window.OrvoPlayer.
function loadBundle() {
    const win = { document: { currentScript: null }, ORVO_PLAYER_OPTIONS: { autoStart: false } };
    win.window = win;
    vm.createContext(win);
    vm.runInContext(bundleText, win);
    return win.OrvoPlayer;
}

test("the bundle is pure ASCII and plays Japanese text as the modules do", () => {
    const offending = [...bundleText].findIndex((c) => c.charCodeAt(0) > 0x7f);
    assert.equal(offending, -1, `a byte outside ASCII at ${offending}`);
    const player = loadBundle();
    const speech = "「こんにちは」。ようこそ！ \\Pau=300\\ Bye.";
    const plan = player.planSpeech(player.parseSpeechText(speech));
    assert.equal(player.shownSpeechText(plan), "「こんにちは」。ようこそ！ Bye.");
    // The same timing as the modules give: the sentence ends (。！) are found.
    assert.deepEqual(JSON.parse(JSON.stringify(plan)), planSpeech(parseSpeechText(speech)));
    const engine = new player.VBEngine();
    assert.equal(engine.runBlock('Dim 名前\n名前 = "オルヴィ。"\nIf Len(名前) <> 5 Then Err.Raise 5'), true);
});

test("escaping keeps what the text means, identity escapes included", () => {
    const source = 'const a = "é\\」\\\\ü😀"; const r = /[「」]\\。/; const u = /[😀-😂]/u; // ü';
    const escaped = escapeNonAscii(source);
    assert.ok([...escaped].every((c) => c.charCodeAt(0) < 0x80));
    const original = new Function(`${source}\nreturn [a, r.test("」。"), r.test("」x"), u.test("😁")];`)();
    const roundTrip = new Function(`${escaped}\nreturn [a, r.test("」。"), r.test("」x"), u.test("😁")];`)();
    assert.deepEqual(original, ["é」\\ü😀", true, false, true]);
    assert.deepEqual(roundTrip, original);
});

test("the bundler refuses imports it cannot honour", () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), "orvo-bundler-"));
    const write = (name, text) => fs.writeFileSync(path.join(dir, name), text);
    write("a.js", 'import { missing } from "./b.js";\n');
    write("b.js", "export const present = 1;\n");
    assert.throws(() => bundle(path.join(dir, "a.js")), /imports missing, which b.js does not export/);
    write("a.js", 'import { present } from "./b.js";\nexport default present;\n');
    assert.throws(() => bundle(path.join(dir, "a.js")), /unsupported module syntax: export default/);
    write("a.js", 'import { present } from "./b.js";\nexport const fromA = present;\n');
    write("b.js", 'import { fromA } from "./a.js";\nexport const present = 1;\n');
    assert.throws(() => bundle(path.join(dir, "a.js")), /import cycle: a.js -> b.js -> a.js/);
    fs.rmSync(dir, { recursive: true, force: true });
});
