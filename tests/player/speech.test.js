// Speech text: tags are obeyed and never shown, words appear one by one at
// a reading pace, and the speech takes as long as its words and pauses.

import assert from "node:assert/strict";
import test from "node:test";
import { parseSpeechText, planSpeech, shownSpeechText } from "../../src/player/speechtext.js";

const plan = (text, options) => planSpeech(parseSpeechText(text, options));
const shown = (text, options) => shownSpeechText(plan(text, options));

test("the balloon shows the words and never a tag", () => {
    assert.equal(shown("  Welcome to the tour. "), "Welcome to the tour.");
    assert.equal(shown(" \\Pau=2000\\ "), "");
    assert.equal(
        shown('\\Emp\\Really \\Spd=120\\slow \\Pit=200\\\\Vol=30000\\\\Chr="Whisper"\\now\\Rst\\.'),
        "Really slow now.",
    );
    assert.equal(
        shown('a \\Ctx="Email"\\b \\Unknown=5\\c \\Rst'),
        "a b c",
        "unknown and unterminated tags are dropped",
    );
    assert.equal(shown("back\\\\slash"), "back\\slash");
    assert.equal(shown('Call \\Map="doctor Smith"="Dr. Smith"\\ now'), "Call Dr. Smith now");
    assert.deepEqual(plan("a \\Foo\\ b \\Bar=1\\").unknownTags, ["Foo", "Bar=1"]);
});

test("what is spoken: \\Map\\ speaks its first text, \\Pau\\ splits the voice", () => {
    const speech = plan('Call \\Map="doctor Smith"="Dr. Smith"\\ now. \\Pau=700\\ Bye');
    assert.deepEqual(
        speech.voice.map((segment) => segment.text),
        ["Call doctor Smith now.", "Bye"],
    );
    const pauseStart = speech.voice[0].at + speech.voice[0].duration;
    assert.equal(Math.round(speech.voice[1].at - pauseStart), 700);
});

test("pauses, speed and punctuation set the timing", () => {
    assert.equal(plan(" \\Pau=2000\\ ").total, 2000);
    const normal = plan("one two three four");
    assert.equal(normal.total, Math.round((4 * 60000) / 160), "160 words a minute by default");
    assert.equal(plan("\\Spd=80\\one two three four").total, 2 * normal.total);
    assert.equal(plan("\\Spd=10\\one").total, Math.round(60000 / 50), "speed is kept within 50..250");
    assert.ok(plan("one two. three").total > plan("one two three").total, "a sentence end takes longer");
    const words = plan("one \\Pau=500\\ two").shown;
    assert.equal(words[1].at - words[0].at, 60000 / 160 + 500);
    assert.equal(plan("", { wordsPerMinute: 100 }).total, 0);
});

test("words appear in order; text without spaces appears character by character", () => {
    const words = plan("こんにちは、世界。 Hello").shown;
    assert.deepEqual(
        words.map((word) => word.text),
        ["こ", "ん", "に", "ち", "は", "、", "世", "界", "。", "Hello"],
    );
    for (let i = 1; i < words.length; ++i) assert.ok(words[i].at > words[i - 1].at);
    assert.equal(shown("こんにちは、世界。 Hello"), "こんにちは、世界。 Hello");
});

test("\\Emp\\ marks the next word; \\Lst\\ repeats the previous statement", () => {
    const words = plan("one \\Emp\\two three").shown;
    assert.deepEqual(
        words.map((word) => word.emphasis),
        [false, true, false],
    );
    assert.equal(shown("Again: \\Lst\\", { previousText: "Hello \\Pau=10\\ there" }), "Again: Hello there");
    assert.equal(shown("\\Lst\\"), "");
});

test("the window's voice finds each shown word in the speech text, outside tags", async () => {
    const { shownWordOffsets } = await import("../../src/player/nativevoice.js");
    const text = '\\Spd=120\\Speed \\Map="doctor Smith"="Dr. Smith"\\ and Smith \\Pau=10\\ Pau';
    const offsets = shownWordOffsets(text, plan(text).shown);
    assert.deepEqual(
        plan(text).shown.map((word, i) => text.slice(offsets[i], offsets[i] + word.text.length)),
        ["Speed", "Dr.", "Smith", "and", "Smith", "Pau"],
    );
    assert.deepEqual(offsets.slice(0, 3), [9, 36, 40], "never inside a tag or the spoken half of a \\Map\\");
    assert.deepEqual(shownWordOffsets("今日は", plan("今日は").shown), [0, 1, 2]);
});
