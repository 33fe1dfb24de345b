// Clocks drive every timed thing of the runtime: request durations, speech
// pacing, the page's SetTimeout calls and the drawing of animations. Keeping
// them behind one small interface lets tests run a whole page in virtual time
// and lets a browser run a presentation many times faster than real time.

// Real time, optionally sped up: a rate of 20 makes every delay twenty times
// shorter and every animation twenty times faster.
export class RealClock {
    constructor(rate = 1, timers = globalThis) {
        this.rate = rate > 0 ? rate : 1;
        this.timers = timers;
        this.origin = RealClock.systemNow();
    }

    static systemNow() {
        return typeof performance === "object" ? performance.now() : Date.now();
    }

    // Milliseconds of clock time since the clock was made.
    now() {
        return (RealClock.systemNow() - this.origin) * this.rate;
    }

    setTimeout(callback, ms) {
        const delay = Math.max(0, Number(ms) || 0) / this.rate;
        return this.timers.setTimeout(callback, delay);
    }

    clearTimeout(id) {
        this.timers.clearTimeout(id);
    }
}

// Virtual time for tests: nothing happens until the test advances the clock;
// callbacks due at the same moment run in the order they were scheduled.
export class VirtualClock {
    constructor() {
        this.time = 0;
        this.rate = 1;
        this.pending = [];
        this.nextId = 1;
    }

    now() {
        return this.time;
    }

    setTimeout(callback, ms) {
        const id = this.nextId++;
        const due = this.time + Math.max(0, Number(ms) || 0);
        this.pending.push({ id, due, callback });
        return id;
    }

    clearTimeout(id) {
        this.pending = this.pending.filter((entry) => entry.id !== id);
    }

    // The earliest pending entry; ties go to the one scheduled first.
    takeNext(limit) {
        let best = -1;
        for (let i = 0; i < this.pending.length; ++i) {
            const entry = this.pending[i];
            if (entry.due > limit) continue;
            if (
                best < 0 ||
                entry.due < this.pending[best].due ||
                (entry.due === this.pending[best].due && entry.id < this.pending[best].id)
            ) {
                best = i;
            }
        }
        if (best < 0) return null;
        return this.pending.splice(best, 1)[0];
    }

    // Runs everything due within the next ms milliseconds, including
    // callbacks scheduled by those callbacks.
    advance(ms) {
        const limit = this.time + ms;
        for (let entry = this.takeNext(limit); entry; entry = this.takeNext(limit)) {
            this.time = Math.max(this.time, entry.due);
            entry.callback();
        }
        this.time = limit;
    }

    // Runs until nothing is pending or maxMs of virtual time have passed;
    // returns true when the queue ran empty.
    runUntilIdle(maxMs = 3600000) {
        const limit = this.time + maxMs;
        for (let entry = this.takeNext(limit); entry; entry = this.takeNext(limit)) {
            this.time = Math.max(this.time, entry.due);
            entry.callback();
        }
        return this.pending.length === 0;
    }
}
