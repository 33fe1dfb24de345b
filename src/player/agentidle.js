// What a character does when the page leaves it alone (IdleOn): after a
// quiet while it raises IdleStart and plays idle animations, livelier ones
// first and then, like the control's characters, it dozes off and stays
// still; the next request raises IdleComplete.

import { lookupAnimation } from "./animations.js";

export const IDLE_AFTER_MS = 10000; // quiet time before the character idles
const IDLE_GAP_MS = 5000; // between two idle animations
const IDLE_SEQUENCE = ["Idle1_1", "Idle1_2", "Idle1_3", "Idle1_4", "Idle2_1", "Idle2_2", "Idle3_1"];

export class IdleBehaviour {
    constructor(character) {
        this.character = character;
        this.timer = null;
        this.idle = false;
        this.next = 0;
    }

    // The character has nothing to do: idle after a while, if it may.
    quiet() {
        this.cancel();
        const character = this.character;
        if (!character._idleOn || !character._visible) return;
        this.timer = character._control._clock.setTimeout(() => this.start(), IDLE_AFTER_MS);
    }

    start() {
        this.timer = null;
        const character = this.character;
        this.idle = true;
        this.next = 0;
        character._control._trace({ type: "idle-start", character: character._id });
        character._control._raise("IdleStart", character._id);
        this.playNext();
    }

    playNext() {
        this.timer = null;
        const character = this.character;
        if (!this.idle || this.next >= IDLE_SEQUENCE.length || !character._visible) return;
        const animation = lookupAnimation(IDLE_SEQUENCE[this.next]);
        this.next += 1;
        character._stage("play", animation, character._now());
        this.timer = character._control._clock.setTimeout(() => this.playNext(), animation.duration + IDLE_GAP_MS);
    }

    // A request comes: idling ends.
    busy() {
        this.cancel();
        if (!this.idle) return;
        this.idle = false;
        const character = this.character;
        character._control._trace({ type: "idle-complete", character: character._id });
        // Never inside the call that made the request.
        character._control._clock.setTimeout(() => character._control._raise("IdleComplete", character._id), 0);
    }

    cancel() {
        if (this.timer !== null) this.character._control._clock.clearTimeout(this.timer);
        this.timer = null;
    }
}
