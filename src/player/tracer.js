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
        const entry = { t: Math.round(this.clock.now()), ...event };
        this.events.push(entry);
        if (this.events.length > TRACE_MAX_EVENTS) this.events.splice(0, this.events.length - TRACE_MAX_EVENTS);
        if (this.mode !== "session" || this.win === null) return;
        try {
            this.win.sessionStorage.setItem(TRACE_STORAGE_KEY, JSON.stringify(this.events));
        } catch (_error) {
            // storage full or unavailable: the in-page record still holds
        }
        this.mirror(entry);
    }

    mirror(entry) {
        const document = this.win.document;
        if (this.element === null) {
            if (!document.body) return;
            this.element = document.createElement("pre");
            this.element.id = TRACE_ELEMENT_ID;
            this.element.hidden = true;
            this.element.textContent = `${this.events.map((event) => JSON.stringify(event)).join("\n")}\n`;
            document.body.appendChild(this.element);
            return;
        }
        this.element.textContent += `${JSON.stringify(entry)}\n`;
    }
}
