// One speech's balloon on the stage: the page of text that holds the word
// the voice has reached (NumberOfLines lines of CharsPerLine characters, as
// the control drew it), its words appearing as they are reached, placed
// beside the character (see layout.js) with its tail pointing at it; a
// thought (Think) is a cloud with a trail of bubbles. It goes a moment after
// the last word.

import { clampTo, pageBalloonWords, placeBalloon, STAGE_MARGIN } from "./layout.js";

const BALLOON_MIN_HOLD_MS = 1500; // the balloon stays this long at least after the last word
const BALLOON_MAX_HOLD_MS = 4000;

export class BalloonView {
    // look: the Balloon object's settings (agentballoon.js _look()).
    constructor(document, layer, plan, { think, look, start, character, trace }) {
        this.document = document;
        this.plan = plan;
        this.look = look;
        this.start = start;
        this.character = character;
        this.trace = trace;
        this.pages = pageBalloonWords(plan.shown, look.chars, look.lines);
        this.reached = 0;
        this.allReachedAt = plan.shown.length === 0 ? start : null;
        this.page = -1;
        this.spans = [];
        this.tracedPlace = "";
        this.element = document.createElement("div");
        this.element.className = think ? "balloon think" : "balloon";
        this.element.setAttribute("role", "status");
        this.text = document.createElement("div");
        this.text.className = "text";
        this.tail = document.createElement("div");
        this.element.append(this.text, this.tail);
        if (think) {
            this.bubble = document.createElement("div");
            this.element.append(this.bubble);
        }
        if (look.fontName !== "") this.element.style.fontFamily = `"${look.fontName.replace(/"/g, "")}", sans-serif`;
        if (look.bold) this.element.style.fontWeight = "700";
        if (look.italic) this.element.style.fontStyle = "italic";
        this.hold = clampTo(1000 + 60 * plan.shown.length, BALLOON_MIN_HOLD_MS, BALLOON_MAX_HOLD_MS);
        layer.appendChild(this.element);
        this.showPage(0);
    }

    remove() {
        this.element.remove();
    }

    // The first `count` words are reached (by the voice or the reading pace).
    reach(count, now) {
        if (count <= this.reached) return;
        this.reached = Math.min(count, this.plan.shown.length);
        if (this.reached >= this.plan.shown.length && this.allReachedAt === null) this.allReachedAt = now;
    }

    // Builds the page's lines; its words stay hidden until reached, so the
    // balloon keeps its size while the page fills.
    showPage(index) {
        if (index === this.page || index >= this.pages.length) return;
        this.page = index;
        this.text.textContent = "";
        this.spans = [];
        for (const line of this.pages[index].lines) {
            const row = this.document.createElement("div");
            row.className = "line";
            line.forEach((wordIndex, i) => {
                const word = this.plan.shown[wordIndex];
                if (i > 0 && word.spaceBefore) row.appendChild(this.document.createTextNode(" "));
                const span = this.document.createElement("span");
                span.className = word.emphasis ? "w emp" : "w";
                span.textContent = word.text;
                span.dataset.word = String(wordIndex);
                row.appendChild(span);
                this.spans.push(span);
            });
            this.text.appendChild(row);
        }
    }

    // Draws the balloon for the frame ({ left, top } and its w x h px);
    // returns false once it is over.
    draw(now, mapping, frame, fw, fh, avoid) {
        if (this.allReachedAt !== null && now >= this.allReachedAt + this.hold) return false;
        const last = this.reached - 1;
        if (last >= 0) {
            const index = this.pages.findIndex((page) => last >= page.first && last < page.end);
            if (index >= 0) this.showPage(index);
        }
        for (const span of this.spans) {
            if (Number(span.dataset.word) <= last) span.classList.add("on");
        }
        const element = this.element;
        const points = this.look.fontSize > 0 ? (this.look.fontSize * 4) / 3 : 16;
        element.style.fontSize = `${Math.max(12, Math.round(points * mapping.scale))}px`;
        element.style.maxWidth = `${mapping.width - 2 * STAGE_MARGIN}px`;
        const box = element.getBoundingClientRect();
        const place = placeBalloon(mapping, frame, { w: fw, h: fh }, box.width, box.height, avoid);
        element.style.left = `${place.left}px`;
        element.style.top = `${place.top}px`;
        this.drawTail(place, frame, fw, fh, box);
        const key = `${this.page}:${place.side}:${Math.round(place.left)}:${Math.round(place.top)}`;
        if (key !== this.tracedPlace) {
            this.tracedPlace = key;
            const rect = (left, top, w, h) => ({
                left: Math.round(left),
                top: Math.round(top),
                right: Math.round(left + w),
                bottom: Math.round(top + h),
            });
            this.trace({
                type: "balloon-box",
                character: this.character,
                page: this.page,
                pages: this.pages.length,
                side: place.side,
                balloon: rect(place.left, place.top, box.width, box.height),
                frame: rect(frame.left, frame.top, fw, fh),
            });
        }
        return true;
    }

    // The tail (or the thought's bubbles) points from the balloon's side
    // that faces the character towards it.
    drawTail(place, frame, fw, fh, box) {
        const vertical = place.side === "above" || place.side === "below";
        const facing = { above: "bottom", below: "top", left: "right", right: "left" }[place.side];
        this.tail.className = `tail ${facing}`;
        if (this.bubble) this.bubble.className = `bubble ${facing}`;
        const along = vertical
            ? clampTo(frame.left + fw / 2 - place.left - 7, 12, box.width - 26)
            : clampTo(frame.top + fh / 2 - place.top - 7, 10, box.height - 24);
        for (const piece of this.bubble ? [this.tail, this.bubble] : [this.tail]) {
            piece.style.left = vertical ? `${along}px` : "";
            piece.style.top = vertical ? "" : `${along}px`;
        }
    }
}
