// Layout on the viewport: the 800x600 screen of the presentations maps onto
// any viewport, and the character, its balloon and its command buttons are
// always fully visible.

import assert from "node:assert/strict";
import test from "node:test";
import { pageBalloonWords, placeBalloon, placeCommands, placeFrame, viewportMapping } from "../../src/player/layout.js";
import { parseSpeechText, planSpeech } from "../../src/player/speechtext.js";

const AREAS = [
    [0, 0],
    [0, 210],
    [0, 360],
    [600, 0],
    [600, 210],
    [600, 360],
];
const VIEWPORTS = [
    [800, 600],
    [1920, 1080],
    [1024, 768],
    [390, 844],
    [1280, 300],
    [320, 240],
];

function inside(mapping, box, what) {
    assert.ok(box.left >= 0 && box.top >= 0, `${what} starts inside: ${JSON.stringify(box)}`);
    assert.ok(
        box.left + box.w <= mapping.width + 1e-9 && box.top + box.h <= mapping.height + 1e-9,
        `${what} ends inside ${mapping.width}x${mapping.height}: ${JSON.stringify(box)}`,
    );
}

const overlap = (a, b) => a.left < b.left + b.w && b.left < a.left + a.w && a.top < b.top + b.h && b.top < a.top + a.h;

test("an 800x600 viewport shows the areas at their own pixels", () => {
    const mapping = viewportMapping(800, 600);
    assert.equal(mapping.scale, 1);
    for (const [x, y] of AREAS) assert.deepEqual(placeFrame(mapping, x, y, 128), { left: x, top: y });
});

test("positions stretch with the viewport; the left and right areas stay at the edges", () => {
    const mapping = viewportMapping(1600, 900);
    assert.deepEqual(placeFrame(mapping, 600, 360, 192), { left: 1200, top: 540 });
    assert.deepEqual(placeFrame(mapping, 0, 0, 192), { left: 0, top: 0 });
    assert.equal(mapping.scale, 1.5);
});

test("frame, balloon and commands stay inside every viewport and do not overlap the frame", () => {
    for (const [width, height] of VIEWPORTS) {
        const mapping = viewportMapping(width, height);
        const size = Math.max(48, Math.round(128 * mapping.scale));
        for (const [x, y] of [...AREAS, [790, 590], [-50, -50], [2000, 2000]]) {
            const frame = { ...placeFrame(mapping, x, y, size), w: size, h: size };
            inside(mapping, frame, `frame at ${x},${y} in ${width}x${height}`);
            const balloon = { w: Math.min(260, width - 16), h: 70 };
            Object.assign(balloon, placeBalloon(mapping, frame, size, balloon.w, balloon.h));
            inside(mapping, balloon, `balloon at ${x},${y} in ${width}x${height}`);
            const commands = { w: 90, h: 70 };
            Object.assign(commands, placeCommands(mapping, frame, size, commands.w, commands.h));
            inside(mapping, commands, `commands at ${x},${y} in ${width}x${height}`);
            // Where there is room on any side, the balloon never covers the character.
            if (height >= size + balloon.h + 40 || width >= size + balloon.w + 40) {
                assert.ok(!overlap(frame, balloon), `balloon covers the frame at ${x},${y} in ${width}x${height}`);
            }
            if (width >= size + 2 * (commands.w + 16)) {
                assert.ok(!overlap(frame, commands), `commands cover the frame at ${x},${y} in ${width}x${height}`);
            }
        }
    }
});

test("the balloon goes above the character, or below it at the top of the screen", () => {
    const mapping = viewportMapping(800, 600);
    const at = (y) => placeBalloon(mapping, { left: 0, top: y }, 128, 200, 60);
    assert.equal(at(360).side, "above");
    assert.equal(at(360).top, 360 - 12 - 60);
    assert.equal(at(0).side, "below");
    assert.equal(at(0).top, 128 + 12);
});

test("the balloon keeps clear of the navigation bar where another side fits", () => {
    const mapping = viewportMapping(800, 600);
    const nav = { left: 340, top: 8, w: 120, h: 40 };
    // Below the nav bar, the balloon would go above the character, over the bar.
    const frame = { left: 336, top: 120 };
    const plain = placeBalloon(mapping, frame, 128, 300, 70);
    assert.equal(plain.side, "above");
    const clear = placeBalloon(mapping, frame, 128, 300, 70, [nav]);
    assert.equal(clear.side, "below");
    assert.ok(!overlap({ ...clear, w: 300, h: 70 }, nav));
    assert.ok(!overlap({ ...clear, w: 300, h: 70 }, { ...frame, w: 128, h: 128 }));
});

test("a long speech pages through lines of CharsPerLine, NumberOfLines at a time, every word once", () => {
    const words = Array.from({ length: 150 }, (_, i) => ["agent", "balloon", "a", "presentation"][i % 4]);
    const plan = planSpeech(parseSpeechText(words.join(" ")));
    for (const [chars, lines] of [
        [32, 3],
        [20, 2],
        [60, 1],
    ]) {
        const pages = pageBalloonWords(plan.shown, chars, lines);
        assert.deepEqual(
            pages.flatMap((page) => page.lines.flat()),
            plan.shown.map((_, i) => i),
        );
        for (const page of pages) {
            assert.ok(page.lines.length <= lines);
            for (const line of page.lines) {
                const text = line.map((i) => plan.shown[i].text).join(" ");
                assert.ok(text.length <= chars, `"${text}" is longer than ${chars}`);
            }
        }
        assert.ok(pages.length >= Math.ceil(words.join(" ").length / (chars * lines)));
    }
    // Japanese takes two columns a character: 16 to a line of 32.
    const japanese = planSpeech(parseSpeechText("あ".repeat(40)));
    assert.deepEqual(
        pageBalloonWords(japanese.shown, 32, 2).map((page) => page.lines.map((line) => line.length)),
        [[16, 16], [8]],
    );
});
