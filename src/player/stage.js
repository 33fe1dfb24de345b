// Draws the characters over the page: the 800x600 screen that the
// presentations were written for is mapped onto the viewport, the
// character's frame, its balloon and its command buttons are kept fully
// visible, and poses, moves and words follow the clock (so a fast clock
// speeds up the drawing too). Everything lives in a shadow root, so the
// page's style sheets neither reach it nor are touched by it.

import { easeInOut, poseAt, REST_POSE } from "./animations.js";
import { BalloonView } from "./balloonview.js";
import { CHARACTER_SVG } from "./characterart.js";
import { clampTo, placeCommands, placeFrame, VIRTUAL_HEIGHT, VIRTUAL_WIDTH, viewportMapping } from "./layout.js";

const IDLE_BLINK_MS = 4200; // a resting character blinks now and then
const TALK_FLAP_MS = 110; // mouth open/close while words are spoken
const IDLE_FRAME_MS = 60; // redraw interval of a character at rest (real time)
const DRAG_THRESHOLD_PX = 5; // a press that moves less than this is a click
const TIP_MS = 4000; // how long the listening tip stays once it has its answer
const TIP_GAP_PX = 6; // between the character and its listening tip

const STAGE_CSS = `
:host { all: initial; }
.layer { position: fixed; left: 0; top: 0; width: 100vw; height: 100vh; pointer-events: none;
  z-index: 2147483000; font-family: system-ui, "Segoe UI", "Noto Sans", "Noto Sans CJK JP", sans-serif; }
.character { position: absolute; left: 0; top: 0; pointer-events: auto; cursor: grab; touch-action: none;
  user-select: none; }
.character.dragging { cursor: grabbing; }
.character svg { display: block; width: 100%; height: 100%; overflow: visible; }
.balloon { position: absolute; box-sizing: border-box; width: max-content; background: #fffef4; color: #1b2340;
  border: 2px solid #1b2340; border-radius: 14px; padding: 0.45em 0.75em; line-height: 1.35;
  box-shadow: 0 3px 10px rgba(0, 0, 0, 0.2); pointer-events: auto; overflow-wrap: anywhere; }
.balloon .line { white-space: nowrap; }
.balloon.think { border-radius: 2em; }
.balloon .w { visibility: hidden; }
.balloon .w.on { visibility: visible; }
.balloon .w.emp { font-weight: 700; }
.tail { position: absolute; width: 14px; height: 14px; background: #fffef4; border: 2px solid #1b2340;
  box-sizing: border-box; transform: rotate(45deg); }
.tail.bottom { bottom: -8px; border-top: none; border-left: none; }
.tail.top { top: -8px; border-bottom: none; border-right: none; }
.tail.left { left: -8px; border-top: none; border-right: none; }
.tail.right { right: -8px; border-bottom: none; border-left: none; }
.think .tail { border-radius: 50%; border: 2px solid #1b2340; transform: none; }
.think .tail.bottom { bottom: -18px; } .think .tail.top { top: -18px; }
.think .tail.left { left: -18px; } .think .tail.right { right: -18px; }
.bubble { position: absolute; width: 8px; height: 8px; border-radius: 50%; background: #fffef4;
  border: 2px solid #1b2340; box-sizing: border-box; margin: 3px; }
.bubble.bottom { bottom: -30px; } .bubble.top { top: -30px; }
.bubble.left { left: -30px; } .bubble.right { right: -30px; }
.commands { position: absolute; width: max-content; display: flex; flex-direction: column; gap: 6px; pointer-events: auto; }
.commands button { font: inherit; font-size: 0.95em; padding: 0.35em 0.9em; border-radius: 999px;
  border: 2px solid #2c44b8; background: #ffffff; color: #2c44b8; cursor: pointer; text-align: left;
  box-shadow: 0 2px 6px rgba(0, 0, 0, 0.18); }
.commands button:hover { background: #eef2ff; }
.commands button:focus-visible { outline: 3px solid #ffb000; outline-offset: 2px; }
.tip { position: absolute; width: max-content; max-width: 40vw; background: #1b2340; color: #ffffff;
  border-radius: 6px; padding: 0.25em 0.7em; font-size: 13px; box-shadow: 0 2px 6px rgba(0, 0, 0, 0.25); }
.message { position: absolute; left: 50%; top: 30%; transform: translateX(-50%); max-width: 80vw;
  background: #ffffff; color: #1b2340; border: 2px solid #c0392b; border-radius: 8px; padding: 1em 1.25em;
  box-shadow: 0 6px 24px rgba(0, 0, 0, 0.3); pointer-events: auto; }
.errors { position: absolute; left: 8px; bottom: 8px; max-width: min(480px, 70vw); background: #fff4f2;
  color: #7a1d12; border: 2px solid #c0392b; border-radius: 6px; padding: 0.4em 2em 0.4em 0.7em;
  font-size: 13px; pointer-events: auto; box-shadow: 0 3px 10px rgba(0, 0, 0, 0.2); }
.errors button { position: absolute; right: 4px; top: 2px; border: none; background: none; font-size: 16px;
  cursor: pointer; color: inherit; }
.script-error + .script-error { margin-top: 0.3em; }
.message button { display: block; margin: 0.8em auto 0; font: inherit; padding: 0.3em 1.4em; }
`;

