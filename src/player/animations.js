// The character's animations: the classic Agent animation names, each a
// short sequence of poses that the stage interpolates.
//
// A pose says how the parts of the character (see character.svg) stand:
//   x, y     body offset in frame pixels        tilt   body rotation, degrees
//   sx, sy   squash and stretch                  opacity
//   armL, armR  arm angles, 0 = hanging, 90 = straight out, 180 = up
//   lookX, lookY  gaze, -1 .. 1                  lid    0 open .. 1 closed
//   brow     -1 lowered .. 1 raised              browTilt -1 sad .. 1 stern
//   mouth    smile | grin | open | o | flat | frown | wavy
//   prop     "" or a prop of the artwork         spin   prop progress, 0 .. 1
//   glow     antenna light, 0 .. 1
// Keys give a time (a fraction of the duration) and the parts that change;
// the others keep their values from the key before. The last key of an
// animation is the rest pose, unless the animation holds its last pose
// (Hide ends invisible).

export const REST_POSE = Object.freeze({
    x: 0,
    y: 0,
    tilt: 0,
    sx: 1,
    sy: 1,
    opacity: 1,
    armL: 0,
    armR: 0,
    lookX: 0,
    lookY: 0,
    lid: 0,
    brow: 0,
    browTilt: 0,
    mouth: "smile",
    prop: "",
    spin: 0,
    glow: 0,
});

const UNKNOWN_ANIMATION_NAME = "(neutral gesture)";

// duration in ms; keys: [fraction, parts]; hold: the last pose stays.
function anim(duration, keys, hold = false) {
    return { duration, keys, hold };
}

const wave = (arm, low, high, from, to, count) => {
    const keys = [];
    for (let i = 0; i <= count; ++i) keys.push([from + ((to - from) * i) / count, { [arm]: i % 2 ? low : high }]);
    return keys;
};

