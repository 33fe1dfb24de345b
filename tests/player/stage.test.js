// Layout on the viewport: the 800x600 screen of the presentations maps onto
// any viewport, and the character, its balloon and its command buttons are
// always fully visible.

import assert from "node:assert/strict";
import test from "node:test";
import { placeBalloon, placeCommands, placeFrame, viewportMapping } from "../../src/player/stage.js";

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
            if (height >= size + 2 * (balloon.h + 20)) {
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