// The page's navigation bar (the converter's previous and next arrows), as
// one box for the balloon to keep clear of.
function navigationBoxes(document) {
    const arrows = [...document.querySelectorAll('img[src$="previous.gif"], img[src$="next.gif"]')];
    const boxes = arrows.map((image) => image.getBoundingClientRect()).filter((r) => r.width > 0 && r.height > 0);
    if (boxes.length === 0) return [];
    const left = Math.min(...boxes.map((r) => r.left));
    const top = Math.min(...boxes.map((r) => r.top));
    const right = Math.max(...boxes.map((r) => r.right));
    const bottom = Math.max(...boxes.map((r) => r.bottom));
    return [{ left, top, w: right - left, h: bottom - top }];
}

export class Stage {
    // trace(event) records where the balloons go (with the frame's box).
    constructor(win, clock, trace = () => {}) {
        this.win = win;
        this.clock = clock;
        this.trace = trace;
        this.actors = new Map();
        this.layer = null;
        this.frameRequested = false;
        this.idleTimer = 0;
    }

    // --- set-up --------------------------------------------------------

    ensureLayer() {
        if (this.layer !== null) return this.layer;
        const document = this.win.document;
        const host = document.createElement("div");
        host.id = "orvo-player-stage";
        const root = host.attachShadow ? host.attachShadow({ mode: "open" }) : host;
        const style = document.createElement("style");
        style.textContent = STAGE_CSS;
        root.appendChild(style);
        this.layer = document.createElement("div");
        this.layer.className = "layer";
        root.appendChild(this.layer);
        (document.body || document.documentElement).appendChild(host);
        this.win.addEventListener("resize", () => this.requestFrame());
        return this.layer;
    }

    mapping() {
        const element = this.win.document.documentElement;
        return viewportMapping(
            this.win.innerWidth || element.clientWidth || VIRTUAL_WIDTH,
            this.win.innerHeight || element.clientHeight || VIRTUAL_HEIGHT,
        );
    }