export const ANIMATIONS = {
    restpose: anim(250, [
        [0, {}],
        [1, {}],
    ]),
    show: anim(800, [
        [0, { opacity: 0, sx: 1.3, sy: 0.2 }],
        [0.6, { opacity: 1, sx: 0.9, sy: 1.15 }],
        [0.8, { sx: 1.05, sy: 0.95 }],
        [1, {}],
    ]),
    hide: anim(
        700,
        [
            [0, {}],
            [0.3, { sx: 0.9, sy: 1.15 }],
            [1, { opacity: 0, sx: 1.4, sy: 0.1 }],
        ],
        true,
    ),
    greet: anim(1800, [
        [0, {}],
        [0.12, { armR: 150, mouth: "grin" }],
        ...wave("armR", 120, 150, 0.2, 0.65, 4),
        [0.78, { armR: 40, y: 5, tilt: -4, lid: 0.4 }],
        [1, {}],
    ]),
    wave: anim(1500, [[0, {}], [0.15, { armR: 150 }], ...wave("armR", 115, 155, 0.25, 0.85, 5), [1, {}]]),
    explain: anim(1600, [
        [0, {}],
        [0.2, { armL: 70, armR: 60, mouth: "open", tilt: -3 }],
        [0.5, { armL: 55, armR: 80, tilt: 3, mouth: "smile" }],
        [0.75, { armL: 70, armR: 60, mouth: "open" }],
        [1, {}],
    ]),
    pleased: anim(1300, [
        [0, {}],
        [0.25, { sy: 0.9, sx: 1.08, mouth: "grin", lid: 0.5 }],
        [0.45, { y: -9, sy: 1.08, sx: 0.95, armL: 40, armR: 40 }],
        [0.7, { y: 0, sy: 0.95 }],
        [1, {}],
    ]),
    sad: anim(1700, [
        [0, {}],
        [0.25, { browTilt: -1, mouth: "frown", lookY: 0.6, y: 3, armL: -8, armR: -8 }],
        [0.8, { lid: 0.4 }],
        [1, {}],
    ]),
    surprised: anim(1200, [
        [0, {}],
        [0.15, { brow: 1, mouth: "o", y: -7, armL: 45, armR: 45, prop: "exclaim", lid: 0 }],
        [0.4, { y: 0 }],
        [0.85, { prop: "" }],
        [1, {}],
    ]),
    think: anim(2000, [
        [0, {}],
        [0.2, { lookX: 0.6, lookY: -0.8, armR: 110, browTilt: 0.4, mouth: "flat", prop: "thought" }],
        [0.5, { glow: 0.6 }],
        [0.8, { glow: 0.2 }],
        [0.9, { prop: "" }],
        [1, {}],
    ]),
    confused: anim(1600, [
        [0, {}],
        [0.2, { tilt: 9, browTilt: 0.5, mouth: "wavy", prop: "question", armL: 30 }],
        [0.55, { tilt: -7 }],
        [0.8, { tilt: 5 }],
        [0.9, { prop: "" }],
        [1, {}],
    ]),
    congratulate: anim(2200, [
        [0, {}],
        [0.12, { armL: 165, armR: 165, mouth: "grin", prop: "sparkles", sy: 0.92 }],
        [0.3, { y: -10, sy: 1.05 }],
        [0.45, { y: 0, sy: 0.94, spin: 0.5 }],
        [0.6, { y: -10, sy: 1.05 }],
        [0.75, { y: 0, spin: 1 }],
        [0.88, { prop: "" }],
        [1, {}],
    ]),
    decline: anim(1400, [
        [0, {}],
        [0.15, { mouth: "flat", x: -4, armL: 30, armR: 30 }],
        [0.35, { x: 4 }],
        [0.55, { x: -4 }],
        [0.75, { x: 3 }],
        [1, {}],
    ]),
    acknowledge: anim(1000, [
        [0, {}],
        [0.3, { y: 5, tilt: 2, lookY: 0.5, mouth: "grin" }],
        [0.6, { y: 0 }],
        [0.8, { y: 3 }],
        [1, {}],
    ]),
    announce: anim(1700, [
        [0, {}],
        [0.15, { armR: 170, armL: 60, mouth: "open", glow: 1, prop: "exclaim" }],
        [0.5, { armR: 160, y: -4 }],
        [0.8, { y: 0, prop: "" }],
        [1, {}],
    ]),
    alert: anim(1300, [
        [0, {}],
        [0.15, { brow: 1, prop: "exclaim", y: -5, armL: 60, armR: 60, glow: 1, mouth: "o" }],
        [0.5, { y: 0 }],
        [0.85, { prop: "", glow: 0 }],
        [1, {}],
    ]),
    blink: anim(300, [
        [0, {}],
        [0.5, { lid: 1 }],
        [1, {}],
    ]),
    getattention: anim(1800, [
        [0, {}],
        [0.1, { armL: 150, armR: 150, prop: "exclaim", glow: 1, mouth: "open" }],
        [0.25, { y: -10, armL: 170, armR: 120 }],
        [0.4, { y: 0, armL: 120, armR: 170 }],
        [0.55, { y: -10, armL: 170, armR: 120 }],
        [0.7, { y: 0 }],
        [0.85, { prop: "", glow: 0 }],
        [1, {}],
    ]),
    gestureleft: anim(1300, [
        [0, {}],
        [0.25, { armL: 95, lookX: -1, tilt: -4 }],
        [0.75, { armL: 90 }],
        [1, {}],
    ]),
    gestureright: anim(1300, [
        [0, {}],
        [0.25, { armR: 95, lookX: 1, tilt: 4 }],
        [0.75, { armR: 90 }],
        [1, {}],
    ]),
    gestureup: anim(1300, [
        [0, {}],
        [0.25, { armR: 170, lookY: -1, y: -3 }],
        [0.75, { armR: 165 }],
        [1, {}],
    ]),
    gesturedown: anim(1300, [
        [0, {}],
        [0.25, { armR: 40, lookY: 1, y: 3 }],
        [0.75, { armR: 45 }],
        [1, {}],
    ]),
    lookleft: anim(1000, [
        [0, {}],
        [0.25, { lookX: -1, tilt: -3 }],
        [0.75, {}],
        [1, {}],
    ]),
    lookright: anim(1000, [
        [0, {}],
        [0.25, { lookX: 1, tilt: 3 }],
        [0.75, {}],
        [1, {}],
    ]),
    lookup: anim(1000, [
        [0, {}],
        [0.25, { lookY: -1, brow: 0.5 }],
        [0.75, {}],
        [1, {}],
    ]),
    lookdown: anim(1000, [
        [0, {}],
        [0.25, { lookY: 1, lid: 0.3 }],
        [0.75, {}],
        [1, {}],
    ]),
    moveleft: anim(900, [
        [0, {}],
        [0.2, { tilt: -12, x: -4, lookX: -1 }],
        [0.8, {}],
        [1, {}],
    ]),
    moveright: anim(900, [
        [0, {}],
        [0.2, { tilt: 12, x: 4, lookX: 1 }],
        [0.8, {}],
        [1, {}],
    ]),
    moveup: anim(900, [
        [0, {}],
        [0.2, { y: -6, sy: 1.08, lookY: -1 }],
        [0.8, {}],
        [1, {}],
    ]),
    movedown: anim(900, [
        [0, {}],
        [0.2, { y: 4, sy: 0.92, lookY: 1 }],
        [0.8, {}],
        [1, {}],
    ]),
    idle1_1: anim(1600, [
        [0, {}],
        [0.2, { lookX: -0.6 }],
        [0.45, { lookX: 0.6 }],
        [0.6, { lid: 1 }],
        [0.7, { lid: 0 }],
        [1, {}],
    ]),
    idle1_2: anim(1500, [
        [0, {}],
        [0.3, { lookX: 0.8, lookY: -0.3 }],
        [0.7, {}],
        [1, {}],
    ]),
    idle1_3: anim(1400, [
        [0, {}],
        [0.3, { sy: 0.95, sx: 1.04 }],
        [0.6, { sy: 1.03, sx: 0.98 }],
        [1, {}],
    ]),
    idle1_4: anim(1500, [
        [0, {}],
        [0.3, { lookY: -1, glow: 0.4 }],
        [0.7, { glow: 0 }],
        [1, {}],
    ]),
    idle2_1: anim(2000, [
        [0, {}],
        [0.25, { mouth: "o", lid: 0.6, sy: 1.06, armL: 20, armR: 20 }],
        [0.6, { lid: 0.2 }],
        [1, {}],
    ]),
    idle2_2: anim(2000, [
        [0, {}],
        [0.3, { armL: 170, armR: 170, sy: 1.08, mouth: "o", lid: 0.8 }],
        [0.7, {}],
        [1, {}],
    ]),
    idle3_1: anim(2600, [
        [0, {}],
        [0.2, { lid: 0.9, y: 3, tilt: 5, prop: "zzz", mouth: "flat" }],
        [0.6, { spin: 1 }],
        [0.85, { prop: "", lid: 0 }],
        [1, {}],
    ]),
    idle3_2: anim(2600, [
        [0, {}],
        [0.2, { lid: 1, y: 5, tilt: -6, prop: "zzz", mouth: "o", sy: 0.95 }],
        [0.6, { spin: 1 }],
        [0.85, { prop: "", lid: 0 }],
        [1, {}],
    ]),
    suggest: anim(1600, [
        [0, {}],
        [0.2, { armR: 150, prop: "bulb", glow: 1, brow: 0.6, mouth: "grin" }],
        [0.8, { prop: "", glow: 0 }],
        [1, {}],
    ]),
    uncertain: anim(1500, [
        [0, {}],
        [0.25, { armL: 50, armR: 50, y: -3, browTilt: 0.5, mouth: "wavy", tilt: -4 }],
        [0.7, { y: 0 }],
        [1, {}],
    ]),
    read: anim(2600, [
        [0, {}],
        [0.15, { prop: "book", armL: 55, armR: 55, lookY: 0.7, lookX: -0.5 }],
        [0.5, { lookX: 0.5, spin: 0.5 }],
        [0.85, { lookX: -0.5, spin: 1, prop: "" }],
        [1, {}],
    ]),
    write: anim(2600, [
        [0, {}],
        [0.15, { prop: "pencil", armR: 60, lookY: 0.7, mouth: "flat" }],
        [0.85, { spin: 1, prop: "" }],
        [1, {}],
    ]),
    search: anim(2600, [
        [0, {}],
        [0.15, { prop: "lens", armR: 80, lookX: -1, lookY: 0.3 }],
        [0.45, { lookX: 1, x: 3 }],
        [0.7, { lookX: -1, x: -3 }],
        [0.85, { prop: "" }],
        [1, {}],
    ]),
    process: anim(2600, [
        [0, {}],
        [0.15, { prop: "gear", glow: 1, lookY: -0.6, mouth: "flat" }],
        [0.5, { glow: 0.3, spin: 0.5 }],
        [0.85, { glow: 1, spin: 1, prop: "" }],
        [1, {}],
    ]),
    domagic1: anim(1600, [
        [0, {}],
        [0.2, { armR: 125, prop: "wand", glow: 0.8, mouth: "o" }],
        [0.6, { armR: 95, spin: 1 }],
        [0.85, { prop: "" }],
        [1, {}],
    ]),
    domagic2: anim(1400, [
        [0, {}],
        [0.15, { armL: 160, armR: 160, prop: "sparkles", glow: 1, mouth: "grin" }],
        [0.6, { spin: 1 }],
        [0.85, { prop: "", glow: 0 }],
        [1, {}],
    ]),
    hearing1: anim(1600, [
        [0, {}],
        [0.2, { tilt: 10, prop: "waves", lookX: 0.6, glow: 0.5 }],
        [0.8, { spin: 1 }],
        [1, {}],
    ]),
    hearing2: anim(1600, [
        [0, {}],
        [0.2, { tilt: -10, prop: "waves", lookX: -0.6, glow: 0.5 }],
        [0.8, { spin: 1 }],
        [1, {}],
    ]),
    hearing3: anim(1600, [
        [0, {}],
        [0.2, { y: 3, prop: "waves", lid: 0.5, glow: 0.5 }],
        [0.8, { spin: 1 }],
        [1, {}],
    ]),
    hearing4: anim(1600, [
        [0, {}],
        [0.2, { tilt: 6, prop: "waves", brow: 0.5, glow: 0.5 }],
        [0.8, { spin: 1 }],
        [1, {}],
    ]),
    startlistening: anim(800, [
        [0, {}],
        [0.5, { tilt: 6, glow: 1, prop: "waves", brow: 0.4 }],
        [1, {}],
    ]),
    stoplistening: anim(800, [
        [0, { glow: 1 }],
        [0.5, { glow: 0, brow: -0.3 }],
        [1, {}],
    ]),
};

