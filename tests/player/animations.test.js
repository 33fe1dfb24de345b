// The character's animations: every classic name plays, variants find their
// base, unknown names are recognisably unknown, and poses end at rest.

import assert from "node:assert/strict";
import test from "node:test";
import { ANIMATIONS, lookupAnimation, poseAt, REST_POSE, resolveAnimationKey } from "../../src/player/animations.js";
import { CHARACTER_SVG } from "../../src/player/characterart.js";

const CLASSIC = [
    "RestPose",
    "Show",
    "Hide",
    "Greet",
    "Wave",
    "Explain",
    "Pleased",
    "Sad",
    "Surprised",
    "Think",
    "Confused",
    "Congratulate",
    "Decline",
    "Acknowledge",
    "Announce",
    "Alert",
    "Blink",
    "GetAttention",
    "GestureLeft",
    "GestureRight",
    "GestureUp",
    "GestureDown",
    "LookLeft",
    "LookRight",
    "LookUp",
    "LookDown",
    "MoveLeft",
    "MoveRight",
    "MoveUp",
    "MoveDown",
    "Idle1_1",
    "Idle1_2",
    "Idle1_3",
    "Idle1_4",
    "Idle2_1",
    "Idle2_2",
    "Idle3_1",
    "Idle3_2",
    "Suggest",
    "Uncertain",
    "Read",
    "Write",
    "Search",
    "Process",
    "DoMagic1",
    "DoMagic2",
    "Hearing1",
    "Hearing2",
    "StartListening",
    "StopListening",
];

test("every classic animation name plays, in any letter case", () => {
    for (const name of CLASSIC) {
        for (const spelled of [name, name.toUpperCase(), name.toLowerCase()]) {
            const animation = lookupAnimation(spelled);
            assert.equal(animation.known, true, spelled);
            assert.equal(animation.name, name.toLowerCase(), spelled);
            assert.ok(animation.duration >= 200 && animation.duration <= 3000, spelled);
        }
    }
    assert.ok(lookupAnimation("RestPose").duration <= 300, "RestPose is short");
});

test("variants play their base animation", () => {
    const cases = {
        Congratulate_2: "congratulate",
        LookLeftBlink: "lookleft+blink",
        LookDownBlink: "lookdown+blink",
        GestureRightReturn: "restpose",
        LookUpReturn: "restpose",
        Hearing_1: "hearing1",
        Hearing_3: "hearing3",
        DoMagic: "domagic1",
        Idle2_5: "idle2_1",
        Idle7_1: "idle1_1",
        Thinking: "think",
        Processing: "process",
        Greeting: "greet",
        " Wave ": "wave",
    };
    for (const [name, key] of Object.entries(cases)) assert.equal(resolveAnimationKey(name), key, name);
    const blink = lookupAnimation("LookLeftBlink");
    assert.equal(blink.duration, lookupAnimation("LookLeft").duration);
    assert.ok(
        blink.keys.some(([, parts]) => parts.lid === 1),
        "the variant blinks",
    );
});

test("unknown names are unknown, with a short neutral gesture", () => {
    for (const name of ["", "Dance", "Greet_x", "SomethingReturn", "FooBlink", "Idle"]) {
        const animation = lookupAnimation(name);
        if (name === "Idle") {
            assert.equal(animation.known, true, "Idle alone is the first idle");
            continue;
        }
        assert.equal(animation.known, false, name);
        assert.ok(animation.duration > 0 && animation.duration <= 1000, name);
    }
});

test("poses move between keys and end at rest, except for Hide", () => {
    for (const name of Object.keys(ANIMATIONS)) {
        const animation = lookupAnimation(name);
        const end = poseAt(animation, animation.duration);
        if (name === "hide") {
            assert.equal(end.opacity, 0);
            continue;
        }
        assert.deepEqual(end, { ...REST_POSE }, name);
        const middle = poseAt(animation, animation.duration / 2);
        for (const [part, value] of Object.entries(middle)) {
            assert.equal(typeof value, typeof REST_POSE[part], `${name}.${part}`);
            if (typeof value === "number") assert.ok(Number.isFinite(value), `${name}.${part}`);
        }
    }
    const greet = lookupAnimation("Greet");
    assert.ok(poseAt(greet, greet.duration * 0.12).armR > 100, "Greet raises its arm");
    assert.equal(poseAt(lookupAnimation("Show"), 0).opacity, 0, "Show starts invisible");
});

test("the artwork has every part and prop that the stage and the animations use", () => {
    const svg = CHARACTER_SVG;
    assert.match(svg, /viewBox="0 0 128 128"/);
    for (const part of [
        "root",
        "body",
        "shadow",
        "arm-left",
        "arm-right",
        "pupil-left",
        "pupil-right",
        "lid-left",
        "lid-right",
        "brow-left",
        "brow-right",
        "glow",
        "gear-wheel",
        "sparkle-set",
        "zzz-letters",
        "wave-set",
        "pencil-tip",
        "wand-star",
    ]) {
        assert.ok(svg.includes(`data-part="${part}"`), part);
    }
    const used = { mouth: new Set(), prop: new Set() };
    for (const name of Object.keys(ANIMATIONS)) {
        for (const [, parts] of lookupAnimation(name).keys) {
            if (parts.mouth) used.mouth.add(parts.mouth);
            if (parts.prop) used.prop.add(parts.prop);
        }
    }
    used.mouth.add("open").add("o"); // talking
    for (const mouth of used.mouth) assert.ok(svg.includes(`data-mouth="${mouth}"`), mouth);
    for (const prop of used.prop) assert.ok(svg.includes(`data-prop="${prop}"`), prop);
});