    addCharacter(character) {
        const layer = this.ensureLayer();
        const document = this.win.document;
        const element = document.createElement("div");
        element.className = "character";
        element.style.display = "none";
        element.innerHTML = CHARACTER_SVG;
        element.dataset.character = character._id;
        layer.appendChild(element);
        const svg = element.querySelector("svg");
        const part = (name) => svg.querySelector(`[data-part="${name}"]`);
        const actor = {
            character,
            element,
            svg,
            parts: {
                root: part("root"),
                body: part("body"),
                shadow: part("shadow"),
                armLeft: part("arm-left"),
                armRight: part("arm-right"),
                pupilLeft: part("pupil-left"),
                pupilRight: part("pupil-right"),
                lidLeft: part("lid-left"),
                lidRight: part("lid-right"),
                browLeft: part("brow-left"),
                browRight: part("brow-right"),
                glow: part("glow"),
                gear: part("gear-wheel"),
                sparkles: part("sparkle-set"),
                zzz: part("zzz-letters"),
                waves: part("wave-set"),
                pencil: part("pencil-tip"),
                wandStar: part("wand-star"),
            },
            mouths: [...svg.querySelectorAll("[data-mouth]")],
            props: [...svg.querySelectorAll("[data-prop]")],
            visible: false,
            x: 0,
            y: 0,
            move: null,
            animation: null,
            animationStart: 0,
            balloon: null,
            commands: null,
            tip: null,
            tipTimer: 0,
            idleSince: this.clock.now(),
            shown: {},
        };
        this.actors.set(character, actor);
        this.listenToUser(actor);
        this.requestFrame();
    }

    // Clicks, double clicks and drags on the character go to the control,
    // in pixels of the 800x600 screen. A drag moves the character.
    listenToUser(actor) {
        const element = actor.element;
        const toScreen = (event) => {
            const mapping = this.mapping();
            return { x: Math.round(event.clientX / mapping.sx), y: Math.round(event.clientY / mapping.sy) };
        };
        let press = null;
        element.addEventListener("pointerdown", (event) => {
            if (event.button !== 0) return;
            press = { x: event.clientX, y: event.clientY, at: toScreen(event), dragging: false };
            element.setPointerCapture?.(event.pointerId);
            event.preventDefault();
        });
        element.addEventListener("pointermove", (event) => {
            if (press === null) return;
            const at = toScreen(event);
            if (!press.dragging) {
                if (Math.hypot(event.clientX - press.x, event.clientY - press.y) < DRAG_THRESHOLD_PX) return;
                press.dragging = true;
                element.classList.add("dragging");
                actor.move = null;
                // The drag starts where the character was taken.
                actor.character._userDragStart(press.at.x, press.at.y);
            }
            actor.character._userDragTo(at.x, at.y);
        });
        const release = (event, cancelled) => {
            if (press === null) return;
            const at = toScreen(event);
            if (press.dragging) {
                element.classList.remove("dragging");
                actor.character._userDragEnd(at.x, at.y);
            } else if (!cancelled) {
                actor.character._userClick(at.x, at.y, false);
            }
            press = null;
        };
        element.addEventListener("pointerup", (event) => release(event, false));
        element.addEventListener("pointercancel", (event) => release(event, true));
        element.addEventListener("dblclick", (event) => {
            const at = toScreen(event);
            actor.character._userClick(at.x, at.y, true);
        });
    }