// Names that the usual characters use for the same gestures.
const ANIMATION_ALIASES = {
    greeting: "greet",
    waving: "wave",
    explaining: "explain",
    thinking: "think",
    reading: "read",
    writing: "write",
    searching: "search",
    processing: "process",
    hearing: "hearing1",
    listening: "hearing1",
    domagic: "domagic1",
    showing: "show",
    hiding: "hide",
    idle: "idle1_1",
    idling: "idle1_1",
    speaking: "restpose",
    rest: "restpose",
    surprise: "surprised",
    congratulations: "congratulate",
    suggesting: "suggest",
    moving: "restpose",
    movingleft: "moveleft",
    movingright: "moveright",
    movingup: "moveup",
    movingdown: "movedown",
    gesturingleft: "gestureleft",
    gesturingright: "gestureright",
    gesturingup: "gestureup",
    gesturingdown: "gesturedown",
};

// The table key for a name, or null when it names no animation. Case is
// ignored; variants map to their base: Congratulate_2 and Hearing_1 to
// Congratulate and Hearing1, LookLeftBlink to LookLeft (with a blink),
// GestureRightReturn and other ...Return names to the rest pose, and an
// IdleN_M beyond the table to the first idle of its level.
export function resolveAnimationKey(name) {
    const key = String(name).trim().toLowerCase();
    const direct = (candidate) => {
        if (Object.hasOwn(ANIMATIONS, candidate)) return candidate;
        if (Object.hasOwn(ANIMATION_ALIASES, candidate)) return ANIMATION_ALIASES[candidate];
        return null;
    };
    if (key === "") return null;
    const found = direct(key);
    if (found !== null) return found;
    if (key.endsWith("return")) {
        const base = resolveAnimationKey(key.slice(0, -"return".length));
        return base === null ? null : "restpose";
    }
    if (key.endsWith("blink") && key.length > 5) {
        const base = resolveAnimationKey(key.slice(0, -5));
        return base === null ? null : `${base}+blink`;
    }
    const idle = /^idle(\d+)_(\d+)$/.exec(key);
    if (idle !== null) return direct(`idle${idle[1]}_1`) || "idle1_1";
    const numbered = /^(.*?)_?(\d+)$/.exec(key);
    if (numbered !== null) {
        return direct(`${numbered[1]}${numbered[2]}`) || direct(numbered[1]) || direct(`${numbered[1]}1`);
    }
    return direct(`${key}1`);
}

