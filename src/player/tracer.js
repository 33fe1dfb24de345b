// The record of what a page did: characters loaded and shown, requests
// started and completed, balloon texts, commands, timers, navigation,
// alerts and script errors, each with its clock time `t` in ms. Tests read
// it; with the mode "session" it also survives navigation within the tab
// (sessionStorage) and is mirrored into a hidden <pre id="orvo-player-trace">
// element of the page, one JSON object per line, for tools that only see
// the page's DOM.

const TRACE_STORAGE_KEY = "orvo-player-trace";
const TRACE_ELEMENT_ID = "orvo-player-trace";
const TRACE_MAX_EVENTS = 5000; // a page that loops forever must not fill the storage

export class Tracer {
    constructor(clock, mode, win = null) {
        this.clock = clock;
        this.mode = mode;
        this.win = win;
        this.events = [];
        this.element = null;
        this.flushPending = false;
        this.listening = false;
        if (mode === "session" && win !== null) {
            try {
                this.events = JSON.parse(win.sessionStorage.getItem(TRACE_STORAGE_KEY) || "[]");
            } catch (_error) {
                this.events = [];
            }
        }
    }

    record(event) {
        if (!this.mode) return;
        this.events.push({ t: Math.round(this.clock.now()), ...event });
        // Trimmed now and then, not at every event: a loop that records on
        // every turn must stay cheap.
        if (this.events.length > TRACE_MAX_EVENTS * 1.5) this.events.splice(0, this.events.length - TRACE_MAX_EVENTS);
        if (this.mode === "session" && this.win !== null) this.scheduleFlush();
    }

    // The storage and the page's copy are written once the script yields
    // (and when the page goes), not once per event.
    scheduleFlush() {
        if (this.flushPending) return;
        this.flushPending = true;
        if (!this.listening) {
            this.listening = true;
            this.win.addEventListener("pagehide", () => this.flush());
        }
        this.win.setTimeout(() => this.flush(), 0);
    }

    flush() {
        if (!this.flushPending) return;
        this.flushPending = false;
        if (this.events.length > TRACE_MAX_EVENTS) this.events.splice(0, this.events.length - TRACE_MAX_EVENTS);
        try {
            this.win.sessionStorage.setItem(TRACE_STORAGE_KEY, JSON.stringify(this.events));
        } catch (_error) {
            // storage full or unavailable: the in-page record still holds
        }
        this.mirror();
    }

    mirror() {
        const document = this.win.document;
        if (this.element === null) {
            if (!document.body) return;
            this.element = document.createElement("pre");
            this.element.id = TRACE_ELEMENT_ID;
            this.element.hidden = true;
            document.body.appendChild(this.element);
        }
        this.element.textContent = `${this.events.map((event) => JSON.stringify(event)).join("\n")}\n`;
    }
}