    removeCharacter(character) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        this.clearBalloon(actor);
        if (actor.commands) actor.commands.remove();
        if (actor.tip) actor.tip.remove();
        this.win.clearTimeout(actor.tipTimer);
        actor.element.remove();
        this.actors.delete(character);
    }

    // --- what the control asks for --------------------------------------

    setVisible(character, visible) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        actor.visible = visible;
        actor.element.style.display = visible ? "block" : "none";
        if (!visible) this.clearBalloon(actor);
        this.requestFrame();
    }

    setPosition(character, x, y) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        actor.move = null;
        actor.x = x;
        actor.y = y;
        this.requestFrame();
    }

    move(character, fromX, fromY, toX, toY, start, duration) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        actor.move = { fromX, fromY, toX, toY, start, duration };
        this.requestFrame();
    }

    play(character, animation, start) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        actor.animation = animation;
        actor.animationStart = start;
        this.requestFrame();
    }

    // look: the character's Balloon settings (lines, characters, font).
    speak(character, plan, start, think, look) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        this.clearBalloon(actor);
        actor.balloon = new BalloonView(this.win.document, this.ensureLayer(), plan, {
            think,
            look,
            start,
            character: character._id,
            trace: this.trace,
        });
        this.requestFrame();
    }

    // The voicing reached the first `count` words of the speech.
    reachWords(character, count) {
        const actor = this.actors.get(character);
        if (actor === undefined || actor.balloon === null) return;
        actor.balloon.reach(count, this.clock.now());
        this.requestFrame();
    }

    clearBalloonOf(character) {
        const actor = this.actors.get(character);
        if (actor !== undefined) this.clearBalloon(actor);
    }

    // The character's frame in virtual pixels (Width, Height).
    setSize() {
        this.requestFrame();
    }

    stop(character) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        actor.animation = null;
        if (actor.move !== null) {
            actor.x = actor.move.toX;
            actor.y = actor.move.toY;
            actor.move = null;
        }
        this.clearBalloon(actor);
        this.requestFrame();
    }

    setCommands(character, commands, onPick) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        if (actor.commands) actor.commands.remove();
        actor.commands = null;
        if (commands.length === 0) return;
        const document = this.win.document;
        const panel = document.createElement("div");
        panel.className = "commands";
        panel.setAttribute("role", "group");
        panel.setAttribute("aria-label", "Commands");
        for (const command of commands) {
            const button = document.createElement("button");
            button.type = "button";
            button.textContent = command._caption;
            button.dataset.command = command._name;
            if (command._voice !== "" && command._voice !== command._caption) button.title = command._voice;
            button.addEventListener("click", () => onPick(command._name));
            panel.appendChild(button);
        }
        this.ensureLayer().appendChild(panel);
        actor.commands = panel;
        this.requestFrame();
    }

    // The listening tip beside the character: what the window hears. A tip
    // `whileHeld` stays until the next one (the user still holds the key);
    // any other goes after a few seconds.
    showTip(character, text, whileHeld) {
        const actor = this.actors.get(character);
        if (actor === undefined) return;
        if (actor.tip === null) {
            actor.tip = this.win.document.createElement("div");
            actor.tip.className = "tip";
            actor.tip.setAttribute("role", "status");
            this.ensureLayer().appendChild(actor.tip);
        }
        actor.tip.textContent = text;
        this.win.clearTimeout(actor.tipTimer);
        actor.tipTimer = whileHeld
            ? 0
            : this.win.setTimeout(() => {
                  if (actor.tip) actor.tip.remove();
                  actor.tip = null;
              }, TIP_MS);
        this.requestFrame();
    }

    // A script error, in debug mode: a note in a corner of the page that
    // the author can close; nothing stops.
    showScriptError(text) {
        const document = this.win.document;
        const layer = this.ensureLayer();
        let list = layer.querySelector(".errors");
        if (list === null) {
            list = document.createElement("div");
            list.className = "errors";
            list.setAttribute("role", "log");
            list.setAttribute("aria-label", "Script errors");
            const close = document.createElement("button");
            close.type = "button";
            close.textContent = "\u00d7";
            close.title = "Close";
            close.addEventListener("click", () => list.remove());
            list.append(close);
            layer.appendChild(list);
        }
        const entry = document.createElement("div");
        entry.className = "script-error";
        entry.textContent = text;
        list.append(entry);
        while (list.querySelectorAll(".script-error").length > 5) list.querySelector(".script-error").remove();
    }

    // Alert texts, when they are not shown as the browser's own dialog.
    showMessage(text) {
        const document = this.win.document;
        const box = document.createElement("div");
        box.className = "message";
        box.setAttribute("role", "alertdialog");
        const body = document.createElement("div");
        body.textContent = text;
        const ok = document.createElement("button");
        ok.type = "button";
        ok.textContent = "OK";
        ok.addEventListener("click", () => box.remove());
        box.append(body, ok);
        this.ensureLayer().appendChild(box);
        ok.focus();
    }

    clearBalloon(actor) {
        if (actor.balloon !== null) actor.balloon.remove();
        actor.balloon = null;
    }

    // --- drawing ------------------------------------------------------------

    requestFrame() {
        if (this.frameRequested) return;
        this.frameRequested = true;
        const draw = () => {
            this.frameRequested = false;
            this.draw();
        };
        if (this.win.requestAnimationFrame) this.win.requestAnimationFrame(draw);
        else this.win.setTimeout(draw, 16);
    }

    draw() {
        if (this.layer === null) return;
        const now = this.clock.now();
        const mapping = this.mapping();
        const avoid = navigationBoxes(this.win.document);
        let busy = false;
        let shown = false;
        for (const actor of this.actors.values()) {
            busy = this.drawActor(actor, now, mapping, avoid) || busy;
            shown = shown || actor.visible;
        }
        if (busy) {
            this.requestFrame();
        } else if (shown && !this.idleTimer) {
            // A character at rest only blinks now and then: a few frames a
            // second are enough, and spare the machine.
            this.idleTimer = this.win.setTimeout(() => {
                this.idleTimer = 0;
                this.requestFrame();
            }, IDLE_FRAME_MS);
        }
    }

    // Draws one character; returns true while it needs further frames.
    drawActor(actor, now, mapping, avoid) {
        // The frame keeps its shape; a tiny viewport still shows a character
        // that one can see and click.
        const fw = Math.max(24, Math.round(actor.character._width * mapping.scale));
        const fh = Math.max(24, Math.round(actor.character._height * mapping.scale));
        let leaning = 0;
        if (actor.move !== null) {
            const { fromX, fromY, toX, toY, start, duration } = actor.move;
            const t = clampTo((now - start) / Math.max(1, duration), 0, 1);
            const eased = easeInOut(t);
            actor.x = fromX + (toX - fromX) * eased;
            actor.y = fromY + (toY - fromY) * eased;
            leaning = Math.sign(toX - fromX) * Math.sin(Math.PI * t) * 10;
            if (t >= 1) actor.move = null;
        }
        const frame = placeFrame(mapping, actor.x, actor.y, { w: fw, h: fh });
        actor.element.style.width = `${fw}px`;
        actor.element.style.height = `${fh}px`;
        actor.element.style.transform = `translate(${frame.left}px, ${frame.top}px)`;
        actor.element.dataset.x = String(Math.round(actor.x));
        actor.element.dataset.y = String(Math.round(actor.y));

        let pose = REST_POSE;
        if (actor.animation !== null) {
            const elapsed = now - actor.animationStart;
            pose = poseAt(actor.animation, elapsed);
            if (elapsed >= actor.animation.duration && !actor.animation.hold) {
                actor.animation = null;
                actor.idleSince = now;
            }
        } else if ((now - actor.idleSince) % IDLE_BLINK_MS > IDLE_BLINK_MS - 160) {
            pose = { ...REST_POSE, lid: 1 };
        }
        if (leaning !== 0) pose = { ...pose, tilt: pose.tilt + leaning };
        const balloon = actor.balloon;
        if (balloon !== null && pose.mouth === "smile" && this.isTalking(balloon, now)) {
            pose = { ...pose, mouth: Math.floor((now - balloon.start) / TALK_FLAP_MS) % 2 ? "open" : "o" };
        }
        this.applyPose(actor, pose);

        if (balloon !== null && !balloon.draw(now, mapping, frame, fw, fh, avoid)) this.clearBalloon(actor);
        if (actor.commands !== null) {
            const box = actor.commands.getBoundingClientRect();
            const place = placeCommands(mapping, frame, Math.max(fw, fh), box.width, box.height);
            actor.commands.style.left = `${place.left}px`;
            actor.commands.style.top = `${place.top}px`;
            actor.commands.style.fontSize = `${Math.max(13, Math.round(15 * mapping.scale))}px`;
        }
        if (actor.tip) {
            const box = actor.tip.getBoundingClientRect();
            const below = frame.top + fh + TIP_GAP_PX;
            const top = below + box.height <= mapping.height ? below : frame.top - TIP_GAP_PX - box.height;
            actor.tip.style.left = `${clampTo(frame.left + fw / 2 - box.width / 2, 0, Math.max(0, mapping.width - box.width))}px`;
            actor.tip.style.top = `${clampTo(top, 0, Math.max(0, mapping.height - box.height))}px`;
        }
        return actor.animation !== null || actor.move !== null || actor.balloon !== null;
    }

    isTalking(balloon, now) {
        const elapsed = now - balloon.start;
        return balloon.plan.voice.some((segment) => elapsed >= segment.at && elapsed < segment.at + segment.duration);
    }

    applyPose(actor, pose) {
        const p = actor.parts;
        const set = (element, name, value) => {
            if (element !== null) element.setAttribute(name, value);
        };
        set(p.root, "opacity", pose.opacity.toFixed(3));
        set(p.shadow, "opacity", (0.18 * pose.opacity).toFixed(3));
        set(
            p.shadow,
            "transform",
            `translate(64 122) scale(${(1 + Math.min(0, pose.y) / 40).toFixed(3)} 1) translate(-64 -122)`,
        );
        set(
            p.body,
            "transform",
            `translate(${pose.x.toFixed(2)} ${pose.y.toFixed(2)}) translate(64 118) ` +
                `rotate(${pose.tilt.toFixed(2)}) scale(${pose.sx.toFixed(3)} ${pose.sy.toFixed(3)}) translate(-64 -118)`,
        );
        set(p.armLeft, "transform", `rotate(${pose.armL.toFixed(1)} 29.5 76)`);
        set(p.armRight, "transform", `rotate(${(-pose.armR).toFixed(1)} 98.5 76)`);
        const look = `translate(${(pose.lookX * 4).toFixed(2)} ${(pose.lookY * 4).toFixed(2)})`;
        set(p.pupilLeft, "transform", look);
        set(p.pupilRight, "transform", look);
        const lid = `translate(0 52) scale(1 ${clampTo(pose.lid, 0, 1).toFixed(3)}) translate(0 -52)`;
        set(p.lidLeft, "transform", lid);
        set(p.lidRight, "transform", lid);
        const raise = -pose.brow * 3;
        set(
            p.browLeft,
            "transform",
            `translate(0 ${raise.toFixed(2)}) rotate(${(pose.browTilt * 12).toFixed(1)} 49.5 47)`,
        );
        set(
            p.browRight,
            "transform",
            `translate(0 ${raise.toFixed(2)}) rotate(${(-pose.browTilt * 12).toFixed(1)} 78.5 47)`,
        );
        set(p.glow, "opacity", clampTo(pose.glow, 0, 1).toFixed(3));
        if (actor.shown.mouth !== pose.mouth) {
            for (const mouth of actor.mouths)
                mouth.setAttribute("display", mouth.dataset.mouth === pose.mouth ? "inline" : "none");
            actor.shown.mouth = pose.mouth;
        }
        if (actor.shown.prop !== pose.prop) {
            for (const prop of actor.props)
                prop.setAttribute("display", prop.dataset.prop === pose.prop ? "inline" : "none");
            actor.shown.prop = pose.prop;
        }
        const spin = pose.spin;
        set(p.gear, "transform", `rotate(${(spin * 360).toFixed(1)} 108 18)`);
        set(p.sparkles, "opacity", (0.55 + 0.45 * Math.abs(Math.sin(spin * Math.PI * 3))).toFixed(3));
        set(p.zzz, "transform", `translate(0 ${(-spin * 6).toFixed(2)})`);
        set(p.waves, "opacity", (0.35 + 0.65 * Math.abs(Math.sin(spin * Math.PI * 4))).toFixed(3));
        set(p.pencil, "transform", `translate(${(Math.sin(spin * Math.PI * 8) * 2.5).toFixed(2)} 0)`);
        set(p.wandStar, "transform", `rotate(${(spin * 360).toFixed(1)} 113 120)`);
    }
}