function withBlink(base) {
    const keys = base.keys.map(([t, parts]) => [t, { ...parts }]);
    keys.push([0.45, { lid: 1 }], [0.55, { lid: 0 }]);
    keys.sort((a, b) => a[0] - b[0]);
    return anim(base.duration, keys, base.hold);
}

// The animation to play for a name: { name, duration, keys, hold, known }.
// An unknown name gets a short neutral gesture so that the page goes on.
export function lookupAnimation(name) {
    const key = resolveAnimationKey(name);
    if (key === null) {
        return {
            name: UNKNOWN_ANIMATION_NAME,
            known: false,
            ...anim(600, [
                [0, {}],
                [0.4, { y: 2, sy: 0.96, lookY: 0.3 }],
                [1, {}],
            ]),
        };
    }
    if (key.endsWith("+blink")) {
        return { name: key, known: true, ...withBlink(ANIMATIONS[key.slice(0, -6)]) };
    }
    return { name: key, known: true, ...ANIMATIONS[key] };
}

export function easeInOut(t) {
    return t < 0.5 ? 2 * t * t : 1 - (-2 * t + 2) ** 2 / 2;
}

// The pose of an animation `elapsed` ms after it started.
export function poseAt(animation, elapsed) {
    let previous = { ...REST_POSE };
    let previousTime = 0;
    const duration = Math.max(1, animation.duration);
    const last = animation.keys.length - 1;
    for (const [index, [fraction, parts]] of animation.keys.entries()) {
        const time = fraction * duration;
        const pose = index === last && !animation.hold ? { ...REST_POSE } : { ...previous, ...parts };
        if (elapsed < time) {
            const t = easeInOut(time > previousTime ? (elapsed - previousTime) / (time - previousTime) : 1);
            const mixed = {};
            for (const name of Object.keys(REST_POSE)) {
                const from = previous[name];
                const to = pose[name];
                mixed[name] = typeof from === "number" ? from + (to - from) * t : from;
            }
            return mixed;
        }
        previous = pose;
        previousTime = time;
    }
    return animation.hold || elapsed < duration ? previous : { ...REST_POSE };
}

// Every name the table answers directly (its animations and their aliases),
// in lower case and sorted: what `orvo check` compares a page's animations
// with (tools/export-animations.mjs writes the list at build time).
export function animationNames() {
    return [...Object.keys(ANIMATIONS), ...Object.keys(ANIMATION_ALIASES)].sort();
}
